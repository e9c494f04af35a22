# Read by CPack for each generator: the installer is told apart from the zip by its name,
# and the zip holds one folder, named like the zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
else()
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
