#include "MediaFixtures.h"
#include "TestEnvironment.h"
#include "upload/FileConverter.h"
#include "upload/MediaCheck.h"
#include "TempFiles.h"
#include "upload/UploadQueue.h"
#include "VelmLocale.h"
#include "store/ServerProfile.h"
#include "store/UploadHistory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

// The pieces of the pipeline that need no server: fingerprints, the temporary folder, the
// thumbnail check and the converter's hand-over.
class TestUploadParts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fingerprint_data();
    void fingerprint();
    void tempFolderIsPrivate();
    void tempLocation_data();
    void tempLocation();
    void emptyingKeepsOtherRuns();
    void mediaCheck_data();
    void mediaCheck();
    void converterHandOver();
    void storedNamesAndMissingRenditions();

private:
    TestEnvironment m_env;
};

void TestUploadParts::fingerprint_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("hashed"); // what the MD5 is taken over

    QByteArray baLong(2000, 'a');
    baLong[1000] = 'M';
    QTest::newRow("short text") << QByteArray("hello") << QByteArray("hellohello").left(5) + QByteArray("llo").right(3);
    // Zero bytes count like any other: two JPEGs that differ after their fifth byte differ.
    const QByteArray baJfif("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11);
    QTest::newRow("JFIF: fifth byte zero") << baJfif << baJfif + baJfif.mid(5);
    QTest::newRow("starts with zero") << QByteArray("\x00" "abc", 4) << QByteArray("\x00" "abc", 4) + "bc";
    QTest::newRow("512 from the start and the middle") << baLong << baLong.left(512) + baLong.mid(1000, 512);
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestUploadParts::fingerprint()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, hashed);
    const QString strPath = m_env.root() + QLatin1String("/f.bin");
    QVERIFY(TestFiles::writeBytes(strPath, content));
    QCOMPARE(UploadHistory::fingerprint(strPath),
             QString::fromLatin1(QCryptographicHash::hash(hashed, QCryptographicHash::Md5).toHex()));
    QCOMPARE(UploadHistory::fingerprint(m_env.root() + QLatin1String("/missing")),
             QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
}

void TestUploadParts::tempFolderIsPrivate()
{
    const QString strFolder = TempFiles::folderPath();
    QCOMPARE(strFolder, m_env.tempDir() + QLatin1String("/VOZ_PHOTO_TEMP-") + QString::number(::getuid()));
    QVERIFY(TempFiles::ensureFolder());
    QCOMPARE(QFileInfo(strFolder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
    QVERIFY(TempFiles::tempFilePrefix(7).endsWith(QStringLiteral("/%1_7").arg(QCoreApplication::applicationPid())));

    // A link planted in its place is refused.
    QVERIFY(QDir(strFolder).removeRecursively());
    QVERIFY(QDir().mkpath(m_env.root() + QLatin1String("/elsewhere")));
    QVERIFY(QFile::link(m_env.root() + QLatin1String("/elsewhere"), strFolder));
    QVERIFY(!TempFiles::ensureFolder());
    QVERIFY(QFile::remove(strFolder));
    QVERIFY(TempFiles::ensureFolder());
}

void TestUploadParts::tempLocation_data()
{
    QTest::addColumn<QString>("tmpdir"); // relative to the test folder; "-" unset
    QTest::addColumn<bool>("own");       // the folder lands inside it, else in /tmp
    QTest::newRow("existing folder") << QStringLiteral("tmp") << true;
    QTest::newRow("folder that does not exist") << QStringLiteral("no/such/folder") << false;
    QTest::newRow("a file") << QStringLiteral("plain.txt") << false;
    QTest::newRow("unset") << QStringLiteral("-") << false;
}

void TestUploadParts::tempLocation()
{
    QFETCH(QString, tmpdir);
    QFETCH(bool, own);
    const QByteArray baSaved = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&baSaved]() { qputenv("TMPDIR", baSaved); });
    QVERIFY(TestFiles::writeBytes(m_env.root() + QLatin1String("/plain.txt"), "x"));
    const QString strTmpdir = m_env.root() + QLatin1Char('/') + tmpdir;
    if (tmpdir == QLatin1String("-"))
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", QFile::encodeName(strTmpdir));
    // Never at the file system root, whatever TMPDIR says.
    const QString strExpected = (own ? strTmpdir : QStringLiteral("/tmp")) + QLatin1String("/VOZ_PHOTO_TEMP-") +
                                QString::number(::getuid());
    QCOMPARE(TempFiles::folderPath(), strExpected);
}

void TestUploadParts::emptyingKeepsOtherRuns()
{
    QVERIFY(TempFiles::ensureFolder());
    QProcess finished;
    finished.start(QStringLiteral("true"));
    QVERIFY(finished.waitForFinished());
    const QString strDeadPid = QString::number(finished.processId() > 0 ? finished.processId() : 999999);
    const QString strFolder = TempFiles::folderPath() + QLatin1Char('/');
    const QString strOwn = TempFiles::tempFilePrefix(1) + QLatin1String("THUMB_B.jpg");
    const QString strRunning = strFolder + QString::number(::getppid()) + QLatin1String("_3THUMB_B.jpg");
    const QString strDead = strFolder + QLatin1String("999999999_1FILM_H.mp4");
    const QString strOther = strFolder + QLatin1String("notes.txt");
    for (const QString& strPath : {strOwn, strRunning, strDead, strOther})
        QVERIFY(TestFiles::writeBytes(strPath, "x"));

    TempFiles::emptyFolder();
    QVERIFY(!QFile::exists(strOwn));
    QVERIFY(!QFile::exists(strDead));
    QVERIFY(QFile::exists(strRunning));
    QVERIFY(QFile::exists(strOther));
    Q_UNUSED(strDeadPid)
}

namespace {

// The whole files the completeness checks are tried on, made once by the real tools.
QByteArray mediaFixture(const QString& strFolder, const QString& strName)
{
    static QHash<QString, QByteArray> s_made{{"fake jpeg", "\xFF\xD8 not really a jpeg \xFF\xD9"},
                                             {"text", "holiday notes, not a picture\n"}};
    if (s_made.contains(strName) || strName == QLatin1String("empty"))
        return s_made.value(strName);
    // clang-format off
    const QStringList lstClip{"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=64x48:rate=10:duration=0.5",
                              "-f", "lavfi", "-i", "sine=duration=0.5", "-c:v", "libx264", "-preset", "ultrafast",
                              "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", "-f", "mp4"};
    // clang-format on
    const QHash<QString, QStringList> hashMakers{
        {"jpeg", {"convert", "-size", "64x48", "plasma:", "-quality", "80", "jpg:"}},
        {"progressive", {"convert", "-size", "64x48", "plasma:", "-interlace", "JPEG", "jpg:"}},
        {"ppm", {"convert", "-size", "7x5", "plasma:", "-depth", "8", "ppm:"}},
        {"pgm16", {"convert", "-size", "7x5", "gradient:", "-depth", "16", "pgm:"}},
        {"mp4", QStringList{"ffmpeg"} + lstClip},
        {"mp4 faststart", QStringList{"ffmpeg"} + lstClip + QStringList{"-movflags", "+faststart"}}};
    QStringList lstArgs = hashMakers.value(strName);
    const QString strPath = strFolder + QLatin1String("/fixture");
    if (lstArgs.isEmpty())
        return QByteArray();
    const QString strTool = lstArgs.takeFirst();
    if (lstArgs.last().endsWith(QLatin1Char(':')))
        lstArgs.last() += strPath;
    else
        lstArgs << strPath;
    if (QProcess::execute(strTool, lstArgs) == 0)
        s_made.insert(strName, TestFiles::readBytes(strPath));
    return s_made.value(strName);
}

// One edit of a file: "cut N" drops N bytes at the end, "half" keeps the first half, "append N" adds
// N zero bytes, "replace A=>B" changes the first A; of a top-level MP4 box T: "end T" ends the file
// where T starts, "grow T" / "zero T" make its size one larger / 0, "rename T" makes it a free box,
// "large T" gives it the 64-bit size form.
QByteArray edited(QByteArray ba, const QString& strEdit)
{
    const QString strOp = strEdit.section(QLatin1Char(' '), 0, 0);
    const QString strArg = strEdit.section(QLatin1Char(' '), 1);
    if (strOp == QLatin1String("cut") || strOp == QLatin1String("half"))
        return ba.left(strOp == QLatin1String("half") ? ba.size() / 2 : ba.size() - strArg.toInt());
    if (strOp == QLatin1String("append"))
        return ba + QByteArray(strArg.toInt(), '\0');
    if (strOp == QLatin1String("replace")) {
        const QByteArray baFrom = strArg.section(QLatin1String("=>"), 0, 0).toLatin1();
        return ba.replace(ba.indexOf(baFrom), baFrom.size(), strArg.section(QLatin1String("=>"), 1).toLatin1());
    }
    qsizetype i = 0;
    while (i + 8 <= ba.size() && ba.mid(i + 4, 4) != strArg.toLatin1())
        i += qMax<quint32>(8, qFromBigEndian<quint32>(ba.constData() + i));
    if (strOp.isEmpty() || i + 8 > ba.size())
        return ba;
    const quint32 uSize = qFromBigEndian<quint32>(ba.constData() + i);
    if (strOp == QLatin1String("end"))
        return ba.left(i);
    if (strOp == QLatin1String("grow") || strOp == QLatin1String("zero"))
        qToBigEndian<quint32>(strOp == QLatin1String("grow") ? uSize + 1 : 0, ba.data() + i);
    if (strOp == QLatin1String("rename"))
        ba.replace(i + 4, 4, "free");
    if (strOp == QLatin1String("large")) {
        QByteArray baHead(16, '\0');
        qToBigEndian<quint32>(1, baHead.data());
        baHead.replace(4, 4, strArg.toLatin1());
        qToBigEndian<quint64>(uSize + 8, baHead.data() + 8);
        ba.replace(i, 8, baHead);
    }
    return ba;
}

} // namespace

void TestUploadParts::mediaCheck_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fixture"); // "missing": no file at all
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("complete");

    // clang-format off
    QTest::newRow("jpeg") << "jpeg" << "jpeg" << "" << true;
    QTest::newRow("jpeg, zeros after the end") << "jpeg" << "jpeg" << "append 10" << true;
    QTest::newRow("jpeg one byte short") << "jpeg" << "jpeg" << "cut 1" << false;
    QTest::newRow("jpeg without its end marker") << "jpeg" << "jpeg" << "cut 2" << false;
    QTest::newRow("jpeg half") << "jpeg" << "jpeg" << "half" << false;
    QTest::newRow("progressive jpeg") << "jpeg" << "progressive" << "" << true;
    QTest::newRow("progressive jpeg half") << "jpeg" << "progressive" << "half" << false;
    QTest::newRow("jpeg markers around text") << "jpeg" << "fake jpeg" << "" << false;
    QTest::newRow("empty jpeg") << "jpeg" << "empty" << "" << false;
    QTest::newRow("missing jpeg") << "jpeg" << "missing" << "" << false;

    // clang-format on
    for (const char* pszFixture : {"mp4", "mp4 faststart"}) {
        const QString strLast = QLatin1String(qstrcmp(pszFixture, "mp4") == 0 ? "moov" : "mdat");
        const auto row = [&](const char* pszName, const QString& strEdit, bool blComplete) {
            QTest::addRow("%s: %s", pszFixture, pszName) << "mp4" << pszFixture << strEdit << blComplete;
        };
        row("whole", "", true);
        row("one byte short", "cut 1", false);
        row("half", "half", false);
        row("a byte after the last box", "append 1", false);
        row("last box to the end (size 0)", "zero " + strLast, true);
        row("first box to the end (size 0)", "zero ftyp", false);
        row("last box past the end", "grow " + strLast, false);
        row("64-bit mdat size", "large mdat", true);
        row("ends where the last box starts", "end " + strLast, false);
        row("no moov", "rename moov", false);
    }
    // clang-format off
    QTest::newRow("text as mp4") << "mp4" << "text" << "" << false;
    QTest::newRow("empty mp4") << "mp4" << "empty" << "" << false;
    QTest::newRow("missing mp4") << "mp4" << "missing" << "" << false;

    QTest::newRow("ppm") << "ppm" << "ppm" << "" << true;
    QTest::newRow("ppm one byte short") << "ppm" << "ppm" << "cut 1" << false;
    QTest::newRow("ppm half") << "ppm" << "ppm" << "half" << false;
    QTest::newRow("ppm, bytes after the samples") << "ppm" << "ppm" << "append 3" << true;
    QTest::newRow("ppm with a comment") << "ppm" << "ppm" << "replace P6\n=>P6\n# 9 9 255\n" << true;
    QTest::newRow("plain-text ppm") << "ppm" << "ppm" << "replace P6=>P3" << false;
    QTest::newRow("8-bit samples, 16-bit maximum") << "ppm" << "ppm" << "replace 255\n=>65535\n" << false;
    QTest::newRow("16-bit pgm") << "ppm" << "pgm16" << "" << true;
    QTest::newRow("16-bit pgm one byte short") << "ppm" << "pgm16" << "cut 1" << false;
    QTest::newRow("text as ppm") << "ppm" << "text" << "" << false;
    QTest::newRow("missing ppm") << "ppm" << "missing" << "" << false;
    // clang-format on
}

void TestUploadParts::mediaCheck()
{
    QFETCH(QString, kind);
    QFETCH(QString, fixture);
    QFETCH(QString, edit);
    QFETCH(bool, complete);

    const QString strPath = m_env.root() + QLatin1String("/checked");
    QFile::remove(strPath);
    QByteArray baData;
    if (fixture != QLatin1String("missing")) {
        const QByteArray baWhole = mediaFixture(m_env.root(), fixture);
        QVERIFY2(!baWhole.isEmpty() || fixture == QLatin1String("empty"), qPrintable(fixture));
        baData = edited(baWhole, edit);
        QVERIFY2(edit.isEmpty() || baData != baWhole, qPrintable(edit));
        QVERIFY(TestFiles::writeBytes(strPath, baData));
    }
    if (kind == QLatin1String("jpeg")) {
        QCOMPARE(MediaCheck::isCompleteJpeg(baData), complete);
        QCOMPARE(MediaCheck::isCompleteJpegFile(strPath), complete);
    } else if (kind == QLatin1String("mp4")) {
        QCOMPARE(MediaCheck::isCompleteMp4File(strPath), complete);
    } else {
        QCOMPARE(MediaCheck::isCompletePpmFile(strPath), complete);
    }
}

void TestUploadParts::converterHandOver()
{
    // Without a server: the records a converter hands over, in order, with their keys.
    UploadQueue queue;
    ServerProfile profile;
    profile.daterename = false;
    // A file that is converted to nothing: its thumbnails are still looked for.
    const QString strPhoto = m_env.root() + QLatin1String("/x.bin");
    const QString strText = m_env.root() + QLatin1String("/notes.txt");
    QVERIFY(TestFiles::writeBytes(strPhoto, "png"));
    QVERIFY(TestFiles::writeBytes(strText, "txt"));
    const UploadJobList lstJobs{{{JobLocalPath, strPhoto}, {JobDestination, QStringLiteral("a")}},
                                {{JobLocalPath, strText}, {JobDestination, QStringLiteral("b")}}};
    queue.total = 2;

    const quint32 uFirst = TempFiles::lastConversionId() + 1;
    QVERIFY(TempFiles::ensureFolder());
    const QString strThumbM = TempFiles::tempFilePrefix(uFirst) + QLatin1String("THUMB_M.jpg");
    QCOMPARE(QProcess::execute(QStringLiteral("convert"), {"-size", "8x8", "xc:red", strThumbM}), 0);
    // A thumbnail cut short is skipped, and the next one is not taken for the first.
    const QByteArray baThumb = TestFiles::readBytes(strThumbM);
    QVERIFY(TestFiles::writeBytes(TempFiles::tempFilePrefix(uFirst) + QLatin1String("THUMB_B.jpg"),
                                  baThumb.left(baThumb.size() - 3)));
    // Thumbnails of the second job's id are found too: every kind looks for them.
    QProcess::execute(QStringLiteral("convert"),
                      {"-size", "8x8", "xc:red", TempFiles::tempFilePrefix(uFirst + 1) + QLatin1String("THUMB_B.jpg")});

    FileConverter converter(&queue, &lstJobs, profile);
    converter.start();
    QVERIFY(converter.wait(30000));
    QCOMPARE(TempFiles::lastConversionId(), uFirst + 1);

    QStringList lstSeen;
    while (queue.tryAcquire(1)) {
        const RenditionRecord record = queue.takeRecord();
        QStringList lstKeys;
        for (auto it = record.begin(); it != record.end(); ++it)
            lstKeys.append(QString::number(it.key()));
        lstSeen.append(record.value(KeyUploadType) + QLatin1Char(':') + record.value(KeyDestination) +
                       QLatin1Char(':') + lstKeys.join(QLatin1Char(',')));
    }
    QStringList lstExpected{"THUM_M:a:0,1,2,3,4"};
    lstExpected << "ORIG_FILE:a:0,1,2,3,5" << "THUM_B:b:0,1,2,3,4" << "ORIG_FILE:b:0,1,2,3,5,6";
    QCOMPARE(lstSeen, lstExpected);
    QVERIFY(qAbs(queue.nextProgress() - 0.8f) < 1e-6f);
    QVERIFY(qAbs(queue.completeProgress() - 0.8f) < 1e-6f);
}

void TestUploadParts::storedNamesAndMissingRenditions()
{
    // Burst photos of one second, renamed by capture time: each keeps a name of its own within
    // the album, in job order; another album starts afresh. A photo that cannot be read at all
    // says so on its source record.
    const QString strTaken = QStringLiteral("2024:05:01 14:03:07");
    const QString strDir = m_env.root() + QLatin1String("/burst/");
    UploadJobList lstJobs;
    auto add = [&](const QString& strName, const QString& strAlbum) {
        lstJobs.append({{JobLocalPath, strDir + strName}, {JobDestination, strAlbum}});
    };
    for (const char* pszName : {"DSC_1.JPG", "DSC_2.JPG", "DSC_3.JPG"}) {
        QVERIFY(MediaFixtures::makeJpeg(strDir + QLatin1String(pszName), 48, 32, strTaken));
        add(QLatin1String(pszName), QStringLiteral("2024"));
    }
    QVERIFY(MediaFixtures::makeJpeg(strDir + QLatin1String("DSC_4.JPG"), 48, 32, strTaken));
    add(QStringLiteral("DSC_4.JPG"), QStringLiteral("2024/other"));
    // Keeps its own name, which the renamed photos took already (letter case aside).
    QVERIFY(TestFiles::writeBytes(strDir + QLatin1String("img_20240501_140307_1.jpg"), "not a picture"));
    add(QStringLiteral("img_20240501_140307_1.jpg"), QStringLiteral("2024"));
    QVERIFY(TestFiles::writeBytes(strDir + QLatin1String("notes"), "text"));
    add(QStringLiteral("notes"), QStringLiteral("2024"));

    UploadQueue queue;
    queue.total = int(lstJobs.size());
    ServerProfile profile;
    profile.daterename = true;
    FileConverter converter(&queue, &lstJobs, profile);
    converter.start();
    QVERIFY(converter.wait(60000));
    QStringList lstSources;
    while (queue.tryAcquire(1)) {
        const RenditionRecord record = queue.takeRecord();
        if (record.value(KeyUploadType) == QLatin1String("ORIG_FILE"))
            lstSources << record.value(KeyDestination) + QLatin1Char('/') + record.value(KeyOrigName) +
                              QLatin1Char('|') + record.value(KeyMissing, QStringLiteral("-")) + QLatin1Char('|') +
                              record.value(KeyNote, QStringLiteral("-"));
    }
    QCOMPARE(lstSources,
             QStringList({"2024/IMG_20240501_140307.JPG|-|-", "2024/IMG_20240501_140307_1.JPG|-|-",
                          "2024/IMG_20240501_140307_2.JPG|-|-", "2024/other/IMG_20240501_140307.JPG|-|-",
                          "2024/img_20240501_140307_1_1.jpg|-|" + VelmLocale::message("err_upd_damaged_none"),
                          "2024/notes|-|-"}));
    TempFiles::emptyFolder();
}

QTEST_GUILESS_MAIN(TestUploadParts)
#include "tst_uploadparts.moc"
