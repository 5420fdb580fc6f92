// How the two programs start: which mode, what they say without a display,
// and no warnings from Qt about the runtime folder.
#include "TestPaths.h"
#include "app/ProgramMode.h"
#include "shared/RuntimeDirectory.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orbistat;

TEST(ProgramMode, TheCommandLineAndTheDisplayDecide)
{
    const struct {
        QStringList arguments;
        bool display;
        ProgramMode mode;
    } cases[] = {
        {{"orbistat"}, true, ProgramMode::tray},
        {{"orbistat"}, false, ProgramMode::terminal},
        {{"orbistat", "--print"}, true, ProgramMode::headless},
        {{"orbistat", "--json", "--count", "2"}, true, ProgramMode::headless},
        {{"orbistat", "--count", "2"}, true, ProgramMode::headless},
        {{"orbistat", "-exportScreenshots", "/tmp/x"}, false, ProgramMode::exportScreenshots},
        {{"orbistat", "-exportScreenshots", "/tmp/x", "--print"}, true, ProgramMode::exportScreenshots},
        {{"orbistat", "-exportScreenshots"}, true, ProgramMode::tray},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const auto line = parseCommandLine(c.arguments);
        ASSERT_TRUE(line);
        EXPECT_EQ(chooseProgramMode(*line, c.display), c.mode);
    }
}

TEST(RuntimeDirectory, OnlyTheUsersOwnPrivateFolderIsTaken)
{
    QTemporaryDir run;
    const unsigned uid = ::getuid();
    const QString own = run.filePath(QString::number(uid));
    EXPECT_EQ(ownRuntimeDirectory(run.path(), uid), QString()) << "missing";
    ASSERT_TRUE(QDir().mkdir(own));
    QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ownRuntimeDirectory(run.path(), uid), own);
    QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                   | QFileDevice::ExeOther);
    EXPECT_EQ(ownRuntimeDirectory(run.path(), uid), QString()) << "readable by others";
    EXPECT_EQ(ownRuntimeDirectory(run.path(), uid + 1), QString());
    QTemporaryDir elsewhere;
    QDir(own).removeRecursively();
    ASSERT_TRUE(QFile::link(elsewhere.path(), own));
    EXPECT_EQ(ownRuntimeDirectory(run.path(), uid), QString()) << "a link";
}

namespace {

QProcessEnvironment withoutDisplay(const QString& home)
{
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/config");
    environment.insert("XDG_CACHE_HOME", home + "/cache");
    environment.insert("ORBISTAT_APP_GROUPS", "");
    return environment;
}

} // namespace

TEST(ProgramStart, WithoutADisplayOrbistatSaysSoAndPrintsUntilStopped)
{
    QTemporaryDir home;
    QProcess process;
    process.setProcessEnvironment(withoutDisplay(home.path()));
    process.start(test::orbistatBinary(), {});
    ASSERT_TRUE(process.waitForStarted(5000));
    for (int i = 0; i < 100 && !process.canReadLine(); ++i)
        process.waitForReadyRead(100);
    const QByteArray first = process.readLine();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(process.state(), QProcess::Running) << "runs until stopped";
    process.terminate();
    process.waitForFinished(5000);
    const QByteArray errors = process.readAllStandardError();
    EXPECT_EQ(errors, terminalModeNote().toUtf8() + '\n');
}

TEST(ProgramStart, TheWidgetProgramWithoutADisplayExplainsAndExitsOne)
{
    QTemporaryDir home;
    QProcess process;
    process.setProcessEnvironment(withoutDisplay(home.path()));
    process.start(test::orbistatWidgetBinary(), {});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QByteArray errors = process.readAllStandardError();
    EXPECT_TRUE(errors.contains("needs a desktop session") || errors.contains("need a desktop session")) << errors.toStdString();
    EXPECT_FALSE(errors.contains("Reinstalling"));
}

TEST(ProgramStart, NoRuntimeFolderWarningWhenTheVariableIsUnset)
{
    QTemporaryDir home;
    QProcess process;
    auto environment = withoutDisplay(home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(test::orbistatWidgetBinary(),
                  {"--render", home.filePath("w.png"), "--kind", "stats", "--family", "small", "--preview"});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(process.readAllStandardError().contains("XDG_RUNTIME_DIR"));
}
