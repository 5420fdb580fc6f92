// Launch at login through the desktop's autostart folder (XDG autostart):
// the program starts at login while CONFIG/autostart/orbistat.desktop exists
// and does not say Hidden=true. Enabling writes that entry with the absolute
// path of the running program; disabling removes it.
//
// Nothing is written through a symbolic link: an autostart folder or an entry
// that is a link is left alone (the entry can still be removed, which
// unlinks the link and leaves its target untouched). Reading never blocks:
// an entry that is not a regular file (a FIFO, a folder) counts as absent.
#pragma once

#include "platform/LoginItem.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace orbistat {

class LinuxAutostartEntry final : public LoginItem {
public:
    // `configHome` is the folder that holds "autostart" ($XDG_CONFIG_HOME);
    // `executable` the absolute path the entry starts.
    LinuxAutostartEntry(QString configHome, QString executable);

    // $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; the
    // given program, else the running program's own path.
    static LinuxAutostartEntry forThisProgram(const QString& executable = {});

    bool isEnabled() const override;
    void enable() override;
    void disable() override;

    QString entryPath() const;
    // The entry's text, or absent when the path cannot be written into an
    // Exec line (a control character in it).
    static std::optional<QByteArray> entryText(const QString& executable);
    // True when the text's [Desktop Entry] group says Hidden=true.
    static bool isHidden(const QByteArray& text);

private:
    bool writeEntry() const;

    QString configHome_;
    QString executable_;
};

} // namespace orbistat
