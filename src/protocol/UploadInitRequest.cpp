#include "UploadInitRequest.h"

#include "ServerReply.h"
#include "ServerRequest.h"
#include "VelmLocale.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>

UploadInitRequest::UploadInitRequest(QObject* pParent) : QObject(pParent) {}

UploadInitRequest::~UploadInitRequest()
{
    delete m_pReply;
}

QString UploadInitRequest::serverPath(const UploadJob& job)
{
    // A file is announced under the name it will be stored as; a folder under its own.
    QString strName = job.value(JobStoredName);
    if (strName.isEmpty())
        strName = QFileInfo(QDir::cleanPath(job.value(JobLocalPath))).fileName();
    return QLatin1Char('/') + job.value(JobDestination) + QLatin1Char('/') + strName;
}

QByteArray UploadInitRequest::fileList(const UploadJobList& lstJobs)
{
    QByteArrayList lstEntries;
    for (const UploadJob& job : lstJobs) {
        if (QFileInfo::exists(job.value(JobLocalPath)))
            lstEntries.append(serverPath(job).toUtf8());
    }
    return lstEntries.join("/FolderDelimiter/");
}

QByteArray UploadInitRequest::boundary(const QDateTime& dateTime)
{
    return QByteArrayLiteral("updbdry--") + dateTime.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
           QByteArrayLiteral("------------------");
}

QByteArray UploadInitRequest::body(const QByteArray& baBoundary, const QByteArray& baFileList)
{
    return "--" + baBoundary + "\r\n" + "content-disposition: form-data; name=\"filelist\"\r\n" + "\r\n" +
           baFileList + "\r\n" + "--" + baBoundary + "\r\n";
}

void UploadInitRequest::send(QNetworkAccessManager* pNam, const QString& strBaseUrl, const UploadJobList& lstJobs)
{
    delete m_pReply;

    const QByteArray baBoundary = boundary(QDateTime::currentDateTime());
    QNetworkRequest request = ServerRequest::build(strBaseUrl, ServerRequest::UploadInitPath);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray(QByteArrayLiteral("multipart/form-data, boundary=") + baBoundary));

    m_pReply = ServerRequest::post(pNam, request, body(baBoundary, fileList(lstJobs)));
    connect(m_pReply, &QNetworkReply::finished, this, &UploadInitRequest::slotUploadInitRequestFinished);
    m_loop.exec();
}

void UploadInitRequest::cancel()
{
    if (m_pReply)
        m_pReply->disconnect(this);
    delete m_pReply;
    m_loop.quit();
}

void UploadInitRequest::slotUploadInitRequestFinished()
{
    auto* pReply = qobject_cast<QNetworkReply*>(sender());
    QString strError;
    if (pReply) {
        const ServerReply reply = ServerReply::classify(pReply);
        m_strError = ReplyMessages::uploadInit(reply);
        if (reply.kind == ServerReply::TransportFailure) {
            strError = reply.errorString;
        } else if (reply.kind == ServerReply::NotJson) {
            strError = QStringLiteral("server unknown errror");
        } else if (reply.flag("success")) {
            for (const QString& strPath : reply.texts("duplicated_files")) {
                qDebug("%s:%d duplicated: %s", "UploadInitRequest", __LINE__, qPrintable(strPath));
                if (!strPath.isEmpty())
                    m_setDuplicated.insert(strPath);
            }
            for (const QString& strPath : reply.texts("no_privilege_files")) {
                qDebug("%s:%d no privilege: %s", "UploadInitRequest", __LINE__, qPrintable(strPath));
                if (!strPath.isEmpty())
                    m_setNoPrivilege.insert(strPath);
            }
        } else {
            strError = reply.text("err_msg");
        }
    }
    if (!strError.isEmpty())
        qDebug() << qPrintable(QStringLiteral("init upload error:") + strError);
    m_loop.quit();
}

void UploadInitRequest::filterJobs(UploadJobList& lstJobs)
{
    for (auto it = lstJobs.begin(); it != lstJobs.end();) {
        const QString strServerPath = serverPath(*it);
        const QString strLocal = it->value(JobLocalPath);
        if (m_setNoPrivilege.contains(strServerPath)) {
            it = lstJobs.erase(it);
            m_blSkippedNoPrivilege = true;
        } else if (m_setDuplicated.contains(strServerPath) && QFileInfo(strLocal).isDir()) {
            qDebug("SKIP %s", qPrintable(QFileInfo(QDir::cleanPath(strLocal)).fileName()));
            it = lstJobs.erase(it);
            m_blSkippedUploaded = true;
        } else {
            ++it;
        }
    }
}

QString UploadInitRequest::zeroFileMessage() const
{
    if (m_blSkippedNoPrivilege && !m_blSkippedUploaded)
        return VelmLocale::message("upload_zero_file_nopriv");
    if (!m_blSkippedNoPrivilege && m_blSkippedUploaded)
        return VelmLocale::message("upload_zero_file_uploaded");
    return VelmLocale::message("upload_zero_file");
}
