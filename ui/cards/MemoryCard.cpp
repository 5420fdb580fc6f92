#include "ui/cards/MemoryCard.h"

#include "core/SystemMonitor.h"
#include "menubar/MenuBarRenderer.h"
#include "shared/ByteCountFormatter.h"
#include "ui/components/SegmentedBar.h"
#include "ui/components/Sparkline.h"
#include "ui/components/StatRow.h"
#include "ui/components/ValueHeadline.h"

#include <QVBoxLayout>
#include <limits>

namespace orbistat::ui {

namespace {

constexpr int rowSpacing = 4;

QString memoryText(uint64_t bytes)
{
    return formatByteCount(bytes, ByteCountStyle::memory);
}

// Counters whose sum passes 2^64 are a broken sample; the headline shows
// the largest count instead of a wrapped, tiny one.
uint64_t saturatingSum(std::initializer_list<uint64_t> parts)
{
    uint64_t sum = 0;
    for (const uint64_t part : parts) {
        if (part > std::numeric_limits<uint64_t>::max() - sum)
            return std::numeric_limits<uint64_t>::max();
        sum += part;
    }
    return sum;
}

} // namespace

MemoryCard::MemoryCard(const SystemMonitor& monitor, QWidget* parent)
    : MetricCard(tr("Memory"), QStringLiteral("memorychip"), parent)
    , monitor_(monitor)
    , headline_(new ValueHeadline)
    , bar_(new SegmentedBar)
    , app_(new StatRow(tr("App"), ColorRole::accent))
    , wired_(new StatRow(tr("Wired"), ColorRole::orange))
    , compressed_(new StatRow(tr("Compressed"), ColorRole::purple))
    , swap_(new StatRow(tr("Swap used")))
    , chart_(new Sparkline)
{
    bar_->setAccessibleName(tr("Memory used"));
    chart_->setAccessibleName(tr("Memory history"));
    chart_->setColor(ColorRole::accent);
    chart_->setMaximum(1.0);
    chart_->setMinimumScale(1.0);
    chart_->setValues(&monitor_.history(MonitorHistory::memory));

    addContent(headline_);
    addContent(bar_);
    auto* rows = new QVBoxLayout;
    rows->setSpacing(rowSpacing);
    rows->addWidget(app_);
    rows->addWidget(wired_);
    rows->addWidget(compressed_);
    rows->addWidget(swap_);
    addContent(rows);
    addContent(chart_);

    connect(&monitor_, &SystemMonitor::memoryChanged, this, &MetricCard::invalidate);
    connect(&monitor_, &SystemMonitor::historyChanged, this, [this](MonitorHistory which) {
        if (which == MonitorHistory::memory)
            invalidate();
    });
}

void MemoryCard::refresh()
{
    const MemorySample& memory = monitor_.memory();
    switch (memory.pressure) {
    case MemorySample::Pressure::normal: setSubtitle(tr("Pressure: normal")); break;
    case MemorySample::Pressure::warning: setSubtitle(tr("Pressure: warning")); break;
    case MemorySample::Pressure::critical: setSubtitle(tr("Pressure: critical")); break;
    }
    const uint64_t used = saturatingSum({memory.app, memory.wired, memory.compressed});
    headline_->setTexts(memoryText(used), tr("of %1").arg(memoryText(memory.total)));

    // A total of 0 divides by 1: the parts of an empty sample give an empty bar.
    const double t = memory.total == 0 ? 1.0 : static_cast<double>(memory.total);
    bar_->setSegments({
        {static_cast<double>(memory.app) / t, ColorRole::accent},
        {static_cast<double>(memory.wired) / t, ColorRole::orange},
        {static_cast<double>(memory.compressed) / t, ColorRole::purple},
    });
    app_->setValue(memoryText(memory.app));
    wired_->setValue(memoryText(memory.wired));
    compressed_->setValue(memoryText(memory.compressed));
    swap_->setValue(memoryText(memory.swapUsed));

    const auto& history = monitor_.history(MonitorHistory::memory);
    chart_->valuesChanged();
    if (!history.empty())
        chart_->setValueText(MenuBarRenderer::percentText(history.back()));
}

} // namespace orbistat::ui
