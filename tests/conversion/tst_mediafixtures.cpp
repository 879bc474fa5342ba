#include "MediaFixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <exiv2/exiv2.hpp>

// The generated media the conversion tests stand on: JPEGs with EXIF, other image formats, and
// DNGs that the real dcraw reads as raw data with or without a preview.
class TestMediaFixtures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jpeg_data();
    void jpeg();
    void setExif();
    void otherImages_data();
    void otherImages();
    void dng_data();
    void dng();
    void imageSizeOfUnreadable();

private:
    QString path(const QString& strName) const { return m_dir.path() + QLatin1Char('/') + strName; }
    QTemporaryDir m_dir;
};

namespace {

struct ExifRead
{
    bool found = false;
    QString text;
    int type = -1;
    int count = 0;
};

ExifRead readExif(const QString& strPath, const char* pszKey)
{
    ExifRead result;
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(strPath).toStdString());
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        const Exiv2::ExifKey key(pszKey);
        for (auto it = exif.begin(); it != exif.end(); ++it) {
            if (it->key() != key.key())
                continue;
            ++result.count;
            result.found = true;
            result.text = QString::fromStdString(it->toString());
            result.type = int(it->typeId());
        }
    } catch (const Exiv2::AnyError& error) {
        qWarning("Exiv2: %s", error.what());
    }
    return result;
}

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QString& strProgram, const QStringList& lstArgs)
{
    ToolRun run;
    QProcess process;
    process.start(strProgram, lstArgs);
    if (process.waitForStarted() && process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// "P6\n<w> <h>\n<max>\n" then the samples; invalid size when the header does not parse.
QSize ppmSize(const QByteArray& baPpm, qsizetype* pDataOffset)
{
    const QList<QByteArray> lstHead = baPpm.left(64).split('\n');
    if (lstHead.size() < 4 || lstHead.at(0) != "P6")
        return QSize();
    const QList<QByteArray> lstSize = lstHead.at(1).split(' ');
    if (lstSize.size() != 2)
        return QSize();
    *pDataOffset = lstHead.at(0).size() + lstHead.at(1).size() + lstHead.at(2).size() + 3;
    return QSize(lstSize.at(0).toInt(), lstSize.at(1).toInt());
}

} // namespace

void TestMediaFixtures::jpeg_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("dateTime");
    QTest::addColumn<int>("orientation");

    QTest::newRow("no EXIF") << QSize(64, 48) << QString() << 0;
    QTest::newRow("capture time") << QSize(1200, 800) << QStringLiteral("2021:07:14 18:03:27") << 0;
    QTest::newRow("orientation only") << QSize(300, 200) << QString() << 6;
    QTest::newRow("odd size, both tags") << QSize(301, 199) << QStringLiteral("2019:01:02 03:04:05") << 8;
}

void TestMediaFixtures::jpeg()
{
    QFETCH(QSize, size);
    QFETCH(QString, dateTime);
    QFETCH(int, orientation);

    const QString strPath = path(QStringLiteral("photo_%1.jpg").arg(QTest::currentDataTag()).replace(u' ', u'_'));
    QVERIFY(MediaFixtures::makeJpeg(strPath, size.width(), size.height(), dateTime, orientation));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.peek(2) == QByteArray("\xFF\xD8"));
    // Grain keeps it near a camera's bytes per pixel; a flat or smooth picture is far smaller.
    QVERIFY2(file.size() >= qint64(size.width()) * size.height() / 10, qPrintable(QString::number(file.size())));
    QCOMPARE(MediaFixtures::imageSize(strPath), size);

    const ExifRead time = readExif(strPath, "Exif.Photo.DateTimeOriginal");
    QCOMPARE(time.found, !dateTime.isEmpty());
    if (time.found) {
        QCOMPARE(time.text, dateTime);
        QCOMPARE(time.type, int(Exiv2::asciiString));
    }
    const ExifRead turn = readExif(strPath, "Exif.Image.Orientation");
    QCOMPARE(turn.found, orientation > 0);
    if (turn.found) {
        QCOMPARE(turn.text, QString::number(orientation));
        QCOMPARE(turn.type, int(Exiv2::unsignedShort));
    }
}

void TestMediaFixtures::setExif()
{
    const QString strPath = path(QStringLiteral("tags.jpg"));
    QVERIFY(MediaFixtures::makeJpeg(strPath, 80, 60, QStringLiteral("2020:02:02 02:02:02")));

    // A second write replaces the tag rather than adding another.
    QVERIFY(MediaFixtures::setExif(strPath, QStringLiteral("Exif.Photo.DateTimeOriginal"),
                                   QStringLiteral("2024:12:31 23:59:58")));
    const ExifRead time = readExif(strPath, "Exif.Photo.DateTimeOriginal");
    QCOMPARE(time.count, 1);
    QCOMPARE(time.text, QStringLiteral("2024:12:31 23:59:58"));

    QVERIFY(MediaFixtures::setExif(strPath, QStringLiteral("Exif.Image.Model"), QStringLiteral("Test Camera")));
    QCOMPARE(readExif(strPath, "Exif.Image.Model").text, QStringLiteral("Test Camera"));
    QVERIFY(MediaFixtures::setExif(strPath, QStringLiteral("Exif.Image.Orientation"), QStringLiteral("3")));
    QCOMPARE(readExif(strPath, "Exif.Image.Orientation").text, QStringLiteral("3"));
    QCOMPARE(readExif(strPath, "Exif.Image.Orientation").type, int(Exiv2::unsignedShort));
    QCOMPARE(MediaFixtures::imageSize(strPath), QSize(80, 60));

    // Failures come back as false: an unknown key, a file that is not an image.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write EXIF into .*tags\\.jpg")));
    QVERIFY(!MediaFixtures::setExif(strPath, QStringLiteral("Exif.Image.NoSuchTag"), QStringLiteral("x")));
    const QString strText = path(QStringLiteral("notes.jpg"));
    QFile text(strText);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture\n");
    text.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write EXIF into .*notes\\.jpg")));
    QVERIFY(!MediaFixtures::setExif(strText, QStringLiteral("Exif.Image.Model"), QStringLiteral("x")));
}

void TestMediaFixtures::otherImages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("magic");

    QTest::newRow("png") << QStringLiteral("a.png") << QSize(120, 90) << QByteArray("\x89PNG");
    QTest::newRow("gif") << QStringLiteral("b.gif") << QSize(33, 77) << QByteArray("GIF8");
    QTest::newRow("tif") << QStringLiteral("c.tif") << QSize(200, 10) << QByteArray();
    QTest::newRow("bmp") << QStringLiteral("d.BMP") << QSize(17, 5) << QByteArray("BM");
}

void TestMediaFixtures::otherImages()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QByteArray, magic);

    const QString strPath = path(name);
    QVERIFY(MediaFixtures::makeImage(strPath, size.width(), size.height()));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray baHead = file.peek(4);
    if (magic.isEmpty())
        QVERIFY(baHead == QByteArray("II*\0", 4) || baHead == QByteArray("MM\0*", 4));
    else
        QCOMPARE(baHead.left(magic.size()), magic);
    QCOMPARE(MediaFixtures::imageSize(strPath), size);
}

void TestMediaFixtures::dng_data()
{
    QTest::addColumn<QSize>("preview");

    QTest::newRow("camera-sized preview") << QSize(1616, 1080);
    QTest::newRow("small preview") << QSize(160, 120);
    QTest::newRow("no preview") << QSize();
}

void TestMediaFixtures::dng()
{
    QFETCH(QSize, preview);
    const QSize raw(2000, 1400);
    const bool blPreview = preview.isValid();

    const QString strPath = path(QStringLiteral("raw_%1.dng").arg(preview.width()));
    QVERIFY(MediaFixtures::makeDng(strPath, raw.width(), raw.height(), blPreview ? preview.width() : 0,
                                   blPreview ? preview.height() : 0));
    QVERIFY(QFileInfo(strPath).size() > qint64(raw.width()) * raw.height() * 2);
    QCOMPARE(readExif(strPath, "Exif.Image.UniqueCameraModel").text, QStringLiteral("Velmora Test Camera"));

    const ToolRun thumb = runTool(QStringLiteral("dcraw"), {QStringLiteral("-e"), QStringLiteral("-c"), strPath});
    if (blPreview) {
        QCOMPARE(thumb.exitCode, 0);
        QVERIFY(thumb.out.startsWith("\xFF\xD8"));
        const QString strThumb = path(QStringLiteral("thumb.jpg"));
        QFile file(strThumb);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(thumb.out), thumb.out.size());
        file.close();
        QCOMPARE(MediaFixtures::imageSize(strThumb), preview);
    } else {
        QCOMPARE(thumb.exitCode, 1);
        QVERIFY2(thumb.err.contains("has no thumbnail"), thumb.err.constData());
        QVERIFY(thumb.out.isEmpty());
    }

    // The raw data, not the preview, is what dcraw develops.
    const ToolRun developed = runTool(QStringLiteral("dcraw"), {QStringLiteral("-w"), QStringLiteral("-c"), strPath});
    QCOMPARE(developed.exitCode, 0);
    qsizetype iDataOffset = 0;
    QCOMPARE(ppmSize(developed.out, &iDataOffset), raw);
    const QByteArray baSamples = developed.out.mid(iDataOffset);
    QCOMPARE(baSamples.size(), qsizetype(raw.width()) * raw.height() * 3);
    QVERIFY(baSamples.count(baSamples.at(0)) < baSamples.size() / 2);
}

void TestMediaFixtures::imageSizeOfUnreadable()
{
    QVERIFY(!MediaFixtures::imageSize(path(QStringLiteral("missing.jpg"))).isValid());
    const QString strPath = path(QStringLiteral("broken.png"));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG but nothing more");
    file.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("identify failed.*broken\\.png")));
    QVERIFY(!MediaFixtures::imageSize(strPath).isValid());
    QVERIFY(!MediaFixtures::makeImage(path(QStringLiteral("e.xyz")), 10, 10));
}

QTEST_GUILESS_MAIN(TestMediaFixtures)
#include "tst_mediafixtures.moc"
