#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One upload run per profile at a time, across the processes of this user: the history is
// read before a run and written during it, so two runs at once would send every file twice.
// The lock belongs to the process that holds it; one left by a process that no longer runs
// is taken over.
class ProfileRunLock
{
public:
    explicit ProfileRunLock(const QString& strProfile);
    ~ProfileRunLock();
    ProfileRunLock(const ProfileRunLock&) = delete;
    ProfileRunLock& operator=(const ProfileRunLock&) = delete;

    // True when this object holds the lock (also when it held it already).
    bool tryLock();
    void unlock();
    bool isLocked() const;
    // The message for the user after tryLock failed: another run holds the lock, or the lock
    // file cannot be made at all.
    QString refusal() const;

private:
    // The lock file of a profile, in the data folder.
    static QString lockPath(const QString& strProfile);

    QString m_strProfile;
    std::unique_ptr<QLockFile> m_pLock;
    bool m_blHeldElsewhere = false;
};
