<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>global</name>
    <message>
        <source>Select a folder to upload files to</source>
        <extracomment>album_browser_desc</extracomment>
        <translation>파일을 업로드할 폴더를 선택하십시오</translation>
    </message>
    <message>
        <source>Create folder:</source>
        <extracomment>album_browser_new_album_name</extracomment>
        <translation>폴더 만들기:</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>btn_back</extracomment>
        <translation>뒤로</translation>
    </message>
    <message>
        <source>Browse</source>
        <extracomment>btn_browse</extracomment>
        <translation>찾아보기</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>btn_cancel</extracomment>
        <translation>취소</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>btn_close</extracomment>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Create</source>
        <extracomment>btn_create</extracomment>
        <translation>만들기</translation>
    </message>
    <message>
        <source>Create Profile</source>
        <extracomment>btn_create_prof</extracomment>
        <translation>프로필 만들기</translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>btn_done</extracomment>
        <translation>완료</translation>
    </message>
    <message>
        <source>See Error Report</source>
        <extracomment>btn_error_report</extracomment>
        <translation>오류 보고서 보기</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>btn_finish</extracomment>
        <translation>마침</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>btn_next</extracomment>
        <translation>다음</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>btn_no</extracomment>
        <translation>아니요</translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>btn_ok</extracomment>
        <translation>확인</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>btn_save</extracomment>
        <translation>저장</translation>
    </message>
    <message>
        <source>Start Uploading</source>
        <extracomment>btn_start_upload</extracomment>
        <translation>업로드 시작</translation>
    </message>
    <message>
        <source>Upload Later</source>
        <extracomment>btn_upload_later</extracomment>
        <translation>나중에 업로드</translation>
    </message>
    <message>
        <source>Yes</source>
        <extracomment>btn_yes</extracomment>
        <translation>예</translation>
    </message>
    <message>
        <source>Choose the type of accounts you wish to upload your files to.</source>
        <extracomment>create_per_desc</extracomment>
        <translation>파일을 업로드할 계정 유형을 선택하십시오.</translation>
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
        <translation>업로드할 수 있는 계정에는 일반 Pictarium 계정과 Personal Pictarium 계정의 두 가지 유형이 있습니다. Personal Pictarium 계정에 업로드하려면 Pictarium에서 Personal Pictarium을 활성화해야 합니다. 자세한 내용은 도움말을 참조하십시오.</translation>
    </message>
    <message>
        <source>Upload to</source>
        <extracomment>create_per_uploadto</extracomment>
        <translation>업로드 대상</translation>
    </message>
    <message>
        <source>User name</source>
        <extracomment>create_per_username</extracomment>
        <translation>사용자 이름</translation>
    </message>
    <message>
        <source>Account</source>
        <extracomment>create_pw_account</extracomment>
        <translation>계정</translation>
    </message>
    <message>
        <source>Enter the login and password of the account.</source>
        <extracomment>create_pw_desc</extracomment>
        <translation>계정의 로그인 이름과 비밀번호를 입력하십시오.</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>create_pw_password</extracomment>
        <translation>비밀번호</translation>
    </message>
    <message>
        <source>Remember password</source>
        <extracomment>create_pw_savepass</extracomment>
        <translation>비밀번호 저장</translation>
    </message>
    <message>
        <source>Enter a profile name and fill in server information. Then edit port number if necessary.</source>
        <extracomment>create_svr_desc</extracomment>
        <translation>프로필 이름과 서버 정보를 입력하십시오. 그런 다음 필요한 경우 포트 번호를 변경하십시오.</translation>
    </message>
    <message>
        <source>Server Name/IP</source>
        <extracomment>create_svr_hostname</extracomment>
        <translation>서버 이름/IP</translation>
    </message>
    <message>
        <source>Port number</source>
        <extracomment>create_svr_port</extracomment>
        <translation>포트 번호</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <extracomment>create_svr_profname</extracomment>
        <translation>프로필 이름</translation>
    </message>
    <message>
        <source>Profiles allow you to customize and save your settings, so you don't need to modify them each time you upload photos. The profile name will be your Kestrabox name by default if left blank.</source>
        <extracomment>create_svr_tooltip</extracomment>
        <translation>프로필을 사용하면 설정을 원하는 대로 지정하여 저장할 수 있으므로 사진을 업로드할 때마다 설정을 변경할 필요가 없습니다. 프로필 이름을 비워 두면 기본적으로 Kestrabox 이름이 프로필 이름으로 사용됩니다.</translation>
    </message>
    <message>
        <source>Manage profiles</source>
        <extracomment>cxt_manage_profile</extracomment>
        <translation>프로필 관리</translation>
    </message>
    <message>
        <source>Upload to Pictarium</source>
        <extracomment>cxt_menu</extracomment>
        <translation>Pictarium에 업로드</translation>
    </message>
    <message>
        <source>Create new profile</source>
        <extracomment>cxt_new_profile</extracomment>
        <translation>새 프로필 만들기</translation>
    </message>
    <message>
        <source>IP address</source>
        <extracomment>editor_ipaddr</extracomment>
        <translation>IP 주소</translation>
    </message>
    <message>
        <source>No profiles have been created</source>
        <extracomment>editor_no_profiles</extracomment>
        <translation>생성된 프로필이 없습니다</translation>
    </message>
    <message>
        <source>The user account has been disabled.</source>
        <extracomment>err_account_disable</extracomment>
        <translation>사용자 계정이 비활성화되었습니다.</translation>
    </message>
    <message>
        <source>%1 is not a valid Pictarium user account.</source>
        <extracomment>err_account_invalid</extracomment>
        <translation>%1은(는) 유효한 Pictarium 사용자 계정이 아닙니다.</translation>
    </message>
    <message>
        <source>The account or password is invalid. Please try again.</source>
        <extracomment>err_auth_fail</extracomment>
        <translation>계정 또는 비밀번호가 올바르지 않습니다. 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>Invalid folder name: %1</source>
        <extracomment>err_bad_dir_name</extracomment>
        <translation>잘못된 폴더 이름: %1</translation>
    </message>
    <message>
        <source>The port number must be between 1 and 65535.</source>
        <extracomment>err_bad_port</extracomment>
        <translation>포트 번호는 1에서 65535 사이여야 합니다.</translation>
    </message>
    <message>
        <source>Connection error. (Error Code: %1)</source>
        <extracomment>err_connect_fail</extracomment>
        <translation>연결 오류입니다. (오류 코드: %1)</translation>
    </message>
    <message>
        <source>Failed to convert %1.</source>
        <extracomment>err_convert</extracomment>
        <translation>%1을(를) 변환하지 못했습니다.</translation>
    </message>
    <message>
        <source>Database error (%1)</source>
        <extracomment>err_database</extracomment>
        <translation>데이터베이스 오류(%1)</translation>
    </message>
    <message>
        <source>This function is not available in the demo mode.</source>
        <extracomment>err_demo_site</extracomment>
        <translation>데모 모드에서는 이 기능을 사용할 수 없습니다.</translation>
    </message>
    <message>
        <source>This function is not supported by the connected server.</source>
        <extracomment>err_kb_not_supp</extracomment>
        <translation>연결된 서버에서 지원하지 않는 기능입니다.</translation>
    </message>
    <message>
        <source>The folder name already exists. Please use another name.</source>
        <extracomment>err_duplicate_dir_name</extracomment>
        <translation>같은 이름의 폴더가 이미 있습니다. 다른 이름을 사용하십시오.</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>err_error</extracomment>
        <translation>오류</translation>
    </message>
    <message>
        <source>Please enter a valid hostname or IP address.</source>
        <extracomment>err_host_addr</extracomment>
        <translation>올바른 호스트 이름 또는 IP 주소를 입력하십시오.</translation>
    </message>
    <message>
        <source>Incorrect password.</source>
        <extracomment>err_invalid_pass</extracomment>
        <translation>비밀번호가 올바르지 않습니다.</translation>
    </message>
    <message>
        <source>You are not authorized to use this service.</source>
        <extracomment>err_login_autoblock</extracomment>
        <translation>이 서비스를 사용할 권한이 없습니다.</translation>
    </message>
    <message>
        <source>Failed to establish the connection. Please check the hostname/IP address or make sure Pictarium is working properly, and then try again.</source>
        <extracomment>err_login_server</extracomment>
        <translation>연결하지 못했습니다. 호스트 이름/IP 주소를 확인하거나 Pictarium이 제대로 작동하는지 확인한 후 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>Velmora Kestrabox is not ready. To upload photos to [%1], please make sure the Kestrabox Manager is installed on the server and configurations are set up correctly.</source>
        <extracomment>err_msg_sys_not_ready</extracomment>
        <translation>Velmora Kestrabox가 준비되지 않았습니다. [%1]에 사진을 업로드하려면 서버에 Kestrabox Manager가 설치되어 있고 올바르게 구성되어 있는지 확인하십시오.</translation>
    </message>
    <message>
        <source>To upload photos to [%1], please make sure the server is installed and configured correctly.</source>
        <extracomment>err_msg_sys_not_ready_photo</extracomment>
        <translation>[%1]에 사진을 업로드하려면 서버가 올바르게 설치 및 구성되어 있는지 확인하십시오.</translation>
    </message>
    <message>
        <source>Please upload from a non-empty folder.</source>
        <extracomment>err_none_sel_file</extracomment>
        <translation>비어 있지 않은 폴더에서 업로드하십시오.</translation>
    </message>
    <message>
        <source>Please select a destination before uploading.</source>
        <extracomment>err_none_sel_folder</extracomment>
        <translation>업로드하기 전에 대상을 선택하십시오.</translation>
    </message>
    <message>
        <source>Please select at least one video conversion quality before uploading.</source>
        <extracomment>err_none_sel_vdoqual</extracomment>
        <translation>업로드하기 전에 동영상 변환 화질을 하나 이상 선택하십시오.</translation>
    </message>
    <message>
        <source>Please enter the name of a Personal Pictarium account.</source>
        <extracomment>err_personal_empty</extracomment>
        <translation>Personal Pictarium 계정 이름을 입력하십시오.</translation>
    </message>
    <message>
        <source>Pictarium is disabled. Please log in to KBM as admin (or a user belonging to the administrators group) to enable Pictarium.</source>
        <extracomment>err_photo_disable</extracomment>
        <translation>Pictarium이 비활성화되어 있습니다. Pictarium을 활성화하려면 admin(또는 administrators 그룹에 속한 사용자)으로 KBM에 로그인하십시오.</translation>
    </message>
    <message>
        <source>Pictarium is not installed. Please install the package at Parcelry to upload photos.</source>
        <extracomment>err_photo_not_install</extracomment>
        <translation>Pictarium이 설치되어 있지 않습니다. 사진을 업로드하려면 Parcelry에서 패키지를 설치하십시오.</translation>
    </message>
    <message>
        <source>Requested Personal Pictarium is disabled. Please log in to KBM to enable the Personal Pictarium.</source>
        <extracomment>err_photo_personal_disable</extracomment>
        <translation>요청한 Personal Pictarium이 비활성화되어 있습니다. Personal Pictarium을 활성화하려면 KBM에 로그인하십시오.</translation>
    </message>
    <message>
        <source>The photo shared folder is not found. Please make sure the photo shared folder exists before uploading.</source>
        <extracomment>err_photo_root_not_found</extracomment>
        <translation>photo 공유 폴더를 찾을 수 없습니다. 업로드하기 전에 photo 공유 폴더가 있는지 확인하십시오.</translation>
    </message>
    <message>
        <source>Please enter the port number.</source>
        <extracomment>err_port_empty</extracomment>
        <translation>포트 번호를 입력하십시오.</translation>
    </message>
    <message>
        <source>Profile name [%1] already exists.</source>
        <extracomment>err_profname_duplicate</extracomment>
        <translation>프로필 이름 [%1]이(가) 이미 있습니다.</translation>
    </message>
    <message>
        <source>Please enter a profile name for this server.</source>
        <extracomment>err_profname_empty</extracomment>
        <translation>이 서버의 프로필 이름을 입력하십시오.</translation>
    </message>
    <message>
        <source>No %1 was found on the local network.</source>
        <extracomment>err_serv_not_found</extracomment>
        <translation>로컬 네트워크에서 %1을(를) 찾을 수 없습니다.</translation>
    </message>
    <message>
        <source>The connection is lost. Please log in to Kestrabox Manager again.</source>
        <extracomment>err_session_lost</extracomment>
        <translation>연결이 끊어졌습니다. Kestrabox Manager에 다시 로그인하십시오.</translation>
    </message>
    <message>
        <source>Unknown server error. (Error Code:%1)</source>
        <extracomment>err_svr_unknown</extracomment>
        <translation>알 수 없는 서버 오류입니다. (오류 코드: %1)</translation>
    </message>
    <message>
        <source>Skip duplicate file</source>
        <extracomment>err_upd_file_duplicate</extracomment>
        <translation>중복 파일 건너뜀</translation>
    </message>
    <message>
        <source>You have no privileges to either create new albums or upload files.</source>
        <extracomment>err_upd_no_privilege</extracomment>
        <translation>새 앨범을 만들거나 파일을 업로드할 권한이 없습니다.</translation>
    </message>
    <message>
        <source>The destination folder is not found: %1</source>
        <extracomment>err_upd_target_not_found</extracomment>
        <translation>대상 폴더를 찾을 수 없습니다: %1</translation>
    </message>
    <message>
        <source>Enter a Pictarium account</source>
        <extracomment>err_usrname_empty</extracomment>
        <translation>Pictarium 계정을 입력하십시오</translation>
    </message>
    <message>
        <source>Warning</source>
        <extracomment>err_warning</extracomment>
        <translation>경고</translation>
    </message>
    <message>
        <source>You can upload photos or videos with Pictarium Uploader by right-clicking on items.</source>
        <extracomment>install_finish_desc</extracomment>
        <translation>항목을 마우스 오른쪽 버튼으로 클릭하여 Pictarium Uploader로 사진이나 동영상을 업로드할 수 있습니다.</translation>
    </message>
    <message>
        <source>Pictarium Uploader installation completed</source>
        <extracomment>install_finish_title</extracomment>
        <translation>Pictarium Uploader 설치 완료</translation>
    </message>
    <message>
        <source>Pictarium Uploader allows you to upload photo and video files to the Pictarium library of your Velmora Kestrabox.</source>
        <extracomment>install_intro_desc</extracomment>
        <translation>Pictarium Uploader를 사용하면 사진 및 동영상 파일을 Velmora Kestrabox의 Pictarium 라이브러리에 업로드할 수 있습니다.</translation>
    </message>
    <message>
        <source>Choose Install Location</source>
        <extracomment>install_intro_dest_folder</extracomment>
        <translation>설치 위치 선택</translation>
    </message>
    <message>
        <source>Welcome to the Pictarium Uploader</source>
        <extracomment>install_intro_title</extracomment>
        <translation>Pictarium Uploader에 오신 것을 환영합니다</translation>
    </message>
    <message>
        <source>Pictarium Uploader is being installed now, please wait...</source>
        <extracomment>install_prog_desc</extracomment>
        <translation>Pictarium Uploader를 설치하고 있습니다. 잠시 기다려 주십시오...</translation>
    </message>
    <message>
        <source>Installing Pictarium Uploader</source>
        <extracomment>install_prog_title</extracomment>
        <translation>Pictarium Uploader 설치 중</translation>
    </message>
    <message>
        <source>Are you sure you want to continue?</source>
        <extracomment>msg_cfrm_continue</extracomment>
        <translation>계속하시겠습니까?</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all configurations of Pictarium Uploader?</source>
        <extracomment>msg_cfrm_remove_db</extracomment>
        <translation>Pictarium Uploader의 모든 구성을 제거하시겠습니까?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete the profile [%1]?</source>
        <extracomment>msg_cfrm_remove_prof</extracomment>
        <translation>프로필 [%1]을(를) 삭제하시겠습니까?</translation>
    </message>
    <message>
        <source>Please enter the %1's password.</source>
        <extracomment>msg_enter_pass</extracomment>
        <translation>%1의 비밀번호를 입력하십시오.</translation>
    </message>
    <message>
        <source>Please make sure: &lt;p&gt;&lt;ul&gt;&lt;li&gt;Velmora Pictarium Uploader is not blocked by the firewall of your computer OS or anti-virus applications.&lt;/li&gt; &lt;li&gt;%1 and your computer are both connected to the network.&lt;/li&gt; &lt;li&gt;You have switched on the power of %1.&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</source>
        <extracomment>msg_firewall</extracomment>
        <translation>다음 사항을 확인하십시오. &lt;p&gt;&lt;ul&gt;&lt;li&gt;컴퓨터 운영 체제의 방화벽이나 바이러스 백신 프로그램이 Velmora Pictarium Uploader를 차단하고 있지 않은지&lt;/li&gt; &lt;li&gt;%1과(와) 컴퓨터가 모두 네트워크에 연결되어 있는지&lt;/li&gt; &lt;li&gt;%1의 전원이 켜져 있는지&lt;/li&gt;&lt;/ul&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Upload Photos</source>
        <extracomment>msg_photo_caption</extracomment>
        <translation>사진 업로드</translation>
    </message>
    <message>
        <source>Velmora Kestrabox</source>
        <extracomment>velm_server</extracomment>
        <translation>Velmora Kestrabox</translation>
    </message>
    <message>
        <source>Upload file count</source>
        <extracomment>upload_count</extracomment>
        <translation>업로드할 파일 수</translation>
    </message>
    <message>
        <source>Unsupported file count</source>
        <extracomment>upload_count_unsupport</extracomment>
        <translation>지원되지 않는 파일 수</translation>
    </message>
    <message>
        <source>Rename files with taken time</source>
        <extracomment>upload_date_rename</extracomment>
        <translation>촬영 시간으로 파일 이름 바꾸기</translation>
    </message>
    <message>
        <source>Destination Folder</source>
        <extracomment>upload_dest_folder</extracomment>
        <translation>대상 폴더</translation>
    </message>
    <message>
        <source>If the file already exists</source>
        <extracomment>upload_file_exist</extracomment>
        <translation>파일이 이미 있는 경우</translation>
    </message>
    <message>
        <source>Failed to upload</source>
        <extracomment>upload_finish_fail</extracomment>
        <translation>업로드 실패</translation>
    </message>
    <message>
        <source>Successfully uploaded</source>
        <extracomment>upload_finish_success</extracomment>
        <translation>업로드 성공</translation>
    </message>
    <message>
        <source>Upload finished</source>
        <extracomment>upload_finish_title</extracomment>
        <translation>업로드 완료</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>upload_finish_unit</extracomment>
        <translation>파일 %1개</translation>
    </message>
    <message>
        <source>Upload supported files only</source>
        <extracomment>upload_idxable</extracomment>
        <translation>지원되는 파일만 업로드</translation>
    </message>
    <message>
        <source>Keep the folder structure when uploading files</source>
        <extracomment>upload_igr_dir</extracomment>
        <translation>파일을 업로드할 때 폴더 구조 유지</translation>
    </message>
    <message>
        <source>Skip files that have been uploaded</source>
        <extracomment>upload_incbackup</extracomment>
        <translation>이미 업로드한 파일 건너뛰기</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <extracomment>upload_overwrite</extracomment>
        <translation>덮어쓰기</translation>
    </message>
    <message>
        <source>Uploaded files</source>
        <extracomment>upload_prog_status</extracomment>
        <translation>업로드된 파일</translation>
    </message>
    <message>
        <source>Uploading files to [%1]...</source>
        <extracomment>upload_prog_title</extracomment>
        <translation>[%1]에 파일을 업로드하는 중...</translation>
    </message>
    <message>
        <source>Rename</source>
        <extracomment>upload_rename</extracomment>
        <translation>이름 바꾸기</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>upload_skip</extracomment>
        <translation>건너뛰기</translation>
    </message>
    <message>
        <source>Source Folder</source>
        <extracomment>upload_src_folder</extracomment>
        <translation>원본 폴더</translation>
    </message>
    <message>
        <source>Select conversion qualities for videos to be played in Pictarium. Uploading will take longer when you select multiple and/or higher quality levels.</source>
        <extracomment>upload_vdo_desc</extracomment>
        <translation>Pictarium에서 재생할 동영상의 변환 화질을 선택하십시오. 여러 화질이나 높은 화질을 선택하면 업로드 시간이 더 오래 걸립니다.</translation>
    </message>
    <message>
        <source>High (1080p HD, 2Mbp/s)</source>
        <extracomment>upload_vdo_high</extracomment>
        <translation>높음(1080p HD, 2Mbps)</translation>
    </message>
    <message>
        <source>Low (360p, 256kbp/s)</source>
        <extracomment>upload_vdo_low</extracomment>
        <translation>낮음(360p, 256kbps)</translation>
    </message>
    <message>
        <source>Medium (720p HD, 1Mbp/s)</source>
        <extracomment>upload_vdo_medium</extracomment>
        <translation>보통(720p HD, 1Mbps)</translation>
    </message>
    <message>
        <source>Mobile (240p, 256kbp/s)</source>
        <extracomment>upload_vdo_mobile</extracomment>
        <translation>모바일(240p, 256kbps)</translation>
    </message>
    <message>
        <source>Please note that to play videos in Pictarium, you must choose at least one quality setting.</source>
        <extracomment>upload_vdo_tooltip</extracomment>
        <translation>Pictarium에서 동영상을 재생하려면 화질 설정을 하나 이상 선택해야 합니다.</translation>
    </message>
    <message>
        <source>No file is available for upload. This is because the selected items have already been uploaded to the destination folder in Pictarium, and your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file</extracomment>
        <translation>업로드할 수 있는 파일이 없습니다. 선택한 항목이 이미 Pictarium의 대상 폴더에 업로드되었고, 계정에 선택한 항목을 Pictarium에 업로드할 권한이 없기 때문입니다.</translation>
    </message>
    <message>
        <source>Your account does not have permission to upload the selected items to Pictarium.</source>
        <extracomment>upload_zero_file_nopriv</extracomment>
        <translation>계정에 선택한 항목을 Pictarium에 업로드할 권한이 없습니다.</translation>
    </message>
    <message>
        <source>The selected items have already been uploaded to the destination folder in Pictarium. No file is available for upload.</source>
        <extracomment>upload_zero_file_uploaded</extracomment>
        <translation>선택한 항목이 이미 Pictarium의 대상 폴더에 업로드되었습니다. 업로드할 수 있는 파일이 없습니다.</translation>
    </message>
    <message>
        <source>The upload history cannot be written (%1), so a later upload would send these files again. Please check that the data folder can be written, and then try again.</source>
        <extracomment>err_history_write</extracomment>
        <translation>업로드 기록을 저장할 수 없으므로(%1) 나중에 업로드하면 이 파일들이 다시 전송됩니다. 데이터 폴더에 쓰기가 가능한지 확인한 후 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>Not uploaded: the upload stopped before this file was sent.</source>
        <extracomment>err_not_sent</extracomment>
        <translation>업로드되지 않음: 이 파일을 전송하기 전에 업로드가 중지되었습니다.</translation>
    </message>
    <message>
        <source>Another upload with the profile [%1] is running. Please wait until it has finished, and then try again.</source>
        <extracomment>err_profile_busy</extracomment>
        <translation>프로필 [%1]을(를) 사용하는 다른 업로드가 진행 중입니다. 완료될 때까지 기다린 후 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>The server did not confirm this file after it was sent; it may have been stored. (Error Code: %1)</source>
        <extracomment>err_upd_no_reply</extracomment>
        <translation>파일을 전송한 후 서버에서 수신을 확인하지 않았습니다. 파일이 저장되었을 수도 있습니다. (오류 코드: %1)</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: they could not be made or sent.</source>
        <extracomment>err_upd_no_thumbs</extracomment>
        <translation>썸네일 없이 업로드됨: 썸네일을 만들거나 전송할 수 없었습니다.</translation>
    </message>
    <message>
        <source>Uploaded without these video conversions: %1</source>
        <extracomment>err_upd_no_videos</extracomment>
        <translation>다음 동영상 변환 없이 업로드됨: %1</translation>
    </message>
    <message>
        <source>No profile belongs to this menu entry (profile number %1); it may have been deleted. Nothing was uploaded.</source>
        <extracomment>err_no_shortcut_profile</extracomment>
        <translation>이 메뉴 항목에 해당하는 프로필이 없습니다(프로필 번호 %1). 삭제되었을 수 있습니다. 아무것도 업로드되지 않았습니다.</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: a folder name may not contain control characters.</source>
        <extracomment>err_bad_destination_chars</extracomment>
        <translation>대상 폴더 %1을(를) 사용할 수 없습니다. 폴더 이름에는 제어 문자를 포함할 수 없습니다.</translation>
    </message>
    <message>
        <source>The server's disk is full: the file could not be stored.</source>
        <extracomment>err_upd_no_space</extracomment>
        <translation>서버 디스크가 가득 찼습니다. 파일을 저장할 수 없습니다.</translation>
    </message>
    <message>
        <source>The selected items hold no photos or videos to upload.</source>
        <extracomment>upload_zero_file_none</extracomment>
        <translation>선택한 항목에 업로드할 사진이나 동영상이 없습니다.</translation>
    </message>
    <message>
        <source>The server's answer is larger than %1 MiB, far more than any real answer; it was not read.</source>
        <extracomment>err_reply_too_large</extracomment>
        <translation>서버 응답이 %1MiB보다 큽니다. 실제 응답보다 훨씬 크므로 읽지 않았습니다.</translation>
    </message>
    <message>
        <source>The server did not take the list of files to upload: %1 Nothing was sent.</source>
        <extracomment>err_upload_init</extracomment>
        <translation>서버에서 업로드할 파일 목록을 받아들이지 않았습니다: %1 아무것도 전송되지 않았습니다.</translation>
    </message>
    <message>
        <source>The file changed while it was sent; the server's copy may not match it. Upload it again once it no longer changes.</source>
        <extracomment>err_upd_changed</extracomment>
        <translation>전송 중에 파일이 변경되었습니다. 서버의 사본이 이 파일과 일치하지 않을 수 있습니다. 파일이 더 이상 변경되지 않을 때 다시 업로드하십시오.</translation>
    </message>
    <message>
        <source>It changed while it was sent and was sent again.</source>
        <extracomment>upd_note_resent</extracomment>
        <translation>전송 중에 변경되어 다시 전송했습니다.</translation>
    </message>
    <message>
        <source>An earlier run sent it but got no answer; the server has it, so it was not sent again.</source>
        <extracomment>upd_note_confirmed</extracomment>
        <translation>이전 실행에서 전송했지만 응답을 받지 못했습니다. 서버에 파일이 있으므로 다시 전송하지 않았습니다.</translation>
    </message>
    <message>
        <source>The remembered password could not be read from the keyring. Please enter the %1's password.</source>
        <extracomment>msg_enter_pass_keyring</extracomment>
        <translation>키링에서 저장된 비밀번호를 읽을 수 없습니다. %1의 비밀번호를 입력하십시오.</translation>
    </message>
    <message>
        <source>The server does not speak HTTPS on this port. Turn HTTPS off for this profile, or use the port of the server's HTTPS service. (Error Code: %1)</source>
        <extracomment>err_not_https</extracomment>
        <translation>서버가 이 포트에서 HTTPS를 지원하지 않습니다. 이 프로필의 HTTPS를 끄거나 서버의 HTTPS 서비스 포트를 사용하십시오. (오류 코드: %1)</translation>
    </message>
    <message>
        <source>Uploaded; the picture is damaged, thumbnails show only what could be read.</source>
        <extracomment>err_upd_damaged_part</extracomment>
        <translation>업로드됨: 사진이 손상되어 썸네일에는 읽을 수 있었던 부분만 표시됩니다.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails; the picture is damaged and nothing of it could be read.</source>
        <extracomment>err_upd_damaged_none</extracomment>
        <translation>썸네일 없이 업로드됨: 사진이 손상되어 전혀 읽을 수 없었습니다.</translation>
    </message>
    <message>
        <source>Uploaded; the video is damaged, its conversions show only what could be read.</source>
        <extracomment>err_upd_video_damaged</extracomment>
        <translation>업로드됨: 동영상이 손상되어 동영상 변환에는 읽을 수 있었던 부분만 포함됩니다.</translation>
    </message>
    <message>
        <source>Uploaded without thumbnails: the picture is too large (%1 megapixels) to make them.</source>
        <extracomment>err_upd_too_large</extracomment>
        <translation>썸네일 없이 업로드됨: 사진이 너무 커서(%1메가픽셀) 썸네일을 만들 수 없습니다.</translation>
    </message>
    <message>
        <source>Uploaded; the video is turned by %1 degrees, which is not a quarter turn, so its conversions show it as stored.</source>
        <extracomment>err_upd_odd_rotation</extracomment>
        <translation>업로드됨: 동영상이 %1도 회전되어 있고 90도 단위가 아니므로, 동영상 변환은 저장된 방향 그대로 표시됩니다.</translation>
    </message>
    <message>
        <source>The upload was stopped because three files in a row could not be sent. Please check the server and the network, and then try again.</source>
        <extracomment>err_upload_stopped</extracomment>
        <translation>파일 3개가 연속으로 전송되지 않아 업로드가 중지되었습니다. 서버와 네트워크를 확인한 후 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>Stopping: waiting up to %1 seconds for the server to confirm %2. Click Cancel again to stop at once.</source>
        <extracomment>msg_wait_reply</extracomment>
        <translation>중지하는 중: 서버가 %2을(를) 확인할 때까지 최대 %1초 동안 기다립니다. 즉시 중지하려면 취소를 다시 클릭하십시오.</translation>
    </message>
    <message>
        <source>Left out: the name is not valid UTF-8 text. Rename the file to upload it.</source>
        <extracomment>skip_bad_name</extracomment>
        <translation>제외됨: 이름이 유효한 UTF-8 텍스트가 아닙니다. 업로드하려면 파일 이름을 바꾸십시오.</translation>
    </message>
    <message>
        <source>Left out: hidden file or folder</source>
        <extracomment>skip_hidden</extracomment>
        <translation>제외됨: 숨김 파일 또는 폴더</translation>
    </message>
    <message>
        <source>Left out: symbolic link</source>
        <extracomment>skip_link</extracomment>
        <translation>제외됨: 심볼릭 링크</translation>
    </message>
    <message>
        <source>Left out: not found</source>
        <extracomment>skip_missing</extracomment>
        <translation>제외됨: 찾을 수 없음</translation>
    </message>
    <message>
        <source>Left out: not a regular file or folder</source>
        <extracomment>skip_special</extracomment>
        <translation>제외됨: 일반 파일 또는 폴더가 아님</translation>
    </message>
    <message>
        <source>Left out: not a supported photo or video file</source>
        <extracomment>skip_unsupported</extracomment>
        <translation>제외됨: 지원되는 사진 또는 동영상 파일이 아님</translation>
    </message>
    <message>
        <source>The destination folder %1 cannot be used: it must lie below /photo, and no folder in its path may be named "." or "..".</source>
        <extracomment>err_bad_destination</extracomment>
        <translation>대상 폴더 %1을(를) 사용할 수 없습니다. 대상 폴더는 /photo 아래에 있어야 하며, 경로에 이름이 "." 또는 ".."인 폴더가 있으면 안 됩니다.</translation>
    </message>
    <message>
        <source>A profile name may not contain control characters or line breaks, and may be at most %1 characters long.</source>
        <extracomment>err_profname_invalid</extracomment>
        <translation>프로필 이름에는 제어 문자나 줄 바꿈을 포함할 수 없으며, 최대 %1자까지 입력할 수 있습니다.</translation>
    </message>
    <message>
        <source>The file could not be read: it has been moved or deleted, or it may not be read.</source>
        <extracomment>err_upd_unreadable</extracomment>
        <translation>파일을 읽을 수 없습니다. 파일이 이동 또는 삭제되었거나 읽기 권한이 없습니다.</translation>
    </message>
    <message>
        <source>No camera or memory card with photos was found. Connect the camera or insert the card, and then click Next again.</source>
        <extracomment>err_no_camera</extracomment>
        <translation>사진이 있는 카메라나 메모리 카드를 찾을 수 없습니다. 카메라를 연결하거나 카드를 넣은 후 다음을 다시 클릭하십시오.</translation>
    </message>
    <message>
        <source>Left out: the device gives this item a name that is not a plain file name</source>
        <extracomment>skip_camera_name</extracomment>
        <translation>제외됨: 장치에서 이 항목에 일반 파일 이름이 아닌 이름을 지정했습니다</translation>
    </message>
    <message>
        <source>Left out: it could not be copied from the camera or memory card</source>
        <extracomment>skip_camera_copy</extracomment>
        <translation>제외됨: 카메라 또는 메모리 카드에서 복사할 수 없습니다</translation>
    </message>
    <message>
        <source>Trust the new certificate</source>
        <extracomment>btn_trust_cert</extracomment>
        <translation>새 인증서 신뢰</translation>
    </message>
    <message>
        <source>The server %1 shows a different certificate than the one trusted before. Someone may be intercepting the connection, so nothing was sent.

Trusted certificate (SHA-256):
%2

New certificate (SHA-256):
%3

Trust the new certificate only if you have changed the server's certificate yourself.</source>
        <extracomment>err_cert_changed</extracomment>
        <translation>서버 %1이(가) 이전에 신뢰한 인증서와 다른 인증서를 제시했습니다. 누군가 연결을 가로채고 있을 수 있으므로 아무것도 전송하지 않았습니다.

신뢰한 인증서(SHA-256):
%2

새 인증서(SHA-256):
%3

서버의 인증서를 직접 변경한 경우에만 새 인증서를 신뢰하십시오.</translation>
    </message>
    <message>
        <source>Certificate</source>
        <extracomment>create_svr_cert</extracomment>
        <translation>인증서</translation>
    </message>
    <message>
        <source>Not trusted yet: the first HTTPS connection remembers it.</source>
        <extracomment>msg_cert_not_pinned</extracomment>
        <translation>아직 신뢰하지 않음: 첫 번째 HTTPS 연결 시 인증서를 기억합니다.</translation>
    </message>
    <message>
        <source>These items were left out: the upload list carries only files on this computer whose names hold no line break and are valid text.

%1</source>
        <extracomment>err_path_unlistable</extracomment>
        <translation>다음 항목은 제외되었습니다. 업로드 목록에는 이 컴퓨터에 있는 파일 중 이름에 줄 바꿈이 없고 유효한 텍스트인 파일만 포함할 수 있습니다.

%1</translation>
    </message>
    <message>
        <source>Pictarium Uploader could not be started: %1</source>
        <extracomment>err_start_program</extracomment>
        <translation>Pictarium Uploader를 시작할 수 없습니다: %1</translation>
    </message>
    <message>
        <source>Double-click a profile, or select it and press Enter, to upload with it.</source>
        <extracomment>editor_hint_upload</extracomment>
        <translation>프로필을 두 번 클릭하거나 선택한 후 Enter 키를 누르면 해당 프로필로 업로드합니다.</translation>
    </message>
    <message>
        <source>Create a profile for your Kestrabox to start uploading.</source>
        <extracomment>editor_empty_hint</extracomment>
        <translation>업로드를 시작하려면 Kestrabox용 프로필을 만드십시오.</translation>
    </message>
    <message>
        <source>Edit this profile (F2)</source>
        <extracomment>editor_tip_edit</extracomment>
        <translation>이 프로필 편집(F2)</translation>
    </message>
    <message>
        <source>Delete this profile (Del)</source>
        <extracomment>editor_tip_delete</extracomment>
        <translation>이 프로필 삭제(Del)</translation>
    </message>
    <message>
        <source>HTTPS: the connection is encrypted</source>
        <extracomment>editor_tip_https</extracomment>
        <translation>HTTPS: 연결이 암호화됨</translation>
    </message>
    <message>
        <source>Searching the network for servers...</source>
        <extracomment>create_svr_searching</extracomment>
        <translation>네트워크에서 서버를 검색하는 중...</translation>
    </message>
    <message>
        <source>not ready</source>
        <extracomment>create_svr_seen_not_ready</extracomment>
        <translation>준비되지 않음</translation>
    </message>
    <message>
        <source>Pictarium is not set up yet</source>
        <extracomment>create_svr_seen_not_installed</extracomment>
        <translation>Pictarium이 아직 설정되지 않음</translation>
    </message>
    <message>
        <source>too old for this program</source>
        <extracomment>create_svr_seen_unsupported</extracomment>
        <translation>이 프로그램에서 사용하기에 너무 오래됨</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <extracomment>create_svr_seen_unreachable</extracomment>
        <translation>연결할 수 없음</translation>
    </message>
    <message>
        <source>Already uploaded, not sent again</source>
        <extracomment>upload_finish_skipped</extracomment>
        <translation>이미 업로드됨, 다시 보내지 않음</translation>
    </message>
    <message>
        <source>Working on: %1</source>
        <extracomment>upload_prog_current</extracomment>
        <translation>처리 중: %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <extracomment>btn_copy</extracomment>
        <translation>복사</translation>
    </message>
    <message>
        <source>The help page could not be opened: %1</source>
        <extracomment>err_help_open</extracomment>
        <translation>도움말 페이지를 열 수 없습니다: %1</translation>
    </message>
    <message numerus="yes">
        <source>At most %n character(s)</source>
        <extracomment>create_svr_profname_limit</extracomment>
        <translation>
            <numerusform>최대 %n자</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <extracomment>upload_finish_files</extracomment>
        <translation>
            <numerusform>파일 %n개</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file(s)</source>
        <extracomment>upload_prog_count</extracomment>
        <translation>
            <numerusform>파일 %n개 중 %1개</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stop the upload? %n file(s) are on the server; the rest will not be sent.</source>
        <extracomment>upload_cfrm_stop</extracomment>
        <translation>
            <numerusform>업로드를 중지하시겠습니까? 파일 %n개가 이미 서버에 있으며, 나머지는 전송되지 않습니다.</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload new photos and videos from these folders automatically</source>
        <extracomment>watch_auto</extracomment>
        <translation>이 폴더의 새 사진과 동영상을 자동으로 업로드</translation>
    </message>
    <message>
        <source>Add…</source>
        <extracomment>watch_add</extracomment>
        <translation>추가…</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>watch_remove</extracomment>
        <translation>제거</translation>
    </message>
    <message>
        <source>Also tell me when an automatic upload went well</source>
        <extracomment>watch_notify</extracomment>
        <translation>자동 업로드가 성공했을 때도 알림</translation>
    </message>
    <message>
        <source>Automatic uploads need the password: turn on “Remember password”.</source>
        <extracomment>watch_needs_password</extracomment>
        <translation>자동 업로드에는 비밀번호가 필요합니다: "비밀번호 저장"을 켜십시오.</translation>
    </message>
    <message>
        <source>The automatic upload could not be turned on or off: %1</source>
        <extracomment>watch_tool_failed</extracomment>
        <translation>자동 업로드를 켜거나 끌 수 없습니다: %1</translation>
    </message>
    <message>
        <source>Automatic upload is on</source>
        <extracomment>watch_status_on</extracomment>
        <translation>자동 업로드가 켜져 있습니다</translation>
    </message>
    <message>
        <source>Last automatic upload %1: %2 sent, %3 skipped, %4 failed</source>
        <extracomment>watch_status_last</extracomment>
        <translation>마지막 자동 업로드 %1: 전송 %2, 건너뜀 %3, 실패 %4</translation>
    </message>
</context>
<context>
    <name>ErrorTableModel</name>
    <message>
        <source>File Name</source>
        <translation>파일 이름</translation>
    </message>
    <message>
        <source>Error Status</source>
        <translation>오류 상태</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Pictarium Uploader Profile List</source>
        <translation>Pictarium Uploader 프로필 목록</translation>
    </message>
</context>
<context>
    <name>ServerSettings</name>
    <message>
        <source>Pictarium Uplaoder Settings</source>
        <translation>Pictarium Uploader 설정</translation>
    </message>
</context>
</TS>
