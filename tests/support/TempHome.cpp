#include "support/TempHome.h"

#include "core/Recovery.h"
#include "core/WorkFolder.h"

#include <QFile>

namespace kr31::test {

TempHome::TempHome()
    : m_oldHome(qgetenv("HOME"))
    , m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    , m_oldState(qgetenv("XDG_STATE_HOME"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_STATE_HOME");
}

TempHome::~TempHome()
{
    recovery::letGo(); // before the folder with the lock goes
    qputenv("HOME", m_oldHome);
    if (!m_oldConfig.isEmpty())
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    if (!m_oldState.isEmpty())
        qputenv("XDG_STATE_HOME", m_oldState);
}

QString TempHome::workFolder() const
{
    return workfolder::path();
}

void TempHome::writeWorkFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(workFolder() + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TempHome::readWorkFile(const QString &name) const
{
    QFile file(workFolder() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempHome::writeRecoveryFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(recovery::folder() + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TempHome::readRecoveryFile(const QString &name) const
{
    QFile file(recovery::folder() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace kr31::test
