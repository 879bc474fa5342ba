#include "FolderWatcher.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <utility>
#include <climits>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t s_watchMask = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF |
                                 IN_MOVE_SELF | IN_ONLYDIR;

// Size and modification time (nanoseconds), or false when the file is gone or not a file.
bool statFile(const QString& strPath, qint64* pllSize, qint64* pllModified)
{
    struct stat st;
    if (::stat(QFile::encodeName(strPath).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    *pllSize = st.st_size;
    *pllModified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

} // namespace

FolderWatcher::FolderWatcher(const QStringList& lstFolders, int iSettleSeconds, QObject* pParent)
    : QObject(pParent), m_lstFolders(lstFolders), m_llSettleMs(qint64(qMax(0, iSettleSeconds)) * 1000)
{
    for (QString& strFolder : m_lstFolders)
        strFolder = QDir::cleanPath(QFileInfo(strFolder).absoluteFilePath());
    m_clock.start();
    m_pSettleTimer = new QTimer(this);
    m_pSettleTimer->setSingleShot(true);
    connect(m_pSettleTimer, &QTimer::timeout, this, &FolderWatcher::checkWaiting);
}

FolderWatcher::~FolderWatcher()
{
    if (m_iFd >= 0)
        ::close(m_iFd);
}

bool FolderWatcher::isPartialName(const QString& strName)
{
    return strName.startsWith(QLatin1Char('.')) || strName.endsWith(QLatin1Char('~')) ||
           strName.endsWith(QLatin1String(".part"), Qt::CaseInsensitive) ||
           strName.endsWith(QLatin1String(".crdownload"), Qt::CaseInsensitive);
}

bool FolderWatcher::start(QString* pstrError)
{
    m_iFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_iFd < 0) {
        *pstrError = QStringLiteral("Folders cannot be watched: %1.").arg(QString::fromLocal8Bit(::strerror(errno)));
        return false;
    }
    m_pNotifier = new QSocketNotifier(m_iFd, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
    for (const QString& strFolder : std::as_const(m_lstFolders))
        addTree(strFolder, false);
    return true;
}

QStringList FolderWatcher::presentFolders() const
{
    QStringList lstPresent;
    for (const QString& strFolder : m_lstFolders) {
        if (QFileInfo(strFolder).isDir())
            lstPresent.append(strFolder);
    }
    return lstPresent;
}

QStringList FolderWatcher::takeSettled()
{
    const QStringList lstSettled(m_setSettled.cbegin(), m_setSettled.cend());
    m_setSettled.clear();
    return lstSettled;
}

QSet<QString> FolderWatcher::takeNewFolders()
{
    return std::exchange(m_setNewFolders, {});
}

QString FolderWatcher::rootOf(const QString& strPath) const
{
    for (const QString& strFolder : m_lstFolders) {
        if (strPath.startsWith(strFolder + QLatin1Char('/')))
            return strFolder;
    }
    return QString();
}

void FolderWatcher::addWatch(const QString& strDir)
{
    const int iWd = ::inotify_add_watch(m_iFd, QFile::encodeName(strDir).constData(), s_watchMask);
    if (iWd >= 0)
        m_hashDirs.insert(iWd, strDir);
    else
        qDebug("FolderWatcher: %s not watched (errno %d)", qPrintable(strDir), errno);
}

void FolderWatcher::addTree(const QString& strDir, bool blMarkFiles)
{
    // The watch comes first, so that nothing made while the tree is read is missed.
    addWatch(strDir);
    QDirIterator it(strDir, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        const QString strPath = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink() || isPartialName(info.fileName()))
            continue;
        if (info.isDir())
            addTree(strPath, blMarkFiles);
        else if (blMarkFiles)
            markChanged(strPath);
    }
}

void FolderWatcher::rescan()
{
    // Watch descriptors of a folder that still exists are returned again by inotify.
    for (const QString& strFolder : std::as_const(m_lstFolders)) {
        if (!QFileInfo(strFolder).isDir()) {
            if (!m_setGone.contains(strFolder)) {
                m_setGone.insert(strFolder);
                Q_EMIT signalFolderGone(strFolder);
            }
            continue;
        }
        if (m_setGone.remove(strFolder))
            Q_EMIT signalFolderBack(strFolder);
        addTree(strFolder, false);
    }
}

void FolderWatcher::markChanged(const QString& strPath)
{
    Waiting& waiting = m_hashWaiting[strPath];
    qint64 llSize = -1;
    qint64 llModified = -1;
    statFile(strPath, &llSize, &llModified);
    waiting.llSize = llSize;
    waiting.llModified = llModified;
    waiting.llChangedAt = m_clock.elapsed();
    armTimer();
}

void FolderWatcher::readEvents()
{
    alignas(struct inotify_event) char buffer[64 * (sizeof(struct inotify_event) + NAME_MAX + 1)];
    bool blOverflow = false;
    for (;;) {
        const ssize_t iRead = ::read(m_iFd, buffer, sizeof buffer);
        if (iRead <= 0)
            break;
        for (ssize_t i = 0; i < iRead;) {
            const auto* pEvent = reinterpret_cast<const struct inotify_event*>(buffer + i);
            i += ssize_t(sizeof(struct inotify_event) + pEvent->len);
            if (pEvent->mask & IN_Q_OVERFLOW) {
                blOverflow = true;
                continue;
            }
            const QString strDir = m_hashDirs.value(pEvent->wd);
            if (pEvent->mask & IN_IGNORED) {
                m_hashDirs.remove(pEvent->wd);
                continue;
            }
            if (strDir.isEmpty())
                continue;
            if (pEvent->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                // A folder renamed inside the tree was watched again under its new name already.
                if (QFileInfo(strDir).isDir())
                    continue;
                if (m_lstFolders.contains(strDir) && !m_setGone.contains(strDir)) {
                    m_setGone.insert(strDir);
                    Q_EMIT signalFolderGone(strDir);
                }
                if (pEvent->mask & IN_MOVE_SELF) {
                    ::inotify_rm_watch(m_iFd, pEvent->wd);
                    m_hashDirs.remove(pEvent->wd);
                }
                continue;
            }
            if (pEvent->len == 0)
                continue;
            const QString strName = QFile::decodeName(pEvent->name);
            if (isPartialName(strName))
                continue;
            const QString strPath = strDir + QLatin1Char('/') + strName;
            if (pEvent->mask & IN_ISDIR) {
                if (pEvent->mask & (IN_CREATE | IN_MOVED_TO)) {
                    m_setNewFolders.insert(strPath);
                    addTree(strPath, true);
                }
                continue;
            }
            markChanged(strPath);
        }
    }
    if (blOverflow) {
        // Events were lost: every folder is read again by the next batch.
        qDebug("FolderWatcher: event queue overflow");
        m_blEventsLost = true;
        rescan();
        Q_EMIT signalSettled();
    }
}

void FolderWatcher::armTimer()
{
    if (m_hashWaiting.isEmpty()) {
        m_pSettleTimer->stop();
        return;
    }
    qint64 llNext = LLONG_MAX;
    for (const Waiting& waiting : std::as_const(m_hashWaiting))
        llNext = qMin(llNext, waiting.llChangedAt + m_llSettleMs);
    const qint64 llDelay = qBound(qint64(50), llNext - m_clock.elapsed() + 10, qint64(24) * 3600 * 1000);
    if (!m_pSettleTimer->isActive() || m_pSettleTimer->remainingTime() > llDelay)
        m_pSettleTimer->start(int(llDelay));
}

void FolderWatcher::checkWaiting()
{
    const qint64 llNow = m_clock.elapsed();
    for (auto it = m_hashWaiting.begin(); it != m_hashWaiting.end();) {
        qint64 llSize = -1;
        qint64 llModified = -1;
        if (!statFile(it.key(), &llSize, &llModified)) {
            // Deleted or renamed before it settled: nothing to send.
            it = m_hashWaiting.erase(it);
            continue;
        }
        if (llSize != it->llSize || llModified != it->llModified) {
            it->llSize = llSize;
            it->llModified = llModified;
            it->llChangedAt = llNow;
            ++it;
            continue;
        }
        if (llNow - it->llChangedAt >= m_llSettleMs) {
            m_blSettledSome = true;
            m_setSettled.insert(it.key());
            it = m_hashWaiting.erase(it);
            continue;
        }
        ++it;
    }
    armTimer();
    if (m_hashWaiting.isEmpty() && m_blSettledSome) {
        m_blSettledSome = false;
        Q_EMIT signalSettled();
    }
}
