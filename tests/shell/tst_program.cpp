#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
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
    void unopenableDatabaseExitsOne();
    void germanCatalogueInstalled();
    void mode5StartsCameraImport();

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

void TestProgram::unopenableDatabaseExitsOne()
{
    TestEnvironment env;
    QVERIFY(TestFiles::writeBytes(dataFolder(env), "a file where the data folder belongs"));
    const ProgramRun run = runProgram({QStringLiteral("2"), QStringLiteral("0")}, env.processEnvironment());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.standardError.contains(QLatin1String("[critical] Error: Database error (")),
             qPrintable(run.standardError));
    QVERIFY(!QFile::exists(env.dataHome() + QLatin1String("/Velmora/ShortCutList")));
}

void TestProgram::germanCatalogueInstalled()
{
    TestEnvironment env;
    env.setUiLanguage(QStringLiteral("deu"));
    // Mode 8 with no profiles: the loader's box, in German.
    const ProgramRun run = runProgram({QStringLiteral("8"), QStringLiteral("0")}, env.processEnvironment());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.standardError.contains(QLatin1String("language=[deu]")) ||
                 run.standardError.contains(QLatin1String("[critical] Fehler")),
             qPrintable(run.standardError));
    QVERIFY2(run.standardError.contains(QLatin1String("[critical] Fehler: Datenbankfehler (")),
             qPrintable(run.standardError));
}

void TestProgram::mode5StartsCameraImport()
{
    TestEnvironment env;
    const QString strLog = env.root() + QLatin1String("/stderr.log");
    QProcess process;
    process.setProcessEnvironment(env.processEnvironment());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(strLog);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(PICTARIUM_UPLOADER_BIN), {QStringLiteral("5")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);

    // The detached child runs mode 6 and, with no profiles, opens the create-profile flow.
    QTRY_VERIFY_WITH_TIMEOUT(QString::fromLocal8Bit(TestFiles::readBytes(strLog)).contains(QLatin1String("flow create-profile mode=6")),
                             20000);
    const QString strLogText = QString::fromLocal8Bit(TestFiles::readBytes(strLog));
    QVERIFY(strLogText.contains(QLatin1String("run mode 5")));
    QVERIFY(strLogText.indexOf(QLatin1String("run mode 5")) < strLogText.indexOf(QLatin1String("run mode 6")));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
