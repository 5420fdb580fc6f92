#include "shared/drawing/AppFonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <mutex>

namespace orbistat {

namespace {
bool loadAll()
{
    bool ok = true;
    for (const char* file : {":/fonts/NotoSans-Regular.ttf", ":/fonts/NotoSans-Bold.ttf", ":/fonts/NotoSansSymbols-Regular.ttf",
                             ":/fonts/MaterialIcons-Regular.ttf"}) {
        if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0)
            ok = false;
    }
    return ok;
}
} // namespace

bool registerAppFonts()
{
    static std::once_flag once;
    static bool loaded = false;
    std::call_once(once, [] { loaded = loadAll(); });
    return loaded;
}

QString textFontFamily() { return QStringLiteral("Noto Sans"); }
QString symbolFontFamily() { return QStringLiteral("Material Icons"); }

QFont textFont(double pointSize, QFont::Weight weight)
{
    registerAppFonts();
    QFont font(textFontFamily());
    // Noto Sans has no arrows (the network rates' ↓ and ↑): those glyphs
    // come from the embedded Noto Sans Symbols, so they are the same on every
    // desktop. Only glyphs missing from both fall back to the desktop's
    // fonts, which beats drawing a box for a device name in another script.
    font.setFamilies({textFontFamily(), QStringLiteral("Noto Sans Symbols")});
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont symbolFont(double pointSize)
{
    registerAppFonts();
    QFont font(symbolFontFamily());
    font.setPointSizeF(pointSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace orbistat
