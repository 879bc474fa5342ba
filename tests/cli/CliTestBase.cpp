#include "CliTestBase.h"

#include "CliRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

void CliTestBase::initCase(bool blVideo)
{
    QVERIFY2(!cliProgram().isEmpty(), "pictarium-cli is not part of the build");
    QVERIFY2(QFileInfo(cliProgram()).isExecutable(), qPrintable(cliProgram()));
    QVERIFY(m_mediaDir.isValid());
    if (blVideo) {
        m_strVideo = m_mediaDir.path() + QLatin1String("/clip.mp4");
        QVERIFY(makeVideo(m_strVideo));
    }
}

void CliTestBase::cleanupServer()
{
    m_pServer.reset();
    m_pServerDir.reset();
}

bool CliTestBase::startServer(const QStringList& lstAlbums, const QStringList& lstArgs)
{
    m_pServer.reset();
    m_pServerDir = std::make_unique<QTemporaryDir>();
    const QString strRoot = m_pServerDir->path() + QLatin1String("/server");
    for (const QString& strAlbum : lstAlbums)
        QDir().mkpath(strRoot + QLatin1String("/photo/") + strAlbum);
    m_pServer = std::make_unique<RefServerProcess>(strRoot);
    m_pServer->setAccounts(QJsonObject{
        {"accounts",
         QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}, {"forbidden_albums", QJsonArray{"secret"}}}}}});
    return m_pServer->start(lstArgs);
}

bool CliTestBase::addProfile(const TestEnvironment& env, const QString& strName, bool blRemember)
{
    QStringList lstArgs{"add-profile", "--name", strName, "--host", m_pServer->host(), "--port",
                        QString::number(m_pServer->port()), "--account", "ann"};
    if (blRemember)
        lstArgs << QStringLiteral("--remember-password");
    const CliRun run = runCli(env, lstArgs, blRemember ? QStringLiteral("pw") : QString());
    if (run.exitCode != 0)
        qWarning("add-profile %s: %s", qPrintable(strName), qPrintable(run.describe()));
    return run.finished && run.exitCode == 0;
}
