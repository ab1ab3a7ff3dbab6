#include "core/Messages.h"
#include "core/Recovery.h"
#include "core/TextFile.h"
#include "support/TempHome.h"
#include "support/TinyDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTest>

#include <future>

#include <sys/wait.h>
#include <unistd.h>

using namespace kr31;
using namespace kr31::test;

namespace {

const QDateTime Written(QDate(2026, 12, 7), QTime(23, 40, 12));

recovery::Found found(const QString &name, std::optional<QStringList> lines)
{
    return {name, Written, std::move(lines)};
}

} // namespace

Q_DECLARE_METATYPE(recovery::Found)

class TestRecovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Edits at the given ticks; then the first tick at which the copy is due.
    void debounce_data()
    {
        QTest::addColumn<QList<quint32>>("edits");
        QTest::addColumn<quint32>("firstDue");
        QTest::newRow("one edit settles") << QList<quint32>{100} << quint32(1100);
        QTest::newRow("a burst settles after its last") << QList<quint32>{0, 200, 400, 600} << quint32(1500);
        QTest::newRow("a pause then more") << QList<quint32>{0, 1300} << quint32(1000);
        // Typing on without a pause of a second still gives a copy 1.5 s after the first edit.
        QTest::newRow("edits without a pause") << QList<quint32>{0, 300, 600, 900, 1200, 1500, 1800} << quint32(1500);
        QTest::newRow("counter wraps") << QList<quint32>{0xFFFFFF00u} << quint32(0xFFFFFF00u + 1000);
    }
    void debounce()
    {
        QFETCH(QList<quint32>, edits);
        QFETCH(quint32, firstDue);
        recovery::Debounce d;
        QVERIFY(!d.due(edits.first()));
        // Walk the clock in 10 ms steps, editing at the given ticks, until a copy is due.
        quint32 now = edits.first();
        qsizetype next = 0;
        for (int step = 0; step < 1000; ++step, now += 10) {
            while (next < edits.size() && edits.at(next) == now)
                d.edited(edits.at(next++));
            // With no edit before it, the wait told is the wait there is.
            if (next == edits.size() || edits.at(next) > firstDue)
                QCOMPARE(quint32(now + d.msUntilDue(now)), firstDue);
            if (d.due(now))
                break;
        }
        QCOMPARE(now, firstDue);
        QCOMPARE(d.msUntilDue(now), 0u);
        QCOMPARE(d.msUntilDue(now + 100000), 0u); // overdue
        d.clear();
        QCOMPARE(d.msUntilDue(now), 0u);
        QVERIFY(!d.due(now + 100000));
        QVERIFY(!d.pending());
    }

    void plan_data()
    {
        QTest::addColumn<QList<recovery::Found>>("files");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("discarded");
        const QStringList icon = {"DD", "16", "27"};
        QTest::newRow("icon copy") << QList<recovery::Found>{found("Icon.kr3", icon)} << QStringList{"Icon.kr3"}
                                   << QStringList{};
        QTest::newRow("LED marker") << QList<recovery::Found>{found("Icon.kr3", QStringList{"LED", "100"})}
                                    << QStringList{"Icon.kr3"} << QStringList{};
        QTest::newRow("unreadable") << QList<recovery::Found>{found("Icon.kr3", std::nullopt)} << QStringList{}
                                    << QStringList{"Icon.kr3"};
        QTest::newRow("empty") << QList<recovery::Found>{found("Icon.kr3", QStringList{})} << QStringList{}
                               << QStringList{"Icon.kr3"};
        QTest::newRow("melody in the icon copy")
            << QList<recovery::Found>{found("Icon.kr3", QStringList{"MELODY", "60"})} << QStringList{}
            << QStringList{"Icon.kr3"};
        QTest::newRow("garbage") << QList<recovery::Found>{found("Icon.kr3", QStringList{"\x01\x02PK"})}
                                 << QStringList{} << QStringList{"Icon.kr3"};
        QTest::newRow("foreign names")
            << QList<recovery::Found>{found("notes.txt", icon), found("Icon.kr3.tmp", icon), found("Paint.kr3", icon)}
            << QStringList{} << QStringList{"notes.txt", "Icon.kr3.tmp", "Paint.kr3"};
        QTest::newRow("editors' order, not the folder's")
            << QList<recovery::Found>{found("Melody.kr3", QStringList{"MELODY"}), found("Icon.kr3", icon),
                                      found("Flowchart.kr3", QStringList{"FURO"})}
            << QStringList{"Icon.kr3", "Flowchart.kr3", "Melody.kr3"} << QStringList{};
        // Copies of earlier runs set aside under their time: newest first.
        auto at = [](const QString &name, const QStringList &lines, int minutes) {
            return recovery::Found{name, Written.addSecs(60 * minutes), lines};
        };
        QTest::newRow("copies set aside")
            << QList<recovery::Found>{at("Icon-20261201-100000.kr3", icon, -9000), at("Icon.kr3", icon, 0),
                                      at("Icon-20261207-2300.kr3", icon, -40), at("Text-20261207-230000.kr3", QStringList{"WORD"}, 0)}
            << QStringList{"Icon.kr3", "Icon-20261207-2300.kr3", "Icon-20261201-100000.kr3", "Text-20261207-230000.kr3"}
            << QStringList{};
        QTest::newRow("names only like a set-aside copy")
            << QList<recovery::Found>{found("Icon-.kr3", icon), found("Icon-old.kr3", icon), found("Paint-20261207.kr3", icon),
                                      found("Icon-20261207-230000.kr3", QStringList{"MELODY"})}
            << QStringList{} << QStringList{"Icon-20261207-230000.kr3", "Icon-.kr3", "Icon-old.kr3", "Paint-20261207.kr3"};
    }
    void plan()
    {
        QFETCH(QList<recovery::Found>, files);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, discarded);
        const recovery::Plan plan = recovery::plan(files);
        QStringList names;
        for (const recovery::Offer &offer : plan.offers) {
            names.append(offer.fileName);
            QVERIFY(offer.fileName.startsWith(offer.editor.key));
        }
        QCOMPARE(names, offered);
        QCOMPARE(plan.discard, discarded);
    }

    void questionNamesTheEditorAndTheTime()
    {
        const recovery::Plan plan = recovery::plan({found("Icon.kr3", QStringList{"DD"})});
        QCOMPARE(plan.offers.size(), 1);
        QCOMPARE(plan.offers.first().question,
                 QStringLiteral("アイコンでつくったプログラムが保存されずに残っています（12月7日 23:40）。\n"
                                "もどしますか？（「いいえ」で消えます）"));
        QCOMPARE(plan.offers.first().lines, QStringList{"DD"});
    }

    void copiesLiveInTheRecoveryFolder()
    {
        TempHome home;
        const QByteArray bytes = textfile::encodeLines({"DD", "16", "ドレミ"});
        QVERIFY(recovery::writeCopy("Icon", bytes));
        QCOMPARE(recovery::copyPath("Icon"), home.home() + "/.local/state/kr31/recovery/Icon.kr3");
        QCOMPARE(home.readRecoveryFile("Icon.kr3"), bytes);
        const QList<recovery::Found> copies = recovery::findCopies();
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies.first().fileName, QStringLiteral("Icon.kr3"));
        QCOMPARE(copies.first().lines, (QStringList{"DD", "16", "ドレミ"}));
        recovery::removeCopy("Icon");
        recovery::removeCopy("Icon"); // twice is no fault
        QVERIFY(recovery::findCopies().isEmpty());
    }

    // A second kr31 on the same work folder leaves the first one's copies
    // alone; a lock whose process was killed stands in no one's way. The
    // program takes the lock on another thread at start: the answer is the
    // same.
    void theLockDecidesWhoKeepsTheCopies_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("otherRuns");
        QTest::addColumn<bool>("firstLookElsewhere");
        QTest::newRow("another kr31 runs") << "runs" << true << false;
        QTest::newRow("the other kr31 was killed") << "killed" << false << false;
        QTest::newRow("a killed kr31 had this process's number") << "same number" << false << false;
        QTest::newRow("another kr31 runs, first look on another thread") << "runs" << true << true;
        QTest::newRow("the other kr31 was killed, first look on another thread") << "killed" << false << true;
    }
    void theLockDecidesWhoKeepsTheCopies()
    {
        QFETCH(QString, other);
        QFETCH(bool, otherRuns);
        QFETCH(bool, firstLookElsewhere);
        TempHome home;
        const QByteArray theirs = textfile::encodeLines({"DD", "16"});
        home.writeRecoveryFile("Icon.kr3", theirs);
        const QString lockPath = recovery::folder() + "kr31.lock";
        QLockFile theirLock(lockPath);
        if (other == "runs") {
            QVERIFY(theirLock.tryLock(0));
        } else if (other == "same number") {
            QVERIFY(theirLock.tryLock(0));
            QFile file(lockPath);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray left = file.readAll();
            file.close();
            theirLock.unlock();
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(left);
            file.close();
        } else {
            // A process that takes the lock and dies without letting it go.
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                QLockFile dying(lockPath);
                ::_exit(dying.tryLock(0) ? 0 : 1);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            QVERIFY(QFile::exists(lockPath));
        }
        QCOMPARE(recovery::lockPath(), lockPath);

        if (firstLookElsewhere) {
            auto look = std::async(std::launch::async, [] { return recovery::keepsCopies(); });
            QCOMPARE(recovery::keepsCopies(), !otherRuns); // racing the other thread's look
            QCOMPARE(look.get(), !otherRuns);
        }
        QCOMPARE(recovery::keepsCopies(), !otherRuns);
        const QList<recovery::Found> found = recovery::findCopies();
        QCOMPARE(found.size(), otherRuns ? 0 : 1); // the lock itself is never a copy
        QString error;
        QCOMPARE(recovery::writeCopy("Text", textfile::encodeLines({"WORD"}), &error), !otherRuns);
        QCOMPARE(error.isEmpty(), !otherRuns);
        recovery::removeCopy("Icon");
        QCOMPARE(home.readRecoveryFile("Icon.kr3"), otherRuns ? theirs : QByteArray());
        QCOMPARE(QFile::exists(recovery::folder() + "Text.kr3"), !otherRuns);
        if (otherRuns) {
            theirLock.unlock();
            QVERIFY(!recovery::keepsCopies()); // decided once, at the first look
        }
    }

    // Copies an earlier version left in the work folder move to the state
    // folder at the first look, keeping their times; one that cannot be moved
    // stays and is still found.
    void oldCopiesMoveOutOfTheWorkFolder_data()
    {
        QTest::addColumn<QString>("state"); // where the state folder is
        QTest::newRow("same disk") << "";
        QTest::newRow("another disk") << "other";
        QTest::newRow("another disk, full") << "full";
    }
    void oldCopiesMoveOutOfTheWorkFolder()
    {
        QFETCH(QString, state);
        TinyDisk disk; // outlives the home, whose end lets go of the lock on it
        TempHome home;
        if (!state.isEmpty() && (!disk.available() || !QDir().mkpath(home.home() + "/.local") ||
                                 !QFile::link(disk.path(""), home.home() + "/.local/state")))
            QSKIP(disk.whyNot());
        const QDateTime when(QDate(2026, 12, 1), QTime(10, 0, 0));
        home.writeRecoveryFile("Icon.kr3", "DD\r\n17\r\n"); // this version's own
        QVERIFY(recovery::keepsCopies());
        const QString old = home.workFolder() + "Recovery/";
        QVERIFY(QDir().mkpath(old));
        for (const QString name : {"Icon.kr3", "Text-20261130-090000.kr3"}) {
            QFile file(old + name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("DD\r\n16\r\n") && file.flush() &&
                    file.setFileTime(when, QFileDevice::FileModificationTime));
        }
        if (state == "full")
            disk.fill();
        QStringList found;
        for (const recovery::Found &f : recovery::findCopies()) {
            found.append(f.folder + f.fileName);
            const bool ours = found.last() == recovery::copyPath("Icon");
            QCOMPARE(f.lines->last(), ours ? "17" : "16");
            QCOMPARE(QFileInfo(found.last()).lastModified() == when, !ours); // times kept
        }
        const QString to = state == "full" ? old : recovery::folder();
        const QString aside = state == "full" ? "Icon.kr3" : "Icon-20261201-100000.kr3";
        QCOMPARE(QSet(found.begin(), found.end()),
                 QSet<QString>({recovery::copyPath("Icon"), to + "Text-20261130-090000.kr3", to + aside}));
        QCOMPARE(QFileInfo::exists(old), state == "full");
    }

    // Only files named as our copies leave the old folder: the learner's own
    // files stay, and a link (the folder or an entry) is never followed.
    void theOldFolderKeepsWhatIsNotOurs_data()
    {
        QTest::addColumn<QString>("link"); // what is a link: "", "folder" or "entry"
        QTest::addColumn<QStringList>("moved");
        QTest::newRow("a learner's file beside a crash copy stays") << "" << QStringList{"Icon.kr3"};
        QTest::newRow("the folder as a link is left alone") << "folder" << QStringList{};
        QTest::newRow("an entry that is a link stays") << "entry" << QStringList{"Icon.kr3"};
    }
    void theOldFolderKeepsWhatIsNotOurs()
    {
        QFETCH(QString, link);
        QFETCH(QStringList, moved);
        TempHome home;
        const QString old = home.workFolder() + "Recovery";
        const QString elsewhere = home.home() + "/mine";
        QVERIFY(QDir().mkpath(elsewhere) && (link == "folder" ? QFile::link(elsewhere, old) : QDir().mkpath(old)));
        const QString in = link == "folder" ? elsewhere : old;
        const QByteArray copy = "DD\r\n16\r\n";
        const QByteArray mine = "learner's own";
        QMap<QString, QByteArray> files{
            {in + "/Icon.kr3", copy}, {in + "/notes.txt", mine}, {elsewhere + "/a.kr3", mine}};
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(it.key());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
        }
        if (link == "entry")
            QVERIFY(QFile::link(elsewhere + "/a.kr3", old + "/Text.kr3"));

        // As a start does it: what the plan discards goes.
        for (const QString &path : recovery::plan(recovery::findCopies()).discard)
            QFile::remove(path);

        for (const QString &name : moved)
            QCOMPARE(home.readRecoveryFile(name), files.take(in + "/" + name));
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(it.key()); // the rest stays where it was, as it was
            QVERIFY2(file.open(QIODevice::ReadOnly) && file.readAll() == it.value(), qPrintable(it.key()));
        }
        QCOMPARE(QFileInfo(old).isSymLink(), link == "folder");
        QCOMPARE(QFileInfo(old + "/Text.kr3").isSymLink(), link == "entry");
        QCOMPARE(QDir(recovery::folder()).entryList(QDir::Files | QDir::System, QDir::Name),
                 moved + QStringList{"kr31.lock"});
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_Recovery.moc"
