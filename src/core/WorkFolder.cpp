#include "core/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace kr31::workfolder {

QString personalFolder()
{
    // QStandardPaths reads the user's folder settings file at every call,
    // which would be most of the cost of reading a setting at every byte of
    // a transfer.
    static QMutex mutex;
    static QByteArray knownHome;
    static QByteArray knownConfig;
    static QString known;
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    QMutexLocker lock(&mutex);
    if (known.isEmpty() || home != knownHome || config != knownConfig) {
        known = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (known.isEmpty())
            known = QDir::homePath();
        knownHome = home;
        knownConfig = config;
    }
    return known;
}

QString pathIn(const QString &personal)
{
    QString result = personal;
    if (!result.endsWith(u'/'))
        result += u'/';
    return result + QStringLiteral("KR-31Temp/");
}

QString path()
{
    const QString result = location();
    QDir().mkpath(result);
    return result;
}

QString location()
{
    return pathIn(personalFolder());
}

QString file(const QString &name)
{
    return path() + name;
}

namespace {
// A folder (not a link to one) of this user's into which no one else may
// write; `strict`: that no one else may enter, made so where it is not.
bool isOwnFolder(const QString &folder, bool strict)
{
    struct stat info;
    const QByteArray name = QFile::encodeName(folder);
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    if ((info.st_mode & (strict ? 077 : 022)) == 0)
        return true;
    return strict && ::chmod(name.constData(), 0700) == 0;
}
} // namespace

QString runtimeLocation()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isOwnFolder(runtime, false))
        return QDir::cleanPath(runtime) + u'/';
    const QString own = QDir::tempPath() + QStringLiteral("/kr31-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (isOwnFolder(own, true))
        return own + u'/';
    return stateLocation();
}

QString stateLocation()
{
    QString folder = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(folder))
        folder = QDir::homePath() + QStringLiteral("/.local/state");
    return folder + QStringLiteral("/kr31/");
}

} // namespace kr31::workfolder
