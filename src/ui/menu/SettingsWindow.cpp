#include "ui/menu/SettingsWindow.h"

#include "core/Cp932.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "link/Packets.h"
#include "link/Transmitter.h"
#include "program/LedCommands.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/PictureButton.h"
#include "ui/UiServices.h"

#include <QLabel>
#include <QLineEdit>

namespace kr31 {

namespace {
const QString Folder = QStringLiteral("Img/SetUp/");
} // namespace

SettingsWindow::SettingsWindow(Forms &forms)
    : FormWindow(6, QSize(600, 400), forms)
{
}

void SettingsWindow::buildContents()
{
    setBackground(QStringLiteral("Img/Back/SetUp.jpg"));
    auto *intro = new QLabel(QStringLiteral("文字プログラミングで つかう めいれいの ことば"), this);
    intro->setObjectName(QStringLiteral("Label13"));
    intro->setGeometry(24, 60, 372, 20);
    QFont introFont = intro->font();
    introFont.setPixelSize(13);
    introFont.setBold(true);
    intro->setFont(introFont);
    // Two columns of six: the command's Japanese name on one line, its word in the box below.
    const QList<LedCommand> &commands = ledCommands();
    for (int i = 0; i < 12; ++i) {
        const int column = i / 6;
        const int x = 24 + column * 190;
        const int y = 84 + (i % 6) * 40;
        auto *caption = new QLabel(commands.at(i).caption, this);
        caption->setGeometry(x, y, 180, 16);
        QFont small = caption->font();
        small.setPixelSize(12);
        caption->setFont(small);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setGeometry(x, y + 16, 160, 22);
        edit->setMaxLength(30);
        caption->setBuddy(edit);
        m_edits.append(edit);
    }
    addButton(Folder, {"OK", 24, 340, 120, 40}, [this] { OKClick(); });
    addButton(Folder, {"cancel", 154, 340, 120, 40}, [this] { cancelClick(); });
    addButton(Folder, {"Test", 404, 84, 170, 40}, [this] { TestClick(); });
    addButton(Folder, {"LED", 404, 164, 170, 40}, [this] { LEDClick(); });
    addButton(Folder, {"melo", 404, 224, 170, 40}, [this] { meloClick(); });
    bindKey(keys::Save, {QStringLiteral("OK")});
    // Esc leaves as cancel does, but never over command words typed and not stored.
    addShortcut(keys::Cancel, [this] {
        if (commandNames() == services().settings.commandNames())
            cancelClick();
    });
    if (PictureButton *cancel = findChild<PictureButton *>(QStringLiteral("cancel")))
        cancel->setToolTip(keys::tip(cancel->caption(), {keys::Cancel}));
    // Quietly: every showing reads them again and says (104) when it cannot.
    fillNames();
}

QStringList SettingsWindow::commandNames() const
{
    if (m_edits.isEmpty())
        return const_cast<SettingsWindow *>(this)->services().settings.commandNames();
    QStringList names;
    for (const QLineEdit *edit : m_edits)
        names.append(edit->text());
    return names;
}

void SettingsWindow::loadNames()
{
    if (services().settings.unreadable())
        services().dialogs.warning(msg::SettingsRead104);
    fillNames();
}

void SettingsWindow::fillNames()
{
    const QStringList names = services().settings.commandNames();
    for (int i = 0; i < 12; ++i)
        m_edits.at(i)->setText(names.at(i));
}

void SettingsWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    loadNames();
}

void SettingsWindow::OKClick()
{
    ensureBuilt();
    const QStringList names = commandNames();
    for (const QString &name : names) {
        if (name.isEmpty()) {
            services().dialogs.warning(msg::CommandWordMissing);
            return;
        }
    }
    if (const QStringList lost = cp932::missing(names.join(QString())); !lost.isEmpty()) {
        services().dialogs.warning(msg::unstorable(lost));
        return;
    }
    if (!services().settings.setCommandNames(names)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    forms().backToMenu(this);
}

void SettingsWindow::cancelClick()
{
    forms().backToMenu(this);
}

void SettingsWindow::TestClick()
{
    forms().open(this, 1);
}

void SettingsWindow::LEDClick()
{
    sendOver(Transfer::ledProgram(packet::ledResetList()));
}

void SettingsWindow::meloClick()
{
    sendOver(Transfer::of(packet::melodyReset()));
}

} // namespace kr31
