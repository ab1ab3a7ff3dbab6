// The generated picture set: every file the windows load is there, readable, of its size,
// and the pictures that must look different do.
#include "Artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kr31::art;

namespace {

// Share of pixels that differ clearly (JPEG noise stays below the threshold).
double differingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d = qMax(qAbs(qRed(p[col]) - qRed(q[col])),
                               qMax(qAbs(qGreen(p[col]) - qGreen(q[col])), qAbs(qBlue(p[col]) - qBlue(q[col]))));
            if (d > 32)
                ++differing;
        }
    }
    return double(differing) / (double(x.width()) * x.height());
}

}  // namespace

class tst_Artwork : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_manifest;

    QImage load(const QString& relative) const
    {
        QImageReader reader(m_dir.filePath(relative));
        return reader.read();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QString error;
        m_manifest = generate(m_dir.path(), &error);
        QVERIFY2(!m_manifest.isEmpty(), qPrintable(error));
    }

    void manifestListsEveryFileOnceSorted()
    {
        const QList<OutputFile> files = outputFiles();
        QSet<QString> paths;
        for (const OutputFile& f : files) {
            QVERIFY2(!paths.contains(f.path), qPrintable("two pictures share the name " + f.path));
            paths.insert(f.path);
        }
        QCOMPARE(m_manifest.size(), files.size());
        QStringList sorted = m_manifest;
        sorted.sort();
        QCOMPARE(m_manifest, sorted);

        QFile list(m_dir.filePath("Img/manifest.txt"));
        QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts), m_manifest);
    }

    void everyFileLoadsAtItsSize_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const OutputFile& f : outputFiles())
            QTest::newRow(qPrintable(f.path)) << f.path << f.size;
    }

    void everyFileLoadsAtItsSize()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage img = load(path);
        QVERIFY2(!img.isNull(), qPrintable(path + " does not load"));
        QCOMPARE(img.size(), size);
        QVERIFY(m_manifest.contains(QStringLiteral("%1 %2x%3").arg(path).arg(size.width()).arg(size.height())));
    }

    // The names and sizes the windows load by name; a typo in the table shows here.
    void namesTheWindowsLoad_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const struct { const char* path; int w, h; } known[] = {
            {"Img/Menu/DD.jpg", 80, 110},           {"Img/Menu/DD1.jpg", 80, 110},
            {"Img/Menu/mFuro1.jpg", 80, 110},       {"Img/Menu/moji.jpg", 80, 110},
            {"Img/Menu/melody1.jpg", 80, 110},      {"Img/Menu/Real.jpg", 94, 64},
            {"Img/Menu/mbeep1.jpg", 94, 64},        {"Img/Menu/SetUp1.jpg", 100, 30},
            {"Img/Menu/Bye.jpg", 43, 42},           {"Img/Menu/Splash.jpg", 400, 267},
            {"Img/Common_Button/Send1.jpg", 90, 60}, {"Img/Common_Button/Menu.jpg", 55, 60},
            {"Img/Common_Button/All_Delete1.jpg", 134, 26}, {"Img/Common_Button/Add_Command.jpg", 150, 50},
            {"Img/Common_Button/Add_Sub1.jpg", 123, 34}, {"Img/Common_Button/FuroBye.jpg", 35, 35},
            {"Img/Common_Button/OK1.jpg", 150, 50}, {"Img/Common_Button/Tenso.jpg", 90, 60},
            {"Img/Disp_Furo/Out1.jpg", 150, 50},    {"Img/Disp_Furo/Bye.jpg", 300, 50},
            {"Img/DD/Icon/ON.jpg", 100, 170},       {"Img/DD/Icon/Empty.jpg", 100, 170},
            {"Img/DD/Icon/T_F_Out.bmp", 55, 55},    {"Img/DD/Icon/Stop.bmp", 55, 55},
            {"Img/Furo/Sub0.jpg", 126, 25},         {"Img/Furo/Sub9.jpg", 126, 25},
            {"Img/Furo/St9.jpg", 126, 26},          {"Img/Panel/Furo_Insert.jpg", 500, 300},
            {"Img/Panel/Furo_Editing.jpg", 500, 300}, {"Img/Panel/Melody_Insert.jpg", 700, 220},
            {"Img/Panel/Melody_Editing.jpg", 700, 220}, {"Img/Panel/Finish-1.jpg", 260, 140},
            {"Img/Panel/Finish-2.jpg", 260, 140},   {"Img/Onpu/Ken_White-1.jpg", 26, 110},
            {"Img/Onpu/Ken_Black.jpg", 16, 68},     {"Img/Wizard/Next1.jpg", 120, 40},
            {"Img/Wizard/tojiru.jpg", 120, 40},     {"Img/Wizard/shudo1.jpg", 120, 40},
            {"Img/SetUp/melo1.jpg", 170, 40},       {"Img/Report/Preview1.jpg", 150, 44},
            {"HTML/DD/Img/D_on.jpg", 60, 60},       {"HTML/DD/Img/t_out.jpg", 60, 60},
            {"HTML/DD/Img/timer.jpg", 60, 60},      {"Img/kr31.png", 256, 256},
        };
        for (const auto& k : known)
            QTest::newRow(k.path) << QString::fromUtf8(k.path) << QSize(k.w, k.h);
    }

    void namesTheWindowsLoad()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QCOMPARE(load(path).size(), size);
    }

    void pairedFormsDiffer_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("other");
        for (const Entry& e : table())
            if (e.pair != Pair::Single && !(e.kind == Kind::Button && e.style == 1)) // a mode mark is never pressed
                QTest::newRow(qPrintable(e.path)) << variantPath(e, 0) << variantPath(e, 1);
    }

    // A pressed or highlighted form must be visibly different from the plain one.
    void pairedFormsDiffer()
    {
        QFETCH(QString, plain);
        QFETCH(QString, other);
        const double share = differingShare(load(plain), load(other));
        QVERIFY2(share > 0.05, qPrintable(QStringLiteral("%1 and %2 differ in only %3 of the pixels")
                                              .arg(plain, other).arg(share)));
    }

    void commandPicturesAreAllDifferent_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("slot") << int(Kind::CommandSlot);
        QTest::newRow("palette") << int(Kind::PaletteIcon);
        QTest::newRow("drag") << int(Kind::DragBitmap);
        QTest::newRow("report") << int(Kind::ReportIcon);
    }

    void commandPicturesAreAllDifferent()
    {
        QFETCH(int, kind);
        QList<const Entry*> entries;
        for (const Entry& e : table())
            if (int(e.kind) == kind)
                entries.append(&e);
        QVERIFY(entries.size() >= 12);
        for (int i = 0; i < entries.size(); ++i)
            for (int j = i + 1; j < entries.size(); ++j) {
                const double share = differingShare(load(variantPath(*entries[i], 0)), load(variantPath(*entries[j], 0)));
                QVERIFY2(share > 0.03, qPrintable(entries[i]->path + " looks like " + entries[j]->path));
            }
    }

    // White is the transparent colour of a drag picture: its frame must be white
    // and nothing inside its tile may be, or the drag image gets holes.
    void dragBitmapsHaveAWhiteFrame()
    {
        for (const Entry& e : table()) {
            if (e.kind != Kind::DragBitmap)
                continue;
            const QImage img = load(variantPath(e, 0));
            QCOMPARE(img.pixelColor(0, 0), QColor(Qt::white));
            QCOMPARE(img.pixelColor(img.width() - 1, img.height() - 1), QColor(Qt::white));
            const QRect inner = img.rect().adjusted(img.width() / 6, img.height() / 6, -img.width() / 6,
                                                    -img.height() / 6);
            for (int y = inner.top(); y <= inner.bottom(); ++y)
                for (int x = inner.left(); x <= inner.right(); ++x)
                    QVERIFY2(img.pixel(x, y) != qRgb(255, 255, 255),
                             qPrintable(QStringLiteral("%1 has a see-through pixel at %2,%3").arg(e.path).arg(x).arg(y)));
        }
    }

    // A button drawn for a known place takes its corners from the background under it.
    void placedButtonsMatchTheirBackground()
    {
        for (const Entry& e : table()) {
            if (e.bgRef.isEmpty() || e.kind != Kind::Button)
                continue;
            const Entry* bg = nullptr;
            for (const Entry& b : table())
                if (b.path == e.bgRef)
                    bg = &b;
            QVERIFY2(bg, qPrintable(e.path + " sits on a missing background " + e.bgRef));
            QVERIFY(QRect(QPoint(0, 0), bg->size).contains(QRect(e.at, e.size)));
            const QImage under = load(variantPath(*bg, 0)).copy(QRect(e.at, QSize(2, 2)));
            const QImage corner = load(variantPath(e, 0)).copy(QRect(0, 0, 2, 2));
            QVERIFY2(differingShare(under, corner) == 0.0, qPrintable(e.path + " has corners unlike its background"));
        }
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tst_Artwork test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Artwork.moc"
