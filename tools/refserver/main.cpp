#include "RefServer.h"
#include "ServerOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_aiSignalPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char ch = 1;
    const ssize_t iWritten = ::write(s_aiSignalPipe[1], &ch, 1);
    (void)iWritten;
}

bool installStopSignals()
{
    if (::pipe2(s_aiSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    std::signal(SIGPIPE, SIG_IGN);
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

void printError(const QString& strText)
{
    std::fprintf(stderr, "pictarium-refserver: %s\n", strText.toLocal8Bit().constData());
}

// A throw-away certificate for 127.0.0.1, made by the openssl program.
bool makeSelfSigned(const QString& strDir, QString& strCertFile, QString& strKeyFile, QString& strError)
{
    strCertFile = strDir + QLatin1String("/cert.pem");
    strKeyFile = strDir + QLatin1String("/key.pem");
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"),
                   QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"), strKeyFile,
                   QStringLiteral("-out"), strCertFile});
    if (!openssl.waitForStarted(10000)) {
        strError = QStringLiteral("cannot run openssl to make a certificate: %1").arg(openssl.errorString());
        return false;
    }
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        strError = QStringLiteral("openssl could not make a certificate: %1")
                       .arg(QString::fromLocal8Bit(openssl.readAll()).trimmed());
        return false;
    }
    return true;
}

bool loadSslConfiguration(const QString& strCertFile, const QString& strKeyFile, QSslConfiguration& configuration,
                          QString& strError)
{
    if (!QSslSocket::supportsSsl()) {
        strError = QStringLiteral("this Qt has no TLS support");
        return false;
    }
    QFile certFile(strCertFile);
    QFile keyFile(strKeyFile);
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
        strError = QStringLiteral("cannot read %1 or %2").arg(strCertFile, strKeyFile);
        return false;
    }
    const QList<QSslCertificate> lstCertificates = QSslCertificate::fromData(certFile.readAll(), QSsl::Pem);
    const QByteArray baKey = keyFile.readAll();
    QSslKey key(baKey, QSsl::Rsa, QSsl::Pem);
    if (key.isNull())
        key = QSslKey(baKey, QSsl::Ec, QSsl::Pem);
    if (lstCertificates.isEmpty() || key.isNull()) {
        strError = QStringLiteral("no usable PEM certificate in %1 or key in %2").arg(strCertFile, strKeyFile);
        return false;
    }
    configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(lstCertificates);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pictarium-refserver"));

    ServerOptions options;
    QString strError;
    bool blHelp = false;
    if (!ServerOptions::parse(QCoreApplication::arguments(), options, strError, blHelp)) {
        printError(strError);
        std::fputs(ServerOptions::usage().toLocal8Bit().constData(), stderr);
        return 2;
    }
    if (blHelp) {
        std::fputs(ServerOptions::usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    ServerState state;
    if (!ServerState::load(options.strAccountsFile, state, strError)) {
        printError(strError);
        return 2;
    }

    QTemporaryDir certDir;
    QSslConfiguration sslConfiguration;
    if (options.blHttps) {
        QString strCertFile = options.strCertFile;
        QString strKeyFile = options.strKeyFile;
        if (strCertFile.isEmpty()) {
            if (!certDir.isValid()) {
                printError(QStringLiteral("cannot make a temporary folder for the certificate"));
                return 2;
            }
            if (!makeSelfSigned(certDir.path(), strCertFile, strKeyFile, strError)) {
                printError(strError);
                return 2;
            }
        }
        if (!loadSslConfiguration(strCertFile, strKeyFile, sslConfiguration, strError)) {
            printError(strError);
            return 2;
        }
    }

    if (!installStopSignals()) {
        printError(QStringLiteral("cannot install the signal handlers"));
        return 1;
    }
    QSocketNotifier stopNotifier(s_aiSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, [] {
        char ach[16];
        while (::read(s_aiSignalPipe[0], ach, sizeof(ach)) > 0) {
        }
        QCoreApplication::quit();
    });

    RefServer server(options, state);
    if (!server.start(sslConfiguration, strError)) {
        printError(strError);
        return 1;
    }
    std::unique_ptr<DiscoveryResponder> pResponder;
    if (options.discovery.blEnabled) {
        pResponder = std::make_unique<DiscoveryResponder>(options.discovery, server.journal(), server.httpPort());
        if (!pResponder->start(strError)) {
            printError(strError);
            return 1;
        }
    }
    std::fputs((server.baseUrl() + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);

    QCoreApplication::exec();
    server.stop();
    return 0;
}
