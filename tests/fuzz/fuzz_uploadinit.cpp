// The upload announcement's reply: which jobs it drops as forbidden or already there.
#include "FuzzSupport.h"

#include "protocol/UploadInitRequest.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    static const QString s_strFolder = QFileInfo(Fuzz::writeFile(QStringLiteral("a.jpg"), pData, 0)).absolutePath();
    const auto job = [](const QString& strLocal, const QString& strAlbum) {
        return UploadJob{{JobLocalPath, strLocal}, {JobDestination, strAlbum}};
    };
    const UploadJobList lstJobs = {job(s_strFolder + QLatin1String("/a.jpg"), QStringLiteral("A")),
                                   job(s_strFolder, QStringLiteral("A")),
                                   job(s_strFolder + QLatin1String("/b.mov"), QString()),
                                   job(s_strFolder + QLatin1String("/a.jpg"), QStringLiteral("A/B"))};
    UploadInitRequest request;
    FuzzReply reply(Fuzz::bytes(pData, iSize));
    QObject::connect(&reply, &QNetworkReply::finished, &request, &UploadInitRequest::slotUploadInitRequestFinished);
    reply.finish();
    UploadJobList lstLeft = lstJobs;
    request.filterJobs(lstLeft);
    // Jobs only go, never come or change; a file is dropped only for a missing privilege.
    for (const UploadJob& left : lstLeft) {
        if (!lstJobs.contains(left))
            Fuzz::fail("a job was changed");
    }
    for (const UploadJob& dropped : lstJobs) {
        if (lstLeft.contains(dropped))
            continue;
        const QString strPath = UploadInitRequest::serverPath(dropped);
        if (!request.noPrivilegePaths().contains(strPath) && !request.duplicatedPaths().contains(strPath))
            Fuzz::fail("a job was dropped without a reason");
    }
    if (request.errorMessage().isEmpty() && reply.error() != QNetworkReply::NoError)
        Fuzz::fail("a failed announcement has no message");
    if (lstLeft.isEmpty() && request.zeroFileMessage().isEmpty())
        Fuzz::fail("no message for an empty list");
    return 0;
}
