<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>global</name>
    <message>
        <source>Select a folder to upload files to</source>
        <extracomment>album_browser_desc</extracomment>
        <translation>Wybierz folder, do którego mają zostać przesłane pliki</translation>
    </message>
    <message>
        <source>Create folder:</source>
        <extracomment>album_browser_new_album_name</extracomment>
        <translation>Utwórz folder:</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>btn_back</extracomment>
        <translation>Wstecz</translation>
    </message>
    <message>
        <source>Browse</source>
        <extracomment>btn_browse</extracomment>
        <translation>Przeglądaj</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>btn_cancel</extracomment>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>btn_close</extracomment>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Create</source>
        <extracomment>btn_create</extracomment>
        <translation>Utwórz</translation>
    </message>
    <message>
        <source>Create Profile</source>
        <extracomment>btn_create_prof</extracomment>
        <translation>Utwórz profil</translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>btn_done</extracomment>
        <translation>Gotowe</translation>
    </message>
    <message>
        <source>See Error Report</source>
        <extracomment>btn_error_report</extracomment>
        <translation>Pokaż raport błędów</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>btn_finish</extracomment>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>btn_next</extracomment>
        <translation>Dalej</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>btn_no</extracomment>
        <translation>Nie</translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>btn_ok</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>btn_save</extracomment>
        <translation>Zapisz</translation>
    </message>
    <message>
        <source>Start Uploading</source>
        <extracomment>btn_start_upload</extracomment>
        <translation>Rozpocznij przesyłanie</translation>
    </message>
    <message>
        <source>Upload Later</source>
        <extracomment>btn_upload_later</extracomment>
        <translation>Prześlij później</translation>
    </message>
    <message>
        <source>Yes</source>
        <extracomment>btn_yes</extracomment>
        <translation>Tak</translation>
    </message>
    <message>
        <source>Choose the type of accounts you wish to upload your files to.</source>
        <extracomment>create_per_desc</extracomment>
        <translation>Wybierz typ konta, do którego chcesz przesyłać pliki.</translation>
    </message>
    <message>
        <source>Pictarium</source>
        <extracomment>create_per_photo</extracomment>
        <translation>Pictarium</translation>
    </message>
    <message>
        <source>Personal Pictarium</source>
        <extracomment>create_per_photo_personal</extracomment>
        <translation>Personal Pictarium</translation>
    </message>
    <message>
        <source>There are two types of accounts you can upload to: standard Pictarium accounts, and Personal Pictarium accounts. To upload to the latter, you must activate Personal Pictarium in Pictarium. Please see Help for more details.</source>
        <extracomment>create_per_tooltip</extracomment>
        <translation>Pliki można przesyłać do dwóch typów kont: standardowych kont Pictarium oraz kont Personal Pictarium. Aby przesyłać pliki do kont drugiego typu, musisz włączyć Personal Pictarium w Pictarium. Więcej informacji znajdziesz w Pomocy.</translation>
    </message>
    <message>
        <source>Upload to</source>
        <extracomment>create_per_uploadto</extracomment>
        <translation>Prześlij do</translation>
    </message>
    <message>
        <source>User name</source>
        <extracomment>create_per_username</extracomment>
        <translation>Nazwa użytkownika</translation>
    </message>
    <message>
        <source>Account</source>
        <extracomment>create_pw_account</extracomment>
        <translation>Konto</translation>
    </message>
    <message>
        <source>Enter the login and password of the account.</source>
        <extracomment>create_pw_desc</extracomment>
        <translation>Wprowadź nazwę użytkownika i hasło konta.</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>create_pw_password</extracomment>
        <translation>Hasło</translation>
    </message>
    <message>
        <source>Remember password</source>
        <extracomment>create_pw_savepass</extracomment>
        <translation>Zapamiętaj hasło</translation>
    </message>
    <message>
        <source>Enter a profile name and fill in server information. Then edit port number if necessary.</source>
        <extracomment>create_svr_desc</extracomment>
        <translation>Wprowadź nazwę profilu i dane serwera. Następnie w razie potrzeby zmień numer portu.</translation>
    </message>
    <message>
        <source>Server Name/IP</source>
        <extracomment>create_svr_hostname</extracomment>
        <translation>Nazwa serwera/IP</translation>
    </message>
    <message>
        <source>Port number</source>
        <extracomment>create_svr_port</extracomment>
        <translation>Numer portu</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <extracomment>create_svr_profname</extracomment>
        <translation>Nazwa profilu</translation>
    </message>
    <message>
        <source>Profiles allow you to customize and save your settings, so you don't need to modify them each time you upload photos. The profile name will be your Kestrabox name by default if left blank.</source>
        <extracomment>create_svr_tooltip</extracomment>
        <translation>Profile pozwalają dostosować i zapisać ustawienia, dzięki czemu nie trzeba ich zmieniać przy każdym przesyłaniu zdjęć. Jeśli pole nazwy profilu pozostanie puste, domyślnie zostanie użyta nazwa serwera Kestrabox.</translation>
    </message>
    <message>
        <source>Manage profiles</source>
        <extracomment>cxt_manage_profile</extracomment>
        <translation>Zarządzaj profilami</translation>
    </message>
    <message>
        <source>Upload to Pictarium</source>
        <extracomment>cxt_menu</extracomment>
        <translation>Prześlij do Pictarium</translation>
    </message>
    <message>
        <source>Create new profile</source>
        <extracomment>cxt_new_profile</extracomment>
        <translation>Utwórz nowy profil</translation>
    </message>
    <message>
        <source>IP address</source>
        <extracomment>editor_ipaddr</extracomment>
        <translation>Adres IP</translation>
    </message>
    <message>
        <source>No profiles have been created</source>
        <extracomment>editor_no_profiles</extracomment>
        <translation>Nie utworzono jeszcze żadnych profili</translation>
    </message>
    <message>
        <source>The user account has been disabled.</source>
        <extracomment>err_account_disable</extracomment>
        <translation>Konto użytkownika zostało wyłączone.</translation>
    </message>
    <message>
        <source>%1 is not a valid Pictarium user account.</source>
        <extracomment>err_account_invalid</extracomment>
        <translation>%1 nie jest prawidłowym kontem użytkownika Pictarium.</translation>
    </message>
    <message>
        <source>The account or password is invalid. Please try again.</source>
        <extracomment>err_auth_fail</extracomment>
        <translation>Nieprawidłowe konto lub hasło. Spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Invalid folder name: %1</source>
        <extracomment>err_bad_dir_name</extracomment>
        <translation>Nieprawidłowa nazwa folderu: %1</translation>
    </message>
    <message>
        <source>The port number must be between 1 and 65535.</source>
        <extracomment>err_bad_port</extracomment>
        <translation>Numer portu musi mieścić się w zakresie od 1 do 65535.</translation>
    </message>
    <message>
        <source>Connection error. (Error Code: %1)</source>
        <extracomment>err_connect_fail</extracomment>
        <translation>Błąd połączenia. (Kod błędu: %1)</translation>
    </message>
    <message>
        <source>Failed to convert %1.</source>
        <extracomment>err_convert</extracomment>
        <translation>Nie udało się przekonwertować pliku %1.</translation>
    </message>
    <message>
        <source>Database error (%1)</source>
        <extracomment>err_database</extracomment>
        <translation>Błąd bazy danych (%1)</translation>
    </message>
    <message>
        <source>This function is not available in the demo mode.</source>
        <extracomment>err_demo_site</extracomment>
        <translation>Ta funkcja nie jest dostępna w trybie demonstracyjnym.</translation>
    </message>
    <message>
        <source>This function is not supported by the connected server.</source>
        <extracomment>err_kb_not_supp</extracomment>
        <translation>Ta funkcja nie jest obsługiwana przez połączony serwer.</translation>
    </message>
    <message>
        <source>The folder name already exists. Please use another name.</source>
        <extracomment>err_duplicate_dir_name</extracomment>
        <translation>Folder o tej nazwie już istnieje. Użyj innej nazwy.</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>err_error</extracomment>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>Please enter a valid hostname or IP address.</source>
        <extracomment>err_host_addr</extracomment>
        <translation>Wprowadź prawidłową nazwę hosta lub adres IP.</translation>
    </message>
    <message>
        <source>Incorrect password.</source>
        <extracomment>err_invalid_pass</extracomment>
        <translation>Nieprawidłowe hasło.</translation>
    </message>
    <message>
        <source>You are not authorized to use this service.</source>
        <extracomment>err_login_autoblock</extracomment>
        <translation>Nie masz uprawnień do korzystania z tej usługi.</translation>
    </message>
    <message>
        <source>Failed to establish the connection. Please check the hostname/IP address or make sure Pictarium is working properly, and then try again.</source>
        <extracomment>err_login_server</extracomment>
        <translation>Nie udało się nawiązać połączenia. Sprawdź nazwę hosta/adres IP lub upewnij się, że Pictarium działa prawidłowo, a następnie spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Velmora Kestrabox is not ready. To upload photos to [%1], please make sure the Kestrabox Manager is installed on the server and configurations are set up correctly.</source>
        <extracomment>err_msg_sys_not_ready</extracomment>
        <translation>Serwer Velmora Kestrabox nie jest gotowy. Aby przesyłać zdjęcia do [%1], upewnij się, że na serwerze zainstalowano Kestrabox Manager i prawidłowo skonfigurowano ustawienia.</translation>
    </message>
    <message>
        <source>To upload photos to [%1], please make sure the server is installed and configured correctly.</source>
        <extracomment>err_msg_sys_not_ready_photo</extracomment>
        <translation>Aby przesyłać zdjęcia do [%1], upewnij się, że serwer został prawidłowo zainstalowany i skonfigurowany.</translation>
    </message>
    <message>
        <source>Please upload from a non-empty folder.</source>
        <extracomment>err_none_sel_file</extracomment>
        <translation>Prześlij pliki z folderu, który nie jest pusty.</translation>
    </message>
    <message>
        <source>Please select a destination before uploading.</source>
        <extracomment>err_none_sel_folder</extracomment>
        <translation>Przed przesłaniem wybierz miejsce docelowe.</translation>
    </message>
    <message>
        <source>Please select at least one video conversion quality before uploading.</source>
        <extracomment>err_none_sel_vdoqual</extracomment>
        <translation>Przed przesłaniem wybierz co najmniej jedną jakość konwersji wideo.</translation>
    </message>
    <message>
        <source>Please enter the name of a Personal Pictarium account.</source>
        <extracomment>err_personal_empty</extracomment>
        <translation>Wprowadź nazwę konta Personal Pictarium.</translation>
    </message>
    <message>
        <source>Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to enable Pictarium.</source>
        <extracomment>err_photo_disable</extracomment>
        <translation>Pictarium jest wyłączone. Aby włączyć Pictarium, zaloguj się do KBM jako admin (lub jako użytkownik należący do grupy „administrators”).</translation>
    </message>
    <message>
        <source>Pictarium is not installed. Please install the package at Parcelry to upload photos.</source>
        <extracomment>err_photo_not_install</extracomment>
        <translation>Pictarium nie jest zainstalowane. Aby przesyłać zdjęcia, zainstaluj pakiet w centrum pakietów Parcelry.</translation>
    </message>
    <message>
        <source>Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.</source>
        <extracomment>err_photo_personal_disable</extracomment>
        <translation>Żądane Personal Pictarium jest wyłączone. Aby włączyć Personal Pictarium, zaloguj się do KBM.</translation>
    </message>
    <message>
        <source>The photo shared folder is not found. Please make sure the photo shared folder exists before uploading.</source>
        <extracomment>err_photo_root_not_found</extracomment>
        <translation>Nie znaleziono folderu udostępnionego „photo”. Przed przesłaniem upewnij się, że folder udostępniony „photo” istnieje.</translation>
    </message>
    <message>
        <source>Please enter the port number.</source>
        <extracomment>err_port_empty</extracomment>
        <translation>Wprowadź numer portu.</translation>
    </message>
    <message>
        <source>Profile name [%1] already exists.</source>
        <extracomment>err_profname_duplicate</extracomment>
        <translation>Profil o nazwie [%1] już istnieje.</translation>
    </message>
    <message>
        <source>Please enter a profile name for this server.</source>
        <extracomment>err_profname_empty</extracomment>
        <translation>Wprowadź nazwę profilu dla tego serwera.</translation>
    </message>
    <message>
        <source>No %1 was found on the local network.</source>
        <extracomment>err_serv_not_found</extracomment>
        <translation>W sieci lokalnej nie znaleziono serwera %1.</translation>
    </message>
    <message>
        <source>The connection is lost. Please log in to Kestrabox Manager again.</source>
        <extracomment>err_session_lost</extracomment>
        <translation>Połączenie zostało przerwane. Zaloguj się ponownie do Kestrabox Manager.</translation>
    </message>
    <message>
        <source>Unknown server error. (Error Code:%1)</source>
        <extracomment>err_svr_unknown</extracomment>
        <translation>Nieznany błąd serwera. (Kod błędu: %1)</translation>
    </message>
    <message>
        <source>Skip duplicate file</source>
        <extracomment>err_upd_file_duplicate</extracomment>
        <translation>Pominięto zduplikowany plik</translation>
    </message>
    <message>
        <source>You have no privileges to either create new albums or upload files.</source>
        <extracomment>err_upd_no_privilege</extracomment>
        <translation>Nie masz uprawnień do tworzenia nowych albumów ani do przesyłania plików.</translation>
    </message>
    <message>
        <source>The destination folder is not found: %1</source>
        <extracomment>err_upd_target_not_found</extracomment>
        <translation>Nie znaleziono folderu docelowego: %1</translation>
    </message>
    <message>
        <source>Enter a Pictarium account</source>
        <extracomment>err_usrname_empty</extracomment>
        <translation>Wprowadź konto Pictarium</translation>
    </message>
    <message>
        <source>Warning</source>
        <extracomment>err_warning</extracomment>
        <translation>Ostrzeżenie</translation>
    </message>
    <message>
        <source>You can upload photos or videos with Pictarium Uploader by right-clicking on items.</source>
        <extracomment>install_finish_desc</extracomment>
        <translation>Zdjęcia i filmy możesz przesyłać za pomocą programu Pictarium Uploader, klikając elementy prawym przyciskiem myszy.</translation>
    </message>
    <message>
        <source>Pictarium Uploader installation completed</source>
        <extracomment>install_finish_title</extracomment>
        <translation>Instalacja programu Pictarium Uploader została zakończona</translation>
    </message>
    <message>
        <source>Pictarium Uploader allows you to upload photo and video files to the Pictarium library of your Velmora Kestrabox.</source>
        <extracomment>install_intro_desc</extracomment>
        <translation>Pictarium Uploader umożliwia przesyłanie plików zdjęć i filmów do biblioteki Pictarium na serwerze Velmora Kestrabox.</translation>
    </message>
    <message>
        <source>Choose Install Location</source>
        <extracomment>install_intro_dest_folder</extracomment>
        <translation>Wybierz lokalizację instalacji</translation>
    </message>
    <message>
        <source>Welcome to the Pictarium Uploader</source>
        <extracomment>install_intro_title</extracomment>
        <translation>Witamy w programie Pictarium Uploader</translation>
    </message>
    <message>
        <source>Pictarium Uploader is being installed now, please wait...</source>
        <extracomment>install_prog_desc</extracomment>
        <translation>Trwa instalowanie programu Pictarium Uploader. Zaczekaj...</translation>
    </message>
    <message>
        <source>Installing Pictarium Uploader</source>
        <extracomment>install_prog_title</extracomment>
        <translation>Instalowanie programu Pictarium Uploader</translation>
    </message>
    <message>
        <source>Are you sure you want to continue?</source>
        <extracomment>msg_cfrm_continue</extracomment>
        <translation>Czy na pewno chcesz kontynuować?</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all configurations of Pictarium Uploader?</source>
        <extracomment>msg_cfrm_remove_db</extracomment>
        <translation>Czy na pewno chcesz usunąć całą konfigurację programu Pictarium Uploader?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the profile [%1]?</source>
        <extracomment>msg_cfrm_remove_prof</extracomment>
        <translation>Czy na pewno chcesz usunąć profil [%1]?</translation>
    </message>
    <message>
        <source>Please enter the %1's password.</source>
        <extracomment>msg_enter_pass</extracomment>
        <translation>Wprowadź hasło konta %1.</translation>
    </message>
    <message>
        <source>Please make sure: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader is not blocked by the firewall of your computer OS or anti-virus applications.&lt;/li&gt; &lt;li&gt;%1 and your computer are both connected to the network.&lt;/li&gt; &lt;li&gt;You have switched on the power of %1.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</source>
        <extracomment>msg_firewall</extracomment>
        <translation>Upewnij się, że: &lt;p&gt;&lt;ul&gt;&lt;li&gt;program Velmora Pictarium Uploader nie jest blokowany przez zaporę systemu operacyjnego komputera ani przez oprogramowanie antywirusowe;&lt;/li&gt; &lt;li&gt;serwer %1 i komputer są połączone z siecią;&lt;/li&gt; &lt;li&gt;serwer %1 jest włączony.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Upload Photos</source>
        <extracomment>msg_photo_caption</extracomment>
        <translation>Prześlij zdjęcia</translation>
    </message>
    <message>
        <source>Velmora Kestrabox</source>
        <extracomment>velm_server</extracomment>
        <translation>Velmora Kestrabox</translation>
    </message>
    <message>
        <source>Upload file count</source>
        <extracomment>upload_count</extracomment>
        <translation>Liczba plików do przesłania</translation>
    </message>
    <message>
        <source>Unsupported file count</source>
        <extracomment>upload_count_unsupport</extracomment>
        <translation>Liczba nieobsługiwanych plików</translation>
    </message>
    <message>
        <source>Rename files with taken time</source>
        <extracomment>upload_date_rename</extracomment>
        <translation>Zmień nazwy plików według daty i godziny wykonania zdjęć</translation>
    </message>
    <message>
        <source>Destination Folder</source>
        <extracomment>upload_dest_folder</extracomment>
        <translation>Folder docelowy</translation>
    </message>
    <message>
        <source>If the file already exists</source>
        <extracomment>upload_file_exist</extracomment>
        <translation>Jeśli plik już istnieje</translation>
    </message>
    <message>
        <source>Failed to upload</source>
        <extracomment>upload_finish_fail</extracomment>
        <translation>Pliki nieprzesłane</translation>
    </message>
    <message>
        <source>Successfully uploaded</source>
        <extracomment>upload_finish_success</extracomment>
        <translation>Pliki przesłane pomyślnie</translation>
    </message>
    <message>
        <source>Upload finished</source>
        <extracomment>upload_finish_title</extracomment>
        <translation>Przesyłanie zakończone</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>upload_finish_unit</extracomment>
        <translation>%1</translation>
    </message>
    <message>
        <source>Upload supported files only</source>
        <extracomment>upload_idxable</extracomment>
        <translation>Przesyłaj tylko obsługiwane pliki</translation>
    </message>
    <message>
        <source>Keep the folder structure when uploading files</source>
        <extracomment>upload_igr_dir</extracomment>
        <translation>Zachowaj strukturę folderów podczas przesyłania plików</translation>
    </message>
    <message>
        <source>Skip files that have been uploaded</source>
        <extracomment>upload_incbackup</extracomment>
        <translation>Pomiń pliki, które zostały już przesłane</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <extracomment>upload_overwrite</extracomment>
        <translation>Zastąp</translation>
    </message>
    <message>
        <source>Uploaded files</source>
        <extracomment>upload_prog_status</extracomment>
        <translation>Przesłane pliki</translation>
    </message>
    <message>
        <source>Uploading files to [%1]...</source>
        <extracomment>upload_prog_title</extracomment>
        <translation>Przesyłanie plików do [%1]...</translation>
    </message>
    <message>
        <source>Rename</source>
        <extracomment>upload_rename</extracomment>
        <translation>Zmień nazwę</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>upload_skip</extracomment>
        <translation>Pomiń</translation>
    </message>
    <message>
        <source>Source Folder</source>
        <extracomment>upload_src_folder</extracomment>
        <translation>Folder źródłowy</translation>
    </message>
    <message>
        <source>Select conversion qualities for videos to be played in Pictarium. Uploading will take longer when you select multiple and/or higher quality levels.</source>
        <extracomment>upload_vdo_desc</extracomment>
        <translation>Wybierz jakość konwersji filmów odtwarzanych w Pictarium. Przesyłanie potrwa dłużej, jeśli wybierzesz kilka poziomów jakości i/lub wyższą jakość.</translation>
    </message>
    <message>
        <source>High (1080p HD, 2Mbp/s)</source>
        <extracomment>upload_vdo_high</extracomment>
        <translation>Wysoka (1080p HD, 2 Mb/s)</translation>
    </message>
    <message>
        <source>Low (360p, 256kbp/s)</source>
        <extracomment>upload_vdo_low</extracomment>
        <translation>Niska (360p, 256 kb/s)</translation>
    </message>
    <message>
        <source>Medium (720p HD, 1Mbp/s)</source>
        <extracomment>upload_vdo_medium</extracomment>
        <translation>Średnia (720p HD, 1 Mb/s)</translation>
    </message>
    <message>
        <source>Mobile (240p, 256kbp/s)</source>
        <extracomment>upload_vdo_mobile</extracomment>
        <translation>Mobilna (240p, 256 kb/s)</translation>
    </message>
    <message>
        <source>Please note that to play videos in Pictarium, you must choose at least one quality setting.</source>
        <extracomment>upload_vdo_tooltip</extracomment>
        <translation>Aby odtwarzać filmy w Pictarium, musisz wybrać co najmniej jedno ustawienie jakości.</translation>
    </message>
    <message>
        <source>No file is available for upload. This is because the selected items have already been uploaded to the destination folder in Pictarium, and your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file</extracomment>
        <translation>Brak plików do przesłania. Wybrane elementy zostały już przesłane do folderu docelowego w Pictarium, a to konto nie ma uprawnień do przesyłania wybranych elementów do Pictarium.</translation>
    </message>
    <message>
        <source>Your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file_nopriv</extracomment>
        <translation>To konto nie ma uprawnień do przesyłania wybranych elementów do Pictarium.</translation>
    </message>
    <message>
        <source>The selected items have already been uploaded to the destination folder in Pictarium. No file is available for upload.</source>
        <extracomment>upload_zero_file_uploaded</extracomment>
        <translation>Wybrane elementy zostały już przesłane do folderu docelowego w Pictarium. Brak plików do przesłania.</translation>
    </message>
    <message>
        <source>The upload history cannot be written (%1), so a later upload would send these files again. Please check that the data folder can be written, and then try again.</source>
        <extracomment>err_history_write</extracomment>
        <translation>Nie można zapisać historii przesyłania (%1), więc przy kolejnym przesyłaniu te pliki zostałyby wysłane ponownie. Sprawdź, czy w folderze danych można zapisywać, a następnie spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Not uploaded: the upload stopped before this file was sent.</source>
        <extracomment>err_not_sent</extracomment>
        <translation>Nie przesłano: przesyłanie zostało zatrzymane przed wysłaniem tego pliku.</translation>
    </message>
    <message>
        <source>Another upload with the profile [%1] is running. Please wait until it has finished, and then try again.</source>
        <extracomment>err_profile_busy</extracomment>
        <translation>Trwa już inne przesyłanie z użyciem profilu [%1]. Poczekaj na jego zakończenie, a następnie spróbuj ponownie.</translation>
    </message>
    <message>
        <source>The server did not confirm this file after it was sent; it may have been stored. (Error Code: %1)</source>
        <extracomment>err_upd_no_reply</extracomment>
        <translation>Serwer nie potwierdził odebrania tego pliku po jego wysłaniu; plik mógł jednak zostać zapisany. (Kod błędu: %1)</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: they could not be made or sent.</source>
        <extracomment>err_upd_no_thumbs</extracomment>
        <translation>Przesłano bez miniatur: nie udało się ich utworzyć ani wysłać.</translation>
    </message>
    <message>
        <source>Uploaded without these video conversions: %1</source>
        <extracomment>err_upd_no_videos</extracomment>
        <translation>Przesłano bez następujących konwersji wideo: %1</translation>
    </message>
    <message>
        <source>No profile belongs to this menu entry (profile number %1); it may have been deleted. Nothing was uploaded.</source>
        <extracomment>err_no_shortcut_profile</extracomment>
        <translation>Do tej pozycji menu nie należy żaden profil (numer profilu %1); mógł zostać usunięty. Nic nie zostało przesłane.</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: a folder name may not contain control characters.</source>
        <extracomment>err_bad_destination_chars</extracomment>
        <translation>Nie można użyć folderu docelowego %1: nazwa folderu nie może zawierać znaków sterujących.</translation>
    </message>
    <message>
        <source>The server's disk is full: the file could not be stored.</source>
        <extracomment>err_upd_no_space</extracomment>
        <translation>Dysk serwera jest pełny: nie można było zapisać pliku.</translation>
    </message>
    <message>
        <source>The selected items hold no photos or videos to upload.</source>
        <extracomment>upload_zero_file_none</extracomment>
        <translation>Wybrane elementy nie zawierają zdjęć ani filmów do przesłania.</translation>
    </message>
    <message>
        <source>The server's answer is larger than %1 MiB, far more than any real answer; it was not read.</source>
        <extracomment>err_reply_too_large</extracomment>
        <translation>Odpowiedź serwera jest większa niż %1 MiB, znacznie więcej niż jakakolwiek rzeczywista odpowiedź; nie została odczytana.</translation>
    </message>
    <message>
        <source>The server did not take the list of files to upload: %1 Nothing was sent.</source>
        <extracomment>err_upload_init</extracomment>
        <translation>Serwer nie przyjął listy plików do przesłania: %1 Nic nie zostało wysłane.</translation>
    </message>
    <message>
        <source>The file changed while it was sent; the server's copy may not match it. Upload it again once it no longer changes.</source>
        <extracomment>err_upd_changed</extracomment>
        <translation>Plik zmienił się podczas wysyłania; kopia na serwerze może się od niego różnić. Prześlij go ponownie, gdy przestanie się zmieniać.</translation>
    </message>
    <message>
        <source>It changed while it was sent and was sent again.</source>
        <extracomment>upd_note_resent</extracomment>
        <translation>Zmienił się podczas wysyłania i został wysłany ponownie.</translation>
    </message>
    <message>
        <source>An earlier run sent it but got no answer; the server has it, so it was not sent again.</source>
        <extracomment>upd_note_confirmed</extracomment>
        <translation>Wcześniejsze uruchomienie wysłało go, ale nie otrzymało odpowiedzi; serwer już go ma, więc nie został wysłany ponownie.</translation>
    </message>
    <message>
        <source>The remembered password could not be read from the keyring. Please enter the %1's password.</source>
        <extracomment>msg_enter_pass_keyring</extracomment>
        <translation>Nie można odczytać zapamiętanego hasła z pęku kluczy. Wprowadź hasło konta %1.</translation>
    </message>
    <message>
        <source>The server does not speak HTTPS on this port. Turn HTTPS off for this profile, or use the port of the server's HTTPS service. (Error Code: %1)</source>
        <extracomment>err_not_https</extracomment>
        <translation>Serwer nie obsługuje protokołu HTTPS na tym porcie. Wyłącz HTTPS dla tego profilu lub użyj portu usługi HTTPS serwera. (Kod błędu: %1)</translation>
    </message>
    <message>
        <source>Uploaded; the picture is damaged, thumbnails show only what could be read.</source>
        <extracomment>err_upd_damaged_part</extracomment>
        <translation>Przesłano; obraz jest uszkodzony, miniatury pokazują tylko to, co udało się odczytać.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails; the picture is damaged and nothing of it could be read.</source>
        <extracomment>err_upd_damaged_none</extracomment>
        <translation>Przesłano bez miniatur; obraz jest uszkodzony i nie udało się z niego nic odczytać.</translation>
    </message>
    <message>
        <source>Uploaded; the video is damaged, its conversions show only what could be read.</source>
        <extracomment>err_upd_video_damaged</extracomment>
        <translation>Przesłano; wideo jest uszkodzone, jego konwersje pokazują tylko to, co udało się odczytać.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: the picture is too large (%1 megapixels) to make them.</source>
        <extracomment>err_upd_too_large</extracomment>
        <translation>Przesłano bez miniatur: obraz jest zbyt duży (%1 megapikseli), aby je utworzyć.</translation>
    </message>
    <message>
        <source>Uploaded; the video is turned by %1 degrees, which is not a quarter turn, so its conversions show it as stored.</source>
        <extracomment>err_upd_odd_rotation</extracomment>
        <translation>Przesłano; wideo jest obrócone o %1 stopni, co nie jest ćwierćobrotem, więc jego konwersje pokazują je tak, jak zostało zapisane.</translation>
    </message>
    <message>
        <source>The upload was stopped because three files in a row could not be sent. Please check the server and the network, and then try again.</source>
        <extracomment>err_upload_stopped</extracomment>
        <translation>Przesyłanie zostało zatrzymane, ponieważ nie udało się wysłać trzech plików z rzędu. Sprawdź serwer i sieć, a następnie spróbuj ponownie.</translation>
    </message>
    <message>
        <source>Stopping: waiting up to %1 seconds for the server to confirm %2. Click Cancel again to stop at once.</source>
        <extracomment>msg_wait_reply</extracomment>
        <translation>Zatrzymywanie: oczekiwanie maksymalnie %1 s na potwierdzenie pliku %2 przez serwer. Kliknij ponownie Anuluj, aby zatrzymać natychmiast.</translation>
    </message>
    <message>
        <source>Left out: the name is not valid UTF-8 text. Rename the file to upload it.</source>
        <extracomment>skip_bad_name</extracomment>
        <translation>Pominięto: nazwa nie jest prawidłowym tekstem UTF-8. Zmień nazwę pliku, aby go przesłać.</translation>
    </message>
    <message>
        <source>Left out: hidden file or folder</source>
        <extracomment>skip_hidden</extracomment>
        <translation>Pominięto: ukryty plik lub folder</translation>
    </message>
    <message>
        <source>Left out: symbolic link</source>
        <extracomment>skip_link</extracomment>
        <translation>Pominięto: dowiązanie symboliczne</translation>
    </message>
    <message>
        <source>Left out: not found</source>
        <extracomment>skip_missing</extracomment>
        <translation>Pominięto: nie znaleziono</translation>
    </message>
    <message>
        <source>Left out: not a regular file or folder</source>
        <extracomment>skip_special</extracomment>
        <translation>Pominięto: nie jest to zwykły plik ani folder</translation>
    </message>
    <message>
        <source>Left out: not a supported photo or video file</source>
        <extracomment>skip_unsupported</extracomment>
        <translation>Pominięto: nie jest to obsługiwany plik zdjęcia ani filmu</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: it must lie below /photo, and no folder in its path may be named "." or "..".</source>
        <extracomment>err_bad_destination</extracomment>
        <translation>Nie można użyć folderu docelowego %1: musi się on znajdować wewnątrz /photo, a żaden folder w jego ścieżce nie może mieć nazwy "." ani "..".</translation>
    </message>
    <message>
        <source>A profile name may not contain control characters or line breaks, and may be at most %1 characters long.</source>
        <extracomment>err_profname_invalid</extracomment>
        <translation>Nazwa profilu nie może zawierać znaków sterujących ani podziałów wiersza, a jej długość nie może przekraczać %1 znaków.</translation>
    </message>
    <message>
        <source>The file could not be read: it has been moved or deleted, or it may not be read.</source>
        <extracomment>err_upd_unreadable</extracomment>
        <translation>Nie można odczytać pliku: został przeniesiony lub usunięty albo brak uprawnień do jego odczytu.</translation>
    </message>
    <message>
        <source>No camera or memory card with photos was found. Connect the camera or insert the card, and then click Next again.</source>
        <extracomment>err_no_camera</extracomment>
        <translation>Nie znaleziono aparatu ani karty pamięci ze zdjęciami. Podłącz aparat lub włóż kartę, a następnie ponownie kliknij Dalej.</translation>
    </message>
    <message>
        <source>Left out: the device gives this item a name that is not a plain file name</source>
        <extracomment>skip_camera_name</extracomment>
        <translation>Pominięto: urządzenie nadaje temu elementowi nazwę, która nie jest zwykłą nazwą pliku</translation>
    </message>
    <message>
        <source>Left out: it could not be copied from the camera or memory card</source>
        <extracomment>skip_camera_copy</extracomment>
        <translation>Pominięto: nie udało się skopiować elementu z aparatu lub karty pamięci</translation>
    </message>
    <message>
        <source>Trust the new certificate</source>
        <extracomment>btn_trust_cert</extracomment>
        <translation>Zaufaj nowemu certyfikatowi</translation>
    </message>
    <message>
        <source>The server %1 shows a different certificate than the one trusted before. Someone may be intercepting the connection, so nothing was sent.

Trusted certificate (SHA-256):
%2

New certificate (SHA-256):
%3

Trust the new certificate only if you have changed the server's certificate yourself.</source>
        <extracomment>err_cert_changed</extracomment>
        <translation>Serwer %1 przedstawia inny certyfikat niż ten, który był wcześniej zaufany. Ktoś może przechwytywać połączenie, dlatego nic nie zostało wysłane.

Zaufany certyfikat (SHA-256):
%2

Nowy certyfikat (SHA-256):
%3

Zaufaj nowemu certyfikatowi tylko wtedy, gdy certyfikat serwera został zmieniony przez Ciebie.</translation>
    </message>
    <message>
        <source>Certificate</source>
        <extracomment>create_svr_cert</extracomment>
        <translation>Certyfikat</translation>
    </message>
    <message>
        <source>Not trusted yet: the first HTTPS connection remembers it.</source>
        <extracomment>msg_cert_not_pinned</extracomment>
        <translation>Certyfikat nie jest jeszcze zaufany: zostanie zapamiętany przy pierwszym połączeniu HTTPS.</translation>
    </message>
    <message>
        <source>These items were left out: the upload list carries only files on this computer whose names hold no line break and are valid text.

%1</source>
        <extracomment>err_path_unlistable</extracomment>
        <translation>Te elementy zostały pominięte: lista przesyłania obejmuje tylko pliki na tym komputerze, których nazwy nie zawierają podziału wiersza i są prawidłowym tekstem.

%1</translation>
    </message>
    <message>
        <source>Pictarium Uploader could not be started: %1</source>
        <extracomment>err_start_program</extracomment>
        <translation>Nie można uruchomić programu Pictarium Uploader: %1</translation>
    </message>
    <message>
        <source>Double-click a profile, or select it and press Enter, to upload with it.</source>
        <extracomment>editor_hint_upload</extracomment>
        <translation>Kliknij dwukrotnie profil albo zaznacz go i naciśnij Enter, aby przesłać pliki przy jego użyciu.</translation>
    </message>
    <message>
        <source>Create a profile for your Kestrabox to start uploading.</source>
        <extracomment>editor_empty_hint</extracomment>
        <translation>Utwórz profil dla serwera Kestrabox, aby rozpocząć przesyłanie.</translation>
    </message>
    <message>
        <source>Edit this profile (F2)</source>
        <extracomment>editor_tip_edit</extracomment>
        <translation>Edytuj ten profil (F2)</translation>
    </message>
    <message>
        <source>Delete this profile (Del)</source>
        <extracomment>editor_tip_delete</extracomment>
        <translation>Usuń ten profil (Delete)</translation>
    </message>
    <message>
        <source>HTTPS: the connection is encrypted</source>
        <extracomment>editor_tip_https</extracomment>
        <translation>HTTPS: połączenie jest szyfrowane</translation>
    </message>
    <message>
        <source>Searching the network for servers...</source>
        <extracomment>create_svr_searching</extracomment>
        <translation>Wyszukiwanie serwerów w sieci...</translation>
    </message>
    <message>
        <source>not ready</source>
        <extracomment>create_svr_seen_not_ready</extracomment>
        <translation>nie jest gotowy</translation>
    </message>
    <message>
        <source>Pictarium is not set up yet</source>
        <extracomment>create_svr_seen_not_installed</extracomment>
        <translation>Pictarium nie jest jeszcze skonfigurowane</translation>
    </message>
    <message>
        <source>too old for this program</source>
        <extracomment>create_svr_seen_unsupported</extracomment>
        <translation>za stary dla tego programu</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <extracomment>create_svr_seen_unreachable</extracomment>
        <translation>nieosiągalny</translation>
    </message>
    <message>
        <source>Already uploaded, not sent again</source>
        <extracomment>upload_finish_skipped</extracomment>
        <translation>Już przesłane, nie wysłano ponownie</translation>
    </message>
    <message>
        <source>Working on: %1</source>
        <extracomment>upload_prog_current</extracomment>
        <translation>Przetwarzanie: %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <extracomment>btn_copy</extracomment>
        <translation>Kopiuj</translation>
    </message>
    <message>
        <source>The help page could not be opened: %1</source>
        <extracomment>err_help_open</extracomment>
        <translation>Nie można otworzyć strony pomocy: %1</translation>
    </message>
    <message numerus="yes">
        <source>At most %n character(s)</source>
        <extracomment>create_svr_profname_limit</extracomment>
        <translation>
            <numerusform>Maksymalnie %n znak</numerusform>
            <numerusform>Maksymalnie %n znaki</numerusform>
            <numerusform>Maksymalnie %n znaków</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <extracomment>upload_finish_files</extracomment>
        <translation>
            <numerusform>%n plik</numerusform>
            <numerusform>%n pliki</numerusform>
            <numerusform>%n plików</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file(s)</source>
        <extracomment>upload_prog_count</extracomment>
        <translation>
            <numerusform>%1 z %n pliku</numerusform>
            <numerusform>%1 z %n plików</numerusform>
            <numerusform>%1 z %n plików</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stop the upload? %n file(s) are on the server; the rest will not be sent.</source>
        <extracomment>upload_cfrm_stop</extracomment>
        <translation>
            <numerusform>Zatrzymać przesyłanie? Na serwerze jest już %n plik; pozostałe nie zostaną wysłane.</numerusform>
            <numerusform>Zatrzymać przesyłanie? Na serwerze są już %n pliki; pozostałe nie zostaną wysłane.</numerusform>
            <numerusform>Zatrzymać przesyłanie? Na serwerze jest już %n plików; pozostałe nie zostaną wysłane.</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload new photos and videos from these folders automatically</source>
        <extracomment>watch_auto</extracomment>
        <translation>Automatycznie przesyłaj nowe zdjęcia i filmy z tych folderów</translation>
    </message>
    <message>
        <source>Add…</source>
        <extracomment>watch_add</extracomment>
        <translation>Dodaj…</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>watch_remove</extracomment>
        <translation>Usuń</translation>
    </message>
    <message>
        <source>Also tell me when an automatic upload went well</source>
        <extracomment>watch_notify</extracomment>
        <translation>Powiadamiaj także, gdy automatyczne przesyłanie się udało</translation>
    </message>
    <message>
        <source>Automatic uploads need the password: turn on “Remember password”.</source>
        <extracomment>watch_needs_password</extracomment>
        <translation>Automatyczne przesyłanie wymaga hasła: włącz „Zapamiętaj hasło”.</translation>
    </message>
    <message>
        <source>The automatic upload could not be turned on or off: %1</source>
        <extracomment>watch_tool_failed</extracomment>
        <translation>Nie udało się włączyć ani wyłączyć automatycznego przesyłania: %1</translation>
    </message>
    <message>
        <source>Automatic upload is on</source>
        <extracomment>watch_status_on</extracomment>
        <translation>Automatyczne przesyłanie jest włączone</translation>
    </message>
    <message>
        <source>Last automatic upload %1: %2 sent, %3 skipped, %4 failed</source>
        <extracomment>watch_status_last</extracomment>
        <translation>Ostatnie automatyczne przesyłanie %1: wysłano %2, pominięto %3, błędy %4</translation>
    </message>
</context>
<context>
    <name>ErrorTableModel</name>
    <message>
        <source>File Name</source>
        <translation>Nazwa pliku</translation>
    </message>
    <message>
        <source>Error Status</source>
        <translation>Stan błędu</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Pictarium Uploader Profile List</source>
        <translation>Pictarium Uploader – lista profili</translation>
    </message>
</context>
<context>
    <name>ServerSettings</name>
    <message>
        <source>Pictarium Uplaoder Settings</source>
        <translation>Pictarium Uploader – ustawienia</translation>
    </message>
</context>
</TS>
