// The image library first: GLib names a member "signals", which Qt defines.
#include <vips/vips8>

#include "AppIdentity.h"
#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "ServerLogin.h"
#include "TestEnvironment.h"
#include "upload/FileConverter.h"
#include "upload/FileUploader.h"
#include "TempFiles.h"
#include "upload/UploadQueue.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"
#include "store/VelmDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

// Several files converting at once, with records still handed over in job order.
class TestFileConverter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void jobOrderWithThreeAtOnce();
    void cancelInParallel();
    void damagedAndOddMedia();

private:
    // Takes every record until the last job's source record; file name and type of each.
    static QStringList takeAll(UploadQueue& queue);
    static QList<qint64> runningTools();

    TestEnvironment m_env;
    QString m_strBig;
};

void TestFileConverter::initTestCase()
{
    m_strBig = m_env.root() + QLatin1String("/big.jpg");
    QVERIFY(MediaFixtures::makeJpeg(m_strBig, 4000, 3000));
    QVERIFY(TempFiles::ensureFolder());
}

QStringList TestFileConverter::takeAll(UploadQueue& queue)
{
    QStringList lstTaken;
    while (queue.tryAcquire(1, 60000)) {
        const RenditionRecord record = queue.takeRecord();
        lstTaken.append(record.value(KeyOrigName) + QLatin1Char(' ') + record.value(KeyUploadType));
        if (record.contains(KeyJobLast))
            break;
    }
    return lstTaken;
}

QList<qint64> TestFileConverter::runningTools()
{
    // Children of this process, from every thread's list.
    QList<qint64> lstPids;
    for (const QString& strTask : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(QStringLiteral("/proc/self/task/%1/children").arg(strTask));
        if (children.open(QIODevice::ReadOnly))
            for (const QByteArray& baPid : children.readAll().split(' '))
                if (baPid.trimmed().toLongLong() > 0)
                    lstPids.append(baPid.trimmed().toLongLong());
    }
    return lstPids;
}

void TestFileConverter::jobOrderWithThreeAtOnce()
{
    // A large photo first, two small ones after it: the small ones are done first, and still
    // reach the uploader after it.
    UploadJobList lstJobs{{{JobLocalPath, m_strBig}, {JobDestination, QString()}}};
    for (const char* pszName : {"a.jpg", "b.jpg"}) {
        const QString strPath = m_env.root() + QLatin1Char('/') + QLatin1String(pszName);
        QVERIFY(MediaFixtures::makeScene(strPath, 200, 150));
        lstJobs.append({{JobLocalPath, strPath}, {JobDestination, QString()}});
    }
    qputenv("PICTARIUM_CONVERT_JOBS", "3");
    UploadQueue queue;
    queue.total = int(lstJobs.size());
    ServerProfile profile;
    FileConverter converter(&queue, &lstJobs, profile);
    qunsetenv("PICTARIUM_CONVERT_JOBS");
    const quint32 uFirst = TempFiles::lastConversionId() + 1;
    converter.start();
    const QStringList lstTaken = takeAll(queue);
    QVERIFY(converter.wait(60000));

    QStringList lstExpected;
    for (const char* pszName : {"big.jpg", "a.jpg", "b.jpg"}) {
        for (const char* pszType : {"THUM_B", "THUM_L", "THUM_M", "THUM_S", "THUM_XL", "ORIG_FILE"})
            lstExpected.append(QLatin1String(pszName) + QLatin1Char(' ') + QLatin1String(pszType));
    }
    QCOMPARE(lstTaken, lstExpected);
    const auto madeAt = [](quint32 uId) {
        return QFileInfo(TempFiles::tempFilePrefix(uId) + QLatin1String("THUMB_XL.jpg")).lastModified();
    };
    QVERIFY(madeAt(uFirst + 1) < madeAt(uFirst));
    QVERIFY(madeAt(uFirst + 2) < madeAt(uFirst));
    QCOMPARE(queue.completeProgress(), 0.8f);
}

void TestFileConverter::cancelInParallel()
{
    // Four large photos through the converter tool, two at a time; the stop comes while they run.
    UploadJobList lstJobs;
    for (int i = 0; i < 4; ++i) {
        const QString strPath = m_env.root() + QStringLiteral("/cancel/%1.jpg").arg(i);
        QDir().mkpath(QFileInfo(strPath).absolutePath());
        QVERIFY(QFile::copy(m_strBig, strPath));
        lstJobs.append({{JobLocalPath, strPath}, {JobDestination, QString()}});
    }
    qputenv("PICTARIUM_CONVERT_JOBS", "2");
    qputenv("PICTARIUM_THUMBNAIL_ENGINE", "convert");
    UploadQueue queue;
    queue.total = int(lstJobs.size());
    ServerProfile profile;
    FileConverter converter(&queue, &lstJobs, profile);
    qunsetenv("PICTARIUM_CONVERT_JOBS");
    converter.start();
    QTRY_VERIFY_WITH_TIMEOUT(runningTools().size() == 2, 20000);
    const int nBefore = queue.available();
    converter.requestStop();
    QVERIFY(converter.wait(20000));
    qunsetenv("PICTARIUM_THUMBNAIL_ENGINE");
    QVERIFY(runningTools().isEmpty());
    QCOMPARE(queue.available(), nBefore);
    QCOMPARE(nBefore, 0);
}

namespace {

bool ffmpeg(const QStringList& lstArgs)
{
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + lstArgs);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

// Damaged and odd media from phones and cameras, through conversion and upload to the server: every
// file is stored, each problem is one clear line of the report, and no work file stays behind.
void TestFileConverter::damagedAndOddMedia()
{
    VelmLocale::fillMessageTable();
    const QString strDir = m_env.root() + QLatin1String("/odd/");
    QVERIFY(QDir().mkpath(strDir));
    TempFiles::emptyFolder();
    const QString strClip = QStringLiteral("color=c=blue:s=320x240:r=25:d=%1");
    // A clip turned by 45 degrees: no quarter turn, so the renditions show it as stored.
    QVERIFY(ffmpeg({"-f", "lavfi", "-i", strClip.arg(1), "-c:v", "libx264", "-pix_fmt", "yuv420p", strDir + "straight.mp4"}));
    QVERIFY(ffmpeg({"-i", strDir + "straight.mp4", "-c", "copy", "-metadata:s:v:0", "rotate=45", strDir + "tilted.mp4"}));
    QVERIFY(QFile::remove(strDir + "straight.mp4"));
    // An HEVC stream cut in half.
    QVERIFY(ffmpeg({"-f", "lavfi", "-i", strClip.arg(4), "-c:v", "libx265", "-preset", "ultrafast", "-x265-params",
                    "log-level=error", strDir + "cut.mkv"}));
    QVERIFY(QFile::resize(strDir + "cut.mkv", QFileInfo(strDir + "cut.mkv").size() / 2));
    // A HEIC whose picture data is missing.
    QVERIFY(MediaFixtures::makeMarked(strDir + "empty.heic", 640, 480));
    QByteArray baHeic = TestFiles::readBytes(strDir + "empty.heic");
    QVERIFY(TestFiles::writeBytes(strDir + "empty.heic", baHeic.left(baHeic.indexOf("mdat") + 4)));
    // An AVIF that says it is 30000 x 30000.
    QVERIFY(MediaFixtures::makeMarked(strDir + "huge.avif", 64, 64));
    QByteArray baAvif = TestFiles::readBytes(strDir + "huge.avif");
    const qsizetype iIspe = baAvif.indexOf("ispe");
    QVERIFY(iIspe > 0);
    for (int i = 0; i < 2; ++i)
        qToBigEndian<quint32>(30000, baAvif.data() + iIspe + 8 + 4 * i);
    QVERIFY(TestFiles::writeBytes(strDir + "huge.avif", baAvif));
    // A WebP animation: the first frame stands for it.
    QVERIFY(MediaFixtures::makeMarked(strDir + "frame.png", 400, 300));
    const vips::VImage frame = vips::VImage::new_from_file(QFile::encodeName(strDir + "frame.png").constData());
    vips::VImage animation = frame.join(frame.flip(VIPS_DIRECTION_HORIZONTAL), VIPS_DIRECTION_VERTICAL);
    animation.set("page-height", 300);
    animation.webpsave(QFile::encodeName(strDir + "anim.webp").constData());
    QVERIFY(QFile::remove(strDir + "frame.png"));
    // A 16-bit PNG, a JPEG cut short, and a whole one.
    QVERIFY(MediaFixtures::makeMarked(strDir + "deep.png", 800, 600, 0, QString(), 16));
    QVERIFY(MediaFixtures::makeJpeg(strDir + "cut.jpg", 1600, 1200));
    QVERIFY(QFile::resize(strDir + "cut.jpg", QFileInfo(strDir + "cut.jpg").size() * 2 / 3));
    QVERIFY(MediaFixtures::makeJpeg(strDir + "whole.jpg", 800, 600));

    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    const auto closeDatabase = qScopeGuard([]() { VelmDatabase::close(); });
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    RefServerProcess server(m_env.root() + QLatin1String("/server"));
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    QVERIFY(server.start());
    ServerProfile profile;
    ProfileStore::fillRecord(profile, QStringLiteral("home"), server.host(), server.port(), false,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, false,
                             QStringLiteral("RENAME"), QString(), {});
    profile.qualities = {2};
    QNetworkAccessManager nam;
    QVERIFY(logIn(&nam, &profile));

    const QStringList lstNames{"tilted.mp4", "cut.mkv", "empty.heic", "huge.avif", "anim.webp",
                               "deep.png",   "cut.jpg", "whole.jpg"};
    UploadJobList lstJobs;
    for (const QString& strName : lstNames)
        lstJobs.append({{JobLocalPath, strDir + strName}, {JobDestination, QString()}});
    UploadQueue queue;
    QVERIFY(convertAndUpload(lstJobs, &queue, &nam, &profile));

    QCOMPARE(queue.successes, lstNames);
    QCOMPARE(queue.failed, 0);
    for (const QString& strName : lstNames)
        QCOMPARE(TestFiles::readBytes(server.root() + QLatin1String("/photo/") + strName),
                 TestFiles::readBytes(strDir + strName));
    const QList<QPair<QString, QString>> lstNotes{
        {"tilted.mp4", VelmLocale::message("err_upd_odd_rotation").arg(315)},
        {"cut.mkv", VelmLocale::message("err_upd_video_damaged")},
        {"empty.heic", VelmLocale::message("err_upd_damaged_none")},
        {"huge.avif", VelmLocale::message("err_upd_too_large").arg(900)},
        {"cut.jpg", VelmLocale::message("err_upd_damaged_part")}};
    QCOMPARE(queue.notes, lstNotes);
    // The renditions went to the server, and nothing of this run stays in the temporary folder.
    QCOMPARE(QDir(TempFiles::folderPath()).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestFileConverter)
#include "tst_fileconverter.moc"
