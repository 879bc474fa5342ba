#pragma once

// What every fuzz target shares: a quiet application object, files for readers that take a
// path, and a network reply made of raw bytes.

#include <QByteArray>
#include <QNetworkReply>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Fuzz {
// A core application, the message table, and no log output; once per process.
void init();
// The bytes written to a file in a private folder (the same path for the same name); the path.
QString writeFile(const QString& strName, const uint8_t* pData, size_t iSize);
// The input as bytes (copied).
inline QByteArray bytes(const uint8_t* pData, size_t iSize)
{
    return QByteArray(reinterpret_cast<const char*>(pData), qsizetype(iSize));
}
// Ends the run with a report; libFuzzer keeps the input.
[[noreturn]] void fail(const char* pszWhat);
} // namespace Fuzz

// A finished reply as the program sees it. The input: one byte choosing the transport failure
// (0: none beyond what the status says), one byte of flags (1: https, 2: cut off for its size,
// 4: closed), then "HTTP/1.1 <status> <reason>", header lines and an empty line, then the body.
class FuzzReply : public QNetworkReply
{
public:
    explicit FuzzReply(const QByteArray& baInput);
    void abort() override {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // Tells the receivers, as the network stack does when the reply ends.
    void finish() { emit finished(); }

protected:
    qint64 readData(char* pData, qint64 iMaxSize) override;

private:
    QByteArray m_baBody;
    qint64 m_iRead = 0;
};
