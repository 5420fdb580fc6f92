#include "shared/RuntimeDirectory.h"

#include <QFile>
#include <QtGlobal>
#include <sys/stat.h>
#include <unistd.h>

namespace orbistat {

namespace {

QtMessageHandler previousHandler = nullptr;

void withoutRuntimeWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

QString ownRuntimeDirectory(const QString& runRoot, unsigned uid)
{
    const QString folder = runRoot + QLatin1Char('/') + QString::number(uid);
    struct stat status{};
    if (::lstat(QFile::encodeName(folder).constData(), &status) != 0)
        return {};
    if (!S_ISDIR(status.st_mode) || status.st_uid != uid || (status.st_mode & 0777) != 0700)
        return {};
    return folder;
}

void settleRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString folder = ownRuntimeDirectory(QStringLiteral("/run/user"), ::getuid());
    if (!folder.isEmpty()) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
        return;
    }
    previousHandler = qInstallMessageHandler(withoutRuntimeWarning);
}

} // namespace orbistat
