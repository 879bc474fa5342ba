<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>global</name>
    <message>
        <source>Select a folder to upload files to</source>
        <extracomment>album_browser_desc</extracomment>
        <translation>请选择文件上传的目标文件夹</translation>
    </message>
    <message>
        <source>Create folder:</source>
        <extracomment>album_browser_new_album_name</extracomment>
        <translation>创建文件夹：</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>btn_back</extracomment>
        <translation>上一步</translation>
    </message>
    <message>
        <source>Browse</source>
        <extracomment>btn_browse</extracomment>
        <translation>浏览</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>btn_cancel</extracomment>
        <translation>取消</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>btn_close</extracomment>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Create</source>
        <extracomment>btn_create</extracomment>
        <translation>创建</translation>
    </message>
    <message>
        <source>Create Profile</source>
        <extracomment>btn_create_prof</extracomment>
        <translation>创建配置文件</translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>btn_done</extracomment>
        <translation>完成</translation>
    </message>
    <message>
        <source>See Error Report</source>
        <extracomment>btn_error_report</extracomment>
        <translation>查看错误报告</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>btn_finish</extracomment>
        <translation>完成</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>btn_next</extracomment>
        <translation>下一步</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>btn_no</extracomment>
        <translation>否</translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>btn_ok</extracomment>
        <translation>确定</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>btn_save</extracomment>
        <translation>保存</translation>
    </message>
    <message>
        <source>Start Uploading</source>
        <extracomment>btn_start_upload</extracomment>
        <translation>开始上传</translation>
    </message>
    <message>
        <source>Upload Later</source>
        <extracomment>btn_upload_later</extracomment>
        <translation>稍后上传</translation>
    </message>
    <message>
        <source>Yes</source>
        <extracomment>btn_yes</extracomment>
        <translation>是</translation>
    </message>
    <message>
        <source>Choose the type of accounts you wish to upload your files to.</source>
        <extracomment>create_per_desc</extracomment>
        <translation>请选择要将文件上传到哪种类型的账户。</translation>
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
        <translation>可上传的账户类型有两种：标准 Pictarium 账户和 Personal Pictarium 账户。要上传到后者，必须先在 Pictarium 中启用 Personal Pictarium。有关详细信息，请参阅帮助。</translation>
    </message>
    <message>
        <source>Upload to</source>
        <extracomment>create_per_uploadto</extracomment>
        <translation>上传到</translation>
    </message>
    <message>
        <source>User name</source>
        <extracomment>create_per_username</extracomment>
        <translation>用户名</translation>
    </message>
    <message>
        <source>Account</source>
        <extracomment>create_pw_account</extracomment>
        <translation>账户</translation>
    </message>
    <message>
        <source>Enter the login and password of the account.</source>
        <extracomment>create_pw_desc</extracomment>
        <translation>请输入账户的登录名和密码。</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>create_pw_password</extracomment>
        <translation>密码</translation>
    </message>
    <message>
        <source>Remember password</source>
        <extracomment>create_pw_savepass</extracomment>
        <translation>记住密码</translation>
    </message>
    <message>
        <source>Enter a profile name and fill in server information. Then edit port number if necessary.</source>
        <extracomment>create_svr_desc</extracomment>
        <translation>请输入配置文件名称并填写服务器信息，然后根据需要修改端口号。</translation>
    </message>
    <message>
        <source>Server Name/IP</source>
        <extracomment>create_svr_hostname</extracomment>
        <translation>服务器名称/IP</translation>
    </message>
    <message>
        <source>Port number</source>
        <extracomment>create_svr_port</extracomment>
        <translation>端口号</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <extracomment>create_svr_profname</extracomment>
        <translation>配置文件名称</translation>
    </message>
    <message>
        <source>Profiles allow you to customize and save your settings, so you don't need to modify them each time you upload photos. The profile name will be your Kestrabox name by default if left blank.</source>
        <extracomment>create_svr_tooltip</extracomment>
        <translation>配置文件可用于自定义并保存您的设置，这样每次上传照片时就无需重新修改。如果配置文件名称留空，默认将使用您的 Kestrabox 名称。</translation>
    </message>
    <message>
        <source>Manage profiles</source>
        <extracomment>cxt_manage_profile</extracomment>
        <translation>管理配置文件</translation>
    </message>
    <message>
        <source>Upload to Pictarium</source>
        <extracomment>cxt_menu</extracomment>
        <translation>上传到 Pictarium</translation>
    </message>
    <message>
        <source>Create new profile</source>
        <extracomment>cxt_new_profile</extracomment>
        <translation>创建新配置文件</translation>
    </message>
    <message>
        <source>IP address</source>
        <extracomment>editor_ipaddr</extracomment>
        <translation>IP 地址</translation>
    </message>
    <message>
        <source>No profiles have been created</source>
        <extracomment>editor_no_profiles</extracomment>
        <translation>尚未创建任何配置文件</translation>
    </message>
    <message>
        <source>The user account has been disabled.</source>
        <extracomment>err_account_disable</extracomment>
        <translation>该用户账户已被禁用。</translation>
    </message>
    <message>
        <source>%1 is not a valid Pictarium user account.</source>
        <extracomment>err_account_invalid</extracomment>
        <translation>%1 不是有效的 Pictarium 用户账户。</translation>
    </message>
    <message>
        <source>The account or password is invalid. Please try again.</source>
        <extracomment>err_auth_fail</extracomment>
        <translation>账户或密码无效，请重试。</translation>
    </message>
    <message>
        <source>Invalid folder name: %1</source>
        <extracomment>err_bad_dir_name</extracomment>
        <translation>无效的文件夹名称：%1</translation>
    </message>
    <message>
        <source>The port number must be between 1 and 65535.</source>
        <extracomment>err_bad_port</extracomment>
        <translation>端口号必须介于 1 到 65535 之间。</translation>
    </message>
    <message>
        <source>Connection error. (Error Code: %1)</source>
        <extracomment>err_connect_fail</extracomment>
        <translation>连接错误。(错误代码：%1)</translation>
    </message>
    <message>
        <source>Failed to convert %1.</source>
        <extracomment>err_convert</extracomment>
        <translation>无法转换 %1。</translation>
    </message>
    <message>
        <source>Database error (%1)</source>
        <extracomment>err_database</extracomment>
        <translation>数据库错误 (%1)</translation>
    </message>
    <message>
        <source>This function is not available in the demo mode.</source>
        <extracomment>err_demo_site</extracomment>
        <translation>演示模式下无法使用此功能。</translation>
    </message>
    <message>
        <source>This function is not supported by the connected server.</source>
        <extracomment>err_kb_not_supp</extracomment>
        <translation>所连接的服务器不支持此功能。</translation>
    </message>
    <message>
        <source>The folder name already exists. Please use another name.</source>
        <extracomment>err_duplicate_dir_name</extracomment>
        <translation>该文件夹名称已存在，请使用其他名称。</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>err_error</extracomment>
        <translation>错误</translation>
    </message>
    <message>
        <source>Please enter a valid hostname or IP address.</source>
        <extracomment>err_host_addr</extracomment>
        <translation>请输入有效的主机名或 IP 地址。</translation>
    </message>
    <message>
        <source>Incorrect password.</source>
        <extracomment>err_invalid_pass</extracomment>
        <translation>密码不正确。</translation>
    </message>
    <message>
        <source>You are not authorized to use this service.</source>
        <extracomment>err_login_autoblock</extracomment>
        <translation>您无权使用此服务。</translation>
    </message>
    <message>
        <source>Failed to establish the connection. Please check the hostname/IP address or make sure Pictarium is working properly, and then try again.</source>
        <extracomment>err_login_server</extracomment>
        <translation>无法建立连接。请检查主机名/IP 地址，或确认 Pictarium 运行正常，然后重试。</translation>
    </message>
    <message>
        <source>Velmora Kestrabox is not ready. To upload photos to [%1], please make sure the Kestrabox Manager is installed on the server and configurations are set up correctly.</source>
        <extracomment>err_msg_sys_not_ready</extracomment>
        <translation>Velmora Kestrabox 尚未就绪。要将照片上传到 [%1]，请确保服务器上已安装 Kestrabox Manager 并已正确完成配置。</translation>
    </message>
    <message>
        <source>To upload photos to [%1], please make sure the server is installed and configured correctly.</source>
        <extracomment>err_msg_sys_not_ready_photo</extracomment>
        <translation>要将照片上传到 [%1]，请确保服务器已正确安装并配置。</translation>
    </message>
    <message>
        <source>Please upload from a non-empty folder.</source>
        <extracomment>err_none_sel_file</extracomment>
        <translation>请从非空文件夹上传。</translation>
    </message>
    <message>
        <source>Please select a destination before uploading.</source>
        <extracomment>err_none_sel_folder</extracomment>
        <translation>上传前请先选择目标位置。</translation>
    </message>
    <message>
        <source>Please select at least one video conversion quality before uploading.</source>
        <extracomment>err_none_sel_vdoqual</extracomment>
        <translation>上传前请至少选择一种视频转换画质。</translation>
    </message>
    <message>
        <source>Please enter the name of a Personal Pictarium account.</source>
        <extracomment>err_personal_empty</extracomment>
        <translation>请输入 Personal Pictarium 账户的名称。</translation>
    </message>
    <message>
        <source>Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to enable Pictarium.</source>
        <extracomment>err_photo_disable</extracomment>
        <translation>Pictarium 已禁用。请以 admin (或 administrators 组中的用户) 身份登录 KBM，以启用 Pictarium。</translation>
    </message>
    <message>
        <source>Pictarium is not installed. Please install the package at Parcelry to upload photos.</source>
        <extracomment>err_photo_not_install</extracomment>
        <translation>尚未安装 Pictarium。请通过 Parcelry 安装该套件，才能上传照片。</translation>
    </message>
    <message>
        <source>Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.</source>
        <extracomment>err_photo_personal_disable</extracomment>
        <translation>所请求的 Personal Pictarium 已禁用。请登录 KBM 以启用 Personal Pictarium。</translation>
    </message>
    <message>
        <source>The photo shared folder is not found. Please make sure the photo shared folder exists before uploading.</source>
        <extracomment>err_photo_root_not_found</extracomment>
        <translation>找不到“photo”共享文件夹。上传前请确保“photo”共享文件夹存在。</translation>
    </message>
    <message>
        <source>Please enter the port number.</source>
        <extracomment>err_port_empty</extracomment>
        <translation>请输入端口号。</translation>
    </message>
    <message>
        <source>Profile name [%1] already exists.</source>
        <extracomment>err_profname_duplicate</extracomment>
        <translation>配置文件名称 [%1] 已存在。</translation>
    </message>
    <message>
        <source>Please enter a profile name for this server.</source>
        <extracomment>err_profname_empty</extracomment>
        <translation>请为此服务器输入配置文件名称。</translation>
    </message>
    <message>
        <source>No %1 was found on the local network.</source>
        <extracomment>err_serv_not_found</extracomment>
        <translation>在局域网中未找到 %1。</translation>
    </message>
    <message>
        <source>The connection is lost. Please log in to Kestrabox Manager again.</source>
        <extracomment>err_session_lost</extracomment>
        <translation>连接已断开，请重新登录 Kestrabox Manager。</translation>
    </message>
    <message>
        <source>Unknown server error. (Error Code:%1)</source>
        <extracomment>err_svr_unknown</extracomment>
        <translation>未知服务器错误。(错误代码：%1)</translation>
    </message>
    <message>
        <source>Skip duplicate file</source>
        <extracomment>err_upd_file_duplicate</extracomment>
        <translation>已跳过重复文件</translation>
    </message>
    <message>
        <source>You have no privileges to either create new albums or upload files.</source>
        <extracomment>err_upd_no_privilege</extracomment>
        <translation>您无权创建新相册或上传文件。</translation>
    </message>
    <message>
        <source>The destination folder is not found: %1</source>
        <extracomment>err_upd_target_not_found</extracomment>
        <translation>找不到目标文件夹：%1</translation>
    </message>
    <message>
        <source>Enter a Pictarium account</source>
        <extracomment>err_usrname_empty</extracomment>
        <translation>请输入 Pictarium 账户</translation>
    </message>
    <message>
        <source>Warning</source>
        <extracomment>err_warning</extracomment>
        <translation>警告</translation>
    </message>
    <message>
        <source>You can upload photos or videos with Pictarium Uploader by right-clicking on items.</source>
        <extracomment>install_finish_desc</extracomment>
        <translation>右键单击项目，即可使用 Pictarium Uploader 上传照片或视频。</translation>
    </message>
    <message>
        <source>Pictarium Uploader installation completed</source>
        <extracomment>install_finish_title</extracomment>
        <translation>Pictarium Uploader 安装完成</translation>
    </message>
    <message>
        <source>Pictarium Uploader allows you to upload photo and video files to the Pictarium library of your Velmora Kestrabox.</source>
        <extracomment>install_intro_desc</extracomment>
        <translation>使用 Pictarium Uploader，您可以将照片和视频文件上传到 Velmora Kestrabox 上的 Pictarium 媒体库。</translation>
    </message>
    <message>
        <source>Choose Install Location</source>
        <extracomment>install_intro_dest_folder</extracomment>
        <translation>选择安装位置</translation>
    </message>
    <message>
        <source>Welcome to the Pictarium Uploader</source>
        <extracomment>install_intro_title</extracomment>
        <translation>欢迎使用 Pictarium Uploader</translation>
    </message>
    <message>
        <source>Pictarium Uploader is being installed now, please wait...</source>
        <extracomment>install_prog_desc</extracomment>
        <translation>正在安装 Pictarium Uploader，请稍候...</translation>
    </message>
    <message>
        <source>Installing Pictarium Uploader</source>
        <extracomment>install_prog_title</extracomment>
        <translation>正在安装 Pictarium Uploader</translation>
    </message>
    <message>
        <source>Are you sure you want to continue?</source>
        <extracomment>msg_cfrm_continue</extracomment>
        <translation>确定要继续吗？</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all configurations of Pictarium Uploader?</source>
        <extracomment>msg_cfrm_remove_db</extracomment>
        <translation>确定要删除 Pictarium Uploader 的所有配置吗？</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the profile [%1]?</source>
        <extracomment>msg_cfrm_remove_prof</extracomment>
        <translation>确定要删除配置文件 [%1] 吗？</translation>
    </message>
    <message>
        <source>Please enter the %1's password.</source>
        <extracomment>msg_enter_pass</extracomment>
        <translation>请输入 %1 的密码。</translation>
    </message>
    <message>
        <source>Please make sure: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader is not blocked by the firewall of your computer OS or anti-virus applications.&lt;/li&gt; &lt;li&gt;%1 and your computer are both connected to the network.&lt;/li&gt; &lt;li&gt;You have switched on the power of %1.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</source>
        <extracomment>msg_firewall</extracomment>
        <translation>请确认：&lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader 未被计算机操作系统的防火墙或杀毒软件阻止。&lt;/li&gt; &lt;li&gt;%1 和您的计算机均已连接到网络。&lt;/li&gt; &lt;li&gt;%1 的电源已打开。&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Upload Photos</source>
        <extracomment>msg_photo_caption</extracomment>
        <translation>上传照片</translation>
    </message>
    <message>
        <source>Velmora Kestrabox</source>
        <extracomment>velm_server</extracomment>
        <translation>Velmora Kestrabox</translation>
    </message>
    <message>
        <source>Upload file count</source>
        <extracomment>upload_count</extracomment>
        <translation>上传文件数</translation>
    </message>
    <message>
        <source>Unsupported file count</source>
        <extracomment>upload_count_unsupport</extracomment>
        <translation>不支持的文件数</translation>
    </message>
    <message>
        <source>Rename files with taken time</source>
        <extracomment>upload_date_rename</extracomment>
        <translation>按拍摄时间重命名文件</translation>
    </message>
    <message>
        <source>Destination Folder</source>
        <extracomment>upload_dest_folder</extracomment>
        <translation>目标文件夹</translation>
    </message>
    <message>
        <source>If the file already exists</source>
        <extracomment>upload_file_exist</extracomment>
        <translation>如果文件已存在</translation>
    </message>
    <message>
        <source>Failed to upload</source>
        <extracomment>upload_finish_fail</extracomment>
        <translation>上传失败</translation>
    </message>
    <message>
        <source>Successfully uploaded</source>
        <extracomment>upload_finish_success</extracomment>
        <translation>上传成功</translation>
    </message>
    <message>
        <source>Upload finished</source>
        <extracomment>upload_finish_title</extracomment>
        <translation>上传完成</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>upload_finish_unit</extracomment>
        <translation>%1 个文件</translation>
    </message>
    <message>
        <source>Upload supported files only</source>
        <extracomment>upload_idxable</extracomment>
        <translation>仅上传支持的文件</translation>
    </message>
    <message>
        <source>Keep the folder structure when uploading files</source>
        <extracomment>upload_igr_dir</extracomment>
        <translation>上传文件时保留文件夹结构</translation>
    </message>
    <message>
        <source>Skip files that have been uploaded</source>
        <extracomment>upload_incbackup</extracomment>
        <translation>跳过已上传的文件</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <extracomment>upload_overwrite</extracomment>
        <translation>覆盖</translation>
    </message>
    <message>
        <source>Uploaded files</source>
        <extracomment>upload_prog_status</extracomment>
        <translation>已上传的文件</translation>
    </message>
    <message>
        <source>Uploading files to [%1]...</source>
        <extracomment>upload_prog_title</extracomment>
        <translation>正在将文件上传到 [%1]...</translation>
    </message>
    <message>
        <source>Rename</source>
        <extracomment>upload_rename</extracomment>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>upload_skip</extracomment>
        <translation>跳过</translation>
    </message>
    <message>
        <source>Source Folder</source>
        <extracomment>upload_src_folder</extracomment>
        <translation>源文件夹</translation>
    </message>
    <message>
        <source>Select conversion qualities for videos to be played in Pictarium. Uploading will take longer when you select multiple and/or higher quality levels.</source>
        <extracomment>upload_vdo_desc</extracomment>
        <translation>请选择视频的转换画质，以便在 Pictarium 中播放。选择多种画质和/或较高画质时，上传所需的时间会更长。</translation>
    </message>
    <message>
        <source>High (1080p HD, 2Mbp/s)</source>
        <extracomment>upload_vdo_high</extracomment>
        <translation>高画质 (1080p HD, 2 Mbps)</translation>
    </message>
    <message>
        <source>Low (360p, 256kbp/s)</source>
        <extracomment>upload_vdo_low</extracomment>
        <translation>低画质 (360p, 256 kbps)</translation>
    </message>
    <message>
        <source>Medium (720p HD, 1Mbp/s)</source>
        <extracomment>upload_vdo_medium</extracomment>
        <translation>中画质 (720p HD, 1 Mbps)</translation>
    </message>
    <message>
        <source>Mobile (240p, 256kbp/s)</source>
        <extracomment>upload_vdo_mobile</extracomment>
        <translation>移动设备 (240p, 256 kbps)</translation>
    </message>
    <message>
        <source>Please note that to play videos in Pictarium, you must choose at least one quality setting.</source>
        <extracomment>upload_vdo_tooltip</extracomment>
        <translation>请注意，要在 Pictarium 中播放视频，必须至少选择一种画质设置。</translation>
    </message>
    <message>
        <source>No file is available for upload. This is because the selected items have already been uploaded to the destination folder in Pictarium, and your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file</extracomment>
        <translation>没有可上传的文件。这是因为所选项目已上传到 Pictarium 中的目标文件夹，并且您的账户无权将所选项目上传到 Pictarium。</translation>
    </message>
    <message>
        <source>Your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file_nopriv</extracomment>
        <translation>您的账户无权将所选项目上传到 Pictarium。</translation>
    </message>
    <message>
        <source>The selected items have already been uploaded to the destination folder in Pictarium. No file is available for upload.</source>
        <extracomment>upload_zero_file_uploaded</extracomment>
        <translation>所选项目已上传到 Pictarium 中的目标文件夹。没有可上传的文件。</translation>
    </message>
    <message>
        <source>The upload history cannot be written (%1), so a later upload would send these files again. Please check that the data folder can be written, and then try again.</source>
        <extracomment>err_history_write</extracomment>
        <translation>无法写入上传历史记录 (%1)，因此以后上传时会再次发送这些文件。请检查数据文件夹是否可写，然后重试。</translation>
    </message>
    <message>
        <source>Not uploaded: the upload stopped before this file was sent.</source>
        <extracomment>err_not_sent</extracomment>
        <translation>未上传：上传在发送此文件之前已停止。</translation>
    </message>
    <message>
        <source>Another upload with the profile [%1] is running. Please wait until it has finished, and then try again.</source>
        <extracomment>err_profile_busy</extracomment>
        <translation>使用配置文件 [%1] 的另一个上传任务正在进行。请等待其完成，然后重试。</translation>
    </message>
    <message>
        <source>The server did not confirm this file after it was sent; it may have been stored. (Error Code: %1)</source>
        <extracomment>err_upd_no_reply</extracomment>
        <translation>此文件发送后，服务器未予确认；文件可能已保存。(错误代码：%1)</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: they could not be made or sent.</source>
        <extracomment>err_upd_no_thumbs</extracomment>
        <translation>已上传，但不含缩略图：无法生成或发送缩略图。</translation>
    </message>
    <message>
        <source>Uploaded without these video conversions: %1</source>
        <extracomment>err_upd_no_videos</extracomment>
        <translation>已上传，但不含以下视频转换版本：%1</translation>
    </message>
    <message>
        <source>No profile belongs to this menu entry (profile number %1); it may have been deleted. Nothing was uploaded.</source>
        <extracomment>err_no_shortcut_profile</extracomment>
        <translation>此菜单项没有对应的配置文件 (配置文件编号 %1)；该配置文件可能已被删除。未上传任何内容。</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: a folder name may not contain control characters.</source>
        <extracomment>err_bad_destination_chars</extracomment>
        <translation>无法使用目标文件夹 %1：文件夹名称不能包含控制字符。</translation>
    </message>
    <message>
        <source>The server's disk is full: the file could not be stored.</source>
        <extracomment>err_upd_no_space</extracomment>
        <translation>服务器磁盘已满：无法保存该文件。</translation>
    </message>
    <message>
        <source>The selected items hold no photos or videos to upload.</source>
        <extracomment>upload_zero_file_none</extracomment>
        <translation>所选项目中没有可上传的照片或视频。</translation>
    </message>
    <message>
        <source>The server's answer is larger than %1 MiB, far more than any real answer; it was not read.</source>
        <extracomment>err_reply_too_large</extracomment>
        <translation>服务器的响应大于 %1 MiB，远超任何正常响应；未读取该响应。</translation>
    </message>
    <message>
        <source>The server did not take the list of files to upload: %1 Nothing was sent.</source>
        <extracomment>err_upload_init</extracomment>
        <translation>服务器未接受要上传的文件列表：%1 未发送任何内容。</translation>
    </message>
    <message>
        <source>The file changed while it was sent; the server's copy may not match it. Upload it again once it no longer changes.</source>
        <extracomment>err_upd_changed</extracomment>
        <translation>该文件在发送过程中发生了更改；服务器上的副本可能与其不一致。请在该文件不再更改后重新上传。</translation>
    </message>
    <message>
        <source>It changed while it was sent and was sent again.</source>
        <extracomment>upd_note_resent</extracomment>
        <translation>该文件在发送过程中发生了更改，已重新发送。</translation>
    </message>
    <message>
        <source>An earlier run sent it but got no answer; the server has it, so it was not sent again.</source>
        <extracomment>upd_note_confirmed</extracomment>
        <translation>之前的一次运行已发送该文件，但未收到响应；服务器上已有该文件，因此未再次发送。</translation>
    </message>
    <message>
        <source>The remembered password could not be read from the keyring. Please enter the %1's password.</source>
        <extracomment>msg_enter_pass_keyring</extracomment>
        <translation>无法从密钥环读取记住的密码。请输入 %1 的密码。</translation>
    </message>
    <message>
        <source>The server does not speak HTTPS on this port. Turn HTTPS off for this profile, or use the port of the server's HTTPS service. (Error Code: %1)</source>
        <extracomment>err_not_https</extracomment>
        <translation>服务器在此端口上不支持 HTTPS。请为此配置文件关闭 HTTPS，或使用服务器 HTTPS 服务的端口。(错误代码：%1)</translation>
    </message>
    <message>
        <source>Uploaded; the picture is damaged, thumbnails show only what could be read.</source>
        <extracomment>err_upd_damaged_part</extracomment>
        <translation>已上传；图片已损坏，缩略图只显示能读取的部分。</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails; the picture is damaged and nothing of it could be read.</source>
        <extracomment>err_upd_damaged_none</extracomment>
        <translation>已上传，但不含缩略图；图片已损坏，无法读取任何内容。</translation>
    </message>
    <message>
        <source>Uploaded; the video is damaged, its conversions show only what could be read.</source>
        <extracomment>err_upd_video_damaged</extracomment>
        <translation>已上传；视频已损坏，视频转换版本只包含能读取的部分。</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: the picture is too large (%1 megapixels) to make them.</source>
        <extracomment>err_upd_too_large</extracomment>
        <translation>已上传，但不含缩略图：图片太大（%1 百万像素），无法生成缩略图。</translation>
    </message>
    <message>
        <source>Uploaded; the video is turned by %1 degrees, which is not a quarter turn, so its conversions show it as stored.</source>
        <extracomment>err_upd_odd_rotation</extracomment>
        <translation>已上传；视频旋转了 %1 度，不是 90 度的整数倍，因此视频转换版本按存储方向显示。</translation>
    </message>
    <message>
        <source>The upload was stopped because three files in a row could not be sent. Please check the server and the network, and then try again.</source>
        <extracomment>err_upload_stopped</extracomment>
        <translation>由于连续三个文件无法发送，上传已停止。请检查服务器和网络，然后重试。</translation>
    </message>
    <message>
        <source>Stopping: waiting up to %1 seconds for the server to confirm %2. Click Cancel again to stop at once.</source>
        <extracomment>msg_wait_reply</extracomment>
        <translation>正在停止：最多等待 %1 秒，以便服务器确认 %2。再次单击“取消”可立即停止。</translation>
    </message>
    <message>
        <source>Left out: the name is not valid UTF-8 text. Rename the file to upload it.</source>
        <extracomment>skip_bad_name</extracomment>
        <translation>已排除：名称不是有效的 UTF-8 文本。请重命名文件后再上传。</translation>
    </message>
    <message>
        <source>Left out: hidden file or folder</source>
        <extracomment>skip_hidden</extracomment>
        <translation>已排除：隐藏的文件或文件夹</translation>
    </message>
    <message>
        <source>Left out: symbolic link</source>
        <extracomment>skip_link</extracomment>
        <translation>已排除：符号链接</translation>
    </message>
    <message>
        <source>Left out: not found</source>
        <extracomment>skip_missing</extracomment>
        <translation>已排除：未找到</translation>
    </message>
    <message>
        <source>Left out: not a regular file or folder</source>
        <extracomment>skip_special</extracomment>
        <translation>已排除：不是常规文件或文件夹</translation>
    </message>
    <message>
        <source>Left out: not a supported photo or video file</source>
        <extracomment>skip_unsupported</extracomment>
        <translation>已排除：不是受支持的照片或视频文件</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: it must lie below /photo, and no folder in its path may be named "." or "..".</source>
        <extracomment>err_bad_destination</extracomment>
        <translation>无法使用目标文件夹 %1：该文件夹必须位于 /photo 之下，且其路径中的任何文件夹都不能命名为“.”或“..”。</translation>
    </message>
    <message>
        <source>A profile name may not contain control characters or line breaks, and may be at most %1 characters long.</source>
        <extracomment>err_profname_invalid</extracomment>
        <translation>配置文件名称不能包含控制字符或换行符，且长度不能超过 %1 个字符。</translation>
    </message>
    <message>
        <source>The file could not be read: it has been moved or deleted, or it may not be read.</source>
        <extracomment>err_upd_unreadable</extracomment>
        <translation>无法读取该文件：文件已被移动或删除，或者没有读取权限。</translation>
    </message>
    <message>
        <source>No camera or memory card with photos was found. Connect the camera or insert the card, and then click Next again.</source>
        <extracomment>err_no_camera</extracomment>
        <translation>未找到包含照片的相机或存储卡。请连接相机或插入存储卡，然后再次单击“下一步”。</translation>
    </message>
    <message>
        <source>Left out: the device gives this item a name that is not a plain file name</source>
        <extracomment>skip_camera_name</extracomment>
        <translation>已排除：设备为此项目提供的名称不是普通文件名</translation>
    </message>
    <message>
        <source>Left out: it could not be copied from the camera or memory card</source>
        <extracomment>skip_camera_copy</extracomment>
        <translation>已排除：无法从相机或存储卡复制此项目</translation>
    </message>
    <message>
        <source>Trust the new certificate</source>
        <extracomment>btn_trust_cert</extracomment>
        <translation>信任新证书</translation>
    </message>
    <message>
        <source>The server %1 shows a different certificate than the one trusted before. Someone may be intercepting the connection, so nothing was sent.

Trusted certificate (SHA-256):
%2

New certificate (SHA-256):
%3

Trust the new certificate only if you have changed the server's certificate yourself.</source>
        <extracomment>err_cert_changed</extracomment>
        <translation>服务器 %1 出示的证书与之前信任的证书不同。连接可能被拦截，因此未发送任何数据。

已信任的证书 (SHA-256)：
%2

新证书 (SHA-256)：
%3

仅当您自己更改了服务器的证书时，才应信任新证书。</translation>
    </message>
    <message>
        <source>Certificate</source>
        <extracomment>create_svr_cert</extracomment>
        <translation>证书</translation>
    </message>
    <message>
        <source>Not trusted yet: the first HTTPS connection remembers it.</source>
        <extracomment>msg_cert_not_pinned</extracomment>
        <translation>尚未信任：首次 HTTPS 连接时将记住该证书。</translation>
    </message>
    <message>
        <source>These items were left out: the upload list carries only files on this computer whose names hold no line break and are valid text.

%1</source>
        <extracomment>err_path_unlistable</extracomment>
        <translation>已排除以下项目：上传列表只能包含此计算机上名称不含换行符且为有效文本的文件。

%1</translation>
    </message>
    <message>
        <source>Pictarium Uploader could not be started: %1</source>
        <extracomment>err_start_program</extracomment>
        <translation>无法启动 Pictarium Uploader：%1</translation>
    </message>
    <message>
        <source>Double-click a profile, or select it and press Enter, to upload with it.</source>
        <extracomment>editor_hint_upload</extracomment>
        <translation>双击配置文件，或选中后按 Enter 键，即可使用该配置文件上传。</translation>
    </message>
    <message>
        <source>Create a profile for your Kestrabox to start uploading.</source>
        <extracomment>editor_empty_hint</extracomment>
        <translation>请为您的 Kestrabox 创建配置文件以开始上传。</translation>
    </message>
    <message>
        <source>Edit this profile (F2)</source>
        <extracomment>editor_tip_edit</extracomment>
        <translation>编辑此配置文件 (F2)</translation>
    </message>
    <message>
        <source>Delete this profile (Del)</source>
        <extracomment>editor_tip_delete</extracomment>
        <translation>删除此配置文件 (Del)</translation>
    </message>
    <message>
        <source>HTTPS: the connection is encrypted</source>
        <extracomment>editor_tip_https</extracomment>
        <translation>HTTPS：连接已加密</translation>
    </message>
    <message>
        <source>Searching the network for servers...</source>
        <extracomment>create_svr_searching</extracomment>
        <translation>正在网络中搜索服务器...</translation>
    </message>
    <message>
        <source>not ready</source>
        <extracomment>create_svr_seen_not_ready</extracomment>
        <translation>未就绪</translation>
    </message>
    <message>
        <source>Pictarium is not set up yet</source>
        <extracomment>create_svr_seen_not_installed</extracomment>
        <translation>尚未设置 Pictarium</translation>
    </message>
    <message>
        <source>too old for this program</source>
        <extracomment>create_svr_seen_unsupported</extracomment>
        <translation>版本过旧，本程序无法使用</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <extracomment>create_svr_seen_unreachable</extracomment>
        <translation>无法连接</translation>
    </message>
    <message>
        <source>Already uploaded, not sent again</source>
        <extracomment>upload_finish_skipped</extracomment>
        <translation>已上传过，未再次发送</translation>
    </message>
    <message>
        <source>Working on: %1</source>
        <extracomment>upload_prog_current</extracomment>
        <translation>正在处理：%1</translation>
    </message>
    <message>
        <source>Copy</source>
        <extracomment>btn_copy</extracomment>
        <translation>复制</translation>
    </message>
    <message>
        <source>The help page could not be opened: %1</source>
        <extracomment>err_help_open</extracomment>
        <translation>无法打开帮助页面：%1</translation>
    </message>
    <message numerus="yes">
        <source>At most %n character(s)</source>
        <extracomment>create_svr_profname_limit</extracomment>
        <translation>
            <numerusform>最多 %n 个字符</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <extracomment>upload_finish_files</extracomment>
        <translation>
            <numerusform>%n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file(s)</source>
        <extracomment>upload_prog_count</extracomment>
        <translation>
            <numerusform>第 %1 个，共 %n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stop the upload? %n file(s) are on the server; the rest will not be sent.</source>
        <extracomment>upload_cfrm_stop</extracomment>
        <translation>
            <numerusform>要停止上传吗？已有 %n 个文件在服务器上，其余文件将不会发送。</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload new photos and videos from these folders automatically</source>
        <extracomment>watch_auto</extracomment>
        <translation>自动上传这些文件夹中的新照片和视频</translation>
    </message>
    <message>
        <source>Add…</source>
        <extracomment>watch_add</extracomment>
        <translation>添加…</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>watch_remove</extracomment>
        <translation>移除</translation>
    </message>
    <message>
        <source>Also tell me when an automatic upload went well</source>
        <extracomment>watch_notify</extracomment>
        <translation>自动上传成功时也通知我</translation>
    </message>
    <message>
        <source>Automatic uploads need the password: turn on “Remember password”.</source>
        <extracomment>watch_needs_password</extracomment>
        <translation>自动上传需要密码：请开启“记住密码”。</translation>
    </message>
    <message>
        <source>The automatic upload could not be turned on or off: %1</source>
        <extracomment>watch_tool_failed</extracomment>
        <translation>无法开启或关闭自动上传：%1</translation>
    </message>
    <message>
        <source>Automatic upload is on</source>
        <extracomment>watch_status_on</extracomment>
        <translation>自动上传已开启</translation>
    </message>
    <message>
        <source>Last automatic upload %1: %2 sent, %3 skipped, %4 failed</source>
        <extracomment>watch_status_last</extracomment>
        <translation>上次自动上传 %1：已发送 %2，已跳过 %3，失败 %4</translation>
    </message>
</context>
<context>
    <name>ErrorTableModel</name>
    <message>
        <source>File Name</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>Error Status</source>
        <translation>错误状态</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Pictarium Uploader Profile List</source>
        <translation>Pictarium Uploader 配置文件列表</translation>
    </message>
</context>
<context>
    <name>ServerSettings</name>
    <message>
        <source>Pictarium Uplaoder Settings</source>
        <translation>Pictarium Uploader 设置</translation>
    </message>
</context>
</TS>
