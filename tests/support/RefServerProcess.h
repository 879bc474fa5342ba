#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// Starts the built reference server on a free loopback port and stops it again.
class RefServerProcess
{
public:
    explicit RefServerProcess(const QString& strRoot); // storage root (created if missing)
    ~RefServerProcess();                               // stop()

    RefServerProcess(const RefServerProcess&) = delete;
    RefServerProcess& operator=(const RefServerProcess&) = delete;

    // Writes the accounts file from the given JSON object and uses it on start (call before start()).
    void setAccounts(const QJsonObject& accounts);
    // Starts the server through a launcher (for example inside a network namespace).
    void setLauncher(const QStringList& lstLauncher) { m_lstLauncher = lstLauncher; }
    // Listens on this port from the next start on (0: a free one), e.g. to restart on the same one.
    void setPort(int iPort) { m_iFixedPort = iPort; }
    // Starts with the journal enabled; waits (up to 15 s) for the base-URL line. False on failure.
    bool start(const QStringList& lstExtraArgs = {}, bool blHttps = false);
    void stop();             // SIGTERM, wait up to 10 s, then kill
    QString baseUrl() const; // e.g. "http://127.0.0.1:40123"
    QString host() const;    // "127.0.0.1"
    int port() const;
    qint64 pid() const;
    QString root() const;
    QString journalPath() const;
    QList<QJsonObject> journal() const;                          // every line parsed
    QList<QJsonObject> journalFor(const QString& strPath) const; // lines whose "path" ends with strPath
    QString standardError() const;                               // what the server printed on stderr so far

    // A self-signed certificate for 127.0.0.1 and its key, made by the openssl program into
    // strDir as <strName>.pem and <strName>.key. False when openssl fails.
    static bool makeCertificate(const QString& strDir, const QString& strName);
    // The SHA-256 of a certificate file's public key, as the openssl program computes it.
    static QByteArray publicKeySha256(const QString& strCertFile);

private:
    QString configDir() const;
    QString accountsPath() const;

    QString m_strRoot;
    bool m_blAccounts = false;
    QStringList m_lstLauncher;
    std::unique_ptr<QProcess> m_pProcess;
    QString m_strBaseUrl;
    int m_iPort = 0;
    int m_iFixedPort = 0;
    qint64 m_iPid = 0;
    mutable QByteArray m_baStandardError;
};
