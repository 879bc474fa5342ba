#include "AppIdentity.h"
#include "ScriptedPrompt.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"
#include "store/WatchStore.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

class TestProfileStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void insertAppliesFixedDefaults();
    void qualityColumns_data();
    void qualityColumns();
    void loadMissingShowsError();
    void shortcutListOrderAndBytes();
    void shortcutIndexAndLookup();
    void awkwardNameRoundTrip();
    void saveOptionsAndCount();
    void updateAndRename();
    void deleteProfile();
    void setColumnRejectsUnknownNames();
    void listProfiles();

private:
    static ServerProfile makeProfile(const QString& strName, const QList<int>& lstQualities = {});
    static QSqlRecord storedRow(const QString& strName);
    static void addHistoryRow(const QString& strName);
    static int historyRows(const QString& strName);

    std::unique_ptr<TestEnvironment> m_pEnv;
};

void TestProfileStore::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
}

void TestProfileStore::cleanup()
{
    VelmDatabase::close();
    m_pEnv.reset();
}

ServerProfile TestProfileStore::makeProfile(const QString& strName, const QList<int>& lstQualities)
{
    ServerProfile profile;
    ProfileStore::fillRecord(profile, strName, QStringLiteral("kestra.local"), 8080, true, QStringLiteral("ann"),
                             QStringLiteral("s3cret"), true, QStringLiteral("ann"), false, false, false, false,
                             QStringLiteral("SKIP"), QStringLiteral("/photo/x"), lstQualities);
    return profile;
}

QSqlRecord TestProfileStore::storedRow(const QString& strName)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT * FROM ServerProfiles WHERE profname = ?"));
    query.addBindValue(strName);
    if (!query.exec() || !query.next())
        return QSqlRecord();
    return query.record();
}

void TestProfileStore::addHistoryRow(const QString& strName)
{
    VelmDatabase::ensureTable(VelmDatabase::PhotoRecords);
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("insert into PhotoRecords values('a.jpg', ?, 1, '1', 'x')"));
    query.addBindValue(strName);
    QVERIFY(query.exec());
}

int TestProfileStore::historyRows(const QString& strName)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT count(*) FROM PhotoRecords WHERE profname = ?"));
    query.addBindValue(strName);
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toInt();
}

void TestProfileStore::insertAppliesFixedDefaults()
{
    const ServerProfile profile = makeProfile(QStringLiteral("home"));
    QCOMPARE(profile.baseUrl, QStringLiteral("https://kestra.local:8080"));
    QVERIFY(ProfileStore::insertProfile(profile));

    const QSqlRecord row = storedRow(QStringLiteral("home"));
    QCOMPARE(row.count(), 19);
    QCOMPARE(row.value("hostaddr").toString(), QStringLiteral("kestra.local"));
    QCOMPARE(row.value("port").toInt(), 8080);
    QCOMPARE(row.value("https").toInt(), 1);
    QCOMPARE(row.value("personal").toInt(), 0);
    QCOMPARE(row.value("usrname").toString(), QStringLiteral("ann"));
    QCOMPARE(row.value("account").toString(), QStringLiteral("ann"));
    QCOMPARE(row.value("password").toString(), QStringLiteral("s3cret"));
    QCOMPARE(row.value("savepass").toInt(), 1);
    // Whatever the record held, a new profile starts with these.
    QCOMPARE(row.value("idxonly").toInt(), 1);
    QCOMPARE(row.value("incbackup").toInt(), 1);
    QCOMPARE(row.value("daterename").toInt(), 1);
    QCOMPARE(row.value("duphandler").toString(), QStringLiteral("RENAME"));
    QCOMPARE(row.value("serverdst").toString(), QString());
    QCOMPARE(row.value("counter").toInt(), 0);

    ServerProfile loaded;
    loaded.keepfolders = false;
    ScriptedPrompt prompt;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("home"), loaded, prompt));
    QVERIFY(prompt.shown.isEmpty());
    QVERIFY(loaded.idxonly && loaded.incbackup && loaded.daterename && loaded.savepass && loaded.https);
    QVERIFY(!loaded.keepfolders);
    QCOMPARE(loaded.duphandler, QStringLiteral("RENAME"));
    QCOMPARE(loaded.baseUrl, QStringLiteral("https://kestra.local:8080"));
}

void TestProfileStore::qualityColumns_data()
{
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QList<int>>("loaded");
    QTest::addColumn<QList<int>>("columns"); // high, medium, low, mobile

    QTest::newRow("medium+mobile") << QList<int>{1, 3} << QList<int>{1, 3} << QList<int>{0, 1, 0, 1};
    QTest::newRow("high+low") << QList<int>{0, 2} << QList<int>{2, 0} << QList<int>{1, 0, 1, 0};
    QTest::newRow("all") << QList<int>{3, 2, 1, 0} << QList<int>{2, 1, 0, 3} << QList<int>{1, 1, 1, 1};
    QTest::newRow("none") << QList<int>{} << QList<int>{} << QList<int>{0, 0, 0, 0};
}

void TestProfileStore::qualityColumns()
{
    QFETCH(QList<int>, stored);
    QFETCH(QList<int>, loaded);
    QFETCH(QList<int>, columns);

    QVERIFY(ProfileStore::insertProfile(makeProfile(QStringLiteral("q"), stored)));
    const QSqlRecord row = storedRow(QStringLiteral("q"));
    QCOMPARE((QList<int>{row.value("highqual").toInt(), row.value("medqual").toInt(), row.value("lowqual").toInt(),
                         row.value("mobilequal").toInt()}),
             columns);

    ServerProfile profile;
    ScriptedPrompt prompt;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("q"), profile, prompt));
    QCOMPARE(profile.qualities, loaded);

    // Saving the options after an upload never touches the quality columns.
    profile.qualities = {0, 1, 2, 3};
    ProfileStore::saveUploadOptions(profile);
    ProfileStore::countUploadRun(profile.profname);
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("q"), profile, prompt));
    QCOMPARE(profile.qualities, loaded);
}

void TestProfileStore::loadMissingShowsError()
{
    VelmLocale::fillMessageTable();
    QVERIFY(ProfileStore::insertProfile(makeProfile(QStringLiteral("alpha"))));
    QVERIFY(ProfileStore::profileExists(QStringLiteral("ALPHA")));
    QVERIFY(!ProfileStore::profileExists(QStringLiteral("alph")));

    ServerProfile profile;
    profile.hostaddr = QStringLiteral("untouched");
    ScriptedPrompt prompt;
    QVERIFY(!ProfileStore::loadProfile(QStringLiteral("ALPHA"), profile, prompt));
    QCOMPARE(profile.hostaddr, QStringLiteral("untouched"));
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.at(0).kind, QStringLiteral("critical"));
    QCOMPARE(prompt.shown.at(0).title, QStringLiteral("Error"));
    QVERIFY(prompt.shown.at(0).text.startsWith(QLatin1String("Database error (")));
}

void TestProfileStore::shortcutListOrderAndBytes()
{
    for (const char* pszName : {"alpha", "Beta", "zeta"})
        QVERIFY(ProfileStore::insertProfile(makeProfile(QLatin1String(pszName))));
    const QByteArray baFile = TestFiles::readBytes(ProfileStore::shortcutListPath());
    QCOMPARE(baFile, TestFiles::utf16le(QStringLiteral("3\nzeta\nalpha\nBeta\n")));
    QVERIFY(!baFile.startsWith("\xFF\xFE"));
}

void TestProfileStore::shortcutIndexAndLookup()
{
    QCOMPARE(ProfileStore::shortcutIndex(QStringLiteral("any")), 0);
    QCOMPARE(ProfileStore::shortcutProfileName(0), QString()); // no file yet
    ProfileStore::rewriteShortcutList();
    QCOMPARE(ProfileStore::shortcutProfileName(0), QString()); // count 0

    for (const char* pszName : {"alpha", "Beta", "zeta"})
        QVERIFY(ProfileStore::insertProfile(makeProfile(QLatin1String(pszName))));
    QCOMPARE(ProfileStore::shortcutIndex(QStringLiteral("ZETA")), 0);
    QCOMPARE(ProfileStore::shortcutIndex(QStringLiteral("beta")), 2);
    QCOMPARE(ProfileStore::shortcutIndex(QStringLiteral("gamma")), 3);

    QCOMPARE(ProfileStore::shortcutProfileName(1), QStringLiteral("alpha"));
    QCOMPARE(ProfileStore::shortcutProfileName(2), QStringLiteral("Beta"));
    // Past the list: no profile, never another one.
    QCOMPARE(ProfileStore::shortcutProfileName(3), QString());
    QCOMPARE(ProfileStore::shortcutProfileName(-1), QString());
}

void TestProfileStore::awkwardNameRoundTrip()
{
    const QString strName = QString::fromUtf8("O'Brien's \"NAS\" %1 Gr\xc3\xb6\xc3\x9f" "e");
    const QString strRenamed = strName + QStringLiteral(" ' -- ");
    ServerProfile profile = makeProfile(strName);
    profile.password = QStringLiteral("p'w\"%2");
    QVERIFY(ProfileStore::insertProfile(profile));
    QVERIFY(ProfileStore::profileExists(QString::fromUtf8("O'BRIEN'S \"nas\" %1 GR\xc3\x96\xc3\x9f" "E")));
    QCOMPARE(ProfileStore::shortcutProfileName(0), strName);
    QCOMPARE(ProfileStore::shortcutIndex(strName), 0);

    ScriptedPrompt prompt;
    ServerProfile loaded;
    QVERIFY(ProfileStore::loadProfile(strName, loaded, prompt));
    QCOMPARE(loaded.profname, strName);
    QCOMPARE(loaded.password, QStringLiteral("p'w\"%2"));

    loaded.serverdst = QStringLiteral("/photo/O'Brien");
    ProfileStore::saveUploadOptions(loaded);
    ProfileStore::setColumn(QStringLiteral("ServerProfiles"), strName, QStringLiteral("password"),
                            QStringLiteral("new'one"));
    ProfileStore::countUploadRun(strName);
    QCOMPARE(ProfileStore::uploadRunCount(strName), 1);
    QVERIFY(ProfileStore::loadProfile(strName, loaded, prompt));
    QCOMPARE(loaded.serverdst, QStringLiteral("/photo/O'Brien"));
    QCOMPARE(loaded.password, QStringLiteral("new'one"));

    ProfileSummary summary = ProfileStore::listProfiles().value(strName);
    QCOMPARE(summary.profname, strName);
    summary.profname = strRenamed;
    ProfileStore::updateConnectionSettings(strName, summary);
    QVERIFY(!ProfileStore::profileExists(strName) || strName.compare(strRenamed, Qt::CaseInsensitive) == 0);
    QCOMPARE(ProfileStore::shortcutProfileName(0), strRenamed);
    QVERIFY(TestFiles::readBytes(ProfileStore::shortcutListPath()).contains(TestFiles::utf16le(strRenamed + "\n")));

    addHistoryRow(strRenamed);
    ProfileStore::deleteProfile(strRenamed);
    QVERIFY(!ProfileStore::profileExists(strRenamed));
    QCOMPARE(historyRows(strRenamed), 0);
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()), TestFiles::utf16le(QStringLiteral("0\n")));
}

void TestProfileStore::saveOptionsAndCount()
{
    QVERIFY(ProfileStore::insertProfile(makeProfile(QStringLiteral("home"))));
    ScriptedPrompt prompt;
    ServerProfile profile;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("home"), profile, prompt));
    profile.idxonly = false;
    profile.incbackup = false;
    profile.daterename = false;
    profile.duphandler = QStringLiteral("OVERWRITE");
    profile.serverdst = QStringLiteral("/photo/2026");
    profile.hostaddr = QStringLiteral("not-saved");
    ProfileStore::saveUploadOptions(profile);
    ProfileStore::countUploadRun(QStringLiteral("home"));
    ProfileStore::countUploadRun(QStringLiteral("home"));
    ProfileStore::countUploadRun(QStringLiteral("HOME")); // exact name only

    const QSqlRecord row = storedRow(QStringLiteral("home"));
    QCOMPARE(row.value("idxonly").toInt(), 0);
    QCOMPARE(row.value("incbackup").toInt(), 0);
    QCOMPARE(row.value("daterename").toInt(), 0);
    QCOMPARE(row.value("duphandler").toString(), QStringLiteral("OVERWRITE"));
    QCOMPARE(row.value("serverdst").toString(), QStringLiteral("/photo/2026"));
    QCOMPARE(row.value("hostaddr").toString(), QStringLiteral("kestra.local"));
    QCOMPARE(row.value("counter").toInt(), 2);

    profile.profname = QStringLiteral("nobody");
    ProfileStore::saveUploadOptions(profile); // no row: nothing happens
    QCOMPARE(ProfileStore::listProfiles().size(), 1);
}

void TestProfileStore::updateAndRename()
{
    QVERIFY(ProfileStore::insertProfile(makeProfile(QStringLiteral("old"))));
    addHistoryRow(QStringLiteral("old"));

    ProfileSummary summary;
    summary.profname = QStringLiteral("new");
    summary.hostaddr = QStringLiteral("10.0.0.5");
    summary.port = 443;
    summary.https = true;
    summary.personal = true;
    summary.usrname = QString::fromUtf8("b\xc3\xa9" "a");
    summary.account = QStringLiteral("bea");
    summary.password = QStringLiteral("pw");
    summary.savepass = false;
    ProfileStore::updateConnectionSettings(QStringLiteral("old"), summary);

    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()), TestFiles::utf16le(QStringLiteral("1\nnew\n")));
    ScriptedPrompt prompt;
    ServerProfile profile;
    QVERIFY(ProfileStore::loadProfile(QStringLiteral("new"), profile, prompt));
    QCOMPARE(profile.baseUrl, QStringLiteral("https://10.0.0.5:443/~b%C3%A9a"));
    QVERIFY(!profile.savepass);
    QCOMPARE(profile.duphandler, QStringLiteral("RENAME"));
    // The history stays under the old name.
    QCOMPARE(historyRows(QStringLiteral("old")), 1);
    QCOMPARE(historyRows(QStringLiteral("new")), 0);
}

void TestProfileStore::deleteProfile()
{
    for (const char* pszName : {"keep", "gone", "quiet"})
        QVERIFY(ProfileStore::insertProfile(makeProfile(QLatin1String(pszName))));
    addHistoryRow(QStringLiteral("gone"));
    addHistoryRow(QStringLiteral("keep"));
    // Watched folders and the last batch: kept in order, moved by a rename, gone with the profile.
    const WatchStore::Settings watch{true, true, {QStringLiteral("/b/Fotos für Zoë"), QStringLiteral("/a/it's")}};
    QVERIFY(WatchStore::saveSettings(QStringLiteral("old"), watch));
    const QDateTime when = QDateTime::currentDateTimeUtc();
    QVERIFY(WatchStore::recordBatch(QStringLiteral("old"), {when, 3, 2, 1, QStringLiteral("stopped")}));
    QVERIFY(WatchStore::renameProfile(QStringLiteral("old"), QStringLiteral("gone")));
    QVERIFY(WatchStore::saveSettings(QStringLiteral("keep"), {false, false, {QStringLiteral("/k")}}));
    QCOMPARE(WatchStore::settings(QStringLiteral("gone")).folders, watch.folders);
    QVERIFY(WatchStore::settings(QStringLiteral("gone")).enabled && WatchStore::settings(QStringLiteral("gone")).notifyAlways);
    const WatchStore::Batch batch = WatchStore::lastBatch(QStringLiteral("gone"));
    QCOMPARE(batch.when, when);
    QVERIFY(batch.sent == 3 && batch.skipped == 2 && batch.failed == 1 && batch.error == QLatin1String("stopped"));
    QVERIFY(WatchStore::settings(QStringLiteral("old")).folders.isEmpty());

    ProfileStore::deleteProfile(QStringLiteral("gone"));
    QVERIFY(!ProfileStore::profileExists(QStringLiteral("gone")));
    QVERIFY(WatchStore::settings(QStringLiteral("gone")).folders.isEmpty());
    QVERIFY(!WatchStore::lastBatch(QStringLiteral("gone")).when.isValid());
    QCOMPARE(WatchStore::settings(QStringLiteral("keep")).folders, QStringList{QStringLiteral("/k")});
    QCOMPARE(historyRows(QStringLiteral("gone")), 0);
    QCOMPARE(historyRows(QStringLiteral("keep")), 1);
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()),
             TestFiles::utf16le(QStringLiteral("2\nquiet\nkeep\n")));

    // Without upload history too the list file follows at once.
    ProfileStore::deleteProfile(QStringLiteral("quiet"));
    QVERIFY(!ProfileStore::profileExists(QStringLiteral("quiet")));
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()), TestFiles::utf16le(QStringLiteral("1\nkeep\n")));
    ProfileStore::deleteProfile(QStringLiteral("KEEP")); // exact name only
    QVERIFY(ProfileStore::profileExists(QStringLiteral("keep")));
}

void TestProfileStore::setColumnRejectsUnknownNames()
{
    QVERIFY(ProfileStore::insertProfile(makeProfile(QStringLiteral("p"))));
    ProfileStore::setColumn(QStringLiteral("ServerProfiles"), QStringLiteral("p"), QStringLiteral("serverdst"),
                            QStringLiteral("/photo"));
    ProfileStore::setColumn(QStringLiteral("ServerProfiles"), QStringLiteral("p"),
                            QStringLiteral("serverdst\" = 'x', \"password"), QStringLiteral("hacked"));
    ProfileStore::setColumn(QStringLiteral("ServerProfiles; drop table ServerProfiles"), QStringLiteral("p"),
                            QStringLiteral("password"), QStringLiteral("hacked"));
    const QSqlRecord row = storedRow(QStringLiteral("p"));
    QCOMPARE(row.value("serverdst").toString(), QStringLiteral("/photo"));
    QCOMPARE(row.value("password").toString(), QStringLiteral("s3cret"));
}

void TestProfileStore::listProfiles()
{
    for (const char* pszName : {"b", "A", "a"})
        QVERIFY(ProfileStore::insertProfile(makeProfile(QLatin1String(pszName))));
    const QMap<QString, ProfileSummary> mapProfiles = ProfileStore::listProfiles();
    QCOMPARE(mapProfiles.keys(), QStringList({"A", "a", "b"}));
    const ProfileSummary summary = mapProfiles.value(QStringLiteral("a"));
    QCOMPARE(summary.port, 8080);
    QVERIFY(summary.https && summary.savepass && !summary.personal);
    QCOMPARE(summary.account, QStringLiteral("ann"));
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
