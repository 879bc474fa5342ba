#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private home for one test: data, settings and temporary folders inside a QTemporaryDir,
// set in this process's environment so the program's own lookups land there.
class TestEnvironment
{
public:
    TestEnvironment();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString dataHome() const { return root() + QLatin1String("/data"); }
    QString configHome() const { return root() + QLatin1String("/config"); }
    QString tempDir() const { return root() + QLatin1String("/tmp"); }
    QString runtimeDir() const { return root() + QLatin1String("/run"); }

    // The environment for a child process with the same folders.
    QProcessEnvironment processEnvironment() const;

    // Writes "Global/UILanguage" into the settings store (the program itself never writes it).
    void setUiLanguage(const QString& strCode) const;

private:
    QTemporaryDir m_dir;
};

namespace TestFiles {

// Writes bytes to a file, making missing folders.
bool writeBytes(const QString& strPath, const QByteArray& baData);
QByteArray readBytes(const QString& strPath);
// Sets the last-modification time of a file.
bool setModified(const QString& strPath, const QDateTime& time);
// UTF-16 LE bytes of a text.
QByteArray utf16le(const QString& strText);

} // namespace TestFiles

// Result of running the built program.
struct ProgramRun
{
    int exitCode = -1;
    bool finished = false;
    QString standardError;
};

ProgramRun runProgram(const QStringList& lstArguments, const QProcessEnvironment& env, int iTimeoutMs = 30000);
