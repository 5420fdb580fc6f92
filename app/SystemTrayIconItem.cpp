#include "app/SystemTrayIconItem.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace orbistat {

namespace {

QImage toImage(const StatusPixmap& pixmap)
{
    QImage image(pixmap.width, pixmap.height, QImage::Format_ARGB32);
    const auto* in = reinterpret_cast<const unsigned char*>(pixmap.argb.constData());
    for (int y = 0; y < pixmap.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pixmap.width; ++x, in += 4)
            row[x] = qRgba(in[1], in[2], in[3], in[0]);
    }
    return image;
}

} // namespace

SystemTrayIconItem::SystemTrayIconItem(QObject* parent)
    : QObject(parent)
{
    connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (!onClick)
            return;
        // XEmbed tells no position: the pointer is on the icon.
        const QPoint where = QCursor::pos();
        switch (reason) {
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::DoubleClick:
            onClick(Click::primary, where);
            break;
        case QSystemTrayIcon::MiddleClick:
            onClick(Click::secondary, where);
            break;
        case QSystemTrayIcon::Context:
            onClick(Click::context, where);
            break;
        case QSystemTrayIcon::Unknown:
            break;
        }
    });
}

bool SystemTrayIconItem::isTrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIconItem::setImage(const std::vector<StatusPixmap>& sizes)
{
    QIcon icon;
    for (const auto& pixmap : sizes) {
        if (pixmap.width > 0 && pixmap.height > 0 && pixmap.argb.size() == qsizetype(pixmap.width) * pixmap.height * 4)
            icon.addPixmap(QPixmap::fromImage(toImage(pixmap)));
    }
    icon_.setIcon(icon);
}

void SystemTrayIconItem::setToolTip(const QString& text)
{
    icon_.setToolTip(text);
}

bool SystemTrayIconItem::isShown() const
{
    return icon_.isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIconItem::setVisible(bool visible)
{
    icon_.setVisible(visible);
}

} // namespace orbistat
