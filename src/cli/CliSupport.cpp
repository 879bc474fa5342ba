#include "CliSupport.h"

#include "AppIdentity.h"
#include "CommandLine.h"
#include "StopSignals.h"
#include "TerminalPrompt.h"
#include "VelmLocale.h"
#include "protocol/SecurityConfirm.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"
#include "upload/UploadPlan.h"
#include "upload/UploadQueue.h"
#include "upload/UploadRun.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>

#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <unistd.h>

namespace {

// Why the database refuses, as far as it tells: the open error, else a read of the profile
// table, else (blWrite) a write to it that changes no row.
QString databaseReason(bool blWrite)
{
    QString strReason = VelmDatabase::lastErrorText().trimmed();
    QSqlQuery query(VelmDatabase::database());
    if (strReason.isEmpty() && !query.exec(QStringLiteral("SELECT count(*) FROM ServerProfiles")))
        strReason = query.lastError().text().trimmed();
    if (strReason.isEmpty() && blWrite &&
        !query.exec(QStringLiteral("UPDATE ServerProfiles SET profname = profname WHERE 0")))
        strReason = query.lastError().text().trimmed();
    return strReason.isEmpty() ? QStringLiteral("no reason given") : strReason;
}

} // namespace

namespace Cli {

TerminalPrompt& prompt()
{
    static TerminalPrompt s_prompt;
    return s_prompt;
}

QString safe(const QString& strText)
{
    return TerminalPrompt::safeText(strText);
}

void out(const QString& strText)
{
    std::fprintf(stdout, "%s\n", strText.toLocal8Bit().constData());
    std::fflush(stdout);
}

int fail(const QString& strText, int iCode)
{
    std::fprintf(stderr, "%s\n", safe(strText).toLocal8Bit().constData());
    std::fflush(stderr);
    return iCode;
}

// One line of JSON. The writer escapes C0 controls only: DEL and C1 controls are escaped here,
// so that the document stays plain and a terminal showing it is not steered.
QString jsonLine(const QJsonDocument& document)
{
    const QString strJson = QString::fromUtf8(document.toJson(QJsonDocument::Compact));
    QString strSafe;
    strSafe.reserve(strJson.size());
    for (const QChar c : strJson) {
        if (c.unicode() >= 0x7f && c.unicode() <= 0x9f)
            strSafe += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            strSafe += c;
    }
    return strSafe;
}

QString databaseError(bool blWrite)
{
    return VelmLocale::message("err_database").arg(databaseReason(blWrite));
}

int cancelled()
{
    return fail(QStringLiteral("Cancelled."), ExitFailed);
}

int logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile, const QString& strFailure)
{
    switch (SecurityConfirm::logInAndWait(&prompt(), pNam, pProfile, StopSignals::install())) {
    case SecurityConfirm::Outcome::Succeeded:
        return ExitOk;
    case SecurityConfirm::Outcome::NoPassword:
        return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
    case SecurityConfirm::Outcome::Cancelled:
        return cancelled();
    case SecurityConfirm::Outcome::CertificateRefused:
        // The prompt has told which certificates.
        return fail(pProfile->profname.isEmpty() || !ProfileStore::profileExists(pProfile->profname)
                        ? QStringLiteral("Nothing was sent. Give the new fingerprint with --fingerprint to trust it.")
                        : QStringLiteral("Nothing was sent. To trust the new certificate: pictarium-cli trust "
                                         "--profile '%1'")
                              .arg(pProfile->profname));
    case SecurityConfirm::Outcome::Failed:
        break;
    }
    return fail(strFailure);
}

QString loginFailedText()
{
    return QStringLiteral("Login failed. Check the profile's server and account, and the password.");
}

int findProfile(const QString& strName, ServerProfile& profile)
{
    if (strName.isEmpty())
        return usage(QStringLiteral("Name a profile with --profile."));
    bool blRead = false;
    const QStringList lstNames = ProfileStore::shortcutOrder(&blRead);
    if (!blRead)
        return fail(databaseError(false));
    if (!lstNames.contains(strName))
        return fail(QStringLiteral("No profile named [%1]. 'pictarium-cli profiles' lists them.").arg(strName));
    if (!ProfileStore::loadProfile(strName, profile, prompt()))
        return ExitUsage;
    return ExitOk;
}

int openProfile(const QString& strName, ServerProfile& profile, QNetworkAccessManager* pNam)
{
    if (const int iCode = findProfile(strName, profile))
        return iCode;
    return logIn(pNam, &profile, loginFailedText());
}

QString foundServersPath()
{
    return AppIdentity::dataFilePath(QStringLiteral("found-servers.json"));
}

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

} // namespace

// The album to upload to, made plain; or an exit code, the reason printed.
static int checkAlbum(const QString& strAlbum, QString& strNormalized)
{
    const QString strProblem = UploadPlan::destinationProblem(strAlbum, strNormalized);
    if (!strProblem.isEmpty())
        return fail(strProblem);
    return ExitOk;
}

// The options, as the options page would set them; an exit code, the reason printed.
static int applyOptions(const QCommandLineParser& parser, const QString& strAlbum, ServerProfile& profile)
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

int profileWithOptions(const QCommandLineParser& parser, ServerProfile& profile)
{
    // An album outside the photo share is refused before anything is looked up or sent.
    QString strAlbum;
    if (parser.isSet(QStringLiteral("album"))) {
        if (const int iCode = checkAlbum(parser.value(QStringLiteral("album")), strAlbum))
            return iCode;
    }
    if (const int iCode = findProfile(parser.value(QStringLiteral("profile")), profile))
        return iCode;
    return applyOptions(parser, strAlbum, profile);
}

// Ctrl-C, SIGTERM, SIGHUP: stop like the wizard's Cancel; a second one ends the wait for a reply.
void transfer(UploadRun& run, StopSignals* pStop, FILE* pProgress)
{
    const bool blTerminal = pProgress && ::isatty(::fileno(pProgress));
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
        if (!pProgress)
            return;
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

} // namespace Cli
