#include "WizardFixture.h"

#include "UploadWizard/AlbumBrowser.h"
#include "UploadWizard/ErrorReport.h"
#include "TempFiles.h"
#include "VelmLocale.h"
#include "upload/UploadQueue.h"
#include "upload/UploadRun.h"
#include "UploadWizard/UploadWizard.h"
#include "UploadWizard/WizUpdDialog.h"
#include "UploadWizard/WizUpdProgress.h"
#include "store/ProfileRunLock.h"
#include "store/ProfileStore.h"
#include "store/UploadHistory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

// The upload wizard driven through its buttons against the reference server.
class TestUploadWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useLanguage(QStringLiteral("enu")); }
    void cleanup()
    {
        m_fixture.stop();
        useLanguage(QStringLiteral("enu"));
    }

    void frame();
    void loginPromptThenUpload();
    void videoShowsQualityPage();
    void qualityChoice_data();
    void qualityChoice();
    void enterMeansNext();
    void emptyDestinationWarns();
    void destinationChecked_data();
    void destinationChecked();
    void nothingToSendMessage_data();
    void nothingToSendMessage();
    void finishCounts_data();
    void finishCounts();
    void failuresOpenTheReport();
    void errorReportWindow();
    void cancelDuringUpload_data();
    void cancelDuringUpload();
    void busyProfileAndUnsentFiles();
    void closeWhileWaiting_data();
    void closeWhileWaiting();
    void progressPacing_data();
    void progressPacing();

private:
    static void clickNext(UploadWizard& wizard) { wizard.button(QWizard::NextButton)->click(); }
    // Reads and closes every error report that opens: its header, then "file|text" rows.
    void readReports();
    // Counted texts take their forms from the language's catalogue.
    void useLanguage(const QString& strCode)
    {
        QCoreApplication::removeTranslator(&m_translator);
        QVERIFY(m_translator.load(QLatin1String(":/") + strCode + QLatin1String(".qm")));
        QCoreApplication::installTranslator(&m_translator);
        VelmLocale::fillMessageTable();
    }
    QTranslator m_translator;
    WizardFixture m_fixture;
    QTimer m_reportCloser;
    QStringList m_lstReport;
    int m_iReports = 0;
};

void TestUploadWizard::readReports()
{
    m_lstReport.clear();
    m_iReports = 0;
    m_reportCloser.disconnect();
    connect(&m_reportCloser, &QTimer::timeout, this, [this]() {
        auto* pReport = qobject_cast<ErrorReport*>(QApplication::activeModalWidget());
        if (!pReport)
            return;
        ++m_iReports;
        QAbstractItemModel* pModel = pReport->model();
        m_lstReport << pModel->headerData(0, Qt::Horizontal).toString() + QLatin1Char('|') +
                           pModel->headerData(1, Qt::Horizontal).toString();
        for (int i = 0; i < pModel->rowCount(); ++i)
            m_lstReport << pModel->index(i, 0).data().toString() + QLatin1Char('|') +
                               pModel->index(i, 1).data().toString();
        pReport->reject();
    });
    m_reportCloser.start(50);
}

void TestUploadWizard::frame()
{
    QVERIFY(m_fixture.start());
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {}, &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    QCOMPARE(wizard.size(), QSize(520, 355));
    QCOMPARE(wizard.minimumSize(), wizard.maximumSize());
    QVERIFY(wizard.windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(wizard.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(wizard.windowTitle(), QStringLiteral("home - Velmora Pictarium Uploader"));
    QVERIFY(wizard.testOption(QWizard::CancelButtonOnLeft));
    QVERIFY(!wizard.button(QWizard::BackButton)->isVisible());
    QCOMPARE(wizard.button(QWizard::NextButton)->text(), QStringLiteral("Next"));
    QCOMPARE(wizard.button(QWizard::NextButton)->height(), 24);
    QCOMPARE(wizard.optionsPage()->destinationText(), QStringLiteral("/photo"));
    QCOMPARE(int(wizard.wizardStyle()), 4);
}

void TestUploadWizard::loginPromptThenUpload()
{
    QVERIFY(m_fixture.start({}, false));
    m_fixture.prompt.textAnswers = {QStringLiteral("pw")};
    const QString strTrip = m_fixture.makeFile(QStringLiteral("trip/b.jpg"));
    m_fixture.makeFile(QStringLiteral("trip/a.jpg"));
    m_fixture.makeFile(QStringLiteral("trip/notes.txt"), "text");
    m_fixture.makeFile(QStringLiteral("trip/.hidden.jpg"));
    m_fixture.makeFile(QStringLiteral("trip/inner/c.png"));
    const QString strTripDir = QFileInfo(strTrip).absolutePath();

    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {strTripDir}, &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    wizard.optionsPage()->setDestinationText(QStringLiteral("/photo/2013"));
    clickNext(wizard);
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(UploadWizard::ProgressPage), 15000);
    QCOMPARE(m_fixture.shownTexts(), QStringList{"text|Please enter the ann's password."});

    // Folder first, inner folder before the files, the text file and the hidden file left out.
    QStringList lstJobs;
    for (const UploadJob& job : wizard.run()->jobs())
        lstJobs.append(QFileInfo(job.value(JobLocalPath)).fileName() + QLatin1Char('>') + job.value(JobDestination));
    QCOMPARE(lstJobs, QStringList({"trip>2013", "inner>2013/trip", "c.png>2013/trip/inner", "a.jpg>2013/trip",
                                   "b.jpg>2013/trip"}));

    WizUpdProgress* pProgress = wizard.progressPage();
    QTRY_VERIFY_WITH_TIMEOUT(pProgress->isComplete(), 30000);
    QCOMPARE(pProgress->fileStatusText(), QStringLiteral("Successfully uploaded"));
    // Three files; the two albums made for the folders are not counted.
    QCOMPARE(pProgress->fileNumText(), QStringLiteral(":3 files"));
    QVERIFY(!pProgress->failLabelsVisible());
    QVERIFY(pProgress->findChild<QLabel*>(QStringLiteral("m_plbUpdSkipNum"))->isHidden());
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("2013/trip/inner/c.png"))));
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("2013/trip/a.jpg"))));
    QVERIFY(!QFile::exists(m_fixture.serverFile(QStringLiteral("2013/trip/notes.txt"))));
    QVERIFY(!wizard.button(QWizard::CancelButton)->isVisible());
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
    QCOMPARE(wizard.button(QWizard::FinishButton)->text(), QStringLiteral("Close"));

    // The options of the run are stored and counted; the retyped password too.
    QCOMPARE(ProfileStore::uploadRunCount(QStringLiteral("home")), 1);
    ServerProfile stored;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("home"), stored, m_fixture.prompt));
    QCOMPARE(stored.serverdst, QStringLiteral("/photo/2013"));
    QCOMPARE(stored.duphandler, QStringLiteral("RENAME"));
    wizard.button(QWizard::FinishButton)->click();
    QVERIFY(!wizard.isVisible());
}

void TestUploadWizard::videoShowsQualityPage()
{
    QVERIFY(m_fixture.start());
    readReports();
    const QString strVideo = m_fixture.makeFile(QStringLiteral("clip.mov"), QByteArray(2000, 'v'));
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {strVideo}, &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    clickNext(wizard);
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(UploadWizard::QualityPage), 15000);
    auto* pMedium = wizard.currentPage()->findChild<QCheckBox*>(QStringLiteral("m_pchkMediumQual"));
    QVERIFY(pMedium && pMedium->isChecked());
    wizard.currentPage()->findChild<QCheckBox*>(QStringLiteral("m_pchkMobileQual"))->setChecked(true);
    wizard.currentPage()->findChild<QCheckBox*>(QStringLiteral("m_pchkHighQual"))->setChecked(true);
    clickNext(wizard);
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(UploadWizard::ProgressPage), 15000);
    QCOMPARE(m_fixture.profile.qualities, QList<int>({1, 0, 3}));
    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("clip.mov"))));
    // Not a real video: it is sent without its renditions, and the report says which.
    QTRY_COMPARE_WITH_TIMEOUT(m_iReports, 1, 5000);
    QCOMPARE(m_lstReport, QStringList({"File Name|Error Status",
                                       "clip.mov|Uploaded without thumbnails: they could not be made or sent. "
                                       "Uploaded without these video conversions: High (1080p HD, 2Mbp/s), "
                                       "Medium (720p HD, 1Mbp/s), Mobile (240p, 256kbp/s)"}));
    QCOMPARE(wizard.progressPage()->fileNumText(), QStringLiteral(":1 file"));
    QVERIFY(!wizard.progressPage()->failLabelsVisible());
}

void TestUploadWizard::qualityChoice_data()
{
    // Boxes in the order high, medium, low, mobile: a letter for a checked one, "-" otherwise.
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QList<int>>("written");
    QTest::newRow("none stored: medium") << QList<int>() << "-M--" << "H--m" << QList<int>({0, 3});
    QTest::newRow("all four") << QList<int>({2, 1, 0, 3}) << "HMLm" << "--L-" << QList<int>({2});
    QTest::newRow("mobile") << QList<int>({3}) << "---m" << "---m" << QList<int>({3});
    QTest::newRow("high and low") << QList<int>({2, 0}) << "H-L-" << "HML-" << QList<int>({2, 1, 0});
}

// The page shows the profile's qualities and refuses to go on without one.
void TestUploadWizard::qualityChoice()
{
    QFETCH(QList<int>, stored);
    QFETCH(QString, shown);
    QFETCH(QString, picked);
    QFETCH(QList<int>, written);
    QVERIFY(m_fixture.start());
    readReports();
    m_fixture.profile.qualities = stored;
    const QString strVideo = m_fixture.makeFile(QStringLiteral("clip.mov"), QByteArray(2000, 'v'));
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {strVideo}, &m_fixture.profile,
                        &m_fixture.prompt);
    wizard.show();
    clickNext(wizard);
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(UploadWizard::QualityPage), 15000);
    QList<QCheckBox*> lstBoxes;
    for (const char* pszName : {"m_pchkHighQual", "m_pchkMediumQual", "m_pchkLowQual", "m_pchkMobileQual"})
        lstBoxes.append(wizard.currentPage()->findChild<QCheckBox*>(QLatin1String(pszName)));
    QString strShown;
    for (int i = 0; i < 4; ++i)
        strShown += lstBoxes.at(i)->isChecked() ? QStringLiteral("HMLm").at(i) : QLatin1Char('-');
    QCOMPARE(strShown, shown);

    for (QCheckBox* pBox : lstBoxes)
        pBox->setChecked(false);
    clickNext(wizard);
    QCOMPARE(wizard.currentId(), int(UploadWizard::QualityPage));
    QCOMPARE(m_fixture.shownTexts(),
             QStringList{"warning|Please select at least one video conversion quality before uploading."});
    QCOMPARE(m_fixture.prompt.shown.constFirst().title, QStringLiteral("Warning"));
    QCOMPARE(m_fixture.profile.qualities, stored);
    QVERIFY(!wizard.isBusy());

    for (int i = 0; i < 4; ++i)
        lstBoxes.at(i)->setChecked(picked.at(i) != QLatin1Char('-'));
    clickNext(wizard);
    QCOMPARE(wizard.currentId(), int(UploadWizard::ProgressPage));
    QCOMPARE(m_fixture.profile.qualities, written);
    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    QCOMPARE(m_fixture.prompt.shown.size(), 1);
}

// Enter goes on, whichever button of the page was clicked last: Browse on the options page,
// See Error Report on the last page. The root picked in the album dialog is the destination.
void TestUploadWizard::enterMeansNext()
{
    QVERIFY(m_fixture.start({QStringLiteral("--fail-upload"), QStringLiteral("bad.*=no_privilege")}));
    m_fixture.profile.serverdst = QStringLiteral("/photo/2013");
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(),
                        {m_fixture.makeFile(QStringLiteral("good.jpg")), m_fixture.makeFile(QStringLiteral("bad.jpg"))},
                        &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    readReports();
    int iBrowsers = 0;
    QTimer picker;
    connect(&picker, &QTimer::timeout, this, [&iBrowsers]() {
        auto* pBrowser = qobject_cast<AlbumBrowser*>(QApplication::activeModalWidget());
        if (!pBrowser || !pBrowser->tree()->isEnabled())
            return;
        ++iBrowsers;
        pBrowser->tree()->setCurrentItem(pBrowser->tree()->topLevelItem(0));
        pBrowser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    picker.start(50);

    auto* pBrowse = wizard.currentPage()->findChild<QPushButton*>(QStringLiteral("m_pbtnFolder"));
    QTest::mouseClick(pBrowse, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(iBrowsers, 1, 15000);
    QCOMPARE(wizard.optionsPage()->destinationText(), QStringLiteral("/photo"));
    QTest::keyClick(pBrowse, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(wizard.currentId(), int(UploadWizard::ProgressPage), 15000);
    QCOMPARE(iBrowsers, 1);

    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("good.jpg"))));
    ServerProfile stored;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("home"), stored, m_fixture.prompt));
    QCOMPARE(stored.serverdst, QStringLiteral("/photo"));
    QTRY_COMPARE_WITH_TIMEOUT(m_iReports, 1, 5000);
    QAbstractButton* pReportButton = wizard.button(QWizard::CustomButton1);
    QTest::mouseClick(pReportButton, Qt::LeftButton);
    QCOMPARE(m_iReports, 2);
    QTest::keyClick(pReportButton, Qt::Key_Return);
    QCOMPARE(m_iReports, 2);
    QVERIFY(!wizard.isVisible());
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
}

void TestUploadWizard::emptyDestinationWarns()
{
    QVERIFY(m_fixture.start());
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {m_fixture.makeFile(QStringLiteral("a.jpg"))},
                        &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    wizard.optionsPage()->setDestinationText(QString());
    clickNext(wizard);
    QTRY_VERIFY_WITH_TIMEOUT(!m_fixture.prompt.shown.isEmpty(), 15000);
    QCOMPARE(m_fixture.shownTexts(), QStringList{"warning|Please select a destination before uploading."});
    QCOMPARE(wizard.currentId(), int(UploadWizard::OptionsPage));
    QVERIFY(!wizard.isBusy());
}

void TestUploadWizard::destinationChecked_data()
{
    QTest::addColumn<QString>("stored"); // the profile's destination
    QTest::addColumn<QString>("album");  // where the file lands; empty: refused
    QTest::addColumn<QString>("refusal");
    const QString strOutside = QStringLiteral("The destination folder %1 cannot be used: it must lie below /photo, and "
                                              "no folder in its path may be named \".\" or \"..\".");
    QTest::newRow("up and out") << QStringLiteral("/photo/../escape") << QString() << strOutside;
    QTest::newRow("up twice") << QStringLiteral("/photo/2013/../../x") << QString() << strOutside;
    QTest::newRow("the parent itself") << QStringLiteral("/photo/..") << QString() << strOutside;
    QTest::newRow("a dot") << QStringLiteral("/photo/./2013") << QString() << strOutside;
    QTest::newRow("dots with blanks") << QStringLiteral("/photo/ .. /x") << QString() << strOutside;
    QTest::newRow("not below photo") << QStringLiteral("/other/2013") << QString() << strOutside;
    QTest::newRow("a control character") << QStringLiteral("/photo/20\x01" "13") << QString()
                                         << QStringLiteral("The destination folder %1 cannot be used: a folder name "
                                                           "may not contain control characters.");
    QTest::newRow("blanks around names") << QStringLiteral(" /photo/ 2013 ") << QStringLiteral("2013") << QString();
    QTest::newRow("doubled slashes") << QStringLiteral("/photo//2013/") << QStringLiteral("2013") << QString();
}

void TestUploadWizard::destinationChecked()
{
    QFETCH(QString, stored);
    QFETCH(QString, album);
    QFETCH(QString, refusal);
    QVERIFY(m_fixture.start());
    m_fixture.profile.serverdst = stored;
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {m_fixture.makeFile(QStringLiteral("a.jpg"))},
                        &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    clickNext(wizard);
    if (album.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(m_fixture.shownTexts().size(), 1, 15000);
        QCOMPARE(m_fixture.shownTexts().at(0), QLatin1String("warning|") + refusal.arg(stored));
        QCOMPARE(wizard.currentId(), int(UploadWizard::OptionsPage));
        QVERIFY(m_fixture.server->journalFor(QStringLiteral("rada_upload_init.php")).isEmpty());
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    QVERIFY(QFile::exists(m_fixture.serverFile(album + QLatin1String("/a.jpg"))));
    QCOMPARE(m_fixture.profile.serverdst, QLatin1String("/photo/") + album);
}

void TestUploadWizard::nothingToSendMessage_data()
{
    QTest::addColumn<bool>("uploadedBefore"); // else: a folder without photos or videos
    QTest::addColumn<QString>("message");
    QTest::newRow("uploaded before") << true
                                     << "The selected items have already been uploaded to the destination folder in "
                                        "Pictarium. No file is available for upload.";
    QTest::newRow("folder without photos") << false << "The selected items hold no photos or videos to upload.";
}

void TestUploadWizard::nothingToSendMessage()
{
    QFETCH(bool, uploadedBefore);
    QFETCH(QString, message);
    QVERIFY(m_fixture.start());
    QStringList lstFiles;
    if (uploadedBefore) {
        lstFiles.append(m_fixture.makeFile(QStringLiteral("a.jpg")));
        UploadHistory::recordUploadedFile(lstFiles.at(0), QStringLiteral("a.jpg"), QStringLiteral("home"));
    } else {
        m_fixture.profile.idxonly = true;
        lstFiles.append(m_fixture.makeFile(QStringLiteral("notes.txt"), "text"));
    }
    UploadWizard wizard(nullptr, uploadedBefore ? RunMode::UploadHandOver : RunMode::UploadFolder, m_fixture.nam.get(),
                        lstFiles, &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    clickNext(wizard);
    QTRY_VERIFY_WITH_TIMEOUT(!m_fixture.prompt.shown.isEmpty(), 15000);
    QCOMPARE(m_fixture.shownTexts(), QStringList{"warning|" + message});
    QCOMPARE(wizard.currentId(), int(UploadWizard::OptionsPage));
}

void TestUploadWizard::finishCounts_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("keepFolders");
    QTest::addColumn<int>("sentBefore"); // of the folder's three photos
    QTest::addColumn<QString>("uploaded");
    QTest::addColumn<QString>("skipped");
    QTest::newRow("flat, one sent before") << "enu" << false << 1 << ":2 files" << ":1 file";
    QTest::newRow("folder tree, one sent before") << "enu" << true << 1 << ":2 files" << ":1 file";
    // Only the album is sent: it is no file.
    QTest::newRow("folder tree, all sent before") << "enu" << true << 3 << ":0 files" << ":3 files";
    QTest::newRow("German") << "deu" << true << 1 << ":2 Dateien" << ":1 Datei";
}

void TestUploadWizard::finishCounts()
{
    QFETCH(QString, language);
    QFETCH(bool, keepFolders);
    QFETCH(int, sentBefore);
    QFETCH(QString, uploaded);
    QFETCH(QString, skipped);
    useLanguage(language);
    QVERIFY(m_fixture.start());
    m_fixture.profile.keepfolders = keepFolders;
    QStringList lstPhotos;
    for (const char* pszName : {"a.jpg", "b.jpg", "c.jpg"})
        lstPhotos.append(m_fixture.makeFile(QLatin1String("trip/") + QLatin1String(pszName)));
    for (int i = 0; i < sentBefore; ++i)
        QVERIFY(UploadHistory::recordUploadedFile(lstPhotos.at(i), QFileInfo(lstPhotos.at(i)).fileName(),
                                                  QStringLiteral("home")));
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {QFileInfo(lstPhotos.at(0)).absolutePath()},
                        &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    clickNext(wizard);
    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    WizUpdProgress* pPage = wizard.progressPage();
    QCOMPARE(pPage->fileStatusText(), VelmLocale::message("upload_finish_success"));
    QCOMPARE(pPage->fileNumText(), uploaded);
    QCOMPARE(pPage->findChild<QLabel*>(QStringLiteral("m_plbUpdSkipStatus"))->text(),
             VelmLocale::message("upload_finish_skipped"));
    QCOMPARE(pPage->findChild<QLabel*>(QStringLiteral("m_plbUpdSkipNum"))->text(), skipped);
    QVERIFY(!pPage->findChild<QLabel*>(QStringLiteral("m_plbUpdSkipNum"))->isHidden());
    QVERIFY(!pPage->failLabelsVisible());
    const UploadRun::Report report = wizard.run()->report();
    QCOMPARE(report.uploaded.size() + report.skipped.size(), 3);
    QCOMPARE(report.skipped.size(), sentBefore);
    QCOMPARE(m_fixture.prompt.shown.size(), 0);
    const QString strAlbum = keepFolders ? QStringLiteral("trip/") : QString();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(QFile::exists(m_fixture.serverFile(strAlbum + QFileInfo(lstPhotos.at(i)).fileName())), i >= sentBefore);
    QCOMPARE(QDir(m_fixture.serverFile(QStringLiteral("trip"))).exists(), keepFolders);
}

void TestUploadWizard::failuresOpenTheReport()
{
    QVERIFY(m_fixture.start({QStringLiteral("--fail-upload"), QStringLiteral("bad.*=no_privilege")}));
    QStringList lstFiles{m_fixture.makeFile(QStringLiteral("good.jpg")), m_fixture.makeFile(QStringLiteral("bad1.jpg")),
                         m_fixture.makeFile(QStringLiteral("bad2.jpg"))};
    // A handed-over path that is gone is listed too.
    lstFiles.append(QFileInfo(lstFiles.at(0)).absolutePath() + QLatin1String("/gone.jpg"));
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), lstFiles, &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    readReports();
    clickNext(wizard);
    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(m_iReports, 1, 5000);
    const QString strNoPrivilege = QStringLiteral("You have no privileges to either create new albums or upload files.");
    QCOMPARE(m_lstReport, QStringList({"File Name|Error Status", "bad1.jpg|" + strNoPrivilege,
                                       "bad2.jpg|" + strNoPrivilege, "gone.jpg|Left out: not found"}));
    QCOMPARE(wizard.progressPage()->failStatusText(), QStringLiteral("Failed to upload"));
    QCOMPARE(wizard.progressPage()->failNumText(), QStringLiteral(":2 files"));
    QCOMPARE(wizard.progressPage()->fileNumText(), QStringLiteral(":1 file"));
    QAbstractButton* pReportButton = wizard.button(QWizard::CustomButton1);
    QVERIFY(pReportButton && pReportButton->isVisible());
    QCOMPARE(pReportButton->text(), QStringLiteral("See Error Report"));
    pReportButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_iReports, 2, 5000);
}

// The report grows with its window, wraps long texts into taller rows, and copies as text.
void TestUploadWizard::errorReportWindow()
{
    const QString strName = QLatin1String("IMG_") + QString(70, QLatin1Char('x')) + QLatin1String(".jpg");
    const QString strReason = QStringLiteral("The server did not answer in time; the file may be stored. ").repeated(6);
    ErrorReport report(nullptr, {{strName, strReason}, {QStringLiteral("b.jpg"), QStringLiteral("first\tsecond\nthird")}});
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    auto* pTable = report.findChild<QTableView*>(QStringLiteral("m_ptblErrorReport"));
    QVERIFY(report.isSizeGripEnabled());
    QVERIFY(report.minimumWidth() >= 300 && report.minimumWidth() < report.width());
    const int iLine = pTable->fontMetrics().lineSpacing();
    const int iTall = pTable->rowHeight(0);
    // Every line of the reason is there: the row is as high as the text needs in its column.
    const int nLines = pTable->fontMetrics().horizontalAdvance(strReason) / pTable->columnWidth(1);
    QVERIFY2(iTall >= iLine * nLines && iTall <= iLine * (nLines + 3), qPrintable(QString::number(iTall)));
    QVERIFY(pTable->rowHeight(1) < iTall);

    const QSize table = pTable->size();
    report.resize(report.size() + QSize(400, 100));
    QTRY_COMPARE(pTable->size(), table + QSize(400, 100));
    QTRY_VERIFY(pTable->rowHeight(0) < iTall);

    report.findChild<QPushButton*>(QStringLiteral("m_pbtnCopy"))->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QLatin1String("File Name\tError Status\n") + strName +
                                                       QLatin1Char('\t') + strReason +
                                                       QLatin1String("\nb.jpg\tfirst second third\n"));
    // Enter closes it, also after Copy was clicked.
    QTest::keyClick(pTable, Qt::Key_Return);
    QVERIFY(!report.isVisible());
}

void TestUploadWizard::cancelDuringUpload_data()
{
    QTest::addColumn<QString>("how"); // "Cancel", "Escape" or "close": each asks first
    QTest::addColumn<bool>("stop");   // the answer
    QTest::addColumn<bool>("twice");  // asked again at once: the wait for the reply ends
    QTest::newRow("Cancel, then No") << "Cancel" << false << false;
    QTest::newRow("Escape, then Yes") << "Escape" << true << false;
    QTest::newRow("closing the window, then Yes, then at once") << "close" << true << true;
}

void TestUploadWizard::cancelDuringUpload()
{
    QFETCH(QString, how);
    QFETCH(bool, stop);
    QFETCH(bool, twice);
    QVERIFY(m_fixture.start({QStringLiteral("--delay-ms"), QStringLiteral("2000")}));
    m_fixture.profile.idxonly = false;
    // No is not answered: the box's default button says it.
    if (stop)
        m_fixture.prompt.questionAnswers = {UserPrompt::Yes};
    readReports();
    // The second name is too long for the page: it is shown elided in the middle.
    const QString strLong = QLatin1String("b-") + QString(150, QLatin1Char('x')) + QLatin1String(".txt");
    const QStringList lstFiles{m_fixture.makeFile(QStringLiteral("a.txt"), "a"), m_fixture.makeFile(strLong, "b")};
    QVERIFY(TempFiles::ensureFolder());
    const QString strLeftover = TempFiles::tempFilePrefix(999999) + QLatin1String("THUMB_B.jpg");
    QVERIFY(TestFiles::writeBytes(strLeftover, "x"));
    {
        UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), lstFiles, &m_fixture.profile, &m_fixture.prompt);
        QVERIFY(!QFile::exists(strLeftover)); // emptied when the wizard opens
        QVERIFY(TestFiles::writeBytes(strLeftover, "x"));
        wizard.show();
        auto cancel = [&]() {
            if (how == QLatin1String("Cancel"))
                wizard.button(QWizard::CancelButton)->click();
            else if (how == QLatin1String("Escape"))
                QTest::keyClick(wizard.currentPage(), Qt::Key_Escape);
            else
                wizard.close();
        };
        // What the page says while it works: "name|shown text|count", and whether it fits.
        auto* pCurrent = wizard.progressPage()->findChild<QLabel*>(QStringLiteral("m_plbUpdCurrent"));
        QStringList lstSeen;
        bool blFits = true;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, &wizard, [&]() {
            if (!pCurrent->isVisible())
                return;
            const QString strSeen = pCurrent->toolTip() + QLatin1Char('|') + pCurrent->text() + QLatin1Char('|') +
                                    wizard.progressPage()->fileNumText();
            blFits = blFits && pCurrent->fontMetrics().horizontalAdvance(pCurrent->text()) <= pCurrent->width();
            if (!lstSeen.contains(strSeen))
                lstSeen.append(strSeen);
        });
        watcher.start(20);
        // The uploader's loop runs on this thread: Cancel arrives through its event loop, as a
        // click would. a.txt is on the server then, its reply 2 s away.
        bool blVisibleWhileWaiting = false;
        QString strHeading;
        connect(&wizard, &QWizard::currentIdChanged, &wizard, [&](int iId) {
            if (iId != UploadWizard::ProgressPage)
                return;
            QTimer::singleShot(300, &wizard, [&]() {
                cancel();
                blVisibleWhileWaiting = wizard.isVisible();
                strHeading = wizard.progressPage()->headingText();
                if (twice)
                    cancel();
            });
        });
        clickNext(wizard);
        QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
        // Asked once.
        QCOMPARE(m_fixture.shownTexts(),
                 QStringList{"question|Stop the upload? 0 files are on the server; the rest will not be sent."});
        QCOMPARE(m_fixture.prompt.shown.at(0).title, QStringLiteral("Warning"));
        QVERIFY(blVisibleWhileWaiting);
        QCOMPARE(strHeading, stop ? QStringLiteral("Stopping: waiting up to 5 seconds for the server to confirm a.txt. "
                                                   "Click Cancel again to stop at once.")
                                  : QStringLiteral("Uploading files to [home]..."));
        QCOMPARE(wizard.queue()->succeeded, stop ? (twice ? 0 : 1) : 2);
        QCOMPARE(wizard.queue()->failed, twice ? 1 : 0);
        QTRY_COMPARE(m_iReports, twice ? 1 : 0);
        if (twice)
            QVERIFY(m_lstReport.value(1).startsWith(QLatin1String("a.txt|")));
        QTRY_COMPARE(wizard.isVisible(), !stop);
        if (!stop) {
            QCOMPARE(wizard.progressPage()->fileNumText(), QStringLiteral(":2 files"));
            QVERIFY2(lstSeen.contains(QStringLiteral("a.txt|Working on: a.txt|:0 of 2 files")), qPrintable(lstSeen.join('\n')));
            const QStringList lstLong = lstSeen.filter(QRegularExpression(
                QLatin1String("^") + QRegularExpression::escape(strLong) + QStringLiteral("\\|Working on: b-x+…x+\\.txt\\|:1 of 2 files$")));
            QVERIFY2(lstLong.size() == 1, qPrintable(lstSeen.join('\n')));
            QVERIFY(blFits);
            // Finished: Escape closes the window without a question.
            QTest::keyClick(wizard.currentPage(), Qt::Key_Escape);
            QVERIFY(!wizard.isVisible());
            QCOMPARE(m_fixture.prompt.shown.size(), 1);
        }
    }
    // What the server confirmed is in the history; the run was stored and counted, and the
    // temporary folder emptied.
    QCOMPARE(UploadHistory::isUploaded(lstFiles.at(0), QStringLiteral("home")), !twice);
    QCOMPARE(UploadHistory::isUploaded(lstFiles.at(1), QStringLiteral("home")), !stop);
    QCOMPARE(ProfileStore::uploadRunCount(QStringLiteral("home")), 1);
    QVERIFY(!QFile::exists(strLeftover));
}

void TestUploadWizard::busyProfileAndUnsentFiles()
{
    // The server drops the login after the first file: what was not sent is listed as such.
    QVERIFY(m_fixture.start({QStringLiteral("--session-lost-after"), QStringLiteral("1")}));
    const QStringList lstFiles{m_fixture.makeFile(QStringLiteral("a.jpg")), m_fixture.makeFile(QStringLiteral("b.jpg")),
                               m_fixture.makeFile(QStringLiteral("c.jpg"))};
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), lstFiles, &m_fixture.profile, &m_fixture.prompt);
    wizard.show();
    readReports();

    // Another run of the profile holds it: nothing is collected or sent.
    auto pOther = std::make_unique<ProfileRunLock>(QStringLiteral("home"));
    QVERIFY(pOther->tryLock());
    clickNext(wizard);
    QTRY_COMPARE_WITH_TIMEOUT(m_fixture.shownTexts().size(), 1, 15000);
    QCOMPARE(m_fixture.shownTexts().at(0),
             QStringLiteral("warning|Another upload with the profile [home] is running. Please wait until it has "
                            "finished, and then try again."));
    QCOMPARE(wizard.currentId(), int(UploadWizard::OptionsPage));
    QVERIFY(m_fixture.server->journalFor(QStringLiteral("rada_upload_init.php")).isEmpty());

    pOther.reset();
    clickNext(wizard);
    QTRY_VERIFY_WITH_TIMEOUT(wizard.progressPage()->isComplete(), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(m_iReports, 1, 5000);
    const QString strNotSent = QStringLiteral("Not uploaded: the upload stopped before this file was sent.");
    QCOMPARE(m_fixture.shownTexts().mid(1),
             QStringList{"warning|The connection is lost. Please log in to Kestrabox Manager again."});
    QCOMPARE(m_lstReport, QStringList({"File Name|Error Status", "b.jpg|" + strNotSent, "c.jpg|" + strNotSent}));
    // Not sent is not failed: the report lists them apart, as the terminal does.
    QCOMPARE(wizard.progressPage()->fileNumText(), QStringLiteral(":1 file"));
    QVERIFY(!wizard.progressPage()->failLabelsVisible());
    QCOMPARE(wizard.run()->report().notSent.size(), 2);
    // The run is over: the profile is free again while the window still shows the figures.
    QVERIFY(ProfileRunLock(QStringLiteral("home")).tryLock());
}

void TestUploadWizard::closeWhileWaiting_data()
{
    QTest::addColumn<QString>("hangingPath");
    QTest::newRow("login") << QStringLiteral("/blog/login.php");
    QTest::newRow("upload initialisation") << QStringLiteral("/photo/include/rada_upload_init.php");
}

void TestUploadWizard::closeWhileWaiting()
{
    QFETCH(QString, hangingPath);
    // Closing the window ends the wait for a server that never answers; what the answer (or
    // the time-out) would have started never starts.
    qputenv("PICTARIUM_NETWORK_TIMEOUT", "1");
    const auto restore = qScopeGuard([]() { qunsetenv("PICTARIUM_NETWORK_TIMEOUT"); });
    QVERIFY(m_fixture.start({QStringLiteral("--hang-on"), hangingPath}));
    UploadWizard wizard(nullptr, RunMode::UploadHandOver, m_fixture.nam.get(), {m_fixture.makeFile(QStringLiteral("a.jpg"))},
                        &m_fixture.profile, &m_fixture.prompt);
    bool blProgressPage = false;
    connect(&wizard, &QWizard::currentIdChanged, this,
            [&](int iId) { blProgressPage = blProgressPage || iId == UploadWizard::ProgressPage; });
    // The click on Cancel comes through the event loop that waits for the server.
    QTimer canceller;
    connect(&canceller, &QTimer::timeout, this, [&]() {
        if (!m_fixture.server->journalFor(hangingPath).isEmpty() && wizard.isVisible())
            wizard.reject();
    });
    canceller.start(20);
    wizard.show();
    clickNext(wizard);
    QTRY_VERIFY_WITH_TIMEOUT(!wizard.isVisible(), 10000);
    QTest::qWait(2500);
    QVERIFY(!blProgressPage);
    QCOMPARE(m_fixture.shownTexts(), QStringList());
    QVERIFY(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).isEmpty());
}

void TestUploadWizard::progressPacing_data()
{
    QTest::addColumn<qint64>("fileSize");
    QTest::addColumn<int>("interval");
    QTest::newRow("10 MiB") << qint64(10) * 1024 * 1024 << 100;
    QTest::newRow("20 MiB") << qint64(20) * 1024 * 1024 << 200;
    QTest::newRow("50 MiB") << qint64(50) * 1024 * 1024 << 300;
}

void TestUploadWizard::progressPacing()
{
    QFETCH(qint64, fileSize);
    QFETCH(int, interval);
    UploadQueue queue;
    queue.total = 4;
    queue.totalFiles = 4;
    queue.setCurrentFileSize(fileSize);
    ServerProfile profile;
    profile.profname = QStringLiteral("p");
    ScriptedPrompt prompt;
    WizUpdProgress page(nullptr, &profile, &queue, &prompt);
    page.initializePage();
    QCOMPARE(page.fileNumText(), QStringLiteral(":0 of 4 files"));
    page.slotUpdateNextProgress(5);
    QCOMPARE(page.timerInterval(), interval);
    for (int i = 0; i < 10; ++i)
        page.slotUpdateProgress();
    QCOMPARE(page.barValue(), 4); // creeps to one below the target and waits there
    QCOMPARE(page.percentText(), QStringLiteral("4%"));
    page.slotUpdateCompleteProgress(40);
    page.slotUpdateCompleteProgress(20); // never moves back
    QCOMPARE(page.barValue(), 40);
    queue.succeeded = 4;
    page.slotUpdateUpdStatus();
    QCOMPARE(page.fileNumText(), QStringLiteral(":4 of 4 files"));
    page.slotConnectionSessionLost();
    QVERIFY(page.isComplete());
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.at(0).text,
             QStringLiteral("The connection is lost. Please log in to Kestrabox Manager again."));
}

QTEST_MAIN(TestUploadWizard)
#include "tst_uploadwizard.moc"
