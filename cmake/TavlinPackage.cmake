# What `cmake --install` puts beside the programs, and the Debian package CPack makes of it
# (scripts/package). The package installs into /usr; the udev rules go to Debian's udev folder,
# because package-owned rules do not belong in /etc.
install(FILES res/udev/60-tavlin.rules DESTINATION /lib/udev/rules.d)

install(FILES res/desktop/org.tavlin.Tavlin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES res/metainfo/org.tavlin.Tavlin.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/icons/tavlin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    install(FILES res/icons/tavlin-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tavlin.png)
endforeach()

# Debian wants manual pages and the changelog compressed, reproducibly (gzip -n: no time stamp).
set(TAVLIN_DEB_RELEASE 1)
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

install(FILES ${TAVLIN_PACKAGE_STAGE}/tavlin.1.gz ${TAVLIN_PACKAGE_STAGE}/tavlin-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES res/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavlin)
install(FILES ${TAVLIN_PACKAGE_STAGE}/changelog.Debian.in.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavlin RENAME changelog.Debian.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavlin)
set(CPACK_PACKAGE_VENDOR "Tavlin developers")
set(CPACK_PACKAGE_CONTACT "${TAVLIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "production and service tool for an optical touch device")
# CPack puts the summary first and indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Tavlin levels the optical modules of the touch device with two image
sensors (Master and Slave) attached over USB HID, calibrates its touch
surface, updates its firmware images and switches it between work mode
and calibration mode.

The package holds the window (tavlin), the headless front end for
production lines and service scripts (tavlin-cli), the language files
and the udev rules that give the user at the seat and the plugdev group
access to the device.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAVLIN_DEB_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in the user's language; the program runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/res/debian/postinst ${PROJECT_SOURCE_DIR}/res/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
