// What needs a real X server (run under xvfb-run): one real drag from the
// palette onto a slot, with the mouse driven by xdotool, and pastes from the X clipboard.
#include "editors/icon/ui/IconEditorWindow.h"
#include "report/ui/ReportWindow.h"
#include "support/ui/UiRig.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

class TestRealDrag : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dragLightOntoSlotOne()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("needs an X display and xdotool");
        UiRig rig;
        rig.settings.setWizardStart(0);
        auto *editor = rig.form<IconEditorWindow>(8);
        editor->move(0, 0);
        rig.forms.open(nullptr, 8);
        QVERIFY(QTest::qWaitForWindowExposed(editor));

        auto *light = editor->findChild<QLabel *>("Image3");
        auto *slot = editor->findChild<QLabel *>("Drop_image2");
        const QPoint from = light->mapToGlobal(light->rect().center());
        const QPoint to = slot->mapToGlobal(slot->rect().center());
        const auto at = [](QPoint p) { return QStringList{"mousemove", QString::number(p.x()), QString::number(p.y())}; };
        QStringList script = at(from) + QStringList{"mousedown", "1", "sleep", "0.2"} + at(from + QPoint(12, 12)) +
                             QStringList{"sleep", "0.2"} + at((from + to) / 2) + QStringList{"sleep", "0.2"} + at(to) +
                             QStringList{"sleep", "0.3", "mouseup", "1"};
        QProcess xdotool;
        xdotool.start("xdotool", script);
        QTRY_COMPARE_WITH_TIMEOUT(editor->program().Slots[1].code, QStringLiteral("18"), 10000);
        // It may have ended while the drag was awaited (waitForFinished then says false).
        QTRY_COMPARE_WITH_TIMEOUT(xdotool.state(), QProcess::NotRunning, 10000);
        QCOMPARE(xdotool.exitCode(), 0);
        QCOMPARE(editor->program().Slots[1], (IconSlot{"18", "0", "1"}));
        QVERIFY(editor->program().Slots[0].isEmpty());
    }

    // Ctrl+V in the report's impressions box with nothing on the X clipboard
    // pastes nothing; with text, the text.
    void pasteIntoTheImpressionsBox()
    {
        UiRig rig;
        auto *box = rig.form<ReportWindow>(14)->findChild<QPlainTextEdit *>("Memo2");
        box->setPlainText("a");
        box->moveCursor(QTextCursor::End);
        QApplication::clipboard()->clear();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), QStringLiteral("a"));
        QApplication::clipboard()->setText(QStringLiteral("かんそう"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), QStringLiteral("aかんそう"));
    }
};

QTEST_MAIN(TestRealDrag)
#include "tst_RealDrag.moc"
