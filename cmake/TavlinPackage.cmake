# What `cmake --install` puts beside the programs, and the Debian packages CPack makes of it
# (scripts/package). Two packages, so a station without a display gets the CLI without the
# window's libraries: tavlin-cli (component cli: the CLI, the language files and the udev rules
# both programs use) and tavlin (component window: the window, its desktop files and icons),
# which depends on tavlin-cli. They install into /usr; the udev rules go to Debian's udev folder,
# because package-owned rules do not belong in /etc.
install(FILES res/udev/60-tavlin.rules DESTINATION /lib/udev/rules.d COMPONENT cli)
# Each package tells software centres which program it brings and which device it serves.
install(FILES res/metainfo/org.tavlin.TavlinCli.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT cli)

install(FILES res/desktop/org.tavlin.Tavlin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
install(FILES res/metainfo/org.tavlin.Tavlin.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
install(FILES res/icons/tavlin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT window)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    install(FILES res/icons/tavlin-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tavlin.png COMPONENT window)
endforeach()

# Debian wants manual pages and the changelog compressed, reproducibly (gzip -n: no time stamp).
# Release 2 moved the CLI, the language files and the udev rules out of tavlin into tavlin-cli.
set(TAVLIN_DEB_RELEASE 2)
set(TAVLIN_DEB_VERSION "${PROJECT_VERSION}-${TAVLIN_DEB_RELEASE}")
set(TAVLIN_MAINTAINER "Tavlin developers <tavlin@example.org>")
set(TAVLIN_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package-files)
configure_file(res/debian/changelog.in ${TAVLIN_PACKAGE_STAGE}/changelog.Debian @ONLY)

set(TAVLIN_COMPRESSED_FILES)
function(tavlin_gzip source name)
    set(out ${TAVLIN_PACKAGE_STAGE}/${name}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${TAVLIN_PACKAGE_STAGE}/${name}
        COMMAND gzip -9nf ${TAVLIN_PACKAGE_STAGE}/${name}
        DEPENDS ${source}
        VERBATIM)
    set(TAVLIN_COMPRESSED_FILES ${TAVLIN_COMPRESSED_FILES} ${out} PARENT_SCOPE)
endfunction()
tavlin_gzip(${PROJECT_SOURCE_DIR}/res/man/tavlin.1 tavlin.1)
tavlin_gzip(${PROJECT_SOURCE_DIR}/res/man/tavlin-cli.1 tavlin-cli.1)
tavlin_gzip(${TAVLIN_PACKAGE_STAGE}/changelog.Debian changelog.Debian.in)
add_custom_target(tavlin_package_files ALL DEPENDS ${TAVLIN_COMPRESSED_FILES})

# Each package carries its manual page, the copyright and the changelog in its own doc folder.
install(FILES ${TAVLIN_PACKAGE_STAGE}/tavlin-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT cli)
install(FILES ${TAVLIN_PACKAGE_STAGE}/tavlin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT window)
foreach(pair IN ITEMS "cli|tavlin-cli" "window|tavlin")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 component)
    list(GET pair 1 package)
    install(FILES res/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
            COMPONENT ${component})
    install(FILES ${TAVLIN_PACKAGE_STAGE}/changelog.Debian.in.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} RENAME changelog.Debian.gz
            COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli window)
set(CPACK_PACKAGE_NAME tavlin)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME tavlin-cli)
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME tavlin)
# Both come from one source; lintian reads the changelog against it.
set(CPACK_DEBIAN_PACKAGE_SOURCE tavlin)
set(CPACK_PACKAGE_VENDOR "Tavlin developers")
set(CPACK_PACKAGE_CONTACT "${TAVLIN_MAINTAINER}")
# The first line of each is the package's summary; CPack indents the others itself.
set(CPACK_DEBIAN_CLI_DESCRIPTION "\
production and service tool for an optical touch device (command line)
Tavlin levels the optical modules of the touch device with two image
sensors (Master and Slave) attached over USB HID, calibrates its touch
surface, updates its firmware images and switches it between work mode
and calibration mode.

This package holds the headless front end for production lines and
service scripts (tavlin-cli), which needs no display, the language files
and the udev rules that give the user at the seat and the plugdev group
access to the device.")
set(CPACK_DEBIAN_WINDOW_DESCRIPTION "\
production and service tool for an optical touch device
Tavlin levels the optical modules of the touch device with two image
sensors (Master and Slave) attached over USB HID, calibrates its touch
surface, updates its firmware images and switches it between work mode
and calibration mode.

This package holds the window (tavlin). The command line front end, the
language files and the device's udev rules come with tavlin-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAVLIN_DEB_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Each package's libraries are computed from its own binaries: tavlin-cli's hold no Qt.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window runs the language files and rules of the very same build; both Depends lists get the
# computed libraries added.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "tavlin-cli (= ${TAVLIN_DEB_VERSION})")
# Release 1 of tavlin held the CLI's files: tavlin-cli takes them over on an upgrade.
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "tavlin (<< ${PROJECT_VERSION}-2)")
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "tavlin (<< ${PROJECT_VERSION}-2)")
# Qt's own dialogs in the user's language; the window runs without them.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The udev rules are tavlin-cli's, and so are the scripts that apply them.
set(CPACK_DEBIAN_CLI_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/res/debian/postinst ${PROJECT_SOURCE_DIR}/res/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
