#include "core/PictureCache.h"

#include <QTest>

using namespace kr31;

namespace {

picturecache::Entry sample(const QByteArray &pixels)
{
    picturecache::Entry e;
    e.path = QStringLiteral("/usr/share/kr31/Img/Menu/かお.jpg");
    e.source = {true, true, 1234, 1'700'000'000'123'456'789, 1'700'000'001'000'000'000, 42, 7};
    e.width = 3;
    e.height = 2;
    e.bytesPerLine = 12;
    e.format = 4; // 32-bit RGB
    e.pixels = pixels;
    return e;
}

} // namespace

class TestPictureCache : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entryComesBackAsWritten()
    {
        const QByteArray pixels(24, '\x5a');
        const picturecache::Entry written = sample(pixels);
        const QByteArray bytes = picturecache::serialize(written);
        const auto read = picturecache::parse(bytes);
        QVERIFY(read);
        QCOMPARE(read->path, written.path);
        QVERIFY(read->source == written.source);
        QCOMPARE(read->width, 3);
        QCOMPARE(read->height, 2);
        QCOMPARE(read->bytesPerLine, 12);
        QCOMPARE(read->format, 4);
        QCOMPARE(read->pixels.toByteArray(), pixels);
        // Readers place the pixels by this offset before parsing.
        QCOMPARE(read->pixels.data() - bytes.constData(), picturecache::pixelsOffset(written.path.toUtf8().size()));
    }

    // Whatever is found in the cache folder is only used when it is whole.
    void brokenEntriesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray pixels(24, '\x01');
        const QByteArray good = picturecache::serialize(sample(pixels));
        const auto with = [&](auto change) {
            picturecache::Entry e = sample(pixels);
            change(e);
            return picturecache::serialize(e);
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("another file") << QByteArray("RIFF....WAVEfmt ");
        QTest::newRow("cut in the header") << good.left(40);
        QTest::newRow("cut in the pixels") << good.chopped(1);
        QTest::newRow("bytes after the pixels") << good + "x";
        QTest::newRow("no width") << with([](auto &e) { e.width = 0; });
        QTest::newRow("wider than any picture") << with([](auto &e) { e.width = 100000; });
        QTest::newRow("negative height") << with([](auto &e) { e.height = -2; });
        QTest::newRow("lines shorter than the width") << with([](auto &e) { e.bytesPerLine = 2; });
        QTest::newRow("lines not on 4 bytes") << with([](auto &e) { e.bytesPerLine = 13; });
        QTest::newRow("no format") << with([](auto &e) { e.format = 0; });
        QTest::newRow("unknown format") << with([](auto &e) { e.format = 999; });
        QByteArray longPath = good;
        longPath.replace(8 + 5 * 8 + 4 * 4, 4, QByteArray("\xff\xff\xff\x7f", 4));
        QTest::newRow("path longer than the file") << longPath;
    }
    void brokenEntriesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!picturecache::parse(bytes));
    }

    void entriesAreNamedByTheirPicture()
    {
        qputenv("XDG_CACHE_HOME", "/tmp/kr31-cache-test");
        const QString a = picturecache::entryFile(QStringLiteral("/res/Img/Menu/DD.jpg"));
        QVERIFY(a.startsWith(QLatin1String("/tmp/kr31-cache-test/kr31/pictures/")));
        QCOMPARE(picturecache::entryFile(QStringLiteral("/res/Img/Menu/DD.jpg")), a);
        QVERIFY(picturecache::entryFile(QStringLiteral("/res/Img/Menu/Bye.jpg")) != a);
        qputenv("XDG_CACHE_HOME", "relative/is/ignored");
        QVERIFY(picturecache::folder().endsWith(QLatin1String("/.cache/kr31/pictures/")));
        qunsetenv("XDG_CACHE_HOME");
    }
};

QTEST_GUILESS_MAIN(TestPictureCache)
#include "tst_PictureCache.moc"
