#include "ui/cards/ProcessorNames.h"

#include "core/SystemMonitor.h"
#include "samplers/CPUSampler.h"

#include <QCoreApplication>

namespace orbistat::ui {

QString processorBrandName(const SystemMonitor& monitor)
{
    if (const auto* sampler = monitor.cpuSampler())
        return sampler->brandName();
    return QStringLiteral("CPU");
}

QString processorCoreSummary(const SystemMonitor& monitor)
{
    if (const auto* sampler = monitor.cpuSampler())
        return sampler->coreSummary();
    return QCoreApplication::translate("CPUSampler", "%1 cores").arg(monitor.cpu().perCore.size());
}

} // namespace orbistat::ui
