#include "ui/settings/SettingsWindowController.h"

#include "core/SettingsStore.h"
#include "ui/Theme.h"
#include "ui/settings/SettingsView.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace orbistat::ui {

SettingsWindowController::SettingsWindowController(SettingsServices services, QObject* parent)
    : QObject(parent)
    , services_(services)
{
}

SettingsWindowController::~SettingsWindowController() = default;

void SettingsWindowController::show(SystemMonitor& monitor, SettingsTab tab)
{
    services_.settings.setValue(SettingsKey::settingsTab, rawValue(tab));
    if (!window_)
        createWindow(monitor);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void SettingsWindowController::createWindow(SystemMonitor& monitor)
{
    window_ = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                                     | Qt::CustomizeWindowHint);
    window_->setWindowTitle(tr("Orbistat Settings"));
    window_->setObjectName(QStringLiteral("OrbistatSettings"));
    // The program lives in the tray: closing this window must not end it.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    applyAppearance(*window_, systemAppearance());

    view_ = new SettingsView(monitor, services_, window_.get());
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    window_->setFixedSize(SettingsView::size);

    // Ctrl+W, and whatever else the desktop calls "close" (Ctrl+F4 on some).
    auto closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
    if (!closeKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
        closeKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_W));
    auto* close = new QShortcut(window_.get());
    close->setKeys(closeKeys);
    connect(close, &QShortcut::activated, window_.get(), &QWidget::close);
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), window_.get());
    connect(previous, &QShortcut::activated, this, [this] { switchTab(-1); });
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), window_.get());
    connect(next, &QShortcut::activated, this, [this] { switchTab(+1); });
    window_->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window_->move(available.center() - QPoint(SettingsView::size.width() / 2, SettingsView::size.height() / 2));
    }
}

void SettingsWindowController::switchTab(int step)
{
    const int count = static_cast<int>(settingsTabTable.size());
    const int index = (static_cast<int>(view_->shownTab()) + step + count) % count;
    view_->setTab(settingsTabTable[static_cast<size_t>(index)].tab);
}

bool SettingsWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_.get()) {
        if (event->type() == QEvent::Close)
            emit closed();
        else if (event->type() == QEvent::ApplicationPaletteChange)
            applyAppearance(*window_, systemAppearance());  // the desktop switched between light and dark
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orbistat::ui
