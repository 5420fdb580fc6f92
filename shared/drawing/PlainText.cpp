#include "shared/drawing/PlainText.h"

namespace orbistat {

QString singleLine(const QString& text)
{
    QString line = text;
    for (QChar& c : line) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return line;
}

} // namespace orbistat
