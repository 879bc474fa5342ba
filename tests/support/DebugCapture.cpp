#include "DebugCapture.h"

#include <QMutex>
#include <QtGlobal>

namespace {

QMutex s_mutex;
QStringList s_lstLines;
QtMessageHandler s_previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    if (type == QtDebugMsg) {
        QMutexLocker locker(&s_mutex);
        s_lstLines.append(strMessage);
        return;
    }
    if (s_previous)
        s_previous(type, context, strMessage);
}

} // namespace

DebugCapture::DebugCapture()
{
    QMutexLocker locker(&s_mutex);
    s_lstLines.clear();
    s_previous = qInstallMessageHandler(collect);
}

DebugCapture::~DebugCapture()
{
    qInstallMessageHandler(s_previous);
}

QStringList DebugCapture::lines() const
{
    QMutexLocker locker(&s_mutex);
    return s_lstLines;
}
