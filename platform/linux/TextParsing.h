// Bounds-checked parsing of kernel text. A number is a whole token: "12abc",
// "4.5e4" where an integer is expected, "-1" where only unsigned values
// exist, the empty text and values beyond the type's range are not numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orbistat {

std::optional<uint64_t> parseUnsigned(std::string_view token);
std::optional<int64_t> parseSigned(std::string_view token);
// Finite decimal numbers only ("inf" and "nan" are not readings).
std::optional<double> parseDouble(std::string_view token);

std::string_view trimAscii(std::string_view text);

// Whitespace-separated fields of one line (blanks and tabs), for lines of
// varying length read off the tick path (a mount table).
std::vector<std::string_view> splitFields(std::string_view line);

// The next whitespace-separated field of `rest`, which then starts after it;
// empty when no field is left.
std::string_view nextField(std::string_view& rest);

// The first N fields of a line, without allocating: parsers on the tick path
// read a fixed number of leading columns, and lines such as the "intr" line of
// /proc/stat hold thousands of fields nobody needs. size() counts the fields
// found, at most N, so "exactly k fields" is checked with N = k + 1.
template <size_t N>
class LeadingFields {
public:
    explicit LeadingFields(std::string_view line)
    {
        while (count_ < N) {
            const auto field = nextField(line);
            if (field.empty())
                break;
            fields_[count_++] = field;
        }
    }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](size_t index) const { return index < count_ ? fields_[index] : std::string_view(); }

private:
    std::array<std::string_view, N> fields_{};
    size_t count_ = 0;
};

// Calls `each` for every line of `text`; a last line without a newline is
// still a line.
template <typename F>
void forEachLine(std::string_view text, F&& each)
{
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = text.substr(0, end);
        each(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

// The first whole-token unsigned number of `text` after trimming: the form of
// a one-value sysfs file.
std::optional<uint64_t> parseUnsignedFile(std::string_view text);
std::optional<int64_t> parseSignedFile(std::string_view text);

// Hexadecimal digits only, a whole token without prefix ("0101A8C0" of the
// route table).
std::optional<uint64_t> parseHexDigits(std::string_view token);

// A "0x"-prefixed hexadecimal number, the form of sysfs flag and class
// attributes ("0x1003", "0x030000"), surrounding whitespace allowed.
std::optional<uint64_t> parseHexUnsigned(std::string_view text);

// A CPU list such as "0-3,8" (the kernel's cpulist format). Absent when
// malformed; the empty list is a list.
std::optional<std::vector<uint32_t>> parseCpuList(std::string_view text);

} // namespace orbistat
