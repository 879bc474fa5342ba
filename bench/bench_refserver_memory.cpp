// bench_refserver_memory [SIZE_MIB]: uploads a generated file of SIZE_MIB (default 1024) to the
// reference server over 127.0.0.1 and prints the time, the throughput and the server's peak
// resident memory.

#include "RefServerProcess.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

constexpr qint64 kBlock = 1 << 20;

void fail(const char* pszWhat)
{
    std::fprintf(stderr, "bench_refserver_memory: %s\n", pszWhat);
}

// SIZE_MIB blocks of one random MiB, each stamped with its number; returns the SHA-256.
QByteArray writeSource(const QString& strPath, int iMiB)
{
    QByteArray baBlock(kBlock, Qt::Uninitialized);
    QRandomGenerator generator(1234);
    generator.fillRange(reinterpret_cast<quint32*>(baBlock.data()), kBlock / 4);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return QByteArray();
    for (int i = 0; i < iMiB; ++i) {
        std::memcpy(baBlock.data(), &i, sizeof(i));
        if (file.write(baBlock) != kBlock)
            return QByteArray();
        hash.addData(baBlock);
    }
    return hash.result();
}

QByteArray fileHash(const QString& strPath)
{
    QFile file(strPath);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result();
}

QNetworkReply* wait(QNetworkReply* pReply)
{
    QEventLoop loop;
    QObject::connect(pReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return pReply;
}

double peakResidentMiB(qint64 iPid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(iPid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int iMiB = 1024;
    if (argc > 2) {
        fail("usage: bench_refserver_memory [SIZE_MIB]");
        return 2;
    }
    if (argc == 2) {
        bool blOk = false;
        iMiB = QString::fromLocal8Bit(argv[1]).toInt(&blOk);
        if (!blOk || iMiB < 1) {
            fail("SIZE_MIB must be a positive number");
            return 2;
        }
    }

    QTemporaryDir workDir;
    if (!workDir.isValid()) {
        fail("cannot make a temporary folder");
        return 1;
    }
    const QString strSource = workDir.filePath(QStringLiteral("source.bin"));
    const QByteArray baSourceHash = writeSource(strSource, iMiB);
    if (baSourceHash.isEmpty()) {
        fail("cannot write the source file");
        return 1;
    }

    RefServerProcess server(workDir.filePath(QStringLiteral("root")));
    if (!server.start()) {
        fail("the server did not start");
        std::fputs(server.standardError().toLocal8Bit().constData(), stderr);
        return 1;
    }

    QNetworkAccessManager manager;
    QNetworkRequest login(QUrl(server.baseUrl() + QLatin1String("/blog/login.php")));
    login.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    QNetworkReply* pLogin = wait(manager.post(login, QByteArrayLiteral("action=login&username=admin&passwd=admin")));
    const bool blLoggedIn =
        QJsonDocument::fromJson(pLogin->readAll()).object().value(QLatin1String("success")).toBool();
    delete pLogin;
    if (!blLoggedIn) {
        fail("login refused");
        return 1;
    }

    QFile source(strSource);
    if (!source.open(QIODevice::ReadOnly)) {
        fail("cannot read the source file");
        return 1;
    }
    QNetworkRequest put(QUrl(server.baseUrl() + QLatin1String("/photo/include/rada_file_upload.php")));
    put.setRawHeader("X-PATH", " ");
    put.setRawHeader("X-DUPLICATE", "OVERWRITE");
    put.setRawHeader("X-ORIG-FNAME", " bench.bin");
    put.setRawHeader("X-UPLOAD-TYPE", "ORIG_FILE");
    put.setRawHeader("X-IS-BATCH-LAST-FILE", "1");
    QElapsedTimer timer;
    timer.start();
    QNetworkReply* pPut = wait(manager.put(put, &source));
    const double dSeconds = double(timer.nsecsElapsed()) / 1e9;
    const QByteArray baReply = pPut->readAll();
    const bool blAccepted = pPut->error() == QNetworkReply::NoError &&
                            QJsonDocument::fromJson(baReply).object().value(QLatin1String("success")).toBool();
    delete pPut;
    const double dPeakMiB = peakResidentMiB(server.pid());
    server.stop();

    const QString strStored = server.root() + QLatin1String("/photo/bench.bin");
    const bool blStoredOk =
        blAccepted && QFileInfo(strStored).size() == qint64(iMiB) * kBlock && fileHash(strStored) == baSourceHash;
    std::printf("upload_mib=%d seconds=%.2f throughput_mib_s=%.1f server_peak_rss_mib=%.1f stored_ok=%d\n", iMiB,
                dSeconds, iMiB / dSeconds, dPeakMiB, blStoredOk ? 1 : 0);
    std::fflush(stdout);
    if (!blStoredOk) {
        fail(blAccepted ? "the stored file differs from the source" : "the upload was refused");
        return 1;
    }
    return dPeakMiB > 0 ? 0 : 1;
}
