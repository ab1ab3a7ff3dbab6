#include "melody/ui/MelodyEditorWindow.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/TextTools.h"
#include "core/WorkFolder.h"
#include "lamp/LampRunner.h"
#include "link/WavFile.h"
#include "melody/MelodyFile.h"
#include "melody/MelodyPreview.h"
#include "melody/MelodyTexts.h"
#include "melody/NoteCode.h"
#include "melody/NotePicker.h"
#include "melody/ScorePrinter.h"
#include "program/ProgramFile.h"
#include "program/ProgramSave.h"
#include "melody/ui/NoteKeyboard.h"
#include "melody/ui/ScoreView.h"
#include "ui/EditorButtons.h"
#include "ui/EditorFiles.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/PictureButton.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace kr31 {

namespace {

const QString PreviewFile = QStringLiteral("Preview.WAV");
// The length ticked when the window first shows: a quarter note.
constexpr int FirstLength = 1;

// The editor's own buttons; those every editor has come from EditorWindow.
const Place Buttons[] = {
    {"saisei", 317, 75, 134, 26}, {"Melo_Print", 455, 75, 134, 26}, {"All_Delete", 593, 75, 134, 26},
    {"note", 8, 352, 134, 26}, {"Link", 8, 382, 134, 26},
};

QGroupBox *makeGroup(const QString &title, QWidget *parent, const QRect &place, const char *name)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(place);
    group->setStyleSheet(QStringLiteral(
        "QGroupBox { background: rgba(255,255,255,215); border: 1px solid #e48aa8; border-radius: 6px;"
        " margin-top: 8px; padding-top: 4px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: #b03060; }"));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 6, 4, 2);
    layout->setSpacing(0);
    return group;
}

QRadioButton *addRadio(QGroupBox *group, QButtonGroup *buttons, const QString &text, const QString &name, int id)
{
    auto *radio = new QRadioButton(text, group);
    radio->setObjectName(name);
    radio->setFocusPolicy(Qt::TabFocus); // Tab reaches the group, the arrows switch it
    group->layout()->addWidget(radio);
    buttons->addButton(radio, id);
    if (id == 0)
        keys::tabToCheckedButton(buttons);
    return radio;
}

} // namespace

MelodyEditorWindow::MelodyEditorWindow(Forms &forms)
    : EditorWindow(4, QSize(750, 500), forms)
{
}

void MelodyEditorWindow::buildContents()
{
    addEditorChrome(QStringLiteral("Back"), QStringLiteral("Img/Back/Melody.jpg"), QStringLiteral("Img/Title/Melody.jpg"));
    setFocusPolicy(Qt::StrongFocus);

    addEditorButtons(Buttons, editorButtons(this, {
        {"saisei", [this] { saiseiClick(); }},
        {"Melo_Print", [this] { Melo_PrintClick(); }},
        {"All_Delete", [this] { All_DeleteClick(); }},
        {"note", [this] { noteClick(); }},
        {"Link", [this] { LinkClick(); }},
    }));
    addLampButton();
    reportHelpFailure();

    auto *hint = new QLabel(melodytext::Hint, this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setGeometry(14, 104, 500, 16);
    hint->setStyleSheet(QStringLiteral("color: red; background: transparent;"));

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setGeometry(10, 121, 730, 225);
    m_scroll->setFrameShape(QFrame::Box);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    m_score = new ScoreView;
    m_scroll->setWidget(m_score);
    m_scroll->viewport()->installEventFilter(this);
    connect(m_score, &ScoreView::rightClicked, this, &MelodyEditorWindow::scoreRightClick);
    for (int voice = 0; voice < melody::Voices; ++voice) {
        auto *name = new QLabel(m_score);
        name->setObjectName(QStringLiteral("Melody%1").arg(voice + 1));
        name->setGeometry(2, score::screenTop(voice) - 29, 60, 28);
        showPicture(name, QStringLiteral("Img/Onpu/Melody%1.jpg").arg(voice + 1));
    }

    createNotePage();
    createLinkPage();

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    m_menu->addAction(melodytext::InsertItem, this, [this] { Insert1Click(); })->setObjectName("Insert1");
    m_menu->addAction(melodytext::EditItem, this, [this] { Edit1Click(); })->setObjectName("Edit1");
    QMenu *lengths = m_menu->addMenu(melodytext::LengthItem);
    lengths->setObjectName(QStringLiteral("Length1"));
    auto *lengthGroup = new QActionGroup(this);
    lengthGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < 4; ++i) {
        QAction *item = lengths->addAction(melodytext::Lengths[i], this, [this, i] { LengthClick(i); });
        item->setObjectName(QStringLiteral("Length%1").arg(i + 2));
        item->setCheckable(true);
        lengthGroup->addAction(item);
        m_lengthItems[i] = item;
    }
    m_menu->addAction(melodytext::DeleteItem, this, [this] { Delete1Click(); })->setObjectName("Delete1");

    showLink();
    refresh();

    m_modified.keepWith(new RecoveryKeeper(
        this, services().clock, QStringLiteral("Melody"),
        [this] { return textfile::encodeLines(melodyfile::fileLines(m_melody)); },
        [this](const QStringList &lines) { return showRead(melodyfile::readLines(lines, m_melody), true); }));
    installUndo();
    installShortcuts();
}

void MelodyEditorWindow::createNotePage()
{
    m_notePage = new QWidget(this);
    m_notePage->setObjectName(QStringLiteral("NotePage"));
    m_notePage->setGeometry(150, 350, 594, 146);
    m_keyboard = new NoteKeyboard(m_notePage, 19, 142, [this](QLabel *key, const QString &picture) {
        return showPicture(key, picture);
    });
    m_keyboard->move(0, 2);
    connect(m_keyboard, &NoteKeyboard::keyClicked, this, [this](int tag) { KeyClick(tag); });

    auto *modes = new QButtonGroup(this);
    QGroupBox *modeBox = makeGroup(QStringLiteral("けんばんを おすと"), m_notePage, QRect(455, 0, 139, 56), "RadioGroup1");
    m_modes[0] = addRadio(modeBox, modes, melodytext::AddNote, QStringLiteral("RadioButton1"), 0);
    m_modes[1] = addRadio(modeBox, modes, melodytext::Listen, QStringLiteral("RadioButton2"), 1);
    m_modes[0]->setChecked(true);

    auto *lengths = new QButtonGroup(this);
    QGroupBox *lengthBox = makeGroup(QStringLiteral("音の長さ"), m_notePage, QRect(455, 58, 139, 88), "RadioGroup2");
    for (int i = 0; i < 4; ++i)
        m_lengths[i] = addRadio(lengthBox, lengths, QStringLiteral("　") + melodytext::Lengths[i],
                                QStringLiteral("RadioButton%1").arg(i + 3), i);
    m_lengths[FirstLength]->setChecked(true);

    auto *voices = new QButtonGroup(this);
    QGroupBox *voiceBox = makeGroup(QStringLiteral("いれる ところ"), this, QRect(8, 416, 134, 74), "RadioGroup3");
    m_voices[0] = addRadio(voiceBox, voices, melodytext::Voice1, QStringLiteral("RadioButton7"), 0);
    m_voices[1] = addRadio(voiceBox, voices, melodytext::Voice2, QStringLiteral("RadioButton8"), 1);
    m_voices[0]->setChecked(true);
    m_voiceGroup = voiceBox;
}

void MelodyEditorWindow::createLinkPage()
{
    m_linkPage = new QWidget(this);
    m_linkPage->setObjectName(QStringLiteral("LinkPage"));
    m_linkPage->setGeometry(150, 350, 594, 146);
    m_linkPage->setAutoFillBackground(true);
    m_linkPage->setStyleSheet(QStringLiteral("#LinkPage { background: rgba(255,255,255,225); border-radius: 6px; }"));
    m_linkPage->hide();

    auto *switches = new QButtonGroup(this);
    QGroupBox *switchBox = makeGroup(QStringLiteral("LEDと いっしょに"), m_linkPage, QRect(4, 4, 100, 64), "RadioGroup4");
    m_linkSwitch[0] = addRadio(switchBox, switches, melodytext::LinkOff, QStringLiteral("RadioButton9"), 0);
    m_linkSwitch[1] = addRadio(switchBox, switches, melodytext::LinkOn, QStringLiteral("RadioButton10"), 1);
    m_linkSwitch[0]->setChecked(true);
    connect(switches, &QButtonGroup::idClicked, this, [this](int id) {
        setLink(id == 1);
        m_modified = true;
        recordEdit();
    });
    auto *explain = new QLabel(QStringLiteral("音ごとに\nLEDの あかるさ\n(0〜100) を\nきめます"), m_linkPage);
    explain->setObjectName(QStringLiteral("Label2"));
    explain->setGeometry(8, 74, 96, 66);

    for (int i = 0; i < melody::LinkValues; ++i) {
        const int x = 108 + 37 * i;
        auto *name = new QLabel(note::solfege(i == 12 ? note::RestPitch : i), m_linkPage);
        name->setObjectName(QStringLiteral("Label%1").arg(i + 3));
        name->setGeometry(x, 2, 37, 14);
        name->setAlignment(Qt::AlignCenter);
        auto *bar = new QSlider(Qt::Vertical, m_linkPage);
        bar->setObjectName(QStringLiteral("LMDTrackBar%1").arg(i + 1));
        bar->setGeometry(x + 8, 18, 22, 100);
        bar->setRange(0, 100);
        bar->setPageStep(10);
        bar->setValue(100);
        bar->setFocusPolicy(Qt::NoFocus);
        auto *edit = new QLineEdit(QStringLiteral("100"), m_linkPage);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setGeometry(x + 2, 122, 33, 20);
        edit->setAlignment(Qt::AlignCenter);
        m_bars[i] = bar;
        m_edits[i] = edit;
        connect(bar, &QSlider::valueChanged, this, [this, i](int value) {
            m_edits[i]->setText(QString::number(value));
            m_melody.setLinkValue(i, value);
            m_modified = true;
            recordLinkEdit(i);
        });
        // A whole number moves the slider (kept within 0..100, and the box
        // shows what the slider took); anything else empties the box.
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString &text) {
            const auto value = text::isInteger(text) ? text::toInt(text) : std::nullopt;
            if (!value) {
                m_edits[i]->clear();
            } else {
                m_bars[i]->setValue(qBound(0, *value, 100));
                m_melody.setLinkValue(i, *value);
                if (m_edits[i]->text() != QString::number(m_melody.linkValues[i]))
                    m_edits[i]->setText(QString::number(m_melody.linkValues[i]));
            }
            m_modified = true;
            recordLinkEdit(i);
        });
    }
}

// The getters answer for a window not made yet as its first showing would.
int MelodyEditorWindow::scorePosition() const
{
    return m_scroll ? m_scroll->horizontalScrollBar()->value() : 0;
}

void MelodyEditorWindow::setScorePosition(int x)
{
    ensureBuilt();
    m_scroll->horizontalScrollBar()->setValue(x);
}

bool MelodyEditorWindow::addMode() const
{
    return !m_modes[0] || m_modes[0]->isChecked();
}

int MelodyEditorWindow::voice() const
{
    return m_voices[1] && m_voices[1]->isChecked() ? 1 : 0;
}

int MelodyEditorWindow::lengthIndex() const
{
    if (!m_lengths[0])
        return FirstLength;
    for (int i = 0; i < 4; ++i) {
        if (m_lengths[i]->isChecked())
            return i;
    }
    return 0;
}

void MelodyEditorWindow::refresh()
{
    m_score->showScore(score::screen(m_melody));
    showNoteMark();
}

// The link controls from the model, without marking it.
void MelodyEditorWindow::showLink()
{
    m_linkSwitch[m_melody.link ? 1 : 0]->setChecked(true);
    for (int i = 0; i < melody::LinkValues; ++i) {
        const QSignalBlocker block(m_bars[i]);
        m_bars[i]->setValue(m_melody.linkValues[i]);
        m_edits[i]->setText(QString::number(m_melody.linkValues[i]));
        m_bars[i]->setEnabled(m_melody.link);
        m_edits[i]->setEnabled(m_melody.link);
    }
}

void MelodyEditorWindow::setLink(bool on)
{
    m_melody.link = on;
    showLink();
}

void MelodyEditorWindow::showEvent(QShowEvent *event)
{
    ensureBuilt();
    FormWindow::showEvent(event);
    // The score's range must reach its last column whatever the style's scroll bar.
    m_scroll->horizontalScrollBar()->setRange(0, melody::LastScroll);
    setFocus();
}

void MelodyEditorWindow::KeyClick(int tag)
{
    ensureBuilt();
    const int code = tag + note::GroupSize * lengthIndex();
    if (!addMode()) {
        audition(code);
        return;
    }
    const int v = voice();
    if (!m_melody.append(v, code)) {
        services().dialogs.warning(msg::AddOverLimit503);
        return;
    }
    refresh();
    setScorePosition(Melody::scrollFor(m_melody.end[v]));
    m_modified = true;
    recordEdit();
}

// One note, heard at once; the next note or sound ends it.
void MelodyEditorWindow::audition(int code)
{
    if (!services().transmitter.writeSound(preview::tone(code)))
        return;
    playAside(workfolder::file(QStringLiteral("Creat.WAV")), {});
}

bool MelodyEditorWindow::playAside(const QString &path, std::function<void()> ended)
{
    SoundOutput &sound = services().sound;
    Dialogs &dialogs = services().dialogs;
    sound.restore(false);
    const bool started = sound.playInBackground(path, [&sound, &dialogs, ended](bool ok, const QString &why) {
        sound.silence();
        if (ended)
            ended();
        if (!ok)
            dialogs.warning(why.isEmpty() ? msg::CannotPlay : why); // the output's message says it all
    });
    if (!started)
        sound.silence();
    return started;
}

void MelodyEditorWindow::saiseiClick()
{
    // A second click while the melody plays waits for its end.
    if (m_melody.isEmpty() || m_previewing)
        return;
    Dialogs &dialogs = services().dialogs;
    const QString folder = workfolder::path();
    QString error;
    if (!preview::writeVoiceFiles(m_melody, folder, &error)) {
        dialogs.warning(error);
        return;
    }
    // Both voices in one stream, so that they start together whatever the sound system.
    const QString path = folder + PreviewFile;
    const QByteArray mixed = preview::mix(preview::voiceStream(m_melody.notes[0]),
                                          preview::voiceStream(m_melody.notes[1]));
    if (!wav::write(path, mixed, &error)) {
        dialogs.warning(msg::soundNotWritten(path, error));
        return;
    }
    QPointer<MelodyEditorWindow> self(this);
    m_previewing = true;
    if (!playAside(path, [self] {
            if (self)
                self->m_previewing = false;
        }))
        m_previewing = false;
}

void MelodyEditorWindow::SendClick()
{
    sendOver(Transfer::of(melodyfile::packet(m_melody)));
}

void MelodyEditorWindow::VirtualLampClick()
{
    if (LampRunner *lamp = forms().lampRunner())
        lamp->runMelody(m_melody, this);
}

void MelodyEditorWindow::ActionClick()
{
    services().transmitter.sendShortCommand(2);
}

bool MelodyEditorWindow::File_SaveClick()
{
    Dialogs &dialogs = services().dialogs;
    const QString chosen = dialogs.saveFileName(programfile::Filter);
    if (chosen.isEmpty())
        return false;
    if (!writeProgramFile(dialogs, chosen, melodyfile::fileLines(m_melody)))
        return false;
    m_modified = false;
    m_undo.markSaved(m_melody);
    return true;
}

void MelodyEditorWindow::openFile(const QString &path)
{
    ensureBuilt();
    // A file that is refused leaves the melody in the editor as it was.
    if (editorfiles::acceptsPath(services().dialogs, path))
        showRead(melodyfile::read(path, m_melody), false);
}

bool MelodyEditorWindow::showRead(const melodyfile::ReadResult &read, bool quiet)
{
    Dialogs &dialogs = services().dialogs;
    if (!editorfiles::takes(dialogs, read, quiet))
        return false;
    const bool linkChanged = read.melody.link != m_melody.link || read.melody.linkValues != m_melody.linkValues;
    m_melody = read.melody;
    m_selVoice = m_selIndex = -1;
    showLink();
    refresh();
    setScorePosition(0);
    // What the editor holds differs from the file after a bad line or a cut:
    // keep it marked, as a changed link marks it.
    if (linkChanged || read.status == FileRead::BrokeOff || !read.cutVoices.isEmpty())
        m_modified = true;
    m_undo.reset(m_melody, !m_modified);
    if (quiet)
        return true;
    for (int voice : read.cutVoices)
        dialogs.warning(msg::melodyCut(voice));
    return true;
}

void MelodyEditorWindow::clearMelody()
{
    m_melody.clear();
    m_selVoice = m_selIndex = -1;
    showLink();
    refresh();
    setScorePosition(0);
    m_modified = false;
    m_undo.reset(m_melody);
}

void MelodyEditorWindow::leaving()
{
    ensureBuilt();
    clearMelody();
}

void MelodyEditorWindow::All_DeleteClick()
{
    ensureBuilt();
    if (saveQuestion())
        clearMelody();
}

void MelodyEditorWindow::noteClick()
{
    ensureBuilt();
    m_linkPage->hide();
    m_notePage->show();
    m_voiceGroup->show();
    setFocus();
}

void MelodyEditorWindow::LinkClick()
{
    ensureBuilt();
    m_notePage->hide();
    m_voiceGroup->hide();
    m_linkPage->show();
}

void MelodyEditorWindow::Melo_PrintClick()
{
    if (ScorePrinter *print = forms().scorePrinter())
        print->printScore(m_melody, this);
}

void MelodyEditorWindow::scoreRightClick(QPoint at, QPoint globalPos)
{
    ensureBuilt();
    const int v = Melody::voiceAt(at.y());
    if (v < 0)
        return;
    const int index = m_melody.noteAt(v, at.x());
    if (index < 0)
        return;
    m_selVoice = v;
    m_selIndex = index;
    const int length = note::lengthIndex(m_melody.notes[v].at(index));
    for (int i = 0; i < 4; ++i)
        m_lengthItems[i]->setChecked(i == length);
    m_menu->popup(globalPos);
}

void MelodyEditorWindow::pick(int mode)
{
    NotePicker *picker = forms().notePicker();
    if (!picker || m_selVoice < 0)
        return;
    const auto pickerMode = NotePicker::Mode(mode);
    if (pickerMode == NotePicker::Mode::Insert && m_melody.notes[m_selVoice].size() >= note::MaxNotes) {
        services().dialogs.warning(msg::AddOverLimit503);
        return;
    }
    const int v = m_selVoice;
    const int index = m_selIndex;
    picker->pickNote(pickerMode, m_melody.notes[v].value(index), this, [this, pickerMode, v, index](int code) {
        const bool done = pickerMode == NotePicker::Mode::Insert ? m_melody.insert(v, index, code)
                                                                 : m_melody.replace(v, index, code);
        if (!done) {
            services().dialogs.warning(msg::AddOverLimit503);
            return;
        }
        refresh();
        m_modified = true;
        recordEdit();
    });
}

void MelodyEditorWindow::Insert1Click()
{
    pick(int(NotePicker::Mode::Insert));
}

void MelodyEditorWindow::Edit1Click()
{
    pick(int(NotePicker::Mode::Edit));
}

void MelodyEditorWindow::LengthClick(int length)
{
    if (m_selVoice < 0 || !m_melody.changeLength(m_selVoice, m_selIndex, length))
        return;
    refresh();
    m_modified = true;
    recordEdit();
}

void MelodyEditorWindow::Delete1Click()
{
    if (m_selVoice < 0 || !m_melody.remove(m_selVoice, m_selIndex))
        return;
    m_selVoice = m_selIndex = -1;
    refresh();
    m_modified = true;
    recordEdit();
}

} // namespace kr31
