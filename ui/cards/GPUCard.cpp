#include "ui/cards/GPUCard.h"

#include "core/SettingsStore.h"
#include "core/SystemMonitor.h"
#include "menubar/MenuBarRenderer.h"
#include "ui/components/SeverityColor.h"
#include "ui/components/Sparkline.h"

namespace orbistat::ui {

GPUCard::GPUCard(const SystemMonitor& monitor, const SettingsStore& settings, QWidget* parent)
    : MetricCard(QStringLiteral("GPU"), QStringLiteral("display"), parent)
    , monitor_(monitor)
    , settings_(settings)
    , chart_(new Sparkline)
{
    chart_->setMaximum(1.0);
    chart_->setMinimumScale(1.0);
    chart_->setValues(&monitor_.history(MonitorHistory::gpu));
    chart_->setAccessibleName(tr("GPU history"));
    addContent(chart_);
    connect(&monitor_, &SystemMonitor::gpuChanged, this, &MetricCard::invalidate);
    connect(&monitor_, &SystemMonitor::historyChanged, this, [this](MonitorHistory which) {
        if (which == MonitorHistory::gpu)
            invalidate();
    });
    connect(&settings_, &SettingsStore::changed, this, &MetricCard::invalidate);
}

void GPUCard::refresh()
{
    const double g = monitor_.gpu().value_or(0.0);
    const QString percent = MenuBarRenderer::percentText(g);
    setSubtitle(percent);
    chart_->setColor(severityColor(g, settings_));
    chart_->valuesChanged();
    chart_->setValueText(percent);
}

} // namespace orbistat::ui
