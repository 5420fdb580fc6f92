#include "ui/cards/CPUCard.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "menubar/MenuBarRenderer.h"
#include "ui/Theme.h"
#include "ui/cards/ProcessorNames.h"
#include "ui/components/CoreBars.h"
#include "ui/components/RingGauge.h"
#include "ui/components/StatRow.h"
#include "ui/components/TextLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace orbistat::ui {

namespace {
constexpr int ringSide = 76;
constexpr double ringLineWidth = 9.0;
constexpr int ringSpacing = 14;
constexpr int rowSpacing = 6;
constexpr int summaryPoints = 10;
} // namespace

CPUCard::CPUCard(const SystemMonitor& monitor, const SettingsStore& settings, QWidget* parent)
    : MetricCard(QStringLiteral("CPU"), QStringLiteral("cpu"), parent)
    , monitor_(monitor)
    , ring_(new RingGauge(settings, ringLineWidth, ringSide))
    , user_(new StatRow(tr("User"), ColorRole::accent))
    , system_(new StatRow(tr("System"), ColorRole::orange))
    , idle_(new StatRow(tr("Idle"), ColorRole::secondary))
    , cores_(new TextLabel(uiFont(summaryPoints), ColorRole::tertiary))
    , bars_(new CoreBars(settings))
{
    ring_->setAccessibleName(tr("CPU load"));
    bars_->setAccessibleName(tr("Load per core"));
    cores_->setAlignment(Qt::AlignRight);

    auto* details = new QVBoxLayout;
    details->setSpacing(rowSpacing);
    details->addWidget(user_);
    details->addWidget(system_);
    details->addWidget(idle_);
    details->addWidget(cores_);

    auto* top = new QHBoxLayout;
    top->setSpacing(ringSpacing);
    top->addWidget(ring_, 0, Qt::AlignVCenter);
    top->addLayout(details, 1);
    addContent(top);
    addContent(bars_);

    connect(&monitor_, &SystemMonitor::cpuChanged, this, &MetricCard::invalidate);
    connect(&settings, &SettingsStore::changed, this, &MetricCard::invalidate);
}

void CPUCard::refresh()
{
    const CPUSample& cpu = monitor_.cpu();
    setSubtitle(processorBrandName(monitor_));
    ring_->setFraction(cpu.total);
    user_->setValue(MenuBarRenderer::percentText(cpu.user));
    system_->setValue(MenuBarRenderer::percentText(cpu.system));
    // max(1 − total, 0) with the comparison written so that a total that is
    // no number reads 0 % idle rather than "nan".
    const double idle = 1.0 - cpu.total;
    idle_->setValue(MenuBarRenderer::percentText(idle > 0.0 ? idle : 0.0));
    cores_->setText(processorCoreSummary(monitor_));
    bars_->setValues(&cpu.perCore);
}

} // namespace orbistat::ui
