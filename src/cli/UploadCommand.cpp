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
    ServerProfile profile;
    if (const int iCode = profileWithOptions(parser, profile))
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
            transfer(run, pStop, blJson ? stderr : stdout);
    }
    const UploadRun::Report report = run.report();
    printReport(report, blJson);
    return !report.failed.isEmpty() || !report.notSent.isEmpty() || !report.refused.isEmpty() || report.cancelled
               ? ExitFailed
               : ExitOk;
}

} // namespace Cli
