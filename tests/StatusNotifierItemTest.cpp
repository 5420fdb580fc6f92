// The tray item as a panel sees it: over a private bus, through the
// StatusNotifierItem and dbusmenu protocols.
#include "WaitUntil.h"
#include "app/TrayImage.h"
#include "doubles/FakeStatusNotifierWatcher.h"
#include "doubles/PrivateBus.h"
#include "menubar/MenuBarRenderer.h"
#include "platform/linux/DBusMenuTypes.h"
#include "platform/linux/LinuxStatusNotifierItem.h"
#include "platform/linux/StatusNotifierTypes.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <gtest/gtest.h>

using namespace orbistat;
using orbistat::test::FakeStatusNotifierWatcher;
using orbistat::test::PrivateBus;
using orbistat::test::waitUntil;

namespace {

const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");

std::vector<MenuBarItem> sampleItems()
{
    return {
        {QStringLiteral("CPU"), {QStringLiteral("34%")}, MenuBarSeverity::normal, {}, 0.34, QStringLiteral("100%")},
        {QStringLiteral("RAM"), {QStringLiteral("59%")}, MenuBarSeverity::critical, {}, 0.59, QStringLiteral("100%")},
    };
}

struct StatusNotifierItemTest : ::testing::Test {
    PrivateBus bus;
    QDBusConnection host = bus.connect(QStringLiteral("panel"));
    std::optional<FakeStatusNotifierWatcher> watcher{std::in_place, host};
    QDBusConnection app = bus.connect(QStringLiteral("app"));
    LinuxStatusNotifierItem item{app, QStringLiteral("orbistat"), QStringLiteral("Orbistat")};

    QDBusMessage call(const QString& path, const QString& interface, const QString& member, const QVariantList& arguments)
    {
        auto message = QDBusMessage::createMethodCall(item.serviceName(), path, interface, member);
        message.setArguments(arguments);
        return host.call(message, QDBus::BlockWithGui, 5000);
    }
    QVariant property(const QString& name)
    {
        const auto reply = call(QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.freedesktop.DBus.Properties"),
                                QStringLiteral("Get"), {itemInterface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().at(0).value<QDBusVariant>().variant();
    }
    SniImageList iconPixmap()
    {
        SniImageList images;
        property(QStringLiteral("IconPixmap")).value<QDBusArgument>() >> images;
        return images;
    }
};

// The received bytes read back as pixels: A, R, G, B, rows top to bottom.
QColor receivedPixel(const SniImage& image, int x, int y)
{
    const auto* p = reinterpret_cast<const unsigned char*>(image.argb.constData()) + (qsizetype(y) * image.width + x) * 4;
    return QColor(p[1], p[2], p[3], p[0]);
}

} // namespace

TEST_F(StatusNotifierItemTest, RegistersWithTheWatcherAndServesTheWideImageAtBothScales)
{
    ASSERT_TRUE(bus.isRunning());
    ASSERT_TRUE(watcher->isRunning());
    ASSERT_TRUE(item.isExported());
    ASSERT_TRUE(waitUntil([&] { return item.isShown(); }));
    EXPECT_EQ(watcher->registrations(), QStringList{item.serviceName()});
    EXPECT_TRUE(item.serviceName().startsWith(QStringLiteral("org.kde.StatusNotifierItem-")));

    const auto items = sampleItems();
    std::vector<QImage> rendered;
    std::vector<StatusPixmap> sizes;
    for (double ratio : {1.0, 2.0}) {
        rendered.push_back(MenuBarRenderer::render(items, MenuBarStyle::inline_, true, Appearance::dark, ratio));
        sizes.push_back(toStatusPixmap(rendered.back()));
    }
    item.setImage(sizes);
    item.setToolTip(MenuBarRenderer::accessibilityText(items));

    const auto images = iconPixmap();
    ASSERT_EQ(images.size(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QImage expected = rendered[size_t(i)].convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(images[i].width, expected.width());
        ASSERT_EQ(images[i].height, expected.height());
        EXPECT_GT(images[i].width, 2 * images[i].height) << "the wide picture, not a square";
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                differing += receivedPixel(images[i], x, y) != expected.pixelColor(x, y);
        }
        EXPECT_EQ(differing, 0);
    }
    EXPECT_EQ(images[1].width, 2 * images[0].width);

    SniToolTip toolTip;
    property(QStringLiteral("ToolTip")).value<QDBusArgument>() >> toolTip;
    EXPECT_EQ(toolTip.iconName, QString());
    EXPECT_TRUE(toolTip.images.isEmpty());
    EXPECT_EQ(toolTip.title, QStringLiteral("Orbistat"));
    EXPECT_EQ(toolTip.text, QStringLiteral("CPU 34%, RAM 59%"));

    EXPECT_EQ(property(QStringLiteral("Id")).toString(), QStringLiteral("orbistat"));
    EXPECT_EQ(property(QStringLiteral("Title")).toString(), QStringLiteral("Orbistat"));
    EXPECT_EQ(property(QStringLiteral("Category")).toString(), QStringLiteral("SystemServices"));
    EXPECT_EQ(property(QStringLiteral("Status")).toString(), QStringLiteral("Active"));
    EXPECT_EQ(property(QStringLiteral("ItemIsMenu")).toBool(), false);
    EXPECT_EQ(property(QStringLiteral("IconName")).toString(), QString()) << "a name would win over the pixmap";
    EXPECT_EQ(property(QStringLiteral("IconThemePath")).toString(), QString());
    EXPECT_EQ(property(QStringLiteral("Menu")).value<QDBusObjectPath>().path(), QStringLiteral("/MenuBar"));
}

TEST_F(StatusNotifierItemTest, IntrospectionListsEveryPropertyWithItsType)
{
    const auto reply = call(QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.freedesktop.DBus.Introspectable"),
                            QStringLiteral("Introspect"), {});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    const QString xml = reply.arguments().at(0).toString();
    const std::pair<const char*, const char*> expected[] = {
        {"IconPixmap", "a(iiay)"}, {"ToolTip", "(sa(iiay)ss)"}, {"Menu", "o"}, {"ItemIsMenu", "b"},
        {"AttentionIconPixmap", "a(iiay)"}, {"OverlayIconPixmap", "a(iiay)"}, {"IconThemePath", "s"}, {"WindowId", "i"},
    };
    for (const auto& [name, type] : expected) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(xml.contains(QStringLiteral("<property name=\"%1\" type=\"%2\" access=\"read\"").arg(name, type)));
    }
    for (const char* method : {"Activate", "SecondaryActivate", "ContextMenu", "Scroll"})
        EXPECT_TRUE(xml.contains(QStringLiteral("<method name=\"%1\"").arg(method))) << method;
    for (const char* signal : {"NewIcon", "NewToolTip", "NewTitle", "NewStatus"})
        EXPECT_TRUE(xml.contains(QStringLiteral("<signal name=\"%1\"").arg(signal))) << signal;
}

TEST_F(StatusNotifierItemTest, NewIconAndNewToolTipOnlyWhenSomethingChanged)
{
    ASSERT_TRUE(waitUntil([&] { return item.isShown(); }));
    int newIcon = 0;
    int newToolTip = 0;
    QObject::connect(&item, &LinuxStatusNotifierItem::newIcon, [&] { ++newIcon; });
    QObject::connect(&item, &LinuxStatusNotifierItem::newToolTip, [&] { ++newToolTip; });

    const auto image = toStatusPixmap(MenuBarRenderer::render(sampleItems(), MenuBarStyle::inline_, true, Appearance::dark, 1.0));
    item.setImage({image});
    item.setImage({image});
    EXPECT_EQ(newIcon, 1);
    auto changed = image;
    changed.argb[0] = char(changed.argb[0] ^ 0x7f);
    item.setImage({changed});
    EXPECT_EQ(newIcon, 2);
    // A size whose bytes do not match its dimensions never reaches the panel.
    item.setImage({changed, StatusPixmap{4, 4, QByteArray(7, '\0')}});
    EXPECT_EQ(newIcon, 2);
    EXPECT_EQ(iconPixmap().size(), 1);

    item.setToolTip(QStringLiteral("CPU 34%"));
    item.setToolTip(QStringLiteral("CPU 34%"));
    item.setToolTip(QStringLiteral("CPU 35%"));
    EXPECT_EQ(newToolTip, 2);
}

TEST_F(StatusNotifierItemTest, MenuLayoutHasTheFourEntriesAndClicksReachTheProgram)
{
    using Kind = StatusMenuEntry::Kind;
    item.setMenu({{1, Kind::action, QStringLiteral("Open Orbistat"), {}},
                  {2, Kind::action, QStringLiteral("Settings\u2026"), QStringLiteral(",")},
                  {3, Kind::separator, {}, {}},
                  {4, Kind::action, QStringLiteral("Quit Orbistat"), QStringLiteral("q")}});
    std::vector<int> chosen;
    item.onMenuEntry = [&](int id) { chosen.push_back(id); };

    registerDBusMenuTypes();
    const auto reply = call(QStringLiteral("/MenuBar"), menuInterface, QStringLiteral("GetLayout"), {0, -1, QStringList()});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_EQ(reply.arguments().size(), 2);
    DBusMenuLayoutItem root;
    reply.arguments().at(1).value<QDBusArgument>() >> root;
    EXPECT_EQ(root.id, 0);
    EXPECT_EQ(root.properties.value(QStringLiteral("children-display")).toString(), QStringLiteral("submenu"));
    ASSERT_EQ(root.children.size(), 4);
    const QStringList labels{QStringLiteral("Open Orbistat"), QStringLiteral("Settings\u2026"), QString(), QStringLiteral("Quit Orbistat")};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(root.children[i].id, i + 1);
        EXPECT_EQ(root.children[i].properties.value(QStringLiteral("label")).toString(), labels[i]);
        EXPECT_EQ(root.children[i].properties.value(QStringLiteral("type")).toString(), i == 2 ? QStringLiteral("separator") : QString());
    }

    for (int id = 1; id <= 4; ++id) {
        const auto event = call(QStringLiteral("/MenuBar"), menuInterface, QStringLiteral("Event"),
                                {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u});
        EXPECT_EQ(event.type(), QDBusMessage::ReplyMessage) << id;
    }
    // Hovering is no choice; an id the menu does not have is an error.
    call(QStringLiteral("/MenuBar"), menuInterface, QStringLiteral("Event"),
         {1, QStringLiteral("hovered"), QVariant::fromValue(QDBusVariant(QString())), 0u});
    const auto unknown = call(QStringLiteral("/MenuBar"), menuInterface, QStringLiteral("Event"),
                              {99, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u});
    EXPECT_EQ(unknown.type(), QDBusMessage::ErrorMessage);
    ASSERT_TRUE(waitUntil([&] { return chosen.size() >= 3; }));
    orbistat::test::settle(100);
    EXPECT_EQ(chosen, (std::vector<int>{1, 2, 4})) << "the separator does nothing";

    // A layout request for one entry, and one for an id that is not there.
    const auto one = call(QStringLiteral("/MenuBar"), menuInterface, QStringLiteral("GetLayout"),
                          {4, 0, QStringList{QStringLiteral("label")}});
    ASSERT_EQ(one.type(), QDBusMessage::ReplyMessage);
    DBusMenuLayoutItem quit;
    one.arguments().at(1).value<QDBusArgument>() >> quit;
    EXPECT_EQ(quit.properties.value(QStringLiteral("label")).toString(), QStringLiteral("Quit Orbistat"));
    EXPECT_EQ(call(QStringLiteral("/MenuBar"), menuInterface, QStringLiteral("GetLayout"), {42, -1, QStringList()}).type(),
              QDBusMessage::ErrorMessage);
}

TEST_F(StatusNotifierItemTest, ClicksArriveWithTheirPositionOrNoneAtTheOrigin)
{
    std::vector<std::pair<StatusItem::Click, std::optional<QPoint>>> clicks;
    item.onClick = [&](StatusItem::Click click, std::optional<QPoint> at) { clicks.emplace_back(click, at); };
    const QString path = QStringLiteral("/StatusNotifierItem");
    call(path, itemInterface, QStringLiteral("Activate"), {1200, 14});
    call(path, itemInterface, QStringLiteral("ContextMenu"), {1210, 16});
    call(path, itemInterface, QStringLiteral("SecondaryActivate"), {0, 0});
    ASSERT_TRUE(waitUntil([&] { return clicks.size() == 3; }));
    EXPECT_EQ(clicks[0].first, StatusItem::Click::primary);
    EXPECT_EQ(clicks[0].second, QPoint(1200, 14));
    EXPECT_EQ(clicks[1].first, StatusItem::Click::context);
    EXPECT_EQ(clicks[1].second, QPoint(1210, 16));
    EXPECT_EQ(clicks[2].first, StatusItem::Click::secondary);
    EXPECT_EQ(clicks[2].second, std::nullopt);
}

TEST_F(StatusNotifierItemTest, RegistersAgainOnceWhenThePanelRestarts)
{
    ASSERT_TRUE(waitUntil([&] { return item.isShown(); }));
    std::vector<bool> shownChanges;
    item.onShownChanged = [&](bool shown) { shownChanges.push_back(shown); };

    watcher.reset();
    ASSERT_TRUE(waitUntil([&] { return !item.isShown(); }));
    watcher.emplace(host);
    ASSERT_TRUE(watcher->isRunning());
    ASSERT_TRUE(waitUntil([&] { return item.isShown(); }));
    orbistat::test::settle(200);
    EXPECT_EQ(watcher->registrations(), QStringList{item.serviceName()}) << "one registration with the new watcher";
    EXPECT_EQ(item.registrations(), 2);
    EXPECT_EQ(shownChanges, (std::vector<bool>{false, true}));
}

TEST(StatusNotifierItemWithoutWatcher, WaitsOnTheBusAndRegistersWhenATrayAppears)
{
    PrivateBus bus;
    auto app = bus.connect(QStringLiteral("app"));
    LinuxStatusNotifierItem item(app, QStringLiteral("orbistat"), QStringLiteral("Orbistat"));
    EXPECT_TRUE(item.isExported());
    EXPECT_FALSE(item.hasWatcher());
    orbistat::test::settle(100);
    EXPECT_FALSE(item.isShown());

    auto host = bus.connect(QStringLiteral("panel"));
    FakeStatusNotifierWatcher watcher(host);
    ASSERT_TRUE(waitUntil([&] { return item.isShown(); }));
    EXPECT_TRUE(item.hasWatcher());
    EXPECT_EQ(watcher.registrations().size(), 1);
}

TEST(StatusNotifierItemWithoutBus, IsNeitherExportedNorShown)
{
    LinuxStatusNotifierItem item(QDBusConnection(QStringLiteral("orbistat-no-such-bus")), QStringLiteral("orbistat"),
                                 QStringLiteral("Orbistat"));
    EXPECT_FALSE(item.isExported());
    EXPECT_FALSE(item.isShown());
    item.setImage({StatusPixmap{1, 1, QByteArray(4, '\xff')}});
    item.setToolTip(QStringLiteral("CPU 1%"));
}
