#include "ProfileRunLock.h"

#include "AppIdentity.h"
#include "VelmLocale.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QLockFile>

ProfileRunLock::ProfileRunLock(const QString& strProfile)
    : m_strProfile(strProfile), m_pLock(std::make_unique<QLockFile>(lockPath(strProfile)))
{
    // Only a lock whose process is gone is stale, however long a run takes.
    m_pLock->setStaleLockTime(0);
}

ProfileRunLock::~ProfileRunLock() = default;

QString ProfileRunLock::lockPath(const QString& strProfile)
{
    // Profile names may hold any character; the file name is their digest.
    const QByteArray baDigest = QCryptographicHash::hash(strProfile.toUtf8(), QCryptographicHash::Sha1).toHex();
    return AppIdentity::dataFilePath(QLatin1String("UploadRun-") + QString::fromLatin1(baDigest.left(16)) +
                                     QLatin1String(".lock"));
}

bool ProfileRunLock::tryLock()
{
    if (m_pLock->isLocked())
        return true;
    const bool blLocked = m_pLock->tryLock(0);
    m_blHeldElsewhere = !blLocked && m_pLock->error() == QLockFile::LockFailedError;
    if (!blLocked)
        qDebug("ProfileRunLock: %s not taken (error %d)", qPrintable(m_pLock->fileName()), int(m_pLock->error()));
    return blLocked;
}

void ProfileRunLock::unlock()
{
    if (m_pLock->isLocked())
        m_pLock->unlock();
}

bool ProfileRunLock::isLocked() const
{
    return m_pLock->isLocked();
}

QString ProfileRunLock::refusal() const
{
    if (m_blHeldElsewhere)
        return VelmLocale::message("err_profile_busy").arg(m_strProfile);
    // The data folder cannot take the lock file: it cannot take the history either.
    return VelmLocale::message("err_history_write").arg(QDir::toNativeSeparators(m_pLock->fileName()));
}
