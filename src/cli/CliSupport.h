#pragma once

#include <QString>

#include <cstdio>

class QCommandLineParser;
class QJsonDocument;
class QNetworkAccessManager;
class StopSignals;
class TerminalPrompt;
class UploadRun;
struct ServerProfile;

// What every command of pictarium-cli shares: exit codes, output, the prompt, the profile and
// the login.
namespace Cli {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// The terminal's answers to the core's questions (passwords, certificates).
TerminalPrompt& prompt();

// Text from the file system, the database or the server, made safe to print.
QString safe(const QString& strText);
void out(const QString& strText);
// Prints a one-line message on standard error, control characters escaped.
int fail(const QString& strText, int iCode = ExitUsage);
// One line of JSON, DEL and C1 controls escaped too.
QString jsonLine(const QJsonDocument& document);
int cancelled();

// "The database cannot be used" with the reason the database gives (blWrite: a write is tried too).
QString databaseError(bool blWrite);

// ExitOk when logged in; otherwise the exit code, the reason printed. Ctrl-C, SIGTERM and
// SIGHUP end the wait.
int logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile, const QString& strFailure);
QString loginFailedText();
// The stored profile named strName, loaded; or an exit code, the reason printed.
int findProfile(const QString& strName, ServerProfile& profile);
// Profile name given, loaded, logged in; or an exit code.
int openProfile(const QString& strName, ServerProfile& profile, QNetworkAccessManager* pNam);

// The profile named by --profile with the upload options of the command line (--album,
// --duplicates, ...) applied; or an exit code, the reason printed.
int profileWithOptions(const QCommandLineParser& parser, ServerProfile& profile);
// Converts and sends the run's files, with a progress line on pProgress (none when null).
// Ctrl-C, SIGTERM, SIGHUP: stop like the wizard's Cancel; a second one ends the wait for a reply.
void transfer(UploadRun& run, StopSignals* pStop, FILE* pProgress);

// The servers the last discover listed, kept for add-profile in the data folder.
QString foundServersPath();

} // namespace Cli
