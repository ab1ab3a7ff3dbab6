#include "ui/QtDialogs.h"

#include "core/WorkFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace kr31 {

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{
}

namespace {

// A box wide enough that each line of the message stands on one line (Qt
// would otherwise wrap a long Japanese sentence and leave "ん。" alone), up
// to a width that still fits a small screen.
void fitWidth(QMessageBox &box, const QString &text)
{
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: %1px; }").arg(qMin(widest + 8, 640)));
}

void showBox(QMessageBox::Icon icon, QWidget *parent, const QString &text)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    fitWidth(box, text);
    box.exec();
}

} // namespace

void QtDialogs::warning(const QString &text)
{
    showBox(QMessageBox::Warning, m_parent ? m_parent : QApplication::activeWindow(), text);
}

void QtDialogs::information(const QString &text)
{
    showBox(QMessageBox::Information, m_parent ? m_parent : QApplication::activeWindow(), text);
}

Answer QtDialogs::question(const QString &text, AnswerButtons buttons, BoxKind kind)
{
    QMessageBox::StandardButtons shown = QMessageBox::Yes;
    if (buttons != AnswerButtons::YesCancel)
        shown |= QMessageBox::No;
    if (buttons == AnswerButtons::YesNoCancel || buttons == AnswerButtons::YesCancel)
        shown |= QMessageBox::Cancel;
    QMessageBox box(kind == BoxKind::Information ? QMessageBox::Information : QMessageBox::Question,
                    QApplication::applicationDisplayName(), text, shown,
                    m_parent ? m_parent : QApplication::activeWindow());
    fitWidth(box, text);
    if (buttons == AnswerButtons::YesNoOrClose) {
        // Esc and the close button press a Cancel button that is not shown.
        QPushButton *close = box.addButton(QMessageBox::Cancel);
        close->hide();
        box.setEscapeButton(close);
    } else {
        box.setEscapeButton(buttons == AnswerButtons::YesNo ? QMessageBox::No : QMessageBox::Cancel);
    }
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

// A file's size as a Japanese desktop says it: "512 バイト", "13 KB", "1.2 MB".
QString sizeText(qint64 bytes)
{
    constexpr qint64 K = 1024;
    if (bytes < K)
        return QStringLiteral("%1 バイト").arg(bytes);
    if (bytes < K * K)
        return QStringLiteral("%1 KB").arg((bytes + K - 1) / K); // a started kilobyte counts
    if (bytes < K * K * K)
        return QStringLiteral("%1 MB").arg(double(bytes) / (K * K), 0, 'f', 1);
    return QStringLiteral("%1 GB").arg(double(bytes) / (K * K * K), 0, 'f', 1);
}

// The size column of the file list, in sizeText instead of Qt's "KiB".
class SizeColumn : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto *files = qobject_cast<const QFileSystemModel *>(index.model());
        if (files && !files->isDir(index))
            option->text = sizeText(files->size(index));
    }
};

// Qt's file dialog with a list whose columns show their whole Japanese
// headers, sizes and dates; a desktop's own dialog, where there is one, as it is.
QString chooseFile(QWidget *parent, QFileDialog::AcceptMode mode, const QString &folder, const QString &filter)
{
    QFileDialog dialog(parent, QString(), folder, qtFilter(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The overwrite question is the system's own, asked after the name is chosen.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        dialog.resize(qMax(dialog.width(), 820), qMax(dialog.height(), 500));
        list->setItemDelegateForColumn(1, new SizeColumn(list));
        QHeaderView *header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
} // namespace

QString QtDialogs::startFolder() const
{
    return m_lastFolder.isEmpty() ? workfolder::path() : m_lastFolder;
}

void QtDialogs::remember(const QString &chosen)
{
    if (!chosen.isEmpty())
        m_lastFolder = QFileInfo(chosen).absolutePath();
}

QString QtDialogs::openFileName(const QString &filter)
{
    const QString chosen = chooseFile(m_parent ? m_parent : QApplication::activeWindow(), QFileDialog::AcceptOpen,
                                      startFolder(), filter);
    remember(chosen);
    return chosen;
}

QString QtDialogs::saveFileName(const QString &filter)
{
    const QString chosen = chooseFile(m_parent ? m_parent : QApplication::activeWindow(), QFileDialog::AcceptSave,
                                      startFolder(), filter);
    remember(chosen);
    return chosen;
}

} // namespace kr31
