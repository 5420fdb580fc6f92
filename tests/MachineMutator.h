// Damages a copy of a machine tree the way broken kernels, drivers and
// removals do, one random file (or device) at a time, from a fixed seed so
// a failing run can be replayed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace orbistat::test {

class MachineMutator {
public:
    enum class Kind {
        truncate,      // cut at a random byte
        randomBytes,   // any bytes, any length up to 512
        nul,           // NUL bytes inside the text
        huge,          // numbers beyond 64 bits, or far beyond any reading
        negative,      // negative numbers where counters belong
        notANumber,    // "nan", "inf", "-inf"
        junk,          // a number with letters after it, "4.5e4" for a count
        empty,         // an empty file
        longLine,      // one line of 64 KiB
        directory,     // a folder in place of the file
        fifo,          // a FIFO with no writer in place of the file
        linkLoop,      // a link to itself in place of the file
        danglingLink,  // a link to nothing
        device,        // a link to an endless device
        vanish,        // a whole device (hwmon chip, power supply, disk, interface) gone
        count
    };

    MachineMutator(std::filesystem::path tree, uint32_t seed);

    // Applies one mutation of a random kind to a random target; returns a
    // line saying what it did ("fifo: sys/class/hwmon/hwmon2/temp1_input").
    std::string mutate();
    std::string mutate(Kind kind);

    static const char* name(Kind kind);

private:
    std::vector<std::filesystem::path> regularFiles() const;
    std::vector<std::filesystem::path> devices() const;
    std::string randomText(size_t length);

    std::filesystem::path tree_;
    std::mt19937 random_;
};

} // namespace orbistat::test
