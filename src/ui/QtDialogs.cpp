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

Answer QtDialogs::question(const QString &text, AnswerButtons buttons, BoxKind kind)
{
    QMessageBox::StandardButtons shown = QMessageBox::Yes;
    if (buttons != AnswerButtons::YesCancel)
        shown |= QMessageBox::No;
    if (buttons != AnswerButtons::YesNo)
        shown |= QMessageBox::Cancel;
    QMessageBox box(kind == BoxKind::Information ? QMessageBox::Information : QMessageBox::Question,
                    QApplication::applicationDisplayName(), text, shown,
                    m_parent ? m_parent : QApplication::activeWindow());
    box.setEscapeButton(buttons == AnswerButtons::YesNo ? QMessageBox::No : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == AnswerButtons::YesNo ? Answer::No : Answer::Cancel;
    }
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
