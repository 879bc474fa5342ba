#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Finds the external tools: beside the program first, then on the PATH.
namespace ToolLocator {

enum Tool { Convert, Identify, Dcraw, Ffmpeg, Ffprobe, QtFaststart, Lensway, Systemctl, Cli };

QString path(Tool tool);

} // namespace ToolLocator

// Runs one external tool: a program and its argument list, never a shell command line.
class ToolRunner
{
public:
    enum Status { Finished, FailedToStart, Aborted, Crashed };

    struct Result
    {
        Status status = FailedToStart;
        int exitCode = -1;
        QByteArray standardOutput;
        QByteArray standardError;

        // Ran to the end and exited with 0.
        bool ok() const { return status == Finished && exitCode == 0; }
    };

    // Polled every 100 ms while the tool runs; when it becomes true the tool is killed.
    explicit ToolRunner(const std::atomic_bool* pAbort = nullptr) : m_pAbort(pAbort) {}

    // The folder the tool runs in (its relative files land there).
    void setWorkingDirectory(const QString& strFolder) { m_strWorkingDirectory = strFolder; }
    // Called after each 100 ms wait (the UI thread handles its events there).
    void setPollHook(std::function<void()> fnPoll) { m_fnPoll = std::move(fnPoll); }

    // strOutputFile: standard output goes to that file instead of memory (large outputs).
    // pszKillMessage: logged when an abort kills the tool.
    Result run(const QString& strProgram, const QStringList& lstArguments, const QString& strOutputFile = QString(),
               const char* pszKillMessage = "kill process") const;

    // The command line as a shell would read it, for the debug log only.
    static QString commandLine(const QString& strProgram, const QStringList& lstArguments);

private:
    const std::atomic_bool* m_pAbort;
    QString m_strWorkingDirectory;
    std::function<void()> m_fnPoll;
};
