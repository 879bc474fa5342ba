#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStringEncoder>

TestEnvironment::TestEnvironment()
{
    QDir().mkpath(dataHome());
    QDir().mkpath(configHome());
    QDir().mkpath(tempDir());
    QDir().mkpath(runtimeDir());
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    qputenv("TMPDIR", QFile::encodeName(tempDir()));
}

QProcessEnvironment TestEnvironment::processEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    env.insert(QStringLiteral("TMPDIR"), tempDir());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PICTARIUM_UNATTENDED"), QStringLiteral("1"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    return env;
}

void TestEnvironment::setUiLanguage(const QString& strCode) const
{
    QSettings settings(configHome() + QLatin1String("/Velmora/Pictarium Uploader.conf"), QSettings::NativeFormat);
    settings.setValue(QStringLiteral("Global/UILanguage"), strCode);
    settings.sync();
}

namespace TestFiles {

bool writeBytes(const QString& strPath, const QByteArray& baData)
{
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(baData) == baData.size();
}

QByteArray readBytes(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool setModified(const QString& strPath, const QDateTime& time)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}

QByteArray utf16le(const QString& strText)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    return encoder.encode(strText);
}

} // namespace TestFiles

ProgramRun runProgram(const QStringList& lstArguments, const QProcessEnvironment& env, int iTimeoutMs)
{
    ProgramRun result;
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(PICTARIUM_UPLOADER_BIN), lstArguments);
    if (!process.waitForStarted(10000))
        return result;
    result.finished = process.waitForFinished(iTimeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.exitCode = process.exitCode();
    result.standardError = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}
