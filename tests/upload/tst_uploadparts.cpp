#include "TestEnvironment.h"
#include "UploadWizard/FileConverter.h"
#include "UploadWizard/MediaCheck.h"
#include "UploadWizard/TempFiles.h"
#include "UploadWizard/UploadQueue.h"
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
    void emptyingKeepsOtherRuns();
    void jpegCheck();
    void converterHandOver();

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
    QTest::newRow("JFIF: fifth byte zero") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11)
                                           << QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray("\x10JFIF", 5);
    QTest::newRow("starts with zero") << QByteArray("\x00" "abc", 4) << QByteArray("bc");
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

void TestUploadParts::jpegCheck()
{
    const QString strJpeg = m_env.root() + QLatin1String("/p.jpg");
    QCOMPARE(QProcess::execute(QStringLiteral("convert"), {"-size", "64x48", "plasma:", "-quality", "80", strJpeg}), 0);
    const QByteArray baJpeg = TestFiles::readBytes(strJpeg);
    QVERIFY(MediaCheck::isCompleteJpeg(baJpeg));
    QVERIFY(MediaCheck::isCompleteJpeg(baJpeg + QByteArray(10, '\0')));
    QVERIFY(!MediaCheck::isCompleteJpeg(baJpeg.left(baJpeg.size() - 2)));
    QVERIFY(!MediaCheck::isCompleteJpeg(baJpeg.left(baJpeg.size() / 2)));
    QVERIFY(!MediaCheck::isCompleteJpeg(QByteArray("\xFF\xD8 not really a jpeg \xFF\xD9")));
    QVERIFY(!MediaCheck::isCompleteJpeg(QByteArray()));
    QVERIFY(!MediaCheck::isCompleteJpegFile(m_env.root() + QLatin1String("/none.jpg")));

    const QString strProgressive = m_env.root() + QLatin1String("/q.jpg");
    QCOMPARE(QProcess::execute(QStringLiteral("convert"), {strJpeg, "-interlace", "JPEG", strProgressive}), 0);
    QVERIFY(MediaCheck::isCompleteJpegFile(strProgressive));
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

QTEST_GUILESS_MAIN(TestUploadParts)
#include "tst_uploadparts.moc"
