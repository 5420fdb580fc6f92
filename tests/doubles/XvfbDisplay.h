// A private X server (Xvfb) for one test, so that the tray program runs on
// a real X11 display: windows are mapped, placed and can be inspected.
// The display number is the first free one Xvfb finds (-displayfd), or the
// first that starts from the list in ORBISTAT_TEST_DISPLAYS (for example
// "75,76"), for machines where display numbers are shared out.
#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <vector>

namespace orbistat::test {

class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool isRunning() const { return !name_.isEmpty(); }
    // ":N", for DISPLAY.
    QString name() const { return name_; }

    // The top-level windows of the display as the X server sees them.
    struct Window {
        unsigned long id = 0;
        QString title;
        QRect geometry;     // in root coordinates
        bool viewable = false;
    };
    std::vector<Window> topLevelWindows() const;
    // Asks a window to close, as a window manager's close button does
    // (WM_DELETE_WINDOW).
    bool requestClose(unsigned long window) const;

private:
    bool start(const QStringList& arguments, bool readNumber, const QString& fixedName);

    QProcess server_;
    QString name_;
};

} // namespace orbistat::test
