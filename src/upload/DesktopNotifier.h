#pragma once

#include <QString>

// A desktop notification through the session bus (org.freedesktop.Notifications). Without a
// session bus nothing is shown, and nothing is said.
namespace DesktopNotifier {

void notify(const QString& strSummary, const QString& strBody);

} // namespace DesktopNotifier
