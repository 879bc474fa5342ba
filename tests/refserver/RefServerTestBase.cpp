#include "RefServerTestBase.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

namespace {

QJsonObject json(const QByteArray& baText)
{
    return QJsonDocument::fromJson(baText).object();
}

QJsonObject account(const QString& strName, const QJsonObject& extra = {})
{
    QJsonObject object = extra;
    object.insert(QStringLiteral("name"), strName);
    object.insert(QStringLiteral("password"), QStringLiteral("pw"));
    return object;
}

} // namespace

QByteArray pct(const QString& strText)
{
    return QUrl::toPercentEncoding(strText);
}

QJsonObject standardAccounts(const QJsonObject& top)
{
    QJsonObject object = top;
    object.insert(
        QStringLiteral("accounts"),
        QJsonArray{account(QStringLiteral("admin"), {{QStringLiteral("admin"), true}}),
                   account(QStringLiteral("ann"),
                           {{QStringLiteral("forbidden_albums"), QJsonArray{QStringLiteral("2013/secret")}},
                            {QStringLiteral("personal_enabled"), true}}),
                   account(QStringLiteral("cat"), {{QStringLiteral("forbidden_albums"), QJsonArray{QString()}}}),
                   account(QStringLiteral("dan"), {{QStringLiteral("disabled"), true}}),
                   account(QStringLiteral("eve"), {{QStringLiteral("photo_user"), false}}),
                   account(QStringLiteral("fay"), {{QStringLiteral("login_privilege"), false}}),
                   account(QStringLiteral("bob"), {{QStringLiteral("personal_enabled"), false}})});
    return object;
}

QByteArray initBody(const QByteArray& baList, const QByteArray& baBoundary, bool blClosing)
{
    return "--" + baBoundary + "\r\ncontent-disposition: form-data; name=\"filelist\"\r\n\r\n" + baList + "\r\n--" +
           baBoundary + (blClosing ? "--\r\n" : "\r\n");
}

Tree treeOf(const QString& strDir)
{
    Tree tree;
    QDirIterator it(strDir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString strPath = it.next();
        tree.insert(QDir(strDir).relativeFilePath(strPath), TestFiles::readBytes(strPath));
    }
    return tree;
}

QJsonObject Reply::json() const
{
    return ::json(baBody);
}

Client::Client(const QString& strBase) : m_strBase(strBase)
{
    m_manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

Reply Client::send(const QByteArray& baVerb, const QString& strPath, const QList<Header>& lstHeaders,
                   const QByteArray& baBody, QIODevice* pDevice)
{
    QNetworkRequest request(QUrl(m_strBase + strPath));
    for (const auto& header : lstHeaders)
        request.setRawHeader(header.first, header.second);
    QNetworkReply* pReply = pDevice ? m_manager.sendCustomRequest(request, baVerb, pDevice)
                                    : m_manager.sendCustomRequest(request, baVerb, baBody);
    QObject::connect(pReply, &QNetworkReply::sslErrors, pReply, [pReply] { pReply->ignoreSslErrors(); });
    QEventLoop loop;
    QObject::connect(pReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(180000, &loop, &QEventLoop::quit); // only against a hang
    loop.exec();
    Reply reply;
    reply.error = pReply->error();
    reply.iStatus = pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply.baBody = pReply->readAll();
    reply.baContentType = pReply->rawHeader("Content-Type");
    reply.baLocation = pReply->rawHeader("Location");
    reply.baSetCookie = pReply->rawHeader("Set-Cookie");
    reply.peerCertificate = pReply->sslConfiguration().peerCertificate();
    delete pReply;
    return reply;
}

Reply Client::postForm(const QString& strPath, const QByteArray& baForm)
{
    return send("POST", strPath, {{"Content-Type", "application/x-www-form-urlencoded"}}, baForm);
}

Reply Client::login(const QString& strUser, const QString& strPassword, const QString& strPrefix)
{
    return postForm(strPrefix + kLogin, "action=login&username=" + pct(strUser) + "&passwd=" + pct(strPassword));
}

Reply Client::albumList(const QString& strPrefix)
{
    return postForm(strPrefix + kAlbums, "action=get_uploadable_album_list");
}

Reply Client::init(const QByteArray& baBody, const QByteArray& baContentType)
{
    return send("POST", kInit, {{"Content-Type", baContentType}}, baBody);
}

Reply Client::upload(const QString& strAlbum, const QString& strName, const QByteArray& baType,
                     const QByteArray& baBody, const QByteArray& baDuplicate, const QString& strPrefix,
                     const QList<Header>& lstExtra, QIODevice* pDevice)
{
    QList<Header> lstHeaders = {{"X-PATH", ' ' + pct(strAlbum)},
                                {"X-DUPLICATE", baDuplicate},
                                {"X-ORIG-FNAME", ' ' + pct(strName)},
                                {"X-UPLOAD-TYPE", baType}};
    lstHeaders << lstExtra;
    return send("PUT", strPrefix + kUpload, lstHeaders, baBody, pDevice);
}

bool RawConnection::open(int iPort)
{
    m_socket.connectToHost(QHostAddress::LocalHost, quint16(iPort));
    return m_socket.waitForConnected(10000);
}

QByteArray RawConnection::exchange(const QByteArray& baRequest)
{
    m_socket.write(baRequest);
    m_socket.waitForBytesWritten(10000);
    return readResponse();
}

QByteArray RawConnection::readResponse()
{
    QByteArray baIn;
    for (;;) {
        const qsizetype iHeadEnd = baIn.indexOf("\r\n\r\n");
        if (iHeadEnd >= 0) {
            const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("(?i)\r\ncontent-length: *(\\d+)"))
                                                      .match(QString::fromLatin1(baIn.left(iHeadEnd)));
            const qsizetype iLength = match.hasMatch() ? match.captured(1).toLongLong() : 0;
            if (baIn.size() >= iHeadEnd + 4 + iLength)
                return baIn;
        }
        if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(15000))
            return baIn;
        baIn += m_socket.readAll();
    }
}

int statusOf(const QByteArray& baResponse)
{
    return baResponse.startsWith("HTTP/1.1 ") ? baResponse.mid(9, 3).toInt() : 0;
}

QByteArray bodyOf(const QByteArray& baResponse)
{
    const qsizetype iHeadEnd = baResponse.indexOf("\r\n\r\n");
    return iHeadEnd < 0 ? QByteArray() : baResponse.mid(iHeadEnd + 4);
}

QByteArray rawLogin(RawConnection& connection, const QByteArray& baUser)
{
    const QByteArray baForm = "action=login&username=" + baUser + "&passwd=pw";
    const QByteArray baResponse = connection.exchange(
        "POST /blog/login.php HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
        "Content-Length: " +
        QByteArray::number(baForm.size()) + "\r\n\r\n" + baForm);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Set-Cookie: (PICSESSID=[0-9a-f]+)")).match(QString::fromLatin1(baResponse));
    return match.captured(1).toLatin1();
}

QByteArray rawUploadHead(const QByteArray& baCookie, const QByteArray& baName, qint64 iLength)
{
    return "PUT /photo/include/rada_file_upload.php HTTP/1.1\r\nHost: 127.0.0.1\r\nCookie: " + baCookie +
           "\r\nX-PATH:  2013%2Ftrip\r\nX-DUPLICATE: OVERWRITE\r\nX-ORIG-FNAME:  " + baName +
           "\r\nX-UPLOAD-TYPE: ORIG_FILE\r\nContent-Length: " + QByteArray::number(iLength) + "\r\n\r\n";
}

qint64 procStatusKiB(qint64 iPid, const char* pszField)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(iPid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch match = QRegularExpression(QLatin1String(pszField) + QLatin1String(":\\s+(\\d+) kB"))
                                              .match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

std::unique_ptr<RefServerProcess> RefServerTestBase::startServer(const TestEnvironment& env, const QStringList& lstArgs,
                                                                 const QJsonObject& accounts, bool blHttps)
{
    auto pServer = std::make_unique<RefServerProcess>(env.root() + QLatin1String("/srv"));
    pServer->setAccounts(accounts);
    if (!pServer->start(lstArgs, blHttps)) {
        qWarning("server did not start: %s", qPrintable(pServer->standardError()));
        return nullptr;
    }
    if (QDir(pServer->root() + QLatin1String("/photo")).exists())
        QDir().mkpath(pServer->root() + QLatin1String("/photo/2013/trip"));
    return pServer;
}
