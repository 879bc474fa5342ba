#pragma once

#include <QString>
#include <QStringList>

// File-manager context menus on Linux desktops: Nautilus scripts, a Dolphin service menu,
// Thunar custom actions and Nemo actions. Every entry runs the hand-over starter with a run
// mode (and a shortcut index); a profile name is only ever a label, never part of a command.
namespace DesktopMenus {

// Rewrites the entries of every file manager for the profiles in shortcut-list order: one
// per profile, then "Create new profile" and "Manage profiles". strStarter: the starter
// program to run; empty looks it up with starterPath(). Without a starter nothing is touched.
void rewrite(const QStringList& lstProfiles, const QString& strStarter = QString());

// pictarium-send beside the running program when it is executable there, else the one on
// PATH; empty when neither exists.
QString starterPath();

// A menu label as a file name: slashes and control characters replaced, a leading dot
// defused, at most 200 UTF-8 bytes, never empty.
QString fileNameFor(const QString& strLabel);

} // namespace DesktopMenus
