// libFuzzer target: /proc/net/dev. Input: two readings (t0, t1) separated by
// a byte 0x01. Properties: parsing is deterministic; every interface has a
// trimmed name without colon or line break; what parses, written back in
// the kernel's layout, parses the same; the rates the sampler computes over
// the two readings are finite and not negative.
#include "FuzzSupport.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeInterfaceCountersSource.h"
#include "platform/linux/NetDevParser.h"
#include "platform/linux/TextParsing.h"
#include "samplers/NetworkSampler.h"

#include <cmath>
#include <string>

using namespace orbistat;

namespace {

std::string written(const std::vector<InterfaceCounters>& interfaces)
{
    std::string text = "Inter-|   Receive                            |  Transmit\n"
                       " face |bytes    packets errs drop fifo frame compressed multicast|bytes\n";
    for (const auto& i : interfaces)
        text += i.name + ": " + std::to_string(i.receivedBytes) + " 1 0 0 0 0 0 0 " + std::to_string(i.sentBytes) + " 1 0 0 0 0 0 0\n";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto files = fuzz::parts(fuzz::asText(data, size), 2);
    test::FakeInterfaceCountersSource source;
    for (const auto file : files) {
        const auto interfaces = parseNetDev(file);
        fuzz::require(parseNetDev(file) == interfaces, "parsing is deterministic");
        for (const auto& i : interfaces) {
            fuzz::require(!i.name.empty(), "an interface has a name");
            fuzz::require(i.name.find_first_of(":\n") == std::string::npos, "a name holds no colon or line break");
            fuzz::require(trimAscii(i.name) == i.name, "a name is trimmed");
        }
        fuzz::require(parseNetDev(written(interfaces)) == interfaces, "written back, the counters parse the same");
        source.readings.push_back(interfaces);
        for (const auto& i : interfaces)
            source.flagsByName[i.name] = InterfaceFlags{true, true};
    }

    test::FakeClock clock;
    NetworkSampler sampler(source, clock);
    for (int i = 0; i < 2; ++i) {
        if (const auto sample = sampler.sample()) {
            for (const double rate : {sample->download, sample->upload})
                fuzz::require(std::isfinite(rate) && rate >= 0.0, "rates are finite and not negative");
        }
        clock.advance(2.0);
    }
    return 0;
}
