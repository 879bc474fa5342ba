#include "WizardFixture.h"

#include "AppIdentity.h"
#include "StartUp.h"
#include "WidgetFlows.h"
#include "UploadWizard/UploadWizard.h"
#include "UploadWizard/WizUpdProgress.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QtTest>

namespace {

// Plays the user: Next on the options page, Close when the upload has finished, Cancel when
// the options page has shown a warning.
class WizardDriver : public QObject
{
public:
    explicit WizardDriver(ScriptedPrompt* pPrompt) : m_pPrompt(pPrompt)
    {
        connect(&m_timer, &QTimer::timeout, this, [this]() { step(); });
        m_timer.start(50);
    }
    int wizardsSeen = 0;
    int uploadsFinished = 0;

private:
    void step()
    {
        auto* pWizard = qobject_cast<UploadWizard*>(QApplication::activeModalWidget());
        if (!pWizard)
            return;
        if (pWizard != m_pLast) {
            m_pLast = pWizard;
            ++wizardsSeen;
            m_iWarnings = int(m_pPrompt->shown.size());
            m_blNextClicked = false;
        }
        if (pWizard->currentId() == UploadWizard::OptionsPage) {
            if (m_pPrompt->shown.size() > m_iWarnings) {
                pWizard->reject();
            } else if (!m_blNextClicked && !pWizard->isBusy()) {
                m_blNextClicked = true;
                pWizard->button(QWizard::NextButton)->click();
            }
        } else if (pWizard->currentId() == UploadWizard::ProgressPage && pWizard->progressPage()->isComplete()) {
            ++uploadsFinished;
            pWizard->button(QWizard::FinishButton)->click();
        }
    }

    ScriptedPrompt* m_pPrompt;
    QTimer m_timer;
    UploadWizard* m_pLast = nullptr;
    int m_iWarnings = 0;
    bool m_blNextClicked = false;
};

} // namespace

// Start-up with a run mode and the real wizard, uploading to the reference server.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { m_fixture.stop(); }
    void handOverListThenSkipAll();
    void folderFromCommandLine();

private:
    int runStartUp(const QStringList& lstArguments, int* piFinished);
    WizardFixture m_fixture;
};

int TestEndToEnd::runStartUp(const QStringList& lstArguments, int* piFinished)
{
    VelmDatabase::close();
    WidgetFlows flows(&m_fixture.prompt);
    WizardDriver driver(&m_fixture.prompt);
    StartUp startUp(&m_fixture.prompt, &flows);
    const int iStatus = startUp.run(QStringList{QStringLiteral("pictarium-uploader")} + lstArguments);
    *piFinished = driver.uploadsFinished;
    VelmDatabase::open();
    return iStatus;
}

void TestEndToEnd::handOverListThenSkipAll()
{
    QVERIFY(m_fixture.start());
    const QString strPhoto = m_fixture.makeFile(QStringLiteral("pick/IMG_1.JPG"));
    const QString strFolder = QFileInfo(m_fixture.makeFile(QStringLiteral("pick/party/IMG_2.png"))).absolutePath();
    m_fixture.makeFile(QStringLiteral("pick/party/sub/IMG_3.jpg"));
    const QString strText = m_fixture.makeFile(QStringLiteral("pick/readme.txt"), "words");
    ServerProfile profile = m_fixture.profile;
    profile.idxonly = false;
    profile.serverdst = QStringLiteral("/photo/2013");
    ProfileStore::saveUploadOptions(profile);
    QVERIFY(TestFiles::writeBytes(AppIdentity::dataFilePath(QStringLiteral("FileList")),
                                  TestFiles::utf16le(QStringLiteral("3\n%1\n%2\n%3\n").arg(strPhoto, strFolder, strText))));

    int iFinished = 0;
    QCOMPARE(runStartUp({QStringLiteral("2"), QStringLiteral("0")}, &iFinished), 0);
    QCOMPARE(iFinished, 1);
    for (const char* pszStored : {"2013/IMG_1.JPG", "2013/party/IMG_2.png", "2013/party/sub/IMG_3.jpg", "2013/readme.txt"})
        QVERIFY2(QFile::exists(m_fixture.serverFile(QLatin1String(pszStored))), pszStored);
    QCOMPARE(ProfileStore::uploadRunCount(QStringLiteral("home")), 1);

    // The same hand-over again: everything was uploaded, nothing is sent.
    const int iRequests = int(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).size());
    QCOMPARE(runStartUp({QStringLiteral("2"), QStringLiteral("0")}, &iFinished), 0);
    QCOMPARE(iFinished, 0);
    QVERIFY(m_fixture.shownTexts().contains(
        QStringLiteral("warning|The selected items have already been uploaded to the destination folder in "
                       "Pictarium. No file is available for upload.")));
    QCOMPARE(int(m_fixture.server->journalFor(QStringLiteral("rada_file_upload.php")).size()), iRequests);
    QCOMPARE(ProfileStore::uploadRunCount(QStringLiteral("home")), 1);
}

void TestEndToEnd::folderFromCommandLine()
{
    QVERIFY(m_fixture.start());
    const QString strRoot = m_fixture.env->root() + QLatin1String("/local/holiday");
    m_fixture.makeFile(QStringLiteral("holiday/beach/a.jpg"));
    m_fixture.makeFile(QStringLiteral("holiday/b.jpg"));
    m_fixture.makeFile(QStringLiteral("holiday/list.txt"), "skip me");

    int iFinished = 0;
    QCOMPARE(runStartUp({QStringLiteral("4"), strRoot}, &iFinished), 0);
    QCOMPARE(iFinished, 1);
    // Mode 4 hands the files themselves over: they land in the destination album.
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("a.jpg"))));
    QVERIFY(QFile::exists(m_fixture.serverFile(QStringLiteral("b.jpg"))));
    QVERIFY(!QFile::exists(m_fixture.serverFile(QStringLiteral("list.txt"))));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
