#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kr31::test {

// Points HOME (and so the documents, work and state folders) at a fresh
// temporary folder for the life of the object, so that no test touches the real one.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    QString home() const { return m_dir.path(); }
    // The work folder, ending with '/' (created).
    QString workFolder() const;
    // Writes raw bytes to a file in the work folder.
    void writeWorkFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readWorkFile(const QString &name) const;
    // The same for a file in the recovery copies' folder.
    void writeRecoveryFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readRecoveryFile(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldConfig;
    QByteArray m_oldState;
};

} // namespace kr31::test
