#include "melody/Melody.h"
#include "melody/NoteCode.h"
#include "melody/ScoreLayout.h"

#include <QTest>

using namespace kr31;

class TestMelody : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void codeFacts_data();
    void codeFacts();
    void keyboardKeys_data();
    void keyboardKeys();
    void positions();
    void voiceLimit();
    void popupEdits();
    void scrolling_data();
    void scrolling();
    void hitTest_data();
    void hitTest();
    void linkValuesStayInRange();
    void screenLayoutOfWorkedExample();
    void printGeometry_data();
    void printGeometry();
    void printRows();
};

void TestMelody::codeFacts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("hz");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QChar>("glyph");
    QTest::addColumn<QChar>("label");
    QTest::addColumn<int>("ledgers");
    QTest::addColumn<bool>("below");
    QTest::addColumn<int>("halfSteps");
    const QChar none;
    const QChar keep = u'?'; // the caller's text stays
    QTest::newRow("C3 eighth") << 48 << 131 << 1 << QChar(u'd') << QChar(u't') << 4 << true << 10;
    QTest::newRow("C#3 eighth") << 49 << 139 << 1 << QChar(u'm') << QChar(u'o') << 4 << true << 10;
    QTest::newRow("E3 eighth") << 52 << 165 << 1 << QChar(u'd') << QChar(u'v') << 3 << true << 8;
    QTest::newRow("B3 eighth") << 59 << 247 << 1 << QChar(u'd') << QChar(u'z') << 1 << true << 4;
    QTest::newRow("A#4 eighth, last stem up") << 70 << 466 << 1 << QChar(u'm') << QChar(u's') << 0 << false << -2;
    QTest::newRow("B4 eighth, first stem down") << 71 << 494 << 1 << QChar(u'4') << QChar(u'z') << 0 << false << 2;
    QTest::newRow("C6 eighth") << 84 << 1047 << 1 << QChar(u'4') << QChar(u't') << 2 << false << -6;
    QTest::newRow("eighth rest") << 85 << 0 << 1 << QChar(u'f') << none << 0 << false << -1;
    QTest::newRow("C3 quarter") << 86 << 131 << 2 << QChar(u'c') << QChar(u't') << 4 << true << 10;
    QTest::newRow("C#5 quarter") << 111 << 554 << 2 << QChar(u'7') << QChar(u'o') << 0 << false << 1;
    QTest::newRow("quarter rest") << 123 << 0 << 2 << QChar(u'g') << none << 0 << false << -1;
    QTest::newRow("C3 dotted") << 124 << 131 << 3 << QChar(u'b') << QChar(u't') << 4 << true << 10;
    QTest::newRow("dotted rest") << 161 << 0 << 3 << QChar(u'h') << none << 0 << false << -1;
    QTest::newRow("C3 half") << 162 << 131 << 4 << QChar(u'a') << QChar(u't') << 4 << true << 10;
    QTest::newRow("C#4 half, last below") << 175 << 277 << 4 << QChar(u'j') << QChar(u'o') << 1 << true << 3;
    QTest::newRow("D4 half") << 176 << 294 << 4 << QChar(u'a') << QChar(u'u') << 0 << false << 2;
    QTest::newRow("G#5 half") << 194 << 831 << 4 << QChar(u'5') << QChar(u'r') << 0 << false << -3;
    QTest::newRow("A5 half") << 195 << 880 << 4 << QChar(u'1') << QChar(u'y') << 1 << false << -4;
    QTest::newRow("C6 half") << 198 << 1047 << 4 << QChar(u'1') << QChar(u't') << 2 << false << -6;
    QTest::newRow("half rest") << 199 << 0 << 4 << QChar(u'i') << none << 0 << false << -1;
    QTest::newRow("empty slot") << 204 << 0 << 4 << keep << keep << 0 << false << 0;
    QTest::newRow("alarm pattern") << 200 << 0 << 4 << keep << keep << 0 << false << 0;
    QTest::newRow("below the codes") << 47 << 0 << 4 << keep << keep << 0 << false << 0;
}

void TestMelody::codeFacts()
{
    QFETCH(int, code);
    QFETCH(int, hz);
    QCOMPARE(note::frequency(code), hz);
    QFETCH(int, factor);
    QCOMPARE(note::lengthFactor(code), factor);
    QFETCH(QChar, glyph);
    QFETCH(QChar, label);
    QCOMPARE(note::glyphLetter(code, u'?'), glyph);
    QCOMPARE(note::labelLetter(code, u'?'), label);
    QFETCH(int, ledgers);
    QCOMPARE(note::ledgerLines(code), ledgers);
    QFETCH(bool, below);
    QCOMPARE(note::ledgersBelow(code), below);
    QFETCH(int, halfSteps);
    QCOMPARE(note::halfStepOffset(code), halfSteps);
}

void TestMelody::keyboardKeys_data()
{
    QTest::addColumn<int>("virtualKey");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("image");
    QTest::newRow("A: C3") << 0x41 << 48 << "Image1";
    QTest::newRow("K: C#3") << 0x4B << 49 << "Image24";
    QTest::newRow("J: B3") << 0x4A << 59 << "Image7";
    QTest::newRow("Q: C4") << 0x51 << 60 << "Image8";
    QTest::newRow("at-sign: G#4") << 0xC0 << 68 << "Image32";
    QTest::newRow("8: C6") << 0x38 << 84 << "Image22";
    QTest::newRow("yen: A#5") << 0xDC << 82 << "Image38";
    QTest::newRow("space: rest") << 0x20 << 85 << "Image23";
    QTest::newRow("Z: nothing") << 0x5A << -1 << "";
    QTest::newRow("F5: nothing") << 0x74 << -1 << "";
}

void TestMelody::keyboardKeys()
{
    QFETCH(int, virtualKey);
    QFETCH(int, tag);
    QCOMPARE(note::keyTag(virtualKey), tag);
    QFETCH(QString, image);
    QCOMPARE(note::keyImageName(tag), image);
}

void TestMelody::positions()
{
    Melody m;
    QCOMPARE(m.positions(0), QList<int>{});
    QCOMPARE(m.lastPosition(0), 0);
    m.notes[0] = {86};
    QCOMPARE(m.positions(0), (QList<int>{70, 106}));
    m.notes[1] = {48, 124, 199, 85};
    QCOMPARE(m.positions(1), (QList<int>{70, 88, 142, 214, 232}));
    QCOMPARE(m.lastPosition(1), 232);
}

void TestMelody::voiceLimit()
{
    Melody m;
    for (int i = 0; i < note::MaxNotes; ++i)
        QVERIFY(m.append(1, 60));
    const Melody full = m;
    QVERIFY(!m.append(1, 60));
    QVERIFY(!m.insert(1, 0, 61));
    QCOMPARE(m, full);
    QVERIFY(m.append(0, 60)); // the other voice still takes notes
    QCOMPARE(m.end[1], 95 * 18);
}

void TestMelody::popupEdits()
{
    Melody m;
    m.append(0, 48);
    m.append(0, 123);
    m.append(0, 175);
    const std::array<int, 2> end = m.end;
    QVERIFY(m.insert(0, 1, 60));
    QCOMPARE(m.notes[0], (QList<int>{48, 60, 123, 175}));
    QVERIFY(m.replace(0, 0, 84));
    QVERIFY(m.changeLength(0, 2, 0)); // a rest stays a rest
    QVERIFY(m.changeLength(0, 3, 1)); // C#4 half to quarter
    QCOMPARE(m.notes[0], (QList<int>{84, 60, 85, 99}));
    QVERIFY(m.remove(0, 1));
    QCOMPARE(m.notes[0], (QList<int>{84, 85, 99}));
    QCOMPARE(m.positions(0), (QList<int>{70, 88, 106, 142}));
    QCOMPARE(m.end, end); // the menu's edits leave the ends alone
    QVERIFY(!m.remove(0, 3));
    QVERIFY(!m.replace(1, 0, 60));
    QVERIFY(!m.insert(0, 4, 60));
    m.link = true;
    m.linkValues[3] = 20;
    m.clear();
    QVERIFY(m.isEmpty());
    QVERIFY(!m.link);
    QCOMPARE(m.linkValues[3], 20);
    QCOMPARE(m.end, (std::array<int, 2>{0, 0}));
}

void TestMelody::scrolling_data()
{
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("scroll");
    QTest::newRow("432") << 432 << 0;
    QTest::newRow("450") << 450 << 18;
    QTest::newRow("6767") << 6767 << 6335;
    QTest::newRow("6768") << 6768 << 6181;
    QTest::newRow("6800") << 6800 << 6181;
}

void TestMelody::scrolling()
{
    QFETCH(int, end);
    QFETCH(int, scroll);
    QCOMPARE(Melody::scrollFor(end), scroll);
}

void TestMelody::hitTest_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("voice");
    QTest::addColumn<int>("note");
    // Voice 0: a half note at 70 (to 142), an eighth at 142.
    QTest::newRow("on the first note") << 75 << 40 << 0 << 0;
    QTest::newRow("its right edge") << 88 << 40 << 0 << 0;
    QTest::newRow("inside its length, past its glyph") << 100 << 40 << 0 << -1;
    QTest::newRow("second note") << 150 << 77 << 0 << 1;
    QTest::newRow("between the staves") << 75 << 80 << -1 << -1;
    QTest::newRow("y 93") << 75 << 93 << -1 << -1;
    QTest::newRow("voice 1") << 75 << 100 << 1 << 0;
    QTest::newRow("below the staves") << 75 << 190 << -1 << -1;
    QTest::newRow("past the end") << 170 << 40 << 0 << -1;
}

void TestMelody::hitTest()
{
    Melody m;
    m.notes[0] = {162, 60};
    m.notes[1] = {60};
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, voice);
    QFETCH(int, note);
    QCOMPARE(Melody::voiceAt(y), voice);
    if (voice >= 0)
        QCOMPARE(m.noteAt(voice, x), note);
}

void TestMelody::linkValuesStayInRange()
{
    Melody m;
    m.setLinkValue(0, 150);
    m.setLinkValue(1, -3);
    m.setLinkValue(2, 55);
    QCOMPARE(m.linkValues[0], 100);
    QCOMPARE(m.linkValues[1], 0);
    QCOMPARE(m.linkValues[2], 55);
}

void TestMelody::screenLayoutOfWorkedExample()
{
    Melody m;
    m.notes[0] = {48, 198}; // C3 eighth, C6 half
    m.notes[1] = {85};      // an eighth rest
    const score::Layout layout = score::screen(m, 1000);
    QList<QLine> lines;
    for (int top : {30, 126}) {
        for (int i = 0; i < 5; ++i)
            lines.append(QLine(0, top + 6 * i, 1000, top + 6 * i));
    }
    for (int y : {60, 66, 72, 78}) // C3: four below
        lines.append(QLine(70, y, 88, y));
    for (int y : {24, 18}) // C6: two above
        lines.append(QLine(88, y, 106, y));
    QCOMPARE(layout.lines, lines);
    const QList<score::Glyph> glyphs = {
        {u'e', QRect(20, 30, 18, 30)}, {u'd', QRect(70, 60, 18, 30)}, {u't', QRect(70, 75, 18, 30)},
        {u'1', QRect(88, 12, 18, 30)}, {u't', QRect(88, 75, 18, 30)}, {u'e', QRect(20, 126, 18, 30)},
        {u'f', QRect(70, 123, 18, 30)},
    };
    QCOMPARE(layout.glyphs, glyphs);

    // An emptied voice loses its clef; the staves stay.
    m.notes[1].clear();
    const score::Layout without = score::screen(m, 1000);
    QCOMPARE(without.glyphs.size(), 5);
    QCOMPARE(without.lines.size(), 16);
}

void TestMelody::printGeometry_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("wrap");
    QTest::newRow("600") << 600 << 7 << 42 << 672 << 4320;
    QTest::newRow("300") << 300 << 3 << 18 << 288 << 2160;
    QTest::newRow("1200") << 1200 << 13 << 78 << 1248 << 8640;
}

void TestMelody::printGeometry()
{
    QFETCH(int, dpi);
    const score::PrintGeometry g = score::printGeometry(dpi, dpi);
    QFETCH(int, scale);
    QCOMPARE(g.scale, scale);
    QFETCH(int, step);
    QCOMPARE(g.step, step);
    QFETCH(int, distance);
    QCOMPARE(g.distance, distance);
    QFETCH(int, wrap);
    QCOMPARE(g.wrap, wrap);
    QCOMPARE(g.firstTop, dpi);
}

void TestMelody::printRows()
{
    // 243 × 600 dpi: scale 7, wrap 1750 = 7 × 250, and 250 = 70 + 10 eighths.
    const score::PrintGeometry g = score::printGeometry(243, 600);
    Melody m;
    QCOMPARE(score::rowCount(m, g), 0);
    QCOMPARE(score::printPages(m, g, 6600).size(), 0);
    for (int i = 0; i < 9; ++i)
        m.append(0, 60);
    QCOMPARE(score::rowCount(m, g), 1);
    m.append(0, 60); // the end lies exactly on the wrap: one more (empty) row
    QCOMPARE(score::rowCount(m, g), 2);
    m.append(1, 86);
    QCOMPARE(score::rowCount(m, g), 2);

    // Both rows on one page: the second row's notes are indented and sit
    // two staff distances lower; the second row has a separator.
    m.notes[0] = QList<int>(11, 48); // the 11th eighth starts at 250: the second row
    const QList<score::Layout> pages = score::printPages(m, g, 6600);
    QCOMPARE(pages.size(), 1);
    const int secondTop = 600 + 2 * g.distance;
    QVERIFY(pages[0].lines.contains(QLine(0, secondTop - 4 * g.step, g.lineWidth, secondTop - 4 * g.step)));
    QVERIFY(pages[0].glyphs.contains(score::Glyph{u'd', QRect(g.indent, secondTop + 10 * 21, 126, 210)}));
    QVERIFY(pages[0].glyphs.contains(score::Glyph{u'e', QRect(70, secondTop + g.distance, 126, 210)}));

    // A page that holds one row only: the second row starts the second page at the first top.
    const QList<score::Layout> short_ = score::printPages(m, g, 600 + g.distance + 75 * 7 + 10);
    QCOMPARE(short_.size(), 2);
    QVERIFY(short_[1].glyphs.contains(score::Glyph{u'd', QRect(g.indent, 600 + 10 * 21, 126, 210)}));
}

QTEST_GUILESS_MAIN(TestMelody)
#include "tst_Melody.moc"
