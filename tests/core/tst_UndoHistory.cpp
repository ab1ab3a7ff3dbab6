#include "core/UndoHistory.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "editors/icon/IconProgram.h"
#include "melody/Melody.h"
#include "melody/NoteCode.h"

#include <QRegularExpression>
#include <QTest>

#include <vector>

using namespace kr31;

namespace {

// Edit n of a script, made with the model's own operations; each one leaves
// the model different from what it was.
void edit(IconProgram &program, int n)
{
    program.load(n % icon::SlotCount, 19, QString::number(n % 101), QString::number(1 + n / 101));
}

void edit(FlowchartProgram &program, int n)
{
    const QString value = QString::number(n % 101);
    const int count = program.entryCount(0);
    if (count < 40 || program.Pages[0][n % count] == QStringLiteral("18,") + value) {
        QVERIFY(program.append(2, value, {}).ok());
    } else {
        program.SelectedEntry = n % count;
        QVERIFY(program.replaceEntry(2, value, {}).ok());
    }
}

void edit(Melody &melody, int n)
{
    if (n % 3 == 2) {
        // A link value moved on the link page.
        const int index = n % melody::LinkValues;
        melody.setLinkValue(index, (melody.linkValues[index] + 7) % 101);
    } else {
        QVERIFY(melody.append(n % 2, note::codeOf(n % 37, n % 4)));
    }
}

// A script: e edit, g edit in group 1, c close the group, u undo, r redo,
// s save, o open a file (a fresh model, the history reset). A letter may
// carry a count ("e150").
struct Outcome
{
    int state; // which of the states the script made the model now equals (0: the first)
    int undo;
    int redo;
    bool saved;
};

template <class Model, class Same = std::equal_to<Model>>
Outcome play(const QString &script)
{
    Model model;
    UndoHistory<Model, Same> history(model);
    std::vector<Model> states{model};
    int n = 0;
    const auto step = [&](QChar op) {
        switch (op.unicode()) {
        case 'e':
        case 'g':
            edit(model, n++);
            states.push_back(model);
            history.commit(model, op == u'g' ? 1 : 0);
            break;
        case 'c': history.closeGroup(); break;
        case 'u':
            if (auto back = history.undo(model))
                model = *back;
            break;
        case 'r':
            if (auto forward = history.redo(model))
                model = *forward;
            break;
        case 's': history.markSaved(model); break;
        case 'o':
            model = Model{};
            edit(model, n++);
            states.push_back(model);
            history.reset(model);
            break;
        }
    };
    static const QRegularExpression token(QStringLiteral("([egcursol])(\\d*)"));
    for (auto it = token.globalMatch(script); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int times = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        for (int i = 0; i < times; ++i)
            step(m.captured(1).at(0));
    }
    int state = -1;
    for (int i = int(states.size()) - 1; i >= 0 && state < 0; --i) {
        if (Same{}(states[i], model))
            state = i;
    }
    return {state, history.undoCount(), history.redoCount(), history.isSaved()};
}

} // namespace

class TestUndoHistory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scripts_data();
    void scripts();
    void flowchartPageOnShowIsNoStep();
    void groupThatComesBackLeavesNoStep();
    void recoveredWorkHasNoSavedState();
};

void TestUndoHistory::scripts_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("undo");
    QTest::addColumn<int>("redo");
    QTest::addColumn<bool>("saved");

    struct Row
    {
        const char *name, *script;
        int state, undo, redo;
        bool saved;
    };
    const Row rows[] = {
        {"fresh model", "", 0, 0, 0, true},
        {"undo with nothing to undo", "u", 0, 0, 0, true},
        {"redo with nothing to redo", "er", 1, 1, 0, false},
        {"an edit undone", "eu", 0, 0, 1, true},
        {"an undo redone", "eur", 1, 1, 0, false},
        {"undo twice, redo once", "eeeuur", 2, 2, 1, false},
        {"a new edit drops the redo steps", "eeeuue", 4, 2, 0, false},
        {"redo after a new edit does nothing", "eeuer", 3, 2, 0, false},
        {"undo back to the save clears the mark", "eseu", 1, 1, 1, true},
        {"undo past the save sets it again", "esu", 0, 0, 1, false},
        {"redo back to the save", "esur", 1, 1, 0, true},
        {"a save dropped with the redo steps is gone", "eesueu", 1, 1, 1, false},
        {"saving twice keeps the last", "esesu", 1, 1, 1, false},
        {"opening forgets every step", "eeuo", 3, 0, 0, true},
        {"edits after opening undo to the file", "eoeeuu", 2, 0, 2, true},
        {"a group is one step", "ggg", 3, 1, 0, false},
        {"a group undone at once", "gggu", 0, 0, 1, true},
        {"a closed group starts a new step", "ggcgg", 4, 2, 0, false},
        {"an edit between ends the group", "ggegg", 5, 3, 0, false},
        {"an undo ends the group", "ggurgg", 4, 2, 0, false},
        {"a save ends the group", "ggsggu", 2, 1, 1, true},
        {"100 steps are kept", "e100u100", 0, 0, 100, true},
        {"100 steps redone", "e100u100r100", 100, 100, 0, false},
        {"past the depth the oldest steps are dropped", "e150u150", 50, 0, 100, false},
        {"a saved state dropped past the depth", "e101u101", 1, 0, 100, false},
        {"a depth of steps after the save", "se100u100", 0, 0, 100, true},
    };
    for (const char *model : {"icon", "flowchart", "melody"}) {
        for (const Row &row : rows) {
            QTest::addRow("%s: %s", model, row.name)
                << QString::fromLatin1(model) << QString::fromLatin1(row.script) << row.state << row.undo << row.redo
                << row.saved;
        }
    }
}

void TestUndoHistory::scripts()
{
    QFETCH(QString, model);
    QFETCH(QString, script);
    QFETCH(int, state);
    QFETCH(int, undo);
    QFETCH(int, redo);
    QFETCH(bool, saved);

    Outcome outcome{};
    if (model == QLatin1String("icon"))
        outcome = play<IconProgram>(script);
    else if (model == QLatin1String("flowchart"))
        outcome = play<FlowchartProgram, flow::SamePages>(script);
    else
        outcome = play<Melody>(script);
    QCOMPARE(outcome.state, state);
    QCOMPARE(outcome.undo, undo);
    QCOMPARE(outcome.redo, redo);
    QCOMPARE(outcome.saved, saved);
}

// Showing another page is no edit; an undo goes back to the page the edit was made on.
void TestUndoHistory::flowchartPageOnShowIsNoStep()
{
    FlowchartProgram program;
    UndoHistory<FlowchartProgram, flow::SamePages> history(program);
    QVERIFY(program.addSubroutine().ok()); // shows page 1
    history.commit(program);
    program.CurrentPage = 0;
    QVERIFY(!history.commit(program));
    QCOMPARE(history.undoCount(), 1);
    program.CurrentPage = 1;
    history.commit(program);
    QVERIFY(program.append(0, {}, {}).ok());
    QVERIFY(history.commit(program));
    program.CurrentPage = 0; // the learner looks at the main program, then undoes

    const auto back = history.undo(program);
    QVERIFY(back);
    QCOMPARE(back->entries(1), QStringList());
    QCOMPARE(back->CurrentPage, 1);
    QCOMPARE(back->SubroutineCount, 1);
    const auto forward = history.redo(*back);
    QVERIFY(forward);
    QCOMPARE(forward->entries(1), QStringList{QStringLiteral("16")});
    QVERIFY(!history.isSaved());
}

// A slider dragged away and back to where it was: no step, and the saved state holds again.
void TestUndoHistory::groupThatComesBackLeavesNoStep()
{
    Melody melody;
    UndoHistory<Melody> history(melody);
    const int start = melody.linkValues[4];
    for (int value : {90, 70, 50, 70, start}) {
        melody.setLinkValue(4, value);
        history.commit(melody, 5);
    }
    QCOMPARE(history.undoCount(), 0);
    QVERIFY(history.isSaved());
    melody.setLinkValue(4, 20); // dragged on: a step again
    QVERIFY(history.commit(melody, 5));
    QCOMPARE(history.undoCount(), 1);
    QCOMPARE(history.undo(melody)->linkValues[4], start);
}

void TestUndoHistory::recoveredWorkHasNoSavedState()
{
    IconProgram program;
    QVERIFY(program.drop(0, 16));
    UndoHistory<IconProgram> history;
    history.reset(program, false);
    QVERIFY(!history.isSaved());
    QVERIFY(program.drop(1, 17));
    history.commit(program);
    QVERIFY(history.undo(program));
    QVERIFY(!history.isSaved());
    history.markSaved(program);
    QVERIFY(history.isSaved());
}

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "tst_UndoHistory.moc"
