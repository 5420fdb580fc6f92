#include "shared/drawing/AppFonts.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QResource>
#include <QStringList>
#include <mutex>

namespace orbistat {

namespace {
// The font bytes as the program holds them. The resources are stored
// uncompressed, so the font database and FreeType read them where they lie
// in the program's read-only data: only the pages of the glyphs actually
// drawn are ever loaded, and nothing is copied to the heap (a copy of the
// four fonts would be 1.6 MB of memory held for the program's life).
QByteArray fontBytes(const char* path)
{
    const QResource resource(QString::fromLatin1(path));
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), resource.size());
    return resource.uncompressedData();
}

bool loadAll()
{
    bool ok = true;
    for (const char* path : {":/fonts/NotoSans-Regular.ttf", ":/fonts/NotoSans-Bold.ttf", ":/fonts/NotoSansSymbols-Regular.ttf",
                             ":/fonts/MaterialIcons-Regular.ttf"}) {
        const QByteArray bytes = fontBytes(path);
        if (bytes.isEmpty() || QFontDatabase::addApplicationFontFromData(bytes) < 0)
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
