#pragma once

#include "protocol/UploadJob.h"

#include <QByteArray>
#include <QDateTime>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// Announces the job list to the server before anything is converted, and drops the jobs the
// server reports as forbidden and the folders it already has.
class UploadInitRequest : public QObject
{
    Q_OBJECT

public:
    explicit UploadInitRequest(QObject* pParent = nullptr);
    ~UploadInitRequest() override;
    Q_DISABLE_COPY_MOVE(UploadInitRequest)

    // "/" + album path + "/" + the stored name of a file (planned), else the last component of
    // the local path.
    static QString serverPath(const UploadJob& job);
    // Server paths of the jobs whose local file still exists, joined by "/FolderDelimiter/", UTF-8.
    static QByteArray fileList(const UploadJobList& lstJobs);
    static QByteArray boundary(const QDateTime& dateTime);
    static QByteArray body(const QByteArray& baBoundary, const QByteArray& baFileList);

    // Sends the list and waits in a local event loop until the reply has been handled or the
    // wait is cancelled. Failures are logged only: the sets stay as they were.
    void send(QNetworkAccessManager* pNam, const QString& strBaseUrl, const UploadJobList& lstJobs);
    // Ends a running send() at once; the reply is dropped.
    void cancel();

    // Drops forbidden jobs and folders the server already has; sets the skip flags.
    void filterJobs(UploadJobList& lstJobs);

    // The warning for an empty list after filtering.
    QString zeroFileMessage() const;
    // Why the server did not take the list (a message for the user); empty when it did.
    const QString& errorMessage() const { return m_strError; }

    const QSet<QString>& duplicatedPaths() const { return m_setDuplicated; }
    const QSet<QString>& noPrivilegePaths() const { return m_setNoPrivilege; }
    bool skippedUploaded() const { return m_blSkippedUploaded; }
    bool skippedNoPrivilege() const { return m_blSkippedNoPrivilege; }
    // Set by the history check as well.
    void setSkippedUploaded() { m_blSkippedUploaded = true; }

public Q_SLOTS:
    void slotUploadInitRequestFinished();

private:
    QSet<QString> m_setDuplicated;
    QSet<QString> m_setNoPrivilege;
    bool m_blSkippedUploaded = false;
    bool m_blSkippedNoPrivilege = false;
    QString m_strError;
    QPointer<QNetworkReply> m_pReply;
    QEventLoop m_loop;
};
