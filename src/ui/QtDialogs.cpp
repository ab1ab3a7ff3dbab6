#include "ui/QtDialogs.h"

#include "core/WorkFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace kr31 {

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{
}

void QtDialogs::warning(const QString &text)
{
    QMessageBox::warning(m_parent ? m_parent : QApplication::activeWindow(), QApplication::applicationDisplayName(),
                         text);
}

void QtDialogs::information(const QString &text)
{
    QMessageBox::information(m_parent ? m_parent : QApplication::activeWindow(),
                             QApplication::applicationDisplayName(), text);
}

Answer QtDialogs::question(const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    const auto answer = QMessageBox::question(m_parent ? m_parent : QApplication::activeWindow(),
                                              QApplication::applicationDisplayName(), text, buttons);
    if (answer == QMessageBox::Yes)
        return Answer::Yes;
    if (answer == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

namespace {
// "Name(*.ext)|*.ext" as the system writes filters, to Qt's "Name (*.ext)".
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts.at(i).section(u'(', 0, 0) + QStringLiteral(" (") + parts.at(i + 1) + u')');
    return filters.join(QStringLiteral(";;"));
}
} // namespace

QString QtDialogs::openFileName(const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent ? m_parent : QApplication::activeWindow(), QString(),
                                        workfolder::personalFolder(), qtFilter(filter));
}

QString QtDialogs::saveFileName(const QString &filter)
{
    // The overwrite question is the system's own, asked after the name is chosen.
    return QFileDialog::getSaveFileName(m_parent ? m_parent : QApplication::activeWindow(), QString(),
                                        workfolder::personalFolder(), qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace kr31
