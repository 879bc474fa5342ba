#include "ToolRunner.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace ToolLocator {

QString path(Tool tool)
{
    struct Entry
    {
        const char* pszFolder;
        const char* pszName;
    };
    static const Entry s_entries[] = {{"ImageMagick", "convert"}, {"ImageMagick", "identify"},
                                      {"ImageMagick", "dcraw"},   {"ffmpeg", "ffmpeg"},
                                      {"ffmpeg", "ffprobe"},      {"ffmpeg", "qt-faststart"},
                                      {"", "Lensway"},            {"", "systemctl"},
                                      {"", "pictarium-cli"}};
    const Entry& entry = s_entries[tool];
#ifdef Q_OS_WIN
    const QString strSuffix = QStringLiteral(".exe");
#else
    const QString strSuffix;
#endif
    const QString strFolder = *entry.pszFolder ? QLatin1String(entry.pszFolder) + QLatin1Char('/') : QString();
    const QString strBeside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + strFolder +
                              QLatin1String(entry.pszName) + strSuffix;
    if (QFileInfo(strBeside).isExecutable())
        return strBeside;
#ifdef PICTARIUM_LIBEXEC_FROM_BIN
    // Installed: the program's own helpers live in its libexec folder.
    const QString strInstalled = QCoreApplication::applicationDirPath() + QLatin1String("/" PICTARIUM_LIBEXEC_FROM_BIN "/") +
                                 QLatin1String(entry.pszName) + strSuffix;
    if (!*entry.pszFolder && QFileInfo(strInstalled).isExecutable())
        return strInstalled;
#endif
    const QString strOnPath = QStandardPaths::findExecutable(QLatin1String(entry.pszName));
    return strOnPath.isEmpty() ? strBeside : strOnPath;
}

} // namespace ToolLocator

QString ToolRunner::commandLine(const QString& strProgram, const QStringList& lstArguments)
{
    QStringList lstParts{QLatin1Char('"') + QDir::toNativeSeparators(strProgram) + QLatin1Char('"')};
    for (const QString& strArgument : lstArguments) {
        const bool blQuote = strArgument.isEmpty() || strArgument.contains(QLatin1Char(' ')) ||
                             strArgument.contains(QLatin1Char('>')) || strArgument.contains(QLatin1Char('/'));
        lstParts.append(blQuote ? QLatin1Char('"') + strArgument + QLatin1Char('"') : strArgument);
    }
    return lstParts.join(QLatin1Char(' '));
}

ToolRunner::Result ToolRunner::run(const QString& strProgram, const QStringList& lstArguments,
                                   const QString& strOutputFile, const char* pszKillMessage) const
{
    Result result;
    QProcess process;
    // A password given to the program is not the tools' business.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("PICTARIUM_PASSWORD"));
    process.setProcessEnvironment(environment);
    if (!strOutputFile.isEmpty())
        process.setStandardOutputFile(strOutputFile, QIODevice::Truncate);
    if (!m_strWorkingDirectory.isEmpty())
        process.setWorkingDirectory(m_strWorkingDirectory);
#ifdef Q_OS_LINUX
    // The tool dies with the program, however the program ends: a killed upload must not leave
    // a transcoder writing into the temporary folder.
    const pid_t parentPid = ::getpid();
    process.setChildProcessModifier([parentPid]() {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parentPid)
            ::_exit(127);
    });
#endif
    process.start(strProgram, lstArguments, QIODevice::ReadWrite);
    if (!process.waitForStarted(-1)) {
        qDebug("ToolRunner: cannot start %s: %s", qPrintable(strProgram), qPrintable(process.errorString()));
        return result;
    }
    process.closeWriteChannel();
    // Waits in 100 ms steps, with no overall time-out, so an abort is noticed quickly.
    while (process.state() != QProcess::NotRunning) {
        if (m_pAbort && m_pAbort->load()) {
            qDebug("%s", pszKillMessage);
            process.kill();
            process.waitForFinished(-1);
            result.status = Aborted;
            return result;
        }
        process.waitForFinished(100);
        if (m_fnPoll)
            m_fnPoll();
        if (strOutputFile.isEmpty())
            result.standardOutput += process.readAllStandardOutput();
        result.standardError += process.readAllStandardError();
    }
    if (strOutputFile.isEmpty())
        result.standardOutput += process.readAllStandardOutput();
    result.standardError += process.readAllStandardError();
    result.status = process.exitStatus() == QProcess::CrashExit ? Crashed : Finished;
    result.exitCode = process.exitCode();
    return result;
}
