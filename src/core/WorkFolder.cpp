#include "core/WorkFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace kr31::workfolder {

QString personalFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents;
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
    const QString result = pathIn(personalFolder());
    QDir().mkpath(result);
    return result;
}

QString file(const QString &name)
{
    return path() + name;
}

} // namespace kr31::workfolder
