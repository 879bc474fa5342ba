// bench_batch [PHOTOS]: PHOTOS (default 12) 24-megapixel JPEGs through the real pipeline to the
// reference server on 127.0.0.1, with `pictarium-cli upload`, as before (five converter runs per
// photo, one photo at a time) and as now (one decode per photo, every core busy). For each it
// prints the wall time, the CPU time of the run and its tools, how busy the cores were, the
// peak memory; and, in process, the conversion alone and the upload alone of what it made. Also:
// five thumbnails of one photo both ways, and the same thumbnails made by the libvips command
// line two photos at a time, with the ratios.

#include "BenchMeter.h"
#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "ServerLogin.h"

#include "AppIdentity.h"
#include "VelmLocale.h"
#include "upload/FileUploader.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include "upload/FileConverter.h"
#include "upload/ImageThumbnailer.h"
#include "TempFiles.h"
#include "upload/UploadQueue.h"
#include "store/ServerProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

// Busy and total jiffies of all cores, from /proc/stat.
QPair<qint64, qint64> cpuJiffies()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {0, 0};
    const QList<QByteArray> lstFields = stat.readLine().simplified().split(' ');
    qint64 llTotal = 0;
    for (int i = 1; i < lstFields.size(); ++i)
        llTotal += lstFields.at(i).toLongLong();
    const qint64 llIdle = lstFields.value(4).toLongLong() + lstFields.value(5).toLongLong();
    return {llTotal - llIdle, llTotal};
}

struct Run
{
    Cost cost;
    double busy = 0;    // share of all cores' time spent busy, 0..1
    double peakMiB = 0; // largest resident size of the run's process
    bool ok = false;
};

// One `pictarium-cli upload` of the folder; the process's peak resident size is read while it runs.
Run runCli(const QProcessEnvironment& env, const QStringList& lstArguments)
{
    Run run;
    const auto start = cpuJiffies();
    Meter meter;
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.start(QStringLiteral(PICTARIUM_CLI_BIN), lstArguments);
    cli.waitForStarted();
    const QString strStatus = QStringLiteral("/proc/%1/status").arg(cli.processId());
    while (!cli.waitForFinished(50)) {
        QFile status(strStatus);
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray& baLine : status.readAll().split('\n'))
                if (baLine.startsWith("VmHWM:"))
                    run.peakMiB = std::max(run.peakMiB, baLine.mid(6).trimmed().split(' ').value(0).toDouble() / 1024);
    }
    run.cost = meter.elapsed();
    const auto end = cpuJiffies();
    run.busy = double(end.first - start.first) / double(std::max<qint64>(1, end.second - start.second));
    run.ok = cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0;
    return run;
}

// Conversion alone, in process: every record is taken as soon as it is handed over; they are
// kept in pRecords, or their renditions deleted. pdBusy: how busy the cores were meanwhile.
double convertAlone(const QStringList& lstPhotos, double* pdBusy, QList<RenditionRecord>* pRecords = nullptr)
{
    const auto start = cpuJiffies();
    UploadJobList lstJobs;
    for (const QString& strPhoto : lstPhotos)
        lstJobs.append({{JobLocalPath, strPhoto}, {JobDestination, QString()}});
    UploadQueue queue;
    queue.total = int(lstJobs.size());
    ServerProfile profile;
    FileConverter converter(&queue, &lstJobs, profile);
    QElapsedTimer timer;
    timer.start();
    converter.start();
    while (queue.tryAcquire(1, 600000)) {
        const RenditionRecord record = queue.takeRecord();
        if (pRecords)
            pRecords->append(record);
        else if (record.value(KeyUploadType) != QLatin1String("ORIG_FILE"))
            QFile::remove(record.value(KeyPath));
        if (record.contains(KeyJobLast))
            break;
    }
    converter.wait();
    const auto end = cpuJiffies();
    *pdBusy = double(end.first - start.first) / double(std::max<qint64>(1, end.second - start.second));
    return double(timer.nsecsElapsed()) / 1e9;
}

// Upload alone, in process: the records of a finished conversion, sent to the album.
double uploadAlone(const RefServerProcess& server, QList<RenditionRecord> lstRecords, const QString& strAlbum)
{
    QNetworkAccessManager nam;
    ServerProfile profile;
    ProfileStore::fillRecord(profile, QStringLiteral("bench"), server.host(), server.port(), false,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, false,
                             QStringLiteral("OVERWRITE"), QString(), {});
    if (!logIn(&nam, &profile))
        return -1;
    UploadQueue queue;
    int nFiles = 0;
    for (RenditionRecord& record : lstRecords) {
        record.insert(KeyDestination, strAlbum);
        nFiles += record.value(KeyUploadType) == QLatin1String("ORIG_FILE") ? 1 : 0;
        queue.handOver(record);
    }
    queue.total = nFiles;
    FileUploader uploader(&queue, &nam, &profile, RunMode::UploadHandOver);
    QEventLoop loop;
    QObject::connect(&uploader, &FileUploader::signalUploadFinished, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    uploader.start();
    loop.exec();
    const double dSeconds = double(timer.nsecsElapsed()) / 1e9;
    uploader.wait();
    return queue.succeeded == nFiles ? dSeconds : -1;
}

// The same five thumbnails per photo with `vipsthumbnail`, the largest first and the smaller
// ones from it, two photos at a time.
double vipsTwoAtATime(const QStringList& lstPhotos, const QString& strOut)
{
    QElapsedTimer timer;
    timer.start();
    auto script = [&](const QString& strPhoto, int i) {
        const QString strBase = strOut + QStringLiteral("/v%1_").arg(i);
        QString strCommand = QStringLiteral("vipsthumbnail '%1' -s 1280 -o '%2xl.jpg[Q=80,strip]'").arg(strPhoto, strBase);
        for (int iSize : {800, 640, 320, 120})
            strCommand += QStringLiteral(" && vipsthumbnail '%1xl.jpg' -s %2 -o '%1%2.jpg[Q=80,strip]'").arg(strBase).arg(iSize);
        return strCommand;
    };
    for (int i = 0; i < lstPhotos.size(); i += 2) {
        QList<QProcess*> lstRunning;
        for (int j = i; j < std::min(int(lstPhotos.size()), i + 2); ++j) {
            auto* pProcess = new QProcess;
            pProcess->start(QStringLiteral("sh"), {QStringLiteral("-c"), script(lstPhotos.at(j), j)});
            lstRunning.append(pProcess);
        }
        for (QProcess* pProcess : lstRunning) {
            pProcess->waitForFinished(600000);
            delete pProcess;
        }
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

double fivethumbs(const QString& strPhoto, ImageThumbnailer::Engine engine)
{
    ImageThumbnailer thumbnailer;
    thumbnailer.setEngine(engine);
    QElapsedTimer timer;
    timer.start();
    thumbnailer.makeThumbnails(strPhoto, TempFiles::nextConversionId());
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int nPhotos = argc > 1 ? std::max(1, atoi(argv[1])) : 12;
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QLatin1String("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QLatin1String("/config")));
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    qputenv("QT_LOGGING_RULES", "*.debug=false");

    std::printf("bench_batch: %d photos of 6000x4000 on %d cores\n", nPhotos, QThread::idealThreadCount());
    const QString strPhotos = dir.path() + QLatin1String("/photos");
    const QString strFirst = strPhotos + QLatin1String("/IMG_0001.JPG");
    if (!MediaFixtures::makeJpeg(strFirst, 6000, 4000)) {
        std::fprintf(stderr, "bench_batch: cannot make the photos\n");
        return 1;
    }
    QStringList lstPhotos{strFirst};
    for (int i = 2; i <= nPhotos; ++i) {
        lstPhotos.append(strPhotos + QStringLiteral("/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0')));
        QFile::copy(strFirst, lstPhotos.last());
    }

    const double dOneBefore = fivethumbs(strFirst, ImageThumbnailer::Tools);
    const double dOneAfter = fivethumbs(strFirst, ImageThumbnailer::Fast);
    TempFiles::emptyFolder();

    RefServerProcess server(dir.path() + QLatin1String("/server"));
    QDir().mkpath(server.root() + QLatin1String("/photo/before"));
    QDir().mkpath(server.root() + QLatin1String("/photo/after"));
    QDir().mkpath(server.root() + QLatin1String("/photo/plain"));
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!server.start()) {
        std::fprintf(stderr, "bench_batch: the reference server does not start\n");
        return 1;
    }
    qputenv("PICTARIUM_PASSWORD", "pw");
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess::execute(QStringLiteral(PICTARIUM_CLI_BIN),
                      {"add-profile", "--name", "bench", "--host", server.host(), "--port",
                       QString::number(server.port()), "--account", "ann", "--remember-password"});
    const QStringList lstUpload{"upload", "--profile", "bench", "--no-skip-uploaded", "--no-date-rename"};

    QProcessEnvironment before = env;
    before.insert(QStringLiteral("PICTARIUM_THUMBNAIL_ENGINE"), QStringLiteral("convert"));
    before.insert(QStringLiteral("PICTARIUM_CONVERT_JOBS"), QStringLiteral("1"));
    const Run runBefore = runCli(before, lstUpload + QStringList{"--album", "/photo/before", strPhotos});
    const Run runAfter = runCli(env, lstUpload + QStringList{"--album", "/photo/after", strPhotos});


    qputenv("PICTARIUM_THUMBNAIL_ENGINE", "convert");
    qputenv("PICTARIUM_CONVERT_JOBS", "1");
    double dBusyBefore = 0;
    const double dConvertBefore = convertAlone(lstPhotos, &dBusyBefore);
    qunsetenv("PICTARIUM_THUMBNAIL_ENGINE");
    qunsetenv("PICTARIUM_CONVERT_JOBS");
    QList<RenditionRecord> lstRecords;
    double dBusyAfter = 0;
    const double dConvertAfter = convertAlone(lstPhotos, &dBusyAfter, &lstRecords);
    VelmLocale::fillMessageTable();
    AppIdentity::ensureDataFolder();
    VelmDatabase::open();
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    const double dUpload = uploadAlone(server, lstRecords, QStringLiteral("plain"));
    VelmDatabase::close();
    QDir().mkpath(dir.path() + QLatin1String("/vips"));
    const double dVips = vipsTwoAtATime(lstPhotos, dir.path() + QLatin1String("/vips"));
    server.stop();

    const QStringList lstStored = QDir(server.root() + QLatin1String("/photo/after/photos")).entryList(QDir::Files);
    const bool blStored = lstStored.size() == nPhotos;
    if (!blStored)
        std::fprintf(stderr, "stored: %s\n", qPrintable(lstStored.join(QLatin1Char(' '))));
    std::printf("five thumbnails of one photo: before %.2f s, now %.2f s (%.2fx faster)\n", dOneBefore, dOneAfter,
                dOneBefore / dOneAfter);
    std::printf("libvips command line, two photos at a time: %.2f s\n", dVips);
    const struct
    {
        const char* pszName;
        const Run& run;
        double dConvert;
        double dConvertBusy;
    } rows[] = {{"before", runBefore, dConvertBefore, dBusyBefore}, {"now   ", runAfter, dConvertAfter, dBusyAfter}};
    for (const auto& row : rows) {
        std::printf("%s: batch %.2f s wall (%.2fx libvips), CPU %.2f s, cores busy %.0f%%, peak %.0f MiB; "
                    "conversion alone %.2f s (cores busy %.0f%%)%s\n",
                    row.pszName, row.run.cost.wall, row.run.cost.wall / dVips, row.run.cost.cpu, row.run.busy * 100,
                    row.run.peakMiB, row.dConvert, row.dConvertBusy * 100, row.run.ok ? "" : " (the upload failed)");
    }
    std::printf("upload alone (the photos and their thumbnails, converted before): %.2f s\n", dUpload);
    std::printf("the server holds all %d photos of the second batch: %s\n", nPhotos, blStored ? "yes" : "no");
    return runBefore.ok && runAfter.ok && dUpload > 0 && blStored ? 0 : 1;
}
