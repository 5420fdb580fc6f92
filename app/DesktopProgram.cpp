#include "app/DesktopProgram.h"

#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orbistat {

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> selfPath()
{
    char self[PATH_MAX + 1] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, PATH_MAX);
    if (length <= 0)
        return std::nullopt;
    return std::string(self, static_cast<size_t>(length));
}

} // namespace

std::optional<std::string> desktopProgramPath(const std::string& selfPath)
{
    const auto slash = selfPath.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const std::string folder = selfPath.substr(0, slash);
    for (const auto& candidate : {folder + "/" + desktopProgramName, folder + "/../libexec/orbistat/" + desktopProgramName}) {
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> launcherPath(const std::string& selfPath)
{
    const auto slash = selfPath.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const std::string folder = selfPath.substr(0, slash);
    for (const auto& candidate : {folder + "/orbistat", folder + "/../../bin/orbistat"}) {
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

QString launcherProgramPath()
{
    const auto self = selfPath();
    if (!self)
        return {};
    const bool isDesktopProgram = self->ends_with(std::string("/") + desktopProgramName);
    const auto launcher = isDesktopProgram ? launcherPath(*self) : std::nullopt;
    // A login entry names the program plainly: no "bin/../" in its path.
    return QFileInfo(QString::fromStdString(launcher.value_or(*self))).canonicalFilePath();
}

int becomeDesktopProgram(char* argv[])
{
    const auto self = selfPath();
    const auto path = self ? desktopProgramPath(*self) : std::nullopt;
    if (!path) {
        std::fprintf(stderr, "orbistat: %s is not installed beside this program\n", desktopProgramName);
        return 1;
    }
    ::execv(path->c_str(), argv);
    std::fprintf(stderr, "orbistat: cannot start %s: %s\n", path->c_str(), std::strerror(errno));
    return 1;
}

} // namespace orbistat
