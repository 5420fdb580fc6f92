// The program's item in the desktop's tray, as the application shell needs
// it: show an image (the wide picture of values, at several scales), a tool
// tip, and a small menu, and report clicks and menu choices. The pixels are
// handed over as the tray protocols carry them (ARGB32, big-endian), so a
// tray adapter needs no drawing library and a test can compare bytes.
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace orbistat {

// One size of the image: width × height pixels, four bytes per pixel in the
// order A, R, G, B, rows top to bottom.
struct StatusPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;

    friend bool operator==(const StatusPixmap&, const StatusPixmap&) = default;
};

// An entry of the item's menu; a separator has no label.
struct StatusMenuEntry {
    enum class Kind { action, separator };

    int id = 0;  // reported back when chosen; unique, never 0 (the menu's root)
    Kind kind = Kind::action;
    QString label;
    QString shortcutKey;  // with the Control key, for example "q"; empty: none

    friend bool operator==(const StatusMenuEntry&, const StatusMenuEntry&) = default;
};

class StatusItem {
public:
    // The primary click (left button), the secondary one (middle button)
    // and the request for the menu (right button). The position is where
    // the host says the click happened, in screen coordinates, absent when
    // the host does not know.
    enum class Click { primary, secondary, context };

    virtual ~StatusItem() = default;

    // The sizes of one image, smallest first. Hosts pick the size that fits
    // their slot; an unchanged image is not sent again.
    virtual void setImage(const std::vector<StatusPixmap>& sizes) = 0;
    virtual void setToolTip(const QString& text) = 0;
    virtual void setMenu(const std::vector<StatusMenuEntry>& entries) = 0;

    // True while a tray shows the item.
    virtual bool isShown() const = 0;

    std::function<void(Click, std::optional<QPoint>)> onClick;
    std::function<void(int entryId)> onMenuEntry;
    // A tray appeared or went away (a panel restart, a tray enabled later).
    std::function<void(bool shown)> onShownChanged;
};

} // namespace orbistat
