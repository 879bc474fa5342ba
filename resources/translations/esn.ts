<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>global</name>
    <message>
        <source>Select a folder to upload files to</source>
        <extracomment>album_browser_desc</extracomment>
        <translation>Seleccionar la carpeta a la que se subirán los archivos</translation>
    </message>
    <message>
        <source>Create folder:</source>
        <extracomment>album_browser_new_album_name</extracomment>
        <translation>Crear carpeta:</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>btn_back</extracomment>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Browse</source>
        <extracomment>btn_browse</extracomment>
        <translation>Examinar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>btn_cancel</extracomment>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>btn_close</extracomment>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Create</source>
        <extracomment>btn_create</extracomment>
        <translation>Crear</translation>
    </message>
    <message>
        <source>Create Profile</source>
        <extracomment>btn_create_prof</extracomment>
        <translation>Crear perfil</translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>btn_done</extracomment>
        <translation>Listo</translation>
    </message>
    <message>
        <source>See Error Report</source>
        <extracomment>btn_error_report</extracomment>
        <translation>Ver informe de errores</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>btn_finish</extracomment>
        <translation>Finalizar</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>btn_next</extracomment>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>btn_no</extracomment>
        <translation>No</translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>btn_ok</extracomment>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>btn_save</extracomment>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Start Uploading</source>
        <extracomment>btn_start_upload</extracomment>
        <translation>Iniciar subida</translation>
    </message>
    <message>
        <source>Upload Later</source>
        <extracomment>btn_upload_later</extracomment>
        <translation>Subir más tarde</translation>
    </message>
    <message>
        <source>Yes</source>
        <extracomment>btn_yes</extracomment>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Choose the type of accounts you wish to upload your files to.</source>
        <extracomment>create_per_desc</extracomment>
        <translation>Elegir el tipo de cuenta a la que se subirán los archivos.</translation>
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
        <translation>Los archivos se pueden subir a dos tipos de cuenta: cuentas estándar de Pictarium y cuentas de Personal Pictarium. Para subir archivos a estas últimas, es necesario activar Personal Pictarium en Pictarium. Hay más información en la Ayuda.</translation>
    </message>
    <message>
        <source>Upload to</source>
        <extracomment>create_per_uploadto</extracomment>
        <translation>Subir a</translation>
    </message>
    <message>
        <source>User name</source>
        <extracomment>create_per_username</extracomment>
        <translation>Nombre de usuario</translation>
    </message>
    <message>
        <source>Account</source>
        <extracomment>create_pw_account</extracomment>
        <translation>Cuenta</translation>
    </message>
    <message>
        <source>Enter the login and password of the account.</source>
        <extracomment>create_pw_desc</extracomment>
        <translation>Introducir el nombre de usuario y la contraseña de la cuenta.</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>create_pw_password</extracomment>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Remember password</source>
        <extracomment>create_pw_savepass</extracomment>
        <translation>Recordar contraseña</translation>
    </message>
    <message>
        <source>Enter a profile name and fill in server information. Then edit port number if necessary.</source>
        <extracomment>create_svr_desc</extracomment>
        <translation>Introducir un nombre de perfil y los datos del servidor y, si es necesario, cambiar el número de puerto.</translation>
    </message>
    <message>
        <source>Server Name/IP</source>
        <extracomment>create_svr_hostname</extracomment>
        <translation>Nombre/IP del servidor</translation>
    </message>
    <message>
        <source>Port number</source>
        <extracomment>create_svr_port</extracomment>
        <translation>Número de puerto</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <extracomment>create_svr_profname</extracomment>
        <translation>Nombre del perfil</translation>
    </message>
    <message>
        <source>Profiles allow you to customize and save your settings, so you don't need to modify them each time you upload photos. The profile name will be your Kestrabox name by default if left blank.</source>
        <extracomment>create_svr_tooltip</extracomment>
        <translation>Los perfiles permiten personalizar y guardar la configuración para no tener que modificarla cada vez que se suben fotos. Si este campo se deja en blanco, se usará como nombre del perfil el nombre del servidor Kestrabox.</translation>
    </message>
    <message>
        <source>Manage profiles</source>
        <extracomment>cxt_manage_profile</extracomment>
        <translation>Administrar perfiles</translation>
    </message>
    <message>
        <source>Upload to Pictarium</source>
        <extracomment>cxt_menu</extracomment>
        <translation>Subir a Pictarium</translation>
    </message>
    <message>
        <source>Create new profile</source>
        <extracomment>cxt_new_profile</extracomment>
        <translation>Crear perfil nuevo</translation>
    </message>
    <message>
        <source>IP address</source>
        <extracomment>editor_ipaddr</extracomment>
        <translation>Dirección IP</translation>
    </message>
    <message>
        <source>No profiles have been created</source>
        <extracomment>editor_no_profiles</extracomment>
        <translation>No se ha creado ningún perfil</translation>
    </message>
    <message>
        <source>The user account has been disabled.</source>
        <extracomment>err_account_disable</extracomment>
        <translation>La cuenta de usuario se ha deshabilitado.</translation>
    </message>
    <message>
        <source>%1 is not a valid Pictarium user account.</source>
        <extracomment>err_account_invalid</extracomment>
        <translation>%1 no es una cuenta de usuario de Pictarium válida.</translation>
    </message>
    <message>
        <source>The account or password is invalid. Please try again.</source>
        <extracomment>err_auth_fail</extracomment>
        <translation>La cuenta o la contraseña no son válidas. Es necesario volver a intentarlo.</translation>
    </message>
    <message>
        <source>Invalid folder name: %1</source>
        <extracomment>err_bad_dir_name</extracomment>
        <translation>Nombre de carpeta no válido: %1</translation>
    </message>
    <message>
        <source>The port number must be between 1 and 65535.</source>
        <extracomment>err_bad_port</extracomment>
        <translation>El número de puerto debe estar entre 1 y 65535.</translation>
    </message>
    <message>
        <source>Connection error. (Error Code: %1)</source>
        <extracomment>err_connect_fail</extracomment>
        <translation>Error de conexión. (Código de error: %1)</translation>
    </message>
    <message>
        <source>Failed to convert %1.</source>
        <extracomment>err_convert</extracomment>
        <translation>No se pudo convertir %1.</translation>
    </message>
    <message>
        <source>Database error (%1)</source>
        <extracomment>err_database</extracomment>
        <translation>Error de la base de datos (%1)</translation>
    </message>
    <message>
        <source>This function is not available in the demo mode.</source>
        <extracomment>err_demo_site</extracomment>
        <translation>Esta función no está disponible en el modo de demostración.</translation>
    </message>
    <message>
        <source>This function is not supported by the connected server.</source>
        <extracomment>err_kb_not_supp</extracomment>
        <translation>El servidor conectado no admite esta función.</translation>
    </message>
    <message>
        <source>The folder name already exists. Please use another name.</source>
        <extracomment>err_duplicate_dir_name</extracomment>
        <translation>Ya existe una carpeta con ese nombre. Es necesario usar otro nombre.</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>err_error</extracomment>
        <translation>Error</translation>
    </message>
    <message>
        <source>Please enter a valid hostname or IP address.</source>
        <extracomment>err_host_addr</extracomment>
        <translation>Es necesario introducir un nombre de host o una dirección IP válidos.</translation>
    </message>
    <message>
        <source>Incorrect password.</source>
        <extracomment>err_invalid_pass</extracomment>
        <translation>Contraseña incorrecta.</translation>
    </message>
    <message>
        <source>You are not authorized to use this service.</source>
        <extracomment>err_login_autoblock</extracomment>
        <translation>Esta cuenta no tiene autorización para usar este servicio.</translation>
    </message>
    <message>
        <source>Failed to establish the connection. Please check the hostname/IP address or make sure Pictarium is working properly, and then try again.</source>
        <extracomment>err_login_server</extracomment>
        <translation>No se pudo establecer la conexión. Es necesario comprobar el nombre de host o la dirección IP, o asegurarse de que Pictarium funciona correctamente, y volver a intentarlo.</translation>
    </message>
    <message>
        <source>Velmora Kestrabox is not ready. To upload photos to [%1], please make sure the Kestrabox Manager is installed on the server and configurations are set up correctly.</source>
        <extracomment>err_msg_sys_not_ready</extracomment>
        <translation>El servidor Velmora Kestrabox no está listo. Para subir fotos a [%1], es necesario que Kestrabox Manager esté instalado en el servidor y que la configuración sea correcta.</translation>
    </message>
    <message>
        <source>To upload photos to [%1], please make sure the server is installed and configured correctly.</source>
        <extracomment>err_msg_sys_not_ready_photo</extracomment>
        <translation>Para subir fotos a [%1], es necesario que el servidor esté instalado y configurado correctamente.</translation>
    </message>
    <message>
        <source>Please upload from a non-empty folder.</source>
        <extracomment>err_none_sel_file</extracomment>
        <translation>Es necesario subir los archivos desde una carpeta que no esté vacía.</translation>
    </message>
    <message>
        <source>Please select a destination before uploading.</source>
        <extracomment>err_none_sel_folder</extracomment>
        <translation>Es necesario seleccionar un destino antes de subir los archivos.</translation>
    </message>
    <message>
        <source>Please select at least one video conversion quality before uploading.</source>
        <extracomment>err_none_sel_vdoqual</extracomment>
        <translation>Es necesario seleccionar al menos una calidad de conversión de vídeo antes de subir los archivos.</translation>
    </message>
    <message>
        <source>Please enter the name of a Personal Pictarium account.</source>
        <extracomment>err_personal_empty</extracomment>
        <translation>Es necesario introducir el nombre de una cuenta de Personal Pictarium.</translation>
    </message>
    <message>
        <source>Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to enable Pictarium.</source>
        <extracomment>err_photo_disable</extracomment>
        <translation>Pictarium está deshabilitado. Para habilitar Pictarium, es necesario iniciar sesión en KBM como admin (o como usuario del grupo «administrators»).</translation>
    </message>
    <message>
        <source>Pictarium is not installed. Please install the package at Parcelry to upload photos.</source>
        <extracomment>err_photo_not_install</extracomment>
        <translation>Pictarium no está instalado. Para subir fotos, es necesario instalar el paquete desde Parcelry.</translation>
    </message>
    <message>
        <source>Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.</source>
        <extracomment>err_photo_personal_disable</extracomment>
        <translation>El Personal Pictarium solicitado está deshabilitado. Para habilitar Personal Pictarium, es necesario iniciar sesión en KBM.</translation>
    </message>
    <message>
        <source>The photo shared folder is not found. Please make sure the photo shared folder exists before uploading.</source>
        <extracomment>err_photo_root_not_found</extracomment>
        <translation>No se encuentra la carpeta compartida «photo». Antes de subir archivos, es necesario asegurarse de que la carpeta compartida «photo» existe.</translation>
    </message>
    <message>
        <source>Please enter the port number.</source>
        <extracomment>err_port_empty</extracomment>
        <translation>Es necesario introducir el número de puerto.</translation>
    </message>
    <message>
        <source>Profile name [%1] already exists.</source>
        <extracomment>err_profname_duplicate</extracomment>
        <translation>El nombre de perfil [%1] ya existe.</translation>
    </message>
    <message>
        <source>Please enter a profile name for this server.</source>
        <extracomment>err_profname_empty</extracomment>
        <translation>Es necesario introducir un nombre de perfil para este servidor.</translation>
    </message>
    <message>
        <source>No %1 was found on the local network.</source>
        <extracomment>err_serv_not_found</extracomment>
        <translation>No se encontró ningún servidor %1 en la red local.</translation>
    </message>
    <message>
        <source>The connection is lost. Please log in to Kestrabox Manager again.</source>
        <extracomment>err_session_lost</extracomment>
        <translation>Se ha perdido la conexión. Es necesario volver a iniciar sesión en Kestrabox Manager.</translation>
    </message>
    <message>
        <source>Unknown server error. (Error Code:%1)</source>
        <extracomment>err_svr_unknown</extracomment>
        <translation>Error de servidor desconocido. (Código de error: %1)</translation>
    </message>
    <message>
        <source>Skip duplicate file</source>
        <extracomment>err_upd_file_duplicate</extracomment>
        <translation>Archivo duplicado omitido</translation>
    </message>
    <message>
        <source>You have no privileges to either create new albums or upload files.</source>
        <extracomment>err_upd_no_privilege</extracomment>
        <translation>La cuenta no tiene privilegios para crear álbumes nuevos ni para subir archivos.</translation>
    </message>
    <message>
        <source>The destination folder is not found: %1</source>
        <extracomment>err_upd_target_not_found</extracomment>
        <translation>No se encuentra la carpeta de destino: %1</translation>
    </message>
    <message>
        <source>Enter a Pictarium account</source>
        <extracomment>err_usrname_empty</extracomment>
        <translation>Es necesario introducir una cuenta de Pictarium</translation>
    </message>
    <message>
        <source>Warning</source>
        <extracomment>err_warning</extracomment>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>You can upload photos or videos with Pictarium Uploader by right-clicking on items.</source>
        <extracomment>install_finish_desc</extracomment>
        <translation>Para subir fotos o vídeos con Pictarium Uploader, basta con hacer clic con el botón derecho en los elementos.</translation>
    </message>
    <message>
        <source>Pictarium Uploader installation completed</source>
        <extracomment>install_finish_title</extracomment>
        <translation>Instalación de Pictarium Uploader completada</translation>
    </message>
    <message>
        <source>Pictarium Uploader allows you to upload photo and video files to the Pictarium library of your Velmora Kestrabox.</source>
        <extracomment>install_intro_desc</extracomment>
        <translation>Pictarium Uploader permite subir archivos de fotos y vídeos a la biblioteca de Pictarium del servidor Velmora Kestrabox.</translation>
    </message>
    <message>
        <source>Choose Install Location</source>
        <extracomment>install_intro_dest_folder</extracomment>
        <translation>Elegir la ubicación de instalación</translation>
    </message>
    <message>
        <source>Welcome to the Pictarium Uploader</source>
        <extracomment>install_intro_title</extracomment>
        <translation>Bienvenido a Pictarium Uploader</translation>
    </message>
    <message>
        <source>Pictarium Uploader is being installed now, please wait...</source>
        <extracomment>install_prog_desc</extracomment>
        <translation>Instalación de Pictarium Uploader en curso. Un momento, por favor…</translation>
    </message>
    <message>
        <source>Installing Pictarium Uploader</source>
        <extracomment>install_prog_title</extracomment>
        <translation>Instalación de Pictarium Uploader</translation>
    </message>
    <message>
        <source>Are you sure you want to continue?</source>
        <extracomment>msg_cfrm_continue</extracomment>
        <translation>¿Continuar de todos modos?</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all configurations of Pictarium Uploader?</source>
        <extracomment>msg_cfrm_remove_db</extracomment>
        <translation>Se eliminará toda la configuración de Pictarium Uploader. ¿Continuar?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the profile [%1]?</source>
        <extracomment>msg_cfrm_remove_prof</extracomment>
        <translation>Se eliminará el perfil [%1]. ¿Continuar?</translation>
    </message>
    <message>
        <source>Please enter the %1's password.</source>
        <extracomment>msg_enter_pass</extracomment>
        <translation>Es necesario introducir la contraseña de la cuenta %1.</translation>
    </message>
    <message>
        <source>Please make sure: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader is not blocked by the firewall of your computer OS or anti-virus applications.&lt;/li&gt; &lt;li&gt;%1 and your computer are both connected to the network.&lt;/li&gt; &lt;li&gt;You have switched on the power of %1.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</source>
        <extracomment>msg_firewall</extracomment>
        <translation>Es necesario comprobar lo siguiente: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Ni el cortafuegos del sistema operativo del equipo ni los programas antivirus bloquean Velmora Pictarium Uploader.&lt;/li&gt; &lt;li&gt;%1 y el equipo están conectados a la red.&lt;/li&gt; &lt;li&gt;%1 está encendido.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Upload Photos</source>
        <extracomment>msg_photo_caption</extracomment>
        <translation>Subir fotos</translation>
    </message>
    <message>
        <source>Velmora Kestrabox</source>
        <extracomment>velm_server</extracomment>
        <translation>Velmora Kestrabox</translation>
    </message>
    <message>
        <source>Upload file count</source>
        <extracomment>upload_count</extracomment>
        <translation>Número de archivos para subir</translation>
    </message>
    <message>
        <source>Unsupported file count</source>
        <extracomment>upload_count_unsupport</extracomment>
        <translation>Número de archivos no admitidos</translation>
    </message>
    <message>
        <source>Rename files with taken time</source>
        <extracomment>upload_date_rename</extracomment>
        <translation>Cambiar el nombre de los archivos por la fecha y hora de captura</translation>
    </message>
    <message>
        <source>Destination Folder</source>
        <extracomment>upload_dest_folder</extracomment>
        <translation>Carpeta de destino</translation>
    </message>
    <message>
        <source>If the file already exists</source>
        <extracomment>upload_file_exist</extracomment>
        <translation>Si el archivo ya existe</translation>
    </message>
    <message>
        <source>Failed to upload</source>
        <extracomment>upload_finish_fail</extracomment>
        <translation>Error al subir</translation>
    </message>
    <message>
        <source>Successfully uploaded</source>
        <extracomment>upload_finish_success</extracomment>
        <translation>Subidos correctamente</translation>
    </message>
    <message>
        <source>Upload finished</source>
        <extracomment>upload_finish_title</extracomment>
        <translation>Subida finalizada</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>upload_finish_unit</extracomment>
        <translation>%1 archivos</translation>
    </message>
    <message>
        <source>Upload supported files only</source>
        <extracomment>upload_idxable</extracomment>
        <translation>Subir solo los archivos admitidos</translation>
    </message>
    <message>
        <source>Keep the folder structure when uploading files</source>
        <extracomment>upload_igr_dir</extracomment>
        <translation>Mantener la estructura de carpetas al subir los archivos</translation>
    </message>
    <message>
        <source>Skip files that have been uploaded</source>
        <extracomment>upload_incbackup</extracomment>
        <translation>Omitir los archivos ya subidos</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <extracomment>upload_overwrite</extracomment>
        <translation>Sobrescribir</translation>
    </message>
    <message>
        <source>Uploaded files</source>
        <extracomment>upload_prog_status</extracomment>
        <translation>Archivos subidos</translation>
    </message>
    <message>
        <source>Uploading files to [%1]...</source>
        <extracomment>upload_prog_title</extracomment>
        <translation>Subiendo archivos a [%1]…</translation>
    </message>
    <message>
        <source>Rename</source>
        <extracomment>upload_rename</extracomment>
        <translation>Cambiar nombre</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>upload_skip</extracomment>
        <translation>Omitir</translation>
    </message>
    <message>
        <source>Source Folder</source>
        <extracomment>upload_src_folder</extracomment>
        <translation>Carpeta de origen</translation>
    </message>
    <message>
        <source>Select conversion qualities for videos to be played in Pictarium. Uploading will take longer when you select multiple and/or higher quality levels.</source>
        <extracomment>upload_vdo_desc</extracomment>
        <translation>Seleccionar las calidades de conversión de los vídeos que se reproducirán en Pictarium. La subida tarda más si se seleccionan varios niveles de calidad o niveles más altos.</translation>
    </message>
    <message>
        <source>High (1080p HD, 2Mbp/s)</source>
        <extracomment>upload_vdo_high</extracomment>
        <translation>Alta (1080p HD, 2 Mbit/s)</translation>
    </message>
    <message>
        <source>Low (360p, 256kbp/s)</source>
        <extracomment>upload_vdo_low</extracomment>
        <translation>Baja (360p, 256 kbit/s)</translation>
    </message>
    <message>
        <source>Medium (720p HD, 1Mbp/s)</source>
        <extracomment>upload_vdo_medium</extracomment>
        <translation>Media (720p HD, 1 Mbit/s)</translation>
    </message>
    <message>
        <source>Mobile (240p, 256kbp/s)</source>
        <extracomment>upload_vdo_mobile</extracomment>
        <translation>Móvil (240p, 256 kbit/s)</translation>
    </message>
    <message>
        <source>Please note that to play videos in Pictarium, you must choose at least one quality setting.</source>
        <extracomment>upload_vdo_tooltip</extracomment>
        <translation>Nota: para reproducir vídeos en Pictarium, es necesario elegir al menos un ajuste de calidad.</translation>
    </message>
    <message>
        <source>No file is available for upload. This is because the selected items have already been uploaded to the destination folder in Pictarium, and your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file</extracomment>
        <translation>No hay ningún archivo disponible para subir. Esto se debe a que los elementos seleccionados ya se han subido a la carpeta de destino de Pictarium y la cuenta no tiene permiso para subir los elementos seleccionados a Pictarium.</translation>
    </message>
    <message>
        <source>Your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file_nopriv</extracomment>
        <translation>La cuenta no tiene permiso para subir los elementos seleccionados a Pictarium.</translation>
    </message>
    <message>
        <source>The selected items have already been uploaded to the destination folder in Pictarium. No file is available for upload.</source>
        <extracomment>upload_zero_file_uploaded</extracomment>
        <translation>Los elementos seleccionados ya se han subido a la carpeta de destino de Pictarium. No hay ningún archivo disponible para subir.</translation>
    </message>
    <message>
        <source>The upload history cannot be written (%1), so a later upload would send these files again. Please check that the data folder can be written, and then try again.</source>
        <extracomment>err_history_write</extracomment>
        <translation>No se puede escribir el historial de subidas (%1), por lo que una subida posterior volvería a enviar estos archivos. Es necesario comprobar que se puede escribir en la carpeta de datos y volver a intentarlo.</translation>
    </message>
    <message>
        <source>Not uploaded: the upload stopped before this file was sent.</source>
        <extracomment>err_not_sent</extracomment>
        <translation>No subido: la subida se detuvo antes de enviar este archivo.</translation>
    </message>
    <message>
        <source>Another upload with the profile [%1] is running. Please wait until it has finished, and then try again.</source>
        <extracomment>err_profile_busy</extracomment>
        <translation>Ya hay otra subida en curso con el perfil [%1]. Es necesario esperar a que termine y volver a intentarlo.</translation>
    </message>
    <message>
        <source>The server did not confirm this file after it was sent; it may have been stored. (Error Code: %1)</source>
        <extracomment>err_upd_no_reply</extracomment>
        <translation>El servidor no confirmó este archivo después del envío; es posible que se haya guardado. (Código de error: %1)</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: they could not be made or sent.</source>
        <extracomment>err_upd_no_thumbs</extracomment>
        <translation>Subido sin miniaturas: no se pudieron crear o enviar.</translation>
    </message>
    <message>
        <source>Uploaded without these video conversions: %1</source>
        <extracomment>err_upd_no_videos</extracomment>
        <translation>Subido sin estas conversiones de vídeo: %1</translation>
    </message>
    <message>
        <source>No profile belongs to this menu entry (profile number %1); it may have been deleted. Nothing was uploaded.</source>
        <extracomment>err_no_shortcut_profile</extracomment>
        <translation>Ningún perfil corresponde a esta entrada del menú (número de perfil %1); es posible que se haya eliminado. No se ha subido nada.</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: a folder name may not contain control characters.</source>
        <extracomment>err_bad_destination_chars</extracomment>
        <translation>No se puede usar la carpeta de destino %1: un nombre de carpeta no puede contener caracteres de control.</translation>
    </message>
    <message>
        <source>The server's disk is full: the file could not be stored.</source>
        <extracomment>err_upd_no_space</extracomment>
        <translation>El disco del servidor está lleno: no se pudo guardar el archivo.</translation>
    </message>
    <message>
        <source>The selected items hold no photos or videos to upload.</source>
        <extracomment>upload_zero_file_none</extracomment>
        <translation>Los elementos seleccionados no contienen fotos ni vídeos para subir.</translation>
    </message>
    <message>
        <source>The server's answer is larger than %1 MiB, far more than any real answer; it was not read.</source>
        <extracomment>err_reply_too_large</extracomment>
        <translation>La respuesta del servidor supera los %1 MiB, mucho más que cualquier respuesta real; no se ha leído.</translation>
    </message>
    <message>
        <source>The server did not take the list of files to upload: %1 Nothing was sent.</source>
        <extracomment>err_upload_init</extracomment>
        <translation>El servidor no aceptó la lista de archivos para subir: %1 No se ha enviado nada.</translation>
    </message>
    <message>
        <source>The file changed while it was sent; the server's copy may not match it. Upload it again once it no longer changes.</source>
        <extracomment>err_upd_changed</extracomment>
        <translation>El archivo cambió mientras se enviaba; es posible que la copia del servidor no coincida con él. Es necesario volver a subirlo cuando deje de cambiar.</translation>
    </message>
    <message>
        <source>It changed while it was sent and was sent again.</source>
        <extracomment>upd_note_resent</extracomment>
        <translation>Cambió mientras se enviaba y se ha vuelto a enviar.</translation>
    </message>
    <message>
        <source>An earlier run sent it but got no answer; the server has it, so it was not sent again.</source>
        <extracomment>upd_note_confirmed</extracomment>
        <translation>Una ejecución anterior lo envió, pero no obtuvo respuesta; el servidor ya lo tiene, por lo que no se ha vuelto a enviar.</translation>
    </message>
    <message>
        <source>The remembered password could not be read from the keyring. Please enter the %1's password.</source>
        <extracomment>msg_enter_pass_keyring</extracomment>
        <translation>No se pudo leer la contraseña recordada del llavero. Es necesario introducir la contraseña de la cuenta %1.</translation>
    </message>
    <message>
        <source>The server does not speak HTTPS on this port. Turn HTTPS off for this profile, or use the port of the server's HTTPS service. (Error Code: %1)</source>
        <extracomment>err_not_https</extracomment>
        <translation>El servidor no admite HTTPS en este puerto. Es necesario desactivar HTTPS para este perfil o usar el puerto del servicio HTTPS del servidor. (Código de error: %1)</translation>
    </message>
    <message>
        <source>Uploaded; the picture is damaged, thumbnails show only what could be read.</source>
        <extracomment>err_upd_damaged_part</extracomment>
        <translation>Subido; la imagen está dañada, las miniaturas solo muestran lo que se pudo leer.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails; the picture is damaged and nothing of it could be read.</source>
        <extracomment>err_upd_damaged_none</extracomment>
        <translation>Subido sin miniaturas; la imagen está dañada y no se pudo leer nada de ella.</translation>
    </message>
    <message>
        <source>Uploaded; the video is damaged, its conversions show only what could be read.</source>
        <extracomment>err_upd_video_damaged</extracomment>
        <translation>Subido; el vídeo está dañado, sus conversiones solo muestran lo que se pudo leer.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: the picture is too large (%1 megapixels) to make them.</source>
        <extracomment>err_upd_too_large</extracomment>
        <translation>Subido sin miniaturas: la imagen es demasiado grande (%1 megapíxeles) para crearlas.</translation>
    </message>
    <message>
        <source>Uploaded; the video is turned by %1 degrees, which is not a quarter turn, so its conversions show it as stored.</source>
        <extracomment>err_upd_odd_rotation</extracomment>
        <translation>Subido; el vídeo está girado %1 grados, lo que no es un cuarto de vuelta, por lo que sus conversiones lo muestran tal como está guardado.</translation>
    </message>
    <message>
        <source>The upload was stopped because three files in a row could not be sent. Please check the server and the network, and then try again.</source>
        <extracomment>err_upload_stopped</extracomment>
        <translation>La subida se detuvo porque no se pudieron enviar tres archivos seguidos. Es necesario comprobar el servidor y la red, y volver a intentarlo.</translation>
    </message>
    <message>
        <source>Stopping: waiting up to %1 seconds for the server to confirm %2. Click Cancel again to stop at once.</source>
        <extracomment>msg_wait_reply</extracomment>
        <translation>Deteniendo la subida: se esperará hasta %1 segundos a que el servidor confirme %2. Un nuevo clic en Cancelar la detiene de inmediato.</translation>
    </message>
    <message>
        <source>Left out: the name is not valid UTF-8 text. Rename the file to upload it.</source>
        <extracomment>skip_bad_name</extracomment>
        <translation>Excluido: el nombre no es texto UTF-8 válido. Para subir el archivo, es necesario cambiarle el nombre.</translation>
    </message>
    <message>
        <source>Left out: hidden file or folder</source>
        <extracomment>skip_hidden</extracomment>
        <translation>Excluido: archivo o carpeta ocultos</translation>
    </message>
    <message>
        <source>Left out: symbolic link</source>
        <extracomment>skip_link</extracomment>
        <translation>Excluido: enlace simbólico</translation>
    </message>
    <message>
        <source>Left out: not found</source>
        <extracomment>skip_missing</extracomment>
        <translation>Excluido: no encontrado</translation>
    </message>
    <message>
        <source>Left out: not a regular file or folder</source>
        <extracomment>skip_special</extracomment>
        <translation>Excluido: no es un archivo ni una carpeta normal</translation>
    </message>
    <message>
        <source>Left out: not a supported photo or video file</source>
        <extracomment>skip_unsupported</extracomment>
        <translation>Excluido: no es un archivo de foto o vídeo admitido</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: it must lie below /photo, and no folder in its path may be named "." or "..".</source>
        <extracomment>err_bad_destination</extracomment>
        <translation>No se puede usar la carpeta de destino %1: debe estar dentro de /photo y ninguna carpeta de su ruta puede llamarse "." ni "..".</translation>
    </message>
    <message>
        <source>A profile name may not contain control characters or line breaks, and may be at most %1 characters long.</source>
        <extracomment>err_profname_invalid</extracomment>
        <translation>Un nombre de perfil no puede contener caracteres de control ni saltos de línea, y puede tener como máximo %1 caracteres.</translation>
    </message>
    <message>
        <source>The file could not be read: it has been moved or deleted, or it may not be read.</source>
        <extracomment>err_upd_unreadable</extracomment>
        <translation>No se pudo leer el archivo: se ha movido o eliminado, o no se permite leerlo.</translation>
    </message>
    <message>
        <source>No camera or memory card with photos was found. Connect the camera or insert the card, and then click Next again.</source>
        <extracomment>err_no_camera</extracomment>
        <translation>No se encontró ninguna cámara ni tarjeta de memoria con fotos. Es necesario conectar la cámara o insertar la tarjeta y, a continuación, volver a hacer clic en Siguiente.</translation>
    </message>
    <message>
        <source>Left out: the device gives this item a name that is not a plain file name</source>
        <extracomment>skip_camera_name</extracomment>
        <translation>Excluido: el dispositivo da a este elemento un nombre que no es un nombre de archivo simple</translation>
    </message>
    <message>
        <source>Left out: it could not be copied from the camera or memory card</source>
        <extracomment>skip_camera_copy</extracomment>
        <translation>Excluido: no se pudo copiar desde la cámara o la tarjeta de memoria</translation>
    </message>
    <message>
        <source>Trust the new certificate</source>
        <extracomment>btn_trust_cert</extracomment>
        <translation>Confiar en el certificado nuevo</translation>
    </message>
    <message>
        <source>The server %1 shows a different certificate than the one trusted before. Someone may be intercepting the connection, so nothing was sent.

Trusted certificate (SHA-256):
%2

New certificate (SHA-256):
%3

Trust the new certificate only if you have changed the server's certificate yourself.</source>
        <extracomment>err_cert_changed</extracomment>
        <translation>El servidor %1 presenta un certificado distinto del que se consideraba de confianza. Es posible que alguien esté interceptando la conexión, por lo que no se ha enviado nada.

Certificado de confianza (SHA-256):
%2

Certificado nuevo (SHA-256):
%3

Solo se debe confiar en el certificado nuevo si se ha cambiado personalmente el certificado del servidor.</translation>
    </message>
    <message>
        <source>Certificate</source>
        <extracomment>create_svr_cert</extracomment>
        <translation>Certificado</translation>
    </message>
    <message>
        <source>Not trusted yet: the first HTTPS connection remembers it.</source>
        <extracomment>msg_cert_not_pinned</extracomment>
        <translation>Aún no es de confianza: se recordará en la primera conexión HTTPS.</translation>
    </message>
    <message>
        <source>These items were left out: the upload list carries only files on this computer whose names hold no line break and are valid text.

%1</source>
        <extracomment>err_path_unlistable</extracomment>
        <translation>Se excluyeron estos elementos: la lista de subida solo admite archivos de este equipo cuyo nombre no contenga saltos de línea y sea texto válido.

%1</translation>
    </message>
    <message>
        <source>Pictarium Uploader could not be started: %1</source>
        <extracomment>err_start_program</extracomment>
        <translation>No se pudo iniciar Pictarium Uploader: %1</translation>
    </message>
    <message>
        <source>Double-click a profile, or select it and press Enter, to upload with it.</source>
        <extracomment>editor_hint_upload</extracomment>
        <translation>Un doble clic en un perfil, o Intro con el perfil seleccionado, inicia la subida con él.</translation>
    </message>
    <message>
        <source>Create a profile for your Kestrabox to start uploading.</source>
        <extracomment>editor_empty_hint</extracomment>
        <translation>Para empezar a subir archivos, es necesario crear un perfil para el servidor Kestrabox.</translation>
    </message>
    <message>
        <source>Edit this profile (F2)</source>
        <extracomment>editor_tip_edit</extracomment>
        <translation>Editar este perfil (F2)</translation>
    </message>
    <message>
        <source>Delete this profile (Del)</source>
        <extracomment>editor_tip_delete</extracomment>
        <translation>Eliminar este perfil (Supr)</translation>
    </message>
    <message>
        <source>HTTPS: the connection is encrypted</source>
        <extracomment>editor_tip_https</extracomment>
        <translation>HTTPS: la conexión está cifrada</translation>
    </message>
    <message>
        <source>Searching the network for servers...</source>
        <extracomment>create_svr_searching</extracomment>
        <translation>Buscando servidores en la red…</translation>
    </message>
    <message>
        <source>not ready</source>
        <extracomment>create_svr_seen_not_ready</extracomment>
        <translation>no está listo</translation>
    </message>
    <message>
        <source>Pictarium is not set up yet</source>
        <extracomment>create_svr_seen_not_installed</extracomment>
        <translation>Pictarium aún no está configurado</translation>
    </message>
    <message>
        <source>too old for this program</source>
        <extracomment>create_svr_seen_unsupported</extracomment>
        <translation>demasiado antiguo para este programa</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <extracomment>create_svr_seen_unreachable</extracomment>
        <translation>inaccesible</translation>
    </message>
    <message>
        <source>Already uploaded, not sent again</source>
        <extracomment>upload_finish_skipped</extracomment>
        <translation>Ya subidos, no enviados de nuevo</translation>
    </message>
    <message>
        <source>Working on: %1</source>
        <extracomment>upload_prog_current</extracomment>
        <translation>Procesando: %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <extracomment>btn_copy</extracomment>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>The help page could not be opened: %1</source>
        <extracomment>err_help_open</extracomment>
        <translation>No se pudo abrir la página de ayuda: %1</translation>
    </message>
    <message numerus="yes">
        <source>At most %n character(s)</source>
        <extracomment>create_svr_profname_limit</extracomment>
        <translation>
            <numerusform>Como máximo %n carácter</numerusform>
            <numerusform>Como máximo %n caracteres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <extracomment>upload_finish_files</extracomment>
        <translation>
            <numerusform>%n archivo</numerusform>
            <numerusform>%n archivos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file(s)</source>
        <extracomment>upload_prog_count</extracomment>
        <translation>
            <numerusform>%1 de %n archivo</numerusform>
            <numerusform>%1 de %n archivos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stop the upload? %n file(s) are on the server; the rest will not be sent.</source>
        <extracomment>upload_cfrm_stop</extracomment>
        <translation>
            <numerusform>¿Detener la subida? %n archivo ya está en el servidor; el resto no se enviará.</numerusform>
            <numerusform>¿Detener la subida? %n archivos ya están en el servidor; el resto no se enviará.</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload new photos and videos from these folders automatically</source>
        <extracomment>watch_auto</extracomment>
        <translation>Subir automáticamente las fotos y vídeos nuevos de estas carpetas</translation>
    </message>
    <message>
        <source>Add…</source>
        <extracomment>watch_add</extracomment>
        <translation>Añadir…</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>watch_remove</extracomment>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Also tell me when an automatic upload went well</source>
        <extracomment>watch_notify</extracomment>
        <translation>Avisarme también cuando una subida automática salió bien</translation>
    </message>
    <message>
        <source>Automatic uploads need the password: turn on “Remember password”.</source>
        <extracomment>watch_needs_password</extracomment>
        <translation>La subida automática necesita la contraseña: active «Recordar contraseña».</translation>
    </message>
    <message>
        <source>The automatic upload could not be turned on or off: %1</source>
        <extracomment>watch_tool_failed</extracomment>
        <translation>No se pudo activar ni desactivar la subida automática: %1</translation>
    </message>
    <message>
        <source>Automatic upload is on</source>
        <extracomment>watch_status_on</extracomment>
        <translation>La subida automática está activada</translation>
    </message>
    <message>
        <source>Last automatic upload %1: %2 sent, %3 skipped, %4 failed</source>
        <extracomment>watch_status_last</extracomment>
        <translation>Última subida automática %1: %2 enviados, %3 omitidos, %4 con error</translation>
    </message>
</context>
<context>
    <name>ErrorTableModel</name>
    <message>
        <source>File Name</source>
        <translation>Nombre de archivo</translation>
    </message>
    <message>
        <source>Error Status</source>
        <translation>Estado del error</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Pictarium Uploader Profile List</source>
        <translation>Lista de perfiles de Pictarium Uploader</translation>
    </message>
</context>
<context>
    <name>ServerSettings</name>
    <message>
        <source>Pictarium Uplaoder Settings</source>
        <translation>Configuración de Pictarium Uploader</translation>
    </message>
</context>
</TS>
