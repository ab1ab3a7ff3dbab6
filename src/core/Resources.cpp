#include "core/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kr31 {

namespace {
QString &overriddenFolder()
{
    static QString folder;
    return folder;
}
} // namespace

void setResourceFolder(const QString &folder)
{
    overriddenFolder() = folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

QString resourceFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    static const QString folder = [] {
        // Asked before the application object exists too (the start reads
        // its first pictures meanwhile): the program's folder as the
        // system tells it.
        const QString exeDir = QCoreApplication::instance()
                                   ? QCoreApplication::applicationDirPath()
                                   : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/kr31"));
        if (!QFileInfo::exists(exeDir + QStringLiteral("/Img")) && QFileInfo::exists(installed))
            return installed + u'/';
        return exeDir + u'/';
    }();
    return folder;
}

QString resourcePath(const QString &relative)
{
    return resourceFolder() + relative;
}

} // namespace kr31
