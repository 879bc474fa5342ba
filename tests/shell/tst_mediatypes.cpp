#include "MediaTypes.h"

#include <QtTest>

class TestMediaTypes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestMediaTypes::answers_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<int>("conversion");
    QTest::addColumn<int>("upload");

    QTest::newRow("jpg upper") << "IMG_0001.JPG" << false << 0 << 1;
    QTest::newRow("jpg lower") << "img_0001.jpg" << false << 0 << 1;
    QTest::newRow("jpe") << "a.jpe" << false << 0 << 1;
    QTest::newRow("tif") << "scan.TIF" << false << 0 << 1;
    QTest::newRow("nef raw") << "shot.NEF" << true << 0 << 1;
    QTest::newRow("dng raw") << "/x/y/pic.dng" << true << 0 << 1;
    QTest::newRow("3fr raw") << "a.3fr" << true << 0 << 1;
    QTest::newRow("x3f raw") << "a.X3F" << true << 0 << 1;
    QTest::newRow("gif uploaded only") << "anim.gif" << false << 2 << 1;
    QTest::newRow("mp4 video") << "clip.mp4" << false << 1 << 2;
    QTest::newRow("3g2 video") << "clip.3G2" << false << 1 << 2;
    QTest::newRow("mts video") << "clip.MTS" << false << 1 << 2;
    QTest::newRow("wmv video") << "clip.wmv" << false << 1 << 2;
    QTest::newRow("dvr-ms uploaded only") << "clip.dvr-ms" << false << 2 << 2;
    QTest::newRow("mkv video") << "film.mkv" << false << 1 << 2;
    QTest::newRow("webm video") << "clip.WEBM" << false << 1 << 2;
    QTest::newRow("srt uploaded only") << "film.srt" << false << 2 << 2;
    QTest::newRow("tp uploaded only") << "rec.tp" << false << 2 << 2;
    QTest::newRow("webp photo") << "a.webp" << false << 0 << 1;
    QTest::newRow("heic photo") << "IMG_0001.HEIC" << false << 0 << 1;
    QTest::newRow("avif photo") << "a.avif" << false << 0 << 1;
    QTest::newRow("jxl photo") << "a.jxl" << false << 0 << 1;
    QTest::newRow("cr3 raw") << "IMG_0001.CR3" << true << 0 << 1;
    QTest::newRow("nrw raw") << "a.nrw" << true << 0 << 1;
    QTest::newRow("tar.gz") << "archive.tar.gz" << false << 2 << 3;
    QTest::newRow("no extension") << "README" << false << 2 << 3;
    QTest::newRow("dot in folder only") << "/home/a.b/README" << false << 2 << 3;
    QTest::newRow("trailing dot") << "photo.jpg." << false << 2 << 3;
}

void TestMediaTypes::answers()
{
    QFETCH(QString, fileName);
    QFETCH(bool, raw);
    QFETCH(int, conversion);
    QFETCH(int, upload);

    MediaTypes::fillTables();
    MediaTypes::fillTables();
    const QString strExt = MediaTypes::extensionOf(fileName);
    QCOMPARE(MediaTypes::isRaw(strExt), raw);
    QCOMPARE(MediaTypes::conversionKind(strExt), conversion);
    QCOMPARE(MediaTypes::uploadKind(strExt), upload);
}

QTEST_GUILESS_MAIN(TestMediaTypes)
#include "tst_mediatypes.moc"
