#pragma once

#include "TestEnvironment.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QVariant>

// Running the built pictarium-cli with a private data folder, and reading what it left.

// The built program; empty when the build has none.
QString cliProgram();

struct CliRun
{
    bool finished = false;
    int exitCode = -1; // -1 when it did not exit normally
    QString out;
    QString err;

    // The JSON object on the last non-empty line of standard output.
    QJsonObject json() const;
    QString describe() const;
};

// The test environment's folders, PICTARIUM_PASSWORD set to strPassword when not null.
QProcessEnvironment cliEnvironment(const TestEnvironment& env, const QString& strPassword = QString());
// Runs pictarium-cli (or, with lstWrapper, "wrapper... pictarium-cli ARGS") to its end (2 min).
CliRun runCli(const QProcessEnvironment& pe, const QStringList& lstArgs, const QStringList& lstWrapper = {});
CliRun runCli(const TestEnvironment& env, const QStringList& lstArgs, const QString& strPassword = QString());
// A wrapper for runCli that runs the program with strFolder bind-mounted read-only in a mount
// namespace of its own; empty when this system does not allow that.
QStringList readOnlyWrapper(const QString& strFolder);

QStringList lines(const QString& strText);
// A JSON array of texts.
QStringList toStrings(const QJsonValue& value);
// A report entry names the file, maybe with its album in front.
bool namesFile(const QString& strEntry, const QString& strName);
bool listNames(const QStringList& lstEntries, const QString& strName);
// Files below a folder, relative, sorted; hidden ones left out except the rendition folders,
// which are listed only with blRenditions.
QStringList filesBelow(const QString& strDir, bool blRenditions);
QStringList entriesOf(const QString& strDir);

QString dataFolder(const TestEnvironment& env);
// Runs one statement on the program's database in a connection of its own.
QList<QVariantList> queryDatabase(const TestEnvironment& env, const QString& strSql, const QVariantList& lstBind = {});
// Names in PhotoRecords for a profile, in row order.
QStringList historyNames(const TestEnvironment& env, const QString& strProfile);
// A 2-second 320x240 H.264/AAC clip made by ffmpeg.
bool makeVideo(const QString& strPath);
