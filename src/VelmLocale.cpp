#include "VelmLocale.h"

#include "AppIdentity.h"
#include "MediaTypes.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>
#include <QLocale>

#include <cstring>

// The catalogues live in this static library; register them before the first lookup.
static void initCatalogueResources()
{
    static const bool s_blDone = [] {
        Q_INIT_RESOURCE(velm_core_translations);
        return true;
    }();
    Q_UNUSED(s_blDone)
}

namespace {

struct MessageEntry
{
    const char* pszKey;
    const char* pszEnglish;
};

const MessageEntry s_messages[] = {
    {"album_browser_desc", QT_TRANSLATE_NOOP("global", "Select a folder to upload files to")},
    {"album_browser_new_album_name", QT_TRANSLATE_NOOP("global", "Create folder:")},
    {"btn_back", QT_TRANSLATE_NOOP("global", "Back")},
    {"btn_browse", QT_TRANSLATE_NOOP("global", "Browse")},
    {"btn_cancel", QT_TRANSLATE_NOOP("global", "Cancel")},
    {"btn_close", QT_TRANSLATE_NOOP("global", "Close")},
    {"btn_create", QT_TRANSLATE_NOOP("global", "Create")},
    {"btn_create_prof", QT_TRANSLATE_NOOP("global", "Create Profile")},
    {"btn_done", QT_TRANSLATE_NOOP("global", "Done")},
    {"btn_error_report", QT_TRANSLATE_NOOP("global", "See Error Report")},
    {"btn_finish", QT_TRANSLATE_NOOP("global", "Finish")},
    {"btn_next", QT_TRANSLATE_NOOP("global", "Next")},
    {"btn_no", QT_TRANSLATE_NOOP("global", "No")},
    {"btn_ok", QT_TRANSLATE_NOOP("global", "OK")},
    {"btn_save", QT_TRANSLATE_NOOP("global", "Save")},
    {"btn_start_upload", QT_TRANSLATE_NOOP("global", "Start Uploading")},
    {"btn_upload_later", QT_TRANSLATE_NOOP("global", "Upload Later")},
    {"btn_yes", QT_TRANSLATE_NOOP("global", "Yes")},
    {"create_per_desc", QT_TRANSLATE_NOOP("global", "Choose the type of accounts you wish to upload your files to.")},
    {"create_per_photo", QT_TRANSLATE_NOOP("global", "Pictarium")},
    {"create_per_photo_personal", QT_TRANSLATE_NOOP("global", "Personal Pictarium")},
    {"create_per_tooltip", QT_TRANSLATE_NOOP("global", "There are two types of accounts you can upload to: standard Pictarium accounts, and Personal Pictarium accounts. To upload to the latter, you must activate Personal Pictarium in Pictarium. Please see Help for more details.")},
    {"create_per_uploadto", QT_TRANSLATE_NOOP("global", "Upload to")},
    {"create_per_username", QT_TRANSLATE_NOOP("global", "User name")},
    {"create_pw_account", QT_TRANSLATE_NOOP("global", "Account")},
    {"create_pw_desc", QT_TRANSLATE_NOOP("global", "Enter the login and password of the account.")},
    {"create_pw_password", QT_TRANSLATE_NOOP("global", "Password")},
    {"create_pw_savepass", QT_TRANSLATE_NOOP("global", "Remember password")},
    {"create_svr_desc", QT_TRANSLATE_NOOP("global", "Enter a profile name and fill in server information. Then edit port number if necessary.")},
    {"create_svr_hostname", QT_TRANSLATE_NOOP("global", "Server Name/IP")},
    {"create_svr_port", QT_TRANSLATE_NOOP("global", "Port number")},
    {"create_svr_profname", QT_TRANSLATE_NOOP("global", "Profile Name")},
    {"create_svr_tooltip", QT_TRANSLATE_NOOP("global", "Profiles allow you to customize and save your settings, so you don't need to modify them each time you upload photos. The profile name will be your Kestrabox name by default if left blank.")},
    {"cxt_manage_profile", QT_TRANSLATE_NOOP("global", "Manage profiles")},
    {"cxt_menu", QT_TRANSLATE_NOOP("global", "Upload to Pictarium")},
    {"cxt_new_profile", QT_TRANSLATE_NOOP("global", "Create new profile")},
    {"editor_ipaddr", QT_TRANSLATE_NOOP("global", "IP address")},
    {"editor_no_profiles", QT_TRANSLATE_NOOP("global", "No profiles have been created")},
    {"err_account_disable", QT_TRANSLATE_NOOP("global", "The user account has been disabled.")},
    {"err_account_invalid", QT_TRANSLATE_NOOP("global", "%1 is not a valid Pictarium user account.")},
    {"err_auth_fail", QT_TRANSLATE_NOOP("global", "The account or password is invalid. Please try again.")},
    {"err_bad_dir_name", QT_TRANSLATE_NOOP("global", "Invalid folder name: %1")},
    {"err_bad_port", QT_TRANSLATE_NOOP("global", "The port number must be between 1 and 65535.")},
    {"err_connect_fail", QT_TRANSLATE_NOOP("global", "Connection error. (Error Code: %1)")},
    {"err_convert", QT_TRANSLATE_NOOP("global", "Failed to convert %1.")},
    {"err_database", QT_TRANSLATE_NOOP("global", "Database error (%1)")},
    {"err_demo_site", QT_TRANSLATE_NOOP("global", "This function is not available in the demo mode.")},
    {"err_kb_not_supp", QT_TRANSLATE_NOOP("global", "This function is not supported by the connected server.")},
    {"err_duplicate_dir_name", QT_TRANSLATE_NOOP("global", "The folder name already exists. Please use another name.")},
    {"err_error", QT_TRANSLATE_NOOP("global", "Error")},
    {"err_host_addr", QT_TRANSLATE_NOOP("global", "Please enter a valid hostname or IP address.")},
    {"err_invalid_pass", QT_TRANSLATE_NOOP("global", "Incorrect password.")},
    {"err_login_autoblock", QT_TRANSLATE_NOOP("global", "You are not authorized to use this service.")},
    {"err_login_server", QT_TRANSLATE_NOOP("global", "Failed to establish the connection. Please check the hostname/IP address or make sure Pictarium is working properly, and then try again.")},
    {"err_msg_sys_not_ready", QT_TRANSLATE_NOOP("global", "Velmora Kestrabox is not ready. To upload photos to [%1], please make sure the Kestrabox Manager is installed on the server and configurations are set up correctly.")},
    {"err_msg_sys_not_ready_photo", QT_TRANSLATE_NOOP("global", "To upload photos to [%1], please make sure the server is installed and configured correctly.")},
    {"err_none_sel_file", QT_TRANSLATE_NOOP("global", "Please upload from a non-empty folder.")},
    {"err_none_sel_folder", QT_TRANSLATE_NOOP("global", "Please select a destination before uploading.")},
    {"err_none_sel_vdoqual", QT_TRANSLATE_NOOP("global", "Please select at least one video conversion quality before uploading.")},
    {"err_personal_empty", QT_TRANSLATE_NOOP("global", "Please enter the name of a Personal Pictarium account.")},
    {"err_photo_disable", QT_TRANSLATE_NOOP("global", "Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to enable Pictarium.")},
    {"err_photo_not_install", QT_TRANSLATE_NOOP("global", "Pictarium is not installed. Please install the package at Parcelry to upload photos.")},
    {"err_photo_personal_disable", QT_TRANSLATE_NOOP("global", "Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.")},
    {"err_photo_root_not_found", QT_TRANSLATE_NOOP("global", "The photo shared folder is not found. Please make sure the photo shared folder exists before uploading.")},
    {"err_port_empty", QT_TRANSLATE_NOOP("global", "Please enter the port number.")},
    {"err_profname_duplicate", QT_TRANSLATE_NOOP("global", "Profile name [%1] already exists.")},
    {"err_profname_empty", QT_TRANSLATE_NOOP("global", "Please enter a profile name for this server.")},
    {"err_serv_not_found", QT_TRANSLATE_NOOP("global", "No %1 was found on the local network.")},
    {"err_session_lost", QT_TRANSLATE_NOOP("global", "The connection is lost. Please log in to Kestrabox Manager again.")},
    {"err_svr_unknown", QT_TRANSLATE_NOOP("global", "Unknown server error. (Error Code:%1)")},
    {"err_upd_file_duplicate", QT_TRANSLATE_NOOP("global", "Skip duplicate file")},
    {"err_upd_no_privilege", QT_TRANSLATE_NOOP("global", "You have no privileges to either create new albums or upload files.")},
    {"err_upd_target_not_found", QT_TRANSLATE_NOOP("global", "The destination folder is not found: %1")},
    {"err_usrname_empty", QT_TRANSLATE_NOOP("global", "Enter a Pictarium account")},
    {"err_warning", QT_TRANSLATE_NOOP("global", "Warning")},
    {"install_finish_desc", QT_TRANSLATE_NOOP("global", "You can upload photos or videos with Pictarium Uploader by right-clicking on items.")},
    {"install_finish_title", QT_TRANSLATE_NOOP("global", "Pictarium Uploader installation completed")},
    {"install_intro_desc", QT_TRANSLATE_NOOP("global", "Pictarium Uploader allows you to upload photo and video files to the Pictarium library of your Velmora Kestrabox.")},
    {"install_intro_dest_folder", QT_TRANSLATE_NOOP("global", "Choose Install Location")},
    {"install_intro_title", QT_TRANSLATE_NOOP("global", "Welcome to the Pictarium Uploader")},
    {"install_prog_desc", QT_TRANSLATE_NOOP("global", "Pictarium Uploader is being installed now, please wait...")},
    {"install_prog_title", QT_TRANSLATE_NOOP("global", "Installing Pictarium Uploader")},
    {"msg_cfrm_continue", QT_TRANSLATE_NOOP("global", "Are you sure you want to continue?")},
    {"msg_cfrm_remove_db", QT_TRANSLATE_NOOP("global", "Are you sure you want to remove all configurations of Pictarium Uploader?")},
    {"msg_cfrm_remove_prof", QT_TRANSLATE_NOOP("global", "Are you sure you want to delete the profile [%1]?")},
    {"msg_enter_pass", QT_TRANSLATE_NOOP("global", "Please enter the %1's password.")},
    {"msg_firewall", QT_TRANSLATE_NOOP("global", "Please make sure: <p><ul><li>Velmora Pictarium Uploader is not blocked by the firewall of your computer OS or anti-virus applications.</li> <li>%1 and your computer are both connected to the network.</li> <li>You have switched on the power of %1.</li></ul></p>")},
    {"msg_photo_caption", QT_TRANSLATE_NOOP("global", "Upload Photos")},
    {"velm_server", QT_TRANSLATE_NOOP("global", "Velmora Kestrabox")},
    {"upload_count", QT_TRANSLATE_NOOP("global", "Upload file count")},
    {"upload_count_unsupport", QT_TRANSLATE_NOOP("global", "Unsupported file count")},
    {"upload_date_rename", QT_TRANSLATE_NOOP("global", "Rename files with taken time")},
    {"upload_dest_folder", QT_TRANSLATE_NOOP("global", "Destination Folder")},
    {"upload_file_exist", QT_TRANSLATE_NOOP("global", "If the file already exists")},
    {"upload_finish_fail", QT_TRANSLATE_NOOP("global", "Failed to upload")},
    {"upload_finish_success", QT_TRANSLATE_NOOP("global", "Successfully uploaded")},
    {"upload_finish_title", QT_TRANSLATE_NOOP("global", "Upload finished")},
    {"upload_finish_unit", QT_TRANSLATE_NOOP("global", "%1 files")},
    {"upload_idxable", QT_TRANSLATE_NOOP("global", "Upload supported files only")},
    {"upload_igr_dir", QT_TRANSLATE_NOOP("global", "Keep the folder structure when uploading files")},
    {"upload_incbackup", QT_TRANSLATE_NOOP("global", "Skip files that have been uploaded")},
    {"upload_overwrite", QT_TRANSLATE_NOOP("global", "Overwrite")},
    {"upload_prog_status", QT_TRANSLATE_NOOP("global", "Uploaded files")},
    {"upload_prog_title", QT_TRANSLATE_NOOP("global", "Uploading files to [%1]...")},
    {"upload_rename", QT_TRANSLATE_NOOP("global", "Rename")},
    {"upload_skip", QT_TRANSLATE_NOOP("global", "Skip")},
    {"upload_src_folder", QT_TRANSLATE_NOOP("global", "Source Folder")},
    {"upload_vdo_desc", QT_TRANSLATE_NOOP("global", "Select conversion qualities for videos to be played in Pictarium. Uploading will take longer when you select multiple and/or higher quality levels.")},
    {"upload_vdo_high", QT_TRANSLATE_NOOP("global", "High (1080p HD, 2Mbp/s)")},
    {"upload_vdo_low", QT_TRANSLATE_NOOP("global", "Low (360p, 256kbp/s)")},
    {"upload_vdo_medium", QT_TRANSLATE_NOOP("global", "Medium (720p HD, 1Mbp/s)")},
    {"upload_vdo_mobile", QT_TRANSLATE_NOOP("global", "Mobile (240p, 256kbp/s)")},
    {"upload_vdo_tooltip", QT_TRANSLATE_NOOP("global", "Please note that to play videos in Pictarium, you must choose at least one quality setting.")},
    {"upload_zero_file", QT_TRANSLATE_NOOP("global", "No file is available for upload. This is because the selected items have already been uploaded to the destination folder in Pictarium, and your account does not have permission to upload the selected items to Pictarium.")},
    {"upload_zero_file_nopriv", QT_TRANSLATE_NOOP("global", "Your account does not have permission to upload the selected items to Pictarium.")},
    {"upload_zero_file_uploaded", QT_TRANSLATE_NOOP("global", "The selected items have already been uploaded to the destination folder in Pictarium. No file is available for upload.")},
    // Run outcomes, left-out files and waits.
    {"err_history_write", QT_TRANSLATE_NOOP("global", "The upload history cannot be written (%1), so a later upload would send these files again. Please check that the data folder can be written, and then try again.")},
    {"err_not_sent", QT_TRANSLATE_NOOP("global", "Not uploaded: the upload stopped before this file was sent.")},
    {"err_profile_busy", QT_TRANSLATE_NOOP("global", "Another upload with the profile [%1] is running. Please wait until it has finished, and then try again.")},
    {"err_upd_no_reply", QT_TRANSLATE_NOOP("global", "The server did not confirm this file after it was sent; it may have been stored. (Error Code: %1)")},
    {"err_upd_no_thumbs", QT_TRANSLATE_NOOP("global", "Uploaded without thumbnails: they could not be made or sent.")},
    {"err_upd_no_videos", QT_TRANSLATE_NOOP("global", "Uploaded without these video conversions: %1")},
    {"err_no_shortcut_profile", QT_TRANSLATE_NOOP("global", "No profile belongs to this menu entry (profile number %1); it may have been deleted. Nothing was uploaded.")},
    {"err_bad_destination_chars", QT_TRANSLATE_NOOP("global", "The destination folder %1 cannot be used: a folder name may not contain control characters.")},
    {"err_upd_no_space", QT_TRANSLATE_NOOP("global", "The server's disk is full: the file could not be stored.")},
    {"upload_zero_file_none", QT_TRANSLATE_NOOP("global", "The selected items hold no photos or videos to upload.")},
    {"err_reply_too_large", QT_TRANSLATE_NOOP("global", "The server's answer is larger than %1 MiB, far more than any real answer; it was not read.")},
    {"err_upload_init", QT_TRANSLATE_NOOP("global", "The server did not take the list of files to upload: %1 Nothing was sent.")},
    {"err_upd_changed", QT_TRANSLATE_NOOP("global", "The file changed while it was sent; the server's copy may not match it. Upload it again once it no longer changes.")},
    {"upd_note_resent", QT_TRANSLATE_NOOP("global", "It changed while it was sent and was sent again.")},
    {"upd_note_confirmed", QT_TRANSLATE_NOOP("global", "An earlier run sent it but got no answer; the server has it, so it was not sent again.")},
    {"msg_enter_pass_keyring", QT_TRANSLATE_NOOP("global", "The remembered password could not be read from the keyring. Please enter the %1's password.")},
    {"err_not_https", QT_TRANSLATE_NOOP("global", "The server does not speak HTTPS on this port. Turn HTTPS off for this profile, or use the port of the server's HTTPS service. (Error Code: %1)")},
    {"err_upd_damaged_part", QT_TRANSLATE_NOOP("global", "Uploaded; the picture is damaged, thumbnails show only what could be read.")},
    {"err_upd_damaged_none", QT_TRANSLATE_NOOP("global", "Uploaded without thumbnails; the picture is damaged and nothing of it could be read.")},
    {"err_upd_video_damaged", QT_TRANSLATE_NOOP("global", "Uploaded; the video is damaged, its conversions show only what could be read.")},
    {"err_upd_too_large", QT_TRANSLATE_NOOP("global", "Uploaded without thumbnails: the picture is too large (%1 megapixels) to make them.")},
    {"err_upd_odd_rotation", QT_TRANSLATE_NOOP("global", "Uploaded; the video is turned by %1 degrees, which is not a quarter turn, so its conversions show it as stored.")},
    {"err_upload_stopped", QT_TRANSLATE_NOOP("global", "The upload was stopped because three files in a row could not be sent. Please check the server and the network, and then try again.")},
    {"msg_wait_reply", QT_TRANSLATE_NOOP("global", "Stopping: waiting up to %1 seconds for the server to confirm %2. Click Cancel again to stop at once.")},
    {"skip_bad_name", QT_TRANSLATE_NOOP("global", "Left out: the name is not valid UTF-8 text. Rename the file to upload it.")},
    {"skip_hidden", QT_TRANSLATE_NOOP("global", "Left out: hidden file or folder")},
    {"skip_link", QT_TRANSLATE_NOOP("global", "Left out: symbolic link")},
    {"skip_missing", QT_TRANSLATE_NOOP("global", "Left out: not found")},
    {"skip_special", QT_TRANSLATE_NOOP("global", "Left out: not a regular file or folder")},
    {"skip_unsupported", QT_TRANSLATE_NOOP("global", "Left out: not a supported photo or video file")},
    {"err_bad_destination", QT_TRANSLATE_NOOP("global", "The destination folder %1 cannot be used: it must lie below /photo, and no folder in its path may be named \".\" or \"..\".")},
    {"err_profname_invalid", QT_TRANSLATE_NOOP("global", "A profile name may not contain control characters or line breaks, and may be at most %1 characters long.")},
    {"err_upd_unreadable", QT_TRANSLATE_NOOP("global", "The file could not be read: it has been moved or deleted, or it may not be read.")},
    {"err_no_camera", QT_TRANSLATE_NOOP("global", "No camera or memory card with photos was found. Connect the camera or insert the card, and then click Next again.")},
    {"skip_camera_name", QT_TRANSLATE_NOOP("global", "Left out: the device gives this item a name that is not a plain file name")},
    {"skip_camera_copy", QT_TRANSLATE_NOOP("global", "Left out: it could not be copied from the camera or memory card")},
    {"btn_trust_cert", QT_TRANSLATE_NOOP("global", "Trust the new certificate")},
    {"err_cert_changed", QT_TRANSLATE_NOOP("global", "The server %1 shows a different certificate than the one trusted before. Someone may be intercepting the connection, so nothing was sent.\n\nTrusted certificate (SHA-256):\n%2\n\nNew certificate (SHA-256):\n%3\n\nTrust the new certificate only if you have changed the server's certificate yourself.")},
    {"create_svr_cert", QT_TRANSLATE_NOOP("global", "Certificate")},
    {"msg_cert_not_pinned", QT_TRANSLATE_NOOP("global", "Not trusted yet: the first HTTPS connection remembers it.")},
    {"err_path_unlistable", QT_TRANSLATE_NOOP("global", "These items were left out: the upload list carries only files on this computer whose names hold no line break and are valid text.\n\n%1")},
    {"err_start_program", QT_TRANSLATE_NOOP("global", "Pictarium Uploader could not be started: %1")},
    // Desktop conventions: hints, counts and questions.
    {"editor_hint_upload", QT_TRANSLATE_NOOP("global", "Double-click a profile, or select it and press Enter, to upload with it.")},
    {"editor_empty_hint", QT_TRANSLATE_NOOP("global", "Create a profile for your Kestrabox to start uploading.")},
    {"editor_tip_edit", QT_TRANSLATE_NOOP("global", "Edit this profile (F2)")},
    {"editor_tip_delete", QT_TRANSLATE_NOOP("global", "Delete this profile (Del)")},
    {"editor_tip_https", QT_TRANSLATE_NOOP("global", "HTTPS: the connection is encrypted")},
    {"create_svr_searching", QT_TRANSLATE_NOOP("global", "Searching the network for servers...")},
    {"create_svr_seen_not_ready", QT_TRANSLATE_NOOP("global", "not ready")},
    {"create_svr_seen_not_installed", QT_TRANSLATE_NOOP("global", "Pictarium is not set up yet")},
    {"create_svr_seen_unsupported", QT_TRANSLATE_NOOP("global", "too old for this program")},
    {"create_svr_seen_unreachable", QT_TRANSLATE_NOOP("global", "cannot be reached")},
    {"upload_finish_skipped", QT_TRANSLATE_NOOP("global", "Already uploaded, not sent again")},
    {"upload_prog_current", QT_TRANSLATE_NOOP("global", "Working on: %1")},
    {"btn_copy", QT_TRANSLATE_NOOP("global", "Copy")},
    {"err_help_open", QT_TRANSLATE_NOOP("global", "The help page could not be opened: %1")},
    // Counted texts: VelmLocale::plural() picks the form for the number.
    {"create_svr_profname_limit", QT_TRANSLATE_N_NOOP("global", "At most %n character(s)")},
    {"upload_finish_files", QT_TRANSLATE_N_NOOP("global", "%n file(s)")},
    {"upload_prog_count", QT_TRANSLATE_N_NOOP("global", "%1 of %n file(s)")},
    {"upload_cfrm_stop", QT_TRANSLATE_N_NOOP("global", "Stop the upload? %n file(s) are on the server; the rest will not be sent.")},
    {"watch_auto", QT_TRANSLATE_NOOP("global", "Upload new photos and videos from these folders automatically")},
    {"watch_add", QT_TRANSLATE_NOOP("global", "Add…")},
    {"watch_remove", QT_TRANSLATE_NOOP("global", "Remove")},
    {"watch_notify", QT_TRANSLATE_NOOP("global", "Also tell me when an automatic upload went well")},
    {"watch_needs_password", QT_TRANSLATE_NOOP("global", "Automatic uploads need the password: turn on “Remember password”.")},
    {"watch_tool_failed", QT_TRANSLATE_NOOP("global", "The automatic upload could not be turned on or off: %1")},
    {"watch_status_on", QT_TRANSLATE_NOOP("global", "Automatic upload is on")},
    {"watch_status_last", QT_TRANSLATE_NOOP("global", "Last automatic upload %1: %2 sent, %3 skipped, %4 failed")},
};

constexpr int s_messageCount = int(sizeof(s_messages) / sizeof(s_messages[0]));

QHash<QByteArray, QString>& messageTable()
{
    static QHash<QByteArray, QString> s_table;
    return s_table;
}

bool catalogExists(const QString& strCode)
{
    initCatalogueResources();
    return !strCode.isEmpty() && QFile::exists(QLatin1String(":/") + strCode + QLatin1String(".qm"));
}

void logValue(int iLine, const char* pszName, const QString& strValue)
{
    qDebug("%s:%d %s=[%s] ", "src\\VelmLocale", iLine, pszName, qPrintable(strValue));
}

QString expandEscapes(QString strText)
{
    strText.replace(QLatin1String("\\n"), QLatin1String("\n"));
    strText.replace(QLatin1String("\\t"), QLatin1String("\t"));
    return strText;
}

} // namespace

VelmSettings::VelmSettings()
    : m_settings(QLatin1String(AppIdentity::VendorName), QLatin1String(AppIdentity::ProductName))
{
    initCatalogueResources();
    MediaTypes::fillTables();
}

QString VelmSettings::uiLanguage() const
{
    return m_settings.value(QStringLiteral("Global/UILanguage")).toString();
}

namespace VelmLocale {

QString configuredLanguage(const VelmSettings& settings)
{
    const QString strValue = settings.uiLanguage();
    if (!catalogExists(strValue))
        return QStringLiteral("def");
    return strValue;
}

QString currentLanguage(const VelmSettings& settings)
{
    const QString strConfigured = configuredLanguage(settings);
    if (strConfigured.isEmpty() || strConfigured == QLatin1String("def"))
        return systemLanguage(QLocale::system().name());
    return strConfigured;
}

QString systemLanguage(const QString& strLocaleName)
{
    static const QHash<QString, QString> s_prefixes = {
        {"en", "enu"}, {"zh", "chs"}, {"ja", "jpn"}, {"de", "deu"}, {"ko", "krn"}, {"fr", "fra"}, {"it", "ita"},
        {"es", "esn"}, {"pt", "ptb"}, {"ru", "rus"}, {"da", "dan"}, {"no", "nor"}, {"nb", "nor"}, {"nn", "nor"},
        {"sv", "sve"}, {"nl", "nld"}, {"pl", "plk"}, {"hu", "hun"}, {"tr", "trk"}, {"cs", "csy"}};

    const QString strName = strLocaleName.toLower();
    logValue(__LINE__, "locale", strName);

    QString strCode;
    if (strName == QLatin1String("zh_tw") || strName == QLatin1String("zh_hk") || strName == QLatin1String("zh_mo"))
        strCode = QStringLiteral("cht");
    else if (strName == QLatin1String("pt") || strName == QLatin1String("pt_pt"))
        strCode = QStringLiteral("ptg");
    else
        strCode = s_prefixes.value(strName.section(QLatin1Char('_'), 0, 0), QStringLiteral("enu"));

    if (catalogExists(strCode))
        logValue(__LINE__, "catalog", QLatin1String(":/") + strCode + QLatin1String(".qm"));
    else
        strCode = QStringLiteral("enu");
    logValue(__LINE__, "language", strCode);
    return strCode;
}

QString translationCatalog(const VelmSettings& settings)
{
    const QString strFile = currentLanguage(settings) + QLatin1String(".qm");
#ifdef PICTARIUM_DATA_FROM_BIN
    // An installed catalogue wins over the one built in, so that it can be updated alone.
    const QString strInstalled = QCoreApplication::applicationDirPath() +
                                 QLatin1String("/" PICTARIUM_DATA_FROM_BIN "/translations/") + strFile;
    if (QFileInfo::exists(strInstalled))
        return strInstalled;
#endif
    return QLatin1String(":/") + strFile;
}

bool loadQtCatalog(QTranslator& translator, const QString& strCode)
{
    // Qt speaks English itself. Qt 6.4 ships no Swedish and no Bokmål or European Portuguese catalogue; the nearest
    // follow, and where none is near the texts stay English.
    static const QHash<QString, QStringList> s_names = {
        {"cht", {"zh_TW"}}, {"chs", {"zh_CN"}},          {"jpn", {"ja"}},
        {"deu", {"de"}},    {"krn", {"ko"}},    {"fra", {"fr"}},             {"ita", {"it"}},
        {"esn", {"es"}},    {"ptb", {"pt_BR"}}, {"ptg", {"pt_PT", "pt_BR"}}, {"rus", {"ru"}},
        {"dan", {"da"}},    {"nor", {"nb", "no", "nn"}}, {"sve", {"sv"}},    {"nld", {"nl"}},
        {"plk", {"pl"}},    {"hun", {"hu"}},    {"trk", {"tr"}},             {"csy", {"cs"}}};
    const QString strFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& strName : s_names.value(strCode)) {
        if (translator.load(QLatin1String("qtbase_") + strName, strFolder) && !translator.isEmpty())
            return true;
    }
    return false;
}

void fillMessageTable()
{
    QHash<QByteArray, QString>& table = messageTable();
    table.clear();
    for (const MessageEntry& entry : s_messages)
        table.insert(QByteArray(entry.pszKey), expandEscapes(QCoreApplication::translate("global", entry.pszEnglish)));
}

QString message(const char* pszKey)
{
    const QHash<QByteArray, QString>& table = messageTable();
    const auto it = table.constFind(QByteArray(pszKey));
    if (it != table.constEnd())
        return it.value();
    // Before the table is filled, or for an unknown key: the English text, or the key itself.
    for (const MessageEntry& entry : s_messages) {
        if (std::strcmp(entry.pszKey, pszKey) == 0)
            return expandEscapes(QString::fromUtf8(entry.pszEnglish));
    }
    qDebug("%s:%d unknown message key [%s]", "src\\VelmLocale", __LINE__, pszKey);
    return QString::fromLatin1(pszKey);
}

QString plural(const char* pszKey, int iCount)
{
    for (const MessageEntry& entry : s_messages) {
        if (std::strcmp(entry.pszKey, pszKey) == 0)
            return expandEscapes(QCoreApplication::translate("global", entry.pszEnglish, nullptr, iCount));
    }
    qDebug("%s:%d unknown message key [%s]", "src\\VelmLocale", __LINE__, pszKey);
    return QString::fromLatin1(pszKey);
}

int messageCount()
{
    return s_messageCount;
}

const char* messageKey(int iIndex)
{
    return s_messages[iIndex].pszKey;
}

const char* messageEnglish(int iIndex)
{
    return s_messages[iIndex].pszEnglish;
}

} // namespace VelmLocale
