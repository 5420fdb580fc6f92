// libFuzzer target: the number, field and CPU-list parsers every sysfs and
// procfs reader uses. Properties: a number is a whole token (an unsigned one
// is digits only, a hexadecimal one hex digits only), and the value written
// back reads the same; a double is finite; fields are non-empty and free of
// blanks, and joined again split the same; a CPU list stays within 65,536
// entries and written back in list form parses the same.
#include "FuzzSupport.h"
#include "platform/linux/TextParsing.h"

#include <charconv>
#include <cmath>
#include <string>

using namespace orbistat;

namespace {

std::string hex(uint64_t value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, 16).ptr;
    return std::string(buffer, end);
}

bool isDigits(std::string_view text, bool hexadecimal)
{
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit && !(hexadecimal && letter))
            return false;
    }
    return !text.empty();
}

void checkNumbers(std::string_view token)
{
    if (const auto value = parseUnsigned(token)) {
        fuzz::require(isDigits(token, false), "an unsigned number is digits only");
        fuzz::require(parseUnsigned(std::to_string(*value)) == value, "an unsigned number written back reads the same");
    }
    if (const auto value = parseSigned(token))
        fuzz::require(parseSigned(std::to_string(*value)) == value, "a signed number written back reads the same");
    if (const auto value = parseDouble(token)) {
        fuzz::require(std::isfinite(*value), "a double is finite");
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, *value).ptr;
        fuzz::require(parseDouble(std::string_view(buffer, static_cast<size_t>(end - buffer))) == value,
                      "a double written back reads the same");
    }
    if (const auto value = parseHexDigits(token)) {
        fuzz::require(isDigits(token, true), "a hexadecimal number is hex digits only");
        fuzz::require(parseHexUnsigned("0x" + hex(*value)) == value, "a hexadecimal number written back reads the same");
    }
    fuzz::require(parseUnsignedFile(token) == parseUnsigned(trimAscii(token)), "a file's number is its trimmed text's");
    fuzz::require(parseSignedFile(token) == parseSigned(trimAscii(token)), "a file's signed number is its trimmed text's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto text = fuzz::asText(data, size);
    checkNumbers(text);
    if (const auto value = parseHexUnsigned(text))
        fuzz::require(parseHexUnsigned("0x" + hex(*value)) == value, "a flag value written back reads the same");

    size_t lines = 0;
    forEachLine(text, [&](std::string_view line) {
        ++lines;
        fuzz::require(line.find('\n') == std::string_view::npos, "a line holds no line break");
        const auto fields = splitFields(line);
        std::string joined;
        for (const auto field : fields) {
            fuzz::require(!field.empty() && trimAscii(field) == field, "a field is non-empty and trimmed");
            fuzz::require(field.find_first_of(" \t") == std::string_view::npos, "a field holds no blank");
            checkNumbers(field);
            joined += std::string(field) + ' ';
        }
        fuzz::require(splitFields(joined) == fields, "fields joined again split the same");
    });
    fuzz::require(lines <= size, "no more lines than bytes");

    if (const auto cpus = parseCpuList(text)) {
        fuzz::require(cpus->size() <= 65536, "a CPU list stays within 65,536 entries");
        std::string written;
        for (const auto cpu : *cpus) {
            fuzz::require(cpu < 65536, "a CPU number stays below 65,536");
            written += (written.empty() ? "" : ",") + std::to_string(cpu);
        }
        fuzz::require(parseCpuList(written + "\n") == cpus, "a CPU list written back parses the same");
    }
    return 0;
}
