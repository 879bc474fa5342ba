// upload: files and folders to an album, with a progress line and a report at the end.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "VelmLocale.h"
#include "store/ServerProfile.h"
#include "upload/UploadPlan.h"
#include "upload/UploadQueue.h"
#include "upload/UploadRun.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace Cli {

namespace {

QString progressLine(UploadQueue& queue, int iPercent, const QElapsedTimer& timer, qint64 llTotalBytes)
{
    const double dSeconds = timer.elapsed() / 1000.0;
    const double dRate = dSeconds > 0 ? llTotalBytes * (iPercent / 100.0) / dSeconds / 1048576.0 : 0;
    QString strLeft = QStringLiteral("--:--");
    if (iPercent > 0 && iPercent < 100) {
        const int iLeft = int(dSeconds * (100 - iPercent) / iPercent);
        strLeft = QStringLiteral("%1:%2").arg(iLeft / 60, 2, 10, QLatin1Char('0')).arg(iLeft % 60, 2, 10, QLatin1Char('0'));
    }
    return QStringLiteral("%1% %2/%3 %4 %5 MB/s %6 left")
        .arg(iPercent)
        .arg(queue.succeeded + queue.failed)
        .arg(queue.totalFiles)
        .arg(safe(queue.currentFileName()))
        .arg(dRate, 0, 'f', 1)
        .arg(strLeft);
}

// The album a job goes to, as a destination text ("/photo/2013").
QString albumOf(const UploadJob& job)
{
    const QString strDir = job.value(JobDestination);
    return strDir.isEmpty() ? QStringLiteral("/photo") : QLatin1String("/photo/") + strDir;
}

// What a run would do, without asking the server: each job with its album and stored name
// (a folder becomes an album of its own name), then what is skipped and left out.
int printPlan(const ServerProfile& profile, const UploadJobList& lstJobs, const UploadJobList& lstSkipped,
              const UploadPlan::LeftOutList& lstLeftOut, bool blJson)
{
    auto storedName = [](const UploadJob& job, bool blFolder) {
        return blFolder ? QFileInfo(job.value(JobLocalPath)).fileName() : job.value(JobStoredName);
    };
    if (blJson) {
        QJsonArray send;
        for (const UploadJob& job : lstJobs) {
            const bool blFolder = QFileInfo(job.value(JobLocalPath)).isDir();
            send.append(QJsonObject{{"path", QDir::toNativeSeparators(job.value(JobLocalPath))},
                                    {"album", albumOf(job)},
                                    {"name", storedName(job, blFolder)},
                                    {"kind", blFolder ? QStringLiteral("folder") : QStringLiteral("file")}});
        }
        QJsonArray skipped;
        for (const UploadJob& job : lstSkipped)
            skipped.append(QDir::toNativeSeparators(job.value(JobLocalPath)));
        QJsonArray leftOut;
        for (const auto& pair : lstLeftOut)
            leftOut.append(QJsonObject{{"path", pair.first}, {"reason", pair.second}});
        out(jsonLine(QJsonDocument(QJsonObject{{"dry_run", true},
                                               {"album", profile.serverdst},
                                               {"send", send},
                                               {"skipped", skipped},
                                               {"left_out", leftOut}})));
        return ExitOk;
    }
    out(QStringLiteral(
        "Dry run: nothing was sent, and the server was not asked (files it would refuse are not known)."));
    out(QStringLiteral("Album: %1").arg(profile.serverdst));
    out(QStringLiteral("To send: %1").arg(lstJobs.size()));
    for (const UploadJob& job : lstJobs) {
        const bool blFolder = QFileInfo(job.value(JobLocalPath)).isDir();
        out(QStringLiteral("  %1 -> %2/%3%4")
                .arg(safe(QDir::toNativeSeparators(job.value(JobLocalPath))), safe(albumOf(job)),
                     safe(storedName(job, blFolder)), blFolder ? QStringLiteral(" (album)") : QString()));
    }
    out(QStringLiteral("Skipped (already uploaded): %1").arg(lstSkipped.size()));
    for (const UploadJob& job : lstSkipped)
        out(QStringLiteral("  ") + safe(QDir::toNativeSeparators(job.value(JobLocalPath))));
    out(QStringLiteral("Left out: %1").arg(lstLeftOut.size()));
    for (const auto& pair : lstLeftOut)
        out(QStringLiteral("  ") + safe(pair.first) + QLatin1String(": ") + safe(pair.second));
    return ExitOk;
}

// The album to upload to, made plain; or an exit code, the reason printed.
int checkAlbum(const QString& strAlbum, QString& strNormalized)
{
    const QString strProblem = UploadPlan::destinationProblem(strAlbum, strNormalized);
    if (!strProblem.isEmpty())
        return fail(strProblem);
    return ExitOk;
}

// The options, as the options page would set them; an exit code, the reason printed.
int applyOptions(const QCommandLineParser& parser, const QString& strAlbum, ServerProfile& profile)
{
    QString strNormalized = strAlbum;
    if (strNormalized.isEmpty()) {
        // The profile's last album, stored by an earlier run or another program, is checked too.
        const QString strStored = profile.serverdst.isEmpty() ? QStringLiteral("/photo") : profile.serverdst;
        if (const int iCode = checkAlbum(strStored, strNormalized))
            return iCode;
    }
    profile.serverdst = strNormalized;
    if (parser.isSet(QStringLiteral("duplicates"))) {
        const QString strPolicy = parser.value(QStringLiteral("duplicates")).toUpper();
        if (strPolicy != QLatin1String("OVERWRITE") && strPolicy != QLatin1String("RENAME") &&
            strPolicy != QLatin1String("SKIP"))
            return usage(QStringLiteral("--duplicates takes overwrite, rename or skip."));
        profile.duphandler = strPolicy;
    }
    if (profile.duphandler.isEmpty())
        profile.duphandler = QStringLiteral("RENAME");
    profile.idxonly = !parser.isSet(QStringLiteral("all-files"));
    profile.incbackup = !parser.isSet(QStringLiteral("no-skip-uploaded"));
    profile.daterename = !parser.isSet(QStringLiteral("no-date-rename"));
    profile.keepfolders = !parser.isSet(QStringLiteral("flatten"));
    if (parser.isSet(QStringLiteral("video-quality"))) {
        const QStringList lstNames{"high", "medium", "low", "mobile"};
        QList<int> lstChosen;
        for (const QString& strQuality : parser.value(QStringLiteral("video-quality")).split(QLatin1Char(','))) {
            const int iQuality = int(lstNames.indexOf(strQuality.trimmed().toLower()));
            if (iQuality < 0)
                return usage(QStringLiteral("--video-quality takes high, medium, low and mobile, separated by commas."));
            lstChosen.append(iQuality);
        }
        profile.qualities.clear();
        for (int iQuality : {2, 1, 0, 3}) {
            if (lstChosen.contains(iQuality))
                profile.qualities.append(iQuality);
        }
    } else if (profile.qualities.isEmpty()) {
        profile.qualities = {1};
    }
    return ExitOk;
}

// Converts and sends the run's files with a progress line (on standard error with --json).
// Ctrl-C, SIGTERM, SIGHUP: stop like the wizard's Cancel; a second one ends the wait for a reply.
void transfer(UploadRun& run, StopSignals* pStop, bool blJson)
{
    FILE* pProgress = blJson ? stderr : stdout;
    const bool blTerminal = ::isatty(::fileno(pProgress));
    const qint64 llTotalBytes = run.totalBytes();
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    int iShown = -1;
    QString strShownFile;
    auto endLine = [&]() {
        if (blTerminal && iShown >= 0)
            std::fprintf(pProgress, "\n");
    };
    auto show = [&](int iPercent) {
        iPercent = qBound(qMax(iShown, 0), iPercent, 100);
        const QString strFile = run.queue()->currentFileName();
        if (iPercent == iShown && strFile == strShownFile)
            return;
        iShown = iPercent;
        strShownFile = strFile;
        const QString strLine = progressLine(*run.queue(), iPercent, timer, llTotalBytes);
        if (blTerminal)
            std::fprintf(pProgress, "\r%-78s", strLine.left(78).toLocal8Bit().constData());
        else
            std::fprintf(pProgress, "progress %s\n", strLine.toLocal8Bit().constData());
        std::fflush(pProgress);
    };
    QObject::connect(&run, &UploadRun::signalCompleteProgressChanged, &loop, show);
    QObject::connect(&run, &UploadRun::signalFinished, &loop, &QEventLoop::quit);
    QObject::connect(&run, &UploadRun::signalWaitingForReply, &loop, [&](const QString& strFile, int iSeconds) {
        endLine();
        fail(QStringLiteral("Stopping: waiting up to %1 s for the server to confirm %2. "
                            "Press Ctrl-C again to stop at once.")
                 .arg(iSeconds)
                 .arg(strFile),
             ExitFailed);
    });
    QObject::connect(pStop, &StopSignals::signalStop, &loop, [&run]() { run.cancel(); });
    run.start();
    loop.exec();
    QObject::disconnect(pStop, nullptr, &loop, nullptr);
    endLine();
    if (!run.report().stopReason.isEmpty())
        fail(run.report().stopReason, ExitFailed);
}

// The report at the end, as text or as one line of JSON.
void printReport(const UploadRun::Report& report, bool blJson)
{
    auto pairs = [](const UploadRun::Rows& lstPairs, const char* pszName, const char* pszText) {
        QJsonArray array;
        for (const auto& pair : lstPairs)
            array.append(QJsonObject{{QLatin1String(pszName), pair.first}, {QLatin1String(pszText), pair.second}});
        return array;
    };
    if (blJson) {
        QJsonObject json{{"uploaded", QJsonArray::fromStringList(report.uploaded)},
                         {"skipped", QJsonArray::fromStringList(report.skipped)},
                         {"left_out", pairs(report.leftOut, "path", "reason")},
                         {"refused", QJsonArray::fromStringList(report.refused)},
                         {"failed", pairs(report.failed, "file", "error")},
                         {"not_sent", pairs(report.notSent, "file", "reason")},
                         {"incomplete", pairs(report.notes, "file", "missing")},
                         {"cancelled", report.cancelled},
                         {"succeeded", int(report.uploaded.size())},
                         {"failed_count", int(report.failed.size())}};
        if (!report.stopReason.isEmpty())
            json.insert(QStringLiteral("stopped"), report.stopReason);
        out(jsonLine(QJsonDocument(json)));
        return;
    }
    auto list = [](const QString& strTitle, const UploadRun::Rows& lstPairs) {
        out(strTitle.arg(lstPairs.size()));
        for (const auto& pair : lstPairs)
            out(QStringLiteral("  ") + safe(pair.first) + QLatin1String(": ") + safe(pair.second));
    };
    out(QStringLiteral("Uploaded: %1").arg(report.uploaded.size()));
    list(QStringLiteral("Uploaded, with a note: %1"), report.notes);
    out(QStringLiteral("Skipped (already uploaded): %1").arg(report.skipped.size()));
    list(QStringLiteral("Left out: %1"), report.leftOut);
    out(QStringLiteral("Refused by the server: %1").arg(report.refused.size()));
    for (const QString& strRefused : report.refused)
        out(QStringLiteral("  ") + safe(strRefused));
    list(QStringLiteral("Failed: %1"), report.failed);
    list(QStringLiteral("Not sent: %1"), report.notSent);
    if (report.cancelled)
        out(QStringLiteral("Cancelled."));
}

} // namespace

int upload(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    const QStringList lstPaths = parser.positionalArguments().mid(1);
    if (lstPaths.isEmpty())
        return usage(QStringLiteral("Name the files or folders to upload."));
    for (const QString& strPath : lstPaths) {
        if (!QFileInfo::exists(strPath))
            return fail(QStringLiteral("No such file or folder: %1. Check the path.").arg(strPath));
    }
    // An album outside the photo share is refused before anything is looked up or sent.
    QString strAlbum;
    if (parser.isSet(QStringLiteral("album"))) {
        if (const int iCode = checkAlbum(parser.value(QStringLiteral("album")), strAlbum))
            return iCode;
    }
    ServerProfile profile;
    if (const int iCode = findProfile(parser.value(QStringLiteral("profile")), profile))
        return iCode;
    if (const int iCode = applyOptions(parser, strAlbum, profile))
        return iCode;

    // A dry run neither claims the profile, logs in nor writes: it only reads the history.
    const bool blDryRun = parser.isSet(QStringLiteral("dry-run"));
    const bool blJson = parser.isSet(QStringLiteral("json"));
    StopSignals* pStop = StopSignals::install();
    UploadRun run(pNam, &profile, RunMode::UploadHandOver);
    if (!blDryRun) {
        QString strRefusal;
        if (!run.claim(&strRefusal))
            return fail(strRefusal);
        if (const int iCode = logIn(pNam, &profile, loginFailedText()))
            return iCode;
    }
    run.plan(lstPaths, []() { QCoreApplication::processEvents(); });
    if (pStop->count() > 0)
        return cancelled();
    if (blDryRun)
        return printPlan(profile, run.jobs(), run.skippedJobs(), run.leftOut(), blJson);
    {
        const QMetaObject::Connection stopAnnounce =
            QObject::connect(pStop, &StopSignals::signalStop, &run, &UploadRun::cancel);
        QString strMessage;
        const UploadRun::Announced announced = run.announce(&strMessage);
        QObject::disconnect(stopAnnounce);
        if (announced == UploadRun::Announced::Cancelled || pStop->count() > 0)
            return cancelled();
        if (announced == UploadRun::Announced::Failed)
            return fail(strMessage, ExitFailed);
        if (announced == UploadRun::Announced::Ready)
            transfer(run, pStop, blJson);
    }
    const UploadRun::Report report = run.report();
    printReport(report, blJson);
    return !report.failed.isEmpty() || !report.notSent.isEmpty() || !report.refused.isEmpty() || report.cancelled
               ? ExitFailed
               : ExitOk;
}

} // namespace Cli
