#include "platform/linux/HotFileSet.h"

#include "platform/linux/TextParsing.h"

namespace orbistat {

namespace {
// A one-value attribute holds a number in far fewer bytes.
constexpr size_t numberBytes = 64;
} // namespace

HotFileSet::HotFileSet(LinuxRoot root)
    : root_(std::move(root))
{
}

std::optional<std::string_view> HotFileSet::readBytes(std::string_view relative, size_t maxBytes)
{
    auto it = files_.find(relative);
    if (it == files_.end())
        it = files_.emplace(std::string(relative), Entry{std::make_unique<HotFile>(root_, relative, maxBytes)}).first;
    it->second.used = true;
    return it->second.file->read();
}

std::optional<QString> HotFileSet::readText(std::string_view relative)
{
    const auto bytes = readBytes(relative);
    return bytes ? std::optional<QString>(attributeText(*bytes)) : std::nullopt;
}

std::optional<uint64_t> HotFileSet::readUnsigned(std::string_view relative)
{
    const auto bytes = readBytes(relative, numberBytes);
    return bytes ? parseUnsignedFile(*bytes) : std::nullopt;
}

std::optional<int64_t> HotFileSet::readSigned(std::string_view relative)
{
    const auto bytes = readBytes(relative, numberBytes);
    return bytes ? parseSignedFile(*bytes) : std::nullopt;
}

bool HotFileSet::isRuntimeSuspended(std::string_view statusFile)
{
    const auto bytes = readBytes(statusFile, numberBytes);
    return bytes && trimAscii(bytes->substr(0, bytes->find('\0'))) == "suspended";
}

void HotFileSet::sweep()
{
    for (auto it = files_.begin(); it != files_.end();) {
        if (!it->second.used) {
            it = files_.erase(it);
        } else {
            it->second.used = false;
            ++it;
        }
    }
}

} // namespace orbistat
