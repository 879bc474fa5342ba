// pictarium-cli watch: catch-up of 10,000 photos the history holds already (time, peak memory),
// the CPU a watcher uses while nothing changes, and the time from a file's last write to its upload.

#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "store/UploadHistory.h"
#include "store/VelmDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const int PhotoCount = 10000;

// utime + stime of a process, in seconds.
double cpuSeconds(qint64 llPid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(llPid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray baStat = stat.readAll();
    const QList<QByteArray> lstFields = baStat.mid(baStat.lastIndexOf(')') + 2).split(' ');
    return (lstFields.value(11).toDouble() + lstFields.value(12).toDouble()) / double(::sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // A private data folder, for this process and the programs it starts.
    QTemporaryDir root;
    struct
    {
        QString strRoot;
        QString root() const { return strRoot; }
    } env{root.path()};
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.path() + QLatin1String("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.path() + QLatin1String("/config")));
    qputenv("DBUS_SESSION_BUS_ADDRESS", "");
    QTemporaryDir serverDir;
    RefServerProcess server(serverDir.path() + QLatin1String("/server"));
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!server.start()) {
        std::fprintf(stderr, "the reference server did not start\n");
        return 1;
    }
    QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
    pe.insert(QStringLiteral("PICTARIUM_PASSWORD"), QStringLiteral("pw"));
    auto runCli = [&](const QStringList& lstArgs) {
        QProcess process;
        process.setProcessEnvironment(pe);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral(PICTARIUM_CLI_BIN), lstArgs);
        process.waitForFinished(600000);
        return std::make_pair(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput() +
                                                                    process.readAllStandardError()));
    };
    const auto added = runCli({"add-profile", "--name", "home", "--host", server.host(), "--port",
                               QString::number(server.port()), "--account", "ann", "--remember-password"});
    if (added.first != 0) {
        std::fprintf(stderr, "add-profile: %s\n", qPrintable(added.second));
        return 1;
    }

    // 10,000 small photos in 10 folders, entered in the history directly.
    const QString strInbox = env.root() + QLatin1String("/inbox");
    const QString strSample = env.root() + QLatin1String("/sample.jpg");
    MediaFixtures::makeJpeg(strSample, 32, 24);
    if (!VelmDatabase::open() || !VelmDatabase::ensureTable(VelmDatabase::PhotoRecords)) {
        std::fprintf(stderr, "the database cannot be opened\n");
        return 1;
    }
    VelmDatabase::database().transaction();
    for (int i = 0; i < PhotoCount; ++i) {
        const QString strDir = strInbox + QStringLiteral("/f%1").arg(i / 1000);
        QDir().mkpath(strDir);
        const QString strPath = strDir + QStringLiteral("/p%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile::copy(strSample, strPath);
        UploadHistory::recordUploadedFile(strPath, QFileInfo(strPath).fileName(), QStringLiteral("home"));
    }
    VelmDatabase::database().commit();
    VelmDatabase::close();

    QElapsedTimer timer;
    timer.start();
    const auto once = runCli({"watch", "--profile", "home", "--no-date-rename", "--once", strInbox});
    const double dCatchUp = timer.elapsed() / 1000.0;
    struct rusage usage;
    ::getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("catch-up of %d photos in the history: %.2f s (target < 10 s), peak RSS of the largest child "
                "%.1f MB (target < 100 MB); exit %d: %s\n",
                PhotoCount, dCatchUp, usage.ru_maxrss / 1024.0, once.first, qPrintable(once.second.trimmed()));

    // Idle: a watcher of the same folders, after its catch-up, for 60 s.
    QProcess watcher;
    watcher.setProcessEnvironment(pe);
    watcher.setStandardInputFile(QProcess::nullDevice());
    watcher.start(QStringLiteral(PICTARIUM_CLI_BIN),
                  {"watch", "--profile", "home", "--no-date-rename", "--settle", "1", strInbox});
    watcher.waitForStarted();
    QByteArray baOut;
    while (!baOut.contains('\n') && watcher.waitForReadyRead(120000))
        baOut += watcher.readAllStandardOutput();
    const double dBefore = cpuSeconds(watcher.processId());
    QThread::sleep(60);
    const double dIdle = cpuSeconds(watcher.processId()) - dBefore;
    std::printf("idle CPU of a watcher over 60 s: %.3f s (target < 0.1 s)\n", dIdle);

    // Latency: from the last write of a new photo to its stored copy on the server, settle 1 s.
    const QString strNew = strInbox + QLatin1String("/new.jpg");
    const QString strTemp = env.root() + QLatin1String("/new.jpg");
    MediaFixtures::makeJpeg(strTemp, 640, 480);
    QFile::copy(strTemp, strNew);
    timer.restart();
    const QString strStored = server.root() + QLatin1String("/photo/inbox/new.jpg");
    while (!QFileInfo::exists(strStored) && timer.elapsed() < 60000) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    std::printf("last write to stored on the server: %.2f s (target: settle 1 s + under 2 s)\n",
                timer.elapsed() / 1000.0);
    ::kill(pid_t(watcher.processId()), SIGTERM);
    watcher.waitForFinished(30000);
    return 0;
}
