// The progress log of the screenshot export: every message goes to standard
// error as "   [export] " + message and into FOLDER/export.log, one line
// each. The first message of a run starts the file afresh. Failures to
// write are ignored (the log must never stop the export), and the file is
// never written through a symbolic link.
#pragma once

#include <QString>
#include <cstdio>

namespace orbistat {

class ExportLog {
public:
    explicit ExportLog(QString folder, std::FILE* errors = stderr);

    void log(const QString& message, bool restart = false) const;

    QString folder() const { return folder_; }
    static QString fileName() { return QStringLiteral("export.log"); }

private:
    QString folder_;
    std::FILE* errors_;
};

} // namespace orbistat
