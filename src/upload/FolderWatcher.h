#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <utility>

class QSocketNotifier;
class QTimer;

// Watches folders and everything below them for photos and videos that are new or changed, and
// says when they are complete: their size and modification time stayed the same for the settle
// time. Linux inotify read through a QSocketNotifier: one descriptor for every folder, file names
// with each event, and an overflow event to know when events were lost. Nothing runs while
// nothing changes; the settle timer runs only while files wait.
class FolderWatcher : public QObject
{
    Q_OBJECT

public:
    FolderWatcher(const QStringList& lstFolders, int iSettleSeconds, QObject* pParent = nullptr);
    ~FolderWatcher() override;
    Q_DISABLE_COPY_MOVE(FolderWatcher)

    // False with the reason when inotify cannot be used at all.
    bool start(QString* pstrError);
    // Watches again the folders that came back and the folders made since; tells those missing.
    void rescan();
    // The watched folders that exist now.
    QStringList presentFolders() const;
    // Files that changed and have not settled yet.
    int waitingFiles() const { return int(m_hashWaiting.size()); }
    // The files that settled, and the folders made since the last call (to send whole).
    QStringList takeSettled();
    QSet<QString> takeNewFolders();
    // True once after events were lost: every folder must be read again.
    bool takeEventsLost() { return std::exchange(m_blEventsLost, false); }
    // The watched folder that holds strPath, or an empty text.
    QString rootOf(const QString& strPath) const;
    // Names a copy gives a file before its final name: waited out until renamed.
    static bool isPartialName(const QString& strName);

Q_SIGNALS:
    // Files settled and none waits any more (or events were lost): time for a batch.
    void signalSettled();
    // A watched folder is gone; told once until it comes back.
    void signalFolderGone(const QString& strFolder);
    void signalFolderBack(const QString& strFolder);

private:
    struct Waiting
    {
        qint64 llSize = -1;
        qint64 llModified = -1;
        qint64 llChangedAt = 0; // m_clock time of the last change seen
    };

    void readEvents();
    void addTree(const QString& strDir, bool blMarkFiles);
    void addWatch(const QString& strDir);
    void markChanged(const QString& strPath);
    void checkWaiting();
    void armTimer();

    QStringList m_lstFolders;
    qint64 m_llSettleMs;
    int m_iFd = -1;
    QSocketNotifier* m_pNotifier = nullptr;
    QTimer* m_pSettleTimer = nullptr;
    QElapsedTimer m_clock;
    QHash<int, QString> m_hashDirs; // watch descriptor -> folder
    QHash<QString, Waiting> m_hashWaiting;
    QSet<QString> m_setGone;
    bool m_blSettledSome = false;
    QSet<QString> m_setSettled;
    QSet<QString> m_setNewFolders;
    bool m_blEventsLost = false;
};
