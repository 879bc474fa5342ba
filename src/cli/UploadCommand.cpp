// upload: files and folders to an album, with a progress line and a report at the end.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "TempFiles.h"
#include "VelmLocale.h"
#include "protocol/UploadInitRequest.h"
#include "store/ProfileRunLock.h"
#include "store/ProfileStore.h"
#include "store/UploadHistory.h"
#include "upload/FileConverter.h"
#include "upload/FileUploader.h"
#include "upload/UploadPlan.h"
#include "upload/UploadQueue.h"

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
        .arg(queue.total)
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
    if (!UploadPlan::normalizeDestination(strAlbum, strNormalized))
        return fail(VelmLocale::message("err_bad_destination").arg(strAlbum));
    return ExitOk;
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

    // Options, as the options page would set them.
    if (strAlbum.isEmpty()) {
        // The profile's last album, stored by an earlier run or another program, is checked too.
        const QString strStored = profile.serverdst.isEmpty() ? QStringLiteral("/photo") : profile.serverdst;
        if (const int iCode = checkAlbum(strStored, strAlbum))
            return iCode;
    }
    profile.serverdst = strAlbum;
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

    // A dry run neither locks, logs in nor writes: it only reads the history.
    const bool blDryRun = parser.isSet(QStringLiteral("dry-run"));
    StopSignals* pStop = StopSignals::install();
    std::unique_ptr<ProfileRunLock> pRunLock;
    if (!blDryRun) {
        // One run per profile at a time, and a history that can take what this run sends: both
        // are settled before anything is asked or sent.
        QString strReason;
        if (!UploadHistory::isWritable(false, &strReason))
            return fail(VelmLocale::message("err_history_write").arg(strReason));
        pRunLock = std::make_unique<ProfileRunLock>(profile.profname);
        if (!pRunLock->tryLock())
            return fail(pRunLock->refusal());
        if (const int iCode = logIn(pNam, &profile, loginFailedText()))
            return iCode;
    }

    UploadJobList lstJobs;
    UploadPlan::LeftOutList lstLeftOut;
    UploadPlan::collectJobs(lstPaths, UploadPlan::destinationDir(profile.serverdst), profile.keepfolders,
                            profile.idxonly, lstJobs, &lstLeftOut);
    UploadPlan::assignStoredNames(lstJobs, profile.daterename, []() { QCoreApplication::processEvents(); });
    // Albums made for folders are not files: the report names files only.
    QSet<QString> setFolders;
    for (const UploadJob& job : std::as_const(lstJobs)) {
        if (QFileInfo(job.value(JobLocalPath)).isDir())
            setFolders.insert(QFileInfo(job.value(JobLocalPath)).fileName());
    }
    UploadJobList lstSkippedJobs;
    if (profile.incbackup)
        lstSkippedJobs =
            UploadPlan::dropUploaded(lstJobs, profile.profname, []() { QCoreApplication::processEvents(); });
    if (pStop->count() > 0)
        return cancelled();
    const bool blJson = parser.isSet(QStringLiteral("json"));
    if (blDryRun)
        return printPlan(profile, lstJobs, lstSkippedJobs, lstLeftOut, blJson);
    QStringList lstSkipped;
    for (const UploadJob& job : std::as_const(lstSkippedJobs))
        lstSkipped.append(QFileInfo(job.value(JobLocalPath)).fileName());
    UploadInitRequest init;
    {
        const QMetaObject::Connection stopInit =
            QObject::connect(pStop, &StopSignals::signalStop, &init, &UploadInitRequest::cancel);
        init.send(pNam, profile.baseUrl, lstJobs);
        QObject::disconnect(stopInit);
    }
    if (pStop->count() > 0)
        return cancelled();
    QStringList lstRefused;
    for (const UploadJob& job : std::as_const(lstJobs)) {
        const QString strServerPath = UploadInitRequest::serverPath(job);
        if (init.noPrivilegePaths().contains(strServerPath))
            lstRefused.append(strServerPath.mid(1).remove(QRegularExpression(QStringLiteral("^/"))));
        else if (init.duplicatedPaths().contains(strServerPath) && QFileInfo(job.value(JobLocalPath)).isDir())
            lstSkipped.append(QFileInfo(job.value(JobLocalPath)).fileName());
    }
    init.filterJobs(lstJobs);

    auto filesOnly = [&setFolders](const QStringList& lstNames) {
        QStringList lstFiles;
        for (const QString& strName : lstNames) {
            if (!setFolders.contains(strName))
                lstFiles.append(strName);
        }
        return lstFiles;
    };
    lstSkipped = filesOnly(lstSkipped);

    // With --json standard output holds the report only: progress goes to standard error.
    FILE* pProgress = blJson ? stderr : stdout;
    const bool blTerminal = ::isatty(::fileno(pProgress));
    UploadQueue queue;
    queue.total = int(lstJobs.size());
    bool blCancelled = false;
    QString strStopReason;
    qint64 llTotalBytes = 0;
    for (const UploadJob& job : std::as_const(lstJobs))
        llTotalBytes += QFileInfo(job.value(JobLocalPath)).size();

    if (!lstJobs.isEmpty()) {
        FileConverter converter(&queue, &lstJobs, profile);
        FileUploader uploader(&queue, pNam, &profile, RunMode::UploadHandOver);
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
            const QString strFile = queue.currentFileName();
            if (iPercent == iShown && strFile == strShownFile)
                return;
            iShown = iPercent;
            strShownFile = strFile;
            const QString strLine = progressLine(queue, iPercent, timer, llTotalBytes);
            if (blTerminal)
                std::fprintf(pProgress, "\r%-78s", strLine.left(78).toLocal8Bit().constData());
            else
                std::fprintf(pProgress, "progress %s\n", strLine.toLocal8Bit().constData());
            std::fflush(pProgress);
        };
        QObject::connect(&converter, &FileConverter::signalCompleteProgressChanged, &loop, show);
        QObject::connect(&uploader, &FileUploader::signalCompleteProgressChanged, &loop, show);
        QObject::connect(&uploader, &FileUploader::signalUploadFinished, &loop, &QEventLoop::quit);
        QObject::connect(&uploader, &FileUploader::signalWaitingForReply, &loop,
                         [&](const QString& strFile, int iSeconds) {
                             endLine();
                             fail(QStringLiteral("Stopping: waiting up to %1 s for the server to confirm %2. "
                                                 "Press Ctrl-C again to stop at once.")
                                      .arg(iSeconds)
                                      .arg(strFile),
                                  ExitFailed);
                         });

        // Ctrl-C, SIGTERM, SIGHUP: stop like the wizard's Cancel; the report still follows. A
        // second one stops the wait for a reply at once.
        QObject::connect(pStop, &StopSignals::signalStop, &loop, [&]() {
            blCancelled = true;
            converter.requestStop();
            uploader.cancel();
        });

        converter.start(QThread::InheritPriority);
        uploader.start(QThread::InheritPriority);
        loop.exec();
        QObject::disconnect(pStop, nullptr, &loop, nullptr);
        converter.requestStop();
        converter.wait();
        uploader.wait();
        endLine();
        strStopReason = uploader.stopReason();
        if (!strStopReason.isEmpty())
            fail(strStopReason, ExitFailed);
        ProfileStore::saveUploadOptions(profile);
        ProfileStore::countUploadRun(profile.profname);
        TempFiles::emptyFolder();
        queue.collectNotSent(lstJobs, VelmLocale::message("err_not_sent"));
    }

    const QStringList lstUploaded = filesOnly(queue.successes);
    auto pairs = [](const QList<QPair<QString, QString>>& lstPairs, const char* pszName, const char* pszText) {
        QJsonArray array;
        for (const auto& pair : lstPairs)
            array.append(QJsonObject{{QLatin1String(pszName), pair.first}, {QLatin1String(pszText), pair.second}});
        return array;
    };
    if (blJson) {
        QJsonObject report{{"uploaded", QJsonArray::fromStringList(lstUploaded)},
                           {"skipped", QJsonArray::fromStringList(lstSkipped)},
                           {"left_out", pairs(lstLeftOut, "path", "reason")},
                           {"refused", QJsonArray::fromStringList(lstRefused)},
                           {"failed", pairs(queue.failures, "file", "error")},
                           {"not_sent", pairs(queue.notSent, "file", "reason")},
                           {"incomplete", pairs(queue.notes, "file", "missing")},
                           {"cancelled", blCancelled},
                           {"succeeded", int(lstUploaded.size())},
                           {"failed_count", queue.failed}};
        if (!strStopReason.isEmpty())
            report.insert(QStringLiteral("stopped"), strStopReason);
        out(jsonLine(QJsonDocument(report)));
    } else {
        auto list = [](const QString& strTitle, const QList<QPair<QString, QString>>& lstPairs) {
            out(strTitle.arg(lstPairs.size()));
            for (const auto& pair : lstPairs)
                out(QStringLiteral("  ") + safe(pair.first) + QLatin1String(": ") + safe(pair.second));
        };
        out(QStringLiteral("Uploaded: %1").arg(lstUploaded.size()));
        list(QStringLiteral("Uploaded, with a note: %1"), queue.notes);
        out(QStringLiteral("Skipped (already uploaded): %1").arg(lstSkipped.size()));
        list(QStringLiteral("Left out: %1"), lstLeftOut);
        out(QStringLiteral("Refused by the server: %1").arg(lstRefused.size()));
        for (const QString& strRefused : std::as_const(lstRefused))
            out(QStringLiteral("  ") + safe(strRefused));
        list(QStringLiteral("Failed: %1"), queue.failures);
        list(QStringLiteral("Not sent: %1"), queue.notSent);
        if (blCancelled)
            out(QStringLiteral("Cancelled."));
    }
    return queue.failed > 0 || !queue.notSent.isEmpty() || !lstRefused.isEmpty() || blCancelled ? ExitFailed
                                                                                                   : ExitOk;
}

} // namespace Cli
