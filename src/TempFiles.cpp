#include "TempFiles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace TempFiles {

namespace {

std::atomic<quint32> s_uConversionId{0};

bool processRuns(qint64 llPid)
{
#ifdef Q_OS_UNIX
    if (llPid <= 0)
        return false;
    return ::kill(pid_t(llPid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(llPid)
    return true;
#endif
}

} // namespace

// The system temporary location. TMPDIR naming a folder that does not exist makes it empty,
// which would put the folder at the file system root: the system's own /tmp is used then.
QString systemTempPath()
{
    const QString strTemp = QDir::tempPath();
#ifdef Q_OS_UNIX
    if (strTemp.isEmpty() || !QFileInfo(strTemp).isDir()) {
        qDebug("TempFiles: the temporary location [%s] is not a folder; using /tmp", qPrintable(strTemp));
        return QStringLiteral("/tmp");
    }
#endif
    return strTemp;
}

QString folderPath()
{
#ifdef Q_OS_UNIX
    return systemTempPath() + QLatin1String("/VOZ_PHOTO_TEMP-") + QString::number(::getuid());
#else
    return systemTempPath() + QLatin1String("/VOZ_PHOTO_TEMP");
#endif
}

bool ensureFolder()
{
    const QString strPath = folderPath();
#ifdef Q_OS_UNIX
    const QByteArray baPath = QFile::encodeName(strPath);
    struct stat info;
    if (::lstat(baPath.constData(), &info) != 0) {
        QDir().mkpath(systemTempPath());
        if (::mkdir(baPath.constData(), 0700) != 0 && errno != EEXIST) {
            qDebug("TempFiles: cannot create %s", baPath.constData());
            return false;
        }
        if (::lstat(baPath.constData(), &info) != 0)
            return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        qDebug("TempFiles: %s is not a folder of this user; nothing is converted", baPath.constData());
        return false;
    }
    if ((info.st_mode & 0077) != 0)
        ::chmod(baPath.constData(), 0700);
    return true;
#else
    return QDir().mkpath(strPath);
#endif
}

void emptyFolder()
{
    if (!ensureFolder())
        return;
    const QString strOwnPid = QString::number(QCoreApplication::applicationPid());
    QDir dir(folderPath());
    const QFileInfoList lstEntries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : lstEntries) {
        const QString strName = entry.fileName();
        const qsizetype iUnderscore = strName.indexOf(QLatin1Char('_'));
        bool blNumber = false;
        const qint64 llPid = iUnderscore > 0 ? strName.left(iUnderscore).toLongLong(&blNumber) : 0;
        if (!blNumber)
            continue;
        if (strName.left(iUnderscore) == strOwnPid || !processRuns(llPid))
            QFile::remove(entry.absoluteFilePath());
    }
}

quint32 nextConversionId()
{
    quint32 uNext = s_uConversionId.load() + 1;
    if (uNext == 0xFFFFFFFFu)
        uNext = 0;
    s_uConversionId.store(uNext);
    return uNext;
}

quint32 lastConversionId()
{
    return s_uConversionId.load();
}

QString tempFilePrefix(quint32 uId)
{
    return folderPath() + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('_') +
           QString::number(uId);
}

} // namespace TempFiles
