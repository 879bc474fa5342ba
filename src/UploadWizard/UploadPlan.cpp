#include "UploadPlan.h"

#include "MediaTypes.h"
#include "store/UploadHistory.h"

#include <QDir>
#include <QFileInfo>

namespace UploadPlan {

namespace {

struct Collector
{
    bool blKeepFolders;
    bool blSupportedOnly;
    UploadJobList& lstJobs;
    bool blVideo = false;

    void collect(const QString& strPath, const QString& strDestination)
    {
        const QFileInfo info(strPath);
        if (strPath.isEmpty() || !info.exists() || info.isHidden())
            return;
        const bool blFolder = info.isDir();
        const int iKind = blFolder ? MediaTypes::UploadUnsupported : MediaTypes::uploadKind(info.suffix());
        if (iKind == MediaTypes::UploadVideo)
            blVideo = true;

        if (blFolder && !blKeepFolders) {
            collectContents(info.absoluteFilePath(), strDestination);
            return;
        }
        if (!blFolder && iKind == MediaTypes::UploadUnsupported && blSupportedOnly)
            return;
        lstJobs.append({{JobLocalPath, info.absoluteFilePath()}, {JobDestination, strDestination}});
        if (blFolder) {
            // The album of a folder in the photo root is its bare name.
            const QString strInner =
                strDestination.isEmpty() ? info.fileName() : strDestination + QLatin1Char('/') + info.fileName();
            collectContents(info.absoluteFilePath(), strInner);
        }
    }

    void collectContents(const QString& strFolder, const QString& strDestination)
    {
        const QFileInfoList lstEntries =
            QDir(strFolder).entryInfoList(QDir::AllEntries | QDir::Drives | QDir::NoSymLinks | QDir::NoDotAndDotDot,
                                          QDir::DirsFirst | QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& entry : lstEntries) {
            if (!entry.isSymLink())
                collect(entry.absoluteFilePath(), strDestination);
        }
    }
};

} // namespace

QString destinationDir(const QString& strDestination)
{
    return strDestination.startsWith(QLatin1String("/photo/")) ? strDestination.mid(int(qstrlen("/photo/")))
                                                                : QString();
}

bool collectJobs(const QStringList& lstPaths, const QString& strDestinationDir, bool blKeepFolders,
                 bool blSupportedOnly, UploadJobList& lstJobs)
{
    Collector collector{blKeepFolders, blSupportedOnly, lstJobs};
    for (const QString& strPath : lstPaths)
        collector.collect(strPath, strDestinationDir);
    return collector.blVideo;
}

UploadJobList dropUploaded(UploadJobList& lstJobs, const QString& strProfile, const std::function<void()>& eachFile)
{
    UploadJobList lstDropped;
    for (auto it = lstJobs.begin(); it != lstJobs.end();) {
        if (eachFile)
            eachFile();
        const QString strPath = it->value(JobLocalPath);
        if (!QFileInfo(strPath).isDir() && UploadHistory::isUploaded(strPath, strProfile)) {
            lstDropped.append(*it);
            it = lstJobs.erase(it);
        } else {
            ++it;
        }
    }
    return lstDropped;
}

} // namespace UploadPlan
