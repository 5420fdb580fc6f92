#include "app/DesktopProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;

namespace {

void makeFile(const QString& path, bool executable)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner : QFile::ReadOwner | QFile::WriteOwner);
}

// The shared libraries a program names (readelf -d), as text.
QByteArray neededLibraries(const std::string& program)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), QString::fromStdString(program)});
    if (!readelf.waitForFinished(10000))
        return {};
    QByteArray needed;
    for (const auto& line : readelf.readAllStandardOutput().split('\n')) {
        if (line.contains("(NEEDED)"))
            needed += line + '\n';
    }
    return needed;
}

} // namespace

TEST(DesktopProgram, FoundBesideOrbistatOrInItsLibexecFolder)
{
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, bool>> files;  // relative path, executable
        const char* self;
        std::optional<const char*> desktop;
        std::optional<const char*> launcher;  // what the desktop program at `desktop` stands for
    };
    const Case cases[] = {
        {"build tree", {{"app/orbistat", true}, {"app/orbistat-desktop", true}}, "app/orbistat", "app/orbistat-desktop", "app/orbistat"},
        {"installed", {{"usr/bin/orbistat", true}, {"usr/libexec/orbistat/orbistat-desktop", true}}, "usr/bin/orbistat",
         "usr/bin/../libexec/orbistat/orbistat-desktop", "usr/libexec/orbistat/../../bin/orbistat"},
        {"not installed", {{"usr/bin/orbistat", true}}, "usr/bin/orbistat", std::nullopt, std::nullopt},
        {"not executable", {{"app/orbistat", true}, {"app/orbistat-desktop", false}}, "app/orbistat", std::nullopt, std::nullopt},
        {"a folder in its place", {{"app/orbistat", true}, {"app/orbistat-desktop/x", true}}, "app/orbistat", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const std::string base = dir.path().toStdString() + "/";
        for (const auto& [path, executable] : c.files)
            makeFile(dir.filePath(QString::fromUtf8(path)), executable);
        const auto desktop = desktopProgramPath(base + c.self);
        EXPECT_EQ(desktop, c.desktop ? std::optional<std::string>(base + *c.desktop) : std::nullopt);
        // The desktop program finds orbistat from its own path, as the
        // kernel gives it: without "..".
        const auto self = desktop ? QFileInfo(QString::fromStdString(*desktop)).canonicalFilePath().toStdString() : std::string();
        if (desktop && c.launcher) {
            EXPECT_EQ(launcherPath(self), base + *c.launcher);
        }
    }
    EXPECT_FALSE(desktopProgramPath("orbistat")) << "no folder to look in";
}

TEST(DesktopProgram, TheTerminalProgramLoadsNoWidgetOrGraphicsLibrary)
{
    // The terminal modes must stay light: a class of the tray reached from
    // them (through a shared meta-object file, say) would bring the widget
    // and graphics libraries back into every `orbistat --print`.
    const auto desktop = desktopProgramPath(ORBISTAT_BINARY);
    ASSERT_TRUE(desktop) << "orbistat-desktop is built beside orbistat";
    const auto terminal = neededLibraries(ORBISTAT_BINARY);
    const auto full = neededLibraries(*desktop);
    ASSERT_TRUE(terminal.contains("libQt6Core")) << "readelf answered";
    EXPECT_TRUE(full.contains("libQt6Widgets"));
    EXPECT_FALSE(terminal.contains("libQt6Gui")) << terminal.toStdString();
    EXPECT_FALSE(terminal.contains("libQt6Widgets")) << terminal.toStdString();
}
