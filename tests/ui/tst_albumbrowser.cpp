#include "RefServerProcess.h"
#include "ScriptedPrompt.h"
#include "ServerLogin.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "UploadWizard/AlbumBrowser.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

const QString kAlbumEndpoint = QStringLiteral("/photo/include/rada_get_uploadable_album.php");
const QString kUploadEndpoint = QStringLiteral("/photo/include/rada_file_upload.php");

// The tree is disabled while the dialog waits for a reply.
#define WAIT_IDLE() QTRY_VERIFY_WITH_TIMEOUT(m_pBrowser->tree()->isEnabled(), 15000)

QString headerValue(const QJsonObject& entry, const QString& strName)
{
    for (const QJsonValue& header : entry.value("headers").toArray()) {
        if (header.toArray().at(0).toString().compare(strName, Qt::CaseInsensitive) == 0)
            return header.toArray().at(1).toString();
    }
    return QString();
}

QByteArray body(const QJsonObject& entry)
{
    return QByteArray::fromBase64(entry.value("body_base64").toString().toLatin1());
}

bool isPlaceholder(const QTreeWidgetItem* pItem)
{
    return pItem->type() == 1003 && pItem->text(0).isEmpty() &&
           pItem->data(0, Qt::UserRole).toString() == QLatin1String("dummy_folder");
}

// "name:type:path(children)", a placeholder as "*".
QString dump(const QTreeWidgetItem* pItem)
{
    if (isPlaceholder(pItem))
        return QStringLiteral("*");
    QString strText =
        pItem->text(0) + ':' + QString::number(pItem->type()) + ':' + pItem->data(0, Qt::UserRole).toString();
    QStringList lstChildren;
    for (int i = 0; i < pItem->childCount(); ++i)
        lstChildren.append(dump(pItem->child(i)));
    return lstChildren.isEmpty() ? strText : strText + '(' + lstChildren.join(' ') + ')';
}

QTreeWidgetItem* findItem(QTreeWidgetItem* pItem, const QString& strPath)
{
    if (!isPlaceholder(pItem) && pItem->data(0, Qt::UserRole).toString() == strPath)
        return pItem;
    for (int i = 0; i < pItem->childCount(); ++i) {
        if (QTreeWidgetItem* pFound = findItem(pItem->child(i), strPath))
            return pFound;
    }
    return nullptr;
}

} // namespace

// The album dialog against the reference server: the tree, lazy loading, album creation,
// and the warnings of failed requests.
class TestAlbumBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { VelmLocale::fillMessageTable(); }
    void init();
    void cleanup();

    void initialTree_data();
    void initialTree();
    void expandingLoadsOnce();
    void rootSelection_data();
    void rootSelection();
    void createAlbum_data();
    void createAlbum();
    void createdNotListedTwice();
    void failures_data();
    void failures();

private:
    bool open(const QStringList& lstAlbums, const QString& strAccount = QStringLiteral("ann"),
              const QStringList& lstArgs = {});
    QTreeWidgetItem* item(const QString& strPath) const
    {
        return findItem(m_pBrowser->tree()->topLevelItem(0), strPath);
    }
    QStringList subAlbumBodies() const;
    void clickCreate(const QString& strParent, const QString& strName);
    template <typename T> T* child(const char* pszName) const { return m_pBrowser->findChild<T*>(pszName); }
    QPushButton* okButton() const
    {
        return child<QDialogButtonBox>("m_pbtnbxDialogBtnBox")->button(QDialogButtonBox::Ok);
    }

    std::unique_ptr<TestEnvironment> m_pEnv;
    std::unique_ptr<RefServerProcess> m_pServer;
    std::unique_ptr<QNetworkAccessManager> m_pNam;
    std::unique_ptr<AlbumBrowser> m_pBrowser;
    ScriptedPrompt m_prompt;
};

void TestAlbumBrowser::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    m_pNam = std::make_unique<QNetworkAccessManager>();
    m_prompt = ScriptedPrompt();
}

void TestAlbumBrowser::cleanup()
{
    m_pBrowser.reset();
    m_pNam.reset();
    m_pServer.reset();
    m_pEnv.reset();
}

// Starts the server with the albums on disk, logs in (an empty account: not at all) and
// shows the dialog without waiting for its first reply.
bool TestAlbumBrowser::open(const QStringList& lstAlbums, const QString& strAccount, const QStringList& lstArgs)
{
    const QString strRoot = m_pEnv->root() + QLatin1String("/server");
    QDir().mkpath(strRoot + QLatin1String("/photo"));
    for (const QString& strAlbum : lstAlbums)
        QDir().mkpath(strRoot + QLatin1String("/photo/") + strAlbum);
    m_pServer = std::make_unique<RefServerProcess>(strRoot);
    m_pServer->setAccounts(QJsonObject{
        {"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}, {"admin", false}},
                                QJsonObject{{"name", "admin"}, {"password", "adminpw"}, {"admin", true}},
                                QJsonObject{{"name", "cat"}, {"password", "pw"}, {"forbidden_albums", QJsonArray{""}}}}}});
    if (!m_pServer->start(lstArgs))
        return false;
    if (!strAccount.isEmpty()) {
        ServerProfile profile;
        ProfileStore::fillRecord(profile, QStringLiteral("p"), m_pServer->host(), m_pServer->port(), false, strAccount,
                                 strAccount == QLatin1String("admin") ? QStringLiteral("adminpw")
                                                                      : QStringLiteral("pw"),
                                 true, QString(), false, true, true, true, QStringLiteral("RENAME"), QString(), {});
        if (!logIn(m_pNam.get(), &profile))
            return false;
    }
    m_pBrowser = std::make_unique<AlbumBrowser>(nullptr, m_pNam.get(), m_pServer->baseUrl(), m_pServer->host(),
                                                m_pServer->port(), &m_prompt);
    m_pBrowser->show();
    return true;
}

QStringList TestAlbumBrowser::subAlbumBodies() const
{
    QStringList lstBodies;
    for (const QJsonObject& entry : m_pServer->journalFor(kAlbumEndpoint)) {
        if (body(entry).startsWith("action=get_all_subalbum_list"))
            lstBodies.append(QString::fromUtf8(body(entry)));
    }
    return lstBodies;
}

void TestAlbumBrowser::clickCreate(const QString& strParent, const QString& strName)
{
    m_pBrowser->tree()->setCurrentItem(item(strParent));
    child<QLineEdit>("m_plnedtNewFolderName")->setText(strName);
    QTest::mouseClick(child<QPushButton>("m_pbtnCreateAlbum"), Qt::LeftButton);
}

void TestAlbumBrowser::initialTree_data()
{
    QTest::addColumn<QStringList>("albums");
    QTest::addColumn<QString>("tree");

    QTest::newRow("two levels") << QStringList{"2013/trip", "2013/party", "misc"}
                                << "photo:1000:(2013:1001:2013(party:1002:2013/party(*) trip:1002:2013/trip(*)) "
                                   "misc:1001:misc)";
    QTest::newRow("three levels") << QStringList{"a/b/c"} << "photo:1000:(a:1001:a(b:1002:a/b(*)))";
    QTest::newRow("no albums") << QStringList() << "photo:1000:";
}

void TestAlbumBrowser::initialTree()
{
    QFETCH(QStringList, albums);
    QFETCH(QString, tree);

    QVERIFY(open(albums));
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::WaitCursor);
    WAIT_IDLE();
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_pBrowser->tree()->topLevelItemCount(), 1);
    QCOMPARE(dump(m_pBrowser->tree()->topLevelItem(0)), tree);
    QVERIFY(m_pBrowser->tree()->topLevelItem(0)->isExpanded());
    QVERIFY(m_prompt.shown.isEmpty());
    const QJsonObject entry = m_pServer->journalFor(kAlbumEndpoint).first();
    QCOMPARE(body(entry), QByteArray("action=get_uploadable_album_list"));
    QCOMPARE(headerValue(entry, "Content-Type"), QStringLiteral("application/x-www-form-urlencoded"));
}

void TestAlbumBrowser::expandingLoadsOnce()
{
    QVERIFY(open({"2013/trip/day1", "2013/trip/day2", "2013/party"}));
    WAIT_IDLE();
    QTreeWidget* pTree = m_pBrowser->tree();

    // A first-level item has its children already: the tree stays usable.
    pTree->expandItem(item("2013"));
    QVERIFY(pTree->isEnabled());

    QTreeWidgetItem* pTrip = item("2013/trip");
    pTree->expandItem(pTrip);
    QVERIFY(!pTree->isEnabled());
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::WaitCursor);
    WAIT_IDLE();
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(dump(pTrip),
             QStringLiteral("trip:1002:2013/trip(day1:1003:2013/trip/day1(*) day2:1003:2013/trip/day2(*))"));

    pTree->collapseItem(pTrip);
    pTree->expandItem(pTrip);
    QVERIFY(pTree->isEnabled());

    // Later requests have been answered, so a repeated one would be in the journal.
    for (const char* pszPath : {"2013/party", "2013/trip/day1"}) {
        pTree->expandItem(item(pszPath));
        WAIT_IDLE();
        QCOMPARE(item(pszPath)->childCount(), 0);
    }
    QCOMPARE(subAlbumBodies(), QStringList({"action=get_all_subalbum_list&path=2013%2Ftrip",
                                            "action=get_all_subalbum_list&path=2013%2Fparty",
                                            "action=get_all_subalbum_list&path=2013%2Ftrip%2Fday1"}));
    QVERIFY(m_prompt.shown.isEmpty());
}

void TestAlbumBrowser::rootSelection_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QStringList>("albums");
    QTest::newRow("administrator") << "admin" << QStringList{"2013"};
    QTest::newRow("user") << "ann" << QStringList{"2013"};
    QTest::newRow("administrator, no albums") << "admin" << QStringList();
    QTest::newRow("user, no albums") << "ann" << QStringList();
}

// The root is a destination for every user, also on a server without albums.
void TestAlbumBrowser::rootSelection()
{
    QFETCH(QString, account);
    QFETCH(QStringList, albums);

    QVERIFY(open(albums, account));
    QCOMPARE(m_pBrowser->windowTitle(), QStringLiteral("Velmora Pictarium Uploader"));
    QCOMPARE(child<QLabel>("m_plblTitle")->text(), QStringLiteral("Select a folder to upload files to"));
    QCOMPARE(child<QLabel>("m_plblNewAlbumName")->text(), QStringLiteral("Create folder:"));
    QPushButton* pCreate = child<QPushButton>("m_pbtnCreateAlbum");
    QCOMPARE(pCreate->text(), QStringLiteral("Create"));
    QCOMPARE(okButton()->text(), QStringLiteral("OK"));
    QCOMPARE(child<QDialogButtonBox>("m_pbtnbxDialogBtnBox")->button(QDialogButtonBox::Cancel)->text(),
             QStringLiteral("Cancel"));
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(!pCreate->isEnabled());
    WAIT_IDLE();

    QTreeWidget* pTree = m_pBrowser->tree();
    QTreeWidgetItem* pRoot = pTree->topLevelItem(0);
    QCOMPARE(pTree->selectedItems(), QList<QTreeWidgetItem*>{pRoot});
    QCOMPARE(pTree->currentItem(), pRoot);
    QVERIFY(okButton()->isEnabled());
    QVERIFY(pCreate->isEnabled());
    QCOMPARE(pRoot->foreground(0).style(), Qt::NoBrush);

    pTree->clearSelection();
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(!pCreate->isEnabled());
    if (!albums.isEmpty()) {
        pTree->setCurrentItem(item("2013"));
        QVERIFY(okButton()->isEnabled());
        QCOMPARE(m_pBrowser->selectedPath(), QStringLiteral("2013"));
    }
    // Picked with the mouse, the root is what OK hands back.
    QTest::mouseClick(pTree->viewport(), Qt::LeftButton, {}, pTree->visualItemRect(pRoot).center());
    QCOMPARE(pTree->selectedItems(), QList<QTreeWidgetItem*>{pRoot});
    QVERIFY(pCreate->isEnabled());
    QTest::mouseClick(okButton(), Qt::LeftButton);
    QCOMPARE(m_pBrowser->result(), int(QDialog::Accepted));
    QVERIFY(!m_pBrowser->isVisible());
    QCOMPARE(m_pBrowser->selectedPath(), QString());
    QVERIFY(m_prompt.shown.isEmpty());
}

void TestAlbumBrowser::createAlbum_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QStringList>("albums");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("xPath");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("path");

    const QStringList lstTrip{"2013/trip"};
    QTest::newRow("under the root") << "admin" << lstTrip << ""
                                    << " " << 1001 << "New Album";
    QTest::newRow("user, under the root") << "ann" << lstTrip << ""
                                          << " " << 1001 << "New Album";
    QTest::newRow("user, no albums yet") << "ann" << QStringList() << ""
                                         << " " << 1001 << "New Album";
    QTest::newRow("under a first level") << "ann" << lstTrip << "2013"
                                         << " 2013" << 1002 << "2013/New Album";
    QTest::newRow("under a second level") << "ann" << lstTrip << "2013/trip"
                                          << " 2013%2Ftrip" << 1003 << "2013/trip/New Album";
}

void TestAlbumBrowser::createAlbum()
{
    QFETCH(QString, account);
    QFETCH(QStringList, albums);
    QFETCH(QString, parent);
    QFETCH(QString, xPath);
    QFETCH(int, type);
    QFETCH(QString, path);

    QVERIFY(open(albums, account));
    WAIT_IDLE();
    // The dialog sends the cookies the jar held when it opened.
    const QList<QNetworkCookie> lstCookies = m_pNam->cookieJar()->cookiesForUrl(QUrl(m_pServer->baseUrl()));
    m_pNam->setCookieJar(new QNetworkCookieJar);
    QTreeWidgetItem* pParent = item(parent);
    clickCreate(parent, QStringLiteral("  New Album  "));
    QCOMPARE(child<QLineEdit>("m_plnedtNewFolderName")->text(), QStringLiteral("New Album"));
    QVERIFY(!m_pBrowser->tree()->isEnabled());
    QVERIFY(!child<QPushButton>("m_pbtnCreateAlbum")->isEnabled());
    QVERIFY(!okButton()->isEnabled());
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::WaitCursor);
    WAIT_IDLE();
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_prompt.shown.isEmpty());

    const QJsonObject entry = m_pServer->journalFor(kUploadEndpoint).value(0);
    QCOMPARE(entry.value("method").toString(), QStringLiteral("POST"));
    QStringList lstHeaders;
    for (const QJsonValue& header : entry.value("headers").toArray())
        lstHeaders.append(header.toArray().at(0).toString().toUpper());
    QCOMPARE(lstHeaders.filter(QRegularExpression("^X-")),
             QStringList({"X-PATH", "X-DUPLICATE", "X-ORIG-FNAME", "X-UPLOAD-TYPE"}));
    QCOMPARE(headerValue(entry, "X-PATH"), xPath);
    QCOMPARE(headerValue(entry, "X-DUPLICATE"), QStringLiteral("SKIP"));
    QCOMPARE(headerValue(entry, "X-ORIG-FNAME"), QStringLiteral(" New%20Album"));
    QCOMPARE(headerValue(entry, "X-UPLOAD-TYPE"), QStringLiteral("FOLDER"));
    QCOMPARE(headerValue(entry, "Content-Type"), QStringLiteral("application/x-www-form-urlencoded"));
    QVERIFY(body(entry).isEmpty());
    QCOMPARE(lstCookies.size(), 1);
    QCOMPARE(headerValue(entry, "Cookie").toLatin1(), lstCookies.first().toRawForm(QNetworkCookie::NameAndValueOnly));

    QVERIFY(QFileInfo(m_pServer->root() + QLatin1String("/photo/") + path).isDir());
    QTreeWidgetItem* pNew = m_pBrowser->tree()->currentItem();
    QCOMPARE(pNew->parent(), pParent);
    QCOMPARE(dump(pNew), QStringLiteral("New Album:%1:%2").arg(type).arg(path));
    QCOMPARE(m_pBrowser->tree()->selectedItems(), QList<QTreeWidgetItem*>{pNew});
    QCOMPARE(m_pBrowser->selectedPath(), path);
    QVERIFY(child<QLineEdit>("m_plnedtNewFolderName")->text().isEmpty());
    QVERIFY(okButton()->isDefault());

    // The same name again, confirmed with Enter: a warning, no second item, the dialog stays.
    m_pBrowser->tree()->setCurrentItem(pParent);
    QTest::keyClicks(child<QLineEdit>("m_plnedtNewFolderName"), QStringLiteral("New Album"));
    QTest::keyClick(child<QLineEdit>("m_plnedtNewFolderName"), Qt::Key_Return);
    QVERIFY(m_pBrowser->result() != QDialog::Accepted);
    WAIT_IDLE();
    QCOMPARE(m_prompt.shown.size(), 1);
    QCOMPARE(m_prompt.shown.first().title, QStringLiteral("Warning"));
    QCOMPARE(m_prompt.shown.first().text, QStringLiteral("The folder name already exists. Please use another name."));
    QCOMPARE(dump(pParent).count(QStringLiteral("New Album:")), 1);
    QVERIFY(m_pBrowser->isVisible());
}

void TestAlbumBrowser::createdNotListedTwice()
{
    QVERIFY(open({"2013/trip/day1"}));
    WAIT_IDLE();
    clickCreate("2013/trip", QString()); // no name: nothing is sent
    QVERIFY(m_pBrowser->tree()->isEnabled());
    clickCreate("2013/trip", QStringLiteral("x"));
    WAIT_IDLE();
    QTreeWidgetItem* pTrip = item("2013/trip");
    m_pBrowser->tree()->expandItem(pTrip);
    QTRY_VERIFY_WITH_TIMEOUT(!isPlaceholder(pTrip->child(0)), 15000);
    WAIT_IDLE();
    QCOMPARE(subAlbumBodies(), QStringList({"action=get_all_subalbum_list&path=2013%2Ftrip"}));

    QCOMPARE(dump(pTrip), QStringLiteral("trip:1002:2013/trip(x:1003:2013/trip/x day1:1003:2013/trip/day1(*))"));
    QCOMPARE(m_pServer->journalFor(kUploadEndpoint).size(), 1);
    QCOMPARE(m_pBrowser->selectedPath(), QStringLiteral("2013/trip/x"));
    QVERIFY(m_prompt.shown.isEmpty());
}

void TestAlbumBrowser::failures_data()
{
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<QString>("account"); // empty: not logged in
    QTest::addColumn<QString>("parent");  // where an album is created; null: none is
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");

    const QString strLost = QStringLiteral("The connection is lost. Please log in to Kestrabox Manager again.");
    const QString strNoPrivilege = QStringLiteral("You have no privileges to either create new albums or upload files.");
    QTest::newRow("list: session lost") << QStringList() << "" << QString() << strLost << false;
    QTest::newRow("list: not found") << QStringList{"--status-on", kAlbumEndpoint + "=404"} << "ann" << QString()
                                     << "This function is not supported by the connected server." << false;
    QTest::newRow("list: html page") << QStringList{"--html-on", kAlbumEndpoint} << "ann" << QString()
                                     << "Unknown server error. (Error Code:ret_err)" << false;
    QTest::newRow("create: session lost")
        << QStringList{"--fail-upload", ".*=session_lost"} << "ann" << "2013" << strLost << true;
    QTest::newRow("create: no privilege")
        << QStringList{"--fail-upload", ".*=no_privilege"} << "ann" << "2013" << strNoPrivilege << false;
    QTest::newRow("create: root refused to the user") << QStringList() << "cat" << "" << strNoPrivilege << false;
    QTest::newRow("create: bad name") << QStringList{"--fail-upload", ".*=bad_dir_name_N"} << "ann" << "2013"
                                      << "Invalid folder name: N" << false;
}

void TestAlbumBrowser::failures()
{
    QFETCH(QStringList, serverArgs);
    QFETCH(QString, account);
    QFETCH(QString, parent);
    QFETCH(QString, message);
    QFETCH(bool, closes);

    QVERIFY(open({"2013"}, account, serverArgs));
    QSignalSpy rejected(m_pBrowser.get(), &QDialog::rejected);
    WAIT_IDLE();
    const bool blCreate = !parent.isNull();
    if (blCreate) {
        clickCreate(parent, QStringLiteral("N"));
        WAIT_IDLE();
    }
    QCOMPARE(m_prompt.shown.size(), 1);
    QCOMPARE(m_prompt.shown.first().kind, QStringLiteral("warning"));
    QCOMPARE(m_prompt.shown.first().title, QStringLiteral("Warning"));
    QCOMPARE(m_prompt.shown.first().text, message);
    QCOMPARE(rejected.count(), closes ? 1 : 0);
    QCOMPARE(m_pBrowser->isVisible(), !closes);
    QCOMPARE(dump(m_pBrowser->tree()->topLevelItem(0)), blCreate ? "photo:1000:(2013:1001:2013)" : "photo:1000:");
    QVERIFY(!QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/2013/N")));
    QVERIFY(!QFileInfo::exists(m_pServer->root() + QLatin1String("/photo/N")));
    QCOMPARE(m_pBrowser->cursor().shape(), Qt::ArrowCursor);
    // The dialog stays usable: the parent is still chosen, the user may pick another album.
    if (!closes) {
        QCOMPARE(m_pBrowser->selectedPath(), blCreate ? parent : QString());
        QVERIFY(okButton()->isEnabled());
    }
}

QTEST_MAIN(TestAlbumBrowser)
#include "tst_albumbrowser.moc"
