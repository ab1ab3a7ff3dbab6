#include "editors/flowchart/ui/CommandDialogWindow.h"

#include "core/TextTools.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/ValueCoupling.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

namespace kr31 {

namespace {

const QString ButtonFolder = QStringLiteral("Img/Common_Button/");
const Place OkPlace{"OK", 216, 232, 150, 50};
const Place ByePlace{"FuroBye", 456, 8, 35, 35};

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
        m_labels[i]->setGeometry(296, 24 + 24 * i, 190, 20);
        m_labels[i]->setFont(bold);
        m_labels[i]->setStyleSheet(QStringLiteral("background: white; padding: 0 2px;"));
    }

    m_menu = new QComboBox(this);
    m_menu->setObjectName(QStringLiteral("ComboBox1"));
    m_menu->setGeometry(272, 145, 137, 22);
    m_menu->setMaxVisibleItems(12);
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

    addButton(ButtonFolder, OkPlace, [this] { OKClick(); });
    addButton(ButtonFolder, ByePlace, [this] { FuroByeClick(); });
    bindKey(keys::Accept, {QStringLiteral("OK")});
    bindKey(keys::Cancel, {QStringLiteral("FuroBye")});
}

void CommandDialogWindow::setMenuItems(const QStringList &items)
{
    ensureBuilt();
    m_filling = true;
    m_menu->clear();
    m_menu->addItems(items);
    m_filling = false;
}

void CommandDialogWindow::setPicture(const QString &path)
{
    ensureBuilt();
    showPicture(m_background, path);
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
    // The dialog has no captions of its own: the values say what they are when pointed at.
    for (QWidget *w : {static_cast<QWidget *>(m_bar1), static_cast<QWidget *>(m_edit1)})
        w->setToolTip(flow::valueLabel1(item));
    for (QWidget *w : {static_cast<QWidget *>(m_bar2), static_cast<QWidget *>(m_edit2)})
        w->setToolTip(flow::valueLabel2(item));
    m_bar1->setVisible(flow::hasValue1(item));
    m_edit1->setVisible(flow::hasValue1(item));
    m_bar2->setVisible(flow::hasValue2(item));
    m_edit2->setVisible(flow::hasValue2(item));
}

void CommandDialogWindow::FormShow()
{
    const bool noValues =
        EditCode == QLatin1String("100") || EditCode == QLatin1String("Sub") || EditCode.isEmpty();
    m_labels[0]->setText(flow::commandNameOf(EditCode, EditValue1));
    m_labels[1]->setText(noValues ? QString() : EditValue1);
    m_labels[2]->setText(noValues ? QString() : EditValue2);
    const QString value1 = EditValue1.isEmpty() ? QStringLiteral("0") : EditValue1;
    const QString value2 = EditValue2.isEmpty() ? QStringLiteral("0") : EditValue2;

    int item = flow::itemOfEntry(EditCode, EditValue1);
    if (item >= m_menu->count())
        item = 0;
    m_filling = true;
    m_menu->setCurrentIndex(item);
    m_filling = false;

    const int min1 = flow::valueMin1(item);
    if (EditCode == QLatin1String("100") || EditCode == QLatin1String("Sub")) {
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
    ChosenItem = m_menu->currentIndex();
    ChosenValue1 = m_edit1->text();
    ChosenValue2 = m_edit2->text();
    if (auto *editor = dynamic_cast<FlowchartEditorWindow *>(forms().form(5))) {
        if (InsertMode == 1)
            editor->InsertEntry(ChosenItem, ChosenValue1, ChosenValue2);
        else
            editor->ReplaceEntry(ChosenItem, ChosenValue1, ChosenValue2);
    }
    hide();
}

void CommandDialogWindow::FuroByeClick()
{
    hide();
}

} // namespace kr31
