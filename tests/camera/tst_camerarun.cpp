#include "CliRunner.h"
#include "MediaFixtures.h"
#include "WizardFixture.h"

#include "AppIdentity.h"
#include "CameraImport.h"
#include "store/ProfileStore.h"
#include "upload/UploadQueue.h"
#include "upload/UploadRun.h"
#include "UploadWizard/UploadWizard.h"
#include "UploadWizard/WizUpdProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <csignal>

// The program itself in camera mode, unattended, against the reference server: modes 6 and 5
// with folder devices.
class TestCameraRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_fixture.start());
        ProfileStore::saveUploadOptions(m_fixture.profile);
    }
    void cleanup() { m_fixture.stop(); }
    void modeSixUploadsTheCard();
    void modeFiveStartsModeSix();
    void modeSixWithoutProfileOrDevice();
    void wizardWithToolThatFailsOrHangs();

private:
    QProcessEnvironment cameraEnvironment(const QString& strCards) const;
    QStringList cameraRows() const;
    WizardFixture m_fixture;
};

QProcessEnvironment TestCameraRun::cameraEnvironment(const QString& strCards) const
{
    QProcessEnvironment env = m_fixture.env->processEnvironment();
    env.insert(QStringLiteral("PICTARIUM_CAMERA_DIRS"), strCards);
    return env;
}

QStringList TestCameraRun::cameraRows() const
{
    QStringList lstRows;
    for (const QVariantList& row : queryDatabase(*m_fixture.env, QStringLiteral("SELECT * FROM PTPPhotoRecords")))
        lstRows.append(row.value(0).toString() + '|' + row.value(1).toString() + '|' + row.value(2).toString() + '|' +
                       row.value(3).toString() + '|' + row.value(4).toString());
    lstRows.sort();
    return lstRows;
}

void TestCameraRun::modeSixUploadsTheCard()
{
    const QString strCard = m_fixture.env->root() + QLatin1String("/EOS_DIGITAL");
    const QString strDcim = strCard + QLatin1String("/DCIM");
    QVERIFY(MediaFixtures::makeJpeg(strDcim + QLatin1String("/100CANON/IMG_0001.JPG"), 64, 48));
    QVERIFY(MediaFixtures::makeJpeg(strDcim + QLatin1String("/101CANON/IMG_0001.JPG"), 48, 64));
    QVERIFY(makeVideo(strDcim + QLatin1String("/101CANON/MVI_0002.MP4")));
    QVERIFY(TestFiles::writeBytes(strCard + QLatin1String("/MISC/notes.txt"), "not a photo"));
    const QString strId = QLatin1String("folder:") + QFileInfo(strCard).canonicalFilePath();

    const ProgramRun run = runProgram({QStringLiteral("6")}, cameraEnvironment(strCard), 240000);
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.standardError));
    QVERIFY2(!run.standardError.contains(QLatin1String("[warning]")), qPrintable(run.standardError));

    // Every item arrives with its bytes and renditions; the second IMG_0001.JPG keeps its folder.
    const QStringList lstThumbs{"THUM_B.jpg", "THUM_L.jpg", "THUM_M.jpg", "THUM_S.jpg", "THUM_XL.jpg"};
    const struct
    {
        const char* pszStored;
        const char* pszOnCard;
        QStringList lstRenditions;
    } expected[] = {{"IMG_0001.JPG", "100CANON/IMG_0001.JPG", lstThumbs},
                    {"101CANON_IMG_0001.JPG", "101CANON/IMG_0001.JPG", lstThumbs},
                    {"MVI_0002.MP4", "101CANON/MVI_0002.MP4", QStringList{"MP4_MEDIUM.mp4"} + lstThumbs}};
    QStringList lstRows;
    for (const auto& item : expected) {
        const QString strOnCard = strDcim + QLatin1Char('/') + QLatin1String(item.pszOnCard);
        QCOMPARE(TestFiles::readBytes(m_fixture.serverFile(QLatin1String(item.pszStored))), TestFiles::readBytes(strOnCard));
        QCOMPARE(QDir(m_fixture.serverFile(QLatin1String(".renditions/") + QLatin1String(item.pszStored)))
                     .entryList(QDir::Files, QDir::Name),
                 item.lstRenditions);
        const QFileInfo info(strOnCard);
        lstRows.append(QStringList{item.pszStored, "home", QString::number(info.size()),
                                   QString::number(info.lastModified().toSecsSinceEpoch()), strId}
                           .join('|'));
    }
    QVERIFY(!QFile::exists(m_fixture.serverFile(QStringLiteral("notes.txt"))));
    lstRows.sort();
    QCOMPARE(cameraRows(), lstRows);
    QVERIFY(queryDatabase(*m_fixture.env, QStringLiteral("SELECT name FROM PhotoRecords")).isEmpty());
    QVERIFY(QDir(CameraImport::folderPath()).isEmpty(QDir::Files | QDir::Hidden));
    for (const char* pszList : {"ContentList", "ImportList"})
        QVERIFY(!QFile::exists(AppIdentity::dataFilePath(QLatin1String(pszList))));

    // The same card again: everything is skipped, and the user is told so.
    const int nUploads = int(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).size());
    const ProgramRun again = runProgram({QStringLiteral("6")}, cameraEnvironment(strCard), 120000);
    QVERIFY2(again.finished && again.exitCode == 0, qPrintable(again.standardError));
    QVERIFY2(again.standardError.contains(QLatin1String("[warning] Warning: The selected items have already been "
                                                        "uploaded to the destination folder in Pictarium.")),
             qPrintable(again.standardError));
    QCOMPARE(int(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).size()), nUploads);
    QCOMPARE(cameraRows(), lstRows);
}

void TestCameraRun::modeFiveStartsModeSix()
{
    const QString strCard = m_fixture.env->root() + QLatin1String("/card");
    QVERIFY(MediaFixtures::makeJpeg(strCard + QLatin1String("/DCIM/100PHOTO/DSC_0101.JPG"), 64, 48));
    const QString strLog = m_fixture.env->root() + QLatin1String("/stderr.log");
    QProcess process;
    process.setProcessEnvironment(cameraEnvironment(strCard));
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(strLog);
    process.start(QStringLiteral(PICTARIUM_UPLOADER_BIN), {QStringLiteral("5")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);

    // The detached mode-6 process imports the card and uploads it.
    QTRY_VERIFY_WITH_TIMEOUT(cameraRows().size() == 1, 120000);
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral(".renditions/DSC_0101.JPG/THUM_XL.jpg"))));
    QCOMPARE(TestFiles::readBytes(m_fixture.serverFile(QStringLiteral("DSC_0101.JPG"))),
             TestFiles::readBytes(strCard + QLatin1String("/DCIM/100PHOTO/DSC_0101.JPG")));
    const QString strLogText = QString::fromLocal8Bit(TestFiles::readBytes(strLog));
    QVERIFY(strLogText.indexOf(QLatin1String("run mode 5")) >= 0);
    QVERIFY(strLogText.indexOf(QLatin1String("run mode 5")) < strLogText.indexOf(QLatin1String("run mode 6")));
    QVERIFY(strLogText.contains(QLatin1String("Lensway\" 2 \"folder:")));
}

void TestCameraRun::modeSixWithoutProfileOrDevice()
{
    // No device: the user is asked to connect one, and nothing is sent.
    const ProgramRun none = runProgram({QStringLiteral("6")}, cameraEnvironment(QString()), 60000);
    QVERIFY2(none.finished && none.exitCode == 0, qPrintable(none.standardError));
    QVERIFY2(none.standardError.contains(QLatin1String("[warning] Warning: No camera or memory card with photos was "
                                                       "found.")),
             qPrintable(none.standardError));
    QVERIFY(!none.standardError.contains(QLatin1String("already been uploaded")));

    // No profile: the create-profile wizard comes first (an unattended run cannot fill it in).
    queryDatabase(*m_fixture.env, QStringLiteral("DELETE FROM ServerProfiles"));
    QFile::remove(AppIdentity::dataFilePath(QStringLiteral("ShortCutList")));
    const ProgramRun noProfile = runProgram({QStringLiteral("6")}, cameraEnvironment(QString()), 60000);
    QVERIFY2(noProfile.finished && noProfile.exitCode == 0, qPrintable(noProfile.standardError));
    QVERIFY2(noProfile.standardError.contains(QLatin1String("flow create-profile mode=6")),
             qPrintable(noProfile.standardError));
    QVERIFY(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).isEmpty());
}

void TestCameraRun::wizardWithToolThatFailsOrHangs()
{
    // A stand-in tool: lists one device and three items, copies one and crashes, or hangs.
    const QString strTool = m_fixture.env->root() + QLatin1String("/tool");
    const QString strData = AppIdentity::dataFolder();
    QVERIFY(TestFiles::writeBytes(strTool + QLatin1String("/devices"), TestFiles::utf16le("1\nfake\nFake\nUSB\n")));
    QVERIFY(TestFiles::writeBytes(strTool + QLatin1String("/content"), "a.jpg\n1\n2\nb.jpg\n3\n4\n../evil.jpg\n5\n6\n"));
    QVERIFY(TestFiles::writeBytes(strTool + QLatin1String("/a.jpg"), WizardFixture::jpegBytes()));
    const QString strScript = QStringLiteral(
        "#!/bin/sh\n"
        "case \"$1\" in\n"
        "0) cp '%1/devices' '%2/DeviceList' ;;\n"
        "1) cp '%1/content' '%2/ContentList' ;;\n"
        "2) if [ -f '%1/hang' ]; then echo $$ > '%1/pid'; exec sleep 60; fi\n"
        "   cp '%1/a.jpg' '%3/a.jpg'; kill -SEGV $$ ;;\n"
        "esac\n")
                                  .arg(strTool, strData, CameraImport::folderPath());
    QVERIFY(TestFiles::writeBytes(strTool + QLatin1String("/Lensway"), strScript.toUtf8()));
    QFile::setPermissions(strTool + QLatin1String("/Lensway"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray baPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(strTool) + ':' + baPath);

    {
        UploadWizard wizard(nullptr, RunMode::Camera, m_fixture.nam.get(), {}, &m_fixture.profile, &m_fixture.prompt);
        wizard.show();
        wizard.button(QWizard::NextButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(wizard.currentId() == UploadWizard::ProgressPage && wizard.progressPage()->isComplete(),
                                 60000);
        // The copied item is uploaded; the one the tool did not deliver and the unsafe name are
        // in the report.
        QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("a.jpg"))));
        QCOMPARE(cameraRows(), QStringList{QStringLiteral("a.jpg|home|1|2|fake")});
        const auto lstLeftOut = wizard.run()->reportRows();
        QCOMPARE(lstLeftOut.size(), 2);
        QCOMPARE(lstLeftOut.at(0).first + '|' + lstLeftOut.at(0).second,
                 QStringLiteral("../evil.jpg|Left out: the device gives this item a name that is not a plain file name"));
        QCOMPARE(lstLeftOut.at(1).first + '|' + lstLeftOut.at(1).second,
                 QStringLiteral("b.jpg|Left out: it could not be copied from the camera or memory card"));
    }
    QVERIFY(QDir(CameraImport::folderPath()).isEmpty(QDir::Files | QDir::Hidden));

    // Closing the window while the tool copies stops the tool at once; nothing is uploaded.
    QVERIFY(TestFiles::writeBytes(strTool + QLatin1String("/hang"), "1"));
    const int nUploads = int(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).size());
    {
        UploadWizard wizard(nullptr, RunMode::Camera, m_fixture.nam.get(), {}, &m_fixture.profile, &m_fixture.prompt);
        QTimer closer;
        connect(&closer, &QTimer::timeout, &wizard, [&]() {
            if (QFile::exists(strTool + QLatin1String("/pid")))
                wizard.reject();
        });
        closer.start(50);
        wizard.show();
        QElapsedTimer timer;
        timer.start();
        wizard.button(QWizard::NextButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.isVisible(), 30000);
        QVERIFY2(timer.elapsed() < 20000, "the tool was waited for");
        const pid_t pid = pid_t(TestFiles::readBytes(strTool + QLatin1String("/pid")).trimmed().toInt());
        QTRY_VERIFY(pid > 0 && ::kill(pid, 0) != 0);
        QVERIFY(wizard.run()->jobs().isEmpty());
    }
    qputenv("PATH", baPath);
    QCOMPARE(int(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).size()), nUploads);
}

QTEST_MAIN(TestCameraRun)
#include "tst_camerarun.moc"
