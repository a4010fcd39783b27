# Installing lays out the program folder: both programs and every file they read beside
# themselves, in one folder that the user can write to, as the program rewrites its settings
# file there. The install prefix is that folder.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    # A system folder such as /usr/local is neither the user's to write nor a program folder.
    if(WIN32)
        file(TO_CMAKE_PATH "$ENV{USERPROFILE}/ferolan" default_program_folder)
    else()
        set(default_program_folder "$ENV{HOME}/ferolan")
    endif()
    set(CMAKE_INSTALL_PREFIX ${default_program_folder} CACHE PATH "The program folder" FORCE)
endif()

install(TARGETS ferolan ferolan-batch RUNTIME DESTINATION .)

# The program's own files, brought up to date by every install.
install(FILES
    ${PROJECT_SOURCE_DIR}/data/aggiorna_export_tgo.txt
    ${PROJECT_SOURCE_DIR}/data/ferolan.html
    ${PROJECT_SOURCE_DIR}/data/leggimi.txt
    DESTINATION .)

# The archive folder that the settings template names; the program never creates it.
install(DIRECTORY DESTINATION archivio)

# The settings file and the code table are the user's once installed: written only when
# absent. A package does not know where it will be unpacked, so its settings file names no
# archive folder yet.
configure_file(${CMAKE_CURRENT_LIST_DIR}/install_user_files.cmake.in
    ${CMAKE_BINARY_DIR}/install_user_files.cmake @ONLY)
install(SCRIPT ${CMAKE_BINARY_DIR}/install_user_files.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/package_user_files.cmake.in
    ${CMAKE_BINARY_DIR}/package_user_files.cmake @ONLY)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME ferolan)
set(CPACK_PACKAGE_VENDOR "Ferolan")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Da un lavoro GPS esportato da TGO al libretto Pregeo")
# Each version unpacks into a folder of its own, so unpacking never overwrites the settings
# file, the code table or the archive of an earlier version.
set(CPACK_PACKAGE_FILE_NAME "ferolan-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_INSTALL_SCRIPTS ${CMAKE_BINARY_DIR}/package_user_files.cmake)
include(CPack)
