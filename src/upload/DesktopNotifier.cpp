#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

namespace DesktopNotifier {

void notify(const QString& strSummary, const QString& strBody)
{
    // Only a bus that is there: no attempt to start one.
    const QString strRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (strRuntime.isEmpty() || !QFileInfo::exists(strRuntime + QLatin1String("/bus"))))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                       QStringLiteral("/org/freedesktop/Notifications"),
                                       QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    message << QStringLiteral("Pictarium Uploader") << 0u << QStringLiteral("pictarium-uploader") << strSummary
            << strBody << QStringList() << QVariantMap() << -1;
    // Waited for briefly, so that the last one before an exit still goes out.
    bus.call(message, QDBus::Block, 2000);
}

} // namespace DesktopNotifier
