#include "RefServerProcess.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QUrl>

// The server's own files live in a hidden folder of the root, beside the photo folders.
RefServerProcess::RefServerProcess(const QString& strRoot) : m_strRoot(QDir(strRoot).absolutePath())
{
    QDir().mkpath(configDir());
}

RefServerProcess::~RefServerProcess()
{
    stop();
}

QString RefServerProcess::configDir() const
{
    return m_strRoot + QLatin1String("/.refserver");
}

QString RefServerProcess::accountsPath() const
{
    return configDir() + QLatin1String("/accounts.json");
}

void RefServerProcess::setAccounts(const QJsonObject& accounts)
{
    QDir().mkpath(configDir());
    QFile file(accountsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QJsonDocument(accounts).toJson(QJsonDocument::Indented));
    m_blAccounts = true;
}

bool RefServerProcess::start(const QStringList& lstExtraArgs, bool blHttps)
{
    stop();
    m_baStandardError.clear();
    m_strBaseUrl.clear();
    m_iPort = 0;
    m_iPid = 0;

    QStringList lstArgs = {QStringLiteral("--root"),    m_strRoot,    QStringLiteral("--port"), QString::number(m_iFixedPort),
                           QStringLiteral("--journal"), journalPath()};
    if (m_blAccounts)
        lstArgs << QStringLiteral("--accounts") << accountsPath();
    if (blHttps)
        lstArgs << QStringLiteral("--https");
    lstArgs << lstExtraArgs;

    m_pProcess = std::make_unique<QProcess>();
    m_pProcess->setProcessChannelMode(QProcess::SeparateChannels);
    if (m_lstLauncher.isEmpty())
        m_pProcess->start(QStringLiteral(PICTARIUM_REFSERVER_BIN), lstArgs);
    else
        m_pProcess->start(m_lstLauncher.constFirst(),
                          m_lstLauncher.mid(1) + QStringList{QStringLiteral(PICTARIUM_REFSERVER_BIN)} + lstArgs);
    if (!m_pProcess->waitForStarted(10000))
        return false;
    m_iPid = m_pProcess->processId();

    const QDeadlineTimer deadline(15000);
    while (!m_pProcess->canReadLine()) {
        if (m_pProcess->state() != QProcess::Running || deadline.hasExpired())
            break;
        m_pProcess->waitForReadyRead(int(qMax<qint64>(1, qMin<qint64>(deadline.remainingTime(), 500))));
    }
    if (!m_pProcess->canReadLine()) {
        stop();
        return false;
    }
    const QString strLine = QString::fromUtf8(m_pProcess->readLine()).trimmed();
    const QUrl url(strLine);
    if (!url.isValid() || url.port() <= 0) {
        stop();
        return false;
    }
    m_strBaseUrl = strLine;
    m_iPort = url.port();
    return true;
}

void RefServerProcess::stop()
{
    if (!m_pProcess)
        return;
    if (m_pProcess->state() != QProcess::NotRunning) {
        m_pProcess->terminate();
        if (!m_pProcess->waitForFinished(10000)) {
            m_pProcess->kill();
            m_pProcess->waitForFinished(5000);
        }
    }
    m_baStandardError += m_pProcess->readAllStandardError();
}

QString RefServerProcess::baseUrl() const
{
    return m_strBaseUrl;
}

QString RefServerProcess::host() const
{
    return QStringLiteral("127.0.0.1");
}

int RefServerProcess::port() const
{
    return m_iPort;
}

qint64 RefServerProcess::pid() const
{
    return m_iPid;
}

QString RefServerProcess::root() const
{
    return m_strRoot;
}

QString RefServerProcess::journalPath() const
{
    return configDir() + QLatin1String("/journal.jsonl");
}

QList<QJsonObject> RefServerProcess::journal() const
{
    QList<QJsonObject> lstLines;
    QFile file(journalPath());
    if (!file.open(QIODevice::ReadOnly))
        return lstLines;
    while (!file.atEnd()) {
        const QByteArray baLine = file.readLine().trimmed();
        if (baLine.isEmpty())
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(baLine);
        if (document.isObject())
            lstLines.append(document.object());
    }
    return lstLines;
}

QList<QJsonObject> RefServerProcess::journalFor(const QString& strPath) const
{
    QList<QJsonObject> lstLines;
    for (const QJsonObject& line : journal()) {
        if (line.value(QLatin1String("path")).toString().endsWith(strPath))
            lstLines.append(line);
    }
    return lstLines;
}

QString RefServerProcess::standardError() const
{
    if (m_pProcess)
        m_baStandardError += m_pProcess->readAllStandardError();
    return QString::fromLocal8Bit(m_baStandardError);
}

namespace {

bool runOpenssl(const QStringList& lstArgs, const QByteArray& baInput = QByteArray(), QByteArray* pbaOutput = nullptr)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), lstArgs);
    if (!openssl.waitForStarted(10000))
        return false;
    openssl.write(baInput);
    openssl.closeWriteChannel();
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0)
        return false;
    if (pbaOutput)
        *pbaOutput = openssl.readAllStandardOutput();
    return true;
}

} // namespace

bool RefServerProcess::makeCertificate(const QString& strDir, const QString& strName)
{
    const QString strBase = strDir + QLatin1Char('/') + strName;
    return runOpenssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                        QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                        QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                        QStringLiteral("-keyout"), strBase + QLatin1String(".key"), QStringLiteral("-out"),
                        strBase + QLatin1String(".pem")}) &&
           QFile::exists(strBase + QLatin1String(".pem"));
}

QByteArray RefServerProcess::publicKeySha256(const QString& strCertFile)
{
    QByteArray baPem;
    QByteArray baDer;
    if (!runOpenssl({QStringLiteral("x509"), QStringLiteral("-in"), strCertFile, QStringLiteral("-pubkey"),
                     QStringLiteral("-noout")},
                    QByteArray(), &baPem) ||
        !runOpenssl({QStringLiteral("pkey"), QStringLiteral("-pubin"), QStringLiteral("-outform"), QStringLiteral("DER")},
                    baPem, &baDer))
        return {};
    return baDer.isEmpty() ? QByteArray() : QCryptographicHash::hash(baDer, QCryptographicHash::Sha256);
}
