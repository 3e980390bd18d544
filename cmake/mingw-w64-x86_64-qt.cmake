# The Windows cross build with the window: the mingw-w64 toolchain plus the Qt for Windows that
# scripts/build-qt-windows builds once per machine (or the one named by TAVLIN_QT_WINDOWS).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

if(DEFINED ENV{TAVLIN_QT_WINDOWS})
    set(TAVLIN_QT_WINDOWS $ENV{TAVLIN_QT_WINDOWS})
else()
    execute_process(
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/build-qt-windows --print-prefix
        OUTPUT_VARIABLE TAVLIN_QT_WINDOWS OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE built)
    if(NOT built EQUAL 0)
        message(FATAL_ERROR "Qt for Windows is not built yet (${TAVLIN_QT_WINDOWS}): run "
            "scripts/build-qt-windows, or configure the `windows-cli` preset for the build "
            "without the window")
    endif()
endif()
# The toolchain searches the target's root only; Qt's packages live under its own prefix. Moc,
# uic, rcc and lrelease come from the host's Qt of the same version.
list(APPEND CMAKE_FIND_ROOT_PATH ${TAVLIN_QT_WINDOWS})
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
