#include "RefServer.h"

#include "FormBody.h"
#include "JsonText.h"
#include "PhotoStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace {

const QByteArray kCookieName = "PICSESSID";
const QString kListDelimiter = QStringLiteral("/FolderDelimiter/");
constexpr qint64 kMaxKeptBody = 32 * 1024 * 1024;
const QByteArray kInternalErrorPage = "<html><body>Internal error</body></html>";

QByteArray failure(const QString& strErrMsg)
{
    return JsonText().addBool("success", false).addText("err_msg", strErrMsg).toJson();
}

QByteArray sessionLost()
{
    return failure(QStringLiteral("session_lost"));
}

QByteArray succeeded()
{
    return JsonText().addBool("success", true).toJson();
}

} // namespace

RefServer::RefServer(const ServerOptions& options, const ServerState& state, QObject* pParent)
    : QObject(pParent), m_options(options), m_state(state)
{
}

RefServer::~RefServer()
{
    stop();
}

bool RefServer::start(const QSslConfiguration& sslConfiguration, QString& strError)
{
    m_strRoot = QDir::cleanPath(QDir(m_options.strRoot).absolutePath());
    if (!QDir().mkpath(m_strRoot)) {
        strError = QStringLiteral("cannot create the root folder %1").arg(m_strRoot);
        return false;
    }
    if (m_state.blPhotoRoot && !QDir().mkpath(m_strRoot + QLatin1String("/photo"))) {
        strError = QStringLiteral("cannot create %1/photo").arg(m_strRoot);
        return false;
    }
    for (const Account& account : std::as_const(m_state.lstAccounts)) {
        if (account.blPersonalEnabled && PhotoStore::isValidName(account.strName))
            QDir().mkpath(m_strRoot + QLatin1String("/personal/") + account.strName + QLatin1String("/photo"));
    }
    m_strStagingDir = m_strRoot + QLatin1String("/.staging");
    QDir(m_strStagingDir).removeRecursively();
    if (!QDir().mkpath(m_strStagingDir)) {
        strError = QStringLiteral("cannot create %1").arg(m_strStagingDir);
        return false;
    }
    if (!m_options.strJournalFile.isEmpty() && !m_journal.open(m_options.strJournalFile, strError))
        return false;

    m_blHttps = !sslConfiguration.isNull();
    if (m_blHttps) {
        auto* pSslServer = new QSslServer(this);
        pSslServer->setSslConfiguration(sslConfiguration);
        m_pServer = pSslServer;
    } else {
        m_pServer = new QTcpServer(this);
    }
    connect(m_pServer, &QTcpServer::pendingConnectionAvailable, this, &RefServer::acceptConnections);
    if (!m_pServer->listen(QHostAddress(m_options.strListen), m_options.iPort)) {
        strError = QStringLiteral("cannot listen on %1:%2: %3")
                       .arg(m_options.strListen)
                       .arg(m_options.iPort)
                       .arg(m_pServer->errorString());
        return false;
    }
    m_blSessionsLost = m_options.iSessionLostAfter == 0;
    return true;
}

void RefServer::stop()
{
    const QSet<HttpConnection*> setConnections = m_setConnections;
    for (HttpConnection* pConnection : setConnections)
        pConnection->shutdown();
    m_setConnections.clear();
    if (m_pServer)
        m_pServer->close();
    invalidateSessions();
    if (!m_strStagingDir.isEmpty())
        QDir(m_strStagingDir).removeRecursively();
    m_journal.close();
}

quint16 RefServer::httpPort() const
{
    return m_pServer ? m_pServer->serverPort() : 0;
}

QString RefServer::baseUrl() const
{
    return (m_blHttps ? QLatin1String("https") : QLatin1String("http")) + QLatin1String("://") + m_options.strListen +
           QLatin1Char(':') +
           QString::number(m_pServer ? m_pServer->serverPort() : 0);
}

void RefServer::acceptConnections()
{
    while (QTcpSocket* pSocket = m_pServer->nextPendingConnection()) {
        auto* pConnection = new HttpConnection(pSocket, this, this);
        m_setConnections.insert(pConnection);
        connect(pConnection, &HttpConnection::closed, this, [this](HttpConnection* pClosed) {
            m_setConnections.remove(pClosed);
            pClosed->deleteLater();
        });
    }
}

RefServer::Route RefServer::routeOf(const QByteArray& baTarget) const
{
    Route route;
    QByteArray baPath = baTarget;
    const qsizetype iQuery = baPath.indexOf('?');
    if (iQuery >= 0)
        baPath.truncate(iQuery);
    if (baPath.startsWith("/~")) {
        const qsizetype iSlash = baPath.indexOf('/', 2);
        route.blPersonal = true;
        route.strOwner = QUrl::fromPercentEncoding(iSlash < 0 ? baPath.mid(2) : baPath.mid(2, iSlash - 2));
        baPath = iSlash < 0 ? QByteArray("/") : baPath.mid(iSlash);
    }
    route.baPath = baPath;
    if (route.blPersonal && !PhotoStore::isValidName(route.strOwner))
        return route;
    if (baPath == "/blog/login.php")
        route.endpoint = Endpoint::Login;
    else if (baPath == "/photo/include/rada_get_uploadable_album.php")
        route.endpoint = Endpoint::Albums;
    else if (baPath == "/photo/include/rada_upload_init.php")
        route.endpoint = Endpoint::UploadInit;
    else if (baPath == "/photo/include/rada_file_upload.php")
        route.endpoint = Endpoint::FileUpload;
    return route;
}

bool RefServer::matchesPathList(const Route& route, const QByteArray& baTarget, const QString& strListed) const
{
    const QByteArray baListed = strListed.toUtf8();
    if (baListed == route.baPath || baListed == baTarget)
        return true;
    const qsizetype iQuery = baTarget.indexOf('?');
    return iQuery >= 0 && baListed == baTarget.left(iQuery);
}

bool RefServer::matchesAnyPath(const Route& route, const QByteArray& baTarget, const QStringList& lstListed) const
{
    for (const QString& strListed : lstListed) {
        if (matchesPathList(route, baTarget, strListed))
            return true;
    }
    return false;
}

QString RefServer::areaOf(const Route& route)
{
    return route.blPersonal ? route.strOwner.toCaseFolded() : QString();
}

QString RefServer::photoDir(const Route& route) const
{
    if (!route.blPersonal)
        return m_strRoot + QLatin1String("/photo");
    const int iOwner = m_state.findAccount(route.strOwner);
    if (iOwner < 0 || !PhotoStore::isValidName(m_state.lstAccounts.at(iOwner).strName))
        return QString();
    return m_strRoot + QLatin1String("/personal/") + m_state.lstAccounts.at(iOwner).strName + QLatin1String("/photo");
}

QString RefServer::sessionFor(const HttpRequest& request, const Route& route) const
{
    for (const auto& header : request.lstHeaders) {
        if (header.first.compare("Cookie", Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray& baCookie : header.second.split(';')) {
            const QByteArray baTrimmed = baCookie.trimmed();
            if (!baTrimmed.startsWith(QByteArray(kCookieName + '=')))
                continue;
            const QString strId = QString::fromLatin1(baTrimmed.mid(kCookieName.size() + 1));
            const auto it = m_hashSessions.constFind(strId);
            if (it != m_hashSessions.constEnd() && it->strArea == areaOf(route))
                return strId;
        }
    }
    return QString();
}

bool RefServer::isForbidden(const Route& route, int iAccount, const QString& strAlbum) const
{
    if (route.blPersonal || iAccount < 0)
        return false;
    for (const QString& strForbidden : m_state.lstAccounts.at(iAccount).lstForbiddenAlbums) {
        if (strForbidden.isEmpty()) {
            if (strAlbum.isEmpty())
                return true;
        } else if (strAlbum == strForbidden || strAlbum.startsWith(strForbidden + QLatin1Char('/'))) {
            return true;
        }
    }
    return false;
}

void RefServer::invalidateSessions()
{
    m_hashSessions.clear();
    dropPending(QString());
}

void RefServer::dropPending(const QString& strKeyPrefix)
{
    for (auto it = m_hashPending.begin(); it != m_hashPending.end();) {
        if (!it.key().startsWith(strKeyPrefix)) {
            ++it;
            continue;
        }
        for (const QString& strStaged : std::as_const(it.value()))
            QFile::remove(strStaged);
        it = m_hashPending.erase(it);
    }
}

static QString pendingKey(const QString& strSessionId, const QString& strAlbum, const QString& strName)
{
    return strSessionId + QChar(0x1f) + strAlbum + QChar(0x1f) + strName;
}

BodyPlan RefServer::planBody(HttpRequest& request)
{
    Context context;
    context.route = routeOf(request.baTarget);
    BodyPlan plan;

    if (matchesAnyPath(context.route, request.baTarget, m_options.lstCloseImmediately)) {
        plan.action = BodyPlan::CloseNow;
        request.context = context;
        return plan;
    }
    if (request.iContentLength > 0) {
        for (DropRule& rule : m_options.lstDropAfter) {
            if (rule.iRemaining > 0 && request.iContentLength > rule.iBytes) {
                plan.iDropAfter = rule.iBytes;
                --rule.iRemaining;
                break;
            }
        }
    }
    for (const StatusRule& rule : std::as_const(m_options.lstStatusOn)) {
        if (context.iStatusOverride == 0 && matchesPathList(context.route, request.baTarget, rule.strPath))
            context.iStatusOverride = rule.iStatus;
    }
    context.blHtmlOverride = matchesAnyPath(context.route, request.baTarget, m_options.lstHtmlOn);
    context.blHang = matchesAnyPath(context.route, request.baTarget, m_options.lstHangOn);
    if (matchesAnyPath(context.route, request.baTarget, m_options.lstEndlessReply))
        context.stream = HttpReply::Stream::Chunked;
    else if (matchesAnyPath(context.route, request.baTarget, m_options.lstOversizedReply))
        context.stream = HttpReply::Stream::Oversized;
    if (context.route.endpoint == Endpoint::FileUpload && request.baMethod == "PUT")
        plan.iPauseMs = pauseMsFor(request);
    plan.blKeep = FormBody::isFormType(request.header("Content-Type")) && request.iContentLength <= kMaxKeptBody;

    const bool blOverride = context.iStatusOverride != 0 || context.blHtmlOverride || context.blHang;
    if (!blOverride && m_state.blPhotoInstalled) {
        switch (context.route.endpoint) {
        case Endpoint::Login:
        case Endpoint::Albums:
        case Endpoint::UploadInit:
            if (request.iContentLength > kMaxKeptBody) {
                plan.action = BodyPlan::RejectNow;
                plan.reply = HttpReply::errorPage(413);
            }
            plan.blKeep = true;
            break;
        case Endpoint::FileUpload:
            planUpload(request, context, plan);
            break;
        case Endpoint::Unknown:
            break;
        }
    }
    request.context = context;
    return plan;
}

void RefServer::planUpload(HttpRequest& request, Context& context, BodyPlan& plan)
{
    Upload& upload = context.upload;
    auto early = [&upload](const QByteArray& baReply) {
        upload.kind = UploadKind::Early;
        upload.baEarlyReply = baReply;
    };
    upload.blPost = request.baMethod == "POST";
    if (!upload.blPost && request.baMethod != "PUT") {
        context.iStatusOverride = 405;
        return;
    }
    if (m_blSessionsLost) {
        invalidateSessions();
        early(sessionLost());
        return;
    }
    upload.strSessionId = sessionFor(request, context.route);
    if (upload.strSessionId.isEmpty()) {
        early(sessionLost());
        return;
    }
    const QString strAlbumRaw = PhotoStore::decodeHeaderValue(request.header("X-PATH"));
    upload.strName = PhotoStore::decodeHeaderValue(request.header("X-ORIG-FNAME"));
    upload.strType = QString::fromUtf8(request.header("X-UPLOAD-TYPE").trimmed());
    for (const FailUploadRule& rule : std::as_const(m_options.lstFailUpload)) {
        if (rule.regex.match(strAlbumRaw + QLatin1Char('/') + upload.strName).hasMatch()) {
            early(failure(rule.strErrMsg));
            return;
        }
    }

    const bool blFolder = upload.strType == QLatin1String("FOLDER");
    const bool blOriginal = upload.strType == QLatin1String("ORIG_FILE");
    if (!blFolder && !blOriginal && PhotoStore::renditionExtension(upload.strType).isEmpty()) {
        early(failure(QStringLiteral("bad_upload_type")));
        return;
    }
    if (upload.blPost && !blFolder) {
        early(failure(QStringLiteral("bad_request")));
        return;
    }
    if (!PhotoStore::normaliseAlbum(strAlbumRaw, upload.strAlbum) || !PhotoStore::isValidName(upload.strName)) {
        early(blFolder ? failure(QLatin1String("bad_dir_name_") + upload.strName)
                       : failure(QStringLiteral("bad_file_name")));
        return;
    }
    const QString strBase = photoDir(context.route);
    upload.strAlbumDir = upload.strAlbum.isEmpty() ? strBase : strBase + QLatin1Char('/') + upload.strAlbum;
    if (strBase.isEmpty() || !QFileInfo(upload.strAlbumDir).isDir() ||
        !PhotoStore::isInside(upload.strAlbumDir, strBase)) {
        early(failure(QLatin1String("target_folder_not_found_/") + upload.strAlbum));
        return;
    }
    const int iAccount = m_hashSessions.value(upload.strSessionId).iAccount;
    const QString strFolderAlbum =
        upload.strAlbum.isEmpty() ? upload.strName : upload.strAlbum + QLatin1Char('/') + upload.strName;
    if (isForbidden(context.route, iAccount, upload.strAlbum) ||
        (blFolder && isForbidden(context.route, iAccount, strFolderAlbum))) {
        early(failure(QStringLiteral("no_privilege")));
        return;
    }

    upload.strDuplicate = QString::fromUtf8(request.header("X-DUPLICATE").trimmed()).toUpper();
    const QByteArray baTime = request.header("X-LAST-MODIFIED-TIME").trimmed();
    bool blTimeOk = false;
    const qint64 iTime = baTime.toLongLong(&blTimeOk);
    if (blTimeOk && iTime >= 0)
        upload.iModifiedTime = iTime;

    if (blFolder) {
        upload.kind = UploadKind::Folder;
    } else if (blOriginal) {
        upload.kind = UploadKind::Original;
        plan.strFile =
            upload.strAlbumDir + QLatin1String("/.upload-") + PhotoStore::randomHex(8) + QLatin1String(".part");
    } else {
        upload.kind = UploadKind::Rendition;
        plan.strFile = m_strStagingDir + QLatin1Char('/') + PhotoStore::randomHex(8) + QLatin1String(".part");
    }
}

int RefServer::pauseMsFor(const HttpRequest& request) const
{
    const QByteArray baName = request.header("X-ORIG-FNAME").trimmed();
    for (const PauseBodyRule& rule : std::as_const(m_options.lstPauseBody)) {
        if (rule.strName.toUtf8() == baName || rule.strName == PhotoStore::decodeHeaderValue(baName))
            return rule.iMs;
    }
    return 0;
}

HttpReply RefServer::finish(HttpRequest& request)
{
    const Context* pContext = std::any_cast<Context>(&request.context);
    if (!pContext)
        return HttpReply::errorPage(500);
    const HttpReply reply = answer(request, *pContext);
    if (pContext->stream == HttpReply::Stream::None || reply.blNoReply)
        return reply;
    return HttpReply::streamed(pContext->stream);
}

HttpReply RefServer::answer(HttpRequest& request, const Context& context)
{
    if (context.blHang) {
        HttpReply reply;
        reply.blNoReply = true;
        return reply;
    }
    if (context.iStatusOverride != 0)
        return HttpReply::errorPage(context.iStatusOverride);
    if (context.blHtmlOverride)
        return HttpReply::html(200, kInternalErrorPage);
    if (!m_state.blPhotoInstalled)
        return HttpReply::errorPage(404);
    switch (context.route.endpoint) {
    case Endpoint::Login:
        return handleLogin(request, context.route);
    case Endpoint::Albums:
        return handleAlbums(request, context.route);
    case Endpoint::UploadInit:
        return handleUploadInit(request, context.route);
    case Endpoint::FileUpload:
        return finishUpload(request, context.upload);
    case Endpoint::Unknown:
        break;
    }
    return HttpReply::errorPage(404);
}

HttpReply RefServer::handleLogin(const HttpRequest& request, const Route& route)
{
    if (request.baMethod != "POST")
        return HttpReply::errorPage(405);
    if (m_state.strServiceDisabled == QLatin1String("redirect")) {
        HttpReply reply;
        reply.iStatus = 302;
        reply.lstHeaders.append({QByteArray("Location"), QByteArray("/index.php?err=photo_str_service_disabled")});
        return reply;
    }
    if (m_state.strServiceDisabled == QLatin1String("html")) {
        return HttpReply::html(200, "<html><head><title>Pictarium</title></head><body>"
                                    "<p class=\"service_not_available\">service_not_available</p></body></html>");
    }

    const QHash<QString, QString> hashForm = FormBody::parseForm(request.baBody);
    bool blRunning = m_state.blPhotoRunning;
    if (route.blPersonal) {
        const int iOwner = m_state.findAccount(route.strOwner);
        blRunning = blRunning && iOwner >= 0 && m_state.lstAccounts.at(iOwner).blPersonalEnabled;
    }
    const int iAccount = m_state.findAccount(hashForm.value(QStringLiteral("username")));
    if (iAccount < 0 || m_state.lstAccounts.at(iAccount).strPassword != hashForm.value(QStringLiteral("passwd")))
        return HttpReply::json(JsonText().addBool("success", false).addBool("run_photo", blRunning).toJson());
    const Account& account = m_state.lstAccounts.at(iAccount);
    if (account.blDisabled) {
        return HttpReply::json(
            JsonText().addText("success", QStringLiteral("disable_account")).addBool("run_photo", blRunning).toJson());
    }
    if (!account.blPhotoUser) {
        return HttpReply::json(JsonText()
                                   .addBool("success", false)
                                   .addBool("run_photo", blRunning)
                                   .addBool("not_photo_user", true)
                                   .toJson());
    }
    if (!account.blLoginPrivilege) {
        return HttpReply::json(JsonText()
                                   .addText("success", QStringLiteral("login_noprivilege"))
                                   .addBool("run_photo", blRunning)
                                   .toJson());
    }

    const QString strId = PhotoStore::randomHex(16);
    m_hashSessions.insert(strId, Session{iAccount, areaOf(route)});
    HttpReply reply = HttpReply::json(JsonText()
                                          .addBool("success", true)
                                          .addBool("run_photo", blRunning)
                                          .addBool("has_photo_root_path", m_state.blPhotoRoot)
                                          .toJson());
    const QByteArray baCookie = kCookieName + '=' + strId.toLatin1() + "; path=/; HttpOnly";
    reply.lstHeaders.append({QByteArray("Set-Cookie"), baCookie});
    return reply;
}

HttpReply RefServer::handleAlbums(const HttpRequest& request, const Route& route)
{
    if (request.baMethod != "POST")
        return HttpReply::errorPage(405);
    const QString strId = sessionFor(request, route);
    if (strId.isEmpty())
        return HttpReply::json(sessionLost());
    const int iAccount = m_hashSessions.value(strId).iAccount;
    const QHash<QString, QString> hashForm = FormBody::parseForm(request.baBody);
    const QString strAction = hashForm.value(QStringLiteral("action"));
    const QString strBase = photoDir(route);

    if (strAction == QLatin1String("get_uploadable_album_list")) {
        QStringList lstAlbums;
        if (!strBase.isEmpty() && QFileInfo(strBase).isDir()) {
            lstAlbums = PhotoStore::albumTree(strBase, [this, &route, iAccount](const QString& strAlbum) {
                return isForbidden(route, iAccount, strAlbum);
            });
        }
        return HttpReply::json(JsonText()
                                   .addBool("success", true)
                                   .addBool("is_admin", m_state.lstAccounts.at(iAccount).blAdmin)
                                   .addTextList("uploadable_albums", lstAlbums)
                                   .toJson());
    }
    if (strAction == QLatin1String("get_all_subalbum_list")) {
        const QString strRaw = hashForm.value(QStringLiteral("path"));
        QString strAlbum;
        if (!PhotoStore::normaliseAlbum(strRaw, strAlbum)) {
            QString strShown = strRaw;
            while (strShown.startsWith(QLatin1Char('/')))
                strShown.remove(0, 1);
            return HttpReply::json(failure(QLatin1String("target_folder_not_found_/") + strShown));
        }
        const QString strDir = strAlbum.isEmpty() ? strBase : strBase + QLatin1Char('/') + strAlbum;
        if (strBase.isEmpty() || !QFileInfo(strDir).isDir() || !PhotoStore::isInside(strDir, strBase))
            return HttpReply::json(failure(QLatin1String("target_folder_not_found_/") + strAlbum));
        return HttpReply::json(
            JsonText().addBool("success", true).addTextList("sub_albums", PhotoStore::childAlbums(strDir)).toJson());
    }
    return HttpReply::json(failure(QStringLiteral("unknown_action")));
}

HttpReply RefServer::handleUploadInit(const HttpRequest& request, const Route& route)
{
    if (request.baMethod != "POST")
        return HttpReply::errorPage(405);
    const QString strId = sessionFor(request, route);
    if (strId.isEmpty())
        return HttpReply::json(sessionLost());
    const int iAccount = m_hashSessions.value(strId).iAccount;
    QByteArray baList;
    if (!FormBody::extractFileList(request.baBody, FormBody::boundaryOf(request.header("Content-Type")), baList))
        return HttpReply::json(failure(QStringLiteral("bad_request")));

    const QString strBase = photoDir(route);
    QStringList lstDuplicated;
    QStringList lstNoPrivilege;
    for (const QString& strEntry : QString::fromUtf8(baList).split(kListDelimiter, Qt::SkipEmptyParts)) {
        if (!strEntry.startsWith(QLatin1Char('/')))
            continue;
        const QString strRest = strEntry.mid(1);
        const qsizetype iSlash = strRest.lastIndexOf(QLatin1Char('/'));
        const QString strName = strRest.mid(iSlash + 1);
        QString strAlbum;
        if (!PhotoStore::normaliseAlbum(iSlash < 0 ? QString() : strRest.left(iSlash), strAlbum) ||
            !PhotoStore::isValidName(strName))
            continue;
        if (isForbidden(route, iAccount, strAlbum))
            lstNoPrivilege.append(strEntry);
        const QString strDir = strAlbum.isEmpty() ? strBase : strBase + QLatin1Char('/') + strAlbum;
        if (!strBase.isEmpty() && PhotoStore::exists(strDir + QLatin1Char('/') + strName))
            lstDuplicated.append(strEntry);
    }
    return HttpReply::json(JsonText()
                               .addBool("success", true)
                               .addTextList("duplicated_files", lstDuplicated)
                               .addTextList("no_privilege_files", lstNoPrivilege)
                               .toJson());
}

HttpReply RefServer::finishUpload(HttpRequest& request, const Upload& upload)
{
    if (upload.kind == UploadKind::Early)
        return HttpReply::json(upload.baEarlyReply);
    if (request.blSinkFailed)
        return HttpReply::json(failure(QStringLiteral("write_failed")));

    if (upload.kind == UploadKind::Folder) {
        const QString strTarget = upload.strAlbumDir + QLatin1Char('/') + upload.strName;
        const bool blExists = PhotoStore::exists(strTarget);
        if (upload.blPost) {
            if (blExists)
                return HttpReply::json(JsonText().addBool("success", true).addBool("duplicate_folder", true).toJson());
            if (!QDir().mkdir(strTarget))
                return HttpReply::json(failure(QStringLiteral("mkdir_failed")));
            return HttpReply::json(JsonText().addBool("success", true).addBool("duplicate_folder", false).toJson());
        }
        if (blExists)
            return HttpReply::json(QFileInfo(strTarget).isDir() ? succeeded()
                                                                : failure(QStringLiteral("duplicated_file")));
        return HttpReply::json(QDir().mkdir(strTarget) ? succeeded() : failure(QStringLiteral("mkdir_failed")));
    }

    if (upload.kind == UploadKind::Rendition) {
        // The body file is removed after this call: keep the rendition under a name of its own.
        const QString strStaged =
            m_strStagingDir + QLatin1Char('/') + PhotoStore::randomHex(8) + QLatin1String(".pending");
        if (!PhotoStore::moveReplacing(request.strBodyFile, strStaged))
            return HttpReply::json(failure(QStringLiteral("write_failed")));
        QMap<QString, QString>& mapTypes =
            m_hashPending[pendingKey(upload.strSessionId, upload.strAlbum, upload.strName)];
        const QString strEarlier = mapTypes.value(upload.strType);
        if (!strEarlier.isEmpty())
            QFile::remove(strEarlier);
        mapTypes.insert(upload.strType, strStaged);
        return HttpReply::json(succeeded());
    }
    return storeOriginal(request, upload);
}

HttpReply RefServer::storeOriginal(HttpRequest& request, const Upload& upload)
{
    const QString strKey = pendingKey(upload.strSessionId, upload.strAlbum, upload.strName);
    QString strStored = upload.strName;
    const QString strTarget = upload.strAlbumDir + QLatin1Char('/') + upload.strName;
    if (PhotoStore::exists(strTarget)) {
        if (upload.strDuplicate == QLatin1String("RENAME")) {
            strStored = PhotoStore::freeName(upload.strAlbumDir, upload.strName);
        } else if (upload.strDuplicate != QLatin1String("OVERWRITE") ||
                   (QFileInfo(strTarget).isDir() && !QFileInfo(strTarget).isSymLink())) {
            dropPending(strKey);
            return HttpReply::json(failure(QStringLiteral("duplicated_file")));
        }
    }
    if (upload.iModifiedTime >= 0)
        PhotoStore::setModificationTime(request.strBodyFile, upload.iModifiedTime);
    if (!PhotoStore::moveReplacing(request.strBodyFile, upload.strAlbumDir + QLatin1Char('/') + strStored))
        return HttpReply::json(failure(QStringLiteral("write_failed")));

    const QMap<QString, QString> mapTypes = m_hashPending.take(strKey);
    if (!mapTypes.isEmpty()) {
        const QString strDir = upload.strAlbumDir + QLatin1String("/.renditions/") + strStored;
        QDir().mkpath(strDir);
        for (auto it = mapTypes.constBegin(); it != mapTypes.constEnd(); ++it) {
            const QString strTo = strDir + QLatin1Char('/') + it.key() + PhotoStore::renditionExtension(it.key());
            if (!PhotoStore::moveReplacing(it.value(), strTo))
                QFile::remove(it.value());
        }
    }

    ++m_iStoredOriginals;
    if (m_options.iSessionLostAfter >= 0 && m_iStoredOriginals >= m_options.iSessionLostAfter) {
        m_blSessionsLost = true;
        invalidateSessions();
    }
    HttpReply reply = HttpReply::json(succeeded());
    reply.blNoReply = m_iStoredOriginals == m_options.iHangAfterStore;
    return reply;
}

void RefServer::record(const HttpRequest& request, const HttpReply* pReply, bool blDropped)
{
    if (!m_journal.isOpen())
        return;
    JournalEntry entry;
    entry.baMethod = request.baMethod;
    entry.baPath = request.baTarget;
    entry.lstHeaders = request.lstHeaders;
    entry.iBodySize = request.iBodySize;
    entry.baBodySha256 = request.baBodySha256;
    entry.blWithBody = request.blBodyKept && FormBody::isFormType(request.header("Content-Type"));
    if (entry.blWithBody)
        entry.baBody = request.baBody;
    entry.blDropped = blDropped;
    if (pReply) {
        entry.iStatus = pReply->iStatus;
        const QByteArray baType = pReply->baContentType.toLower();
        if (baType.startsWith("text/") || baType.startsWith("application/json"))
            entry.baReply = pReply->baBody;
    }
    m_journal.write(entry);
}
