# What the window needs of Qt for Windows at run time, installed with it and copied beside the
# built executables: the Qt DLLs it links, the platform plugins (windows for people, offscreen for
# the tests), the Windows styles, and Qt's own translations of its dialogs.
get_target_property(tavlin_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT tavlin_qt_core_dll)
    get_target_property(tavlin_qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(TAVLIN_QT_BIN ${tavlin_qt_core_dll} DIRECTORY)
get_filename_component(TAVLIN_QT_PREFIX ${TAVLIN_QT_BIN} DIRECTORY)
set(TAVLIN_QT_PLUGINS ${TAVLIN_QT_PREFIX}/plugins)

set(tavlin_qt_dlls)
foreach(module IN ITEMS Core Gui Widgets)
    list(APPEND tavlin_qt_dlls ${TAVLIN_QT_BIN}/Qt6${module}.dll)
endforeach()
set(tavlin_qt_platforms ${TAVLIN_QT_PLUGINS}/platforms/qwindows.dll)
set(tavlin_qt_styles)
file(GLOB tavlin_qt_styles ${TAVLIN_QT_PLUGINS}/styles/*.dll)
foreach(file IN LISTS tavlin_qt_dlls tavlin_qt_platforms)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "Qt for Windows lacks ${file}")
    endif()
endforeach()

install(FILES ${tavlin_qt_dlls} DESTINATION bin)
install(FILES ${tavlin_qt_platforms} DESTINATION bin/platforms)
install(FILES ${tavlin_qt_styles} DESTINATION bin/styles)
# Qt's texts (file dialogs, message boxes) in the languages Debian translates them into, the same
# files the Debian package relies on; they are platform-neutral .qm files. Qt looks for them in
# translations/ of its prefix. A QtCore DLL beside the executable with no import library next
# to it makes Qt take the executable's own folder as its prefix (the layout of a deployed
# program), so they go to bin/translations.
set(tavlin_qt_translations)
foreach(language IN ITEMS zh_CN fr ru)
    set(qm /usr/share/qt6/translations/qtbase_${language}.qm)
    if(EXISTS ${qm})
        list(APPEND tavlin_qt_translations ${qm})
    else()
        message(WARNING "${qm} not found (Debian package qt6-translations-l10n)")
    endif()
endforeach()
install(FILES ${tavlin_qt_translations} DESTINATION bin/translations)

# Beside the built programs too, with the Test DLL and the offscreen plugin for the test
# programs, so they run under Wine from the build folder as installed ones do.
file(COPY ${tavlin_qt_dlls} ${TAVLIN_QT_BIN}/Qt6Test.dll DESTINATION ${CMAKE_BINARY_DIR}/bin)
file(COPY ${tavlin_qt_platforms} ${TAVLIN_QT_PLUGINS}/platforms/qoffscreen.dll
    DESTINATION ${CMAKE_BINARY_DIR}/bin/platforms)
file(COPY ${tavlin_qt_styles} DESTINATION ${CMAKE_BINARY_DIR}/bin/styles)
file(COPY ${tavlin_qt_translations} DESTINATION ${CMAKE_BINARY_DIR}/bin/translations)
