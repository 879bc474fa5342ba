// bench_upload [SIZE_MIB]: sends one generated file of SIZE_MIB (default 2048) to the reference
// server on 127.0.0.1 through the uploader (queue, file upload request, reply handling), then
// the same file with `curl -T`, and prints both rates and the uploader process's peak memory.

#include "AppIdentity.h"
#include "RefServerProcess.h"
#include "ServerLogin.h"
#include "VelmLocale.h"
#include "upload/FileUploader.h"
#include "upload/UploadQueue.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

double peakRssMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& baLine : status.readAll().split('\n')) {
        if (baLine.startsWith("VmHWM:"))
            return baLine.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

bool writeSource(const QString& strPath, int iMiB)
{
    QByteArray baBlock(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32*>(baBlock.data()), baBlock.size() / 4);
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < iMiB; ++i) {
        baBlock[0] = char(i);
        if (file.write(baBlock) != baBlock.size())
            return false;
    }
    return true;
}

int fail(const char* pszWhat)
{
    std::fprintf(stderr, "bench_upload: %s\n", pszWhat);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int iMiB = argc > 1 ? QByteArray(argv[1]).toInt() : 2048;
    if (iMiB <= 0)
        return fail("usage: bench_upload [SIZE_MIB]");
    VelmLocale::fillMessageTable();

    QTemporaryDir dir;
    // A private data folder, so the history row is written as in a real run.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QLatin1String("/data")));
    if (!AppIdentity::ensureDataFolder() || !VelmDatabase::open())
        return fail("cannot open the database");
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    const QString strSource = dir.path() + QLatin1String("/source.bin");
    if (!writeSource(strSource, iMiB))
        return fail("cannot write the source file");
    QDir().mkpath(dir.path() + QLatin1String("/server/photo/bench"));

    RefServerProcess server(dir.path() + QLatin1String("/server"));
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!server.start())
        return fail("cannot start the reference server");

    QNetworkAccessManager nam;
    ServerProfile profile;
    ProfileStore::fillRecord(profile, QStringLiteral("bench"), server.host(), server.port(), false,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, false,
                             QStringLiteral("OVERWRITE"), QString(), {});
    const bool blLoggedIn = logIn(&nam, &profile);
    if (!blLoggedIn)
        return fail("login failed");

    const double dRssBefore = peakRssMiB();
    UploadQueue queue;
    queue.total = 1;
    FileUploader uploader(&queue, &nam, &profile, RunMode::UploadHandOver);
    QObject::connect(&uploader, &FileUploader::signalUploadFinished, &app, &QCoreApplication::quit);
    queue.handOver({{KeyPath, strSource},
                    {KeyDestination, QStringLiteral("bench")},
                    {KeyOrigName, QStringLiteral("uploader.bin")},
                    {KeyUploadType, QStringLiteral("ORIG_FILE")},
                    {KeyBatchLast, QStringLiteral("true")},
                    {KeyJobLast, QStringLiteral("true")}});
    QElapsedTimer timer;
    timer.start();
    uploader.start();
    app.exec();
    const double dUploaderSeconds = timer.elapsed() / 1000.0;
    uploader.wait();
    const double dRssPeak = peakRssMiB();
    const bool blStored = queue.succeeded == 1 &&
                          QFileInfo(server.root() + QLatin1String("/photo/bench/uploader.bin")).size() ==
                              qint64(iMiB) * 1024 * 1024;

    QString strCookie;
    for (const QNetworkCookie& cookie : nam.cookieJar()->cookiesForUrl(QUrl(profile.baseUrl + QLatin1Char('/'))))
        strCookie += QString::fromLatin1(cookie.name() + '=' + cookie.value());
    QProcess curl;
    const QStringList lstCurl{"-s", "-o", "/dev/null", "-w", "%{http_code}", "-T", strSource,
                              "-H", "Expect:", "-H", "Cookie: " + strCookie, "-H", "X-PATH: bench",
                              "-H", "X-DUPLICATE: OVERWRITE", "-H", "X-ORIG-FNAME: curl.bin",
                              "-H", "X-UPLOAD-TYPE: ORIG_FILE", "-H", "X-IS-BATCH-LAST-FILE: 1",
                              profile.baseUrl + QLatin1String("/photo/include/rada_file_upload.php")};
    timer.restart();
    curl.start(QStringLiteral("curl"), lstCurl);
    if (!curl.waitForFinished(-1) || curl.exitCode() != 0)
        return fail("curl failed");
    const double dCurlSeconds = timer.elapsed() / 1000.0;
    const bool blCurlStored =
        QFileInfo(server.root() + QLatin1String("/photo/bench/curl.bin")).size() == qint64(iMiB) * 1024 * 1024;
    server.stop();

    const double dUploaderRate = iMiB / dUploaderSeconds;
    const double dCurlRate = iMiB / dCurlSeconds;
    VelmDatabase::close();
    std::printf("file_mib=%d uploader_seconds=%.2f uploader_mib_s=%.1f uploader_peak_rss_mib=%.1f "
                "rss_before_upload_mib=%.1f curl_seconds=%.2f curl_mib_s=%.1f uploader_vs_curl=%.0f%% "
                "stored_ok=%d\n",
                iMiB, dUploaderSeconds, dUploaderRate, dRssPeak, dRssBefore, dCurlSeconds, dCurlRate,
                100.0 * dUploaderRate / dCurlRate, int(blStored && blCurlStored));
    return blStored && blCurlStored ? 0 : 1;
}
