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
