// watch: uploads the new and changed photos and videos of folders in batches, until stopped.

#include "AppIdentity.h"
#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "TerminalPrompt.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "protocol/SecurityConfirm.h"
#include "store/ProfileStore.h"
#include "store/ServerProfile.h"
#include "store/WatchStore.h"
#include "upload/DesktopNotifier.h"
#include "upload/FolderWatcher.h"
#include "upload/UploadRun.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMap>
#include <QSet>
#include <QTimer>

#include <utility>

namespace Cli {

namespace {

constexpr int MaxBackoffSeconds = 60;

// The terminal's prompt, but a warning that repeats the last one is not told again (a server
// that stays away is said once), and the last one is kept to tell a refused login from a
// server out of reach.
class WatchPrompt : public UserPrompt
{
public:
    void critical(const QString& strTitle, const QString& strText) override { prompt().critical(strTitle, strText); }
    void warning(const QString& strTitle, const QString& strText) override
    {
        m_strLast = strText;
        if (strText != m_strTold)
            prompt().warning(strTitle, strText);
        m_strTold = strText;
    }
    void information(const QString& strTitle, const QString& strText) override
    {
        prompt().information(strTitle, strText);
    }
    Button question(const QString& strTitle, const QString& strText, Button defaultButton) override
    {
        return prompt().question(strTitle, strText, defaultButton);
    }
    bool askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue) override
    {
        return prompt().askText(strTitle, strLabel, blPassword, strValue);
    }
    bool trustCertificate(const QString& strTitle, const QString& strText) override
    {
        return prompt().trustCertificate(strTitle, strText);
    }

    QString takeLast() { return std::exchange(m_strLast, QString()); }
    void forgetTold() { m_strTold.clear(); }

private:
    QString m_strLast;
    QString m_strTold;
};

// The server refused the account itself: trying again cannot help.
bool isRefusal(const QString& strMessage, const QString& strAccount)
{
    for (const char* pszKey : {"err_auth_fail", "err_account_disable", "err_login_autoblock", "err_photo_disable",
                               "err_photo_personal_disable", "err_photo_root_not_found"}) {
        if (strMessage == VelmLocale::message(pszKey))
            return true;
    }
    return strMessage == VelmLocale::message("err_account_invalid").arg(strAccount);
}

class Watcher : public QObject
{
public:
    enum class End { Done, Retry, Refused, Stopped };

    Watcher(QNetworkAccessManager* pNam, const ServerProfile& profile, FolderWatcher* pFolders, bool blJson)
        : m_pNam(pNam), m_profile(profile), m_pFolders(pFolders), m_blJson(blJson), m_pStop(StopSignals::install())
    {
        m_retry.setSingleShot(true);
        connect(&m_retry, &QTimer::timeout, this, &Watcher::batch);
    }

    // What a batch sends, by album: after a catch-up or a rescan every present folder; else the
    // files that settled, each to the album of its folder, and new folders whole (their albums made).
    QList<QPair<QString, QStringList>> batchGroups()
    {
        QList<QPair<QString, QStringList>> lstGroups;
        if (m_blFull) {
            lstGroups.append({m_profile.serverdst, m_pFolders->presentFolders()});
            return lstGroups;
        }
        auto albumOf = [this](const QString& strRoot, const QString& strDir) -> QString {
            if (!m_profile.keepfolders)
                return m_profile.serverdst;
            const QString strRelative = QDir(QFileInfo(strRoot).path()).relativeFilePath(strDir);
            return m_profile.serverdst + QLatin1Char('/') + strRelative;
        };
        QMap<QString, QSet<QString>> mapAlbums;
        for (const QString& strFile : std::as_const(m_setFiles)) {
            const QString strRoot = m_pFolders->rootOf(strFile);
            if (strRoot.isEmpty() || !QFileInfo::exists(strFile))
                continue;
            // The topmost new folder that holds the file is sent whole.
            QString strPath = strFile;
            for (QString strDir = QFileInfo(strFile).path(); strDir.size() > strRoot.size();
                 strDir = QFileInfo(strDir).path()) {
                if (m_setNewFolders.contains(strDir))
                    strPath = strDir;
            }
            mapAlbums[albumOf(strRoot, QFileInfo(strPath).path())].insert(strPath);
        }
        for (auto it = mapAlbums.cbegin(); it != mapAlbums.cend(); ++it)
            lstGroups.append({it.key(), QStringList(it.value().cbegin(), it.value().cend())});
        return lstGroups;
    }

    // One batch, a run per album; what was sent before is skipped through the history.
    End runBatch(WatchStore::Batch& counts, QString* pstrError)
    {
        const QStringList lstSettled = m_pFolders->takeSettled();
        m_setFiles.unite(QSet<QString>(lstSettled.cbegin(), lstSettled.cend()));
        m_blFull = m_pFolders->takeEventsLost() || m_blFull;
        m_setNewFolders.unite(m_pFolders->takeNewFolders());
        bool blLoggedIn = false;
        for (const auto& group : batchGroups()) {
            const End end = runGroup(group.first, group.second, &blLoggedIn, counts, pstrError);
            // A run keeps its album as the profile's last one: the watcher's own is kept instead.
            if (group.first != m_profile.serverdst)
                ProfileStore::saveUploadOptions(m_profile);
            if (end != End::Done)
                return end;
        }
        m_blFull = false;
        m_setFiles.clear();
        m_setNewFolders.clear();
        return End::Done;
    }

    End runGroup(const QString& strAlbum, const QStringList& lstPaths, bool* pblLoggedIn, WatchStore::Batch& counts,
                 QString* pstrError)
    {
        ServerProfile profile = m_profile;
        profile.serverdst = strAlbum;
        UploadRun run(m_pNam, &profile, RunMode::UploadHandOver);
        QString strRefusal;
        if (!run.claim(&strRefusal)) {
            // A run of the profile started by hand: the batch comes after it.
            if (strRefusal != m_strClaimTold)
                fail(strRefusal + QStringLiteral(" The watcher tries again later."), ExitFailed);
            m_strClaimTold = strRefusal;
            return End::Retry;
        }
        m_strClaimTold.clear();
        switch (*pblLoggedIn ? SecurityConfirm::Outcome::Succeeded
                             : SecurityConfirm::logInAndWait(&m_prompt, m_pNam, &profile, m_pStop)) {
        case SecurityConfirm::Outcome::Succeeded:
            *pblLoggedIn = true;
            m_prompt.forgetTold();
            break;
        case SecurityConfirm::Outcome::Cancelled:
            return End::Stopped;
        case SecurityConfirm::Outcome::NoPassword:
            *pstrError = QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or remember the "
                                        "password with the profile.");
            return End::Refused;
        case SecurityConfirm::Outcome::CertificateRefused:
            *pstrError = QStringLiteral("The server shows a new certificate. To trust it: pictarium-cli trust "
                                        "--profile '%1'")
                             .arg(profile.profname);
            return End::Refused;
        case SecurityConfirm::Outcome::Failed: {
            const QString strMessage = m_prompt.takeLast();
            if (isRefusal(strMessage, profile.account)) {
                *pstrError = strMessage.isEmpty() ? loginFailedText() : strMessage;
                return End::Refused;
            }
            return End::Retry;
        }
        }
        run.plan(lstPaths, []() { QCoreApplication::processEvents(); });
        if (m_pStop->count() > 0)
            return End::Stopped;
        const QMetaObject::Connection stopAnnounce =
            connect(m_pStop, &StopSignals::signalStop, &run, &UploadRun::cancel);
        QString strMessage;
        const UploadRun::Announced announced = run.announce(&strMessage);
        disconnect(stopAnnounce);
        if (announced == UploadRun::Announced::Cancelled || m_pStop->count() > 0)
            return End::Stopped;
        if (announced == UploadRun::Announced::Failed) {
            if (strMessage != m_strAnnounceTold)
                fail(strMessage, ExitFailed);
            m_strAnnounceTold = strMessage;
            return End::Retry;
        }
        m_strAnnounceTold.clear();
        if (announced == UploadRun::Announced::Ready)
            transfer(run, m_pStop, nullptr);
        const UploadRun::Report report = run.report();
        counts.sent += int(report.uploaded.size());
        counts.skipped += int(report.skipped.size());
        counts.failed += int(report.failed.size() + report.notSent.size() + report.refused.size());
        for (const auto& pair : report.failed)
            fail(QStringLiteral("%1: %2").arg(pair.first, pair.second), ExitFailed);
        if (report.cancelled)
            return End::Stopped;
        // The server went away during the batch: what was not sent waits for the next try.
        return report.stopReason.isEmpty() ? End::Done : End::Retry;
    }

    // The next batch reads every folder again.
    void setFull() { m_blFull = true; }

    void printBatch(const WatchStore::Batch& counts)
    {
        const QString strTime = counts.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (m_blJson)
            out(jsonLine(QJsonDocument(QJsonObject{{"time", counts.when.toLocalTime().toString(Qt::ISODate)},
                                                   {"sent", counts.sent},
                                                   {"skipped", counts.skipped},
                                                   {"failed", counts.failed}})));
        else
            out(QStringLiteral("%1 sent %2, skipped %3, failed %4")
                    .arg(strTime)
                    .arg(counts.sent)
                    .arg(counts.skipped)
                    .arg(counts.failed));
    }

    // Runs a batch unless one runs already (then another follows it); ends the loop when the
    // watcher must stop.
    void batch()
    {
        if (m_blInBatch) {
            m_blAgain = true;
            return;
        }
        m_retry.stop();
        m_blInBatch = true;
        m_blAgain = false;
        WatchStore::Batch counts;
        QString strError;
        const End end = runBatch(counts, &strError);
        m_blInBatch = false;
        counts.when = QDateTime::currentDateTime();
        if (end == End::Refused) {
            counts.error = strError;
            WatchStore::recordBatch(m_profile.profname, counts);
            fail(strError);
            DesktopNotifier::notify(QStringLiteral("Automatic upload stopped"),
                                    QStringLiteral("%1: %2").arg(m_profile.profname, strError));
            m_iExit = ExitUsage;
            m_loop.quit();
            return;
        }
        const bool blRan = counts.sent + counts.skipped + counts.failed > 0 || end == End::Done;
        if (blRan) {
            printBatch(counts);
            WatchStore::recordBatch(m_profile.profname, counts);
            if (counts.failed > 0 || WatchStore::settings(m_profile.profname).notifyAlways)
                DesktopNotifier::notify(counts.failed > 0 ? QStringLiteral("Upload finished with failures")
                                                          : QStringLiteral("Upload finished"),
                                        QStringLiteral("%1: %2 sent, %3 skipped, %4 failed")
                                            .arg(m_profile.profname)
                                            .arg(counts.sent)
                                            .arg(counts.skipped)
                                            .arg(counts.failed));
        }
        if (end == End::Stopped || m_pStop->count() > 0) {
            m_loop.quit();
            return;
        }
        if (end == End::Retry) {
            // Doubling from 1 s, at most a minute, while the files wait.
            m_iBackoff = m_iBackoff == 0 ? 1 : qMin(m_iBackoff * 2, MaxBackoffSeconds);
            m_retry.start(m_iBackoff * 1000);
            return;
        }
        m_iBackoff = 0;
        if (m_blAgain)
            QTimer::singleShot(0, this, &Watcher::batch);
    }

    int exec()
    {
        if (m_pStop->count() > 0)
            return ExitOk;
        connect(m_pStop, &StopSignals::signalStop, this, [this]() {
            if (!m_blInBatch)
                m_loop.quit();
        });
        QTimer::singleShot(0, this, &Watcher::batch);
        m_loop.exec();
        return m_iExit;
    }

private:
    QNetworkAccessManager* m_pNam;
    ServerProfile m_profile;
    FolderWatcher* m_pFolders;
    bool m_blJson;
    StopSignals* m_pStop;
    WatchPrompt m_prompt;
    QEventLoop m_loop;
    QTimer m_retry;
    bool m_blInBatch = false;
    bool m_blAgain = false;
    int m_iBackoff = 0;
    int m_iExit = ExitOk;
    QString m_strClaimTold;
    QString m_strAnnounceTold;
    bool m_blFull = true; // the first batch is the catch-up
    QSet<QString> m_setFiles;
    QSet<QString> m_setNewFolders;
};

// Held for the watcher's whole life: one watcher per profile. Batches take the run lock too.
QString watchLockPath(const QString& strProfile)
{
    const QByteArray baDigest = QCryptographicHash::hash(strProfile.toUtf8(), QCryptographicHash::Sha1).toHex();
    return AppIdentity::dataFilePath(QLatin1String("Watch-") + QString::fromLatin1(baDigest.left(16)) +
                                     QLatin1String(".lock"));
}

int numberOption(const QCommandLineParser& parser, const char* pszName, int iDefault, int iMax, int* piValue)
{
    *piValue = iDefault;
    if (!parser.isSet(QLatin1String(pszName)))
        return ExitOk;
    bool blOk = false;
    *piValue = parser.value(QLatin1String(pszName)).toInt(&blOk);
    if (!blOk || *piValue < 0 || *piValue > iMax)
        return usage(QStringLiteral("--%1 takes a whole number from 0 to %2.").arg(QLatin1String(pszName)).arg(iMax));
    return ExitOk;
}

} // namespace

int watch(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    int iSettle = 0;
    int iRescan = 0;
    if (const int iCode = numberOption(parser, "settle", 10, 3600, &iSettle))
        return iCode;
    if (const int iCode = numberOption(parser, "rescan", 15, 24 * 60, &iRescan))
        return iCode;
    ServerProfile profile;
    if (const int iCode = profileWithOptions(parser, profile))
        return iCode;
    QStringList lstFolders = parser.positionalArguments().mid(1);
    if (lstFolders.isEmpty())
        lstFolders = WatchStore::settings(profile.profname).folders;
    if (lstFolders.isEmpty())
        return usage(QStringLiteral("Name the folders to watch, or choose them for the profile [%1] in the desktop "
                                    "program.")
                         .arg(profile.profname));
    for (const QString& strFolder : std::as_const(lstFolders)) {
        if (!QFileInfo(strFolder).isDir())
            return fail(QStringLiteral("No such folder: %1. Check the path.").arg(strFolder));
    }
    const bool blOnce = parser.isSet(QStringLiteral("once"));
    QLockFile watchLock(watchLockPath(profile.profname));
    watchLock.setStaleLockTime(0);
    if (!blOnce && !watchLock.tryLock(0)) {
        return fail(watchLock.error() == QLockFile::LockFailedError
                        ? QStringLiteral("The folders of the profile [%1] are watched already by another process.")
                              .arg(profile.profname)
                        : VelmLocale::message("err_history_write").arg(QDir::toNativeSeparators(watchLock.fileName())));
    }

    FolderWatcher folders(lstFolders, iSettle);
    QString strError;
    if (!blOnce && !folders.start(&strError))
        return fail(strError);
    Watcher watcher(pNam, profile, &folders, parser.isSet(QStringLiteral("json")));
    QObject::connect(&folders, &FolderWatcher::signalSettled, &watcher, &Watcher::batch);
    QObject::connect(&folders, &FolderWatcher::signalFolderGone, &watcher, [](const QString& strFolder) {
        fail(QStringLiteral("The folder %1 is gone; it is watched again when it comes back.").arg(strFolder),
             ExitFailed);
    });
    QObject::connect(&folders, &FolderWatcher::signalFolderBack, &watcher, [](const QString& strFolder) {
        fail(QStringLiteral("The folder %1 is back.").arg(strFolder), ExitFailed);
    });
    if (blOnce) {
        // The catch-up alone, as upload would do it.
        WatchStore::Batch counts;
        const Watcher::End end = watcher.runBatch(counts, &strError);
        counts.when = QDateTime::currentDateTime();
        counts.error = strError;
        if (end == Watcher::End::Retry && counts.sent + counts.skipped + counts.failed == 0)
            return fail(loginFailedText());
        watcher.printBatch(counts);
        WatchStore::recordBatch(profile.profname, counts);
        if (end == Watcher::End::Refused)
            return fail(strError);
        return end == Watcher::End::Done && counts.failed == 0 ? ExitOk : ExitFailed;
    }
    QTimer rescan;
    if (iRescan > 0) {
        QObject::connect(&rescan, &QTimer::timeout, &watcher, [&folders, &watcher]() {
            folders.rescan();
            watcher.setFull();
            watcher.batch();
        });
        rescan.start(iRescan * 60 * 1000);
    }
    return watcher.exec();
}

} // namespace Cli
