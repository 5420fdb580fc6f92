// Helpers shared by the libFuzzer targets: the input as text, split into the
// files one target reads together, and a property check that stops the run
// with a message libFuzzer keeps next to the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace orbistat::fuzz {

inline std::string_view asText(const uint8_t* data, size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input cut at every byte 0x01 into `count` parts (missing parts are
// empty; the last part keeps any further 0x01). Several files that one
// reader combines travel in one input this way; 0x01 never occurs in the
// kernel's text, every other byte still does.
inline std::vector<std::string_view> parts(std::string_view text, size_t count)
{
    std::vector<std::string_view> result;
    while (result.size() + 1 < count) {
        const auto cut = text.find('\x01');
        if (cut == std::string_view::npos)
            break;
        result.push_back(text.substr(0, cut));
        text.remove_prefix(cut + 1);
    }
    result.push_back(text);
    result.resize(count);
    return result;
}

// A property that must hold for every input.
inline void require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

inline bool isFraction(double value) { return value >= 0.0 && value <= 1.0; }

} // namespace orbistat::fuzz
