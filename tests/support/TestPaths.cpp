#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace kr31::test {

namespace {

QString fromEnvironment(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString testDataDir()
{
    // The source folder is not known to a binary run by hand: set KR31_TEST_DATA
    // then (ctest does), or run it from a folder holding "data".
    return fromEnvironment("KR31_TEST_DATA", QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("data")));
}

QString testData(const QString &relative)
{
    return testDataDir() + QLatin1Char('/') + relative;
}

QString binDir()
{
    return fromEnvironment("KR31_BIN_DIR",
                           QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bin")));
}

bool linkResourcesExcept(const QString &folder, const QStringList &missing)
{
    const QDir bin(binDir());
    for (const QString &top : {QStringLiteral("Img"), QStringLiteral("HTML"), QStringLiteral("Navi")}) {
        QDirIterator it(bin.filePath(top), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString relative = bin.relativeFilePath(source);
            if (missing.contains(relative))
                continue;
            const QString target = QDir(folder).filePath(relative);
            if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::link(source, target))
                return false;
        }
    }
    return true;
}

} // namespace kr31::test
