#include "WatchService.h"

#include "ToolRunner.h"
#include "UserPrompt.h"
#include "VelmLocale.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

const char* const CliName = "pictarium-cli";

// Empty when there is none.
QString systemctl()
{
    const QString strPath = ToolLocator::path(ToolLocator::Systemctl);
    return QFileInfo(strPath).isExecutable() ? strPath : QString();
}

// Tells a failed tool run with the tool's own words.
bool toolFailed(UserPrompt* pPrompt, const QString& strProgram, const ToolRunner::Result& result)
{
    QString strWhy = QString::fromLocal8Bit(result.standardError).trimmed();
    if (strWhy.isEmpty())
        strWhy = QString::fromLocal8Bit(result.standardOutput).trimmed();
    if (strWhy.isEmpty())
        strWhy = result.status == ToolRunner::FailedToStart
                     ? QStringLiteral("%1 cannot be started").arg(strProgram)
                     : QStringLiteral("%1 exited with %2").arg(QFileInfo(strProgram).fileName()).arg(result.exitCode);
    qDebug("WatchService: %s", qPrintable(strWhy));
    if (pPrompt)
        pPrompt->critical(VelmLocale::message("err_error"), VelmLocale::message("watch_tool_failed").arg(strWhy));
    return false;
}

bool runSystemctl(const QStringList& lstArguments, UserPrompt* pPrompt)
{
    const QString strProgram = systemctl();
    const ToolRunner::Result result = ToolRunner().run(strProgram, QStringList{QStringLiteral("--user")} + lstArguments);
    return result.ok() || toolFailed(pPrompt, strProgram.isEmpty() ? QStringLiteral("systemctl") : strProgram, result);
}

// One argument of an Exec line: quoted where it has reserved characters, then escaped as a
// desktop entry string.
QString execArgument(const QString& strArgument)
{
    static const QString s_strReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString strOut = strArgument;
    const bool blQuote = strArgument.isEmpty() || std::any_of(strArgument.cbegin(), strArgument.cend(), [](QChar c) {
                             return s_strReserved.contains(c);
                         });
    if (blQuote) {
        strOut.clear();
        for (QChar c : strArgument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                strOut += QLatin1Char('\\');
            strOut += c;
        }
        strOut = QLatin1Char('"') + strOut + QLatin1Char('"');
    }
    strOut.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    strOut.replace(QLatin1Char('%'), QLatin1String("%%"));
    return strOut;
}

// The watchers of the profile running now, found by their exact arguments.
QList<qint64> runningWatchers(const QString& strProfile)
{
    QList<qint64> lstPids;
#ifdef Q_OS_LINUX
    const QByteArray baName = strProfile.toUtf8();
    const QStringList lstProcs = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& strPid : lstProcs) {
        bool blNumber = false;
        const qint64 pid = strPid.toLongLong(&blNumber);
        if (!blNumber || pid == QCoreApplication::applicationPid())
            continue;
        QFile file(QLatin1String("/proc/") + strPid + QLatin1String("/cmdline"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // The program and its last three arguments (a script's interpreter may come first).
        QList<QByteArray> lstArgs = file.readAll().split('\0');
        if (!lstArgs.isEmpty() && lstArgs.last().isEmpty())
            lstArgs.removeLast();
        const qsizetype n = lstArgs.size();
        if (n >= 4 && lstArgs.at(n - 1) == baName && lstArgs.at(n - 2) == "--profile" && lstArgs.at(n - 3) == "watch" &&
            QFileInfo(QFile::decodeName(lstArgs.at(n - 4))).fileName() == QLatin1String(CliName))
            lstPids.append(pid);
    }
#else
    Q_UNUSED(strProfile)
#endif
    return lstPids;
}

} // namespace

namespace WatchService {

QString escapeName(const QString& strProfile)
{
    const QByteArray baName = strProfile.toUtf8();
    QString strOut;
    for (int i = 0; i < baName.size(); ++i) {
        const char c = baName.at(i);
        if (c == '/')
            strOut += QLatin1Char('-');
        else if ((c == '.' && i > 0) || c == ':' || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                 (c >= 'A' && c <= 'Z'))
            strOut += QLatin1Char(c);
        else
            strOut += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
    }
    return strOut;
}

QString unitName(const QString& strProfile)
{
    return QLatin1String("pictarium-watch@") + escapeName(strProfile) + QLatin1String(".service");
}

QString autostartPath(const QString& strProfile)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/autostart/pictarium-watch-") + escapeName(strProfile) + QLatin1String(".desktop");
}

QStringList watchCommand(const QString& strProfile)
{
    return {ToolLocator::path(ToolLocator::Cli), QStringLiteral("watch"), QStringLiteral("--profile"), strProfile};
}

bool userManagerRuns()
{
    const QString strRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (strRuntime.isEmpty() || !QFileInfo(strRuntime + QLatin1String("/systemd")).isDir() || systemctl().isEmpty())
        return false;
    // A degraded manager (some unit failed) runs services all the same.
    const ToolRunner::Result result =
        ToolRunner().run(systemctl(), {QStringLiteral("--user"), QStringLiteral("is-system-running")});
    const QByteArray baState = result.standardOutput.trimmed();
    return result.status == ToolRunner::Finished &&
           (baState == "running" || baState == "degraded" || baState == "starting" || baState == "initializing");
}

bool enable(const QString& strProfile, UserPrompt* pPrompt)
{
    if (userManagerRuns())
        return runSystemctl({QStringLiteral("enable"), QStringLiteral("--now"), unitName(strProfile)}, pPrompt);

    const QStringList lstCommand = watchCommand(strProfile);
    QStringList lstExec;
    for (const QString& strArgument : lstCommand)
        lstExec.append(execArgument(strArgument));
    const QString strPath = autostartPath(strProfile);
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QFile file(strPath);
    const QByteArray baEntry = "[Desktop Entry]\nType=Application\nName=Pictarium Uploader: " +
                               strProfile.toUtf8().replace('\n', ' ').replace('\\', "\\\\") +
                               "\nExec=" + lstExec.join(QLatin1Char(' ')).toUtf8() +
                               "\nNoDisplay=true\nX-GNOME-Autostart-enabled=true\n";
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(baEntry) != baEntry.size() ||
        !file.flush()) {
        if (pPrompt)
            pPrompt->critical(VelmLocale::message("err_error"),
                              VelmLocale::message("watch_tool_failed").arg(strPath + QLatin1String(": ") + file.errorString()));
        return false;
    }
    file.close();
    if (!runningWatchers(strProfile).isEmpty())
        return true;
    if (!QProcess::startDetached(lstCommand.first(), lstCommand.mid(1))) {
        ToolRunner::Result notStarted;
        return toolFailed(pPrompt, lstCommand.first(), notStarted);
    }
    return true;
}

bool disable(const QString& strProfile, UserPrompt* pPrompt)
{
    bool blOk = true;
    if (userManagerRuns())
        blOk = runSystemctl({QStringLiteral("disable"), QStringLiteral("--now"), unitName(strProfile)}, pPrompt);
    // An autostart entry and its watcher, from a session without a service manager.
    const QString strPath = autostartPath(strProfile);
    if (QFileInfo::exists(strPath)) {
        if (!QFile::remove(strPath)) {
            if (pPrompt)
                pPrompt->critical(VelmLocale::message("err_error"), VelmLocale::message("watch_tool_failed").arg(strPath));
            blOk = false;
        }
    }
#ifdef Q_OS_UNIX
    const QList<qint64> lstPids = runningWatchers(strProfile);
    for (qint64 pid : lstPids)
        ::kill(pid_t(pid), SIGTERM);
    // A little while to end, so that turning it on again starts a new one.
    for (int i = 0; i < 60 && !lstPids.isEmpty() && !runningWatchers(strProfile).isEmpty(); ++i)
        QThread::msleep(50);
#endif
    return blOk;
}

} // namespace WatchService
