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
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QRadioButton>
#include <QRegularExpression>
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

NASINFO entry(const char* pszName, const char* pszMac, quint32 iAddress, int iStatus, int iBuild, bool blCap3 = false)
{
    NASINFO info;
    std::memset(&info, 0, sizeof(info));
    std::snprintf(info.serverName, sizeof(info.serverName), "%s", pszName);
    std::snprintf(info.macAddress, sizeof(info.macAddress), "%s", pszMac);
    info.ipAddress = qToBigEndian(iAddress);
    info.status = iStatus;
    info.buildNumber = iBuild;
    if (blCap3)
        fhost::maskSet(info.capabilityMask, 3);
    return info;
}

// The rows a combo box offers, each as shown, with " (off)" after a row that cannot be picked.
QStringList comboRows(const QComboBox* pCombo)
{
    QStringList lstRows;
    for (int i = 0; i < pCombo->count(); ++i) {
        const QModelIndex index = pCombo->model()->index(i, pCombo->modelColumn());
        const bool blOn = pCombo->model()->flags(index).testFlag(Qt::ItemIsEnabled);
        lstRows.append(index.data().toString() + QLatin1String(blOn ? "" : " (off)"));
    }
    return lstRows;
}

QString seen(const char* pszLabel, const char* pszKey)
{
    return QLatin1String(pszLabel) + QStringLiteral(" \u2013 ") + VelmLocale::message(pszKey) + QLatin1String(" (off)");
}

// A note's text without the style block that sets its margins.
QString shownNote(const QLabel* pNote)
{
    static const QRegularExpression s_style(QStringLiteral("^<style>[^<]*</style>"));
    return QString(pNote->text()).remove(s_style);
}

bool anyMessageBox()
{
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(pWidget) && pWidget->isVisible())
            return true;
    return false;
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
    void quietEmptyRound_data();
    void quietEmptyRound();
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
    // Rounds of 20 ticks take about 3 s instead of 21.
    FindHostUtils::setTickMilliseconds(100);
}

void TstCreateWizard::init()
{
    QVERIFY(m_fixture.start());
}

void TstCreateWizard::cleanup()
{
    m_fixture.stop();
}

// Every server is listed: the offered ones first and pickable, the others greyed with the reason.
// Addresses sort by value, not by text. Rows are keyed by MAC across refreshes.
void TstCreateWizard::proxyFilterAndOrder()
{
    struct Row
    {
        NASINFO info;
        const char* pszShown; // nullptr: not listed
    };
    // In the order listed; the MAC keys put them in another order in the list.
    const Row rows[] = {
        {entry("Ace", "00:00:00:00:00:09", 0x0a00000a, 1, 1240, true), " Ace ( 10.0.0.10 )"},
        {entry("Birch", "00:00:00:00:00:02", 0x0a000009, 1, 1093), " Birch ( 10.0.0.9 )"},
        {entry("Cedar", "00:00:00:00:00:07", 0x0a000005, 1, 1239), " Cedar ( 10.0.0.5 )"},
        {entry("Dune", "00:00:00:00:00:01", 0x0a000001, 0, 1100), "create_svr_seen_not_ready"},
        {entry("Elm", "00:00:00:00:00:06", 0x0a000006, 2, 1100), "create_svr_seen_not_installed"},
        {entry("Fern", "00:00:00:00:00:03", 0x0a000003, 1, 1092), "create_svr_seen_unsupported"},
        {entry("Gale", "00:00:00:00:00:05", 0x0a000004, 1, 1240), "create_svr_seen_unsupported"},
        {entry("Hill", "00:00:00:00:00:08", 0x0a000008, 8, 1100), "create_svr_seen_unreachable"},
        {entry("Iris", "00:00:00:00:00:04", 0, 1, 1100), "create_svr_seen_unreachable"},
        {entry("Jade", "00:00:00:00:00:0a", 0x0a00000b, 10, 1100), nullptr},
    };
    FoundServerList list;
    auto add = [&list](const NASINFO& info) {
        list.emplace(QString::fromLatin1(info.macAddress), std::make_unique<NASINFO>(info));
    };
    for (const Row& row : rows)
        add(row.info);

    CRadaNasinfoModel model(&list);
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.index(0, CRadaNasinfoModel::ColStatus).data().toString(), QStringLiteral("FHOSTQC_FALSE"));
    QCOMPARE(model.index(5, CRadaNasinfoModel::ColStatus).data().toString(), QStringLiteral("FHOSTQC_NOTINSTALL"));
    QCOMPARE(model.index(0, CRadaNasinfoModel::ColMac).data().toString(), QStringLiteral("00:00:00:00:00:01"));
    QCOMPARE(model.index(0, CRadaNasinfoModel::ColLabel).data().toString(), QStringLiteral(" Dune ( 10.0.0.1 )"));
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
    QCOMPARE(FoundServers::httpPort(entry("x", "m", 1, 1, 172)), 80);

    QComboBox combo;
    QLineEdit name;
    FoundServerPicker picker(nullptr, nam(), &list, &m_fixture.prompt, &combo, &name);
    QStringList lstExpected;
    for (const Row& row : rows) {
        if (row.pszShown && row.pszShown[0] == ' ')
            lstExpected.append(QLatin1String(row.pszShown));
        else if (row.pszShown)
            lstExpected.append(QStringLiteral(" %1 ( %2 ) \u2013 %3 (off)")
                                   .arg(QString::fromUtf8(row.info.serverName),
                                        FoundServers::dotted(row.info.ipAddress), VelmLocale::message(row.pszShown)));
    }
    QCOMPARE(comboRows(&combo), lstExpected);
    CRadaAddDlgNasinfoProxyModel* pProxy = picker.proxyModel();
    QVERIFY(!pProxy->flags(pProxy->index(3, 0)).testFlag(Qt::ItemIsSelectable));
    pProxy->sort(CRadaNasinfoModel::ColAddress, Qt::AscendingOrder);
    QStringList lstByAddress;
    for (int i = 0; i < pProxy->rowCount(); ++i)
        lstByAddress.append(pProxy->index(i, 0).data().toString());
    QCOMPARE(lstByAddress, QStringList({"Cedar", "Birch", "Ace", "Iris", "Dune", "Fern", "Gale", "Elm", "Hill"}));
    pProxy->sort(CRadaNasinfoModel::ColName, Qt::AscendingOrder);

    // A greyed row fills in nothing; an offered one its name and address.
    picker.pick(3);
    QVERIFY(name.text().isEmpty() && combo.currentText().isEmpty());
    picker.pick(2);
    QCOMPARE(name.text(), QStringLiteral("Cedar"));
    QCOMPARE(combo.currentText(), QStringLiteral("10.0.0.5"));

    // A row stays its server when an answer that sorts before it comes in between two refreshes.
    const QPersistentModelIndex selected = model.index(6, CRadaNasinfoModel::ColName);
    QCOMPARE(selected.data().toString(), QStringLiteral("Cedar"));
    add(entry("Abbey", "00:00:00:00:00:00", 0x0a000002, 1, 1100));
    picker.pick(0);
    QCOMPARE(combo.currentText(), QStringLiteral("10.0.0.10"));
    model.refresh();
    picker.showUpdate();
    QCOMPARE(selected.row(), 7);
    QCOMPARE(selected.data(CRadaNasinfoModel::KeyRole).toString(), QStringLiteral("00:00:00:00:00:07"));
    QCOMPARE(combo.count(), 10);
    QCOMPARE(comboRows(&combo).constFirst(), QStringLiteral(" Abbey ( 10.0.0.2 )"));
    QCOMPARE(combo.currentText(), QStringLiteral("10.0.0.10"));
    name.clear();
    name.setModified(false);
    picker.pick(3);
    QCOMPARE(name.text(), QStringLiteral("Cedar"));
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
    QCOMPARE(pName->placeholderText(), VelmLocale::plural("create_svr_profname_limit", 32));
    QCOMPARE(pName->maxLength(), 32);

    // The box moves the port only from the other scheme's default.
    struct PortRow
    {
        const char* pszBefore;
        bool blHttps;
        const char* pszAfter;
    };
    const PortRow portRows[] = {
        {"80", true, "443"}, {"443", false, "80"}, {"5000", true, "5000"}, {"5000", false, "5000"},
        {"", true, ""},      {"", false, ""},      {"443", true, "443"},   {"80", false, "80"},
        {"8080", true, "8080"},
    };
    for (const PortRow& row : portRows) {
        pHttps->setChecked(!row.blHttps);
        pPort->setText(QLatin1String(row.pszBefore));
        pHttps->setChecked(row.blHttps);
        QCOMPARE(pPort->text(), QLatin1String(row.pszAfter));
    }
    pHttps->setChecked(false);

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

void TstCreateWizard::quietEmptyRound_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("leave");
    QTest::addColumn<bool>("told");
    QTest::newRow("nothing typed") << QString() << false << true;
    QTest::newRow("blanks typed") << QStringLiteral("  ") << false << true;
    QTest::newRow("address typed") << QStringLiteral("10.0.0.7") << false << false;
    QTest::newRow("page left") << QStringLiteral("127.0.0.1") << true << false;
}

// Nobody answers: no box at any time; the page says that it searches, then, unless an address was
// typed or the page was left, that nothing was found.
void TstCreateWizard::quietEmptyRound()
{
    QFETCH(QString, typed);
    QFETCH(bool, leave);
    QFETCH(bool, told);
    ServerProfile profile;
    CreateWizard wizard(nullptr, RunMode::CreateProfile, nam(), &profile, &m_fixture.prompt);
    wizard.show();
    auto* pNote = child<QLabel>(&wizard, "m_plbSearchNote");
    QVERIFY(!pNote->isHidden());
    QCOMPARE(pNote->text(), VelmLocale::message("create_svr_searching"));
    QCOMPARE(pNote->text(), QStringLiteral("Searching the network for servers..."));
    QVERIFY(pNote->wordWrap());
    child<QComboBox>(&wizard, "m_cbxIP")->setEditText(typed);
    if (leave) {
        child<QLineEdit>(&wizard, "m_pedtProfName")->setText(QStringLiteral("away"));
        child<QLineEdit>(&wizard, "m_pedtPort")->setText(QString::number(m_fixture.server->port()));
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CreateWizard::AccountTypePage));
        child<QComboBox>(&wizard, "m_cbxIP")->clearEditText(); // only the leaving keeps the note away
    }
    QVERIFY(!pNote->text().isEmpty()); // still searching
    QVERIFY(waitUntil([pNote] { return pNote->text() != VelmLocale::message("create_svr_searching"); }, 8000));
    QTest::qWait(300);
    if (leave) {
        wizard.back();
        QCOMPARE(wizard.currentId(), int(CreateWizard::ServerPage));
    }
    QVERIFY(m_fixture.prompt.shown.isEmpty());
    QVERIFY(!anyMessageBox());
    const QString strServer = VelmLocale::message("velm_server");
    const QString strNoneFound =
        VelmLocale::message("err_serv_not_found").arg(strServer) + QStringLiteral("<br>") +
        VelmLocale::message("msg_firewall").arg(strServer);
    QVERIFY(strNoneFound.startsWith(
        QStringLiteral("No Velmora Kestrabox was found on the local network.<br>Please make sure: <p><ul>")));
    QCOMPARE(shownNote(pNote), told ? strNoneFound : QString());
    QCOMPARE(pNote->isVisible(), told);
    if (told)
        QCOMPARE(pNote->textFormat(), Qt::RichText);
    // Typing an address takes the note away.
    child<QComboBox>(&wizard, "m_cbxIP")->setEditText(QStringLiteral("nas"));
    QVERIFY(pNote->isHidden());
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
        for (int i = 11; i <= 17; ++i)
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
        {"Golf", {"--discovery-ip", "10.99.1.16", "--discovery-status", "0", "--discovery-build", "1100"}},
        {"Hotel", {"--discovery-ip", "10.99.1.17", "--discovery-build", "1092"}},
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
    FindHostUtils finder(nam(), &list, 20);
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
                                   QStringLiteral("Echo "), QStringLiteral("Foxtrot "),
                                   QStringLiteral("Golf FHOSTQC_FALSE"), QStringLiteral("Hotel FHOSTQC_DONE")}));
    QStringList lstOffered;
    for (int i = 0; i < proxy.rowCount(); ++i)
        if (proxy.verdictAt(i) == FoundServers::Verdict::Offered)
            lstOffered.append(proxy.index(i, 0).data().toString());
    // Delta's refused connection counts as reachable; Echo never answered, Foxtrot's address is dead.
    QCOMPARE(lstOffered, QStringList({QStringLiteral("Alpha"), QStringLiteral("Delta")}));
    QCOMPARE(proxy.rowCount(), 8);
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
    auto* pNote = child<QLabel>(&wizard, "m_plbSearchNote");
    QCOMPARE(pNote->text(), VelmLocale::message("create_svr_searching"));
    QVERIFY(waitUntil([pHost] { return pHost->count() >= 1; }, 8000));
    QVERIFY(pNote->isHidden());
    // Echo is listed once its test has failed at the end of the round.
    QVERIFY(waitUntil([pHost] { return pHost->count() == 8; }, 8000));
    QCOMPARE(comboRows(pHost), QStringList({" Alpha ( 10.99.1.11 )", " Delta ( 10.99.1.14 )",
                                            seen(" Bravo ( 10.99.1.12 )", "create_svr_seen_not_installed"),
                                            seen(" Charlie ( 10.99.1.13 )", "create_svr_seen_unsupported"),
                                            seen(" Echo ( 10.99.1.15 )", "create_svr_seen_unreachable"),
                                            seen(" Foxtrot ( 10.99.1.77 )", "create_svr_seen_unreachable"),
                                            seen(" Golf ( 10.99.1.16 )", "create_svr_seen_not_ready"),
                                            seen(" Hotel ( 10.99.1.17 )", "create_svr_seen_unsupported")}));
    QVERIFY(pNote->isHidden());
    QVERIFY(prompt.shown.isEmpty());
    // A greyed row cannot be picked.
    QVERIFY(QMetaObject::invokeMethod(pHost, "activated", Q_ARG(int, 2)));
    QVERIFY(pName->text().isEmpty() && pHost->currentText().isEmpty());

    QTest::keyClicks(pName, QStringLiteral("mine"));
    pHost->setEditText(QStringLiteral("typed"));
    QVERIFY(QMetaObject::invokeMethod(pHost, "activated", Q_ARG(int, 0)));
    QCOMPARE(pName->text(), QStringLiteral("mine")); // typed by the user, so kept
    QCOMPARE(pHost->currentText(), QStringLiteral("10.99.1.11"));
    pName->clear();
    pName->setModified(false);
    QVERIFY(QMetaObject::invokeMethod(pHost, "activated", Q_ARG(int, 0)));
    QCOMPARE(pName->text(), QStringLiteral("Alpha"));

    for (const char* pszTyped : {"charlie", "10.99.1.17"}) {
        pHost->setEditText(QLatin1String(pszTyped));
        prompt.shown.clear();
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CreateWizard::ServerPage));
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown.constFirst().text, VelmLocale::message("err_kb_not_supp"));
    }

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
