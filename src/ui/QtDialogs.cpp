#include "ui/QtDialogs.h"

#include <QApplication>
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

} // namespace kr31
