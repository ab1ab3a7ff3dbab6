#include "ui/Modules.h"

#include "core/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QStringList>

#include <dlfcn.h>

namespace kr31 {

void *moduleFunction(const char *module, const char *symbol, QString *error)
{
    // Already in the program (a test that links the module).
    if (void *found = dlsym(RTLD_DEFAULT, symbol))
        return found;

    static QMutex mutex;
    static QHash<QByteArray, void *> loaded;
    QMutexLocker lock(&mutex);
    void *handle = loaded.value(QByteArray(module));
    QStringList tried;
    if (!handle) {
        const QString name = QString::fromUtf8(module);
        // Beside the program's pictures (the build folder, or where a test
        // points them), beside the program, then where they are installed.
        const QString programFolder = QCoreApplication::applicationDirPath();
        QStringList folders{resourceFolder(), programFolder,
                            programFolder + QStringLiteral("/" KR31_MODULES_FROM_BIN)};
        for (QString &folder : folders)
            folder = QDir::cleanPath(folder); // "bin/" and "bin" are tried once
        folders.removeDuplicates();
        for (const QString &folder : folders) {
            const QString path = folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
            handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
            if (handle)
                break;
            tried.append(QString::fromLocal8Bit(dlerror()));
        }
        if (!handle) {
            if (error)
                *error = tried.join(u'\n');
            return nullptr;
        }
        loaded.insert(QByteArray(module), handle);
    }
    void *found = dlsym(handle, symbol);
    if (!found && error)
        *error = QString::fromLocal8Bit(dlerror());
    return found;
}

} // namespace kr31
