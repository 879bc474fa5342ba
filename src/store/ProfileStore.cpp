#include "ProfileStore.h"

#include "AppIdentity.h"
#include "DesktopMenus.h"
#include "HandOverFile.h"
#include "PasswordVault.h"
#include "UserPrompt.h"
#include "VelmDatabase.h"
#include "VelmLocale.h"
#include "WatchStore.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <utility>

namespace ProfileStore {

namespace {

using ColumnValues = QList<std::pair<QString, QVariant>>;

// Rows have no key; the first row of a name (in table order) is the one an operation
// works on, addressed afterwards by its SQLite rowid.
qint64 firstRowId(const QString& strTable, const QString& strName)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QLatin1String("SELECT rowid FROM ") + strTable +
                  QLatin1String(" WHERE profname = ? ORDER BY rowid LIMIT 1"));
    query.addBindValue(strName);
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

bool updateRow(const QString& strTable, qint64 llRowId, const ColumnValues& values)
{
    QStringList lstAssignments;
    for (const auto& value : values)
        lstAssignments.append(QLatin1Char('"') + value.first + QLatin1String("\" = ?"));
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QLatin1String("UPDATE ") + strTable + QLatin1String(" SET ") + lstAssignments.join(QLatin1String(", ")) +
                  QLatin1String(" WHERE rowid = ?"));
    for (const auto& value : values)
        query.addBindValue(value.second);
    query.addBindValue(llRowId);
    return query.exec();
}

const QString s_profiles = QStringLiteral("ServerProfiles");
const QString s_password = QStringLiteral("password");

// The first row of a profile; an empty record when there is none.
QSqlRecord firstProfileRow(const QString& strName, bool* pblFound = nullptr)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT * FROM ServerProfiles WHERE profname = ? ORDER BY rowid LIMIT 1"));
    query.addBindValue(strName);
    const bool blFound = query.exec() && query.next();
    if (pblFound)
        *pblFound = blFound;
    return blFound ? query.record() : QSqlRecord();
}

// A password to remember goes to the keyring first; the column is emptied only once the
// keyring has confirmed it. Returns what the password column is to hold.
QString keepRemembered(const QString& strName, const QString& strPassword)
{
    if (!strPassword.isEmpty() && PasswordVault::write(strName, strPassword) == PasswordVault::Outcome::Done)
        return QString();
    return strPassword;
}

// Drops the keyring entry of a name that no row uses any more.
void forgetUnused(const QString& strName)
{
    if (firstRowId(s_profiles, strName) < 0)
        PasswordVault::remove(strName);
}

// The password of a stored profile. A password in the column is the newest: it moves to the
// keyring when the keyring takes it. With the keyring switched off, one found there moves
// back into the column, and the entry is removed only after the column holds it.
QString rememberedPassword(const QString& strName, bool blSavePass, const QString& strColumn)
{
    if (!blSavePass)
        return strColumn;
    const qint64 llRowId = firstRowId(s_profiles, strName);
    if (!strColumn.isEmpty()) {
        if (keepRemembered(strName, strColumn).isEmpty())
            updateRow(s_profiles, llRowId, {{s_password, QString()}});
        return strColumn;
    }
    QString strPassword;
    if (PasswordVault::read(strName, &strPassword) != PasswordVault::Outcome::Done)
        return QString();
    if (!PasswordVault::enabled() && updateRow(s_profiles, llRowId, {{s_password, strPassword}}))
        PasswordVault::remove(strName);
    return strPassword;
}

} // namespace

void fillRecord(ServerProfile& profile, const QString& strName, const QString& strHostAddr, int iPort, bool blHttps,
                const QString& strAccount, const QString& strPassword, bool blSavePass, const QString& strUsrname,
                bool blPersonal, bool blIdxOnly, bool blIncBackup, bool blDateRename, const QString& strDupHandler,
                const QString& strServerDst, const QList<int>& lstQualities)
{
    profile.profname = strName;
    profile.hostaddr = strHostAddr;
    profile.port = iPort;
    profile.https = blHttps;
    profile.account = strAccount;
    profile.password = strPassword;
    profile.savepass = blSavePass;
    profile.usrname = strUsrname;
    profile.personal = blPersonal;
    profile.idxonly = blIdxOnly;
    profile.incbackup = blIncBackup;
    profile.daterename = blDateRename;
    profile.duphandler = strDupHandler;
    profile.serverdst = strServerDst;
    profile.qualities = lstQualities;
    profile.updateBaseUrl();
}

QString profileNameProblem(const QString& strName)
{
    const bool blControl = std::any_of(strName.begin(), strName.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
    if (blControl || strName.size() > MaxProfileNameLength)
        return VelmLocale::message("err_profname_invalid").arg(MaxProfileNameLength);
    return QString();
}

bool insertProfile(const ServerProfile& profile)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("insert into ServerProfiles values(?, ?, ?, ?, ?, ?, ?, ?,?, ?, ?, ?, ?, 1, 1, 1, "
                                 "'RENAME', '', 0)"));
    query.addBindValue(profile.profname);
    query.addBindValue(profile.hostaddr);
    query.addBindValue(profile.port);
    query.addBindValue(int(profile.https));
    query.addBindValue(int(profile.personal));
    query.addBindValue(profile.usrname);
    query.addBindValue(profile.account);
    // A password that is not to be remembered is kept nowhere.
    query.addBindValue(profile.savepass ? keepRemembered(profile.profname, profile.password) : QString());
    query.addBindValue(int(profile.savepass));
    for (int iQuality = 0; iQuality < 4; ++iQuality)
        query.addBindValue(int(profile.qualities.contains(iQuality)));
    const bool blOk = query.exec();
    if (!blOk)
        forgetUnused(profile.profname);
    else if (!profile.savepass)
        PasswordVault::remove(profile.profname);
    rewriteShortcutList();
    return blOk;
}

bool loadProfile(const QString& strName, ServerProfile& profile, UserPrompt& prompt)
{
    bool blFound = false;
    const QSqlRecord row = firstProfileRow(strName, &blFound);
    if (!blFound) {
        prompt.critical(VelmLocale::message("err_error"),
                        VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()));
        return false;
    }
    auto flag = [&row](const char* pszColumn) { return row.value(QLatin1String(pszColumn)).toInt() != 0; };

    // Rebuilt in the order low, medium, high, mobile.
    profile.qualities.clear();
    if (flag("lowqual"))
        profile.qualities.append(2);
    if (flag("medqual"))
        profile.qualities.append(1);
    if (flag("highqual"))
        profile.qualities.append(0);
    if (flag("mobilequal"))
        profile.qualities.append(3);

    profile.serverdst = row.value(QStringLiteral("serverdst")).toString();
    profile.duphandler = row.value(QStringLiteral("duphandler")).toString();
    profile.daterename = flag("daterename");
    profile.incbackup = flag("incbackup");
    profile.idxonly = flag("idxonly");
    profile.personal = flag("personal");
    profile.usrname = row.value(QStringLiteral("usrname")).toString();
    profile.savepass = flag("savepass");
    profile.password = rememberedPassword(strName, profile.savepass, row.value(s_password).toString());
    profile.account = row.value(QStringLiteral("account")).toString();
    profile.https = flag("https");
    profile.port = row.value(QStringLiteral("port")).toInt();
    profile.hostaddr = row.value(QStringLiteral("hostaddr")).toString();
    profile.profname = strName;
    profile.updateBaseUrl();
    return true;
}

void saveUploadOptions(const ServerProfile& profile)
{
    const qint64 llRowId = firstRowId(s_profiles, profile.profname);
    if (llRowId < 0)
        return;
    updateRow(s_profiles, llRowId,
              {{QStringLiteral("idxonly"), int(profile.idxonly)},
               {QStringLiteral("incbackup"), int(profile.incbackup)},
               {QStringLiteral("serverdst"), profile.serverdst},
               {QStringLiteral("daterename"), int(profile.daterename)},
               {QStringLiteral("duphandler"), profile.duphandler}});
}

int uploadRunCount(const QString& strName)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT counter FROM ServerProfiles WHERE profname = ? ORDER BY rowid LIMIT 1"));
    query.addBindValue(strName);
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toInt();
}

void countUploadRun(const QString& strName)
{
    const qint64 llRowId = firstRowId(s_profiles, strName);
    if (llRowId < 0)
        return;
    updateRow(s_profiles, llRowId, {{QStringLiteral("counter"), uploadRunCount(strName) + 1}});
    rewriteShortcutList();
}

void setColumn(const QString& strTable, const QString& strName, const QString& strColumn, const QString& strValue)
{
    // Table and column are names, not values: only the program's own tables and their columns.
    bool blKnownTable = false;
    for (VelmDatabase::Table table : {VelmDatabase::ServerProfiles, VelmDatabase::PhotoRecords,
                                      VelmDatabase::PTPPhotoRecords})
        blKnownTable = blKnownTable || strTable == QLatin1String(VelmDatabase::tableName(table));
    if (!blKnownTable || !VelmDatabase::database().record(strTable).contains(strColumn))
        return;
    const qint64 llRowId = firstRowId(strTable, strName);
    if (llRowId < 0)
        return;
    // A password the profile remembers goes to the keyring like any other saved one.
    const bool blRemembered = strTable == s_profiles && strColumn.compare(s_password, Qt::CaseInsensitive) == 0 &&
                              firstProfileRow(strName).value(QStringLiteral("savepass")).toInt() != 0;
    updateRow(strTable, llRowId, {{strColumn, blRemembered ? keepRemembered(strName, strValue) : strValue}});
}

void updateConnectionSettings(const QString& strOldName, const ProfileSummary& summary)
{
    const qint64 llRowId = firstRowId(s_profiles, strOldName);
    if (llRowId < 0)
        return;
    const bool blRenamed = summary.profname != strOldName;
    bool blDropOld = blRenamed;
    QString strColumn;
    if (summary.savepass && summary.password.isEmpty() && blRenamed) {
        // No password given: a remembered one follows the new name; one that cannot be read stays.
        QString strKept;
        const PasswordVault::Outcome outcome = PasswordVault::read(strOldName, &strKept);
        if (outcome == PasswordVault::Outcome::Done)
            strColumn = keepRemembered(summary.profname, strKept);
        blDropOld = outcome != PasswordVault::Outcome::Unavailable;
    } else if (summary.savepass) {
        strColumn = keepRemembered(summary.profname, summary.password);
    }
    const bool blUpdated = updateRow(s_profiles, llRowId,
                                     {{QStringLiteral("profname"), summary.profname},
                                      {QStringLiteral("https"), int(summary.https)},
                                      {QStringLiteral("personal"), int(summary.personal)},
                                      {QStringLiteral("savepass"), int(summary.savepass)},
                                      {QStringLiteral("port"), summary.port},
                                      {QStringLiteral("account"), summary.account},
                                      {QStringLiteral("hostaddr"), summary.hostaddr},
                                      {s_password, strColumn},
                                      {QStringLiteral("usrname"), summary.usrname}});
    if (blUpdated && !summary.savepass)
        PasswordVault::remove(summary.profname);
    if (blUpdated && blDropOld)
        forgetUnused(strOldName);
    rewriteShortcutList();
}

bool deleteProfile(const QString& strName)
{
    const qint64 llRowId = firstRowId(s_profiles, strName);
    if (llRowId < 0)
        return true;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("DELETE FROM ServerProfiles WHERE rowid = ?"));
    query.addBindValue(llRowId);
    if (!query.exec())
        return false;
    forgetUnused(strName);

    bool blOk = true;
    if (firstRowId(QStringLiteral("PhotoRecords"), strName) >= 0) {
        query.prepare(QStringLiteral("DELETE FROM PhotoRecords WHERE profname = ?"));
        query.addBindValue(strName);
        blOk = query.exec();
    }
    if (VelmDatabase::tableExists(VelmDatabase::StoredNameRecords)) {
        query.prepare(QStringLiteral("DELETE FROM StoredNameRecords WHERE profname = ?"));
        query.addBindValue(strName);
        blOk = query.exec() && blOk;
    }
    if (VelmDatabase::tableExists(VelmDatabase::WatchStates))
        blOk = WatchStore::renameProfile(strName, QString()) && blOk;
    // Positions in the list file name profiles: a stale list would start another profile's upload.
    rewriteShortcutList();
    return blOk;
}

QMap<QString, ProfileSummary> listProfiles(bool* pblOk)
{
    QMap<QString, ProfileSummary> mapProfiles;
    QSqlQuery query(VelmDatabase::database());
    const bool blOk = query.exec(QStringLiteral("SELECT * FROM ServerProfiles"));
    if (pblOk)
        *pblOk = blOk;
    if (!blOk)
        return mapProfiles;
    QList<ProfileSummary> lstRows;
    while (query.next()) {
        const QSqlRecord row = query.record();
        ProfileSummary summary;
        summary.port = row.value(QStringLiteral("port")).toInt();
        summary.https = row.value(QStringLiteral("https")).toInt() != 0;
        summary.savepass = row.value(QStringLiteral("savepass")).toInt() != 0;
        summary.personal = row.value(QStringLiteral("personal")).toInt() != 0;
        summary.profname = row.value(QStringLiteral("profname")).toString();
        summary.hostaddr = row.value(QStringLiteral("hostaddr")).toString();
        summary.usrname = row.value(QStringLiteral("usrname")).toString();
        summary.account = row.value(QStringLiteral("account")).toString();
        summary.password = row.value(s_password).toString();
        lstRows.append(summary);
    }
    query.finish();
    // Only after the read: moving a password rewrites its row.
    for (ProfileSummary& summary : lstRows) {
        summary.password = rememberedPassword(summary.profname, summary.savepass, summary.password);
        mapProfiles.insert(summary.profname, summary);
    }
    return mapProfiles;
}

bool profileExists(const QString& strName)
{
    QSqlQuery query(VelmDatabase::database());
    if (!query.exec(QStringLiteral("SELECT profname FROM ServerProfiles")))
        return false;
    while (query.next()) {
        if (query.value(0).toString().compare(strName, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList shortcutOrder(bool* pblOk)
{
    QStringList lstNames;
    QSqlQuery query(VelmDatabase::database());
    const bool blOk = query.exec(QStringLiteral("SELECT profname FROM ServerProfiles ORDER BY profname DESC"));
    if (pblOk)
        *pblOk = blOk;
    if (!blOk)
        return lstNames;
    while (query.next())
        lstNames.append(query.value(0).toString());
    return lstNames;
}

int shortcutIndex(const QString& strName)
{
    const QStringList lstNames = shortcutOrder();
    for (int i = 0; i < lstNames.size(); ++i) {
        if (lstNames.at(i).compare(strName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return int(lstNames.size());
}

QString shortcutListPath()
{
    return AppIdentity::dataFilePath(QStringLiteral("ShortCutList"));
}

void rewriteShortcutList()
{
    // A failed read (no table, database closed) must not replace a good list with an empty one.
    QSqlQuery probe(VelmDatabase::database());
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM ServerProfiles")))
        return;
    const QStringList lstNames = shortcutOrder();
    HandOverFile::writeCountedList(shortcutListPath(), lstNames);
    // The file managers' menus start uploads by the same positions.
    DesktopMenus::rewrite(lstNames);
}

QString shortcutProfileName(int iIndex)
{
    QStringList lstNames;
    if (!HandOverFile::readCountedList(shortcutListPath(), lstNames) || lstNames.isEmpty())
        return QString();
    // An index past the list names no profile: uploading with another one would send the files
    // to a server the user did not choose.
    return lstNames.value(iIndex);
}

} // namespace ProfileStore
