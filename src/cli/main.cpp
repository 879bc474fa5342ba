// pictarium-cli: profiles, albums and uploads from a terminal, over the same core as the
// upload wizard.

#include "AppIdentity.h"
#include "StopSignals.h"
#include "TerminalPrompt.h"
#include "VelmLocale.h"
#include "findhost/FindHostUtils.h"
#include "upload/FileConverter.h"
#include "upload/FileUploader.h"
#include "TempFiles.h"
#include "upload/UploadPlan.h"
#include "upload/UploadQueue.h"
#include "protocol/CertificateTrust.h"
#include "protocol/SecurityConfirm.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "protocol/UploadInitRequest.h"
#include "store/CertificatePins.h"
#include "store/ProfileRunLock.h"
#include "store/ProfileStore.h"
#include "store/UploadHistory.h"
#include "store/VelmDatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QHash>
#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTranslator>

#include <climits>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

TerminalPrompt s_prompt;

// Text from the file system, the database or the server, made safe to print.
QString safe(const QString& strText)
{
    return TerminalPrompt::safeText(strText);
}

void out(const QString& strText)
{
    std::fprintf(stdout, "%s\n", strText.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Prints a one-line message on standard error, control characters escaped.
int fail(const QString& strText, int iCode = ExitUsage)
{
    std::fprintf(stderr, "%s\n", safe(strText).toLocal8Bit().constData());
    std::fflush(stderr);
    return iCode;
}

// One line of JSON. The writer escapes C0 controls only: DEL and C1 controls are escaped here,
// so that the document stays plain and a terminal showing it is not steered.
QString jsonLine(const QJsonDocument& document)
{
    const QString strJson = QString::fromUtf8(document.toJson(QJsonDocument::Compact));
    QString strSafe;
    strSafe.reserve(strJson.size());
    for (const QChar c : strJson) {
        if (c.unicode() >= 0x7f && c.unicode() <= 0x9f)
            strSafe += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            strSafe += c;
    }
    return strSafe;
}

struct OptionInfo
{
    const char* pszName;
    const char* pszValue; // nullptr for a flag
    const char* pszHelp;
};

const OptionInfo s_options[] = {
    {"name", "N", "Name of the new profile: at most 100 characters, no control characters."},
    {"host", "H", "Host name or IPv4 address of the server, or a server name that discover listed."},
    {"port", "P", "Port of the server, 1 to 65535."},
    {"https", nullptr, "Connect with HTTPS."},
    {"account", "A", "Account to log in with."},
    {"personal", "OWNER", "Upload to the personal albums of the account OWNER."},
    {"remember-password", nullptr, "Test the login now and store the password with the profile."},
    {"profile", "N", "The profile to use."},
    {"album", "PATH", "Album to upload to, /photo or below (default: the profile's last album, else /photo)."},
    {"duplicates", "POLICY", "When the album holds a file of the same name: overwrite, rename or skip."},
    {"all-files", nullptr, "Upload every file, not only photos and videos."},
    {"no-skip-uploaded", nullptr, "Send again the files this profile has uploaded before."},
    {"no-date-rename", nullptr, "Keep the file names (by default photos and videos are named by capture time)."},
    {"flatten", nullptr, "Put the files of folders into the album itself, without an album per folder."},
    {"video-quality", "LIST", "Video copies to make, separated by commas: high, medium, low, mobile."},
    {"dry-run", nullptr, "Print what would be sent, skipped and left out; nothing is sent or stored."},
    {"json", nullptr, "Print the result as one line of JSON on standard output."},
    {"password-fd", "FD", "Read the password from the open file descriptor FD."},
    {"seconds", "N", "How long to wait for answers, 1 to 600 seconds (default 6)."},
    {"fingerprint", "HEX",
     "Trust the server's certificate with this SHA-256 fingerprint of its public key (64 hex digits, colons\n"
     "allowed) before the first connection."},
    {"yes", nullptr, "Trust the certificate without asking."},
};

struct CommandInfo
{
    const char* pszName;
    const char* pszSummary;
    const char* pszSynopsis; // what follows the command name
    const char* pszOptions;  // option names, separated by blanks
    const char* pszArgument; // positional argument after the command, or nullptr
    const char* pszArgumentSyntax;
    const char* pszArgumentHelp;
    const char* pszNotes; // more about the command, or nullptr
};

const char* const s_passwordNote =
    "A password the profile does not remember comes from PICTARIUM_PASSWORD, from --password-fd FD,\n"
    "or is asked on the terminal.";

const CommandInfo s_commands[] = {
    {"profiles", "List the stored upload profiles: name, server address and account.", "[--json]", "json", nullptr,
     nullptr, nullptr, nullptr},
    {"discover", "Search the local network for servers and list them.", "[--seconds N] [--json]", "seconds json",
     nullptr, nullptr, nullptr,
     "Warning: this broadcasts a query on every network the computer is connected to; run it only\n"
     "where that is allowed. Each server that answers within N seconds is listed with its address,\n"
     "HTTP port, status, and 'offered' or why it is not (not ready, not supported, not reachable).\n"
     "The list is kept for add-profile --host NAME. Exit status 1 when no server answered."},
    {"add-profile", "Store a new upload profile.",
     "--name N --host H --port P [--https [--fingerprint HEX]] --account A [--personal OWNER]\n"
     "         [--remember-password]",
     "name host port https fingerprint account personal remember-password password-fd", nullptr, nullptr, nullptr,
     "With --remember-password the login is tested first, and the profile is stored only when it succeeds.\n"
     "A server name that discover listed last stands for that server's address, and for its HTTP port\n"
     "when --port is left out; no query is sent and no name is looked up for it."},
    {"remove-profile", "Remove a profile and its upload history.", "NAME", "", "NAME", "NAME", "The profile to remove.",
     nullptr},
    {"trust", "Show the certificate an HTTPS server shows now, and trust it.", "--profile N [--yes]", "profile yes",
     nullptr, nullptr, nullptr,
     "The first HTTPS connection to a server trusts its certificate. When the server later shows another\n"
     "one, nothing is sent to it until that one is trusted here (after a yes on the terminal, or with --yes).\n"
     "Compare the fingerprint with the one the server's administration pages show."},
    {"albums", "List the albums the profile's account may upload to.", "--profile N", "profile password-fd", nullptr,
     nullptr, nullptr, nullptr},
    {"upload", "Upload files and folders to an album.",
     "--profile N [--album /photo/...] [--duplicates overwrite|rename|skip] [--all-files]\n"
     "         [--no-skip-uploaded] [--no-date-rename] [--flatten] [--video-quality LIST] [--dry-run] [--json] PATH...",
     "profile album duplicates all-files no-skip-uploaded no-date-rename flatten video-quality dry-run json "
     "password-fd",
     "PATH", "PATH...", "Files and folders to upload; a folder with everything in it.",
     "With --dry-run the plan is printed (each file with the album and the name it would be stored under,\n"
     "what is skipped as uploaded before, what is left out and why) without logging in: the server is not\n"
     "asked, so files it would refuse or already holds are not known. Nothing is sent or stored."},
};

const CommandInfo* findCommand(const QString& strName)
{
    for (const CommandInfo& command : s_commands) {
        if (strName == QLatin1String(command.pszName))
            return &command;
    }
    return nullptr;
}

QCommandLineOption makeOption(const OptionInfo& option)
{
    return option.pszValue ? QCommandLineOption(QLatin1String(option.pszName), QLatin1String(option.pszHelp),
                                                QLatin1String(option.pszValue))
                           : QCommandLineOption(QLatin1String(option.pszName), QLatin1String(option.pszHelp));
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("Show this help; after a command, the help of that command."));
}

QCommandLineOption versionOption()
{
    return QCommandLineOption(QStringLiteral("version"), QStringLiteral("Show the program's name and version."));
}

// A parser that knows one command: its options and arguments, for parsing and for its help.
void defineCommand(QCommandLineParser& parser, const CommandInfo& command)
{
    QString strDescription = QLatin1String(command.pszSummary);
    if (command.pszNotes)
        strDescription += QLatin1Char('\n') + QLatin1String(command.pszNotes);
    if (QByteArray(command.pszOptions).contains("password-fd"))
        strDescription += QLatin1Char('\n') + QLatin1String(s_passwordNote);
    parser.setApplicationDescription(strDescription);
    for (const QString& strName : QString::fromLatin1(command.pszOptions).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const OptionInfo& option : s_options) {
            if (strName == QLatin1String(option.pszName))
                parser.addOption(makeOption(option));
        }
    }
    parser.addOption(helpOption());
    if (command.pszArgument)
        parser.addPositionalArgument(QLatin1String(command.pszArgument), QLatin1String(command.pszArgumentHelp),
                                     QLatin1String(command.pszArgumentSyntax));
}

// The parser's help, its usage line naming the program as typed at a prompt, and the command.
QString helpText(const QCommandLineParser& parser, const QString& strCommand = QString())
{
    QString strText = parser.helpText();
    const QString strProgram = QStringLiteral("Usage: ") + QCoreApplication::arguments().value(0);
    if (strText.startsWith(strProgram)) {
        strText.replace(0, strProgram.size(),
                        QStringLiteral("Usage: pictarium-cli") +
                            (strCommand.isEmpty() ? QString() : QLatin1Char(' ') + strCommand));
    }
    return strText;
}

QString synopsis()
{
    QString strText = QStringLiteral("Usage: pictarium-cli COMMAND [OPTIONS]\n");
    for (const CommandInfo& command : s_commands)
        strText += QStringLiteral("  %1 %2\n").arg(QLatin1String(command.pszName), QLatin1String(command.pszSynopsis));
    return strText;
}

QString programHelp()
{
    QCommandLineParser parser;
    QString strDescription = QStringLiteral("Profiles, albums and uploads from a terminal, with the same profiles and "
                                            "database as the desktop program.\n\nCommands:\n");
    for (const CommandInfo& command : s_commands)
        strDescription +=
            QStringLiteral("  %1%2\n").arg(QLatin1String(command.pszName), -16).arg(QLatin1String(command.pszSummary));
    strDescription += QLatin1Char('\n') + synopsis().section(QLatin1Char('\n'), 1);
    parser.setApplicationDescription(strDescription.trimmed());
    parser.addOption(helpOption());
    parser.addOption(versionOption());
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("One of the commands above; 'pictarium-cli COMMAND --help' describes it."),
        QStringLiteral("COMMAND"));
    return helpText(parser) + QLatin1Char('\n') + QLatin1String(s_passwordNote) + QLatin1Char('\n');
}

int usage(const QString& strProblem = QString())
{
    if (!strProblem.isEmpty())
        fail(strProblem);
    std::fprintf(stderr, "%s%s\n", synopsis().toLocal8Bit().constData(),
                 "'pictarium-cli --help' and 'pictarium-cli COMMAND --help' tell more.");
    return ExitUsage;
}

// Why the database refuses, as far as it tells: the open error, else a read of the profile
// table, else (blWrite) a write to it that changes no row.
QString databaseReason(bool blWrite)
{
    QString strReason = VelmDatabase::lastErrorText().trimmed();
    QSqlQuery query(VelmDatabase::database());
    if (strReason.isEmpty() && !query.exec(QStringLiteral("SELECT count(*) FROM ServerProfiles")))
        strReason = query.lastError().text().trimmed();
    if (strReason.isEmpty() && blWrite &&
        !query.exec(QStringLiteral("UPDATE ServerProfiles SET profname = profname WHERE 0")))
        strReason = query.lastError().text().trimmed();
    return strReason.isEmpty() ? QStringLiteral("no reason given") : strReason;
}

QString databaseError(bool blWrite)
{
    return VelmLocale::message("err_database").arg(databaseReason(blWrite));
}

int cancelled()
{
    return fail(QStringLiteral("Cancelled."), ExitFailed);
}

// ExitOk when logged in; otherwise the exit code, the reason printed. Ctrl-C, SIGTERM and
// SIGHUP end the wait.
int logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile, const QString& strFailure)
{
    switch (SecurityConfirm::logInAndWait(&s_prompt, pNam, pProfile, StopSignals::install())) {
    case SecurityConfirm::Outcome::Succeeded:
        return ExitOk;
    case SecurityConfirm::Outcome::NoPassword:
        return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
    case SecurityConfirm::Outcome::Cancelled:
        return cancelled();
    case SecurityConfirm::Outcome::CertificateRefused:
        // The prompt has told which certificates.
        return fail(pProfile->profname.isEmpty() || !ProfileStore::profileExists(pProfile->profname)
                        ? QStringLiteral("Nothing was sent. Give the new fingerprint with --fingerprint to trust it.")
                        : QStringLiteral("Nothing was sent. To trust the new certificate: pictarium-cli trust "
                                         "--profile '%1'")
                              .arg(pProfile->profname));
    case SecurityConfirm::Outcome::Failed:
        break;
    }
    return fail(strFailure);
}

const QString s_loginFailed = QStringLiteral("Login failed. Check the profile's server and account, and the password.");

// The stored profile named strName, loaded; or an exit code, the reason printed.
int findProfile(const QString& strName, ServerProfile& profile)
{
    if (strName.isEmpty())
        return usage(QStringLiteral("Name a profile with --profile."));
    bool blRead = false;
    const QStringList lstNames = ProfileStore::shortcutOrder(&blRead);
    if (!blRead)
        return fail(databaseError(false));
    if (!lstNames.contains(strName))
        return fail(QStringLiteral("No profile named [%1]. 'pictarium-cli profiles' lists them.").arg(strName));
    if (!ProfileStore::loadProfile(strName, profile, s_prompt))
        return ExitUsage;
    return ExitOk;
}

// Profile name given, loaded, logged in; or an exit code.
int openProfile(const QString& strName, ServerProfile& profile, QNetworkAccessManager* pNam)
{
    if (const int iCode = findProfile(strName, profile))
        return iCode;
    return logIn(pNam, &profile, s_loginFailed);
}

int listProfiles(bool blJson)
{
    bool blRead = false;
    const QMap<QString, ProfileSummary> mapProfiles = ProfileStore::listProfiles(&blRead);
    if (!blRead)
        return fail(databaseError(false));
    QJsonArray array;
    for (const ProfileSummary& profile : mapProfiles) {
        const QString strUrl = QStringLiteral("%1://%2:%3")
                                   .arg(profile.https ? QStringLiteral("https") : QStringLiteral("http"),
                                        profile.hostaddr, QString::number(profile.port));
        if (!blJson)
            out(safe(profile.profname) + QLatin1Char('\t') + safe(strUrl) + QLatin1Char('\t') + safe(profile.account));
        array.append(QJsonObject{{"name", profile.profname},      {"host", profile.hostaddr},
                                 {"port", profile.port},          {"https", profile.https},
                                 {"account", profile.account},    {"personal", profile.personal},
                                 {"owner", profile.usrname},      {"remember_password", profile.savepass}});
    }
    if (blJson)
        out(jsonLine(QJsonDocument(array)));
    return ExitOk;
}

// A host name or IPv4 address as written: dot-separated labels of letters, digits and
// hyphens. Anything else is refused before a name lookup is ever made.
bool isHostSyntax(const QString& strHost)
{
    static const QRegularExpression s_label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (strHost.isEmpty() || strHost.size() > 253)
        return false;
    const QStringList lstLabels = strHost.split(QLatin1Char('.'));
    for (const QString& strLabel : lstLabels) {
        if (!s_label.match(strLabel).hasMatch())
            return false;
    }
    return true;
}

// The text without the blanks around it; other white space (tabs, line breaks) stays.
QString withoutBlanks(const QString& strText)
{
    qsizetype iStart = 0;
    qsizetype iEnd = strText.size();
    while (iStart < iEnd && strText.at(iStart) == QLatin1Char(' '))
        ++iStart;
    while (iEnd > iStart && strText.at(iEnd - 1) == QLatin1Char(' '))
        --iEnd;
    return strText.mid(iStart, iEnd - iStart);
}

// The servers the last discover listed, kept for add-profile in the data folder.
QString foundServersPath()
{
    return AppIdentity::dataFilePath(QStringLiteral("found-servers.json"));
}

// A fixed-size text field of a found server, up to its terminator.
QString fieldText(const char* pszField, size_t iSize, bool blUtf8)
{
    const int iLength = int(qstrnlen(pszField, uint(iSize)));
    return blUtf8 ? QString::fromUtf8(pszField, iLength) : QString::fromLatin1(pszField, iLength);
}

// Why a found server is not offered; empty when it is.
QString notOfferedReason(const NASINFO& info)
{
    if (info.status != fhost::StatusDone && info.status != fhost::StatusTestFailed)
        return QStringLiteral("not ready");
    if (!FoundServers::isSupported(&info))
        return QStringLiteral("not supported");
    if (info.status == fhost::StatusTestFailed)
        return QStringLiteral("not reachable");
    return QString();
}

// One search round of iSeconds; Ctrl-C, SIGTERM and SIGHUP end it early.
int discover(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    int iSeconds = 6;
    if (parser.isSet(QStringLiteral("seconds"))) {
        bool blNumber = false;
        iSeconds = parser.value(QStringLiteral("seconds")).toInt(&blNumber);
        if (!blNumber || iSeconds < 1 || iSeconds > 600)
            return usage(QStringLiteral("--seconds takes a whole number from 1 to 600."));
    }
    std::fprintf(stderr, "Searching the local network for servers (%d s)...\n", iSeconds);
    std::fflush(stderr);
    FoundServerList list;
    StopSignals* pStop = StopSignals::install();
    {
        FindHostUtils finder(pNam, &list, iSeconds, nullptr);
        QEventLoop loop;
        QObject::connect(&finder, &FindHostUtils::signalFindNasFinished, &loop, &QEventLoop::quit);
        QObject::connect(pStop, &StopSignals::signalStop, &loop, &QEventLoop::quit);
        finder.refresh();
        if (pStop->count() == 0)
            loop.exec();
        QObject::disconnect(pStop, nullptr, &loop, nullptr);
    }
    if (pStop->count() > 0)
        return cancelled();

    QJsonArray array;
    QJsonArray kept;
    for (const auto& entry : list) {
        const NASINFO& info = *entry.second;
        const QString strName = fieldText(info.serverName, sizeof(info.serverName), true);
        const QString strMac = fieldText(info.macAddress, sizeof(info.macAddress), false);
        const QString strAddress = FoundServers::dotted(info.ipAddress);
        const int iPort = FoundServers::httpPort(info);
        QString strStatus = FoundServers::statusWord(info.status);
        if (strStatus.isEmpty())
            strStatus = QString::number(info.status);
        const QString strReason = notOfferedReason(info);
        array.append(QJsonObject{{"name", strName},
                                 {"address", strAddress},
                                 {"mac", strMac},
                                 {"http_port", iPort},
                                 {"status", strStatus},
                                 {"build", info.buildNumber},
                                 {"reachable", info.reachable == 1},
                                 {"offered", strReason.isEmpty()},
                                 {"reason", strReason}});
        kept.append(QJsonObject{{"name", strName}, {"address", strAddress}, {"http_port", iPort}, {"mac", strMac}});
        if (!parser.isSet(QStringLiteral("json")))
            out(QStringList{safe(strName), strAddress, QString::number(iPort), safe(strStatus),
                            strReason.isEmpty() ? QStringLiteral("offered") : strReason}
                    .join(QLatin1Char('\t')));
    }
    if (parser.isSet(QStringLiteral("json")))
        out(jsonLine(QJsonDocument(array)));

    // The last search replaces what an earlier one kept.
    QSaveFile file(foundServersPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(kept).toJson()) < 0 || !file.commit())
        fail(QStringLiteral("The list was not kept for add-profile --host: %1").arg(file.errorString()), ExitFailed);
    if (list.empty())
        return fail(QStringLiteral("No server answered within %1 s. Check that the server is on and on the same "
                                   "network, and that no firewall blocks UDP port %2.")
                        .arg(iSeconds)
                        .arg(fhost::kDiscoveryPort),
                    ExitFailed);
    return ExitOk;
}

// The server named strName (without regard to case) in the list discover kept: its dotted address
// and HTTP port. Only the file is read: nothing is sent and no name is looked up.
bool keptServer(const QString& strName, QString* pstrAddress, int* piPort)
{
    QFile file(foundServersPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonArray array = QJsonDocument::fromJson(file.read(1 << 20)).array();
    for (const QJsonValue& value : array) {
        const QJsonObject server = value.toObject();
        quint32 iAddress = 0;
        const QString strAddress = server.value(QLatin1String("address")).toString();
        if (server.value(QLatin1String("name")).toString().compare(strName, Qt::CaseInsensitive) != 0 ||
            !HostAddress::parseIPv4(strAddress, &iAddress) || iAddress == 0)
            continue;
        *pstrAddress = strAddress;
        *piPort = server.value(QLatin1String("http_port")).toInt();
        return true;
    }
    return false;
}

int addProfile(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    // A tab or line break around the name is refused with the name, not trimmed away.
    const QString strName = withoutBlanks(parser.value(QStringLiteral("name")));
    QString strHost = parser.value(QStringLiteral("host")).trimmed();
    const QString strAccount = parser.value(QStringLiteral("account")).trimmed();
    const QString strOwner = parser.value(QStringLiteral("personal")).trimmed();
    const bool blPersonal = parser.isSet(QStringLiteral("personal"));
    bool blPort = false;
    int iPort = parser.value(QStringLiteral("port")).toInt(&blPort);
    // A server name that discover listed stands for its address, and its port when --port is left out.
    const QString strServer = strHost;
    quint32 iLiteral = 0;
    int iKeptPort = 0;
    const bool blKept = !strHost.isEmpty() && !(HostAddress::parseIPv4(strHost, &iLiteral) && iLiteral != 0) &&
                        keptServer(strServer, &strHost, &iKeptPort);
    if (blKept && !parser.isSet(QStringLiteral("port"))) {
        iPort = iKeptPort;
        blPort = true;
    }

    if (strName.isEmpty())
        return fail(VelmLocale::message("err_profname_empty") + QLatin1String(" (--name)"));
    const QString strNameProblem = ProfileStore::profileNameProblem(strName);
    if (!strNameProblem.isEmpty())
        return fail(strNameProblem + QLatin1String(" (--name)"));
    bool blRead = false;
    ProfileStore::shortcutOrder(&blRead);
    if (!blRead)
        return fail(QStringLiteral("The profile was not added: ") + databaseError(false));
    if (!blPort || iPort < 1 || iPort > 65535)
        return fail(VelmLocale::message("err_bad_port") + QLatin1String(" (--port)"));
    if (!blKept && (!isHostSyntax(strHost) || QHostInfo::fromName(strHost).addresses().isEmpty()))
        return fail(VelmLocale::message("err_host_addr") + QLatin1String(" (--host)"));
    if (ProfileStore::profileExists(strName))
        return fail(VelmLocale::message("err_profname_duplicate").arg(strName) +
                    QLatin1String(" Choose another --name."));
    if (strAccount.isEmpty())
        return fail(VelmLocale::message("err_usrname_empty") + QLatin1String(" (--account)"));
    if (blPersonal && strOwner.isEmpty())
        return fail(VelmLocale::message("err_personal_empty") + QLatin1String(" (--personal OWNER)"));

    const bool blHttps = parser.isSet(QStringLiteral("https"));
    const QByteArray baFingerprint = CertificatePins::parseFingerprint(parser.value(QStringLiteral("fingerprint")));
    if (parser.isSet(QStringLiteral("fingerprint")) && !blHttps)
        return fail(QStringLiteral("--fingerprint is for servers reached with --https."));
    if (parser.isSet(QStringLiteral("fingerprint")) && baFingerprint.isEmpty())
        return fail(QStringLiteral("The fingerprint must be 64 hexadecimal digits, colons allowed (--fingerprint)."));
    // Trusted before the first connection, the login test included.
    if (!baFingerprint.isEmpty() && !CertificatePins::setPin(strHost, iPort, baFingerprint))
        return fail(QStringLiteral("The fingerprint was not stored: ") + databaseError(true), ExitFailed);

    const bool blRemember = parser.isSet(QStringLiteral("remember-password"));
    ServerProfile profile;
    ProfileStore::fillRecord(profile, strName, strHost, iPort, blHttps, strAccount,
                             QString(), false, strOwner, blPersonal, true, true, true, QStringLiteral("RENAME"),
                             QString(), {1});
    if (blRemember) {
        // The login test asks for the password once and keeps it for the profile.
        QString strPassword;
        if (!s_prompt.askText(AppIdentity::applicationTitle(), VelmLocale::message("msg_enter_pass").arg(strAccount),
                              true, strPassword))
            return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
        profile.password = strPassword;
        profile.savepass = true;
        if (const int iCode = logIn(pNam, &profile, QStringLiteral("The login test failed; the profile was not added.")))
            return iCode;
    }
    if (!ProfileStore::insertProfile(profile))
        return fail(QStringLiteral("Profile [%1] was not added: %2").arg(strName, databaseError(true)));
    out(QStringLiteral("Profile [%1] added.").arg(safe(strName)));
    if (blKept)
        out(QStringLiteral("Server [%1] is at %2, port %3, as discover found it.")
                .arg(safe(strServer), strHost)
                .arg(iPort));
    return ExitOk;
}

// Waits for a form request to the album endpoint; an empty reply object on failure.
ServerReply albumRequest(QNetworkAccessManager* pNam, const QString& strBaseUrl, const QByteArray& baBody,
                         QString* pstrError)
{
    QNetworkReply* pReply =
        ServerRequest::post(pNam, ServerRequest::buildForm(strBaseUrl, ServerRequest::AlbumListPath), baBody);
    QEventLoop loop;
    QObject::connect(pReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    *pstrError = ReplyMessages::albumList(reply);
    return reply;
}

void printChildren(QNetworkAccessManager* pNam, const QString& strBaseUrl, const QString& strPath, int iDepth)
{
    QString strError;
    const ServerReply reply = albumRequest(
        pNam, strBaseUrl, "action=get_all_subalbum_list&path=" + ServerRequest::formValue(strPath), &strError);
    if (!strError.isEmpty())
        return;
    for (const QString& strName : reply.texts("sub_albums")) {
        out(QString(iDepth * 2, QLatin1Char(' ')) + safe(strName));
        printChildren(pNam, strBaseUrl, strPath + QLatin1Char('/') + strName, iDepth + 1);
    }
}

// Shows the certificate the profile's server shows now and trusts it for the server.
int trustServer(const QCommandLineParser& parser)
{
    ServerProfile profile;
    if (const int iCode = findProfile(parser.value(QStringLiteral("profile")), profile))
        return iCode;
    const QString strServer = profile.hostaddr + QLatin1Char(':') + QString::number(profile.port);
    if (!profile.https)
        return fail(QStringLiteral("Profile [%1] connects to %2 with plain HTTP: there is no certificate to trust.")
                        .arg(profile.profname, strServer));
    QList<QSslCertificate> lstChain;
    QString strError;
    if (!CertificateTrust::fetchChain(profile.hostaddr, profile.port, ServerRequest::noTransferTimeoutMs(), &lstChain,
                                      &strError))
        return fail(QStringLiteral("No certificate came from %1: %2").arg(strServer, strError), ExitFailed);
    const QSslCertificate& certificate = lstChain.first();
    const QByteArray baKey = CertificateTrust::keyHash(certificate);
    const QByteArray baTrusted = CertificatePins::pinFor(profile.hostaddr, profile.port).keyHash;
    out(QStringLiteral("Server:      %1").arg(safe(strServer)));
    out(QStringLiteral("Issued to:   %1").arg(safe(certificate.subjectDisplayName())));
    out(QStringLiteral("Issued by:   %1").arg(safe(certificate.issuerDisplayName())));
    out(QStringLiteral("Valid until: %1").arg(certificate.expiryDate().toUTC().toString(Qt::ISODate)));
    out(QStringLiteral("Fingerprint: %1").arg(CertificatePins::fingerprintText(baKey)));
    out(QStringLiteral("Trusted now: %1")
            .arg(baTrusted.isEmpty() ? QStringLiteral("none") : CertificatePins::fingerprintText(baTrusted)));
    if (baTrusted == baKey) {
        out(QStringLiteral("This certificate is trusted already."));
        return ExitOk;
    }
    if (!parser.isSet(QStringLiteral("yes")) &&
        !s_prompt.confirm(QStringLiteral("Trust this certificate for %1?").arg(strServer)))
        return fail(QStringLiteral("Not trusted. Answer y on a terminal, or give --yes."), ExitFailed);
    if (!CertificatePins::setPin(profile.hostaddr, profile.port, baKey))
        return fail(QStringLiteral("Not trusted: ") + databaseError(true), ExitFailed);
    out(QStringLiteral("Trusted for %1.").arg(safe(strServer)));
    return ExitOk;
}

int listAlbums(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    ServerProfile profile;
    if (const int iCode = openProfile(parser.value(QStringLiteral("profile")), profile, pNam))
        return iCode;
    QString strError;
    const ServerReply reply =
        albumRequest(pNam, profile.baseUrl, QByteArrayLiteral("action=get_uploadable_album_list"), &strError);
    if (!strError.isEmpty())
        return fail(strError);
    out(QStringLiteral("photo"));
    QStringList lstFirst;
    for (const QString& strPath : reply.texts("uploadable_albums")) {
        const QString strTop = strPath.section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
        if (!strTop.isEmpty() && !lstFirst.contains(strTop))
            lstFirst.append(strTop);
    }
    for (const QString& strTop : std::as_const(lstFirst)) {
        out(QStringLiteral("  ") + safe(strTop));
        printChildren(pNam, profile.baseUrl, strTop, 2);
    }
    return ExitOk;
}

QString progressLine(UploadQueue& queue, int iPercent, const QElapsedTimer& timer, qint64 llTotalBytes)
{
    const double dSeconds = timer.elapsed() / 1000.0;
    const double dRate = dSeconds > 0 ? llTotalBytes * (iPercent / 100.0) / dSeconds / 1048576.0 : 0;
    QString strLeft = QStringLiteral("--:--");
    if (iPercent > 0 && iPercent < 100) {
        const int iLeft = int(dSeconds * (100 - iPercent) / iPercent);
        strLeft = QStringLiteral("%1:%2").arg(iLeft / 60, 2, 10, QLatin1Char('0')).arg(iLeft % 60, 2, 10, QLatin1Char('0'));
    }
    return QStringLiteral("%1% %2/%3 %4 %5 MB/s %6 left")
        .arg(iPercent)
        .arg(queue.succeeded + queue.failed)
        .arg(queue.total)
        .arg(safe(queue.currentFileName()))
        .arg(dRate, 0, 'f', 1)
        .arg(strLeft);
}

// The album a job goes to, as a destination text ("/photo/2013").
QString albumOf(const UploadJob& job)
{
    const QString strDir = job.value(JobDestination);
    return strDir.isEmpty() ? QStringLiteral("/photo") : QLatin1String("/photo/") + strDir;
}

// What a run would do, without asking the server: each job with its album and stored name
// (a folder becomes an album of its own name), then what is skipped and left out.
int printPlan(const ServerProfile& profile, const UploadJobList& lstJobs, const UploadJobList& lstSkipped,
              const UploadPlan::LeftOutList& lstLeftOut, bool blJson)
{
    auto storedName = [](const UploadJob& job, bool blFolder) {
        return blFolder ? QFileInfo(job.value(JobLocalPath)).fileName() : job.value(JobStoredName);
    };
    if (blJson) {
        QJsonArray send;
        for (const UploadJob& job : lstJobs) {
            const bool blFolder = QFileInfo(job.value(JobLocalPath)).isDir();
            send.append(QJsonObject{{"path", QDir::toNativeSeparators(job.value(JobLocalPath))},
                                    {"album", albumOf(job)},
                                    {"name", storedName(job, blFolder)},
                                    {"kind", blFolder ? QStringLiteral("folder") : QStringLiteral("file")}});
        }
        QJsonArray skipped;
        for (const UploadJob& job : lstSkipped)
            skipped.append(QDir::toNativeSeparators(job.value(JobLocalPath)));
        QJsonArray leftOut;
        for (const auto& pair : lstLeftOut)
            leftOut.append(QJsonObject{{"path", pair.first}, {"reason", pair.second}});
        out(jsonLine(QJsonDocument(QJsonObject{{"dry_run", true},
                                               {"album", profile.serverdst},
                                               {"send", send},
                                               {"skipped", skipped},
                                               {"left_out", leftOut}})));
        return ExitOk;
    }
    out(QStringLiteral(
        "Dry run: nothing was sent, and the server was not asked (files it would refuse are not known)."));
    out(QStringLiteral("Album: %1").arg(profile.serverdst));
    out(QStringLiteral("To send: %1").arg(lstJobs.size()));
    for (const UploadJob& job : lstJobs) {
        const bool blFolder = QFileInfo(job.value(JobLocalPath)).isDir();
        out(QStringLiteral("  %1 -> %2/%3%4")
                .arg(safe(QDir::toNativeSeparators(job.value(JobLocalPath))), safe(albumOf(job)),
                     safe(storedName(job, blFolder)), blFolder ? QStringLiteral(" (album)") : QString()));
    }
    out(QStringLiteral("Skipped (already uploaded): %1").arg(lstSkipped.size()));
    for (const UploadJob& job : lstSkipped)
        out(QStringLiteral("  ") + safe(QDir::toNativeSeparators(job.value(JobLocalPath))));
    out(QStringLiteral("Left out: %1").arg(lstLeftOut.size()));
    for (const auto& pair : lstLeftOut)
        out(QStringLiteral("  ") + safe(pair.first) + QLatin1String(": ") + safe(pair.second));
    return ExitOk;
}

// The album to upload to, made plain; or an exit code, the reason printed.
int checkAlbum(const QString& strAlbum, QString& strNormalized)
{
    if (!UploadPlan::normalizeDestination(strAlbum, strNormalized))
        return fail(VelmLocale::message("err_bad_destination").arg(strAlbum));
    return ExitOk;
}

int upload(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    const QStringList lstPaths = parser.positionalArguments().mid(1);
    if (lstPaths.isEmpty())
        return usage(QStringLiteral("Name the files or folders to upload."));
    for (const QString& strPath : lstPaths) {
        if (!QFileInfo::exists(strPath))
            return fail(QStringLiteral("No such file or folder: %1. Check the path.").arg(strPath));
    }
    // An album outside the photo share is refused before anything is looked up or sent.
    QString strAlbum;
    if (parser.isSet(QStringLiteral("album"))) {
        if (const int iCode = checkAlbum(parser.value(QStringLiteral("album")), strAlbum))
            return iCode;
    }
    ServerProfile profile;
    if (const int iCode = findProfile(parser.value(QStringLiteral("profile")), profile))
        return iCode;

    // Options, as the options page would set them.
    if (strAlbum.isEmpty()) {
        // The profile's last album, stored by an earlier run or another program, is checked too.
        const QString strStored = profile.serverdst.isEmpty() ? QStringLiteral("/photo") : profile.serverdst;
        if (const int iCode = checkAlbum(strStored, strAlbum))
            return iCode;
    }
    profile.serverdst = strAlbum;
    if (parser.isSet(QStringLiteral("duplicates"))) {
        const QString strPolicy = parser.value(QStringLiteral("duplicates")).toUpper();
        if (strPolicy != QLatin1String("OVERWRITE") && strPolicy != QLatin1String("RENAME") &&
            strPolicy != QLatin1String("SKIP"))
            return usage(QStringLiteral("--duplicates takes overwrite, rename or skip."));
        profile.duphandler = strPolicy;
    }
    if (profile.duphandler.isEmpty())
        profile.duphandler = QStringLiteral("RENAME");
    profile.idxonly = !parser.isSet(QStringLiteral("all-files"));
    profile.incbackup = !parser.isSet(QStringLiteral("no-skip-uploaded"));
    profile.daterename = !parser.isSet(QStringLiteral("no-date-rename"));
    profile.keepfolders = !parser.isSet(QStringLiteral("flatten"));
    if (parser.isSet(QStringLiteral("video-quality"))) {
        const QStringList lstNames{"high", "medium", "low", "mobile"};
        QList<int> lstChosen;
        for (const QString& strQuality : parser.value(QStringLiteral("video-quality")).split(QLatin1Char(','))) {
            const int iQuality = int(lstNames.indexOf(strQuality.trimmed().toLower()));
            if (iQuality < 0)
                return usage(QStringLiteral("--video-quality takes high, medium, low and mobile, separated by commas."));
            lstChosen.append(iQuality);
        }
        profile.qualities.clear();
        for (int iQuality : {2, 1, 0, 3}) {
            if (lstChosen.contains(iQuality))
                profile.qualities.append(iQuality);
        }
    } else if (profile.qualities.isEmpty()) {
        profile.qualities = {1};
    }

    // A dry run neither locks, logs in nor writes: it only reads the history.
    const bool blDryRun = parser.isSet(QStringLiteral("dry-run"));
    StopSignals* pStop = StopSignals::install();
    std::unique_ptr<ProfileRunLock> pRunLock;
    if (!blDryRun) {
        // One run per profile at a time, and a history that can take what this run sends: both
        // are settled before anything is asked or sent.
        QString strReason;
        if (!UploadHistory::isWritable(false, &strReason))
            return fail(VelmLocale::message("err_history_write").arg(strReason));
        pRunLock = std::make_unique<ProfileRunLock>(profile.profname);
        if (!pRunLock->tryLock())
            return fail(pRunLock->refusal());
        if (const int iCode = logIn(pNam, &profile, s_loginFailed))
            return iCode;
    }

    UploadJobList lstJobs;
    UploadPlan::LeftOutList lstLeftOut;
    UploadPlan::collectJobs(lstPaths, UploadPlan::destinationDir(profile.serverdst), profile.keepfolders,
                            profile.idxonly, lstJobs, &lstLeftOut);
    UploadPlan::assignStoredNames(lstJobs, profile.daterename, []() { QCoreApplication::processEvents(); });
    // Albums made for folders are not files: the report names files only.
    QSet<QString> setFolders;
    for (const UploadJob& job : std::as_const(lstJobs)) {
        if (QFileInfo(job.value(JobLocalPath)).isDir())
            setFolders.insert(QFileInfo(job.value(JobLocalPath)).fileName());
    }
    UploadJobList lstSkippedJobs;
    if (profile.incbackup)
        lstSkippedJobs =
            UploadPlan::dropUploaded(lstJobs, profile.profname, []() { QCoreApplication::processEvents(); });
    if (pStop->count() > 0)
        return cancelled();
    const bool blJson = parser.isSet(QStringLiteral("json"));
    if (blDryRun)
        return printPlan(profile, lstJobs, lstSkippedJobs, lstLeftOut, blJson);
    QStringList lstSkipped;
    for (const UploadJob& job : std::as_const(lstSkippedJobs))
        lstSkipped.append(QFileInfo(job.value(JobLocalPath)).fileName());
    UploadInitRequest init;
    {
        const QMetaObject::Connection stopInit =
            QObject::connect(pStop, &StopSignals::signalStop, &init, &UploadInitRequest::cancel);
        init.send(pNam, profile.baseUrl, lstJobs);
        QObject::disconnect(stopInit);
    }
    if (pStop->count() > 0)
        return cancelled();
    QStringList lstRefused;
    for (const UploadJob& job : std::as_const(lstJobs)) {
        const QString strServerPath = UploadInitRequest::serverPath(job);
        if (init.noPrivilegePaths().contains(strServerPath))
            lstRefused.append(strServerPath.mid(1).remove(QRegularExpression(QStringLiteral("^/"))));
        else if (init.duplicatedPaths().contains(strServerPath) && QFileInfo(job.value(JobLocalPath)).isDir())
            lstSkipped.append(QFileInfo(job.value(JobLocalPath)).fileName());
    }
    init.filterJobs(lstJobs);

    auto filesOnly = [&setFolders](const QStringList& lstNames) {
        QStringList lstFiles;
        for (const QString& strName : lstNames) {
            if (!setFolders.contains(strName))
                lstFiles.append(strName);
        }
        return lstFiles;
    };
    lstSkipped = filesOnly(lstSkipped);

    // With --json standard output holds the report only: progress goes to standard error.
    FILE* pProgress = blJson ? stderr : stdout;
    const bool blTerminal = ::isatty(::fileno(pProgress));
    UploadQueue queue;
    queue.total = int(lstJobs.size());
    bool blCancelled = false;
    QString strStopReason;
    qint64 llTotalBytes = 0;
    for (const UploadJob& job : std::as_const(lstJobs))
        llTotalBytes += QFileInfo(job.value(JobLocalPath)).size();

    if (!lstJobs.isEmpty()) {
        FileConverter converter(&queue, &lstJobs, profile);
        FileUploader uploader(&queue, pNam, &profile, RunMode::UploadHandOver);
        QEventLoop loop;
        QElapsedTimer timer;
        timer.start();
        int iShown = -1;
        QString strShownFile;
        auto endLine = [&]() {
            if (blTerminal && iShown >= 0)
                std::fprintf(pProgress, "\n");
        };
        auto show = [&](int iPercent) {
            iPercent = qBound(qMax(iShown, 0), iPercent, 100);
            const QString strFile = queue.currentFileName();
            if (iPercent == iShown && strFile == strShownFile)
                return;
            iShown = iPercent;
            strShownFile = strFile;
            const QString strLine = progressLine(queue, iPercent, timer, llTotalBytes);
            if (blTerminal)
                std::fprintf(pProgress, "\r%-78s", strLine.left(78).toLocal8Bit().constData());
            else
                std::fprintf(pProgress, "progress %s\n", strLine.toLocal8Bit().constData());
            std::fflush(pProgress);
        };
        QObject::connect(&converter, &FileConverter::signalCompleteProgressChanged, &loop, show);
        QObject::connect(&uploader, &FileUploader::signalCompleteProgressChanged, &loop, show);
        QObject::connect(&uploader, &FileUploader::signalUploadFinished, &loop, &QEventLoop::quit);
        QObject::connect(&uploader, &FileUploader::signalWaitingForReply, &loop,
                         [&](const QString& strFile, int iSeconds) {
                             endLine();
                             fail(QStringLiteral("Stopping: waiting up to %1 s for the server to confirm %2. "
                                                 "Press Ctrl-C again to stop at once.")
                                      .arg(iSeconds)
                                      .arg(strFile),
                                  ExitFailed);
                         });

        // Ctrl-C, SIGTERM, SIGHUP: stop like the wizard's Cancel; the report still follows. A
        // second one stops the wait for a reply at once.
        QObject::connect(pStop, &StopSignals::signalStop, &loop, [&]() {
            blCancelled = true;
            converter.requestStop();
            uploader.cancel();
        });

        converter.start(QThread::InheritPriority);
        uploader.start(QThread::InheritPriority);
        loop.exec();
        QObject::disconnect(pStop, nullptr, &loop, nullptr);
        converter.requestStop();
        converter.wait();
        uploader.wait();
        endLine();
        strStopReason = uploader.stopReason();
        if (!strStopReason.isEmpty())
            fail(strStopReason, ExitFailed);
        ProfileStore::saveUploadOptions(profile);
        ProfileStore::countUploadRun(profile.profname);
        TempFiles::emptyFolder();
        queue.collectNotSent(lstJobs, VelmLocale::message("err_not_sent"));
    }

    const QStringList lstUploaded = filesOnly(queue.successes);
    auto pairs = [](const QList<QPair<QString, QString>>& lstPairs, const char* pszName, const char* pszText) {
        QJsonArray array;
        for (const auto& pair : lstPairs)
            array.append(QJsonObject{{QLatin1String(pszName), pair.first}, {QLatin1String(pszText), pair.second}});
        return array;
    };
    if (blJson) {
        QJsonObject report{{"uploaded", QJsonArray::fromStringList(lstUploaded)},
                           {"skipped", QJsonArray::fromStringList(lstSkipped)},
                           {"left_out", pairs(lstLeftOut, "path", "reason")},
                           {"refused", QJsonArray::fromStringList(lstRefused)},
                           {"failed", pairs(queue.failures, "file", "error")},
                           {"not_sent", pairs(queue.notSent, "file", "reason")},
                           {"incomplete", pairs(queue.notes, "file", "missing")},
                           {"cancelled", blCancelled},
                           {"succeeded", int(lstUploaded.size())},
                           {"failed_count", queue.failed}};
        if (!strStopReason.isEmpty())
            report.insert(QStringLiteral("stopped"), strStopReason);
        out(jsonLine(QJsonDocument(report)));
    } else {
        auto list = [](const QString& strTitle, const QList<QPair<QString, QString>>& lstPairs) {
            out(strTitle.arg(lstPairs.size()));
            for (const auto& pair : lstPairs)
                out(QStringLiteral("  ") + safe(pair.first) + QLatin1String(": ") + safe(pair.second));
        };
        out(QStringLiteral("Uploaded: %1").arg(lstUploaded.size()));
        list(QStringLiteral("Uploaded, with a note: %1"), queue.notes);
        out(QStringLiteral("Skipped (already uploaded): %1").arg(lstSkipped.size()));
        list(QStringLiteral("Left out: %1"), lstLeftOut);
        out(QStringLiteral("Refused by the server: %1").arg(lstRefused.size()));
        for (const QString& strRefused : std::as_const(lstRefused))
            out(QStringLiteral("  ") + safe(strRefused));
        list(QStringLiteral("Failed: %1"), queue.failures);
        list(QStringLiteral("Not sent: %1"), queue.notSent);
        if (blCancelled)
            out(QStringLiteral("Cancelled."));
    }
    return queue.failed > 0 || !queue.notSent.isEmpty() || !lstRefused.isEmpty() || blCancelled ? ExitFailed
                                                                                                   : ExitOk;
}

// Diagnostics are for the log: shown only with PICTARIUM_DEBUG=1.
void quietDebug(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    static const bool s_blDebug = qEnvironmentVariable("PICTARIUM_DEBUG") == QLatin1String("1");
    if (type == QtDebugMsg && !s_blDebug)
        return;
    // Messages may quote file names.
    std::fprintf(
        stderr, "%s\n",
        TerminalPrompt::safeText(qFormatLogMessage(type, context, strMessage), true).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pictarium-cli"));
#ifdef PICTARIUM_VERSION
    QCoreApplication::setApplicationVersion(QStringLiteral(PICTARIUM_VERSION));
#endif
    qInstallMessageHandler(quietDebug);
    // Ctrl-C, SIGTERM and SIGHUP cancel whatever the command waits for.
    StopSignals::install();

    // First every option of every command, to find the command; then that command's own.
    QCommandLineParser any;
    any.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const OptionInfo& option : s_options)
        any.addOption(makeOption(option));
    any.addOption(helpOption());
    any.addOption(versionOption());
    if (!any.parse(QCoreApplication::arguments()))
        return usage(any.errorText());
    if (any.isSet(QStringLiteral("version"))) {
        out(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return ExitOk;
    }
    const QString strCommand = any.positionalArguments().value(0);
    const CommandInfo* pCommand = findCommand(strCommand);
    if (strCommand.isEmpty() && any.isSet(QStringLiteral("help"))) {
        std::fprintf(stdout, "%s", programHelp().toLocal8Bit().constData());
        return ExitOk;
    }
    if (!pCommand)
        return usage(strCommand.isEmpty() ? QString() : QStringLiteral("Unknown command: ") + strCommand);
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    defineCommand(parser, *pCommand);
    if (any.isSet(QStringLiteral("help"))) {
        std::fprintf(stdout, "%s", helpText(parser, strCommand).toLocal8Bit().constData());
        return ExitOk;
    }
    // Options of other commands are refused, not ignored.
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText() + QStringLiteral(" It is not an option of %1.").arg(strCommand));
    if (parser.optionNames().contains(QStringLiteral("password-fd")))
        s_prompt.setPasswordFd(parser.value(QStringLiteral("password-fd")).toInt());
    const QStringList lstPositional = parser.positionalArguments();

    const QHash<QString, int> hashMaxPositional{{"profiles", 1}, {"discover", 1}, {"add-profile", 1}, {"trust", 1},
                                                {"remove-profile", 2}, {"albums", 1},   {"upload", INT_MAX}};
    if (lstPositional.size() > hashMaxPositional.value(strCommand))
        return usage(QStringLiteral("Unexpected argument: ") + lstPositional.value(hashMaxPositional.value(strCommand)));
    if (strCommand == QLatin1String("remove-profile") && lstPositional.size() < 2)
        return usage(QStringLiteral("Name the profile to remove."));

    // The same language, data folder and database as the desktop program.
    VelmSettings settings;
    QTranslator translator;
    if (translator.load(VelmLocale::translationCatalog(settings)) && !translator.isEmpty())
        QCoreApplication::installTranslator(&translator);
    VelmLocale::fillMessageTable();
    const QString strCheckFolder =
        QLatin1String(" Check that the data folder can be written: ") + AppIdentity::dataFolder();
    if (!AppIdentity::ensureDataFolder())
        return fail(VelmLocale::message("err_database").arg(QStringLiteral("the data folder cannot be made")) +
                    strCheckFolder);
    if (!VelmDatabase::open())
        return fail(VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()) + strCheckFolder);
    if (!VelmDatabase::ensureTable(VelmDatabase::ServerProfiles))
        return fail(databaseError(true) + strCheckFolder);

    QNetworkAccessManager nam;
    int iCode = ExitOk;
    if (strCommand == QLatin1String("profiles")) {
        iCode = listProfiles(parser.isSet(QStringLiteral("json")));
    } else if (strCommand == QLatin1String("discover")) {
        iCode = discover(parser, &nam);
    } else if (strCommand == QLatin1String("add-profile")) {
        iCode = addProfile(parser, &nam);
    } else if (strCommand == QLatin1String("remove-profile")) {
        const QString strName = lstPositional.value(1);
        bool blRead = false;
        const QStringList lstNames = ProfileStore::shortcutOrder(&blRead);
        if (!blRead)
            iCode = fail(databaseError(false));
        else if (!lstNames.contains(strName))
            iCode = fail(QStringLiteral("No profile named [%1].").arg(strName));
        else if (!ProfileStore::deleteProfile(strName))
            iCode = fail(QStringLiteral("Profile [%1] was not removed: %2").arg(strName, databaseError(true)));
        else
            out(QStringLiteral("Profile [%1] removed.").arg(safe(strName)));
    } else if (strCommand == QLatin1String("albums")) {
        iCode = listAlbums(parser, &nam);
    } else if (strCommand == QLatin1String("trust")) {
        iCode = trustServer(parser);
    } else {
        iCode = upload(parser, &nam);
    }
    // A dry run writes nothing, not even the shortcut list.
    if (!parser.optionNames().contains(QStringLiteral("dry-run")))
        ProfileStore::rewriteShortcutList();
    VelmDatabase::close();
    return iCode;
}
