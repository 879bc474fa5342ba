#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The certificate key trusted for each HTTPS server, by host and port (table
// ServerCertificates): the SHA-256 of the certificate's public key, 32 bytes.
namespace CertificatePins {

struct Pin
{
    QByteArray keyHash; // empty when the server has none
    QDateTime pinned;
};

// The key trusted for host:port; an empty hash when none is.
Pin pinFor(const QString& strHost, int iPort);
// Trusts keyHash for host:port, replacing what was trusted before. False when the database
// refused.
bool setPin(const QString& strHost, int iPort, const QByteArray& baKeyHash);

// "AB:CD:..." of a hash; empty for an empty one.
QString fingerprintText(const QByteArray& baHash);
// A fingerprint as typed: 64 hex digits, colons, blanks and letter case free. Empty when it is
// not one.
QByteArray parseFingerprint(const QString& strText);

} // namespace CertificatePins
