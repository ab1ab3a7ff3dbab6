// The slot strip of the icon editor: the 47 slot columns and the controls of
// each slot's arguments, created and freed as commands come and go.
#include "editors/icon/ui/IconEditorWindow.h"

#include "editors/icon/IconProgram.h"
#include "program/LedCommands.h"
#include "ui/ValueCoupling.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>

namespace kr31 {

namespace {

constexpr int StripWidth = 514;
constexpr int StripContentWidth = 4940;

QString argumentValue(const IconSlot &slot, int n)
{
    return n == 1 ? slot.value1 : slot.value2;
}

} // namespace

void IconEditorWindow::createStrip()
{
    m_strip = new QScrollArea(this);
    m_strip->setObjectName(QStringLiteral("ScrollBox1"));
    m_strip->setGeometry(213, 124, StripWidth, 222);
    m_strip->setFrameShape(QFrame::NoFrame);
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_strip->setStyleSheet(QStringLiteral("QScrollArea, #StripContent { background: white; }"));
    m_stripContent = new QWidget;
    m_stripContent->setObjectName(QStringLiteral("StripContent"));
    m_stripContent->setFixedSize(StripContentWidth, 222 - m_strip->horizontalScrollBar()->sizeHint().height());
    m_stripContent->setAcceptDrops(true);
    m_stripContent->installEventFilter(this);
    m_strip->setWidget(m_stripContent);
    m_strip->viewport()->installEventFilter(this);

    QFont numberFont = font();
    numberFont.setPointSize(20);
    numberFont.setBold(true);
    for (int i = 0; i < icon::SlotCount; ++i) {
        SlotView &view = m_views[i];
        view.number = new QLabel(QString::number(i), m_stripContent);
        view.number->setObjectName(QStringLiteral("Drag_No%1").arg(i + 1));
        view.number->setGeometry(icon::SlotPitch * i + 45, 3, 30, 28);
        view.number->setAlignment(Qt::AlignCenter);
        view.number->setFont(numberFont);
        view.picture = new QLabel(m_stripContent);
        view.picture->setObjectName(QStringLiteral("Drop_image%1").arg(i + 1));
        view.picture->setGeometry(icon::slotLeft(i), 32, 100, 170);
        view.picture->setProperty("slot", i);
        view.picture->installEventFilter(this);
        showPicture(view.picture, icon::iconPath(code::Filler));
    }
}

int IconEditorWindow::stripPosition() const
{
    return m_strip ? m_strip->horizontalScrollBar()->value() : 0;
}

void IconEditorWindow::setStripPosition(int position)
{
    ensureBuilt();
    m_strip->horizontalScrollBar()->setValue(qBound(0, position, icon::StripEnd));
}

void IconEditorWindow::createValueControls(int slot)
{
    SlotView &view = m_views[slot];
    const int code = m_program.Slots[slot].code.toInt();
    const int left = icon::slotLeft(slot);
    const auto makeBar = [&](int n, int min, int max, int top) {
        auto *bar = new QSlider(Qt::Horizontal, m_stripContent);
        bar->setObjectName(QStringLiteral("P%1_Bar%2").arg(n).arg(slot));
        bar->setGeometry(left + 8, top, 84, 14);
        bar->setRange(min, max);
        bar->setPageStep(icon::pageStep(max));
        bar->setFocusPolicy(Qt::NoFocus);
        bar->installEventFilter(this); // its wheel scrolls the strip
        bar->setStyleSheet(QStringLiteral(
            "QSlider::groove:horizontal { height: 7px; background: rgb(77,77,77); border-radius: 3px; }"
            "QSlider::handle:horizontal { width: 11px; margin: -6px 0; border-radius: 4px;"
            " background: #ff9f1c; border: 1px solid #b86b00; }"));
        return bar;
    };
    const auto makeEdit = [&](int n, int top) {
        auto *edit = new QLineEdit(m_stripContent);
        edit->setObjectName(QStringLiteral("P%1_Edit%2").arg(n).arg(slot));
        edit->setGeometry(left + 38, top, 34, 16);
        edit->setAlignment(Qt::AlignCenter);
        return edit;
    };
    // Every control stays inside the light panel of the card (x 4..96, y 84..165
    // of the picture, which starts at the strip's y 32), beside the captions drawn on it.
    view.bar1 = makeBar(1, 0, icon::value1Max(code), 32 + 86);
    view.edit1 = makeEdit(1, 32 + 101);
    view.bar2 = makeBar(2, 1, icon::value2Max(code), 32 + 124);
    view.edit2 = makeEdit(2, 32 + 140);

    // The coupling: a slider sets its box and the slot; a typed integer moves
    // the slider (limited to its range); anything else empties the box.
    for (int n : {1, 2}) {
        coupleValue(n == 1 ? view.bar1 : view.bar2, n == 1 ? view.edit1 : view.edit2,
                    [this, slot, n](const QString &text) {
                        IconSlot &s = m_program.Slots[slot];
                        (n == 1 ? s.value1 : s.value2) = text;
                        m_modified = true;
                        if (n == 1)
                            m_stripContent->update();
                        recordControlEdit(slot, n);
                    });
    }
    for (QWidget *control : {static_cast<QWidget *>(view.bar1), static_cast<QWidget *>(view.edit1),
                             static_cast<QWidget *>(view.bar2), static_cast<QWidget *>(view.edit2)})
        watchEditGroup(control);
    view.bar1->setVisible(icon::showsValue1(code));
    view.edit1->setVisible(icon::showsValue1(code));
    view.bar2->setVisible(icon::showsValue2(code));
    view.edit2->setVisible(icon::showsValue2(code));
}

void IconEditorWindow::createTimeControls(int slot)
{
    SlotView &view = m_views[slot];
    const int left = icon::slotLeft(slot);
    const auto makeSpin = [&](const char *name, int max, int x, int y) {
        auto *spin = new QSpinBox(m_stripContent);
        spin->setObjectName(QString::fromLatin1(name) + QString::number(slot));
        spin->setRange(0, max);
        spin->setGeometry(x, y, 46, 19);
        spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        spin->installEventFilter(this); // its wheel scrolls the strip
        connect(spin, &QSpinBox::valueChanged, this, [this, slot] {
            const SlotView &v = m_views[slot];
            m_program.Slots[slot].value1 =
                QString::number(icon::joinTime({v.hour->value(), v.minute->value(), v.second->value()}));
            m_modified = true;
            recordControlEdit(slot, 3);
        });
        watchEditGroup(spin);
        return spin;
    };
    // One row each for hours, minutes and seconds, wide enough for two digits and the arrows.
    view.hour = makeSpin("Spin_Edit_Hour", 18, left + 24, 32 + 103);
    view.minute = makeSpin("Spin_Edit_Minute", 59, left + 24, 32 + 123);
    view.second = makeSpin("Spin_Edit_Second", 59, left + 24, 32 + 143);
    for (QSpinBox *spin : {view.hour, view.minute, view.second})
        spin->show();
}

void IconEditorWindow::freeSlotControls(int slot)
{
    SlotView &view = m_views[slot];
    const auto free = [](auto *&control) {
        delete control;
        control = nullptr;
    };
    free(view.bar1);
    free(view.edit1);
    free(view.bar2);
    free(view.edit2);
    free(view.hour);
    free(view.minute);
    free(view.second);
}

// The slot's picture and controls from its texts. Values pass through the
// controls without marking the program: the texts are already what they show.
void IconEditorWindow::showSlot(int slot)
{
    const IconSlot &s = m_program.Slots[slot];
    SlotView &view = m_views[slot];
    showPicture(view.picture, icon::iconPath(s.code.toInt()));
    if (s.isEmpty())
        return;
    if (s.code.toInt() == code::Time)
        createTimeControls(slot);
    else
        createValueControls(slot);
    fillControls(slot);
}

void IconEditorWindow::fillControls(int slot)
{
    const IconSlot &s = m_program.Slots[slot];
    SlotView &view = m_views[slot];
    if (view.hour) {
        const icon::Hms time = icon::splitTime(s.value1.toInt());
        for (auto [spin, value] : {std::pair{view.hour, time.hours}, {view.minute, time.minutes},
                                   {view.second, time.seconds}}) {
            const QSignalBlocker block(spin);
            spin->setValue(value);
        }
        return;
    }
    for (int n : {1, 2}) {
        QSlider *bar = n == 1 ? view.bar1 : view.bar2;
        QLineEdit *edit = n == 1 ? view.edit1 : view.edit2;
        const ArgumentState state = icon::storedValue(argumentValue(s, n), bar->minimum(), bar->maximum());
        const QSignalBlocker blockBar(bar);
        bar->setValue(state.slider);
        edit->setText(state.box);
    }
}

void IconEditorWindow::rebuildSlotViews()
{
    for (int i = 0; i < icon::SlotCount; ++i) {
        freeSlotControls(i);
        showSlot(i);
    }
}

} // namespace kr31
