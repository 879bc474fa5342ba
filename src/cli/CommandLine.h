#pragma once

#include <QString>

class QCommandLineOption;
class QCommandLineParser;
class QNetworkAccessManager;

// The command line of pictarium-cli: its options, its commands and their help texts.
namespace Cli {

// A command: runs with the parser that holds its own options, returns the exit status.
using CommandRun = int (*)(const QCommandLineParser& parser, QNetworkAccessManager* pNam);

struct OptionInfo
{
    const char* pszName;
    const char* pszValue; // nullptr for a flag
    const char* pszHelp;
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
    const char* pszNotes;      // more about the command, or nullptr
    int iMaxPositional;        // the command's name included
    CommandRun run;
    const char* pszMissingArgument; // the usage error when the argument is left out, or nullptr
};

const CommandInfo* findCommand(const QString& strName);
// Every option of every command, to find the command; --help and --version too.
void defineAnyCommand(QCommandLineParser& parser);
// A parser that knows one command: its options and arguments, for parsing and for its help.
void defineCommand(QCommandLineParser& parser, const CommandInfo& command);
// The parser's help, its usage line naming the program as typed at a prompt, and the command.
QString helpText(const QCommandLineParser& parser, const QString& strCommand = QString());
QString programHelp();
// Prints the problem and the synopsis on standard error; the usage exit status.
int usage(const QString& strProblem = QString());

} // namespace Cli
