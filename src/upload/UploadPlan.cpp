#include "UploadPlan.h"

#include "CaptureTime.h"
#include "MediaTypes.h"
#include "VelmLocale.h"
#include "VideoProbe.h"
#include "store/UploadHistory.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace UploadPlan {

namespace {

// Names in a folder that the file system's encoding cannot turn into text and back: such a
// file cannot be opened through its decoded name.
QStringList undecodableNames(const QString& strFolder)
{
    QStringList lstNames;
#ifdef Q_OS_UNIX
    DIR* pDir = ::opendir(QFile::encodeName(strFolder).constData());
    if (!pDir)
        return lstNames;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const QByteArray baName(pEntry->d_name);
        if (QFile::encodeName(QFile::decodeName(baName)) != baName)
            lstNames.append(QFile::decodeName(baName));
    }
    ::closedir(pDir);
    lstNames.sort();
#else
    Q_UNUSED(strFolder)
#endif
    return lstNames;
}

struct Collector
{
    bool blKeepFolders;
    bool blSupportedOnly;
    UploadJobList& lstJobs;
    LeftOutList* pLeftOut;
    bool blVideo = false;
    // Canonical paths collected: a file named twice (directly, through "." or "..", or inside a
    // chosen folder) is sent once.
    QSet<QString> setSeen;

    void leaveOut(const QString& strPath, const char* pszReason)
    {
        if (pLeftOut)
            pLeftOut->append({QDir::toNativeSeparators(strPath), VelmLocale::message(pszReason)});
    }

    void collect(const QString& strPath, const QString& strDestination)
    {
        if (strPath.isEmpty())
            return;
        const QFileInfo info(strPath);
        if (!info.exists()) {
            leaveOut(strPath, info.isSymLink() ? "skip_link" : "skip_missing");
            return;
        }
        if (info.isHidden()) {
            leaveOut(info.absoluteFilePath(), "skip_hidden");
            return;
        }
        const bool blFolder = info.isDir();
        if (!blFolder && !info.isFile()) {
            leaveOut(info.absoluteFilePath(), "skip_special");
            return;
        }
        if (setSeen.contains(info.canonicalFilePath()))
            return;
        setSeen.insert(info.canonicalFilePath());
        const int iKind = blFolder ? MediaTypes::UploadUnsupported : MediaTypes::uploadKind(info.suffix());
        if (iKind == MediaTypes::UploadVideo)
            blVideo = true;

        if (blFolder && !blKeepFolders) {
            collectContents(info.absoluteFilePath(), strDestination);
            return;
        }
        if (!blFolder && iKind == MediaTypes::UploadUnsupported && blSupportedOnly) {
            leaveOut(info.absoluteFilePath(), "skip_unsupported");
            return;
        }
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
        // Everything is listed, so that what is not uploaded can be said.
        const QFileInfoList lstEntries =
            QDir(strFolder).entryInfoList(QDir::AllEntries | QDir::Drives | QDir::Hidden | QDir::System |
                                              QDir::NoDotAndDotDot,
                                          QDir::DirsFirst | QDir::Name | QDir::IgnoreCase);
        const QStringList lstUndecodable = undecodableNames(strFolder);
        for (const QString& strName : lstUndecodable)
            leaveOut(strFolder + QLatin1Char('/') + strName, "skip_bad_name");
        for (const QFileInfo& entry : lstEntries) {
            if (lstUndecodable.contains(entry.fileName()))
                continue;
            if (entry.isSymLink())
                leaveOut(entry.absoluteFilePath(), "skip_link");
            else
                collect(entry.absoluteFilePath(), strDestination);
        }
    }
};

} // namespace

QString destinationProblem(const QString& strText, QString& strNormalized)
{
    for (const QChar c : strText) {
        if (c.category() == QChar::Other_Control)
            return VelmLocale::message("err_bad_destination_chars").arg(strText);
    }
    if (!normalizeDestination(strText, strNormalized))
        return VelmLocale::message("err_bad_destination").arg(strText);
    return QString();
}

QString destinationDir(const QString& strDestination)
{
    return strDestination.startsWith(QLatin1String("/photo/")) ? strDestination.mid(int(qstrlen("/photo/")))
                                                                : QString();
}

bool normalizeDestination(const QString& strText, QString& strNormalized)
{
    QStringList lstParts;
    for (const QString& strPart : strText.split(QLatin1Char('/'))) {
        const QString strName = strPart.trimmed();
        if (strName == QLatin1String(".") || strName == QLatin1String(".."))
            return false;
        if (!strName.isEmpty())
            lstParts.append(strName);
    }
    // The text itself starts at the root: "/photo...", never "photo" without its slash.
    if (!strText.trimmed().startsWith(QLatin1Char('/')) || lstParts.value(0) != QLatin1String("photo"))
        return false;
    strNormalized = QLatin1Char('/') + lstParts.join(QLatin1Char('/'));
    return true;
}

bool collectJobs(const QStringList& lstPaths, const QString& strDestinationDir, bool blKeepFolders,
                 bool blSupportedOnly, UploadJobList& lstJobs, LeftOutList* pLeftOut)
{
    Collector collector{blKeepFolders, blSupportedOnly, lstJobs, pLeftOut, {}, {}};
    for (const QString& strPath : lstPaths)
        collector.collect(strPath, strDestinationDir);
    return collector.blVideo;
}

QString baseStoredName(const QString& strPath, bool blDateRename)
{
    const QFileInfo info(strPath);
    if (!blDateRename)
        return info.fileName();
    switch (MediaTypes::conversionKind(info.suffix())) {
    case MediaTypes::ConvertPhoto:
        return captureTimeName(strPath);
    case MediaTypes::ConvertVideo: {
        // The container's creation date; the file time only where it has none (a copy resets it).
        QDateTime taken = VideoProbe::run(strPath).creationTime;
        if (!taken.isValid())
            taken = info.lastModified();
        return QLatin1String("IMG_") + taken.toString(QStringLiteral("yyyyMMdd_hhmmss")) + QLatin1Char('.') +
               info.suffix();
    }
    default:
        return info.fileName();
    }
}

QString StoredNames::take(const QString& strAlbum, const QString& strName)
{
    QSet<QString>& setTaken = m_hashTaken[strAlbum];
    const qsizetype iDot = strName.lastIndexOf(QLatin1Char('.'));
    const QString strBase = iDot > 0 ? strName.left(iDot) : strName;
    const QString strSuffix = iDot > 0 ? strName.mid(iDot) : QString();
    QString strCandidate = strName;
    // Case-folded: a server share may not tell IMG_1.JPG from img_1.jpg.
    for (int i = 1; setTaken.contains(strCandidate.toCaseFolded()); ++i)
        strCandidate = strBase + QLatin1Char('_') + QString::number(i) + strSuffix;
    setTaken.insert(strCandidate.toCaseFolded());
    return strCandidate;
}

bool StoredNames::isTaken(const QString& strAlbum, const QString& strName) const
{
    return m_hashTaken.value(strAlbum).contains(strName.toCaseFolded());
}

void StoredNames::reserve(const QString& strAlbum, const QString& strName)
{
    m_hashTaken[strAlbum].insert(strName.toCaseFolded());
}

namespace {

// strName is strBase itself or strBase with "_N" before its suffix.
bool numberedFrom(const QString& strName, const QString& strBase)
{
    if (strName.compare(strBase, Qt::CaseInsensitive) == 0)
        return true;
    const qsizetype iDot = strBase.lastIndexOf(QLatin1Char('.'));
    const QString strStem = iDot > 0 ? strBase.left(iDot) : strBase;
    const QString strSuffix = iDot > 0 ? strBase.mid(iDot) : QString();
    if (!strName.startsWith(strStem + QLatin1Char('_'), Qt::CaseInsensitive) ||
        !strName.endsWith(strSuffix, Qt::CaseInsensitive))
        return false;
    const QString strNumber = strName.mid(strStem.size() + 1, strName.size() - strStem.size() - 1 - strSuffix.size());
    bool blNumber = false;
    return strNumber.toUInt(&blNumber) > 0 && blNumber && !strNumber.startsWith(QLatin1Char('0'));
}

} // namespace

void assignStoredNames(UploadJobList& lstJobs, bool blDateRename, const std::function<void()>& eachFile,
                       const std::function<QString(const UploadJob&)>& fnKnownName)
{
    StoredNames names;
    // Names known for a file come first, so that no other file takes them; only a name the same
    // rule made counts (the options may have changed since).
    QSet<int> setKnown;
    for (int i = 0; i < lstJobs.size(); ++i) {
        UploadJob& job = lstJobs[i];
        const QString strPath = job.value(JobLocalPath);
        if (QFileInfo(strPath).isDir())
            continue;
        if (eachFile)
            eachFile();
        job.insert(JobBaseName, baseStoredName(strPath, blDateRename));
        const QString strKnown = fnKnownName ? fnKnownName(job) : QString();
        if (strKnown.isEmpty() || !numberedFrom(strKnown, job.value(JobBaseName)) ||
            names.isTaken(job.value(JobDestination), strKnown))
            continue;
        names.reserve(job.value(JobDestination), strKnown);
        job.insert(JobStoredName, strKnown);
        setKnown.insert(i);
    }
    for (int i = 0; i < lstJobs.size(); ++i) {
        UploadJob& job = lstJobs[i];
        if (setKnown.contains(i) || !job.contains(JobBaseName))
            continue;
        job.insert(JobStoredName, names.take(job.value(JobDestination), job.value(JobBaseName)));
    }
}

int avoidTakenNames(UploadJobList& lstJobs, const TakenNames& taken, const std::function<bool(const UploadJob&)>& fnKeep,
                    bool blLastTry)
{
    StoredNames names;
    for (const UploadJob& job : std::as_const(lstJobs)) {
        if (!job.value(JobStoredName).isEmpty())
            names.reserve(job.value(JobDestination), job.value(JobStoredName));
    }
    for (auto it = taken.constBegin(); it != taken.constEnd(); ++it) {
        for (const QString& strName : it.value())
            names.reserve(it.key(), strName);
    }
    int iChanged = 0;
    for (UploadJob& job : lstJobs) {
        const QString strName = job.value(JobStoredName);
        const QString strAlbum = job.value(JobDestination);
        if (strName.isEmpty() || !taken.value(strAlbum).contains(strName.toCaseFolded()))
            continue;
        // The file's own name: the profile's policy is what the user chose for it.
        if (strName == QFileInfo(QDir::cleanPath(job.value(JobLocalPath))).fileName() || (fnKeep && fnKeep(job)))
            continue;
        if (blLastTry)
            job.insert(JobDuplicate, QStringLiteral("RENAME"));
        else
            job.insert(JobStoredName, names.take(strAlbum, job.value(JobBaseName, strName)));
        ++iChanged;
    }
    return iChanged;
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
