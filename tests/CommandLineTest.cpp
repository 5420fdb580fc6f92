#include "app/CommandLine.h"
#include "TestPaths.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orbistat;

TEST(CommandLine, OptionsAndTheirValues)
{
    const auto line = parseCommandLine({"orbistat", "--json", "--count", "3", "--interval", "0.1"});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->mode, CommandLine::Mode::json);
    EXPECT_EQ(line->count, 3);
    EXPECT_EQ(line->interval, 0.5) << "floored";
    EXPECT_EQ(parseCommandLine({"orbistat"})->mode, CommandLine::Mode::automatic);
    EXPECT_TRUE(parseCommandLine({"orbistat", "--print", "--details"})->details);

    const QStringList bad[] = {{"orbistat", "--bogus"}, {"orbistat", "--count"}, {"orbistat", "--count", "0"}, {"orbistat", "--count", "x"},
                               {"orbistat", "--interval", "nan"}, {"orbistat", "--interval", "inf"}, {"orbistat", "print"}};
    for (const auto& arguments : bad)
        EXPECT_FALSE(parseCommandLine(arguments)) << arguments.join(' ').toStdString();
}

TEST(CommandLine, SettingsWindowWithAnOptionalTab)
{
    const std::pair<QStringList, SettingsTab> good[] = {
        {{"orbistat", "--settings"}, SettingsTab::general},
        {{"orbistat", "--settings", "menuBar"}, SettingsTab::menuBar},
        {{"orbistat", "--settings", "alerts", "--interval", "1"}, SettingsTab::alerts},
        {{"orbistat", "--settings", "--interval", "1"}, SettingsTab::general},
    };
    for (const auto& [arguments, tab] : good) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const auto line = parseCommandLine(arguments);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->mode, CommandLine::Mode::settings);
        EXPECT_EQ(line->settingsTab, tab);
    }
    EXPECT_FALSE(parseCommandLine({"orbistat", "--settings", "MenuBar"})) << "tab names are exact";
    EXPECT_FALSE(parseCommandLine({"orbistat", "--settings", "general", "popover"}));

    const char* withSettings[] = {"orbistat", "--print", "--settings"};
    const char* without[] = {"orbistat", "--print", "settings"};
    EXPECT_TRUE(asksForSettingsWindow(3, withSettings));
    EXPECT_FALSE(asksForSettingsWindow(3, without));
}

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runOrbistat(const QStringList& arguments, const QString& sysroot = {}, const QStringList& unset = {})
{
    QTemporaryDir home;
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    for (const auto& name : unset)
        environment.remove(name);
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
    environment.insert("XDG_RUNTIME_DIR", home.path());
    environment.insert("ORBISTAT_APP_GROUPS", "group.test");
    if (!sysroot.isEmpty())
        environment.insert("ORBISTAT_SYSROOT", sysroot);
    process.setProcessEnvironment(environment);
    process.start(test::orbistatBinary(), arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

TEST(Headless, UnknownOptionPrintsUsageAndExitsTwo)
{
    const auto run = runOrbistat({"--frobnicate"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("Usage: orbistat"));
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(Headless, SettingsWindowWithoutADisplaySaysSoInsteadOfAborting)
{
    const auto run = runOrbistat({"--settings", "alerts"}, {}, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("needs a display")) << run.err.toStdString();
}

TEST(Headless, JsonReadsARecordedTree)
{
    const auto run = runOrbistat({"--json", "--count", "1"}, QString::fromStdString(test::fixture("intel-hybrid-laptop/t0")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const auto lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    const auto object = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(object.value("cpu").toObject().value("perCore").toArray().size(), 12);
    EXPECT_EQ(object.value("cpuBrand").toString(), "12th Gen Intel(R) Core(TM) i5-1235U");
    EXPECT_EQ(object.value("cpuCores").toString(), "12 cores (4P + 8E)");
    EXPECT_FALSE(object.contains("battery"));
    EXPECT_FALSE(object.contains("gpu"));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(Headless, PrintSamplesThisMachineAtTheGivenInterval)
{
    const auto run = runOrbistat({"--print", "--count", "2", "--interval", "0.5"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed().split('\n').size(), 2);
}
