#include "core/Cp932.h"
#include "core/TextFile.h"
#include "core/Geometry.h"
#include "core/TextTools.h"

#include <QTest>

using namespace kr31;

class TestTextTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void integerCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("integer");
        QTest::newRow("digits") << "123" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("plus sign") << "+5" << true;
        QTest::newRow("minus") << "-5" << true;
        QTest::newRow("minus zero") << "-0" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("blank inside") << "1 2" << false;
        QTest::newRow("leading blank") << " 1" << false;
        QTest::newRow("letter") << "x" << false;
        QTest::newRow("decimal point") << "1.5" << false;
        QTest::newRow("fullwidth digits") << "１２" << false;
        QTest::newRow("too big for int") << "99999999999" << false;
    }
    void integerCheck()
    {
        QFETCH(QString, text);
        QFETCH(bool, integer);
        QCOMPARE(text::isInteger(text), integer);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("every occurrence") << "a-b-c" << "-" << "+" << "a+b+c";
        QTest::newRow("non overlapping from the left") << "aaaa" << "aa" << "b" << "bb";
        QTest::newRow("three of two-char") << "aaa" << "aa" << "b" << "ba";
        QTest::newRow("empty pattern") << "abc" << "" << "x" << "abc";
        QTest::newRow("replacement contains pattern") << "ab" << "a" << "aa" << "aab";
        QTest::newRow("Japanese placeholder") << "<td>Com_1</td>" << "Com_1" << "点灯" << "<td>点灯</td>";
    }
    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        QCOMPARE(text::replaceAll(text, pattern, replacement), result);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("byte");
        // percent * 255 / 100: 10 -> 25.5 -> 26, 30 -> 76.5 -> 76, 50 -> 127.5 -> 128
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("10") << 10 << 26;
        QTest::newRow("30") << 30 << 76;
        QTest::newRow("50") << 50 << 128;
        QTest::newRow("70") << 70 << 178;
        QTest::newRow("90") << 90 << 230;
        QTest::newRow("100") << 100 << 255;
        QTest::newRow("1") << 1 << 3;
    }
    void roundHalfEven()
    {
        QFETCH(int, percent);
        QFETCH(int, byte);
        QCOMPARE(text::roundHalfEven(qint64(percent) * 255, 100), qint64(byte));
    }

    // The virtual lamp beside its editor on a 1280 x 1024 screen (a 750 x 500
    // editor, a 420 x 500 lamp, 8 apart).
    void windowBesideAnEditor_data()
    {
        QTest::addColumn<QRect>("editor");
        QTest::addColumn<QPoint>("window");
        QTest::addColumn<int>("editorLeft");
        QTest::newRow("room on the right") << QRect(0, 100, 750, 500) << QPoint(758, 100) << 0;
        QTest::newRow("room on the left only") << QRect(500, 100, 750, 500) << QPoint(72, 100) << 500;
        // Centred, neither side has room: the editor moves over.
        QTest::newRow("no side has room") << QRect(265, 262, 750, 500) << QPoint(809, 262) << 51;
        QTest::newRow("kept on screen vertically") << QRect(0, 700, 750, 300) << QPoint(758, 524) << 0;
    }
    void windowBesideAnEditor()
    {
        QFETCH(QRect, editor);
        QFETCH(QPoint, window);
        QFETCH(int, editorLeft);
        const BesidePlace place = placeBeside(QRect(0, 0, 1280, 1024), editor, QSize(420, 500), 8);
        QCOMPARE(place.window, window);
        QCOMPARE(place.editorLeft, editorLeft);
    }

    void windowTooWideForBothGoesToTheRightEdge()
    {
        const BesidePlace place = placeBeside(QRect(0, 0, 1024, 768), QRect(137, 134, 750, 500), QSize(420, 500), 8);
        QCOMPARE(place.editorLeft, 137); // the editor stays
        QCOMPARE(place.window, QPoint(604, 134));
    }

    void roundHalfEvenNegative()
    {
        QCOMPARE(text::roundHalfEven(-5, 10), qint64(0));
        QCOMPARE(text::roundHalfEven(-15, 10), qint64(-2));
        QCOMPARE(text::roundHalfEven(-16, 10), qint64(-2));
    }

    void cp932RoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "LED" << QByteArray("LED");
        QTest::newRow("kana and kanji") << "繰り返し" << QByteArray("\x8c\x4a\x82\xe8\x95\xd4\x82\xb5");
        QTest::newRow("fullwidth tilde") << QString(QChar(0xFF5E)) << QByteArray("\x81\x60");
        QTest::newRow("fullwidth minus") << QString(QChar(0xFF0D)) << QByteArray("\x81\x7c");
        QTest::newRow("so with 0x5C trail byte") << "ソ" << QByteArray("\x83\x5c");
    }
    void cp932RoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(cp932::encode(text), bytes);
        QCOMPARE(cp932::decode(bytes), text);
        QVERIFY(cp932::canEncode(text));
    }

    void cp932Unencodable()
    {
        const QString text = QStringLiteral("a\U0001F600b");
        QVERIFY(!cp932::canEncode(text));
        QCOMPARE(cp932::encode(text), QByteArray("a?b"));
        // A broken lead byte at the end does not swallow the text before it.
        QCOMPARE(cp932::decode(QByteArray("ab\x82")), QStringLiteral("ab") + QChar(0xFFFD));
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("LF") << "a\nb" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed with empty line") << "a\r\n\nb" << QStringList{"a", "", "b"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(textfile::splitLines(text), lines);
    }

    void encodeLinesEndsEveryLineWithCrLf()
    {
        QCOMPARE(textfile::encodeLines({"LED", "点灯"}), QByteArray("LED\r\n\x93\x5f\x93\x94\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTextTools)
#include "tst_TextTools.moc"
