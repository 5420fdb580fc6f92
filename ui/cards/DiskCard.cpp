#include "ui/cards/DiskCard.h"

#include "core/SystemMonitor.h"
#include "shared/ByteCountFormatter.h"
#include "ui/components/Column.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/StatRow.h"
#include "ui/components/ValueHeadline.h"
#include "ui/components/ValueText.h"

#include <algorithm>

namespace orbistat::ui {

namespace {

constexpr int ratesSpacing = 12;

QString sizeText(uint64_t bytes)
{
    return formatByteCount(bytes, ByteCountStyle::file);
}

} // namespace

DiskCard::DiskCard(const SystemMonitor& monitor, QWidget* parent)
    : MetricCard(tr("Disk"), QStringLiteral("internaldrive"), parent)
    , monitor_(monitor)
    , headline_(new ValueHeadline)
    , bar_(new SegmentedBar)
    , rates_(new Column(ratesSpacing, QBoxLayout::LeftToRight))
    , read_(new StatRow(tr("Read"), ColorRole::accent))
    , write_(new StatRow(tr("Write"), ColorRole::green))
{
    bar_->setAccessibleName(tr("Disk used"));
    rates_->add(read_, 1);
    rates_->add(write_, 1);
    addContent(headline_);
    addContent(bar_);
    addContent(rates_);
    connect(&monitor_, &SystemMonitor::diskChanged, this, &MetricCard::invalidate);
}

void DiskCard::refresh()
{
    const DiskSample& disk = monitor_.disk();
    // More available than the volume holds is a broken reading: nothing used.
    const uint64_t used = disk.available > disk.total ? 0 : disk.total - disk.available;
    setSubtitle(tr("%1 free").arg(sizeText(disk.available)));
    headline_->setTexts(sizeText(used), tr("of %1").arg(sizeText(disk.total)));
    const double share = disk.total == 0 ? 0.0 : std::min(static_cast<double>(used) / static_cast<double>(disk.total), 1.0);
    bar_->setFraction(share, ColorRole::accent);

    setShown(rates_, disk.readRate.has_value());
    if (disk.readRate) {
        read_->setValue(bytesPerSecondText(*disk.readRate));
        write_->setValue(bytesPerSecondText(disk.writeRate.value_or(0.0)));
    }
}

} // namespace orbistat::ui
