#include "CommandLine.h"

#include "CliSupport.h"
#include "Commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <climits>
#include <cstdio>

namespace Cli {

namespace {

const OptionInfo s_options[] = {
    {"name", "N", "Name of the new profile: at most 32 characters, no control characters."},
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
    {"settle", "SECONDS", "A file is complete when its size and time have not changed for this long (default 10)."},
    {"rescan", "MINUTES", "Read the folders again this often, for changes the events missed (default 15)."},
    {"once", nullptr, "Upload what the history does not hold yet, then exit."},
};

const char* const s_passwordNote =
    "A password the profile does not remember comes from PICTARIUM_PASSWORD, from --password-fd FD,\n"
    "or is asked on the terminal.";

const CommandInfo s_commands[] = {
    {"profiles", "List the stored upload profiles: name, server address and account.", "[--json]", "json", nullptr,
     nullptr, nullptr, nullptr,
     1, Cli::listProfiles, nullptr},
    {"discover", "Search the local network for servers and list them.", "[--seconds N] [--json]", "seconds json",
     nullptr, nullptr, nullptr,
     "Warning: this broadcasts a query on every network the computer is connected to; run it only\n"
     "where that is allowed. Each server that answers within N seconds is listed with its address,\n"
     "HTTP port, status, and 'offered' or why it is not (not ready, not supported, not reachable).\n"
     "The list is kept for add-profile --host NAME. Exit status 1 when no server answered.",
     1, Cli::discover, nullptr},
    {"add-profile", "Store a new upload profile.",
     "--name N --host H --port P [--https [--fingerprint HEX]] --account A [--personal OWNER]\n"
     "         [--remember-password]",
     "name host port https fingerprint account personal remember-password password-fd", nullptr, nullptr, nullptr,
     "With --remember-password the login is tested first, and the profile is stored only when it succeeds.\n"
     "A server name that discover listed last stands for that server's address, and for its HTTP port\n"
     "when --port is left out; no query is sent and no name is looked up for it.",
     1, Cli::addProfile, nullptr},
    {"remove-profile", "Remove a profile and its upload history.", "NAME", "", "NAME", "NAME", "The profile to remove.",
     nullptr,
     2, Cli::removeProfile, "Name the profile to remove."},
    {"trust", "Show the certificate an HTTPS server shows now, and trust it.", "--profile N [--yes]", "profile yes",
     nullptr, nullptr, nullptr,
     "The first HTTPS connection to a server trusts its certificate. When the server later shows another\n"
     "one, nothing is sent to it until that one is trusted here (after a yes on the terminal, or with --yes).\n"
     "Compare the fingerprint with the one the server's administration pages show.",
     1, Cli::trustServer, nullptr},
    {"albums", "List the albums the profile's account may upload to.", "--profile N", "profile password-fd", nullptr,
     nullptr, nullptr, nullptr,
     1, Cli::listAlbums, nullptr},
    {"upload", "Upload files and folders to an album.",
     "--profile N [--album /photo/...] [--duplicates overwrite|rename|skip] [--all-files]\n"
     "         [--no-skip-uploaded] [--no-date-rename] [--flatten] [--video-quality LIST] [--dry-run] [--json] PATH...",
     "profile album duplicates all-files no-skip-uploaded no-date-rename flatten video-quality dry-run json "
     "password-fd",
     "PATH", "PATH...", "Files and folders to upload; a folder with everything in it.",
     "With --dry-run the plan is printed (each file with the album and the name it would be stored under,\n"
     "what is skipped as uploaded before, what is left out and why) without logging in: the server is not\n"
     "asked, so files it would refuse or already holds are not known. Nothing is sent or stored.",
     INT_MAX, Cli::upload, nullptr},
    {"watch", "Upload new and changed photos and videos of folders as they arrive.",
     "--profile N [--album /photo/...] [upload options] [--settle SECONDS] [--rescan MINUTES] [--once]\n"
     "         [--json] [FOLDER...]",
     "profile album duplicates all-files no-skip-uploaded no-date-rename flatten video-quality json "
     "password-fd settle rescan once",
     "FOLDER", "FOLDER...", "Folders to watch, with their subfolders (default: the profile's watched folders).",
     "First everything the history does not hold is sent; then each batch of new and changed files,\n"
     "with one line per batch (time, sent, skipped, failed). While the server cannot be reached, it tries\n"
     "again later. One watcher per profile; an upload of the profile runs between batches. Ctrl-C, SIGTERM\n"
     "or SIGHUP end it after the file on its way.",
     INT_MAX, Cli::watch, nullptr},
};

} // namespace

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

QString helpText(const QCommandLineParser& parser, const QString& strCommand)
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

int usage(const QString& strProblem)
{
    if (!strProblem.isEmpty())
        fail(strProblem);
    std::fprintf(stderr, "%s%s\n", synopsis().toLocal8Bit().constData(),
                 "'pictarium-cli --help' and 'pictarium-cli COMMAND --help' tell more.");
    return ExitUsage;
}

void defineAnyCommand(QCommandLineParser& parser)
{
    for (const OptionInfo& option : s_options)
        parser.addOption(makeOption(option));
    parser.addOption(helpOption());
    parser.addOption(versionOption());
}

} // namespace Cli
