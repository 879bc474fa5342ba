#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// Runs the built program with a private data folder, answering boxes unattended.
class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStartCreatesDatabase();
    void mode12RewritesShortcutList();
    void databaseFailures_data();
    void databaseFailures();
    void privateDataFolder_data();
    void privateDataFolder();
    void germanCatalogueInstalled();

private:
    static QString dataFolder(const TestEnvironment& env)
    {
        return env.dataHome() + QLatin1String("/Velmora/Pictarium Uploader");
    }
};

void TestProgram::firstStartCreatesDatabase()
{
    TestEnvironment env;
    QVERIFY(!QDir(dataFolder(env)).exists());
    const ProgramRun run = runProgram({QStringLiteral("12")}, env.processEnvironment());
    QVERIFY2(run.finished, qPrintable(run.standardError));
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QFile::exists(dataFolder(env) + QLatin1String("/VOZDatabase")));

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(dataFolder(env) + QLatin1String("/VOZDatabase"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")));
        QStringList lstTables;
        while (query.next())
            lstTables.append(query.value(0).toString());
        QCOMPARE(lstTables, QStringList{QStringLiteral("ServerProfiles")});
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
}

void TestProgram::mode12RewritesShortcutList()
{
    TestEnvironment env;
    QVERIFY(runProgram({QStringLiteral("12")}, env.processEnvironment()).finished);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(dataFolder(env) + QLatin1String("/VOZDatabase"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const char* pszName : {"alpha", "Beta", "zeta"})
            QVERIFY(query.exec(QStringLiteral("insert into ServerProfiles (profname) values ('%1')").arg(pszName)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    const QString strList = dataFolder(env) + QLatin1String("/ShortCutList");
    QVERIFY(TestFiles::writeBytes(strList, "stale"));

    const ProgramRun run = runProgram({QStringLiteral("12"), QStringLiteral("3")}, env.processEnvironment());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(!run.standardError.contains(QLatin1String("[critical]")), qPrintable(run.standardError));
    QCOMPARE(TestFiles::readBytes(strList), TestFiles::utf16le(QStringLiteral("3\nzeta\nalpha\nBeta\n")));
}

void TestProgram::databaseFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("detail"); // in the error text
    QTest::newRow("data folder is a file") << QStringLiteral("folder") << QString();
    QTest::newRow("not a database") << QStringLiteral("corrupt") << QStringLiteral("file is not a database");
    QTest::newRow("locked by another process") << QStringLiteral("locked") << QStringLiteral("locked");
}

void TestProgram::databaseFailures()
{
    QFETCH(QString, failure);
    QFETCH(QString, detail);
    TestEnvironment env;
    const QString strDatabase = dataFolder(env) + QLatin1String("/VOZDatabase");
    QSqlDatabase locker;
    if (failure == QLatin1String("folder")) {
        QVERIFY(TestFiles::writeBytes(dataFolder(env), "a file where the data folder belongs"));
    } else if (failure == QLatin1String("corrupt")) {
        QVERIFY(TestFiles::writeBytes(strDatabase, QByteArray(4096, 'x')));
    } else {
        QVERIFY(runProgram({QStringLiteral("12")}, env.processEnvironment()).finished);
        locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(strDatabase);
        QVERIFY(locker.open());
        QVERIFY(QSqlQuery(locker).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    // The error is shown and the program ends with 1; nothing is done with a database it
    // cannot read (before, a broken file ran on with no profiles at all and ended with 0).
    const ProgramRun run = runProgram({QStringLiteral("2"), QStringLiteral("0")}, env.processEnvironment());
    if (locker.isOpen()) {
        locker.close();
        locker = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.standardError.contains(QLatin1String("[critical] Error: Database error (")),
             qPrintable(run.standardError));
    QVERIFY2(run.standardError.contains(detail), qPrintable(run.standardError));
    QVERIFY(!run.standardError.contains(QLatin1String("flow upload")));
}

void TestProgram::privateDataFolder_data()
{
    QTest::addColumn<bool>("loose"); // made by an earlier version, readable by everyone
    QTest::newRow("first start") << false;
    QTest::newRow("existing, readable by others") << true;
}

void TestProgram::privateDataFolder()
{
    QFETCH(bool, loose);
    TestEnvironment env;
    const QString strDatabase = dataFolder(env) + QLatin1String("/VOZDatabase");
    if (loose) {
        QVERIFY(runProgram({QStringLiteral("12")}, env.processEnvironment()).finished);
        QVERIFY(QFile::setPermissions(dataFolder(env), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                           QFile::ExeOther));
        QVERIFY(QFile::setPermissions(strDatabase, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                       QFile::ReadOther));
    }
    QVERIFY(runProgram({QStringLiteral("12")}, env.processEnvironment()).finished);
    // The database holds remembered passwords: only this user may read it.
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QCOMPARE(QFileInfo(dataFolder(env)).permissions(), owner | QFile::ExeOwner | QFile::ExeUser);
    QCOMPARE(QFileInfo(strDatabase).permissions(), owner);
}

void TestProgram::germanCatalogueInstalled()
{
    TestEnvironment env;
    env.setUiLanguage(QStringLiteral("deu"));
    // Mode 8 with no profiles: no profile for the menu entry, said in German.
    const ProgramRun run = runProgram({QStringLiteral("8"), QStringLiteral("0")}, env.processEnvironment());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.standardError.contains(QStringLiteral("[warning] Fehler: Zu diesem Menüeintrag gehört kein Profil "
                                                      "(Profilnummer 0)")),
             qPrintable(run.standardError));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
