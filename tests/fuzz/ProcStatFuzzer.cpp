// libFuzzer target: /proc/stat. Input: two readings of the file (t0, t1)
// separated by a byte 0x01. Properties: parsing is deterministic; what
// parses, written back in the kernel's column layout, parses to the same
// counters; the sampler's fractions over the two readings are finite and
// between 0 and 1, one per processor.
#include "FuzzSupport.h"
#include "doubles/FakeCpuTicksSource.h"
#include "doubles/FakeSysctlReader.h"
#include "platform/linux/ProcStatParser.h"
#include "samplers/CPUSampler.h"

#include <cmath>
#include <string>

using namespace orbistat;

namespace {

std::string written(const std::vector<CpuTicks>& cpus)
{
    std::string text = "cpu 0 0 0 0\n";
    for (size_t i = 0; i < cpus.size(); ++i) {
        const auto& c = cpus[i];
        text += "cpu" + std::to_string(i) + ' ' + std::to_string(c.user) + ' ' + std::to_string(c.nice) + ' '
            + std::to_string(c.system) + ' ' + std::to_string(c.idle) + " 0 0 0 0 0 0\n";
    }
    return text + "intr 1 2 3\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto files = fuzz::parts(fuzz::asText(data, size), 2);
    const auto t0 = parseProcStat(files[0]);
    const auto t1 = parseProcStat(files[1]);
    fuzz::require(parseProcStat(files[0]) == t0, "parsing is deterministic");
    if (t0) {
        fuzz::require(!t0->empty(), "a reading has at least one processor");
        fuzz::require(parseProcStat(written(*t0)) == t0, "written back, the counters parse the same");
    }

    test::FakeCpuTicksSource source;
    source.readings = {t0, t1};
    test::FakeSysctlReader sysctl;
    CPUSampler sampler(source, sysctl);
    for (const auto& reading : {t0, t1}) {
        const auto sample = sampler.sample();
        fuzz::require(sample.has_value() == reading.has_value(), "a sample exactly when the file parses");
        if (!sample)
            continue;
        fuzz::require(sample->perCore.size() == reading->size(), "one fraction per processor");
        for (const double value : {sample->total, sample->user, sample->system})
            fuzz::require(std::isfinite(value) && fuzz::isFraction(value), "machine fractions within 0 and 1");
        for (const double value : sample->perCore)
            fuzz::require(std::isfinite(value) && fuzz::isFraction(value), "per-core fractions within 0 and 1");
    }
    return 0;
}
