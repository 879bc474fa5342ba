#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

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
// Thunar's uca.xml: the character ranges of our <action> elements in the text; false when the
// text is not well-formed XML with an <actions> root.
bool thunarActionRanges(const QString& strText, QList<std::pair<qsizetype, qsizetype>>& lstRanges);
// The bytes of a uca.xml with our actions for lstProfiles in place of the old ones; every other
// character stays. False when the bytes are not UTF-8 or not such XML.
bool spliceThunarFile(const QByteArray& baFile, const QStringList& lstProfiles, const QString& strStarter,
                      QByteArray& baOut);

} // namespace DesktopMenus
