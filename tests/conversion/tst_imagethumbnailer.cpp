// The image library first: GLib names a member "signals", which Qt defines.
#include <vips/vips.h>

#include "MediaFixtures.h"
#include "DebugCapture.h"
#include "TestEnvironment.h"
#include "UploadWizard/CaptureTime.h"
#include "UploadWizard/ImageThumbnailer.h"
#include "UploadWizard/TempFiles.h"

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

private:
    int make(const QString& strSource, quint32* puId, ImageThumbnailer::Engine engine = ImageThumbnailer::Tools);
    // The fast engine's five thumbnails against the converter runs' ones under uToolsId: the
    // same sizes, and pixels close to them.
    void compareFastWithTools(const QString& strSource, quint32 uToolsId);
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

void TestImageThumbnailer::compareFastWithTools(const QString& strSource, quint32 uToolsId)
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
        QVERIFY2(dPsnr >= 38.0, qPrintable(QStringLiteral("%1: %2 dB").arg(QLatin1String(pszFile)).arg(dPsnr)));
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

    // Five runs in the size order, each from the same work copy, the size hint before the input.
    const QStringList lstRuns = m_lstLog.filter(QStringLiteral("Image Thumb Process: "));
    QCOMPARE(lstRuns.size(), 5);
    const QString strWork = strPrefix + QLatin1String("WinSourceTemp");
    QVERIFY(QFile::exists(strWork));
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
    QVERIFY(QFile::exists(strPrefix + QLatin1String("WinRAWTemp")));
    QCOMPARE(QFile::exists(strPrefix + QLatin1String("RAWPPMSrc.ppm")), !fromPreview);
    QCOMPARE(MediaFixtures::imageSize(strPrefix + QLatin1String("THUMB_XL.jpg")), xl);
    QCOMPARE(m_lstLog.filter(QStringLiteral("Convert Raw Image")).size(), fromPreview ? 0 : 1);
    // The RAW decoder stays in front of the fast engine.
    compareFastWithTools(strSource, uId);
    QCOMPARE(m_lstLog.filter(QStringLiteral("Convert Raw Image")).size(), fromPreview ? 0 : 1);
}

void TestImageThumbnailer::cutShort_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("keepBytes");    // of the source; 0: all of it
    QTest::addColumn<qint64>("fileLimit"); // the largest file that can be written; 0: no limit
    QTest::addColumn<QStringList>("left"); // work files that stay for the caller to remove

    QTest::newRow("photo copy into a full folder") << "photo.jpg" << 0 << qint64(64 << 10) << QStringList();
    QTest::newRow("RAW copy into a full folder") << "shot.dng" << 0 << qint64(1 << 20) << QStringList();
    QTest::newRow("RAW decode into a full folder") << "shot.dng" << 0 << qint64(7 << 20) << QStringList{"WinRAWTemp"};
    QTest::newRow("truncated DNG") << "shot.dng" << 3000000 << qint64(0) << QStringList{"WinRAWTemp"};
}

void TestImageThumbnailer::cutShort()
{
    QFETCH(QString, file);
    QFETCH(int, keepBytes);
    QFETCH(qint64, fileLimit);
    QFETCH(QStringList, left);

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
    const QString strBase = QFileInfo(TempFiles::tempFilePrefix(uId)).fileName();
    QStringList lstLeft;
    for (const QString& strName : QDir(TempFiles::folderPath()).entryList({strBase + QLatin1String("[A-Z]*")}))
        lstLeft.append(strName.mid(strBase.size()));
    QCOMPARE(lstLeft, left);
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

QTEST_GUILESS_MAIN(TestImageThumbnailer)
#include "tst_imagethumbnailer.moc"
