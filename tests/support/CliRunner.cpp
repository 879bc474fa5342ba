#include "CliRunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kCli =
#ifdef PICTARIUM_CLI_BIN
    QStringLiteral(PICTARIUM_CLI_BIN);
#else
    QString();
#endif

const int kRunTimeoutMs = 120000;

} // namespace

QString cliProgram()
{
    return kCli;
}

QJsonObject CliRun::json() const
{
    const QStringList lstLines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lstLines.isEmpty())
        return QJsonObject();
    return QJsonDocument::fromJson(lstLines.last().toUtf8()).object();
}

QString CliRun::describe() const
{
    return QStringLiteral("exit %1\n--- stdout:\n%2\n--- stderr:\n%3").arg(exitCode).arg(out, err);
}

QProcessEnvironment cliEnvironment(const TestEnvironment& env, const QString& strPassword)
{
    QProcessEnvironment pe = env.processEnvironment();
    pe.remove(QStringLiteral("PICTARIUM_PASSWORD"));
    if (!strPassword.isNull())
        pe.insert(QStringLiteral("PICTARIUM_PASSWORD"), strPassword);
    return pe;
}

CliRun runCli(const QProcessEnvironment& pe, const QStringList& lstArgs, const QStringList& lstWrapper)
{
    CliRun run;
    QProcess process;
    process.setProcessEnvironment(pe);
    process.setStandardInputFile(QProcess::nullDevice());
    if (lstWrapper.isEmpty())
        process.start(kCli, lstArgs);
    else
        process.start(lstWrapper.first(), lstWrapper.mid(1) + QStringList{kCli} + lstArgs);
    if (!process.waitForStarted(10000)) {
        run.err = process.errorString();
        return run;
    }
    run.finished = process.waitForFinished(kRunTimeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

CliRun runCli(const TestEnvironment& env, const QStringList& lstArgs, const QString& strPassword)
{
    return runCli(cliEnvironment(env, strPassword), lstArgs);
}

QStringList readOnlyWrapper(const QString& strFolder)
{
    const QString strScript =
        QStringLiteral("mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro \"$0\" && exec \"$@\"");
    // As root a mount namespace is enough; otherwise a user namespace may allow it.
    for (const QStringList& lstUnshare : {QStringList{"-m"}, QStringList{"-r", "-m"}}) {
        const QStringList lstWrapper =
            QStringList{"unshare"} + lstUnshare + QStringList{"sh", "-c", strScript, strFolder};
        QProcess probe;
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start(lstWrapper.first(), lstWrapper.mid(1) + QStringList{"test", "!", "-w", strFolder});
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return lstWrapper;
    }
    return {};
}

QStringList lines(const QString& strText)
{
    return strText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList toStrings(const QJsonValue& value)
{
    QStringList lstItems;
    for (const QJsonValue& item : value.toArray())
        lstItems.append(item.toString());
    return lstItems;
}

// A report entry names the file, maybe with its album in front.
bool namesFile(const QString& strEntry, const QString& strName)
{
    return strEntry == strName || strEntry.endsWith(QLatin1Char('/') + strName);
}

bool listNames(const QStringList& lstEntries, const QString& strName)
{
    for (const QString& strEntry : lstEntries) {
        if (namesFile(strEntry, strName))
            return true;
    }
    return false;
}

// Files below a folder, relative, sorted; with or without the rendition folders.
QStringList filesBelow(const QString& strDir, bool blRenditions)
{
    QStringList lstFiles;
    QDirIterator it(strDir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString strRelative = QDir(strDir).relativeFilePath(it.next());
        if (strRelative.startsWith(QLatin1Char('.')) && !strRelative.startsWith(QLatin1String(".renditions/")))
            continue;
        if (!blRenditions && strRelative.contains(QLatin1String(".renditions/")))
            continue;
        lstFiles.append(strRelative);
    }
    lstFiles.sort();
    return lstFiles;
}

QStringList entriesOf(const QString& strDir)
{
    QStringList lstNames = QDir(strDir).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    lstNames.sort();
    return lstNames;
}

QString dataFolder(const TestEnvironment& env)
{
    return env.dataHome() + QLatin1String("/Velmora/Pictarium Uploader");
}

// Runs one statement on the program's database in a connection of its own.
QList<QVariantList> queryDatabase(const TestEnvironment& env, const QString& strSql, const QVariantList& lstBind)
{
    QList<QVariantList> lstRows;
    const QString strConnection = QStringLiteral("tst_cli_check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), strConnection);
        db.setDatabaseName(dataFolder(env) + QLatin1String("/VOZDatabase"));
        if (db.open()) {
            QSqlQuery query(db);
            query.prepare(strSql);
            for (const QVariant& value : lstBind)
                query.addBindValue(value);
            if (query.exec()) {
                while (query.next()) {
                    QVariantList lstRow;
                    for (int i = 0; i < query.record().count(); ++i)
                        lstRow.append(query.value(i));
                    lstRows.append(lstRow);
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(strConnection);
    return lstRows;
}

QStringList historyNames(const TestEnvironment& env, const QString& strProfile)
{
    QStringList lstNames;
    for (const QVariantList& row :
         queryDatabase(env, QStringLiteral("SELECT name FROM PhotoRecords WHERE profname = ?"), {strProfile}))
        lstNames.append(row.value(0).toString());
    return lstNames;
}

bool makeVideo(const QString& strPath)
{
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2",
                  "-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:v", "libx264", "-c:a", "aac", "-shortest",
                  strPath});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg: %s", ffmpeg.readAll().constData());
        return false;
    }
    return true;
}

