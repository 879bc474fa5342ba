#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

class QNetworkReply;

// Which server certificates are accepted: one the system's trust store verifies for the host,
// or one whose key is the key trusted for the host and port. The first key a server shows is
// trusted (and remembered); a different one later is refused before anything is sent.
namespace CertificateTrust {

// A certificate refused because its key is not the one trusted for the server.
struct Refusal
{
    QString host;
    int port = 0;
    QByteArray trustedKey; // SHA-256 of the public keys
    QByteArray offeredKey; // empty when the server showed no certificate

    bool isNull() const { return host.isEmpty(); }
};

enum class Verdict { TrustedBySystem, FirstContact, Pinned, Changed, NoCertificate };

// SHA-256 of the certificate's public key (its DER SubjectPublicKeyInfo).
QByteArray keyHash(const QSslCertificate& certificate);

// Decides on the chain a server presented, server certificate first. FirstContact and a
// system-verified key are remembered for host:port; Changed fills pRefusal.
Verdict judge(const QString& strHost, int iPort, const QList<QSslCertificate>& lstChain, Refusal* pRefusal);

// Puts the reply's TLS handshake under the rule above. A refused certificate ends the
// handshake, so the request is never sent; refusal() tells why the reply failed.
void watch(QNetworkReply* pReply);
Refusal refusal(const QNetworkReply* pReply);

// The user message for a refusal: the server, both fingerprints.
QString refusalMessage(const Refusal& refusal);

// Makes a TLS connection to host:port, reads the server's certificate chain and closes the
// connection again without sending a byte of HTTP. False with pstrError when no handshake
// completed within iTimeoutMs.
bool fetchChain(const QString& strHost, int iPort, int iTimeoutMs, QList<QSslCertificate>* plstChain,
                QString* pstrError);

} // namespace CertificateTrust
