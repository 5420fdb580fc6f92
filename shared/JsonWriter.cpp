#include "shared/JsonWriter.h"

#include <array>
#include <charconv>

namespace orbistat {

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

void appendEscapedUnit(std::string& out, char16_t unit)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hexDigits[(unit >> shift) & 0xF];
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

JsonWriter::JsonWriter(std::string& out)
    : out_(out)
{
    out_.clear();
}

void JsonWriter::separate()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (depth_ > 0 && depth_ <= 64) {
        const uint64_t bit = uint64_t{1} << (depth_ - 1);
        if (hasElement_ & bit)
            out_ += ',';
        hasElement_ |= bit;
    }
}

void JsonWriter::beginObject()
{
    separate();
    out_ += '{';
    ++depth_;
    if (depth_ <= 64)
        hasElement_ &= ~(uint64_t{1} << (depth_ - 1));
}

void JsonWriter::endObject()
{
    out_ += '}';
    --depth_;
}

void JsonWriter::beginArray()
{
    separate();
    out_ += '[';
    ++depth_;
    if (depth_ <= 64)
        hasElement_ &= ~(uint64_t{1} << (depth_ - 1));
}

void JsonWriter::endArray()
{
    out_ += ']';
    --depth_;
}

void JsonWriter::key(std::string_view name)
{
    separate();
    out_ += '"';
    out_ += name;  // keys are this program's own ASCII names
    out_ += "\":";
    afterKey_ = true;
}

void JsonWriter::number(double value)
{
    separate();
    // Shortest round-trip form, as JSON readers read it back ("0.34",
    // "2400000", "1e-07").
    std::array<char, 32> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    out_.append(digits.data(), error == std::errc{} ? static_cast<size_t>(end - digits.data()) : 0);
}

void JsonWriter::integer(int64_t value)
{
    separate();
    std::array<char, 24> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    out_.append(digits.data(), error == std::errc{} ? static_cast<size_t>(end - digits.data()) : 0);
}

void JsonWriter::boolean(bool value)
{
    separate();
    out_ += value ? "true" : "false";
}

void JsonWriter::text(QStringView value)
{
    separate();
    out_ += '"';
    const auto* unit = value.utf16();
    const auto* end = unit + value.size();
    while (unit != end) {
        const char16_t c = *unit++;
        switch (c) {
        case u'"': out_ += "\\\""; continue;
        case u'\\': out_ += "\\\\"; continue;
        case u'\b': out_ += "\\b"; continue;
        case u'\f': out_ += "\\f"; continue;
        case u'\n': out_ += "\\n"; continue;
        case u'\r': out_ += "\\r"; continue;
        case u'\t': out_ += "\\t"; continue;
        default: break;
        }
        if (c < 0x20) {
            appendEscapedUnit(out_, c);
        } else if (c >= 0xD800 && c < 0xDC00 && unit != end && *unit >= 0xDC00 && *unit < 0xE000) {
            const char16_t low = *unit++;
            appendUtf8(out_, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(low) - 0xDC00));
        } else if (c >= 0xD800 && c < 0xE000) {
            // A lone surrogate has no UTF-8 form; the escape carries it
            // through unchanged, as Qt's own JSON writer does.
            appendEscapedUnit(out_, c);
        } else {
            appendUtf8(out_, c);
        }
    }
    out_ += '"';
}

} // namespace orbistat
