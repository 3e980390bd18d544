# Cross build for 64-bit Windows with Debian's mingw-w64, posix thread model (std::thread and
# std::mutex need it). Test executables run through Wine (see cmake/WindowsCross.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVLIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVLIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVLIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVLIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVLIN_MINGW_PREFIX})
# Programs (lrelease, wine) are host tools; headers and libraries only from the target's root.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C libraries scripts/build-windows-libs makes once per machine (libsodium, SQLite, libpq),
# or the folder named by TAVLIN_WINDOWS_LIBS. Without them the build leaves out what needs them.
if(DEFINED ENV{TAVLIN_WINDOWS_LIBS})
    set(TAVLIN_WINDOWS_LIBS $ENV{TAVLIN_WINDOWS_LIBS})
else()
    execute_process(
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/build-windows-libs --print-prefix
        OUTPUT_VARIABLE tavlin_windows_libs OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE tavlin_windows_libs_built)
    if(tavlin_windows_libs_built EQUAL 0)
        set(TAVLIN_WINDOWS_LIBS ${tavlin_windows_libs})
    endif()
endif()
if(TAVLIN_WINDOWS_LIBS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${TAVLIN_WINDOWS_LIBS})
endif()
