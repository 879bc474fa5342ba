#include "AppIdentity.h"
#include "TestEnvironment.h"
#include "store/VelmDatabase.h"

#include <QDir>
#include <QSqlQuery>
#include <QtTest>

class TestDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void creationStatements();
    void firstAndLaterStart();
    void openFailsWhenFolderIsAFile();

private:
    static QString storedSql(const QString& strTable);
};

QString TestDatabase::storedSql(const QString& strTable)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name=?"));
    query.addBindValue(strTable);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

void TestDatabase::creationStatements()
{
    TestEnvironment env;
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    for (auto table : {VelmDatabase::ServerProfiles, VelmDatabase::PhotoRecords, VelmDatabase::PTPPhotoRecords})
        VelmDatabase::ensureTable(table);

    // SQLite keeps the statement text as executed.
    QCOMPARE(storedSql(QStringLiteral("ServerProfiles")),
             QStringLiteral("CREATE TABLE ServerProfiles (profname varchar(100), hostaddr varchar(20), port int, "
                            "https bool, personal bool, usrname varchar(100), account varchar(100), password "
                            "varchar(100), savepass bool, highqual bool, medqual bool, lowqual bool, mobilequal bool, "
                            "idxonly bool, incbackup bool, daterename bool,duphandler varchar(20), serverdst "
                            "varchar(200), counter int)"));
    QCOMPARE(storedSql(QStringLiteral("PhotoRecords")),
             QStringLiteral("CREATE TABLE PhotoRecords (name varchar(80), profname varchar(100), size int, modified "
                            "varchar(10), md5 varchar(32))"));
    QCOMPARE(storedSql(QStringLiteral("PTPPhotoRecords")),
             QStringLiteral("CREATE TABLE PTPPhotoRecords (name varchar(80), profname varchar(100), size "
                            "varchar(100), modified varchar(10), deviceid varchar(100))"));
    VelmDatabase::close();
}

void TestDatabase::firstAndLaterStart()
{
    TestEnvironment env;
    const QString strFile = AppIdentity::dataFilePath(QStringLiteral("VOZDatabase"));
    QVERIFY(strFile.endsWith(QLatin1String("/data//Velmora//Pictarium Uploader//VOZDatabase")));
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(!QFile::exists(strFile));

    QVERIFY(VelmDatabase::open());
    QVERIFY(QFile::exists(strFile));
    QVERIFY(!VelmDatabase::tableExists(VelmDatabase::ServerProfiles));
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    QVERIFY(VelmDatabase::tableExists(VelmDatabase::ServerProfiles));
    QVERIFY(!VelmDatabase::tableExists(VelmDatabase::PhotoRecords));
    QVERIFY(!VelmDatabase::tableExists(VelmDatabase::PTPPhotoRecords));
    QSqlQuery(VelmDatabase::database()).exec(QStringLiteral("insert into ServerProfiles (profname) values ('kept')"));
    VelmDatabase::close();

    QVERIFY(VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    QSqlQuery query(VelmDatabase::database());
    QVERIFY(query.exec(QStringLiteral("SELECT profname FROM ServerProfiles")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("kept"));
    QVERIFY(!query.next());
    VelmDatabase::close();
}

void TestDatabase::openFailsWhenFolderIsAFile()
{
    TestEnvironment env;
    QVERIFY(TestFiles::writeBytes(AppIdentity::dataFolder(), "not a folder"));
    QVERIFY(!AppIdentity::ensureDataFolder());
    QVERIFY(!VelmDatabase::open());
    QVERIFY(!VelmDatabase::lastErrorText().isEmpty());
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
