#include "platform/linux/LinuxAutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace orbistat;

namespace {

struct AutostartTest : ::testing::Test {
    QTemporaryDir config;
    QString folder = config.filePath("autostart");
    QString entry = config.filePath("autostart/orbistat.desktop");

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
};

// desktop-file-validate's complaints; empty when the entry is valid.
QString validationErrors(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty())
        return QStringLiteral("desktop-file-validate is missing: run scripts/setup.sh (desktop-file-utils)");
    QProcess process;
    process.start(tool, {path});
    if (!process.waitForFinished(10000))
        return QStringLiteral("desktop-file-validate did not finish");
    const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitCode() == 0 && !output.contains(QLatin1String("error")) ? QString() : output;
}

QByteArray execLine(const QByteArray& text)
{
    for (const auto& line : text.split('\n')) {
        if (line.startsWith("Exec="))
            return line.mid(5);
    }
    return {};
}

} // namespace

TEST_F(AutostartTest, EnableWritesAValidEntryForTheProgramAndDisableRemovesIt)
{
    // Exec quoting: ", `, $ and \ escaped for the quoted argument and the
    // backslashes escaped again as a string value; % doubled.
    const std::pair<QString, QByteArray> cases[] = {
        {"/usr/bin/orbistat", R"("/usr/bin/orbistat")"},
        {"/opt/My Apps/orbistat", R"("/opt/My Apps/orbistat")"},
        {"/tmp/a$b\"c`d\\e%f/orbistat", R"("/tmp/a\\$b\\"c\\`d\\\\e%%f/orbistat")"},
        {"/home/zoë/bin/orbistat", "\"/home/zo\xc3\xab/bin/orbistat\""},
    };
    for (const auto& [program, exec] : cases) {
        SCOPED_TRACE(program.toStdString());
        LinuxAutostartEntry autostart(config.path(), program);
        EXPECT_FALSE(autostart.isEnabled());
        autostart.enable();
        ASSERT_TRUE(autostart.isEnabled());
        EXPECT_EQ(autostart.entryPath(), entry);
        const QByteArray text = read(entry);
        EXPECT_EQ(execLine(text), exec);
        EXPECT_EQ(validationErrors(entry), QString());
        EXPECT_EQ(QFileInfo(entry).permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);
        autostart.disable();
        EXPECT_FALSE(autostart.isEnabled());
        EXPECT_FALSE(QFile::exists(entry));
    }
    // No leftover temporary files beside the entry.
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(AutostartTest, APathThatCannotBeAnExecLineIsNotWritten)
{
    for (const QString& program : {QStringLiteral("/tmp/new\nline/orbistat"), QStringLiteral("relative/orbistat")}) {
        LinuxAutostartEntry autostart(config.path(), program);
        autostart.enable();
        EXPECT_FALSE(autostart.isEnabled());
        EXPECT_FALSE(QFile::exists(entry));
    }
}

TEST_F(AutostartTest, HiddenInTheMainGroupTurnsTheEntryOff)
{
    ASSERT_TRUE(QDir().mkpath(folder));
    LinuxAutostartEntry autostart(config.path(), "/usr/bin/orbistat");
    const std::pair<QByteArray, bool> cases[] = {
        {"[Desktop Entry]\nExec=orbistat\n", true},
        {"[Desktop Entry]\nHidden=true\n", false},
        {"[Desktop Entry]\nHidden = true\n", false},
        {"[Desktop Entry]\nHidden=false\n", true},
        {"[Desktop Entry]\n# Hidden=true\n", true},
        {"[Desktop Entry]\nName=x\n[Desktop Action quit]\nHidden=true\n", true},
        {"", true},
    };
    for (const auto& [text, enabled] : cases) {
        SCOPED_TRACE(text.toStdString());
        write(entry, text);
        EXPECT_EQ(autostart.isEnabled(), enabled);
    }
}

TEST_F(AutostartTest, NothingIsWrittenThroughALinkAndNothingBlocks)
{
    LinuxAutostartEntry autostart(config.path(), "/usr/bin/orbistat");
    ASSERT_TRUE(QDir().mkpath(folder));

    // An entry that links elsewhere: read through it, never written
    // through; removing it removes the link and keeps the target.
    const QString target = config.filePath("dotfiles-entry.desktop");
    write(target, "[Desktop Entry]\nHidden=true\n");
    ASSERT_TRUE(QFile::link(target, entry));
    EXPECT_FALSE(autostart.isEnabled());
    autostart.enable();
    EXPECT_EQ(read(target), "[Desktop Entry]\nHidden=true\n");
    EXPECT_TRUE(QFileInfo(entry).isSymLink());
    autostart.disable();
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(QFileInfo(entry).isSymLink());
    EXPECT_EQ(read(target), "[Desktop Entry]\nHidden=true\n");

    // A FIFO where the entry belongs neither blocks the read nor counts.
    ASSERT_EQ(::mkfifo(entry.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(autostart.isEnabled());
    autostart.enable();
    EXPECT_FALSE(autostart.isEnabled());
    QFile::remove(entry);

    // An autostart folder that is a link is not written into.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const QString elsewhere = config.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, folder));
    autostart.enable();
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_FALSE(autostart.isEnabled());
}

TEST_F(AutostartTest, AnUnwritableFolderLeavesItOff)
{
    // A file where the folder belongs: no folder can be made there, even
    // for root, who ignores permission bits.
    write(folder, "not a folder");
    LinuxAutostartEntry autostart(config.path(), "/usr/bin/orbistat");
    autostart.enable();
    EXPECT_FALSE(autostart.isEnabled());
    autostart.disable();
    EXPECT_EQ(read(folder), "not a folder");
}
