// The text window's control comes from its module, loaded when the window is
// first built. This test does not link the module (nor its library): it finds
// the module in the resource folder, or does not when that folder lacks it.
#include "core/Messages.h"
#include "editors/text/ui/TextControl.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "support/ui/UiRig.h"
#include "core/Recovery.h"
#include "core/TextFile.h"
#include "ui/Modules.h"
#include "ui/RecoveryOffer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <link.h>

using namespace kr31;
using namespace kr31::test;

namespace {

// True when a library whose file name contains part is loaded in this process.
bool loaded(const char *part)
{
    struct Search
    {
        const char *part;
        bool found;
    } search{part, false};
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            auto *search = static_cast<Search *>(data);
            if (info->dlpi_name && QByteArray(info->dlpi_name).contains(search->part))
                search->found = true;
            return 0;
        },
        &search);
    return search.found;
}

} // namespace

class TestTextControlModule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Runs first, while the module is not loaded in this process yet.
    void missingModuleKeepsTheMenuAndSaysWhy()
    {
        QTemporaryDir resources;
        QVERIFY(linkResourcesExcept(resources.path(), {}));
        QVERIFY(!QFileInfo::exists(resources.filePath(QString::fromLatin1(TextControlModule))));
        UiRig rig(resources.path());
        rig.settings.setWizardStart(0);
        auto *editor = rig.form<TextEditorWindow>(9);
        QVERIFY(editor->isBuilt());
        QVERIFY(!editor->control());
        QVERIFY(rig.dialogs.informations.isEmpty()); // said when the window is opened

        FormWindow *menu = rig.form(2);
        rig.forms.open(menu, 9);
        rig.settle();
        QVERIFY(!editor->isVisible());
        QVERIFY(menu->isVisible());
        QCOMPARE(rig.dialogs.informations.size(), 1);
        const QString said = rig.dialogs.informations.first();
        QVERIFY(said.startsWith(msg::textControlMissing(QString())));
        QVERIFY2(said.contains(QLatin1String(TextControlModule)), qPrintable(said));
        // Every way in says it again rather than showing an empty window.
        rig.forms.open(menu, 9);
        QCOMPARE(rig.dialogs.informations.size(), 2);
        QVERIFY(!editor->isVisible());

        // What other windows and the start-up call on it does nothing harmful.
        editor->setProgramLines({"ON();"});
        QCOMPARE(editor->programLines(), QStringList{QString()});
        QVERIFY(!editor->isModified());
        editor->Undo();
        editor->Redo();
        editor->showLampStep(0);
        editor->openFile(testData(QStringLiteral("cli/text_word.kr3")));
        QCOMPARE(editor->markedLine(), -1);
        QVERIFY(!loaded("qscintilla"));

        // Text work left by a crash is neither offered nor lost: it waits
        // for a run that can open the text window.
        const QByteArray work = textfile::encodeLines({"WORD", "ON();"});
        recovery::folder();
        rig.home.writeRecoveryFile(QStringLiteral("Text.kr3"), work);
        RecoveryOffer offer(rig.forms);
        offer.ask();
        QVERIFY(rig.dialogs.questions.isEmpty());
        QCOMPARE(rig.home.readRecoveryFile(QStringLiteral("Text.kr3")), work);
    }

    void controlIsLoadedWhenTheWindowIsBuilt()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        // The start-up made every window but loaded neither the module nor its library.
        QVERIFY(!loaded(TextControlModule));
        QVERIFY(!loaded("qscintilla"));
        QVERIFY(!loaded("libasound")); // loaded when sound is first needed

        auto *editor = rig.form<TextEditorWindow>(9);
        TextControl *control = editor->control();
        QVERIFY(control);
        QVERIFY(loaded(TextControlModule));
        QWidget *edit = control->widget();
        QCOMPARE(edit->objectName(), QStringLiteral("SonEdit1"));
        QCOMPARE(edit->parentWidget(), editor);
        QCOMPARE(edit->geometry(), QRect(28, 114, 339, 368));
        QVERIFY(edit->inherits("QsciScintilla"));

        // Found in the build's bin folder, where the rig points the resources.
        QString why;
        void *make = moduleFunction(TextControlModule, MakeTextControlSymbol, &why);
        QVERIFY2(make, qPrintable(why));
        Dl_info info{};
        QVERIFY(dladdr(make, &info));
        QCOMPARE(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath(),
                 QFileInfo(binDir() + u'/' + QLatin1String(TextControlModule)).canonicalFilePath());

        rig.forms.open(rig.form(2), 9);
        rig.settle();
        QVERIFY(editor->isVisible());
        QVERIFY(rig.dialogs.informations.isEmpty());
        QTest::keyClicks(edit, QStringLiteral("ON();\rOFF(); // end"));
        QCOMPARE(editor->programLines(), (QStringList{"ON();", "OFF(); // end"}));
        QVERIFY(editor->isModified());
        editor->Undo();
        QVERIFY(editor->programLines() != (QStringList{"ON();", "OFF(); // end"}));

        editor->setProgramLines(QStringList(12000, QStringLiteral("ON();"))); // the number margin widens
        QVERIFY(control->numberMarginWidth() > QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("12000")));
    }
};

QTEST_MAIN(TestTextControlModule)
#include "tst_TextControlModule.moc"
