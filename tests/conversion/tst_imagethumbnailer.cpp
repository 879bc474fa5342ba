// The image library first: GLib names a member "signals", which Qt defines.
#include <vips/vips.h>

#include "MediaFixtures.h"
#include "DebugCapture.h"
#include "TestEnvironment.h"
#include "upload/CaptureTime.h"
#include "upload/ImageThumbnailer.h"
#include "TempFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const char* const s_thumbFiles[] = {"THUMB_B.jpg", "THUMB_L.jpg", "THUMB_M.jpg", "THUMB_S.jpg", "THUMB_XL.jpg"};

} // namespace

// Thumbnails with the real image tools, and capture-time names with the real metadata library.
class TestImageThumbnailer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void thumbnails_data();
    void thumbnails();
    void notAnImage();
    void fastPathRefusesFallsBack();
    void rawPaths_data();
    void rawPaths();
    void cutShort_data();
    void cutShort();
    void abortKillsTheTool();
    void captureTimeName_data();
    void captureTimeName();
    void todaysPhotos_data();
    void todaysPhotos();

private:
    int make(const QString& strSource, quint32* puId, ImageThumbnailer::Engine engine = ImageThumbnailer::Tools);
    // The fast engine's five thumbnails against the converter runs' ones under uToolsId: the
    // same sizes, and pixels close to them (less close for RAW, decoded by another decoder).
    void compareFastWithTools(const QString& strSource, quint32 uToolsId, double dMinPsnr = 38.0);
    TestEnvironment m_env;
    QStringList m_lstLog; // debug lines of the last make()
};

int TestImageThumbnailer::make(const QString& strSource, quint32* puId, ImageThumbnailer::Engine engine)
{
    *puId = TempFiles::nextConversionId();
    ImageThumbnailer thumbnailer;
    thumbnailer.setEngine(engine);
    DebugCapture capture;
    const int iResult = thumbnailer.makeThumbnails(strSource, *puId);
    m_lstLog = capture.lines();
    return iResult;
}

void TestImageThumbnailer::compareFastWithTools(const QString& strSource, quint32 uToolsId, double dMinPsnr)
{
    quint32 uFastId = 0;
    QCOMPARE(make(strSource, &uFastId, ImageThumbnailer::Fast), 0);
    QCOMPARE(m_lstLog.filter(QStringLiteral("Image Thumb Process: one decode of ")).size(), 1);
    QVERIFY(m_lstLog.filter(QStringLiteral("-thumbnail")).isEmpty());
    QVERIFY(!QFile::exists(TempFiles::tempFilePrefix(uFastId) + QLatin1String("WinSourceTemp")));
    for (const char* pszFile : s_thumbFiles) {
        const QString strFast = TempFiles::tempFilePrefix(uFastId) + QLatin1String(pszFile);
        const QString strTools = TempFiles::tempFilePrefix(uToolsId) + QLatin1String(pszFile);
        QCOMPARE(MediaFixtures::imageSize(strFast), MediaFixtures::imageSize(strTools));
        const double dPsnr = MediaFixtures::psnr(strTools, strFast);
        qInfo("%s %s: %.1f dB", qPrintable(QFileInfo(strSource).fileName()), pszFile, dPsnr);
        QVERIFY2(dPsnr >= dMinPsnr, qPrintable(QStringLiteral("%1: %2 dB").arg(QLatin1String(pszFile)).arg(dPsnr)));
    }
}

void TestImageThumbnailer::thumbnails_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("source");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QList<QSize>>("sizes"); // B, L, M, S, XL
    QTest::addColumn<bool>("autoOrient");

    QTest::newRow("landscape 4000x3000") << "land.jpg" << QSize(4000, 3000) << 0
                                          << QList<QSize>{{640, 480}, {800, 600}, {320, 240}, {120, 90}, {1280, 960}}
                                          << true;
    QTest::newRow("portrait 3000x4000") << "port.JPG" << QSize(3000, 4000) << 0
                                         << QList<QSize>{{480, 640}, {600, 800}, {240, 320}, {90, 120}, {960, 1280}}
                                         << false;
    QTest::newRow("landscape turned by EXIF 6") << "turn.jpg" << QSize(1600, 1200) << 6
                                                 << QList<QSize>{{480, 640}, {600, 800}, {240, 320}, {90, 120},
                                                                 {960, 1280}}
                                                 << true;
    QTest::newRow("small is never enlarged") << "small.jpeg" << QSize(500, 400) << 0
                                             << QList<QSize>{{500, 400}, {500, 400}, {320, 256}, {120, 96}, {500, 400}}
                                             << true;
    QTest::newRow("png with transparency") << "p.png" << QSize(900, 300) << 0
                         << QList<QSize>{{640, 213}, {800, 267}, {320, 107}, {120, 40}, {900, 300}} << true;
    QTest::newRow("gif") << "g.gif" << QSize(300, 300) << 0
                         << QList<QSize>{{300, 300}, {300, 300}, {300, 300}, {120, 120}, {300, 300}} << false;
    QTest::newRow("tiff") << "t.tif" << QSize(1000, 800) << 0
                          << QList<QSize>{{640, 512}, {800, 640}, {320, 256}, {120, 96}, {1000, 800}} << true;
}

void TestImageThumbnailer::thumbnails()
{
    QFETCH(QString, file);
    QFETCH(QSize, source);
    QFETCH(int, orientation);
    QFETCH(QList<QSize>, sizes);
    QFETCH(bool, autoOrient);

    const QString strSource = m_env.root() + QLatin1String("/photos/") + file;
    QDir().mkpath(QFileInfo(strSource).absolutePath());
    QVERIFY(MediaFixtures::makeScene(strSource, source.width(), source.height(), orientation,
                                     file.endsWith(QLatin1String(".png"))));

    quint32 uId = 0;
    QCOMPARE(make(strSource, &uId), 0);
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    QList<QSize> lstMade;
    for (const char* pszFile : s_thumbFiles)
        lstMade.append(MediaFixtures::imageSize(strPrefix + QLatin1String(pszFile)));
    QCOMPARE(lstMade, sizes);

    // Five runs in the size order, each from the same work copy (removed afterwards), the size
    // hint before the input.
    const QStringList lstRuns = m_lstLog.filter(QStringLiteral("Image Thumb Process: "));
    QCOMPARE(lstRuns.size(), 5);
    const QString strWork = strPrefix + QLatin1String("WinSourceTemp");
    QVERIFY(!QFile::exists(strWork));
    int iRun = 0;
    for (int iSize : {640, 800, 320, 120, 1280}) {
        const QString strLine = lstRuns.at(iRun++);
        const QString strGeometry = QStringLiteral("%1x%1>").arg(iSize);
        // The size hint stands before the input, and only when the photo is larger than the box.
        const bool blHint = source.width() > iSize && source.height() > iSize;
        QCOMPARE(strLine.contains(QLatin1String("jpeg:size=") + strGeometry), blHint);
        if (blHint)
            QVERIFY2(strLine.indexOf(QLatin1String("jpeg:size=")) < strLine.indexOf(strWork), qPrintable(strLine));
        QVERIFY2(strLine.contains(QLatin1String("-thumbnail \"") + strGeometry + QLatin1Char('"')), qPrintable(strLine));
        QVERIFY2(strLine.contains(QLatin1String("-quality 80")), qPrintable(strLine));
        QCOMPARE(strLine.contains(QLatin1String("-auto-orient")), autoOrient);
    }
    compareFastWithTools(strSource, uId);
}

void TestImageThumbnailer::notAnImage()
{
    const QString strSource = m_env.root() + QLatin1String("/fake.jpg");
    QVERIFY(TestFiles::writeBytes(strSource, "this is text, not a photo"));
    quint32 uId = 0;
    QCOMPARE(make(strSource, &uId, ImageThumbnailer::Fast), -1);
    QCOMPARE(m_lstLog.filter(QStringLiteral("one decode failed; converter runs instead")).size(), 1);
    QCOMPARE(m_lstLog.filter(QStringLiteral("convert thumb error. delete ")).size(), 5);
    for (const char* pszFile : s_thumbFiles)
        QVERIFY(!QFile::exists(TempFiles::tempFilePrefix(uId) + QLatin1String(pszFile)));
    QCOMPARE(make(m_env.root() + QLatin1String("/missing.jpg"), &uId), -1);
    QVERIFY(m_lstLog.filter(QStringLiteral("Image Thumb Process")).isEmpty());
}

void TestImageThumbnailer::fastPathRefusesFallsBack()
{
    // With the library's untrusted loaders blocked, it cannot read a BMP; the converter can.
    const QString strSource = m_env.root() + QLatin1String("/old.bmp");
    QVERIFY(MediaFixtures::makeScene(strSource, 1000, 700));
    vips_block_untrusted_set(TRUE);
    quint32 uId = 0;
    const int iResult = make(strSource, &uId, ImageThumbnailer::Fast);
    vips_block_untrusted_set(FALSE);
    QCOMPARE(iResult, 0);
    QCOMPARE(m_lstLog.filter(QStringLiteral("one decode failed; converter runs instead")).size(), 1);
    QCOMPARE(m_lstLog.filter(QStringLiteral("-thumbnail")).size(), 5);
    QList<QSize> lstMade;
    for (const char* pszFile : s_thumbFiles)
        lstMade.append(MediaFixtures::imageSize(TempFiles::tempFilePrefix(uId) + QLatin1String(pszFile)));
    QCOMPARE(lstMade, (QList<QSize>{{640, 448}, {800, 560}, {320, 224}, {120, 84}, {1000, 700}}));
}

void TestImageThumbnailer::rawPaths_data()
{
    QTest::addColumn<QSize>("preview");
    QTest::addColumn<bool>("fromPreview");
    QTest::addColumn<QSize>("xl");
    QTest::newRow("large preview") << QSize(1616, 1080) << true << QSize(1280, 855);
    QTest::newRow("small preview") << QSize(160, 120) << false << QSize(1280, 896);
    QTest::newRow("no preview") << QSize(0, 0) << false << QSize(1280, 896);
}

void TestImageThumbnailer::rawPaths()
{
    QFETCH(QSize, preview);
    QFETCH(bool, fromPreview);
    QFETCH(QSize, xl);

    const QString strSource = m_env.root() + QLatin1String("/raw/shot.DNG");
    QDir().mkpath(QFileInfo(strSource).absolutePath());
    QVERIFY(MediaFixtures::makeDng(strSource, 2000, 1400, preview.width(), preview.height()));
    quint32 uId = 0;
    QCOMPARE(make(strSource, &uId), 0);
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    for (const char* pszWork : {"WinRAWTemp", "RAWJpgSrc.jpg", "RAWPPMSrc.ppm"})
        QVERIFY2(!QFile::exists(strPrefix + QLatin1String(pszWork)), pszWork);
    QCOMPARE(MediaFixtures::imageSize(strPrefix + QLatin1String("THUMB_XL.jpg")), xl);
    QCOMPARE(m_lstLog.filter(QStringLiteral("Convert Raw Image")).size(), fromPreview ? 0 : 1);
    // The fast engine reads the RAW file with the RAW library, the same way round.
    compareFastWithTools(strSource, uId, 35.0);
    QCOMPARE(m_lstLog.filter(QStringLiteral("Convert Raw Image")).size(), 0);
    QCOMPARE(m_lstLog.filter(fromPreview ? QStringLiteral("RawDecoder: preview") : QStringLiteral("RawDecoder: decoded"))
                 .size(),
             1);
}

void TestImageThumbnailer::cutShort_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("keepBytes");    // of the source; 0: all of it
    QTest::addColumn<qint64>("fileLimit"); // the largest file that can be written; 0: no limit

    QTest::newRow("photo copy into a full folder") << "photo.jpg" << 0 << qint64(64 << 10);
    QTest::newRow("RAW copy into a full folder") << "shot.dng" << 0 << qint64(1 << 20);
    QTest::newRow("RAW decode into a full folder") << "shot.dng" << 0 << qint64(7 << 20);
    QTest::newRow("truncated DNG") << "shot.dng" << 3000000 << qint64(0);
}

void TestImageThumbnailer::cutShort()
{
    QFETCH(QString, file);
    QFETCH(int, keepBytes);
    QFETCH(qint64, fileLimit);

    const QString strSource = m_env.root() + QLatin1String("/cut/") + file;
    QDir().mkpath(QFileInfo(strSource).absolutePath());
    QVERIFY(file.endsWith(QLatin1String(".jpg")) ? MediaFixtures::makeJpeg(strSource, 1600, 1200)
                                                 : MediaFixtures::makeDng(strSource, 2000, 1400));
    if (keepBytes > 0)
        QVERIFY(QFile::resize(strSource, keepBytes));

    // A folder that fills up: here and in the tools, a write past the limit fails with an error.
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    if (fileLimit > 0)
        limited.rlim_cur = rlim_t(fileLimit);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    quint32 uId = 0;
    const int iResult = make(strSource, &uId);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);

    QCOMPARE(iResult, -1);
    QVERIFY(m_lstLog.filter(QStringLiteral("Image Thumb Process")).isEmpty());
    // Nothing stays behind, not even a work copy.
    const QString strBase = QFileInfo(TempFiles::tempFilePrefix(uId)).fileName();
    QCOMPARE(QDir(TempFiles::folderPath()).entryList({strBase + QLatin1Char('*')}), QStringList());
}

void TestImageThumbnailer::abortKillsTheTool()
{
    const QString strSource = m_env.root() + QLatin1String("/big.jpg");
    QVERIFY(MediaFixtures::makeJpeg(strSource, 6000, 4000));
    ImageThumbnailer thumbnailer;
    thumbnailer.setEngine(ImageThumbnailer::Tools);
    const quint32 uId = TempFiles::nextConversionId();
    int iResult = 0;
    QThread* pThread = QThread::create([&]() { iResult = thumbnailer.makeThumbnails(strSource, uId); });
    pThread->start();
    QTest::qWait(400);
    QElapsedTimer timer;
    timer.start();
    thumbnailer.setAbort(true);
    QVERIFY(pThread->wait(10000));
    qInfo("thumbnailer stopped %lld ms after the abort", timer.elapsed());
    delete pThread;
    QCOMPARE(iResult, -1);
    QVERIFY(!QFile::exists(TempFiles::tempFilePrefix(uId) + QLatin1String("THUMB_XL.jpg")));
}

void TestImageThumbnailer::captureTimeName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("dateTime"); // empty: no EXIF time
    QTest::addColumn<QString>("name");

    QTest::newRow("taken time") << "DSC_0042.JPG" << "2010:05:01 14:03:07" << "IMG_20100501_140307.JPG";
    QTest::newRow("zero date keeps the name") << "zero.jpg" << "0000:00:00 00:00:00" << "zero.jpg";
    QTest::newRow("impossible date") << "bad.jpg" << "2010:13:01 10:00:00" << "bad.jpg";
    QTest::newRow("date alone") << "d.jpg" << "2010:05:01" << "IMG_20100501_000000.jpg";
    QTest::newRow("no time") << "none.jpg" << "" << "none.jpg";
    QTest::newRow("no dot") << "noext" << "2010:05:01 14:03:07" << "IMG_20100501_140307.";
    QTest::newRow("non-ASCII folder") << QString::fromUtf8("\xc3\x9c" "ber Stra\xc3\x9f" "e/x.jpg")
                                      << "2011:12:24 18:00:00" << "IMG_20111224_180000.jpg";
    QTest::newRow("png without EXIF") << "photo.png" << "" << "photo.png";
    QTest::newRow("not an image") << "text.jpg" << "" << "text.jpg";
}

void TestImageThumbnailer::captureTimeName()
{
    QFETCH(QString, file);
    QFETCH(QString, dateTime);
    QFETCH(QString, name);

    const QString strPath = m_env.root() + QLatin1String("/exif/") + file;
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    if (file.endsWith(QLatin1String(".png")))
        QVERIFY(MediaFixtures::makeImage(strPath, 40, 30));
    else if (file == QLatin1String("text.jpg"))
        QVERIFY(TestFiles::writeBytes(strPath, "plain words"));
    else
        QVERIFY(MediaFixtures::makeJpeg(strPath, 40, 30, dateTime));
    QCOMPARE(::captureTimeName(strPath), name);
    QCOMPARE(::captureTimeName(strPath + QLatin1String(".gone")), QString());
}

// Photos of today's phones and cameras, in process: the five thumbnails upright (the turn applied
// once, whether the container or EXIF states it), the capture-time name, and the decoder used.
void TestImageThumbnailer::todaysPhotos_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<int>("orientation"); // EXIF value; HEIF states it in the container too
    QTest::addColumn<QSize>("xl");
    QTest::addColumn<QSize>("s");
    QTest::addColumn<QString>("corner"); // of the red block in the thumbnails; empty: not a marked picture
    QTest::addColumn<QString>("name");   // by capture time
    QTest::addColumn<QString>("logHas");

    const QString strTaken = QStringLiteral("2024:05:01 14:03:07");
    // clang-format off
    QTest::newRow("HEIC held upright, turned in container and EXIF") << "IMG_0042.HEIC" << QSize(1600, 1200) << 6
        << QSize(960, 1280) << QSize(90, 120) << "tr" << "IMG_20240501_140307.HEIC" << "one decode of";
    QTest::newRow("HEIC upside down") << "IMG_0043.heic" << QSize(1600, 1200) << 3
        << QSize(1280, 960) << QSize(120, 90) << "br" << "IMG_20240501_140307.heic" << "one decode of";
    QTest::newRow("AVIF") << "photo.avif" << QSize(1200, 1600) << 0
        << QSize(960, 1280) << QSize(90, 120) << "tl" << "IMG_20240501_140307.avif" << "one decode of";
    QTest::newRow("WebP turned by EXIF") << "shot.webp" << QSize(1600, 1200) << 6
        << QSize(960, 1280) << QSize(90, 120) << "tr" << "IMG_20240501_140307.webp" << "one decode of";
    QTest::newRow("JPEG XL from a camera JPEG") << "pic.jxl" << QSize(1600, 1200) << 6
        << QSize(960, 1280) << QSize(90, 120) << "tr" << "IMG_20240501_140307.jxl" << "one decode of";
    QTest::newRow("16-bit PNG") << "deep.png" << QSize(2000, 1000) << 0
        << QSize(1280, 640) << QSize(120, 60) << "tl" << "IMG_20240501_140307.png" << "one decode of";
    QTest::newRow("DNG preview, camera held upright") << "up.dng" << QSize(2000, 1400) << 6
        << QSize(855, 1280) << QSize(80, 120) << "" << "up.dng" << "RawDecoder: preview 1616x1080";
    QTest::newRow("DNG without preview") << "flat.dng" << QSize(2000, 1400) << 0
        << QSize(1280, 896) << QSize(120, 84) << "" << "flat.dng" << "RawDecoder: decoded";
    QTest::newRow("DNG large enough for a half-size decode") << "big.dng" << QSize(3200, 2400) << 0
        << QSize(1280, 960) << QSize(120, 90) << "" << "big.dng" << "at half size";
    // clang-format on
}

void TestImageThumbnailer::todaysPhotos()
{
    QFETCH(QString, file);
    QFETCH(QSize, stored);
    QFETCH(int, orientation);
    QFETCH(QSize, xl);
    QFETCH(QSize, s);
    QFETCH(QString, corner);
    QFETCH(QString, name);
    QFETCH(QString, logHas);

    const QString strSource = m_env.root() + QLatin1String("/today/") + file;
    const bool blDng = file.endsWith(QLatin1String(".dng"));
    const bool blPreview = file == QLatin1String("up.dng");
    QVERIFY(blDng ? MediaFixtures::makeDng(strSource, stored.width(), stored.height(), blPreview ? 1616 : 0,
                                           blPreview ? 1080 : 0, orientation)
                  : MediaFixtures::makeMarked(strSource, stored.width(), stored.height(), orientation,
                                              QStringLiteral("2024:05:01 14:03:07"),
                                              file.endsWith(QLatin1String(".png")) ? 16 : 8));
    quint32 uId = 0;
    QCOMPARE(make(strSource, &uId, ImageThumbnailer::Fast), 0);
    const QString strLog = m_lstLog.join(QLatin1Char('\n'));
    QVERIFY2(strLog.contains(logHas), qPrintable(strLog.right(2000)));
    QVERIFY2(!strLog.contains(QLatin1String("converter runs instead")), qPrintable(strLog.right(2000)));
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    QCOMPARE(MediaFixtures::imageSize(strPrefix + QLatin1String("THUMB_XL.jpg")), xl);
    QCOMPARE(MediaFixtures::imageSize(strPrefix + QLatin1String("THUMB_S.jpg")), s);
    if (!corner.isEmpty()) {
        QCOMPARE(MediaFixtures::redCorner(strPrefix + QLatin1String("THUMB_XL.jpg")), corner);
        QCOMPARE(MediaFixtures::redCorner(strPrefix + QLatin1String("THUMB_S.jpg")), corner);
    }
    QCOMPARE(::captureTimeName(strSource), name);
    // Nothing but the thumbnails stays behind.
    const QString strBase = QFileInfo(strPrefix).fileName();
    QStringList lstLeft = QDir(TempFiles::folderPath()).entryList({strBase + QLatin1Char('*')});
    lstLeft.replaceInStrings(strBase, QString());
    QCOMPARE(lstLeft, QStringList({"THUMB_B.jpg", "THUMB_L.jpg", "THUMB_M.jpg", "THUMB_S.jpg", "THUMB_XL.jpg"}));
}

QTEST_GUILESS_MAIN(TestImageThumbnailer)
#include "tst_imagethumbnailer.moc"
