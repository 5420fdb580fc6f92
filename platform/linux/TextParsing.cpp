#include "platform/linux/TextParsing.h"

#include <charconv>
#include <cmath>

namespace orbistat {

namespace {

template <typename T>
std::optional<T> parseWhole(std::string_view token)
{
    if (token.empty())
        return std::nullopt;
    T value{};
    const auto* first = token.data();
    const auto* last = token.data() + token.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last)
        return std::nullopt;
    return value;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

} // namespace

std::optional<uint64_t> parseUnsigned(std::string_view token)
{
    // from_chars accepts no sign for unsigned types, so "-1" and "+1" fail here.
    return parseWhole<uint64_t>(token);
}

std::optional<int64_t> parseSigned(std::string_view token)
{
    return parseWhole<int64_t>(token);
}

std::optional<double> parseDouble(std::string_view token)
{
    const auto value = parseWhole<double>(token);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::string_view trimAscii(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view nextField(std::string_view& rest)
{
    size_t i = 0;
    while (i < rest.size() && isBlank(rest[i]))
        ++i;
    const size_t start = i;
    while (i < rest.size() && !isBlank(rest[i]))
        ++i;
    const auto field = rest.substr(start, i - start);
    rest.remove_prefix(i);
    return field;
}


std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (auto field = nextField(line); !field.empty(); field = nextField(line))
        fields.push_back(field);
    return fields;
}

std::optional<uint64_t> parseUnsignedFile(std::string_view text)
{
    return parseUnsigned(trimAscii(text));
}

std::optional<int64_t> parseSignedFile(std::string_view text)
{
    return parseSigned(trimAscii(text));
}

std::optional<uint64_t> parseHexUnsigned(std::string_view text)
{
    auto token = trimAscii(text);
    if (token.size() < 3 || token[0] != '0' || (token[1] != 'x' && token[1] != 'X'))
        return std::nullopt;
    return parseHexDigits(token.substr(2));
}

std::optional<uint64_t> parseHexDigits(std::string_view token)
{
    if (token.empty())
        return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value, 16);
    if (error != std::errc{} || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

std::optional<std::vector<uint32_t>> parseCpuList(std::string_view text)
{
    constexpr uint64_t maxCpus = 1u << 16;  // far beyond any machine; stops "0-4294967295"
    std::vector<uint32_t> cpus;
    text = trimAscii(text);
    while (!text.empty()) {
        const auto comma = text.find(',');
        const auto piece = text.substr(0, comma);
        const auto dash = piece.find('-');
        const auto first = parseUnsigned(piece.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : parseUnsigned(piece.substr(dash + 1));
        if (!first || !last || *last < *first || *last >= maxCpus || cpus.size() + (*last - *first) >= maxCpus)
            return std::nullopt;
        for (uint64_t cpu = *first; cpu <= *last; ++cpu)
            cpus.push_back(static_cast<uint32_t>(cpu));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return cpus;
}

} // namespace orbistat
