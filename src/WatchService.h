#pragma once

#include <QString>
#include <QStringList>

class UserPrompt;

// Runs a profile's folder watcher (`pictarium-cli watch --profile NAME`) in the background:
// as an instance of the user service template where a user service manager runs, else as an
// autostart entry plus a watcher started at once. Tool failures are told through the prompt.
namespace WatchService {

// The profile name as an instance name, escaped like `systemd-escape` does.
QString escapeName(const QString& strProfile);
// pictarium-watch@<escaped>.service
QString unitName(const QString& strProfile);
// $XDG_CONFIG_HOME/autostart/pictarium-watch-<escaped>.desktop
QString autostartPath(const QString& strProfile);
// The watcher's command: the terminal program beside this one (else on the PATH) and its arguments.
QStringList watchCommand(const QString& strProfile);
// True when a user service manager runs for this session.
bool userManagerRuns();

// Installs and starts the profile's watcher; false after a failure the prompt has told.
bool enable(const QString& strProfile, UserPrompt* pPrompt);
// Stops and removes it; nothing to remove is no failure.
bool disable(const QString& strProfile, UserPrompt* pPrompt);

} // namespace WatchService
