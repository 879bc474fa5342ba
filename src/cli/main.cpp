// pictarium-cli: profiles, albums and uploads from a terminal, over the same core as the
// upload wizard.

#include "AppIdentity.h"
#include "StopSignals.h"
#include "TerminalPrompt.h"
#include "VelmLocale.h"
#include "UploadWizard/FileConverter.h"
#include "UploadWizard/FileUploader.h"
#include "UploadWizard/TempFiles.h"
#include "UploadWizard/UploadPlan.h"
#include "UploadWizard/UploadQueue.h"
#include "protocol/SecurityConfirm.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "protocol/UploadInitRequest.h"
#include "store/ProfileRunLock.h"
#include "store/ProfileStore.h"
#include "store/UploadHistory.h"
#include "store/VelmDatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QHash>
#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTranslator>

#include <climits>
#include <cstdio>
#include <unistd.h>

namespace {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

TerminalPrompt s_prompt;

void out(const QString& strText)
{
    std::fprintf(stdout, "%s\n", strText.toLocal8Bit().constData());
    std::fflush(stdout);
}

int fail(const QString& strText, int iCode = ExitUsage)
{
    std::fprintf(stderr, "%s\n", strText.toLocal8Bit().constData());
    return iCode;
}

const char* const s_usage =
    "Usage: pictarium-cli COMMAND [OPTIONS]\n"
    "  profiles [--json]\n"
    "  add-profile --name N --host H --port P [--https] --account A [--personal OWNER] [--remember-password]\n"
    "  remove-profile NAME\n"
    "  albums --profile N\n"
    "  upload --profile N [--album /photo/...] [--duplicates overwrite|rename|skip] [--all-files]\n"
    "         [--no-skip-uploaded] [--no-date-rename] [--flatten] [--video-quality LIST] [--json] PATH...\n"
    "A password the profile does not remember comes from PICTARIUM_PASSWORD, from --password-fd N,\n"
    "or is asked on the terminal.";

int usage(const QString& strProblem = QString())
{
    if (!strProblem.isEmpty())
        std::fprintf(stderr, "%s\n", strProblem.toLocal8Bit().constData());
    std::fprintf(stderr, "%s\n", s_usage);
    return ExitUsage;
}

int cancelled()
{
    return fail(QStringLiteral("Cancelled."), ExitFailed);
}

// ExitOk when logged in; otherwise the exit code, the reason printed. Ctrl-C, SIGTERM and
// SIGHUP end the wait.
int logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile, const QString& strFailure)
{
    switch (SecurityConfirm::logInAndWait(&s_prompt, pNam, pProfile, StopSignals::install())) {
    case SecurityConfirm::Outcome::Succeeded:
        return ExitOk;
    case SecurityConfirm::Outcome::NoPassword:
        return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
    case SecurityConfirm::Outcome::Cancelled:
        return cancelled();
    case SecurityConfirm::Outcome::Failed:
        break;
    }
    return fail(strFailure);
}

const QString s_loginFailed = QStringLiteral("Login failed. Check the profile's server and account, and the password.");

// Profile name given, loaded, logged in; or an exit code.
int openProfile(const QString& strName, ServerProfile& profile, QNetworkAccessManager* pNam)
{
    if (strName.isEmpty())
        return usage(QStringLiteral("Name a profile with --profile."));
    if (!ProfileStore::listProfiles().contains(strName))
        return fail(QStringLiteral("No profile named [%1]. 'pictarium-cli profiles' lists them.").arg(strName));
    if (!ProfileStore::loadProfile(strName, profile, s_prompt))
        return ExitUsage;
    return logIn(pNam, &profile, s_loginFailed);
}

int listProfiles(bool blJson)
{
    QJsonArray array;
    for (const ProfileSummary& profile : ProfileStore::listProfiles()) {
        const QString strUrl = QStringLiteral("%1://%2:%3")
                                   .arg(profile.https ? QStringLiteral("https") : QStringLiteral("http"),
                                        profile.hostaddr, QString::number(profile.port));
        if (!blJson)
            out(profile.profname + QLatin1Char('\t') + strUrl + QLatin1Char('\t') + profile.account);
        array.append(QJsonObject{{"name", profile.profname},      {"host", profile.hostaddr},
                                 {"port", profile.port},          {"https", profile.https},
                                 {"account", profile.account},    {"personal", profile.personal},
                                 {"owner", profile.usrname},      {"remember_password", profile.savepass}});
    }
    if (blJson)
        out(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
    return ExitOk;
}

// A host name or IPv4 address as written: dot-separated labels of letters, digits and
// hyphens. Anything else is refused before a name lookup is ever made.
bool isHostSyntax(const QString& strHost)
{
    static const QRegularExpression s_label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (strHost.isEmpty() || strHost.size() > 253)
        return false;
    const QStringList lstLabels = strHost.split(QLatin1Char('.'));
    for (const QString& strLabel : lstLabels) {
        if (!s_label.match(strLabel).hasMatch())
            return false;
    }
    return true;
}

int addProfile(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    const QString strName = parser.value(QStringLiteral("name")).trimmed();
    const QString strHost = parser.value(QStringLiteral("host")).trimmed();
    const QString strAccount = parser.value(QStringLiteral("account")).trimmed();
    const QString strOwner = parser.value(QStringLiteral("personal")).trimmed();
    const bool blPersonal = parser.isSet(QStringLiteral("personal"));
    bool blPort = false;
    const int iPort = parser.value(QStringLiteral("port")).toInt(&blPort);

    if (strName.isEmpty())
        return fail(VelmLocale::message("err_profname_empty") + QLatin1String(" (--name)"));
    if (!blPort || iPort < 1 || iPort > 65535)
        return fail(VelmLocale::message("err_bad_port") + QLatin1String(" (--port)"));
    if (!isHostSyntax(strHost) || QHostInfo::fromName(strHost).addresses().isEmpty())
        return fail(VelmLocale::message("err_host_addr") + QLatin1String(" (--host)"));
    if (ProfileStore::profileExists(strName))
        return fail(VelmLocale::message("err_profname_duplicate").arg(strName) +
                    QLatin1String(" Choose another --name."));
    if (strAccount.isEmpty())
        return fail(VelmLocale::message("err_usrname_empty") + QLatin1String(" (--account)"));
    if (blPersonal && strOwner.isEmpty())
        return fail(VelmLocale::message("err_personal_empty") + QLatin1String(" (--personal OWNER)"));

    const bool blRemember = parser.isSet(QStringLiteral("remember-password"));
    ServerProfile profile;
    ProfileStore::fillRecord(profile, strName, strHost, iPort, parser.isSet(QStringLiteral("https")), strAccount,
                             QString(), false, strOwner, blPersonal, true, true, true, QStringLiteral("RENAME"),
                             QString(), {1});
    if (blRemember) {
        // The login test asks for the password once and keeps it for the profile.
        QString strPassword;
        if (!s_prompt.askText(AppIdentity::applicationTitle(), VelmLocale::message("msg_enter_pass").arg(strAccount),
                              true, strPassword))
            return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
        profile.password = strPassword;
        profile.savepass = true;
        if (const int iCode = logIn(pNam, &profile, QStringLiteral("The login test failed; the profile was not added.")))
            return iCode;
    }
    ProfileStore::insertProfile(profile);
    out(QStringLiteral("Profile [%1] added.").arg(strName));
    return ExitOk;
}

// Waits for a form request to the album endpoint; an empty reply object on failure.
ServerReply albumRequest(QNetworkAccessManager* pNam, const QString& strBaseUrl, const QByteArray& baBody,
                         QString* pstrError)
{
    QNetworkReply* pReply =
        ServerRequest::post(pNam, ServerRequest::buildForm(strBaseUrl, ServerRequest::AlbumListPath), baBody);
    QEventLoop loop;
    QObject::connect(pReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const ServerReply reply = ServerReply::classify(pReply);
    delete pReply;
    *pstrError = ReplyMessages::albumList(reply);
    return reply;
}

void printChildren(QNetworkAccessManager* pNam, const QString& strBaseUrl, const QString& strPath, int iDepth)
{
    QString strError;
    const ServerReply reply = albumRequest(
        pNam, strBaseUrl, "action=get_all_subalbum_list&path=" + ServerRequest::formValue(strPath), &strError);
    if (!strError.isEmpty())
        return;
    for (const QString& strName : reply.texts("sub_albums")) {
        out(QString(iDepth * 2, QLatin1Char(' ')) + strName);
        printChildren(pNam, strBaseUrl, strPath + QLatin1Char('/') + strName, iDepth + 1);
    }
}

int listAlbums(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    ServerProfile profile;
    if (const int iCode = openProfile(parser.value(QStringLiteral("profile")), profile, pNam))
        return iCode;
    QString strError;
    const ServerReply reply =
        albumRequest(pNam, profile.baseUrl, QByteArrayLiteral("action=get_uploadable_album_list"), &strError);
    if (!strError.isEmpty())
        return fail(strError);
    out(QStringLiteral("photo"));
    QStringList lstFirst;
    for (const QString& strPath : reply.texts("uploadable_albums")) {
        const QString strTop = strPath.section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
        if (!strTop.isEmpty() && !lstFirst.contains(strTop))
            lstFirst.append(strTop);
    }
    for (const QString& strTop : std::as_const(lstFirst)) {
        out(QStringLiteral("  ") + strTop);
        printChildren(pNam, profile.baseUrl, strTop, 2);
    }
    return ExitOk;
}

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
        .arg(queue.currentFileName())
        .arg(dRate, 0, 'f', 1)
        .arg(strLeft);
}

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
    const QString strName = parser.value(QStringLiteral("profile"));
    if (strName.isEmpty() || !ProfileStore::listProfiles().contains(strName))
        return openProfile(strName, profile, pNam);
    if (!ProfileStore::loadProfile(strName, profile, s_prompt))
        return ExitUsage;

    // Options, as the options page would set them.
    if (parser.isSet(QStringLiteral("album"))) {
        const QString strAlbum = parser.value(QStringLiteral("album"));
        if (strAlbum != QLatin1String("/photo") && !strAlbum.startsWith(QLatin1String("/photo/")))
            return usage(QStringLiteral("--album takes a path that starts with /photo."));
        profile.serverdst = strAlbum;
    }
    if (profile.serverdst.isEmpty())
        profile.serverdst = QStringLiteral("/photo");
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

    // One run per profile at a time, and a history that can take what this run sends: both
    // are settled before anything is asked or sent.
    QString strReason;
    if (!UploadHistory::isWritable(false, &strReason))
        return fail(VelmLocale::message("err_history_write").arg(strReason));
    ProfileRunLock runLock(profile.profname);
    if (!runLock.tryLock())
        return fail(runLock.refusal());
    StopSignals* pStop = StopSignals::install();
    if (const int iCode = logIn(pNam, &profile, s_loginFailed))
        return iCode;

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
    QStringList lstSkipped;
    if (profile.incbackup) {
        for (const UploadJob& job :
             UploadPlan::dropUploaded(lstJobs, profile.profname, []() { QCoreApplication::processEvents(); }))
            lstSkipped.append(QFileInfo(job.value(JobLocalPath)).fileName());
    }
    if (pStop->count() > 0)
        return cancelled();
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

    const bool blJson = parser.isSet(QStringLiteral("json"));
    const bool blTerminal = ::isatty(STDOUT_FILENO) && !blJson;
    UploadQueue queue;
    queue.total = int(lstJobs.size());
    bool blCancelled = false;
    QString strStopReason;
    qint64 llTotalBytes = 0;
    for (const UploadJob& job : std::as_const(lstJobs))
        llTotalBytes += QFileInfo(job.value(JobLocalPath)).size();

    if (!lstJobs.isEmpty()) {
        FileConverter converter(&queue, &lstJobs, profile);
        FileUploader uploader(&queue, pNam, &profile, 2);
        QEventLoop loop;
        QElapsedTimer timer;
        timer.start();
        int iShown = -1;
        QString strShownFile;
        auto endLine = [&]() {
            if (blTerminal && iShown >= 0)
                std::fprintf(stdout, "\n");
        };
        auto show = [&](int iPercent) {
            iPercent = qBound(qMax(iShown, 0), iPercent, 100);
            const QString strFile = queue.currentFileName();
            if (iPercent == iShown && strFile == strShownFile)
                return;
            iShown = iPercent;
            strShownFile = strFile;
            const QString strLine = progressLine(queue, iPercent, timer, llTotalBytes);
            if (blTerminal) {
                std::fprintf(stdout, "\r%-78s", strLine.left(78).toLocal8Bit().constData());
                std::fflush(stdout);
            } else {
                out(QLatin1String("progress ") + strLine);
            }
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
        out(QString::fromUtf8(QJsonDocument(report).toJson(QJsonDocument::Compact)));
    } else {
        auto list = [](const QString& strTitle, const QList<QPair<QString, QString>>& lstPairs) {
            out(strTitle.arg(lstPairs.size()));
            for (const auto& pair : lstPairs)
                out(QStringLiteral("  ") + pair.first + QLatin1String(": ") + pair.second);
        };
        out(QStringLiteral("Uploaded: %1").arg(lstUploaded.size()));
        list(QStringLiteral("Uploaded without some renditions: %1"), queue.notes);
        out(QStringLiteral("Skipped (already uploaded): %1").arg(lstSkipped.size()));
        list(QStringLiteral("Left out: %1"), lstLeftOut);
        out(QStringLiteral("Refused by the server: %1").arg(lstRefused.size()));
        for (const QString& strRefused : std::as_const(lstRefused))
            out(QStringLiteral("  ") + strRefused);
        list(QStringLiteral("Failed: %1"), queue.failures);
        list(QStringLiteral("Not sent: %1"), queue.notSent);
        if (blCancelled)
            out(QStringLiteral("Cancelled."));
    }
    return queue.failed > 0 || !queue.notSent.isEmpty() || !lstRefused.isEmpty() || blCancelled ? ExitFailed
                                                                                                   : ExitOk;
}

// Diagnostics are for the log: shown only with PICTARIUM_DEBUG=1.
void quietDebug(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    static const bool s_blDebug = qEnvironmentVariable("PICTARIUM_DEBUG") == QLatin1String("1");
    if (type == QtDebugMsg && !s_blDebug)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, strMessage)));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pictarium-cli"));
    qInstallMessageHandler(quietDebug);
    // Ctrl-C, SIGTERM and SIGHUP cancel whatever the command waits for.
    StopSignals::install();

    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const char* pszFlag : {"json", "https", "remember-password", "all-files", "no-skip-uploaded", "no-date-rename",
                                "flatten"})
        parser.addOption(QCommandLineOption(QLatin1String(pszFlag)));
    for (const char* pszValue : {"name", "host", "port", "account", "personal", "profile", "album", "duplicates",
                                 "video-quality", "password-fd"})
        parser.addOption(QCommandLineOption(QLatin1String(pszValue), QString(), QStringLiteral("value")));
    parser.addPositionalArgument(QStringLiteral("command"), QString());
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("password-fd")))
        s_prompt.setPasswordFd(parser.value(QStringLiteral("password-fd")).toInt());
    const QStringList lstPositional = parser.positionalArguments();
    const QString strCommand = lstPositional.value(0);
    const QStringList lstCommands{"profiles", "add-profile", "remove-profile", "albums", "upload"};
    if (!lstCommands.contains(strCommand))
        return usage(strCommand.isEmpty() ? QString() : QStringLiteral("Unknown command: ") + strCommand);

    const QHash<QString, int> hashMaxPositional{
        {"profiles", 1}, {"add-profile", 1}, {"remove-profile", 2}, {"albums", 1}, {"upload", INT_MAX}};
    if (lstPositional.size() > hashMaxPositional.value(strCommand))
        return usage(QStringLiteral("Unexpected argument: ") + lstPositional.value(hashMaxPositional.value(strCommand)));
    if (strCommand == QLatin1String("remove-profile") && lstPositional.size() < 2)
        return usage(QStringLiteral("Name the profile to remove."));

    // The same language, data folder and database as the desktop program.
    VelmSettings settings;
    QTranslator translator;
    if (translator.load(VelmLocale::translationCatalog(settings)) && !translator.isEmpty())
        QCoreApplication::installTranslator(&translator);
    VelmLocale::fillMessageTable();
    AppIdentity::ensureDataFolder();
    if (!VelmDatabase::open())
        return fail(VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()) +
                    QLatin1String(" Check that the data folder can be written: ") + AppIdentity::dataFolder());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);

    QNetworkAccessManager nam;
    int iCode = ExitOk;
    if (strCommand == QLatin1String("profiles")) {
        iCode = listProfiles(parser.isSet(QStringLiteral("json")));
    } else if (strCommand == QLatin1String("add-profile")) {
        iCode = addProfile(parser, &nam);
    } else if (strCommand == QLatin1String("remove-profile")) {
        const QString strName = lstPositional.value(1);
        if (strName.isEmpty() || !ProfileStore::listProfiles().contains(strName)) {
            iCode = fail(QStringLiteral("No profile named [%1].").arg(strName));
        } else {
            ProfileStore::deleteProfile(strName);
            out(QStringLiteral("Profile [%1] removed.").arg(strName));
        }
    } else if (strCommand == QLatin1String("albums")) {
        iCode = listAlbums(parser, &nam);
    } else {
        iCode = upload(parser, &nam);
    }
    ProfileStore::rewriteShortcutList();
    VelmDatabase::close();
    return iCode;
}
