// bench_reply_cap: the terminal program against a server that answers the login, the album
// list, the upload start or a file upload with an endless chunked body or a 2 GiB one. Prints,
// per case, the time, the program's peak resident memory and the first line it printed.

#include "MediaFixtures.h"
#include "RefServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Outcome
{
    double seconds = 0;
    double peakMiB = 0;
    int exitCode = -1;
    QString firstLine;
};

// Runs the terminal program, reading its peak resident size while it runs.
Outcome runCli(const QStringList& lstArguments)
{
    Outcome outcome;
    QElapsedTimer timer;
    timer.start();
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.start(QStringLiteral(PICTARIUM_CLI_BIN), lstArguments);
    cli.waitForStarted();
    const QString strStatus = QStringLiteral("/proc/%1/status").arg(cli.processId());
    while (!cli.waitForFinished(5)) {
        QFile status(strStatus);
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& baLine : status.readAll().split('\n')) {
            if (baLine.startsWith("VmHWM:"))
                outcome.peakMiB = std::max(outcome.peakMiB, baLine.mid(6).trimmed().split(' ').value(0).toDouble() / 1024);
        }
    }
    outcome.seconds = double(timer.nsecsElapsed()) / 1e9;
    outcome.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    outcome.firstLine = QString::fromUtf8(cli.readAllStandardError()).section(QLatin1Char('\n'), 0, 0).left(70);
    return outcome;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QLatin1String("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QLatin1String("/config")));
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    qputenv("PICTARIUM_PASSWORD", "pw");

    const QString strPhoto = dir.path() + QLatin1String("/IMG_0001.JPG");
    if (!MediaFixtures::makeJpeg(strPhoto, 640, 480)) {
        std::fprintf(stderr, "bench_reply_cap: cannot make the photo\n");
        return 1;
    }
    RefServerProcess server(dir.path() + QLatin1String("/server"));
    QDir().mkpath(server.root() + QLatin1String("/photo/2024"));
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!server.start()) {
        std::fprintf(stderr, "bench_reply_cap: the reference server does not start\n");
        return 1;
    }
    server.setPort(server.port());
    QProcess::execute(QStringLiteral(PICTARIUM_CLI_BIN),
                      {"add-profile", "--name", "bench", "--host", server.host(), "--port",
                       QString::number(server.port()), "--account", "ann", "--remember-password"});

    const QStringList lstUpload{"upload", "--profile", "bench", "--album", "/photo/2024", "--no-skip-uploaded", strPhoto};
    const QStringList lstAlbums{"albums", "--profile", "bench"};
    struct Case
    {
        const char* pszName;
        const char* pszPath; // nullptr: a sound server
        bool blAlbums;
    };
    const Case cases[] = {{"sound server, upload", nullptr, false},
                          {"sound server, albums", nullptr, true},
                          {"login", "/blog/login.php", false},
                          {"album list", "/photo/include/rada_get_uploadable_album.php", true},
                          {"upload start", "/photo/include/rada_upload_init.php", false},
                          {"file upload", "/photo/include/rada_file_upload.php", false}};
    std::printf("%-22s %-10s %8s %10s %5s  %s\n", "answer to", "body", "seconds", "peak MiB", "exit", "first line");
    for (const Case& c : cases) {
        for (const char* pszOption : {"--endless-reply", "--oversized-reply"}) {
            if (!c.pszPath && QLatin1String(pszOption) == QLatin1String("--oversized-reply"))
                continue;
            server.stop();
            if (!server.start(c.pszPath ? QStringList{QLatin1String(pszOption), QLatin1String(c.pszPath)}
                                        : QStringList())) {
                std::fprintf(stderr, "bench_reply_cap: the reference server does not start again\n");
                return 1;
            }
            const Outcome outcome = runCli(c.blAlbums ? lstAlbums : lstUpload);
            const char* pszBody = !c.pszPath ? "-" : (pszOption[2] == 'e' ? "endless" : "2 GiB");
            std::printf("%-22s %-10s %8.2f %10.1f %5d  %s\n", c.pszName, pszBody, outcome.seconds, outcome.peakMiB,
                        outcome.exitCode, qPrintable(outcome.firstLine));
        }
    }
    return 0;
}
