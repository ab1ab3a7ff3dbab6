#include "editors/flowchart/ui/CommandDialogWindow.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "editors/icon/IconProgram.h"
#include "program/CommandWords.h"
#include "program/LedCommands.h"
#include "ui/CommandMenu.h"
#include "ui/FitText.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/ValueCoupling.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace kr31 {

namespace {

const QString ButtonFolder = QStringLiteral("Img/Common_Button/");
const Place OkPlace{"OK", 216, 232, 150, 50};
const Place ByePlace{"FuroBye", 456, 8, 35, 35};
// Each value row: its caption before the slider (at 256), its unit after the box (411..460).
const Place CaptionPlaces[2] = {{"Caption1", 204, 170, 48, 20}, {"Caption2", 204, 194, 48, 20}};
const Place UnitPlaces[2] = {{"Unit1", 463, 170, 30, 20}, {"Unit2", 463, 194, 30, 20}};
// The timer as the slot card asks for it: the prompt on the first row,
// hours, minutes and seconds, each with its unit, on the second.
const Place TimePromptPlace{"TimePrompt", 256, 170, 204, 20};
const Place TimeSpinPlaces[3] = {
    {"Spin_Edit_Hour", 256, 194, 46, 20}, {"Spin_Edit_Minute", 322, 194, 46, 20}, {"Spin_Edit_Second", 388, 194, 46, 20}};
const Place TimeUnitPlaces[3] = {{"HourUnit", 304, 194, 16, 20}, {"MinuteUnit", 370, 194, 16, 20}, {"SecondUnit", 436, 194, 16, 20}};

const words::CommandWords *wordsOfItem(int item)
{
    return words::find(flow::entryCodeOfItem(item).toInt());
}

} // namespace

CommandDialogWindow::CommandDialogWindow(Forms &forms)
    : FormWindow(11, QSize(499, 299), forms)
{
}

void CommandDialogWindow::buildContents()
{
    const QFont font = useWindowFont(12);
    m_background = setBackground(QStringLiteral("Img/Panel/Furo_Insert.jpg"));

    QFont bold = font;
    bold.setPixelSize(16);
    bold.setBold(true);
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = new QLabel(this);
        m_labels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        // They end before the close button; a long name is narrowed to fit.
        m_labels[i]->setGeometry(296, 24 + 24 * i, ByePlace.x - 4 - 296, 20);
        m_labels[i]->setFont(bold);
        m_labels[i]->setStyleSheet(QStringLiteral("background: white; padding: 0 2px;"));
    }

    m_menu = new CommandMenu(this, {272, 145, 137, 22});
    connect(m_menu, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            ComboBox1Change();
    });

    m_bar1 = makeValueBar(this, "LMDTrackBar1", {256, 170, 137, 20});
    m_edit1 = makeValueBox(this, "Edit1", {411, 170, 49, 20});
    m_bar2 = makeValueBar(this, "LMDTrackBar2", {256, 194, 137, 20});
    m_edit2 = makeValueBox(this, "Edit2", {411, 194, 49, 20});
    coupleValue(m_bar1, m_edit1);
    coupleValue(m_bar2, m_edit2);
    createCaptions(font);

    addButton(ButtonFolder, OkPlace, [this] { OKClick(); });
    addButton(ButtonFolder, ByePlace, [this] { FuroByeClick(); });
    bindKey(keys::Accept, {QStringLiteral("OK")});
    bindKey(keys::Cancel, {QStringLiteral("FuroBye")});
}

void CommandDialogWindow::createCaptions(const QFont &font)
{
    QFont caption = font;
    caption.setPixelSize(13);
    caption.setBold(true);
    const auto makeLabel = [this, &caption](const Place &place, Qt::Alignment align, const QString &text = {}) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(place.name));
        label->setGeometry(place.x, place.y, place.w, place.h);
        label->setFont(caption);
        label->setAlignment(align | Qt::AlignVCenter);
        label->setStyleSheet(QStringLiteral("color: #4a3a2a; background: transparent;"));
        return label;
    };
    for (int n = 0; n < 2; ++n) {
        m_captions[n] = makeLabel(CaptionPlaces[n], Qt::AlignRight);
        m_units[n] = makeLabel(UnitPlaces[n], Qt::AlignLeft);
    }
    m_timePrompt = makeLabel(TimePromptPlace, Qt::AlignLeft, QString::fromUtf8(words::TimePrompt));
    for (int i = 0; i < 3; ++i) {
        const Place &place = TimeSpinPlaces[i];
        m_time[i] = new QSpinBox(this);
        m_time[i]->setObjectName(QString::fromLatin1(place.name));
        m_time[i]->setGeometry(place.x, place.y, place.w, place.h);
        m_time[i]->setRange(0, i == 0 ? limits::MaxTime / 3600 : 59);
        m_time[i]->setAlignment(Qt::AlignRight);
        connect(m_time[i], &QSpinBox::valueChanged, this, [this] { TimeChange(); });
        m_timeUnits[i] = makeLabel(TimeUnitPlaces[i], Qt::AlignLeft, QString::fromUtf8(words::TimeUnits[i]));
    }
}

void CommandDialogWindow::TimeChange()
{
    // The seconds live in the first slider and its box, as for any value; a
    // time outside the slider's range shows as the nearest end.
    const int seconds = icon::joinTime({m_time[0]->value(), m_time[1]->value(), m_time[2]->value()});
    m_bar1->setValue(seconds);
    if (m_bar1->value() != seconds)
        showTime();
}

void CommandDialogWindow::showTime()
{
    const icon::Hms time = icon::splitTime(m_bar1->value());
    const int parts[3] = {time.hours, time.minutes, time.seconds};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker blocker(m_time[i]);
        m_time[i]->setValue(parts[i]);
    }
}

void CommandDialogWindow::setMenuItems(const QStringList &items)
{
    ensureBuilt();
    m_filling = true;
    m_menu->clear();
    m_menu->addItems(items);
    m_filling = false;
}

std::optional<CommandChooser::Choice> CommandDialogWindow::chooseCommand(const Question &question, QWidget *opener)
{
    setMenuItems(question.menuItems);
    m_question = question;
    showPicture(m_background, question.inserting ? QStringLiteral("Img/Panel/Furo_Insert.jpg")
                                                 : QStringLiteral("Img/Panel/Furo_Editing.jpg"));
    m_choice.reset();
    setOpener(opener);
    forms().runModal(this);
    return m_choice;
}

void CommandDialogWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    FormShow();
}

void CommandDialogWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    hide();
}

void CommandDialogWindow::setValueVisibility(int item)
{
    // The captions are the slot cards' words; pointing at a value shows the editor's own caption.
    for (QWidget *w : {static_cast<QWidget *>(m_bar1), static_cast<QWidget *>(m_edit1)})
        w->setToolTip(flow::valueLabel1(item));
    for (QWidget *w : {static_cast<QWidget *>(m_bar2), static_cast<QWidget *>(m_edit2)})
        w->setToolTip(flow::valueLabel2(item));
    const bool time = flow::entryCodeOfItem(item) == QString::number(code::Time);
    const bool shown[2] = {flow::hasValue1(item) && !time, flow::hasValue2(item)};
    const words::CommandWords *w = wordsOfItem(item);
    for (int n = 0; n < 2; ++n) {
        (n == 0 ? m_bar1 : m_bar2)->setVisible(shown[n]);
        (n == 0 ? m_edit1 : m_edit2)->setVisible(shown[n]);
        m_captions[n]->setText(shown[n] && w ? QString::fromUtf8(w->value[n]) : QString());
        m_units[n]->setText(shown[n] && w ? QString::fromUtf8(w->unit[n]) : QString());
    }
    m_timePrompt->setVisible(time);
    for (int i = 0; i < 3; ++i) {
        m_time[i]->setVisible(time);
        m_timeUnits[i]->setVisible(time);
    }
    if (time)
        showTime();
}

void CommandDialogWindow::FormShow()
{
    const QString &code = m_question.code;
    const bool noValues = code == QLatin1String("100") || code == QLatin1String("Sub") || code.isEmpty();
    m_labels[0]->setText(flow::commandNameOf(code, m_question.value1));
    m_labels[0]->setFont(narrowedToFit(m_labels[0]->font(), m_labels[0]->text(), m_labels[0]->width() - 6));
    m_labels[1]->setText(noValues ? QString() : m_question.value1);
    m_labels[2]->setText(noValues ? QString() : m_question.value2);
    const QString value1 = m_question.value1.isEmpty() ? QStringLiteral("0") : m_question.value1;
    const QString value2 = m_question.value2.isEmpty() ? QStringLiteral("0") : m_question.value2;

    int item = flow::itemOfEntry(code, m_question.value1);
    if (item >= m_menu->count())
        item = 0;
    m_filling = true;
    m_menu->setCurrentIndex(item);
    m_filling = false;

    const int min1 = flow::valueMin1(item);
    if (code == QLatin1String("100") || code == QLatin1String("Sub")) {
        setValueVisibility(-1);
        return;
    }
    // A stored value outside the slider's range shows as the nearest end.
    const auto within = [](const QString &text, int min, int max) {
        return qBound(min, text::toInt(text).value_or(min), qMax(min, max));
    };
    setValueControls(m_bar1, m_edit1, min1, flow::valueMax1(item), within(value1, min1, flow::valueMax1(item)));
    setValueControls(m_bar2, m_edit2, flow::ValueMin2, flow::valueMax2(item),
                     within(value2, flow::ValueMin2, flow::valueMax2(item)));
    setValueVisibility(item);
}

void CommandDialogWindow::ComboBox1Change()
{
    const int item = m_menu->currentIndex();
    const int min1 = flow::valueMin1(item);
    setValueControls(m_bar1, m_edit1, min1, flow::valueMax1(item), min1);
    setValueControls(m_bar2, m_edit2, flow::ValueMin2, flow::valueMax2(item), flow::ValueMin2);
    setValueVisibility(item);
}

void CommandDialogWindow::OKClick()
{
    ensureBuilt();
    m_choice = Choice{m_menu->currentIndex(), m_edit1->text(), m_edit2->text()};
    hide();
}

void CommandDialogWindow::FuroByeClick()
{
    hide();
}

} // namespace kr31
