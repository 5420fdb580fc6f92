#include "shared/SharedStats.h"
#include "shared/SharedStatsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>

using namespace orbistat;

namespace {

SharedStats fullSnapshot()
{
    SharedStats stats;
    stats.cpu = 0.34;
    stats.memory = 0.59375;
    stats.disk = 0.577;
    stats.download = 2400000;
    stats.upload = 180000;
    stats.gpu = 0.21;
    stats.batteryPercent = 82;
    stats.batteryCharging = false;
    stats.cpuTemperature = 52.5;
    stats.warning = 0.75;
    stats.critical = 0.9;
    stats.updated = QDateTime(QDate(2026, 12, 8), QTime(3, 4, 5, 250), QTimeZone::utc());
    stats.accessories = {{QStringLiteral("Magic \"Keyboard\" \\ <b>bold</b>\x01\t"), 90, false, QStringLiteral("keyboard")},
                         {QStringLiteral("Mouse"), 64, true, QStringLiteral("computermouse")}};
    return stats;
}

QJsonObject encodedObject(const SharedStats& stats)
{
    return QJsonDocument::fromJson(*encodeSharedStats(stats)).object();
}

// Sets the environment for the store for the life of the test.
struct StoreEnvironment {
    QTemporaryDir runtime;
    StoreEnvironment(const char* groups = "group.test,group.other")
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        qputenv("ORBISTAT_APP_GROUPS", groups);
    }
    ~StoreEnvironment()
    {
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("ORBISTAT_APP_GROUPS");
    }
    QString folder() const { return runtime.path() + "/orbistat/group.test"; }
};

unsigned modeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0xFFFF;
    return info.st_mode & 0777;
}

} // namespace

TEST(SharedStatsJson, RoundTripKeepsEveryFieldAndNameByteForByte)
{
    const auto stats = fullSnapshot();
    const auto json = encodeSharedStats(stats);
    ASSERT_TRUE(json);
    EXPECT_FALSE(json->contains("\": ")) << "compact output";
    EXPECT_FALSE(json->contains('\n'));
    EXPECT_EQ(decodeSharedStats(*json), stats);
}

TEST(SharedStatsJson, AwkwardNumbersAndTextsRoundTripAsValidJson)
{
    struct Case {
        const char* what;
        double number;
        QString name;
    };
    const Case cases[] = {
        {"tiny fraction", 1e-7, QStringLiteral("plain")},
        {"huge rate", 1.25e20, QStringLiteral("plain")},
        {"negative zero", -0.0, QStringLiteral("plain")},
        {"shortest form", 0.1 + 0.2, QStringLiteral("plain")},
        {"emoji and accents", 0.5, QString::fromUtf8("Écouteurs \xF0\x9F\x8E\xA7")},
        {"lone surrogate", 0.5, QString(QChar(0xD83C)) + QStringLiteral("x")},
        {"control characters", 0.5, QString(QChar(0x1F)) + QStringLiteral("\b\f\n\r\"\\/")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto stats = fullSnapshot();
        stats.download = c.number;
        stats.accessories = {{c.name, 5, false, QStringLiteral("headphones")}};
        const auto json = encodeSharedStats(stats);
        ASSERT_TRUE(json);
        QJsonParseError error{};
        QJsonDocument::fromJson(*json, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << json->toStdString();
        const auto decoded = decodeSharedStats(*json);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->download, c.number);
        EXPECT_EQ(decoded->accessories, stats.accessories);
    }
}

TEST(SharedStatsJson, AbsentOptionalsAreLeftOutAndReadBackAbsent)
{
    auto stats = fullSnapshot();
    stats.gpu.reset();
    stats.batteryPercent.reset();
    stats.batteryCharging.reset();
    stats.cpuTemperature.reset();
    stats.accessories.clear();
    const auto object = encodedObject(stats);
    for (const char* key : {"gpu", "batteryPercent", "batteryCharging", "cpuTemperature"})
        EXPECT_FALSE(object.contains(QLatin1String(key))) << key;
    EXPECT_TRUE(encodeSharedStats(stats)->contains("\"accessories\":[]"));
    EXPECT_EQ(decodeSharedStats(*encodeSharedStats(stats)), stats);
}

TEST(SharedStatsJson, DatesCountFromTheStartOf2001)
{
    auto stats = fullSnapshot();
    stats.updated = QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    EXPECT_EQ(encodedObject(stats).value("updated").toDouble(), 0.0);
    stats.updated = stats.updated.addSecs(3600);
    EXPECT_EQ(encodedObject(stats).value("updated").toDouble(), 3600.0);
    stats.updated = QDateTime::fromMSecsSinceEpoch(978307200000LL + 786000000500LL, QTimeZone::utc());
    EXPECT_EQ(encodedObject(stats).value("updated").toDouble(), 786000000.5);
}

TEST(SharedStatsJson, NonFiniteNumbersCannotBeEncoded)
{
    for (const double bad : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        auto stats = fullSnapshot();
        stats.download = bad;
        EXPECT_FALSE(encodeSharedStats(stats));
        stats = fullSnapshot();
        stats.cpuTemperature = bad;
        EXPECT_FALSE(encodeSharedStats(stats));
    }
}

TEST(SharedStatsJson, NullReadsAsAbsentButWrongTypesRejectTheWholeSnapshot)
{
    const auto valid = encodedObject(fullSnapshot());
    auto withNull = valid;
    withNull.insert("gpu", QJsonValue::Null);
    withNull.insert("futureKey", "ignored");
    const auto decoded = decodeSharedStats(QJsonDocument(withNull).toJson());
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(decoded->gpu);

    struct Case {
        const char* what;
        const char* key;
        QJsonValue value;
    };
    const Case cases[] = {
        {"missing accessories", "accessories", QJsonValue::Undefined},
        {"fractional battery percent", "batteryPercent", 82.5},
        {"text cpu", "cpu", "0.3"},
        {"null required", "memory", QJsonValue::Null},
        {"date as text", "updated", "2026-12-08"},
        {"absurd date", "updated", 1e300},
        {"boolean as number", "batteryCharging", 1},
        {"accessories as object", "accessories", QJsonObject{}},
        {"accessory without symbol", "accessories", QJsonArray{QJsonObject{{"name", "K"}, {"percent", 5}, {"isCharging", false}}}},
        {"accessory percent fraction", "accessories",
         QJsonArray{QJsonObject{{"name", "K"}, {"percent", 5.5}, {"isCharging", false}, {"symbol", "keyboard"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto object = valid;
        if (c.value.isUndefined())
            object.remove(QLatin1String(c.key));
        else
            object.insert(QLatin1String(c.key), c.value);
        EXPECT_FALSE(decodeSharedStats(QJsonDocument(object).toJson()));
    }
}

TEST(SharedStatsJson, BrokenTextDecodesToNothing)
{
    const auto json = *encodeSharedStats(fullSnapshot());
    for (const QByteArray& text : {QByteArray(), QByteArray("not json"), QByteArray("[]"), QByteArray("null"), json.left(json.size() / 2),
                                   QByteArray("{\"cpu\":1e999}"), QByteArray(1 << 16, '[')}) {
        SCOPED_TRACE(text.left(40).toStdString());
        EXPECT_FALSE(decodeSharedStats(text));
    }
}

TEST(SharedStatsStore, GroupIsTheFirstListedOne)
{
    StoreEnvironment environment("group.test, group.other");
    EXPECT_EQ(applicationGroup(), QString("group.test"));
    qputenv("ORBISTAT_APP_GROUPS", "");
    EXPECT_FALSE(applicationGroup());
    qputenv("ORBISTAT_APP_GROUPS", "../escape");
    EXPECT_FALSE(applicationGroup());
    qunsetenv("ORBISTAT_APP_GROUPS");
    EXPECT_EQ(applicationGroup(), QString("group.orbistat"));
}

TEST(SharedStatsStore, SaveThenLoadWithPrivateModes)
{
    StoreEnvironment environment;
    const auto stats = fullSnapshot();
    ASSERT_TRUE(saveSharedStats(stats));
    EXPECT_EQ(loadSharedStats(), stats);
    EXPECT_EQ(modeOf(environment.folder()), 0700u);
    EXPECT_EQ(modeOf(environment.runtime.path() + "/orbistat"), 0700u);
    EXPECT_EQ(modeOf(environment.folder() + "/sharedStats"), 0600u);
    EXPECT_TRUE(requestWidgetReload());
    EXPECT_TRUE(QFileInfo::exists(environment.folder() + "/reload"));
}

TEST(SharedStatsStore, FailedSavesKeepThePreviousSnapshot)
{
    StoreEnvironment environment;
    const auto stats = fullSnapshot();
    ASSERT_TRUE(saveSharedStats(stats));

    auto broken = stats;
    broken.cpu = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(saveSharedStats(broken));
    EXPECT_EQ(loadSharedStats(), stats);

    // A folder that cannot be written (root ignores modes, so replace the
    // file's place by a folder instead).
    QFile::remove(environment.folder() + "/sharedStats");
    QDir().mkpath(environment.folder() + "/sharedStats/blocked");
    EXPECT_FALSE(saveSharedStats(stats));
    EXPECT_FALSE(loadSharedStats());
}

TEST(SharedStatsStore, NoGroupMeansNothingIsWrittenOrRead)
{
    StoreEnvironment environment("");
    EXPECT_FALSE(saveSharedStats(fullSnapshot()));
    EXPECT_FALSE(requestWidgetReload());
    EXPECT_FALSE(loadSharedStats());
    EXPECT_TRUE(QDir(environment.runtime.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(SharedStatsStore, TruncatedFileFromACrashedWriterReadsAsNothing)
{
    StoreEnvironment environment;
    ASSERT_TRUE(saveSharedStats(fullSnapshot()));
    QFile file(environment.folder() + "/sharedStats");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 7);
    file.close();
    EXPECT_FALSE(loadSharedStats());
}
