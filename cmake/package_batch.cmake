# The Windows package of ferolan-batch: the program, the code table, a settings template and
# the help page, unpacking into a folder of its own (ferolan-batch-<version>-win64.zip).
install(TARGETS ferolan-batch RUNTIME DESTINATION .)
install(FILES
    ${PROJECT_SOURCE_DIR}/data/ferolan.html
    ${PROJECT_SOURCE_DIR}/data/leggimi.txt
    DESTINATION .)
configure_file(${CMAKE_CURRENT_LIST_DIR}/install_user_files.cmake.in
    ${CMAKE_BINARY_DIR}/install_user_files.cmake @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/package_user_files.cmake.in
    ${CMAKE_BINARY_DIR}/package_user_files.cmake @ONLY)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ferolan-batch)
set(CPACK_PACKAGE_VENDOR "Ferolan")
set(CPACK_PACKAGE_FILE_NAME "ferolan-batch-${PROJECT_VERSION}-win64")
set(CPACK_INSTALL_SCRIPTS ${CMAKE_BINARY_DIR}/package_user_files.cmake)
include(CPack)
