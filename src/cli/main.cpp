// pictarium-cli: profiles, albums and uploads from a terminal, over the same core as the
// upload wizard. This file reads the command line and starts the command.

#include "AppIdentity.h"
#include "CliSupport.h"
#include "CommandLine.h"
#include "StopSignals.h"
#include "TerminalPrompt.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QTranslator>

#include <cstdio>

using namespace Cli;

namespace {

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
    defineAnyCommand(any);
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
        prompt().setPasswordFd(parser.value(QStringLiteral("password-fd")).toInt());
    const QStringList lstPositional = parser.positionalArguments();

    if (lstPositional.size() > pCommand->iMaxPositional)
        return usage(QStringLiteral("Unexpected argument: ") + lstPositional.value(pCommand->iMaxPositional));
    if (pCommand->pszMissingArgument && lstPositional.size() < 2)
        return usage(QLatin1String(pCommand->pszMissingArgument));

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
    const int iCode = pCommand->run(parser, &nam);
    // A dry run writes nothing, not even the shortcut list.
    if (!parser.optionNames().contains(QStringLiteral("dry-run")))
        ProfileStore::rewriteShortcutList();
    VelmDatabase::close();
    return iCode;
}
