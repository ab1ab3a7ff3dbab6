#include "core/WorkFolder.h"

#include <QDir>
#include <QMutex>
#include <QStandardPaths>

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

QString stateLocation()
{
    QString folder = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(folder))
        folder = QDir::homePath() + QStringLiteral("/.local/state");
    return folder + QStringLiteral("/kr31/");
}

} // namespace kr31::workfolder
