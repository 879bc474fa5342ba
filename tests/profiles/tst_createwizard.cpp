// The create-profile wizard and the found-server list. The wizard searches the network as soon as it
// opens, so this whole test lives in a network namespace of its own; servers answer from a peer
// namespace across a veth pair. Without namespaces everything is skipped, never run on the real network.

#include "../wizard/WizardFixture.h"
#include "DebugCapture.h"
#include "RefServerProcess.h"
#include "StartUp.h"
#include "TestNetwork.h"
#include "WaitUntil.h"
#include "UploadWizard/UploadWizard.h"
#include "VelmLocale.h"
#include "WidgetFlows.h"
#include "findhost/CRadaNasinfoModel.h"
#include "profiles/CreateWizard.h"
#include "profiles/CreateWizardPages.h"
#include "profiles/FoundServerPicker.h"
#include "store/ProfileStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <memory>

namespace {

template <typename T> T* child(QWidget* pParent, const char* pszName)
{
    T* pChild = pParent->findChild<T*>(QLatin1String(pszName));
    if (!pChild)
        qFatal("no widget %s", pszName);
    return pChild;
}

NASINFO entry(const char* pszName, const char* pszMac, quint32 iAddress, int iStatus, int iBuild)
{
    NASINFO info;
    std::memset(&info, 0, sizeof(info));
    std::snprintf(info.serverName, sizeof(info.serverName), "%s", pszName);
    std::snprintf(info.macAddress, sizeof(info.macAddress), "%s", pszMac);
    info.ipAddress = qToBigEndian(iAddress);
    info.status = iStatus;
    info.buildNumber = iBuild;
    return info;
}

} // namespace

class TstCreateWizard : public QObject
{
    Q_OBJECT

public:
    TstCreateWizard(bool blPrivate, const QString& strWhy) : m_blPrivate(blPrivate), m_strWhy(strWhy) {}

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void proxyFilterAndOrder();
    void pagesValidateInOrder();
    void modeOneGoesOnToUpload();
    void emptyRoundShowsBoxOnce();
    void searchRound();
    void pickingFoundServers();

private:
    bool startServers();
    QNetworkAccessManager* nam() { return m_fixture.nam.get(); }

    bool m_blPrivate;
    QString m_strWhy;
    WizardFixture m_fixture;
    TestNetwork m_network;
    bool m_blPeer = false;
    std::vector<std::unique_ptr<RefServerProcess>> m_servers;
};

void TstCreateWizard::initTestCase()
{
    if (!m_blPrivate)
        QSKIP(qPrintable(QStringLiteral("create-profile tests skipped: the wizard searches the network and no private "
                                        "network namespace can be made here (%1)")
                             .arg(m_strWhy)));
    QString strWhy;
    QVERIFY2(TestNetwork::bringUpLoopback(&strWhy), qPrintable(strWhy));
}

void TstCreateWizard::init()
{
    QVERIFY(m_fixture.start());
}

void TstCreateWizard::cleanup()
{
    m_fixture.stop();
}

// Only ready, supported servers are offered; addresses sort by value, not by text.
void TstCreateWizard::proxyFilterAndOrder()
{
    FoundServerList list;
    auto add = [&list](const NASINFO& info) { list.emplace(QString::fromLatin1(info.macAddress), std::make_unique<NASINFO>(info)); };
    add(entry("Ten", "00:00:00:00:00:0a", 0x0a00000a, 1, 1100));
    add(entry("Nine", "00:00:00:00:00:09", 0x0a000009, 1, 1093));
    add(entry("NotInstalled", "00:00:00:00:00:02", 0x0a000002, 2, 1100));
    add(entry("Old", "00:00:00:00:00:03", 0x0a000003, 1, 1092));
    NASINFO newWithout = entry("NewWithout", "00:00:00:00:00:04", 0x0a000004, 1, 1240);
    add(newWithout);
    NASINFO newWith = entry("NewWith", "00:00:00:00:00:05", 0x0a000005, 1, 1240);
    fhost::maskSet(newWith.capabilityMask, 3);
    add(newWith);
    add(entry("Failed", "00:00:00:00:00:06", 0x0a000006, 8, 1100));

    CRadaNasinfoModel model(&list);
    CRadaAddDlgNasinfoProxyModel proxy(&model);
    QCOMPARE(model.rowCount(), 7);
    QCOMPARE(model.index(0, CRadaNasinfoModel::ColStatus).data().toString(), QStringLiteral("FHOSTQC_NOTINSTALL"));
    QCOMPARE(model.index(0, CRadaNasinfoModel::ColMac).data().toString(), QStringLiteral("00:00:00:00:00:02"));
    QCOMPARE(model.index(0, CRadaNasinfoModel::ColLabel).data().toString(), QStringLiteral(" NotInstalled ( 10.0.0.2 )"));
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
    QStringList lstNames;
    for (int i = 0; i < proxy.rowCount(); ++i)
        lstNames.append(proxy.index(i, 0).data().toString());
    QCOMPARE(lstNames, QStringList({QStringLiteral("NewWith"), QStringLiteral("Nine"), QStringLiteral("Ten")}));
    proxy.sort(CRadaNasinfoModel::ColAddress, Qt::AscendingOrder);
    QCOMPARE(proxy.index(0, CRadaNasinfoModel::ColAddress).data().toString(), QStringLiteral("10.0.0.5"));
    QCOMPARE(proxy.index(1, CRadaNasinfoModel::ColAddress).data().toString(), QStringLiteral("10.0.0.9"));
    QCOMPARE(proxy.index(2, CRadaNasinfoModel::ColAddress).data().toString(), QStringLiteral("10.0.0.10"));
    QCOMPARE(FoundServers::httpPort(entry("x", "m", 1, 1, 172)), 80);

    // A row stays its server when an answer that sorts before it comes in between two refreshes.
    QComboBox combo;
    QLineEdit name;
    FoundServerPicker picker(nullptr, nam(), &list, &m_fixture.prompt, &combo, &name);
    auto shown = [&combo](int iRow) { return combo.model()->index(iRow, combo.modelColumn()).data().toString(); };
    QCOMPARE(shown(2), QStringLiteral(" Ten ( 10.0.0.10 )"));
    const QPersistentModelIndex selected = model.index(6, CRadaNasinfoModel::ColName);
    add(entry("Apex", "00:00:00:00:00:01", 0x0a000001, 1, 1100));
    picker.pick(2);
    QCOMPARE(name.text(), QStringLiteral("Ten"));
    QCOMPARE(combo.currentText(), QStringLiteral("10.0.0.10"));
    model.refresh();
    QCOMPARE(selected.row(), 7);
    QCOMPARE(selected.data(CRadaNasinfoModel::KeyRole).toString(), QStringLiteral("00:00:00:00:00:0a"));
    picker.showUpdate();
    QCOMPARE(combo.count(), 4);
    QCOMPARE(shown(0), QStringLiteral(" Apex ( 10.0.0.1 )"));
    name.clear();
    name.setModified(false);
    picker.pick(3);
    QCOMPARE(name.text(), QStringLiteral("Ten"));
}

// Every refusal in order, each with its box and focus; the login test; the stored row.
void TstCreateWizard::pagesValidateInOrder()
{
    ScriptedPrompt& prompt = m_fixture.prompt;
    ServerProfile profile;
    CreateWizard wizard(nullptr, RunMode::CreateProfile, nam(), &profile, &prompt);
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    QCOMPARE(wizard.button(QWizard::FinishButton)->text(), VelmLocale::message("btn_finish"));
    auto* pName = child<QLineEdit>(&wizard, "m_pedtProfName");
    auto* pHost = child<QComboBox>(&wizard, "m_cbxIP");
    auto* pPort = child<QLineEdit>(&wizard, "m_pedtPort");
    auto* pHttps = child<QCheckBox>(&wizard, "m_pchkHTTPS");
    QAbstractButton* pNext = wizard.button(QWizard::NextButton);

    QCOMPARE(pPort->text(), QStringLiteral("80"));
    QVERIFY(!pNext->isEnabled()); // no profile name yet
    pPort->setText(QStringLiteral("8080"));
    pHttps->setChecked(true);
    QCOMPARE(pPort->text(), QStringLiteral("443"));
    pHttps->setChecked(false);
    QCOMPARE(pPort->text(), QStringLiteral("80"));

    struct Step
    {
        const char* pszName;
        const char* pszHost;
        const char* pszPort;
        const char* pszKey; // message expected, with %1 filled by the name
        QWidget* pFocus;
    };
    const Step steps[] = {
        {"home2", "127.0.0.1", "0", "err_bad_port", pPort},
        {"home2", "127.0.0.1", "65536", "err_bad_port", pPort},
        {"home2", "127.0.0.1", "http", "err_bad_port", pPort},
        {"home2", "bad host!", "80", "err_host_addr", pHost},
        {"home2", "", "80", "err_host_addr", pHost},
        {"HOME", "127.0.0.1", "80", "err_profname_duplicate", pName},
    };
    for (const Step& step : steps) {
        pName->setText(QString::fromUtf8(step.pszName));
        pHost->setEditText(QString::fromUtf8(step.pszHost));
        pPort->setText(QString::fromUtf8(step.pszPort));
        prompt.shown.clear();
        pNext->click();
        QCOMPARE(wizard.currentId(), int(CreateWizard::ServerPage));
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown.constFirst().kind, QStringLiteral("critical"));
        QCOMPARE(prompt.shown.constFirst().title, QStringLiteral("Error"));
        QString strExpected = VelmLocale::message(step.pszKey);
        if (strExpected.contains(QLatin1String("%1")))
            strExpected = strExpected.arg(QString::fromUtf8(step.pszName));
        QCOMPARE(prompt.shown.constFirst().text, strExpected);
        QVERIFY2(step.pFocus->hasFocus() || step.pFocus->isAncestorOf(QApplication::focusWidget()), step.pszKey);
        QVERIFY(pNext->isEnabled());
    }
    pPort->clear();
    QVERIFY(!pNext->isEnabled()); // the port is mandatory

    pName->setText(QStringLiteral("office"));
    pHost->setEditText(QStringLiteral("127.0.0.1"));
    pPort->setText(QString::number(m_fixture.server->port()));
    prompt.shown.clear();
    pNext->click();
    QCOMPARE(wizard.currentId(), int(CreateWizard::AccountTypePage));

    auto* pShared = child<QRadioButton>(&wizard, "m_pradPictarium");
    auto* pPersonal = child<QRadioButton>(&wizard, "m_pradPersonalPictarium");
    auto* pOwner = child<QLineEdit>(&wizard, "m_pedtPersonalName");
    QVERIFY(pShared->isChecked() && !pOwner->isEnabled());
    pPersonal->setChecked(true);
    QVERIFY(pOwner->isEnabled());
    pNext->click();
    QCOMPARE(wizard.currentId(), int(CreateWizard::AccountTypePage));
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.constFirst().kind, QStringLiteral("warning"));
    QCOMPARE(prompt.shown.constFirst().text, VelmLocale::message("err_personal_empty"));
    QVERIFY(pOwner->hasFocus());
    pShared->setChecked(true);
    QVERIFY(!pOwner->isEnabled());
    pNext->click();
    QCOMPARE(wizard.currentId(), int(CreateWizard::CredentialsPage));
    // Enter goes on, also right after a click on Back.
    QTest::mouseClick(wizard.button(QWizard::BackButton), Qt::LeftButton);
    QCOMPARE(wizard.currentId(), int(CreateWizard::AccountTypePage));
    QTest::keyClick(wizard.button(QWizard::BackButton), Qt::Key_Return);
    QCOMPARE(wizard.currentId(), int(CreateWizard::CredentialsPage));

    auto* pAccount = child<QLineEdit>(&wizard, "m_pedtAccount");
    auto* pPassword = child<QLineEdit>(&wizard, "m_pedtPassword");
    auto* pSave = child<QCheckBox>(&wizard, "m_pchkSaveCred");
    QCOMPARE(pAccount->text(), QStringLiteral("admin"));
    QVERIFY(pSave->isChecked() && pPassword->isEnabled() && pPassword->text().isEmpty());
    QCOMPARE(pPassword->maxLength(), 254);

    // Without a remembered password nothing is sent to the server.
    prompt.shown.clear();
    pAccount->clear();
    pNext->click();
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.constFirst().text, VelmLocale::message("err_usrname_empty"));
    QVERIFY(pAccount->hasFocus());
    pAccount->setText(QStringLiteral("ann"));
    pSave->setChecked(false);
    QVERIFY(!pPassword->isEnabled());
    pNext->click();
    QCOMPARE(wizard.currentId(), int(CreateWizard::HintPage));
    QVERIFY(m_fixture.server->journalFor(QStringLiteral("/photo/webapi/auth.php")).isEmpty());

    // A wrong password keeps the credentials page; a changed one is tested again.
    wizard.back();
    pSave->setChecked(true);
    pPassword->setText(QStringLiteral("wrong"));
    prompt.shown.clear();
    pNext->click();
    QVERIFY(waitUntil([&wizard] { return !wizard.isLoginInProgress(); }, 10000));
    QCOMPARE(wizard.currentId(), int(CreateWizard::CredentialsPage));
    QVERIFY(!prompt.shown.isEmpty());
    QVERIFY(pNext->isEnabled());
    pPassword->setText(QStringLiteral("pw"));
    pNext->click();
    QVERIFY(waitUntil([&wizard] { return wizard.currentId() == CreateWizard::HintPage; }, 10000));
    const int iLogins = int(m_fixture.server->journal().size());
    QVERIFY2(iLogins >= 2, qPrintable(QString::number(iLogins)));

    auto* pPicture = child<QLabel>(&wizard, "m_plbPicture");
    QCOMPARE(pPicture->pixmap().toImage(), QPixmap(QStringLiteral(":/images/hint.png")).toImage());
    QCOMPARE(WizHintDialog::pictureFor(QStringLiteral("krn")), QStringLiteral(":/images/hint_krn.png"));
    QCOMPARE(WizHintDialog::pictureFor(QStringLiteral("ita")), QStringLiteral(":/images/hint.png"));

    wizard.button(QWizard::FinishButton)->click();
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
    ServerProfile stored;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("office"), stored, prompt));
    QCOMPARE(stored.hostaddr, QStringLiteral("127.0.0.1"));
    QCOMPARE(stored.port, m_fixture.server->port());
    QCOMPARE(stored.account, QStringLiteral("ann"));
    QCOMPARE(stored.password, QStringLiteral("pw"));
    QVERIFY(stored.savepass && !stored.https && !stored.personal);
    QVERIFY(stored.idxonly && stored.incbackup && stored.daterename);
    QCOMPARE(stored.duphandler, QStringLiteral("RENAME"));
    QVERIFY(stored.serverdst.isEmpty() && stored.qualities.isEmpty());
}

// Mode 1: the new profile goes straight on into the upload wizard.
void TstCreateWizard::modeOneGoesOnToUpload()
{
    QString strUploadTitle;
    bool blFilled = false;
    bool blStored = false;
    QTimer driver;
    connect(&driver, &QTimer::timeout, this, [&]() {
        QWidget* pModal = QApplication::activeModalWidget();
        if (auto* pCreate = qobject_cast<CreateWizard*>(pModal)) {
            QCOMPARE(pCreate->button(QWizard::FinishButton)->text(), VelmLocale::message("btn_start_upload"));
            if (!blFilled) {
                blFilled = true;
                child<QLineEdit>(pCreate, "m_pedtProfName")->setText(QStringLiteral("trip"));
                child<QComboBox>(pCreate, "m_cbxIP")->setEditText(QStringLiteral("127.0.0.1"));
                child<QLineEdit>(pCreate, "m_pedtPort")->setText(QString::number(m_fixture.server->port()));
                pCreate->next();
                pCreate->next();
                child<QCheckBox>(pCreate, "m_pchkSaveCred")->setChecked(false);
                pCreate->next();
                pCreate->button(QWizard::FinishButton)->click();
            }
        } else if (auto* pUpload = qobject_cast<UploadWizard*>(pModal)) {
            strUploadTitle = pUpload->windowTitle();
            blStored = ProfileStore::profileExists(QStringLiteral("trip"));
            pUpload->reject();
        }
    });
    driver.start(100);
    WidgetFlows flows(&m_fixture.prompt);
    StartUp startUp(&m_fixture.prompt, &flows);
    startUp.run({QStringLiteral("pictarium-uploader"), QStringLiteral("1")});
    driver.stop();
    QVERIFY(blFilled);
    QVERIFY2(strUploadTitle.startsWith(QStringLiteral("trip - ")), qPrintable(strUploadTitle));
    QVERIFY(blStored);
}

// Nobody answers: the box comes once, at the end of the round.
void TstCreateWizard::emptyRoundShowsBoxOnce()
{
    FoundServerList list;
    FindHostUtils finder(nam(), &list, 3, &m_fixture.prompt);
    finder.refresh();
    QTest::qWait(800);
    QVERIFY(m_fixture.prompt.shown.isEmpty());
    QTest::qWait(4000);
    QCOMPARE(m_fixture.prompt.shown.size(), 1);
    const QString strServer = VelmLocale::message("velm_server");
    QCOMPARE(m_fixture.prompt.shown.constFirst().kind, QStringLiteral("critical"));
    QCOMPARE(m_fixture.prompt.shown.constFirst().text,
             VelmLocale::message("err_serv_not_found").arg(strServer) +
                 VelmLocale::message("msg_firewall").arg(strServer));
    QVERIFY(m_fixture.prompt.shown.constFirst().text.startsWith(
        QStringLiteral("No Velmora Kestrabox was found on the local network.Please make sure: <p><ul>")));
}

// Servers in the peer namespace, each answering discovery with its own identity.
bool TstCreateWizard::startServers()
{
    if (!m_blPeer) {
        QString strWhy;
        if (!m_network.createPeer(&strWhy) ||
            !m_network.addLink(QStringLiteral("vA1"), QStringLiteral("02:aa:00:00:01:01"),
                               QStringLiteral("10.99.1.1/24"), QStringLiteral("vB1"), QStringLiteral("10.99.1.2/24"),
                               {}, &strWhy) ||
            !m_network.ip({QStringLiteral("route"), QStringLiteral("add"), QStringLiteral("default"),
                           QStringLiteral("via"), QStringLiteral("10.99.1.2")},
                          &strWhy)) {
            qWarning("%s", qPrintable(strWhy));
            return false;
        }
        // One address per server: found servers are told apart by address.
        for (int i = 11; i <= 16; ++i)
            if (!m_network.peerIp({QStringLiteral("addr"), QStringLiteral("add"), QStringLiteral("10.99.1.%1/24").arg(i),
                                   QStringLiteral("dev"), QStringLiteral("vB1")},
                                  &strWhy)) {
                qWarning("%s", qPrintable(strWhy));
                return false;
            }
        m_blPeer = true;
    }
    if (!m_servers.empty())
        return true;
    struct Server
    {
        const char* pszName;
        QStringList lstArgs;
    };
    const QString strRoot = m_fixture.env->root();
    const QList<Server> lstServers = {
        {"Alpha", {"--listen", "10.99.1.11", "--discovery-ip", "10.99.1.11", "--discovery-build", "1100"}},
        {"Bravo", {"--discovery-ip", "10.99.1.12", "--discovery-status", "2", "--discovery-build", "1100"}},
        {"Charlie", {"--discovery-ip", "10.99.1.13", "--discovery-build", "1240", "--discovery-caps", "5"}},
        {"Delta", {"--discovery-ip", "10.99.1.14", "--discovery-build", "1240", "--discovery-caps", "3",
                   "--discovery-http-port", "9"}},
        {"Echo", {"--listen", "10.99.1.15", "--discovery-ip", "10.99.1.15", "--discovery-build", "1100", "--hang-on",
                  "/"}},
        {"Foxtrot", {"--discovery-ip", "10.99.1.77", "--discovery-build", "1100", "--discovery-http-port", "80"}},
    };
    int iMac = 0;
    for (const Server& server : lstServers) {
        auto pServer = std::make_unique<RefServerProcess>(strRoot + QLatin1String("/peer-") + QLatin1String(server.pszName));
        pServer->setLauncher(m_network.peerLauncher());
        const QStringList lstArgs = QStringList{QStringLiteral("--discovery"), QStringLiteral("0.0.0.0"),
                                                QStringLiteral("--discovery-name"), QLatin1String(server.pszName),
                                                QStringLiteral("--discovery-mac"),
                                                QStringLiteral("02:bb:00:00:00:%1").arg(++iMac, 2, 10, QLatin1Char('0'))} +
                                    server.lstArgs;
        if (!pServer->start(lstArgs))
            return false;
        m_servers.push_back(std::move(pServer));
    }
    return true;
}

// One round: the list holds every answer once; the proxy offers the ready, supported, reachable ones.
void TstCreateWizard::searchRound()
{
    QVERIFY(startServers());
    FoundServerList list;
    DebugCapture capture;
    FindHostUtils finder(nam(), &list, 5, &m_fixture.prompt);
    CRadaNasinfoModel model(&list);
    CRadaAddDlgNasinfoProxyModel proxy(&model);
    int iFinished = 0;
    connect(&finder, &FindHostUtils::signalFindNasFinished, this, [&iFinished] { ++iFinished; });
    finder.refresh();
    QVERIFY(finder.isBusy());
    QVERIFY(waitUntil([&iFinished] { return iFinished == 1; }, 10000));
    QVERIFY(!finder.isBusy());
    model.refresh();

    QStringList lstRows;
    for (int i = 0; i < model.rowCount(); ++i)
        lstRows.append(model.index(i, 0).data().toString() + QLatin1Char(' ') +
                       model.index(i, CRadaNasinfoModel::ColStatus).data().toString());
    QCOMPARE(lstRows, QStringList({QStringLiteral("Alpha FHOSTQC_DONE"), QStringLiteral("Bravo FHOSTQC_NOTINSTALL"),
                                   QStringLiteral("Charlie FHOSTQC_DONE"), QStringLiteral("Delta FHOSTQC_DONE"),
                                   QStringLiteral("Echo "), QStringLiteral("Foxtrot ")}));
    QStringList lstOffered;
    for (int i = 0; i < proxy.rowCount(); ++i)
        lstOffered.append(proxy.index(i, 0).data().toString());
    // Delta's refused connection counts as reachable; Echo never answered, Foxtrot's address is dead.
    QCOMPARE(lstOffered, QStringList({QStringLiteral("Alpha"), QStringLiteral("Delta")}));
    QCOMPARE(list.at(QStringLiteral("02:bb:00:00:00:01"))->reachable, 1);
    QCOMPARE(list.at(QStringLiteral("02:bb:00:00:00:05"))->status, int(fhost::StatusTestFailed));
    QCOMPARE(list.at(QStringLiteral("02:bb:00:00:00:05"))->testState, 1);
    QCOMPARE(capture.filter(QStringLiteral("Fail to test connection for [Echo](10.99.1.15)")).size(), 1);
    QCOMPARE(capture.filter(QStringLiteral("Url [http://10.99.1.14:9] has error (1)")).size(), 1);
    QVERIFY(m_fixture.prompt.shown.isEmpty());
}

// The wizard offers found servers; picking one fills in its name and address; typed names of
// found servers that are not ready or not supported are questioned or refused.
void TstCreateWizard::pickingFoundServers()
{
    QVERIFY(startServers());
    ScriptedPrompt& prompt = m_fixture.prompt;
    ServerProfile profile;
    CreateWizard wizard(nullptr, RunMode::CreateProfile, nam(), &profile, &prompt);
    wizard.show();
    auto* pName = child<QLineEdit>(&wizard, "m_pedtProfName");
    auto* pHost = child<QComboBox>(&wizard, "m_cbxIP");
    QVERIFY(waitUntil([pHost] { return pHost->count() >= 1; }, 8000));
    QVERIFY(waitUntil([pHost] { return pHost->count() == 2; }, 8000)); // Alpha and Delta
    QCOMPARE(pHost->model()->index(0, pHost->modelColumn()).data().toString(), QStringLiteral(" Alpha ( 10.99.1.11 )"));
    QCOMPARE(pHost->model()->index(1, pHost->modelColumn()).data().toString(), QStringLiteral(" Delta ( 10.99.1.14 )"));

    QTest::keyClicks(pName, QStringLiteral("mine"));
    pHost->setEditText(QStringLiteral("typed"));
    QVERIFY(QMetaObject::invokeMethod(pHost, "activated", Q_ARG(int, 0)));
    QCOMPARE(pName->text(), QStringLiteral("mine")); // typed by the user, so kept
    QCOMPARE(pHost->currentText(), QStringLiteral("10.99.1.11"));
    pName->clear();
    pName->setModified(false);
    QVERIFY(QMetaObject::invokeMethod(pHost, "activated", Q_ARG(int, 0)));
    QCOMPARE(pName->text(), QStringLiteral("Alpha"));

    pHost->setEditText(QStringLiteral("charlie"));
    prompt.shown.clear();
    wizard.next();
    QCOMPARE(wizard.currentId(), int(CreateWizard::ServerPage));
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.constFirst().text, VelmLocale::message("err_kb_not_supp"));

    pHost->setEditText(QStringLiteral("Bravo"));
    prompt.shown.clear();
    prompt.questionAnswers = {UserPrompt::No, UserPrompt::Yes};
    wizard.next();
    QCOMPARE(wizard.currentId(), int(CreateWizard::ServerPage));
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.constFirst().kind, QStringLiteral("question"));
    QCOMPARE(prompt.shown.constFirst().title, QStringLiteral("Warning"));
    QCOMPARE(prompt.shown.constFirst().text, VelmLocale::message("err_msg_sys_not_ready").arg(QStringLiteral("Bravo")) +
                                                 QLatin1Char('\n') + VelmLocale::message("msg_cfrm_continue"));
    // Yes goes on to the next check (here a bad port, so that no name is looked up).
    child<QLineEdit>(&wizard, "m_pedtPort")->setText(QStringLiteral("0"));
    wizard.next();
    QCOMPARE(prompt.shown.size(), 3);
    QCOMPARE(prompt.shown.at(2).text, VelmLocale::message("err_bad_port"));
    child<QLineEdit>(&wizard, "m_pedtPort")->setText(QStringLiteral("80"));
    pHost->setEditText(QStringLiteral("10.99.1.11"));
    wizard.next();
    QCOMPARE(wizard.currentId(), int(CreateWizard::AccountTypePage));
}

int main(int argc, char* argv[])
{
    // Before any thread exists: the wizard's discovery must never reach the real network.
    QString strWhy;
    const bool blPrivate = TestNetwork::enterPrivateNetwork(&strWhy);
    QApplication app(argc, argv);
    TstCreateWizard test(blPrivate, strWhy);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_createwizard.moc"
