#include "platform/linux/LinuxRoot.h"

#include "platform/linux/ReadFully.h"
#include "platform/linux/TextParsing.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace orbistat {

LinuxRoot::LinuxRoot(std::filesystem::path root, bool isRecorded)
    : root_(std::move(root))
    , isRecorded_(isRecorded)
{
}

LinuxRoot LinuxRoot::fromEnvironment()
{
    const char* sysroot = std::getenv("ORBISTAT_SYSROOT");
    if (sysroot != nullptr && *sysroot != '\0')
        return LinuxRoot(sysroot, true);
    return LinuxRoot("/", false);
}

std::filesystem::path LinuxRoot::resolve(std::string_view relative) const
{
    return root_ / relative;
}

void LinuxRoot::setOpenObserver(OpenObserver observer)
{
    openObserver_ = observer ? std::make_shared<const OpenObserver>(std::move(observer)) : nullptr;
}

int LinuxRoot::openForReading(std::string_view relative) const
{
    if (openObserver_)
        (*openObserver_)(relative);
    return openRegularFile(resolve(relative).c_str());
}

std::optional<std::string> LinuxRoot::readBytes(std::string_view relative, size_t maxBytes) const
{
    const int fd = openForReading(relative);
    if (fd < 0)
        return std::nullopt;
    std::string bytes(maxBytes, '\0');
    const auto filled = preadFully(fd, bytes.data(), maxBytes);
    ::close(fd);
    if (!filled)
        return std::nullopt;
    bytes.resize(*filled);
    return bytes;
}

QString attributeText(std::string_view bytes)
{
    auto text = trimAscii(bytes.substr(0, bytes.find('\0')));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<QString> LinuxRoot::readText(std::string_view relative) const
{
    const auto bytes = readBytes(relative);
    if (!bytes)
        return std::nullopt;
    return attributeText(*bytes);
}

std::optional<uint64_t> LinuxRoot::readUnsigned(std::string_view relative) const
{
    const auto bytes = readBytes(relative, 64);
    return bytes ? parseUnsignedFile(*bytes) : std::nullopt;
}

std::optional<int64_t> LinuxRoot::readSigned(std::string_view relative) const
{
    const auto bytes = readBytes(relative, 64);
    return bytes ? parseSignedFile(*bytes) : std::nullopt;
}

bool LinuxRoot::exists(std::string_view relative) const
{
    std::error_code error;
    return std::filesystem::exists(resolve(relative), error);
}

std::vector<std::string> LinuxRoot::list(std::string_view relative) const
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(resolve(relative), error);
    if (error)
        return names;
    for (const auto end = std::filesystem::directory_iterator(); it != end; it.increment(error)) {
        if (error)
            break;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool LinuxRoot::isRuntimeSuspended(std::string_view devicePath) const
{
    return readText(std::string(devicePath) + "/power/runtime_status") == QStringLiteral("suspended");
}

std::optional<std::string> LinuxRoot::resolvedLink(std::string_view relative) const
{
    std::error_code error;
    const auto canonical = std::filesystem::canonical(resolve(relative), error);
    if (error)
        return std::nullopt;
    return canonical.string();
}

} // namespace orbistat
