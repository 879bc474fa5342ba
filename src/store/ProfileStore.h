#pragma once

#include "ServerProfile.h"

#include <QMap>
#include <QString>
#include <QStringList>

class UserPrompt;

// Stored upload profiles (table ServerProfiles) and the shortcut list file. Names match
// exactly, letter case included, except where a function says otherwise.
namespace ProfileStore {

void fillRecord(ServerProfile& profile, const QString& strName, const QString& strHostAddr, int iPort, bool blHttps,
                const QString& strAccount, const QString& strPassword, bool blSavePass, const QString& strUsrname,
                bool blPersonal, bool blIdxOnly, bool blIncBackup, bool blDateRename, const QString& strDupHandler,
                const QString& strServerDst, const QList<int>& lstQualities);

// Longest name a new or renamed profile may have, in every front end. Older profiles with
// longer names keep them.
inline constexpr int MaxProfileNameLength = 32;
// Why a profile name cannot be used (control characters, line breaks, too long); empty when
// it can. Every front end asks before it stores a name: the shortcut list holds one per line.
QString profileNameProblem(const QString& strName);

// Stores a new profile with the fixed option defaults, then rewrites the shortcut list.
bool insertProfile(const ServerProfile& profile);
// Fills the record from the stored row; shows the database error box and returns false
// when there is none.
bool loadProfile(const QString& strName, ServerProfile& profile, UserPrompt& prompt);
void saveUploadOptions(const ServerProfile& profile);
void countUploadRun(const QString& strName);
// Sets one column of the named profile's row in one of the program's tables.
void setColumn(const QString& strTable, const QString& strName, const QString& strColumn, const QString& strValue);
void updateConnectionSettings(const QString& strOldName, const ProfileSummary& summary);
// False when the database refused.
bool deleteProfile(const QString& strName);
// Name to summary, ascending by name. pblOk (when given) tells a failed read from no profile.
QMap<QString, ProfileSummary> listProfiles(bool* pblOk = nullptr);
// Ignoring letter case.
bool profileExists(const QString& strName);
// Position in the shortcut list order, ignoring letter case; the profile count when absent.
int shortcutIndex(const QString& strName);
// Profile names in shortcut list order (descending, SQLite byte-wise), without touching the
// keyring. pblOk (when given) tells a failed read from no profile.
QStringList shortcutOrder(bool* pblOk = nullptr);
void rewriteShortcutList();

QString shortcutListPath();
// The name at position iIndex of the shortcut list file; empty for an index past the end or
// negative, and when the file is missing or lists no profile.
QString shortcutProfileName(int iIndex);

// The counter column of a profile, -1 when not stored.
int uploadRunCount(const QString& strName);

} // namespace ProfileStore
