# Installs the program as a desktop application (binary, desktop entry, icons, AppStream
# Installs the program as a desktop application (binary, desktop entry, icons, AppStream
# metainfo, manual page) and describes its Debian package: `cpack -G DEB` in the build
# directory.
include(GNUInstallDirs)

# Desktops match the running windows to the desktop entry by SP_APP_ID (set at the top of
# the project), so the entry, its icon and the metainfo are named after it.
set(sp_assets ${PROJECT_SOURCE_DIR}/assets)
set(sp_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(SP_PACKAGE_MAINTAINER "The study-proposal developers <study-proposal@example.org>"
    CACHE STRING "Maintainer of the Debian package, as: name <e-mail>")

# The desktop entry, the metainfo, the manual page and the package's changelog are filled
# in from the project's identity, so the id, the homepage, the version and the release date
# are written in one place each.
string(REGEX REPLACE "\\.[^.]*$" "" SP_DEVELOPER_ID "${SP_APP_ID}") # its reverse domain
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -R -d "${SP_RELEASE_DATE} 12:00"
    OUTPUT_VARIABLE SP_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
set(sp_generated ${PROJECT_BINARY_DIR}/assets)
configure_file(${sp_assets}/study-proposal.desktop.in ${sp_generated}/${SP_APP_ID}.desktop @ONLY)
configure_file(${sp_assets}/study-proposal.metainfo.xml.in ${sp_generated}/${SP_APP_ID}.metainfo.xml
    @ONLY)
# Debian keeps manual pages and changelogs compressed, without name or time stamp.
set(sp_compressed)
foreach(doc study-proposal.1 changelog)
    configure_file(${sp_assets}/${doc}.in ${sp_generated}/${doc} @ONLY)
    add_custom_command(OUTPUT ${sp_generated}/${doc}.gz
        COMMAND gzip -9nkf ${doc} DEPENDS ${sp_generated}/${doc} WORKING_DIRECTORY ${sp_generated}
        VERBATIM)
    list(APPEND sp_compressed ${sp_generated}/${doc}.gz)
endforeach()
add_custom_target(sp_compressed_docs ALL DEPENDS ${sp_compressed})

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows/packaging.cmake)
else()
    # qt_standard_project_setup() adds $ORIGIN and $ORIGIN/../lib to the install runpath for
    # bundled shared libraries. The program installs none, and a runpath on a binary in
    # /usr/bin makes the loader search there before the system paths (lintian rejects it).
    get_target_property(sp_rpath study-proposal INSTALL_RPATH)
    if(sp_rpath)
        list(FILTER sp_rpath EXCLUDE REGEX "^\\$ORIGIN")
        set_target_properties(study-proposal PROPERTIES INSTALL_RPATH "${sp_rpath}")
    endif()

    install(TARGETS study-proposal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${sp_generated}/${SP_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${sp_generated}/${SP_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${sp_generated}/study-proposal.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    foreach(size 16 24 32 48 64 128 192 256 512)
        install(FILES ${sp_assets}/future-${size}.png DESTINATION ${sp_icons}/${size}x${size}/apps
            RENAME ${SP_APP_ID}.png)
    endforeach()
    install(FILES ${sp_assets}/future.svg DESTINATION ${sp_icons}/scalable/apps RENAME ${SP_APP_ID}.svg)
    # The licence asks for its notice in every copy; Debian looks for it under this name.
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
    install(FILES ${sp_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME study-proposal)
set(CPACK_PACKAGE_VENDOR "${SP_DEVELOPER_NAME}")
set(CPACK_PACKAGE_CONTACT "${SP_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian shows the long description as typed: keep its lines short.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A desktop tool for students of architecture and urban design. Two windows"
    "hold the same matrix of six aspects by 22 scale levels: Future marks the"
    "probable trends up to a time horizon, Object and impact marks the object of"
    "study, its motivation and its unintended impacts. From both it writes a"
    "chapter template for a study proposal.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# A source package (cpack --config CPackSourceConfig.cmake) leaves out what git ignores.
# CPack writes these into its config file, so a literal dot takes four backslashes here.
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/\\\\.git/"
    "^${PROJECT_SOURCE_DIR}/build[^/]*/" "/__pycache__/" "/StudyProposal\\\\.txt$"
    "\\\\.png\\\\.tmp$")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SP_HOMEPAGE}")
# dpkg-shlibdeps (dpkg-dev) adds the libraries the binary links, with their versions. Qt
# loads its platform plugins and the system fonts only at run time, so those are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")

include(CPack)
