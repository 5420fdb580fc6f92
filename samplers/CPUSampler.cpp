#include "samplers/CPUSampler.h"

#include <QCoreApplication>
#include <thread>

namespace orbistat {

CPUSampler::CPUSampler(CpuTicksSource& ticks, const SysctlReader& sysctl)
    : ticks_(ticks)
    , sysctl_(sysctl)
{
}

std::optional<CPUSample> CPUSampler::sample()
{
    auto current = ticks_.read();
    if (!current)
        return std::nullopt;

    const size_t count = current->size();
    if (previous_.size() != count) {
        previous_ = std::move(*current);
        CPUSample zero;
        zero.perCore.assign(count, 0.0);
        return zero;
    }

    CPUSample result;
    result.perCore.reserve(count);
    double sumAll = 0, sumBusy = 0, sumUser = 0, sumSystem = 0;
    for (size_t i = 0; i < count; ++i) {
        const auto& now = (*current)[i];
        const auto& before = previous_[i];
        // Unsigned 32-bit subtraction: a counter that wrapped still gives
        // the true small delta.
        const double dUser = static_cast<uint32_t>(now.user - before.user);
        const double dSystem = static_cast<uint32_t>(now.system - before.system);
        const double dIdle = static_cast<uint32_t>(now.idle - before.idle);
        const double dNice = static_cast<uint32_t>(now.nice - before.nice);
        const double busy = dUser + dSystem + dNice;
        const double all = busy + dIdle;
        result.perCore.push_back(all > 0 ? busy / all : 0.0);
        sumAll += all;
        sumBusy += busy;
        sumUser += dUser + dNice;  // nice time is user time
        sumSystem += dSystem;
    }
    // Tick-weighted over all processors, not the mean of perCore.
    if (sumAll > 0) {
        result.total = sumBusy / sumAll;
        result.user = sumUser / sumAll;
        result.system = sumSystem / sumAll;
    }
    previous_ = std::move(*current);
    return result;
}

QString CPUSampler::brandName() const
{
    std::call_once(brandOnce_, [this] {
        brandName_ = sysctl_.string("machdep.cpu.brand_string").value_or(QStringLiteral("CPU"));
    });
    return brandName_;
}

QString CPUSampler::coreSummary() const
{
    std::call_once(summaryOnce_, [this] {
        const auto logical = sysctl_.integer("hw.logicalcpu").value_or(static_cast<int64_t>(std::thread::hardware_concurrency()));
        const auto performance = sysctl_.integer("hw.perflevel0.logicalcpu");
        const auto efficiency = sysctl_.integer("hw.perflevel1.logicalcpu");
        if (performance && efficiency) {
            coreSummary_ = QCoreApplication::translate("CPUSampler", "%1 cores (%2P + %3E)")
                               .arg(logical)
                               .arg(*performance)
                               .arg(*efficiency);
        } else {
            coreSummary_ = QCoreApplication::translate("CPUSampler", "%1 cores").arg(logical);
        }
    });
    return coreSummary_;
}

} // namespace orbistat
