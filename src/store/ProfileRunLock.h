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
    // Why tryLock failed: another run holds the lock (true), or the lock file could not be
    // made at all (false).
    bool heldElsewhere() const { return m_blHeldElsewhere; }

    // The lock file of a profile, in the data folder.
    static QString lockPath(const QString& strProfile);

private:
    std::unique_ptr<QLockFile> m_pLock;
    bool m_blHeldElsewhere = false;
};
