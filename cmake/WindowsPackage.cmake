# The Windows packages: an NSIS installer (Tavlin-<version>-win64-setup.exe, with a Start-menu
# entry and an uninstaller) and a zip of the same files for a run without installing. Everything
# goes into bin/ (Windows looks for a program's DLLs beside it), Qt's plugins into the folders
# below it where Qt looks for them. `cpack --preset windows` after a build.
tavlin_mingw_runtime_dlls(TAVLIN_RUNTIME_DLLS)
install(FILES ${TAVLIN_RUNTIME_DLLS} DESTINATION bin)
# The same DLLs beside the built executables, so bin/*.exe run where they were built.
file(COPY ${TAVLIN_RUNTIME_DLLS} DESTINATION ${CMAKE_BINARY_DIR}/bin)
if(TAVLIN_GUI)
    include(cmake/WindowsQtDeploy.cmake)
endif()

set(CPACK_GENERATOR ZIP NSIS)
# One installer and one zip with everything: the programs' install rules name the components the
# Debian packages are split by, which must not turn into choices in the installer.
set(CPACK_MONOLITHIC_INSTALL ON)
set(CPACK_PACKAGE_NAME "Tavlin")
set(CPACK_PACKAGE_VENDOR "Tavlin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Production and service tool for the optical touch device")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tavlin")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Tavlin")
set(CPACK_SYSTEM_NAME "win64")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/TavlinCPackOptions.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} [=[
# Per generator: the zip keeps its top folder; the installer is named as a setup program.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "Tavlin-${CPACK_PACKAGE_VERSION}-win64-setup")
else()
    set(CPACK_PACKAGE_FILE_NAME "Tavlin-${CPACK_PACKAGE_VERSION}-win64")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
]=])

set(CPACK_NSIS_PACKAGE_NAME "Tavlin")  # also the Start-menu folder's name
set(CPACK_NSIS_DISPLAY_NAME "Tavlin ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/icons/tavlin.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/icons/tavlin.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\tavlin-cli.exe")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for 64-bit programs: it runs where they run, Wine's 64-bit prefix included.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_UNINSTALL_NAME "Uninstall")
if(TAVLIN_GUI)
    # The Start-menu entry opens the window.
    set(CPACK_PACKAGE_EXECUTABLES "tavlin;Tavlin")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\tavlin.exe")
endif()
include(CPack)
