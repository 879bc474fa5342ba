#include "MediaFixtures.h"
#include "TestEnvironment.h"
#include "UploadWizard/FileConverter.h"
#include "UploadWizard/TempFiles.h"
#include "UploadWizard/UploadQueue.h"
#include "store/ServerProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

// Several files converting at once, with records still handed over in job order.
class TestFileConverter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void jobOrderWithThreeAtOnce();
    void cancelInParallel();

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

QTEST_GUILESS_MAIN(TestFileConverter)
#include "tst_fileconverter.moc"
