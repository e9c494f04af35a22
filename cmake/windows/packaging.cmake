# The Windows program, cross-built with MinGW-w64: installs into one folder (the .exe, the
# DLLs it loads, its Qt plugins, the licences), which `cpack` in the build directory packs
# as a portable zip and as an NSIS installer.

# The Qt for Windows this build found: <prefix>/lib/cmake/Qt6.
get_filename_component(sp_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
# The compiler's own runtime DLLs (libstdc++, libgcc) sit in its version's folder.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE sp_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(sp_mingw_runtime "${sp_libstdcxx}" DIRECTORY)
set(sp_mingw_lib /usr/x86_64-w64-mingw32/lib)
find_program(SP_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)

# The licence of each shipped piece under its own name: Debian's copyright files of the
# MinGW-w64 runtime (GCC's runtime library exception; winpthreads), Qt's own texts and
# those of the libraries Qt bundles (collected by scripts/windows into the Qt prefix).
set(sp_licenses ${PROJECT_BINARY_DIR}/licenses)
configure_file(/usr/share/doc/gcc-mingw-w64-base/copyright
    ${sp_licenses}/mingw-w64-gcc-runtime.txt COPYONLY)
configure_file(/usr/share/doc/mingw-w64-x86-64-dev/copyright
    ${sp_licenses}/mingw-w64-runtime.txt COPYONLY)
if(NOT EXISTS ${sp_qt_prefix}/licenses/qtbase)
    message(FATAL_ERROR "${sp_qt_prefix}/licenses/qtbase is missing: build Qt with scripts/windows")
endif()

# The native look: Qt 6.4 builds its Windows style as windowsvista, Qt 6.8 as modernwindows.
file(GLOB sp_styles RELATIVE ${sp_qt_prefix}/plugins ${sp_qt_prefix}/plugins/styles/*.dll)
if(NOT sp_styles)
    message(FATAL_ERROR "No Windows style plugin in ${sp_qt_prefix}/plugins/styles")
endif()

install(TARGETS study-proposal RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses RENAME study-proposal.txt)
install(CODE "
    set(SP_OBJDUMP \"${SP_OBJDUMP}\")
    set(SP_STRIP \"${CMAKE_STRIP}\")
    set(SP_QT_PREFIX \"${sp_qt_prefix}\")
    set(SP_DLL_DIRS \"${sp_qt_prefix}/bin;${sp_mingw_runtime};${sp_mingw_lib}\")
    set(SP_PLUGINS \"platforms/qwindows.dll;${sp_styles}\")
    set(SP_LICENSES \"^q[^/]*\\\\.dll$;${sp_qt_prefix}/licenses/qtbase;^lib(stdc\\\\+\\\\+|gcc_s)[^/]*\\\\.dll$;${sp_licenses}/mingw-w64-gcc-runtime.txt;^libwinpthread-1\\\\.dll$;${sp_licenses}/mingw-w64-runtime.txt\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/deploy.cmake)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME study-proposal-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${SP_DISPLAY_NAME}")
set(CPACK_PACKAGE_EXECUTABLES study-proposal "${SP_DISPLAY_NAME}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack-names.cmake)
set(CPACK_NSIS_PACKAGE_NAME "${SP_DISPLAY_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${SP_DISPLAY_NAME}")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME study-proposal.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/future.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/future.ico)
set(CPACK_NSIS_URL_INFO_ABOUT "${SP_HOMEPAGE}")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for a 64-bit program (Debian's NSIS has the stubs and plugins).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
# "Open with" lists the program for text files, and hands it the file chosen.
set(sp_app_key "Software\\\\Classes\\\\Applications\\\\study-proposal.exe")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    WriteRegStr SHCTX '${sp_app_key}' 'FriendlyAppName' '${SP_DISPLAY_NAME}'
    WriteRegStr SHCTX '${sp_app_key}\\\\SupportedTypes' '.txt' ''
    WriteRegStr SHCTX '${sp_app_key}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\study-proposal.exe\\\" \\\"%1\\\"'
")
# CPack's uninstaller leaves the vendor's key behind, empty.
set(sp_vendor_key "Software\\\\${SP_DEVELOPER_NAME}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
    DeleteRegKey SHCTX '${sp_app_key}'
    DeleteRegKey SHCTX '${sp_vendor_key}\\\\${SP_DISPLAY_NAME}'
    DeleteRegKey /ifempty SHCTX '${sp_vendor_key}'
")
