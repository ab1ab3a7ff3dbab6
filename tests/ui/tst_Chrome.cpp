#include "core/RealClock.h"
#include "support/Fakes.h"
#include "support/ui/UiRig.h"
#include "core/PictureCache.h"
#include "core/Resources.h"
#include "ui/DrawnAheadLabel.h"
#include "ui/Modules.h"
#include "ui/Printing.h"
#include "core/Messages.h"
#include "ui/PictureButton.h"
#include "ui/Pictures.h"
#include "ui/QtDialogs.h"
#include "ui/TitleStrip.h"
#include "ui/menu/MainMenuWindow.h"
#include "app/Startup.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>

#include <fcntl.h>
#include <clocale>
#include <langinfo.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kr31;
using namespace kr31::test;

// The cache of decoded pictures in a folder of its own, for one test.
struct TempCache
{
    QTemporaryDir dir;
    TempCache() { qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache")))); }
    ~TempCache() { qunsetenv("XDG_CACHE_HOME"); }
};

class TestChrome : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void messageBoxesSpeakJapanese()
    {
        QVERIFY(installJapaneseTranslation());
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QVERIFY(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
        QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
        QVERIFY(box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("キャンセル")));
    }

    // What Qt's own Japanese translation lacks is filled in; what it has stays its own.
    void fileDialogTextsSpeakJapanese()
    {
        QVERIFY(installJapaneseTranslation());
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("フォルダー"));
        QVERIFY(QCoreApplication::translate("QFileDialog", "&Open").contains(QStringLiteral("開く")));
        QCOMPARE(QCoreApplication::translate("SomethingElse", "Folder"), QStringLiteral("Folder"));
    }

    void fileDialogsStartInTheWorkFolder()
    {
        TempHome home;
        QtDialogs dialogs;
        QCOMPARE(dialogs.startFolder(), home.workFolder());
    }

    void windowsFontNamesMapToInstalledFonts()
    {
        installFontSubstitutions();
        QCOMPARE(QFont::substitute(QStringLiteral("ＭＳ Ｐゴシック")).toLower(), QStringLiteral("ipapgothic"));
        QCOMPARE(QFont::substitute(QStringLiteral("ＭＳ　ゴシック")).toLower(), QStringLiteral("ipagothic"));
        QCOMPARE(QFont::substitute(QStringLiteral("FixedSys")).toLower(), QStringLiteral("ipagothic"));
    }

    // Start-up decodes no picture of a hidden window; showing one decodes all
    // of its pictures before it is painted.
    void windowsDecodeTheirPicturesAtTheirFirstShowing_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 1; number <= 17; ++number)
            QTest::addRow("TForm%d", number) << number;
    }
    void windowsDecodeTheirPicturesAtTheirFirstShowing()
    {
        QFETCH(int, number);
        UiRig rig;
        rig.settings.setWizardStart(0);
        FormWindow *window = rig.forms.form(number);
        const auto decoded = [&] {
            int n = 0;
            for (const QLabel *label : window->findChildren<QLabel *>())
                n += !label->pixmap().isNull();
            return n;
        };
        QCOMPARE(decoded(), 0);
        const int waiting = pendingPictureCount(window);
        QVERIFY(waiting > 0);
        window->show();
        QCOMPARE(pendingPictureCount(window), 0);
        QCOMPARE(decoded(), waiting);
        for (const PictureButton *button : window->findChildren<PictureButton *>())
            QVERIFY2(!button->pixmap().isNull(), qPrintable(button->objectName()));
        // Once shown, a picture asked for is decoded at once.
        window->hide();
        auto *late = new QLabel(window);
        QVERIFY(loadPicture(late, QStringLiteral("Img/Menu/Bye.jpg")));
        QVERIFY(!late->pixmap().isNull());
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // The start-up begins decoding the menu's pictures before the menu is
    // made; forgetting the kept pictures meanwhile waits for them.
    void picturesOfAHiddenWindowDecodedWhenAsked()
    {
        UiRig rig;
        forgetKeptPictures();
        FormWindow *menu = rig.forms.form(2);
        auto *back = menu->findChild<QLabel *>(QStringLiteral("Image1"));
        QVERIFY(back->pixmap().isNull());
        loadPendingPictures(menu);
        QVERIFY(!back->pixmap().isNull());
        QCOMPARE(back->pixmap().size(), QSize(600, 400));
        QVERIFY(!menu->isVisible());
    }

    // A picture decoded once is read back from the cache at the next start
    // while its file stays as it was; any change to the file, or a broken
    // entry, means decoding the file again.
    void decodedPicturesAreKeptBetweenRuns_data()
    {
        QTest::addColumn<QString>("afterwards");
        QTest::addColumn<bool>("fromCache");
        QTest::newRow("file unchanged") << "nothing" << true;
        QTest::newRow("file touched") << "touch" << false;
        QTest::newRow("entry cut short") << "cut entry" << false;
        QTest::newRow("entry of another file") << "other entry" << false;
        // Whole entries whose pixels no image can take as they are.
        QTest::newRow("lines too short for the pixels") << "narrow lines" << false;
        QTest::newRow("pixels with a colour table") << "indexed" << false;
        QTest::newRow("format of no image") << "unknown format" << false;
    }
    void decodedPicturesAreKeptBetweenRuns()
    {
        QFETCH(QString, afterwards);
        QFETCH(bool, fromCache);
        QTemporaryDir dir;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
        const QString picture = dir.filePath(QStringLiteral("Img/Menu/Bye.jpg"));
        QVERIFY(QDir().mkpath(QFileInfo(picture).path()));
        QVERIFY(QFile::copy(binDir() + QStringLiteral("/Img/Menu/Bye.jpg"), picture));
        const auto age = [&](time_t seconds) {
            const timespec t{time(nullptr) - seconds, 0};
            const timespec times[2] = {t, t};
            return ::utimensat(AT_FDCWD, QFile::encodeName(picture).constData(), times, 0) == 0;
        };
        QVERIFY(age(3600));
        // The copy changed a moment ago: such a picture is kept only when told.
        picturecache::setRecentWindow(std::chrono::nanoseconds(0));
        setResourceFolder(dir.path());
        forgetKeptPictures();
        const QImage real(picture);
        QCOMPARE(kr31::picture(QStringLiteral("Img/Menu/Bye.jpg")).toImage(), real.convertToFormat(QImage::Format_RGB32));
        const QString entryPath = picturecache::entryFile(picture);
        QFile entryFile(entryPath);
        QVERIFY(entryFile.open(QIODevice::ReadOnly));
        QByteArray entry = entryFile.readAll();
        entryFile.close();
        // Pixels only the cache can hold, to tell where the next picture came from.
        const auto parsed = picturecache::parse(entry);
        QVERIFY(parsed);
        const qsizetype pixelsAt = entry.size() - parsed->pixels.size();
        entry.replace(pixelsAt, parsed->pixels.size(), QByteArray(parsed->pixels.size(), '\x7f'));
        if (afterwards == "touch") {
            QVERIFY(age(1800));
        } else if (afterwards == "cut entry") {
            entry.chop(5);
        } else if (afterwards == "other entry") {
            QVERIFY(QFile::rename(entryPath, entryPath + ".old"));
        } else if (afterwards != "nothing") {
            picturecache::Entry forged = *picturecache::parse(entry);
            const QByteArray narrow(forged.height * ((forged.width + 3) / 4 * 4), '\x7f');
            if (afterwards == "narrow lines") {
                forged.bytesPerLine = (forged.width + 3) / 4 * 4;
                forged.pixels = narrow;
            } else {
                forged.format = afterwards == "indexed" ? int(QImage::Format_Indexed8) : 60;
            }
            entry = picturecache::serialize(forged);
            QVERIFY(picturecache::parse(entry)); // whole: only the image refuses it
        }
        if (afterwards != "other entry") {
            QVERIFY(entryFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
            entryFile.write(entry);
            entryFile.close();
        } else {
            // The entry of Bye.jpg stands under the name of another picture's entry.
            QVERIFY(QFile::rename(entryPath + ".old", picturecache::entryFile(dir.filePath("Img/Menu/DD.jpg"))));
            QVERIFY(QFile::copy(picture, dir.filePath("Img/Menu/DD.jpg")));
        }
        forgetKeptPictures();
        const QString name = afterwards == "other entry" ? QStringLiteral("Img/Menu/DD.jpg") : QStringLiteral("Img/Menu/Bye.jpg");
        const QImage shown = kr31::picture(name).toImage();
        QCOMPARE(shown.size(), real.size());
        QCOMPARE(shown.pixel(5, 5) == qRgb(0x7f, 0x7f, 0x7f), fromCache);
        if (!fromCache)
            QCOMPARE(shown, real.convertToFormat(QImage::Format_RGB32));
        forgetKeptPictures();
        setResourceFolder({});
        qunsetenv("XDG_CACHE_HOME");
        picturecache::setRecentWindow(std::chrono::seconds(2));
    }

    // A file changed a moment ago could change again without its size and
    // times showing it: it is not kept.
    void pictureChangedAMomentAgoIsNotKept()
    {
        QTemporaryDir dir;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Img/Menu"))));
        QVERIFY(QFile::copy(binDir() + QStringLiteral("/Img/Menu/Bye.jpg"), dir.filePath(QStringLiteral("Img/Menu/Bye.jpg"))));
        setResourceFolder(dir.path());
        forgetKeptPictures();
        QVERIFY(!kr31::picture(QStringLiteral("Img/Menu/Bye.jpg")).isNull());
        QVERIFY(!QFile::exists(picturecache::entryFile(dir.filePath(QStringLiteral("Img/Menu/Bye.jpg")))));
        forgetKeptPictures();
        setResourceFolder({});
        qunsetenv("XDG_CACHE_HOME");
    }

    // A label's texts drawn ahead on another thread look exactly as the label
    // would draw them; anything that changed since, or a text not drawn ahead,
    // is drawn as a plain label draws it.
    void labelTextsDrawnAheadLookAsDrawnInPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("drawnAhead");
        QTest::newRow("a text drawn ahead") << "2" << "" << true;
        QTest::newRow("a text not drawn ahead") << "7" << "" << false;
        QTest::newRow("font changed since") << "2" << "font" << false;
        QTest::newRow("colour changed since") << "2" << "colour" << false;
        QTest::newRow("resized since") << "2" << "size" << false;
        QTest::newRow("alignment changed since") << "2" << "alignment" << false;
        QTest::newRow("disabled") << "2" << "disabled" << false;
        QTest::newRow("word wrap") << "2" << "wrap" << false;
        QTest::newRow("rich text") << "<b>2</b>" << "" << false;
        QTest::newRow("font sized in points") << "2" << "points" << false;
    }

    void labelTextsDrawnAheadLookAsDrawnInPlace()
    {
        const TempCache cache;
        QFETCH(QString, text);
        QFETCH(QString, change);
        QFETCH(bool, drawnAhead);
        auto setUp = [&](QLabel &label, bool beforeDrawing) {
            QFont font = label.font();
            if (change == QLatin1String("points") && beforeDrawing)
                font.setPointSize(20);
            else
                font.setPixelSize(27);
            font.setBold(true);
            label.setFont(font);
            label.setGeometry(0, 0, 17, 26);
            label.setAlignment(Qt::AlignCenter);
            if (beforeDrawing)
                return;
            if (change == QLatin1String("font")) {
                font.setItalic(true);
                label.setFont(font);
            } else if (change == QLatin1String("colour")) {
                QPalette palette = label.palette();
                palette.setColor(QPalette::WindowText, Qt::red);
                label.setPalette(palette);
            } else if (change == QLatin1String("size")) {
                label.resize(20, 26);
            } else if (change == QLatin1String("alignment")) {
                label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
            } else if (change == QLatin1String("disabled")) {
                label.setEnabled(false);
            } else if (change == QLatin1String("wrap")) {
                label.setWordWrap(true);
            }
            label.setText(text);
        };
        DrawnAheadLabel ahead;
        setUp(ahead, true);
        ahead.drawAhead({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("<b>2</b>")});
        setUp(ahead, false);
        QCOMPARE(ahead.hasDrawnAhead(), drawnAhead);

        QLabel plain;
        setUp(plain, true);
        setUp(plain, false);
        QCOMPARE(ahead.grab().toImage(), plain.grab().toImage());
    }

    // Texts drawn ahead are kept between runs: the next label takes them
    // without drawing, and draws them again after its first paint, keeping
    // and showing the new pictures when they differ (fonts changed since) or
    // when what was kept is broken.
    void labelTextsDrawnAheadAreKeptAndCheckedAfterThePaint_data()
    {
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("takenAtOnce");
        QTest::newRow("as drawn") << "as drawn" << true;
        QTest::newRow("drawn otherwise since") << "otherwise" << true;
        QTest::newRow("cut short") << "cut" << false;
    }

    void labelTextsDrawnAheadAreKeptAndCheckedAfterThePaint()
    {
        QFETCH(QString, kept);
        QFETCH(bool, takenAtOnce);
        const TempCache cache;
        const QStringList texts{QStringLiteral("1"), QStringLiteral("2")};
        auto setUp = [](QLabel &label) {
            QFont font = label.font();
            font.setPixelSize(27);
            label.setFont(font);
            label.resize(17, 26);
            label.setAlignment(Qt::AlignCenter);
            label.setText(QStringLiteral("2"));
        };
        QLabel plain;
        setUp(plain);
        const QImage expected = plain.grab().toImage();
        {
            DrawnAheadLabel first;
            setUp(first);
            first.drawAhead(texts);
            QVERIFY(first.hasDrawnAhead());
            QVERIFY(!first.checking()); // drawn, not taken
        }
        const QStringList entries = QDir(picturecache::folder()).entryList(QDir::Files);
        QCOMPARE(entries.size(), 2);
        if (kept != QLatin1String("as drawn")) {
            for (const QString &name : entries) {
                QFile file(QDir(picturecache::folder()).filePath(name));
                QVERIFY(file.open(QIODevice::ReadWrite));
                QByteArray bytes = file.readAll();
                if (kept == QLatin1String("cut"))
                    bytes.chop(7);
                else // pixels that are not the text
                    bytes.replace(bytes.size() - 40, 40, QByteArray(40, '\x7f'));
                QVERIFY(file.resize(0));
                file.write(bytes);
            }
        }
        DrawnAheadLabel next;
        setUp(next);
        next.drawAhead(texts);
        QCOMPARE(next.checking(), takenAtOnce);
        QVERIFY(next.hasDrawnAhead());
        QCOMPARE(next.grab().toImage() == expected, kept != QLatin1String("otherwise"));
        QTRY_VERIFY(!next.checking()); // drawn again after that paint
        QCOMPARE(next.grab().toImage(), expected);
        // What is kept now is right.
        DrawnAheadLabel third;
        setUp(third);
        third.drawAhead(texts);
        QCOMPARE(third.grab().toImage(), expected);
        QTRY_VERIFY(!third.checking());
    }

    // The menu's transfer mode digit is drawn ahead as the menu finally stands
    // (after its style has polished it), not only as it was made.
    void menuDigitIsDrawnAheadWhenTheMenuShows()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        auto *menu = rig.form<MainMenuWindow>(2);
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        auto *digit = menu->findChild<DrawnAheadLabel *>(QStringLiteral("Label1"));
        QVERIFY(digit);
        QCOMPARE(digit->text(), QStringLiteral("0"));
        QVERIFY(digit->hasDrawnAhead());
    }

    // Parts loaded when first needed are found beside the program's pictures;
    // a missing file or function is told, not a crash.
    void modulesAreFoundBesideThePictures_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("function");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("why"); // a part of the reason told when not found
        QTest::newRow("the printer module") << PrinterModule << PrintWithDialogName << true << "";
        QTest::newRow("a function it lacks") << PrinterModule << "kr31_noSuchFunction" << false << "kr31_noSuchFunction";
        QTest::newRow("a module that is not there") << "libkr31nothing.so" << PrintWithDialogName << false
                                                    << "libkr31nothing.so";
    }

    void modulesAreFoundBesideThePictures()
    {
        QFETCH(QString, module);
        QFETCH(QString, function);
        QFETCH(bool, found);
        QFETCH(QString, why);
        setResourceFolder(binDir());
        QString told;
        void *address = moduleFunction(module.toUtf8().constData(), function.toUtf8().constData(), &told);
        setResourceFolder({});
        QCOMPARE(address != nullptr, found);
        QVERIFY2(told.contains(why), qPrintable(told));
    }

    // Without its module the program cannot print: the user is told, once, as
    // for any missing program file, and nothing is drawn.
    void printingWithoutItsModuleTellsTheUser()
    {
        FakeDialogs dialogs;
        QtPrinting printing(dialogs, "libkr31nothing.so");
        bool drawn = false;
        const auto result = printing.print(nullptr, [&drawn](QPagedPaintDevice &) { return drawn = true; });
        QCOMPARE(result, Printing::Result::Cancelled);
        QVERIFY(!drawn);
        QCOMPARE(dialogs.warnings, QStringList{msg::FileMissing101});
    }

    // The splash is hidden once the menu is made; the program lets it go
    // after the menu's first paint.
    void splashIsHiddenOnceTheMenuIsMade()
    {
        UiRig rig;
        Forms forms{rig.services};
        std::unique_ptr<QWidget> splash = createWindows(forms);
        std::vector<std::unique_ptr<FormWindow>> owned;
        for (FormWindow *form : forms.all())
            owned.emplace_back(form);
        QVERIFY(splash);
        QCOMPARE(splash->objectName(), QStringLiteral("TForm15"));
        QVERIFY(!splash->isVisible());
        const QRect menu = forms.existing(2)->frameGeometry();
        QCOMPARE(menu.size(), QSize(600, 400));
        QCOMPARE(splash->size(), QSize(400, 267));
    }

    // A guide page prepared ahead leaves its window as it was: not made, not
    // shown; the pane drawn off screen goes. Shown afterwards, the window
    // shows its page as before.
    void guidePagesPreparedAheadLeaveTheirWindowsAsTheyWere()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        for (int number : {1, 8, 9, 5, 2, 99})
            prepareGuidePage(rig.forms, number);
        for (int number : {1, 8, 9}) {
            FormWindow *form = rig.forms.existing(number);
            QVERIFY(!form->isVisible());
            QVERIFY(!form->shownBefore());
            QVERIFY2(!form->isBuilt(), qPrintable(form->objectName()));
        }
        for (const QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<const QTextBrowser *>(w), "a pane drawn off screen stayed");
        rig.form(8)->show();
        const auto *pane = rig.forms.existing(8)->findChild<QTextBrowser *>();
        QVERIFY(pane);
        QCOMPARE(pane->source().fileName(), QStringLiteral("index.html"));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // The mouse coming onto a menu picture tells which window may open next,
    // once each time the picture lights up.
    void menuTellsWhichWindowTheMouseIsAbout_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("form");
        QTest::newRow("icons") << "Image2" << 8;
        QTest::newRow("flowchart") << "Image3" << 5;
        QTest::newRow("text") << "Image5" << 9;
        QTest::newRow("melody") << "Image4" << 4;
        QTest::newRow("brightness") << "Image6" << 3;
        QTest::newRow("alarm sounds") << "Image7" << 13;
    }
    void menuTellsWhichWindowTheMouseIsAbout()
    {
        QFETCH(QString, picture);
        QFETCH(int, form);
        UiRig rig;
        rig.settings.setWizardStart(0);
        auto *menu = rig.form<MainMenuWindow>(2);
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QSignalSpy pointed(menu, &MainMenuWindow::toolPointedAt);
        auto *target = menu->findChild<QWidget *>(picture);
        QVERIFY(target);
        for (int x : {10, 12, 14})
            QTest::mouseMove(target, QPoint(x, 10));
        QTRY_COMPARE(pointed.size(), 1);
        QCOMPARE(pointed.first().first().toInt(), form);
        QCOMPARE(MainMenuWindow::pictureOpening(form), picture);
    }

    // The pictures the start-up reads ahead for the menu are the ones its
    // first showing shows, no fewer and no more.
    void menuPicturesReadAheadAreTheOnesItShows()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        auto *menu = rig.form<MainMenuWindow>(2);
        const QStringList ahead = MainMenuWindow::pictures();
        QCOMPARE(pendingPictureCount(menu), int(ahead.size()));
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QSet<qint64> shown;
        for (const QLabel *label : menu->findChildren<QLabel *>())
            shown.insert(label->pixmap().cacheKey());
        for (const QString &path : ahead)
            QVERIFY2(shown.contains(kr31::picture(path).cacheKey()), qPrintable(path));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // The tool pictures show the hand once the menu has painted.
    void menuToolsShowTheHandAfterTheFirstPaint()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        auto *menu = rig.form<MainMenuWindow>(2);
        auto *tool = menu->findChild<QLabel *>(QStringLiteral("Image2"));
        QVERIFY(tool);
        QCOMPARE(tool->cursor().shape(), Qt::ArrowCursor);
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QTRY_COMPARE(tool->cursor().shape(), Qt::PointingHandCursor);
    }

    // What waits for a window's first paint runs after that paint has
    // finished, once, in the order asked; never for a window gone first.
    void firstPaintWaitersRunAfterThePaintInOrder()
    {
        struct Logged : QWidget
        {
            QStringList *log;
            explicit Logged(QStringList *l) : log(l) { resize(60, 40); }
            void paintEvent(QPaintEvent *) override { log->append(QStringLiteral("paint")); }
        };
        QStringList log;
        Logged window(&log);
        whenFirstPainted(&window, [&log] { log.append(QStringLiteral("first")); });
        whenFirstPainted(&window, [&log] { log.append(QStringLiteral("second")); });
        whenFirstPainted(&window, [&log] { log.append(QStringLiteral("ahead")); }, PaintTurn::BeforeOthers);
        window.show();
        QTRY_VERIFY(log.contains(QStringLiteral("second")));
        QCOMPARE(log.mid(log.indexOf(QStringLiteral("ahead")) - 1, 4),
                 QStringList({QStringLiteral("paint"), QStringLiteral("ahead"), QStringLiteral("first"),
                              QStringLiteral("second")}));
        window.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(log.count(QStringLiteral("first")), 1);
        // Asked after the first paint: the next one.
        whenFirstPainted(&window, [&log] { log.append(QStringLiteral("third")); });
        window.repaint();
        QTRY_VERIFY(log.contains(QStringLiteral("third")));

        bool ran = false;
        auto gone = std::make_unique<QWidget>();
        whenFirstPainted(gone.get(), [&ran] { ran = true; });
        gone.reset();
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QCoreApplication::processEvents();
        QVERIFY(!ran);
    }

    void titleStripDragsItsWindow()
    {
        UiRig rig;
        FormWindow *settings = rig.forms.form(6);
        settings->move(100, 100);
        settings->show();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        auto *strip = settings->findChild<QLabel *>("Image1");
        const QPoint start = settings->pos();
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(strip, QPoint(50, 45));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(50, 45));
        QCOMPARE(settings->pos(), start + QPoint(30, 25));
        // Released: moving no longer drags.
        QTest::mouseMove(strip, QPoint(80, 80));
        QCOMPARE(settings->pos(), start + QPoint(30, 25));
    }

    // No control lies over a sibling, in a window or its plain containers; pictures
    // behind everything, title strips and marks the mouse passes through aside.
    void noControlCoversAnother_data() { windowsDecodeTheirPicturesAtTheirFirstShowing_data(); }
    void noControlCoversAnother()
    {
        QFETCH(int, number);
        UiRig rig;
        QList<QWidget *> parents{rig.forms.form(number)};
        parents[0]->show();
        while (!parents.isEmpty()) {
            QWidget *parent = parents.takeFirst();
            QList<QWidget *> list = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            list.removeIf([parent](QWidget *w) {
                return !w->isVisible() || !w->geometry().intersects(parent->rect()) || w->findChild<TitleStrip *>() ||
                       w->testAttribute(Qt::WA_TransparentForMouseEvents) ||
                       w->width() * w->height() * 3 > parent->width() * parent->height() * 2;
            });
            for (qsizetype i = 0; i < list.size(); ++i) {
                if (QByteArrayList{"QWidget", "QGroupBox", "QFrame"}.contains(list[i]->metaObject()->className()))
                    parents << list[i];
                for (qsizetype j = i + 1; j < list.size(); ++j)
                    QVERIFY2(!list[i]->geometry().intersects(list[j]->geometry()),
                             qPrintable(list[i]->objectName() + " / " + list[j]->objectName()));
            }
        }
    }

    void closingAWindowShownOverOthersOnlyHidesIt()
    {
        UiRig rig;
        QSignalSpy ended(rig.form<MainMenuWindow>(2), &MainMenuWindow::closed);
        for (int number : {7, 17}) {
            FormWindow *window = rig.forms.form(number);
            window->show();
            QVERIFY(window->close());
            QVERIFY(!window->isVisible());
        }
        QCOMPARE(ended.size(), 0);
        // A tool window closed from the desktop ends the program like its Bye button.
        rig.forms.form(3)->show();
        QVERIFY(!rig.forms.form(3)->close());
        QCOMPARE(ended.size(), 1);
    }

    // Japanese whatever the session's language, and UTF-8 characters even on
    // a system without a Japanese C library locale (Qt and the window
    // system's library both expect them). Changes this process's locale, so
    // it comes near the end.
    void programLocaleIsJapaneseWithUtf8Characters()
    {
        setlocale(LC_ALL, "C"); // as every program starts
        useJapaneseLocale();
        QCOMPARE(QByteArray(nl_langinfo(CODESET)), QByteArray("UTF-8"));
        QCOMPARE(qgetenv("LC_ALL"), QByteArray("ja_JP.UTF-8"));
    }

    // Without a session bus the program asks for none to be started; a bus
    // the session has is used as it is.
    void noBusIsStartedWhereNoneRuns_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<bool>("socketInRuntimeFolder");
        QTest::addColumn<QByteArray>("used");
        QTest::newRow("none anywhere") << QByteArray() << false << QByteArray("disabled:");
        QTest::newRow("in the environment") << QByteArray("unix:path=/run/user/1000/bus") << false
                                            << QByteArray("unix:path=/run/user/1000/bus");
        QTest::newRow("socket in the runtime folder") << QByteArray() << true << QByteArray();
    }
    void noBusIsStartedWhereNoneRuns()
    {
        QFETCH(QByteArray, address);
        QFETCH(bool, socketInRuntimeFolder);
        QFETCH(QByteArray, used);
        const QByteArray keptAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        const QByteArray keptRuntime = qgetenv("XDG_RUNTIME_DIR");
        QTemporaryDir runtime;
        // A file named like the socket is not a bus.
        QFile plain(runtime.filePath(QStringLiteral("bus")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (socketInRuntimeFolder) {
            QVERIFY(QFile::remove(plain.fileName()));
            sockaddr_un where {};
            where.sun_family = AF_UNIX;
            qstrncpy(where.sun_path, QFile::encodeName(plain.fileName()).constData(), sizeof where.sun_path);
            QVERIFY(::bind(sock, reinterpret_cast<sockaddr *>(&where), sizeof where) == 0);
        }
        ::close(sock);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        useNoBusUnlessRunning();
        const QByteArray got = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("DBUS_SESSION_BUS_ADDRESS", keptAddress);
        qputenv("XDG_RUNTIME_DIR", keptRuntime);
        QCOMPARE(got, used);
    }

    void waitingSurvivesTheCounterWrapping_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<quint32>("now");
        QTest::addColumn<bool>("done");
        QTest::newRow("not yet") << 1000u << 1499u << false;
        QTest::newRow("exactly") << 1000u << 1500u << true;
        QTest::newRow("across the wrap, not yet") << 0xFFFFFF00u << 0x000000F3u << false;
        QTest::newRow("across the wrap, done") << 0xFFFFFF00u << 0x000000F4u << true;
    }
    void waitingSurvivesTheCounterWrapping()
    {
        QFETCH(quint32, start);
        QFETCH(quint32, now);
        QFETCH(bool, done);
        QCOMPARE(waited(start, now, 500), done);
    }
};

QTEST_MAIN(TestChrome)
#include "tst_Chrome.moc"
