// pictarium-pageshots OUTDIR [LANGUAGE]: opens each page of the upload wizard, the error
// report, the album browser and the create-profile wizard against a private reference server
// (inside a network namespace of its own when it can make one), and saves a picture of
// each to OUTDIR, so the look can be checked by eye; LANGUAGE is a catalogue code such as deu.
// Run it under a display (scripts/screenshots.sh uses Xvfb).

#include "AppIdentity.h"
#include "RefServerProcess.h"
#include "ScriptedPrompt.h"
#include "ServerLogin.h"
#include "VelmLocale.h"
#include "UploadWizard/ErrorReport.h"
#include "UploadWizard/UploadWizard.h"
#include "UploadWizard/WizUpdDialog.h"
#include "UploadWizard/WizUpdProgress.h"
#include "TestNetwork.h"
#include "findhost/FindHostUtils.h"
#include "profiles/CreateWizard.h"
#include "profiles/ProfileEditor.h"
#include "profiles/ServerSettings.h"
#include "WidgetPrompt.h"
#include "UploadWizard/AlbumBrowser.h"
#include "protocol/CertificateTrust.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

QString s_strOut;

void shoot(QWidget* pWidget, const char* pszName)
{
    QApplication::processEvents();
    const QString strPath = s_strOut + QLatin1Char('/') + QLatin1String(pszName) + QLatin1String(".png");
    std::printf("%s %s\n", pWidget->grab().save(strPath) ? "saved" : "FAILED", qPrintable(strPath));
}

bool waitFor(const std::function<bool()>& condition, int iMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < iMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}

QString makePhoto(const QString& strPath)
{
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QProcess::execute(QStringLiteral("convert"), {"-size", "64x48", "plasma:", strPath});
    return strPath;
}

} // namespace

// The create-profile wizard searches the network as it opens: its pages are drawn only inside a
// network namespace of this process's own, where the search reaches nothing.
void shootCreateWizard(bool blPrivate, QNetworkAccessManager* pNam, ScriptedPrompt* pPrompt, int iServerPort)
{
    if (!blPrivate) {
        std::printf("skipped the create-profile pages: no private network namespace can be made here\n");
        return;
    }
    ServerProfile profile;
    CreateWizard wizard(nullptr, RunMode::CreateThenUpload, pNam, &profile, pPrompt);
    wizard.show();
    waitFor([&]() { return wizard.isVisible(); }, 2000);
    shoot(&wizard, "8-create-searching");
    // Nobody answers in the private namespace: after the round the page tells what to check.
    auto* pNote = wizard.findChild<QLabel*>(QStringLiteral("m_plbSearchNote"));
    waitFor([&]() { return pNote && pNote->isVisible() && pNote->text().contains(QLatin1String("<ul>")); }, 10000);
    shoot(&wizard, "8-create-none-found");
    wizard.findChild<QLineEdit*>(QStringLiteral("m_pedtProfName"))->setText(QStringLiteral("Living room"));
    wizard.findChild<QComboBox*>(QStringLiteral("m_cbxIP"))->setEditText(QStringLiteral("127.0.0.1"));
    wizard.findChild<QLineEdit*>(QStringLiteral("m_pedtPort"))->setText(QString::number(iServerPort));
    shoot(&wizard, "8-create-server");
    wizard.next();
    shoot(&wizard, "9-create-account-type");
    wizard.next();
    shoot(&wizard, "10-create-credentials");
    wizard.findChild<QCheckBox*>(QStringLiteral("m_pchkSaveCred"))->setChecked(false);
    wizard.next();
    shoot(&wizard, "11-create-hint");
    wizard.reject();
}

// The profile list with five profiles, the second row under the mouse; then the settings dialog,
// which searches the network and is therefore drawn only inside a private namespace.
void shootProfileEditor(bool blPrivate, QNetworkAccessManager* pNam, ScriptedPrompt* pPrompt)
{
    {
        // The list before any profile exists.
        const ProfileSummary home = ProfileStore::listProfiles().value(QStringLiteral("Home server"));
        ServerProfile saved;
        ScriptedPrompt quiet;
        ProfileStore::loadProfile(home.profname, saved, quiet);
        ProfileStore::deleteProfile(home.profname);
        ProfileEditor empty(nullptr, RunMode::Home, pNam, pPrompt);
        empty.show();
        waitFor([&]() { return empty.isVisible(); }, 2000);
        shoot(&empty, "12-profile-editor-empty");
        empty.hide();
        ProfileStore::insertProfile(saved);
    }
    const struct
    {
        const char* pszName;
        const char* pszHost;
        int iPort;
        bool blHttps;
        const char* pszAccount;
    } extra[] = {{"Office", "10.0.0.10", 80, false, "ann"},
                 {"Cabin", "10.0.0.9", 80, false, "family"},
                 {"Studio", "192.168.1.20", 5001, true, "photos"},
                 {"Parents", "fd00::7", 443, true, "mum"}};
    for (const auto& row : extra) {
        ServerProfile profile;
        ProfileStore::fillRecord(profile, QLatin1String(row.pszName), QLatin1String(row.pszHost), row.iPort, row.blHttps,
                                 QLatin1String(row.pszAccount), QString(), false, QString(), false, true, true, true,
                                 QStringLiteral("RENAME"), QString(), {});
        ProfileStore::insertProfile(profile);
    }
    ProfileEditor editor(nullptr, RunMode::Home, pNam, pPrompt);
    editor.show();
    waitFor([&]() { return editor.isVisible(); }, 2000);
    QApplication::processEvents();
    shoot(&editor, "12-profile-editor-keyboard");
    EditorTableView* pTable = editor.tableView();
    editor.slotMouseMove(pTable->visualRect(pTable->model()->index(1, 0)).center());
    shoot(&editor, "12-profile-editor");
    if (!blPrivate) {
        std::printf("skipped the settings dialog: no private network namespace can be made here\n");
        return;
    }
    ProfileSummary row = ProfileStore::listProfiles().value(QStringLiteral("Home server"));
    // Shown over HTTPS with a trusted certificate key.
    row.https = true;
    row.port = 5001;
    CertificatePins::setPin(row.hostaddr, row.port, QCryptographicHash::hash("one", QCryptographicHash::Sha256));
    ServerSettings settings(&editor, pNam, &row, pPrompt);
    settings.show();
    waitFor([&]() { return settings.isVisible(); }, 2000);
    shoot(&settings, "13-server-settings");
    auto* pNote = settings.findChild<QLabel*>(QStringLiteral("m_plbSearchNote"));
    waitFor([&]() { return pNote && !pNote->text().contains(QLatin1String("<ul>")) && pNote->isHidden(); }, 10000);
    settings.findChild<QComboBox*>(QStringLiteral("m_cbxIP"))->setEditText(QString());
    waitFor([&]() { return pNote && pNote->isVisible(); }, 3000);
    shoot(&settings, "13-server-settings-none-found");
    settings.reject();
}

// Draws the modal box that the next call opens, then closes it.
void shootNextModal(const char* pszName)
{
    QTimer::singleShot(500, [pszName]() {
        if (QWidget* pBox = QApplication::activeModalWidget()) {
            shoot(pBox, pszName);
            pBox->close();
        }
    });
}

// The warning when a server shows another certificate than the trusted one.
void shootCertificateChanged()
{
    CertificateTrust::Refusal refusal;
    refusal.host = QStringLiteral("192.168.1.20");
    refusal.port = 5001;
    refusal.trustedKey = QCryptographicHash::hash("one", QCryptographicHash::Sha256);
    refusal.offeredKey = QCryptographicHash::hash("two", QCryptographicHash::Sha256);
    shootNextModal("15-certificate-changed");
    WidgetPrompt prompt;
    prompt.trustCertificate(VelmLocale::message("err_warning"), CertificateTrust::refusalMessage(refusal));
}

// The password prompt and a yes/no question, with the texts of the message table.
void shootPrompts()
{
    WidgetPrompt prompt;
    shootNextModal("16-password");
    QString strPassword;
    prompt.askText(AppIdentity::applicationTitle(), VelmLocale::message("msg_enter_pass").arg(QStringLiteral("ann")),
                   true, strPassword);
    shootNextModal("16-password-keyring");
    prompt.askText(AppIdentity::applicationTitle(),
                   VelmLocale::message("msg_enter_pass_keyring").arg(QStringLiteral("ann")), true, strPassword);
    shootNextModal("17-stop-question");
    prompt.question(VelmLocale::message("err_warning"), VelmLocale::plural("upload_cfrm_stop", 3), UserPrompt::No);
    shootNextModal("17-question");
    prompt.question(VelmLocale::message("err_warning"),
                    VelmLocale::message("msg_cfrm_remove_prof").arg(QStringLiteral("Home server")), UserPrompt::No);
}

int main(int argc, char* argv[])
{
    const bool blPrivate = TestNetwork::enterPrivateNetwork(nullptr) && TestNetwork::bringUpLoopback(nullptr);
    QApplication app(argc, argv);
    // Search rounds of 2 s instead of 20, so that their end can be drawn too.
    FindHostUtils::setTickMilliseconds(100);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pictarium-pageshots OUTDIR [LANGUAGE]\n");
        return 2;
    }
    s_strOut = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    // Private settings, so that pages which read the language setting draw in that language too.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QLatin1String("/config")));
    if (argc > 2)
        QSettings(QStringLiteral("Velmora"), QStringLiteral("Pictarium Uploader"))
            .setValue(QStringLiteral("Global/UILanguage"), QString::fromLocal8Bit(argv[2]));
    QTranslator translator;
    if (argc > 2 && translator.load(QLatin1String(":/") + QString::fromLocal8Bit(argv[2]) + QLatin1String(".qm")))
        QCoreApplication::installTranslator(&translator);
    QTranslator qtTranslator;
    if (argc > 2 && VelmLocale::loadQtCatalog(qtTranslator, QString::fromLocal8Bit(argv[2])))
        QCoreApplication::installTranslator(&qtTranslator);
    QDir().mkpath(s_strOut);

    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QLatin1String("/data")));
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    VelmLocale::fillMessageTable();
    if (!AppIdentity::ensureDataFolder() || !VelmDatabase::open())
        return 1;
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    QDir().mkpath(dir.path() + QLatin1String("/server/photo/2013/trip"));
    QDir().mkpath(dir.path() + QLatin1String("/server/photo/misc"));
    RefServerProcess server(dir.path() + QLatin1String("/server"));
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!server.start({QStringLiteral("--fail-upload"), QStringLiteral("broken.*=no_privilege"),
                       QStringLiteral("--delay-ms"), QStringLiteral("150")}))
        return 1;

    ServerProfile profile;
    ProfileStore::fillRecord(profile, QStringLiteral("Home server"), server.host(), server.port(), false,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, false,
                             QStringLiteral("RENAME"), QString(), {});
    ProfileStore::insertProfile(profile);
    QNetworkAccessManager nam;
    ScriptedPrompt prompt;

    const QString strLocal = dir.path() + QLatin1String("/local/");
    // A failed file, a video the converter cannot read (sent without renditions) and a hidden
    // file that is left out: one row of each kind in the error report.
    const QStringList lstFiles{makePhoto(strLocal + QLatin1String("IMG_0001.jpg")),
                               makePhoto(strLocal + QLatin1String("broken.jpg")),
                               makePhoto(strLocal + QLatin1String("clip.mp4")),
                               makePhoto(strLocal + QLatin1String(".hidden.jpg"))};

    UploadWizard wizard(nullptr, RunMode::UploadHandOver, &nam, lstFiles, &profile, &prompt);
    wizard.show();
    waitFor([&]() { return wizard.isVisible(); }, 2000);
    shoot(&wizard, "1-options");

    wizard.button(QWizard::NextButton)->click();
    waitFor([&]() { return wizard.currentId() == UploadWizard::QualityPage; });
    shoot(&wizard, "2-quality");

    QTimer reportCloser;
    bool blReportShot = false;
    QObject::connect(&reportCloser, &QTimer::timeout, &app, [&]() {
        if (auto* pReport = qobject_cast<ErrorReport*>(QApplication::activeModalWidget())) {
            if (!std::exchange(blReportShot, true))
                shoot(pReport, "5-error-report");
            pReport->reject();
        }
    });
    reportCloser.start(100);
    QTimer::singleShot(300, &wizard, [&]() { shoot(&wizard, "3-progress"); });
    wizard.button(QWizard::NextButton)->click();
    waitFor([&]() { return wizard.progressPage()->isComplete(); });
    waitFor([]() { return QApplication::activeModalWidget() == nullptr; }, 3000);
    shoot(&wizard, "4-finished");
    wizard.close();

    // The same files again: those sent before are counted as such, not sent.
    {
        UploadWizard again(nullptr, RunMode::UploadHandOver, &nam, lstFiles, &profile, &prompt);
        again.show();
        waitFor([&]() { return again.isVisible(); }, 2000);
        again.button(QWizard::NextButton)->click();
        waitFor([&]() { return again.currentId() == UploadWizard::QualityPage; });
        again.button(QWizard::NextButton)->click();
        waitFor([&]() { return again.progressPage()->isComplete(); });
        waitFor([]() { return QApplication::activeModalWidget() == nullptr; }, 3000);
        shoot(&again, "4-finished-again");
    }

    // Camera mode: the profile chooser beside the destination, a card in a folder.
    makePhoto(dir.path() + QLatin1String("/card/DCIM/100TEST/IMG_0001.JPG"));
    qputenv("PICTARIUM_CAMERA_DIRS", QFile::encodeName(dir.path() + QLatin1String("/card")));
    qputenv("PATH", QFile::encodeName(QFileInfo(QStringLiteral(LENSWAY_BIN)).absolutePath()) + ':' + qgetenv("PATH"));
    {
        UploadWizard camera(nullptr, RunMode::Camera, &nam, {}, &profile, &prompt);
        camera.show();
        waitFor([&]() { return camera.isVisible(); }, 2000);
        shoot(&camera, "14-camera-options");
    }

    // Cancel while the server has a file and its reply is slow: the page says what it waits for.
    QDir().mkpath(dir.path() + QLatin1String("/slow/photo"));
    RefServerProcess slowServer(dir.path() + QLatin1String("/slow"));
    slowServer.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (slowServer.start({QStringLiteral("--delay-ms"), QStringLiteral("4000")})) {
        ServerProfile slow = profile;
        ProfileStore::fillRecord(slow, QStringLiteral("Home server"), slowServer.host(), slowServer.port(), false,
                                 QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, false, false,
                                 false, QStringLiteral("RENAME"), QString(), {});
        const QString strNotes = strLocal + QLatin1String("notes.txt");
        QFile notes(strNotes);
        if (notes.open(QIODevice::WriteOnly))
            notes.write("notes");
        notes.close();
        UploadWizard slowWizard(nullptr, RunMode::UploadHandOver, &nam, {strNotes}, &slow, &prompt);
        slowWizard.show();
        slowWizard.button(QWizard::NextButton)->click();
        waitFor([&]() { return slowWizard.currentId() == UploadWizard::ProgressPage; });
        QTimer::singleShot(1500, &slowWizard, [&]() {
            prompt.questionAnswers = {UserPrompt::Yes};
            slowWizard.reject();
            shoot(&slowWizard, "7-stopping");
        });
        waitFor([&]() { return slowWizard.progressPage()->isComplete(); });
        slowServer.stop();
    }

    shootCreateWizard(blPrivate, &nam, &prompt, server.port());
    shootProfileEditor(blPrivate, &nam, &prompt);
    shootCertificateChanged();
    shootPrompts();

    if (logIn(&nam, &profile)) {
        AlbumBrowser browser(nullptr, &nam, profile.baseUrl, profile.hostaddr, profile.port, &prompt);
        browser.show();
        waitFor([&]() { return browser.tree()->topLevelItemCount() > 0 && browser.tree()->topLevelItem(0)->childCount() > 0; }, 10000);
        shoot(&browser, "6-album-browser");
    }
    server.stop();
    VelmDatabase::close();
    return 0;
}
