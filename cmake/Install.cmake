# What `cmake --install` puts where, and the Debian package made from it (cpack -G DEB).
include(GNUInstallDirs)

# Folders the program finds relative to its own, wherever the prefix is.
set(PICTARIUM_LIBEXEC_SUBDIR "${CMAKE_INSTALL_LIBEXECDIR}/pictarium-uploader")
set(PICTARIUM_DATA_SUBDIR "${CMAKE_INSTALL_DATADIR}/pictarium-uploader")
file(RELATIVE_PATH PICTARIUM_LIBEXEC_FROM_BIN "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${PICTARIUM_LIBEXEC_SUBDIR}")
file(RELATIVE_PATH PICTARIUM_DATA_FROM_BIN "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${PICTARIUM_DATA_SUBDIR}")
target_compile_definitions(velm_core PRIVATE PICTARIUM_LIBEXEC_FROM_BIN="${PICTARIUM_LIBEXEC_FROM_BIN}"
                                             PICTARIUM_DATA_FROM_BIN="${PICTARIUM_DATA_FROM_BIN}")
target_compile_definitions(velm_ui PRIVATE PICTARIUM_DATA_FROM_BIN="${PICTARIUM_DATA_FROM_BIN}")

install(TARGETS pictarium-uploader pictarium-cli pictarium-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Lensway RUNTIME DESTINATION ${PICTARIUM_LIBEXEC_SUBDIR})

set(PICTARIUM_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
file(GLOB PICTARIUM_DESKTOP_ENTRIES CONFIGURE_DEPENDS ${PICTARIUM_DESKTOP_DIR}/*.desktop)
install(FILES ${PICTARIUM_DESKTOP_ENTRIES} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
file(GLOB PICTARIUM_METAINFO CONFIGURE_DEPENDS ${PICTARIUM_DESKTOP_DIR}/*.metainfo.xml)
install(FILES ${PICTARIUM_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PICTARIUM_DESKTOP_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN "*.png" PATTERN "*.svg")
if(EXISTS ${PICTARIUM_DESKTOP_DIR}/menus)
    install(DIRECTORY ${PICTARIUM_DESKTOP_DIR}/menus/ DESTINATION ${PICTARIUM_DATA_SUBDIR}/menus)
endif()
# The watcher's user service template names the terminal program by the prefix it is installed to.
install(CODE "
    set(PICTARIUM_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    configure_file(\"${PICTARIUM_DESKTOP_DIR}/pictarium-watch@.service.in\"
                   \"${PROJECT_BINARY_DIR}/install-units/pictarium-watch@.service\" @ONLY)
    file(INSTALL \"${PROJECT_BINARY_DIR}/install-units/pictarium-watch@.service\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/user\")
")
file(GLOB PICTARIUM_CATALOGUES ${PROJECT_SOURCE_DIR}/resources/translations/*.ts)
foreach(ts ${PICTARIUM_CATALOGUES})
    get_filename_component(code ${ts} NAME_WE)
    install(FILES ${PROJECT_BINARY_DIR}/src/${code}.qm DESTINATION ${PICTARIUM_DATA_SUBDIR}/translations)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/index.html DESTINATION ${PICTARIUM_DATA_SUBDIR}/help)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pictarium-uploader)

# The package: the tools the program runs are Debian packages of their own; the libraries it
# links are found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pictarium-uploader)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Uploads photos and videos to Pictarium, with thumbnails made on the PC")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora <packages@velmora.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "imagemagick, dcraw, ffmpeg, libqt6sql6-sqlite, qt6-qpa-plugins, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gphoto2, gnome-keyring, qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Uploads photos and videos from the PC to the Pictarium photo albums of a Kestrabox home server.\n\
Five JPEG thumbnails per photo (camera RAW included) and H.264/AAC copies of videos are made on\n\
the PC. Upload profiles, a history of uploaded files, servers found on the local network,\n\
camera import and file-manager menus.")
include(CPack)
