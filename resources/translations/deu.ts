<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>global</name>
    <message>
        <source>Select a folder to upload files to</source>
        <extracomment>album_browser_desc</extracomment>
        <translation>Wählen Sie einen Ordner aus, in den die Dateien hochgeladen werden sollen</translation>
    </message>
    <message>
        <source>Create folder:</source>
        <extracomment>album_browser_new_album_name</extracomment>
        <translation>Ordner erstellen:</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>btn_back</extracomment>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Browse</source>
        <extracomment>btn_browse</extracomment>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>btn_cancel</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>btn_close</extracomment>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Create</source>
        <extracomment>btn_create</extracomment>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Create Profile</source>
        <extracomment>btn_create_prof</extracomment>
        <translation>Profil erstellen</translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>btn_done</extracomment>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>See Error Report</source>
        <extracomment>btn_error_report</extracomment>
        <translation>Fehlerbericht anzeigen</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>btn_finish</extracomment>
        <translation>Fertig stellen</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>btn_next</extracomment>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>btn_no</extracomment>
        <translation>Nein</translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>btn_ok</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>btn_save</extracomment>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Start Uploading</source>
        <extracomment>btn_start_upload</extracomment>
        <translation>Hochladen starten</translation>
    </message>
    <message>
        <source>Upload Later</source>
        <extracomment>btn_upload_later</extracomment>
        <translation>Später hochladen</translation>
    </message>
    <message>
        <source>Yes</source>
        <extracomment>btn_yes</extracomment>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Choose the type of accounts you wish to upload your files to.</source>
        <extracomment>create_per_desc</extracomment>
        <translation>Wählen Sie die Art der Konten aus, in die Sie Ihre Dateien hochladen möchten.</translation>
    </message>
    <message>
        <source>Pictarium</source>
        <extracomment>create_per_photo</extracomment>
        <translation>Pictarium</translation>
    </message>
    <message>
        <source>Personal Pictarium</source>
        <extracomment>create_per_photo_personal</extracomment>
        <translation>Persönliches Pictarium</translation>
    </message>
    <message>
        <source>There are two types of accounts you can upload to: standard Pictarium accounts, and Personal Pictarium accounts. To upload to the latter, you must activate Personal Pictarium in Pictarium. Please see Help for more details.</source>
        <extracomment>create_per_tooltip</extracomment>
        <translation>Es gibt zwei Arten von Konten, in die Sie hochladen können: normale Pictarium-Konten und Konten für Persönliches Pictarium. Um in Letztere hochzuladen, müssen Sie Persönliches Pictarium in Pictarium aktivieren. Weitere Informationen finden Sie in der Hilfe.</translation>
    </message>
    <message>
        <source>Upload to</source>
        <extracomment>create_per_uploadto</extracomment>
        <translation>Hochladen nach</translation>
    </message>
    <message>
        <source>User name</source>
        <extracomment>create_per_username</extracomment>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Account</source>
        <extracomment>create_pw_account</extracomment>
        <translation>Konto</translation>
    </message>
    <message>
        <source>Enter the login and password of the account.</source>
        <extracomment>create_pw_desc</extracomment>
        <translation>Geben Sie den Anmeldenamen und das Passwort des Kontos ein.</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>create_pw_password</extracomment>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Remember password</source>
        <extracomment>create_pw_savepass</extracomment>
        <translation>Passwort speichern</translation>
    </message>
    <message>
        <source>Enter a profile name and fill in server information. Then edit port number if necessary.</source>
        <extracomment>create_svr_desc</extracomment>
        <translation>Geben Sie einen Profilnamen ein und tragen Sie die Serverinformationen ein. Ändern Sie anschließend bei Bedarf die Portnummer.</translation>
    </message>
    <message>
        <source>Server Name/IP</source>
        <extracomment>create_svr_hostname</extracomment>
        <translation>Servername/IP</translation>
    </message>
    <message>
        <source>Port number</source>
        <extracomment>create_svr_port</extracomment>
        <translation>Portnummer</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <extracomment>create_svr_profname</extracomment>
        <translation>Profilname</translation>
    </message>
    <message>
        <source>Profiles allow you to customize and save your settings, so you don't need to modify them each time you upload photos. The profile name will be your Kestrabox name by default if left blank.</source>
        <extracomment>create_svr_tooltip</extracomment>
        <translation>Mit Profilen können Sie Ihre Einstellungen anpassen und speichern, sodass Sie sie nicht bei jedem Hochladen von Fotos erneut ändern müssen. Wenn Sie das Feld leer lassen, wird standardmäßig der Name Ihrer Kestrabox als Profilname verwendet.</translation>
    </message>
    <message>
        <source>Manage profiles</source>
        <extracomment>cxt_manage_profile</extracomment>
        <translation>Profile verwalten</translation>
    </message>
    <message>
        <source>Upload to Pictarium</source>
        <extracomment>cxt_menu</extracomment>
        <translation>Nach Pictarium hochladen</translation>
    </message>
    <message>
        <source>Create new profile</source>
        <extracomment>cxt_new_profile</extracomment>
        <translation>Neues Profil erstellen</translation>
    </message>
    <message>
        <source>IP address</source>
        <extracomment>editor_ipaddr</extracomment>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>No profiles have been created</source>
        <extracomment>editor_no_profiles</extracomment>
        <translation>Es wurden noch keine Profile erstellt</translation>
    </message>
    <message>
        <source>The user account has been disabled.</source>
        <extracomment>err_account_disable</extracomment>
        <translation>Das Benutzerkonto wurde deaktiviert.</translation>
    </message>
    <message>
        <source>%1 is not a valid Pictarium user account.</source>
        <extracomment>err_account_invalid</extracomment>
        <translation>%1 ist kein gültiges Pictarium-Benutzerkonto.</translation>
    </message>
    <message>
        <source>The account or password is invalid. Please try again.</source>
        <extracomment>err_auth_fail</extracomment>
        <translation>Das Konto oder das Passwort ist ungültig. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Invalid folder name: %1</source>
        <extracomment>err_bad_dir_name</extracomment>
        <translation>Ungültiger Ordnername: %1</translation>
    </message>
    <message>
        <source>The port number must be between 1 and 65535.</source>
        <extracomment>err_bad_port</extracomment>
        <translation>Die Portnummer muss zwischen 1 und 65535 liegen.</translation>
    </message>
    <message>
        <source>Connection error. (Error Code: %1)</source>
        <extracomment>err_connect_fail</extracomment>
        <translation>Verbindungsfehler. (Fehlercode: %1)</translation>
    </message>
    <message>
        <source>Failed to convert %1.</source>
        <extracomment>err_convert</extracomment>
        <translation>%1 konnte nicht konvertiert werden.</translation>
    </message>
    <message>
        <source>Database error (%1)</source>
        <extracomment>err_database</extracomment>
        <translation>Datenbankfehler (%1)</translation>
    </message>
    <message>
        <source>This function is not available in the demo mode.</source>
        <extracomment>err_demo_site</extracomment>
        <translation>Diese Funktion ist im Demo-Modus nicht verfügbar.</translation>
    </message>
    <message>
        <source>This function is not supported by the connected server.</source>
        <extracomment>err_kb_not_supp</extracomment>
        <translation>Diese Funktion wird vom verbundenen Server nicht unterstützt.</translation>
    </message>
    <message>
        <source>The folder name already exists. Please use another name.</source>
        <extracomment>err_duplicate_dir_name</extracomment>
        <translation>Der Ordnername ist bereits vorhanden. Bitte verwenden Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>err_error</extracomment>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Please enter a valid hostname or IP address.</source>
        <extracomment>err_host_addr</extracomment>
        <translation>Bitte geben Sie einen gültigen Hostnamen oder eine gültige IP-Adresse ein.</translation>
    </message>
    <message>
        <source>Incorrect password.</source>
        <extracomment>err_invalid_pass</extracomment>
        <translation>Falsches Passwort.</translation>
    </message>
    <message>
        <source>You are not authorized to use this service.</source>
        <extracomment>err_login_autoblock</extracomment>
        <translation>Sie sind nicht berechtigt, diesen Dienst zu nutzen.</translation>
    </message>
    <message>
        <source>Failed to establish the connection. Please check the hostname/IP address or make sure Pictarium is working properly, and then try again.</source>
        <extracomment>err_login_server</extracomment>
        <translation>Die Verbindung konnte nicht hergestellt werden. Bitte überprüfen Sie den Hostnamen bzw. die IP-Adresse oder stellen Sie sicher, dass Pictarium ordnungsgemäß funktioniert, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Velmora Kestrabox is not ready. To upload photos to [%1], please make sure the Kestrabox Manager is installed on the server and configurations are set up correctly.</source>
        <extracomment>err_msg_sys_not_ready</extracomment>
        <translation>Velmora Kestrabox ist nicht bereit. Um Fotos nach [%1] hochzuladen, stellen Sie bitte sicher, dass Kestrabox Manager auf dem Server installiert ist und die Konfiguration korrekt eingerichtet wurde.</translation>
    </message>
    <message>
        <source>To upload photos to [%1], please make sure the server is installed and configured correctly.</source>
        <extracomment>err_msg_sys_not_ready_photo</extracomment>
        <translation>Um Fotos nach [%1] hochzuladen, stellen Sie bitte sicher, dass der Server korrekt installiert und konfiguriert ist.</translation>
    </message>
    <message>
        <source>Please upload from a non-empty folder.</source>
        <extracomment>err_none_sel_file</extracomment>
        <translation>Bitte laden Sie aus einem Ordner hoch, der nicht leer ist.</translation>
    </message>
    <message>
        <source>Please select a destination before uploading.</source>
        <extracomment>err_none_sel_folder</extracomment>
        <translation>Bitte wählen Sie vor dem Hochladen ein Ziel aus.</translation>
    </message>
    <message>
        <source>Please select at least one video conversion quality before uploading.</source>
        <extracomment>err_none_sel_vdoqual</extracomment>
        <translation>Bitte wählen Sie vor dem Hochladen mindestens eine Qualitätsstufe für die Videokonvertierung aus.</translation>
    </message>
    <message>
        <source>Please enter the name of a Personal Pictarium account.</source>
        <extracomment>err_personal_empty</extracomment>
        <translation>Bitte geben Sie den Namen eines Kontos für Persönliches Pictarium ein.</translation>
    </message>
    <message>
        <source>Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to enable Pictarium.</source>
        <extracomment>err_photo_disable</extracomment>
        <translation>Pictarium ist deaktiviert. Bitte melden Sie sich als admin (oder als Benutzer der Gruppe „administrators“) bei KBM an, um Pictarium zu aktivieren.</translation>
    </message>
    <message>
        <source>Pictarium is not installed. Please install the package at Parcelry to upload photos.</source>
        <extracomment>err_photo_not_install</extracomment>
        <translation>Pictarium ist nicht installiert. Bitte installieren Sie das Paket über Parcelry, um Fotos hochzuladen.</translation>
    </message>
    <message>
        <source>Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.</source>
        <extracomment>err_photo_personal_disable</extracomment>
        <translation>Das angeforderte Persönliche Pictarium ist deaktiviert. Bitte melden Sie sich bei KBM an, um Persönliches Pictarium zu aktivieren.</translation>
    </message>
    <message>
        <source>The photo shared folder is not found. Please make sure the photo shared folder exists before uploading.</source>
        <extracomment>err_photo_root_not_found</extracomment>
        <translation>Der gemeinsame Ordner „photo“ wurde nicht gefunden. Bitte stellen Sie vor dem Hochladen sicher, dass der gemeinsame Ordner „photo“ vorhanden ist.</translation>
    </message>
    <message>
        <source>Please enter the port number.</source>
        <extracomment>err_port_empty</extracomment>
        <translation>Bitte geben Sie die Portnummer ein.</translation>
    </message>
    <message>
        <source>Profile name [%1] already exists.</source>
        <extracomment>err_profname_duplicate</extracomment>
        <translation>Der Profilname [%1] ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>Please enter a profile name for this server.</source>
        <extracomment>err_profname_empty</extracomment>
        <translation>Bitte geben Sie einen Profilnamen für diesen Server ein.</translation>
    </message>
    <message>
        <source>No %1 was found on the local network.</source>
        <extracomment>err_serv_not_found</extracomment>
        <translation>Im lokalen Netzwerk wurde kein %1 gefunden.</translation>
    </message>
    <message>
        <source>The connection is lost. Please log in to Kestrabox Manager again.</source>
        <extracomment>err_session_lost</extracomment>
        <translation>Die Verbindung wurde unterbrochen. Bitte melden Sie sich erneut bei Kestrabox Manager an.</translation>
    </message>
    <message>
        <source>Unknown server error. (Error Code:%1)</source>
        <extracomment>err_svr_unknown</extracomment>
        <translation>Unbekannter Serverfehler. (Fehlercode: %1)</translation>
    </message>
    <message>
        <source>Skip duplicate file</source>
        <extracomment>err_upd_file_duplicate</extracomment>
        <translation>Doppelte Datei überspringen</translation>
    </message>
    <message>
        <source>You have no privileges to either create new albums or upload files.</source>
        <extracomment>err_upd_no_privilege</extracomment>
        <translation>Sie haben keine Berechtigung, neue Alben zu erstellen oder Dateien hochzuladen.</translation>
    </message>
    <message>
        <source>The destination folder is not found: %1</source>
        <extracomment>err_upd_target_not_found</extracomment>
        <translation>Der Zielordner wurde nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Enter a Pictarium account</source>
        <extracomment>err_usrname_empty</extracomment>
        <translation>Geben Sie ein Pictarium-Konto ein</translation>
    </message>
    <message>
        <source>Warning</source>
        <extracomment>err_warning</extracomment>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>You can upload photos or videos with Pictarium Uploader by right-clicking on items.</source>
        <extracomment>install_finish_desc</extracomment>
        <translation>Sie können Fotos oder Videos mit Pictarium Uploader hochladen, indem Sie mit der rechten Maustaste auf die gewünschten Elemente klicken.</translation>
    </message>
    <message>
        <source>Pictarium Uploader installation completed</source>
        <extracomment>install_finish_title</extracomment>
        <translation>Die Installation von Pictarium Uploader ist abgeschlossen</translation>
    </message>
    <message>
        <source>Pictarium Uploader allows you to upload photo and video files to the Pictarium library of your Velmora Kestrabox.</source>
        <extracomment>install_intro_desc</extracomment>
        <translation>Mit Pictarium Uploader können Sie Foto- und Videodateien in die Pictarium-Bibliothek Ihrer Velmora Kestrabox hochladen.</translation>
    </message>
    <message>
        <source>Choose Install Location</source>
        <extracomment>install_intro_dest_folder</extracomment>
        <translation>Installationsort auswählen</translation>
    </message>
    <message>
        <source>Welcome to the Pictarium Uploader</source>
        <extracomment>install_intro_title</extracomment>
        <translation>Willkommen bei Pictarium Uploader</translation>
    </message>
    <message>
        <source>Pictarium Uploader is being installed now, please wait...</source>
        <extracomment>install_prog_desc</extracomment>
        <translation>Pictarium Uploader wird jetzt installiert. Bitte warten …</translation>
    </message>
    <message>
        <source>Installing Pictarium Uploader</source>
        <extracomment>install_prog_title</extracomment>
        <translation>Pictarium Uploader wird installiert</translation>
    </message>
    <message>
        <source>Are you sure you want to continue?</source>
        <extracomment>msg_cfrm_continue</extracomment>
        <translation>Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all configurations of Pictarium Uploader?</source>
        <extracomment>msg_cfrm_remove_db</extracomment>
        <translation>Möchten Sie wirklich alle Konfigurationen von Pictarium Uploader entfernen?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the profile [%1]?</source>
        <extracomment>msg_cfrm_remove_prof</extracomment>
        <translation>Möchten Sie das Profil [%1] wirklich löschen?</translation>
    </message>
    <message>
        <source>Please enter the %1's password.</source>
        <extracomment>msg_enter_pass</extracomment>
        <translation>Bitte geben Sie das Passwort von %1 ein.</translation>
    </message>
    <message>
        <source>Please make sure: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader is not blocked by the firewall of your computer OS or anti-virus applications.&lt;/li&gt; &lt;li&gt;%1 and your computer are both connected to the network.&lt;/li&gt; &lt;li&gt;You have switched on the power of %1.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</source>
        <extracomment>msg_firewall</extracomment>
        <translation>Bitte stellen Sie Folgendes sicher: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader wird nicht von der Firewall des Betriebssystems Ihres Computers oder von Antivirenprogrammen blockiert.&lt;/li&gt; &lt;li&gt;%1 und Ihr Computer sind beide mit dem Netzwerk verbunden.&lt;/li&gt; &lt;li&gt;%1 ist eingeschaltet.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Upload Photos</source>
        <extracomment>msg_photo_caption</extracomment>
        <translation>Fotos hochladen</translation>
    </message>
    <message>
        <source>Velmora Kestrabox</source>
        <extracomment>velm_server</extracomment>
        <translation>Velmora Kestrabox</translation>
    </message>
    <message>
        <source>Upload file count</source>
        <extracomment>upload_count</extracomment>
        <translation>Anzahl hochzuladender Dateien</translation>
    </message>
    <message>
        <source>Unsupported file count</source>
        <extracomment>upload_count_unsupport</extracomment>
        <translation>Anzahl nicht unterstützter Dateien</translation>
    </message>
    <message>
        <source>Rename files with taken time</source>
        <extracomment>upload_date_rename</extracomment>
        <translation>Dateien nach Aufnahmezeitpunkt umbenennen</translation>
    </message>
    <message>
        <source>Destination Folder</source>
        <extracomment>upload_dest_folder</extracomment>
        <translation>Zielordner</translation>
    </message>
    <message>
        <source>If the file already exists</source>
        <extracomment>upload_file_exist</extracomment>
        <translation>Wenn die Datei bereits vorhanden ist</translation>
    </message>
    <message>
        <source>Failed to upload</source>
        <extracomment>upload_finish_fail</extracomment>
        <translation>Hochladen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Successfully uploaded</source>
        <extracomment>upload_finish_success</extracomment>
        <translation>Erfolgreich hochgeladen</translation>
    </message>
    <message>
        <source>Upload finished</source>
        <extracomment>upload_finish_title</extracomment>
        <translation>Hochladen abgeschlossen</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>upload_finish_unit</extracomment>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>Upload supported files only</source>
        <extracomment>upload_idxable</extracomment>
        <translation>Nur unterstützte Dateien hochladen</translation>
    </message>
    <message>
        <source>Keep the folder structure when uploading files</source>
        <extracomment>upload_igr_dir</extracomment>
        <translation>Ordnerstruktur beim Hochladen von Dateien beibehalten</translation>
    </message>
    <message>
        <source>Skip files that have been uploaded</source>
        <extracomment>upload_incbackup</extracomment>
        <translation>Bereits hochgeladene Dateien überspringen</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <extracomment>upload_overwrite</extracomment>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Uploaded files</source>
        <extracomment>upload_prog_status</extracomment>
        <translation>Hochgeladene Dateien</translation>
    </message>
    <message>
        <source>Uploading files to [%1]...</source>
        <extracomment>upload_prog_title</extracomment>
        <translation>Dateien werden nach [%1] hochgeladen …</translation>
    </message>
    <message>
        <source>Rename</source>
        <extracomment>upload_rename</extracomment>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>upload_skip</extracomment>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Source Folder</source>
        <extracomment>upload_src_folder</extracomment>
        <translation>Quellordner</translation>
    </message>
    <message>
        <source>Select conversion qualities for videos to be played in Pictarium. Uploading will take longer when you select multiple and/or higher quality levels.</source>
        <extracomment>upload_vdo_desc</extracomment>
        <translation>Wählen Sie die Konvertierungsqualitäten für Videos aus, die in Pictarium wiedergegeben werden sollen. Das Hochladen dauert länger, wenn Sie mehrere und/oder höhere Qualitätsstufen auswählen.</translation>
    </message>
    <message>
        <source>High (1080p HD, 2Mbp/s)</source>
        <extracomment>upload_vdo_high</extracomment>
        <translation>Hoch (1080p HD, 2 Mbit/s)</translation>
    </message>
    <message>
        <source>Low (360p, 256kbp/s)</source>
        <extracomment>upload_vdo_low</extracomment>
        <translation>Niedrig (360p, 256 kbit/s)</translation>
    </message>
    <message>
        <source>Medium (720p HD, 1Mbp/s)</source>
        <extracomment>upload_vdo_medium</extracomment>
        <translation>Mittel (720p HD, 1 Mbit/s)</translation>
    </message>
    <message>
        <source>Mobile (240p, 256kbp/s)</source>
        <extracomment>upload_vdo_mobile</extracomment>
        <translation>Mobil (240p, 256 kbit/s)</translation>
    </message>
    <message>
        <source>Please note that to play videos in Pictarium, you must choose at least one quality setting.</source>
        <extracomment>upload_vdo_tooltip</extracomment>
        <translation>Bitte beachten Sie, dass Sie mindestens eine Qualitätseinstellung auswählen müssen, um Videos in Pictarium wiedergeben zu können.</translation>
    </message>
    <message>
        <source>No file is available for upload. This is because the selected items have already been uploaded to the destination folder in Pictarium, and your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file</extracomment>
        <translation>Es sind keine Dateien zum Hochladen verfügbar. Dies liegt daran, dass die ausgewählten Elemente bereits in den Zielordner in Pictarium hochgeladen wurden und Ihr Konto nicht berechtigt ist, die ausgewählten Elemente nach Pictarium hochzuladen.</translation>
    </message>
    <message>
        <source>Your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file_nopriv</extracomment>
        <translation>Ihr Konto ist nicht berechtigt, die ausgewählten Elemente nach Pictarium hochzuladen.</translation>
    </message>
    <message>
        <source>The selected items have already been uploaded to the destination folder in Pictarium. No file is available for upload.</source>
        <extracomment>upload_zero_file_uploaded</extracomment>
        <translation>Die ausgewählten Elemente wurden bereits in den Zielordner in Pictarium hochgeladen. Es sind keine Dateien zum Hochladen verfügbar.</translation>
    </message>
    <message>
        <source>The upload history cannot be written (%1), so a later upload would send these files again. Please check that the data folder can be written, and then try again.</source>
        <extracomment>err_history_write</extracomment>
        <translation>Der Upload-Verlauf kann nicht geschrieben werden (%1), daher würde ein späterer Upload diese Dateien erneut senden. Bitte prüfen Sie, ob in den Datenordner geschrieben werden kann, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Not uploaded: the upload stopped before this file was sent.</source>
        <extracomment>err_not_sent</extracomment>
        <translation>Nicht hochgeladen: Der Upload wurde beendet, bevor diese Datei gesendet wurde.</translation>
    </message>
    <message>
        <source>Another upload with the profile [%1] is running. Please wait until it has finished, and then try again.</source>
        <extracomment>err_profile_busy</extracomment>
        <translation>Ein anderer Upload mit dem Profil [%1] läuft bereits. Bitte warten Sie, bis er beendet ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The server did not confirm this file after it was sent; it may have been stored. (Error Code: %1)</source>
        <extracomment>err_upd_no_reply</extracomment>
        <translation>Der Server hat diese Datei nach dem Senden nicht bestätigt; sie wurde möglicherweise gespeichert. (Fehlercode: %1)</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: they could not be made or sent.</source>
        <extracomment>err_upd_no_thumbs</extracomment>
        <translation>Ohne Miniaturansichten hochgeladen: Sie konnten nicht erstellt oder gesendet werden.</translation>
    </message>
    <message>
        <source>Uploaded without these video conversions: %1</source>
        <extracomment>err_upd_no_videos</extracomment>
        <translation>Ohne diese Videoumwandlungen hochgeladen: %1</translation>
    </message>
    <message>
        <source>No profile belongs to this menu entry (profile number %1); it may have been deleted. Nothing was uploaded.</source>
        <extracomment>err_no_shortcut_profile</extracomment>
        <translation>Zu diesem Menüeintrag gehört kein Profil (Profilnummer %1); es wurde möglicherweise gelöscht. Es wurde nichts hochgeladen.</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: a folder name may not contain control characters.</source>
        <extracomment>err_bad_destination_chars</extracomment>
        <translation>Der Zielordner %1 kann nicht verwendet werden: Ein Ordnername darf keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>The server's disk is full: the file could not be stored.</source>
        <extracomment>err_upd_no_space</extracomment>
        <translation>Der Datenträger des Servers ist voll: Die Datei konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The selected items hold no photos or videos to upload.</source>
        <extracomment>upload_zero_file_none</extracomment>
        <translation>Die ausgewählten Elemente enthalten keine Fotos oder Videos zum Hochladen.</translation>
    </message>
    <message>
        <source>The server's answer is larger than %1 MiB, far more than any real answer; it was not read.</source>
        <extracomment>err_reply_too_large</extracomment>
        <translation>Die Antwort des Servers ist größer als %1 MiB, weit mehr als jede echte Antwort; sie wurde nicht gelesen.</translation>
    </message>
    <message>
        <source>The server did not take the list of files to upload: %1 Nothing was sent.</source>
        <extracomment>err_upload_init</extracomment>
        <translation>Der Server hat die Liste der hochzuladenden Dateien nicht angenommen: %1 Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The file changed while it was sent; the server's copy may not match it. Upload it again once it no longer changes.</source>
        <extracomment>err_upd_changed</extracomment>
        <translation>Die Datei hat sich während des Sendens geändert; die Kopie auf dem Server stimmt möglicherweise nicht mit ihr überein. Laden Sie sie erneut hoch, sobald sie sich nicht mehr ändert.</translation>
    </message>
    <message>
        <source>It changed while it was sent and was sent again.</source>
        <extracomment>upd_note_resent</extracomment>
        <translation>Sie hat sich während des Sendens geändert und wurde erneut gesendet.</translation>
    </message>
    <message>
        <source>An earlier run sent it but got no answer; the server has it, so it was not sent again.</source>
        <extracomment>upd_note_confirmed</extracomment>
        <translation>Ein früherer Durchlauf hat sie gesendet, aber keine Antwort erhalten; sie liegt bereits auf dem Server, daher wurde sie nicht erneut gesendet.</translation>
    </message>
    <message>
        <source>The remembered password could not be read from the keyring. Please enter the %1's password.</source>
        <extracomment>msg_enter_pass_keyring</extracomment>
        <translation>Das gespeicherte Passwort konnte nicht aus dem Schlüsselbund gelesen werden. Bitte geben Sie das Passwort von %1 ein.</translation>
    </message>
    <message>
        <source>The server does not speak HTTPS on this port. Turn HTTPS off for this profile, or use the port of the server's HTTPS service. (Error Code: %1)</source>
        <extracomment>err_not_https</extracomment>
        <translation>Der Server spricht auf diesem Port kein HTTPS. Schalten Sie HTTPS für dieses Profil aus, oder verwenden Sie den Port des HTTPS-Dienstes des Servers. (Fehlercode: %1)</translation>
    </message>
    <message>
        <source>Uploaded; the picture is damaged, thumbnails show only what could be read.</source>
        <extracomment>err_upd_damaged_part</extracomment>
        <translation>Hochgeladen; das Bild ist beschädigt, die Miniaturansichten zeigen nur, was gelesen werden konnte.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails; the picture is damaged and nothing of it could be read.</source>
        <extracomment>err_upd_damaged_none</extracomment>
        <translation>Ohne Miniaturansichten hochgeladen; das Bild ist beschädigt und konnte überhaupt nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Uploaded; the video is damaged, its conversions show only what could be read.</source>
        <extracomment>err_upd_video_damaged</extracomment>
        <translation>Hochgeladen; das Video ist beschädigt, die Videoumwandlungen zeigen nur, was gelesen werden konnte.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: the picture is too large (%1 megapixels) to make them.</source>
        <extracomment>err_upd_too_large</extracomment>
        <translation>Ohne Miniaturansichten hochgeladen: Das Bild ist zu groß (%1 Megapixel), um sie zu erstellen.</translation>
    </message>
    <message>
        <source>Uploaded; the video is turned by %1 degrees, which is not a quarter turn, so its conversions show it as stored.</source>
        <extracomment>err_upd_odd_rotation</extracomment>
        <translation>Hochgeladen; das Video ist um %1 Grad gedreht, also nicht um eine Vierteldrehung, daher zeigen die Videoumwandlungen es so, wie es gespeichert ist.</translation>
    </message>
    <message>
        <source>The upload was stopped because three files in a row could not be sent. Please check the server and the network, and then try again.</source>
        <extracomment>err_upload_stopped</extracomment>
        <translation>Der Upload wurde beendet, weil drei Dateien nacheinander nicht gesendet werden konnten. Bitte prüfen Sie den Server und das Netzwerk, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Stopping: waiting up to %1 seconds for the server to confirm %2. Click Cancel again to stop at once.</source>
        <extracomment>msg_wait_reply</extracomment>
        <translation>Wird beendet: Es wird bis zu %1 Sekunden gewartet, bis der Server %2 bestätigt. Klicken Sie erneut auf Abbrechen, um sofort zu beenden.</translation>
    </message>
    <message>
        <source>Left out: the name is not valid UTF-8 text. Rename the file to upload it.</source>
        <extracomment>skip_bad_name</extracomment>
        <translation>Ausgelassen: Der Name ist kein gültiger UTF-8-Text. Benennen Sie die Datei um, um sie hochzuladen.</translation>
    </message>
    <message>
        <source>Left out: hidden file or folder</source>
        <extracomment>skip_hidden</extracomment>
        <translation>Ausgelassen: versteckte Datei oder versteckter Ordner</translation>
    </message>
    <message>
        <source>Left out: symbolic link</source>
        <extracomment>skip_link</extracomment>
        <translation>Ausgelassen: symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>Left out: not found</source>
        <extracomment>skip_missing</extracomment>
        <translation>Ausgelassen: nicht gefunden</translation>
    </message>
    <message>
        <source>Left out: not a regular file or folder</source>
        <extracomment>skip_special</extracomment>
        <translation>Ausgelassen: keine normale Datei und kein Ordner</translation>
    </message>
    <message>
        <source>Left out: not a supported photo or video file</source>
        <extracomment>skip_unsupported</extracomment>
        <translation>Ausgelassen: keine unterstützte Foto- oder Videodatei</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: it must lie below /photo, and no folder in its path may be named "." or "..".</source>
        <extracomment>err_bad_destination</extracomment>
        <translation>Der Zielordner %1 kann nicht verwendet werden: Er muss unterhalb von /photo liegen, und kein Ordner in seinem Pfad darf "." oder ".." heißen.</translation>
    </message>
    <message>
        <source>A profile name may not contain control characters or line breaks, and may be at most %1 characters long.</source>
        <extracomment>err_profname_invalid</extracomment>
        <translation>Ein Profilname darf keine Steuerzeichen oder Zeilenumbrüche enthalten und höchstens %1 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>The file could not be read: it has been moved or deleted, or it may not be read.</source>
        <extracomment>err_upd_unreadable</extracomment>
        <translation>Die Datei konnte nicht gelesen werden: Sie wurde verschoben oder gelöscht, oder sie darf nicht gelesen werden.</translation>
    </message>
    <message>
        <source>No camera or memory card with photos was found. Connect the camera or insert the card, and then click Next again.</source>
        <extracomment>err_no_camera</extracomment>
        <translation>Es wurde keine Kamera und keine Speicherkarte mit Fotos gefunden. Schließen Sie die Kamera an oder stecken Sie die Karte ein, und klicken Sie dann erneut auf Weiter.</translation>
    </message>
    <message>
        <source>Left out: the device gives this item a name that is not a plain file name</source>
        <extracomment>skip_camera_name</extracomment>
        <translation>Ausgelassen: Das Gerät gibt diesem Element einen Namen, der kein einfacher Dateiname ist</translation>
    </message>
    <message>
        <source>Left out: it could not be copied from the camera or memory card</source>
        <extracomment>skip_camera_copy</extracomment>
        <translation>Ausgelassen: Es konnte nicht von der Kamera oder Speicherkarte kopiert werden</translation>
    </message>
    <message>
        <source>Trust the new certificate</source>
        <extracomment>btn_trust_cert</extracomment>
        <translation>Dem neuen Zertifikat vertrauen</translation>
    </message>
    <message>
        <source>The server %1 shows a different certificate than the one trusted before. Someone may be intercepting the connection, so nothing was sent.

Trusted certificate (SHA-256):
%2

New certificate (SHA-256):
%3

Trust the new certificate only if you have changed the server's certificate yourself.</source>
        <extracomment>err_cert_changed</extracomment>
        <translation>Der Server %1 zeigt ein anderes Zertifikat als das bisher vertraute. Möglicherweise wird die Verbindung abgefangen, deshalb wurde nichts gesendet.

Vertrautes Zertifikat (SHA-256):
%2

Neues Zertifikat (SHA-256):
%3

Vertrauen Sie dem neuen Zertifikat nur, wenn Sie das Zertifikat des Servers selbst geändert haben.</translation>
    </message>
    <message>
        <source>Certificate</source>
        <extracomment>create_svr_cert</extracomment>
        <translation>Zertifikat</translation>
    </message>
    <message>
        <source>Not trusted yet: the first HTTPS connection remembers it.</source>
        <extracomment>msg_cert_not_pinned</extracomment>
        <translation>Noch nicht vertraut: Die erste HTTPS-Verbindung merkt es sich.</translation>
    </message>
    <message>
        <source>These items were left out: the upload list carries only files on this computer whose names hold no line break and are valid text.

%1</source>
        <extracomment>err_path_unlistable</extracomment>
        <translation>Diese Elemente wurden ausgelassen: Die Hochladeliste nimmt nur Dateien auf diesem Computer auf, deren Namen keinen Zeilenumbruch enthalten und gültiger Text sind.

%1</translation>
    </message>
    <message>
        <source>Pictarium Uploader could not be started: %1</source>
        <extracomment>err_start_program</extracomment>
        <translation>Pictarium Uploader konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Double-click a profile, or select it and press Enter, to upload with it.</source>
        <extracomment>editor_hint_upload</extracomment>
        <translation>Doppelklicken Sie auf ein Profil oder wählen Sie es aus und drücken Sie die Eingabetaste, um damit hochzuladen.</translation>
    </message>
    <message>
        <source>Create a profile for your Kestrabox to start uploading.</source>
        <extracomment>editor_empty_hint</extracomment>
        <translation>Erstellen Sie ein Profil für Ihre Kestrabox, um mit dem Hochladen zu beginnen.</translation>
    </message>
    <message>
        <source>Edit this profile (F2)</source>
        <extracomment>editor_tip_edit</extracomment>
        <translation>Dieses Profil bearbeiten (F2)</translation>
    </message>
    <message>
        <source>Delete this profile (Del)</source>
        <extracomment>editor_tip_delete</extracomment>
        <translation>Dieses Profil löschen (Entf)</translation>
    </message>
    <message>
        <source>HTTPS: the connection is encrypted</source>
        <extracomment>editor_tip_https</extracomment>
        <translation>HTTPS: Die Verbindung ist verschlüsselt</translation>
    </message>
    <message>
        <source>Searching the network for servers...</source>
        <extracomment>create_svr_searching</extracomment>
        <translation>Netzwerk wird nach Servern durchsucht …</translation>
    </message>
    <message>
        <source>not ready</source>
        <extracomment>create_svr_seen_not_ready</extracomment>
        <translation>nicht bereit</translation>
    </message>
    <message>
        <source>Pictarium is not set up yet</source>
        <extracomment>create_svr_seen_not_installed</extracomment>
        <translation>Pictarium ist noch nicht eingerichtet</translation>
    </message>
    <message>
        <source>too old for this program</source>
        <extracomment>create_svr_seen_unsupported</extracomment>
        <translation>zu alt für dieses Programm</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <extracomment>create_svr_seen_unreachable</extracomment>
        <translation>nicht erreichbar</translation>
    </message>
    <message>
        <source>Already uploaded, not sent again</source>
        <extracomment>upload_finish_skipped</extracomment>
        <translation>Bereits hochgeladen, nicht erneut gesendet</translation>
    </message>
    <message>
        <source>Working on: %1</source>
        <extracomment>upload_prog_current</extracomment>
        <translation>Wird bearbeitet: %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <extracomment>btn_copy</extracomment>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>The help page could not be opened: %1</source>
        <extracomment>err_help_open</extracomment>
        <translation>Die Hilfeseite konnte nicht geöffnet werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>At most %n character(s)</source>
        <extracomment>create_svr_profname_limit</extracomment>
        <translation>
            <numerusform>Höchstens %n Zeichen</numerusform>
            <numerusform>Höchstens %n Zeichen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <extracomment>upload_finish_files</extracomment>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file(s)</source>
        <extracomment>upload_prog_count</extracomment>
        <translation>
            <numerusform>%1 von %n Datei</numerusform>
            <numerusform>%1 von %n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stop the upload? %n file(s) are on the server; the rest will not be sent.</source>
        <extracomment>upload_cfrm_stop</extracomment>
        <translation>
            <numerusform>Hochladen beenden? %n Datei ist bereits auf dem Server; die übrigen werden nicht gesendet.</numerusform>
            <numerusform>Hochladen beenden? %n Dateien sind bereits auf dem Server; die übrigen werden nicht gesendet.</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload new photos and videos from these folders automatically</source>
        <extracomment>watch_auto</extracomment>
        <translation>Neue Fotos und Videos aus diesen Ordnern automatisch hochladen</translation>
    </message>
    <message>
        <source>Add…</source>
        <extracomment>watch_add</extracomment>
        <translation>Hinzufügen…</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>watch_remove</extracomment>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Also tell me when an automatic upload went well</source>
        <extracomment>watch_notify</extracomment>
        <translation>Auch melden, wenn ein automatisches Hochladen geklappt hat</translation>
    </message>
    <message>
        <source>Automatic uploads need the password: turn on “Remember password”.</source>
        <extracomment>watch_needs_password</extracomment>
        <translation>Automatisches Hochladen braucht das Passwort: „Passwort speichern“ einschalten.</translation>
    </message>
    <message>
        <source>The automatic upload could not be turned on or off: %1</source>
        <extracomment>watch_tool_failed</extracomment>
        <translation>Das automatische Hochladen konnte nicht ein- oder ausgeschaltet werden: %1</translation>
    </message>
    <message>
        <source>Automatic upload is on</source>
        <extracomment>watch_status_on</extracomment>
        <translation>Automatisches Hochladen ist an</translation>
    </message>
    <message>
        <source>Last automatic upload %1: %2 sent, %3 skipped, %4 failed</source>
        <extracomment>watch_status_last</extracomment>
        <translation>Letztes automatisches Hochladen %1: %2 gesendet, %3 übersprungen, %4 fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>ErrorTableModel</name>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Error Status</source>
        <translation>Fehlerstatus</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Pictarium Uploader Profile List</source>
        <translation>Pictarium Uploader – Profilliste</translation>
    </message>
</context>
<context>
    <name>ServerSettings</name>
    <message>
        <source>Pictarium Uplaoder Settings</source>
        <translation>Pictarium Uploader – Einstellungen</translation>
    </message>
</context>
</TS>
