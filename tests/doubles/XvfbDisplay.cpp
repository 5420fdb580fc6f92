#include "doubles/XvfbDisplay.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace orbistat::test {

namespace {

// -noreset: by default the server resets when its last client leaves, and
// a program that connects during that reset is refused; the readiness probe
// below is such a last client.
const QStringList serverOptions{QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x800x24"),
                                QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")};

// A window can go away between listing and asking about it; Xlib's
// default handler would end the test process for that.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

XvfbDisplay::XvfbDisplay()
{
    const QString list = qEnvironmentVariable("ORBISTAT_TEST_DISPLAYS");
    if (!list.isEmpty()) {
        for (const auto& number : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString name = QLatin1Char(':') + number.trimmed();
            if (start(QStringList{name} + serverOptions, false, name))
                return;
        }
        return;
    }
    start(QStringList{QStringLiteral("-displayfd"), QStringLiteral("1")} + serverOptions, true, {});
}

XvfbDisplay::~XvfbDisplay()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(3000))
            server_.kill();
        server_.waitForFinished(3000);
    }
}

bool XvfbDisplay::start(const QStringList& arguments, bool readNumber, const QString& fixedName)
{
    server_.setProgram(QStringLiteral("Xvfb"));
    // The server ends with the test process, even when that one crashes
    // and never reaches the destructor.
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    server_.setArguments(arguments);
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start();
    if (!server_.waitForStarted(5000))
        return false;
    QString name = fixedName;
    QElapsedTimer timer;
    timer.start();
    if (readNumber) {
        while (!server_.canReadLine() && timer.elapsed() < 10000 && server_.state() == QProcess::Running)
            server_.waitForReadyRead(100);
        const QString number = QString::fromUtf8(server_.readLine()).trimmed();
        if (number.isEmpty())
            return false;
        name = QLatin1Char(':') + number;
    }
    // Ready once a client can connect (a taken number makes Xvfb exit).
    while (timer.elapsed() < 10000 && server_.state() == QProcess::Running) {
        if (Display* display = XOpenDisplay(name.toLatin1().constData())) {
            XCloseDisplay(display);
            name_ = name;
            return true;
        }
        server_.waitForFinished(100);
    }
    if (server_.state() == QProcess::Running) {
        server_.kill();
        server_.waitForFinished(3000);
    }
    return false;
}

std::vector<XvfbDisplay::Window> XvfbDisplay::topLevelWindows() const
{
    std::vector<Window> windows;
    Display* display = XOpenDisplay(name_.toLatin1().constData());
    if (!display)
        return windows;
    const auto previousHandler = XSetErrorHandler(ignoreErrors);
    ::Window root = DefaultRootWindow(display);
    ::Window rootReturn = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (!XGetWindowAttributes(display, children[i], &attributes))
                continue;
            Window window;
            window.id = children[i];
            window.viewable = attributes.map_state == IsViewable;
            int x = 0;
            int y = 0;
            ::Window child = 0;
            if (!XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child))
                continue;
            window.geometry = QRect(x, y, attributes.width, attributes.height);
            XTextProperty text{};
            if (XGetWMName(display, children[i], &text) && text.value) {
                window.title = QString::fromUtf8(reinterpret_cast<const char*>(text.value), int(text.nitems));
                XFree(text.value);
            }
            windows.push_back(window);
        }
        if (children)
            XFree(children);
    }
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    XCloseDisplay(display);
    return windows;
}

bool XvfbDisplay::requestClose(unsigned long window) const
{
    Display* display = XOpenDisplay(name_.toLatin1().constData());
    if (!display)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, window, False, NoEventMask, &event) != 0;
    XFlush(display);
    XCloseDisplay(display);
    return sent;
}

} // namespace orbistat::test
