# Settings of the Windows build (cross-compiled with mingw-w64, tests run through Wine).

# CancelIoEx needs Windows Vista or later headers; the build targets Windows 10.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX UNICODE
    _UNICODE)
# The C99 printf family (%zu, %lld) as on Linux; the log's format checks assume it.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)

# GoogleTest from Debian's source package, built with the same toolchain (nothing is downloaded).
set(TAVLIN_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${TAVLIN_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${TAVLIN_GOOGLETEST_SOURCE} "
        "(Debian package googletest, see scripts/install-deps)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${TAVLIN_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Test executables run under Wine, in a prefix of the build's own so nothing of the user's
# ~/.wine is touched. Test programs are linked statically: they need no DLL search path.
if(CMAKE_CROSSCOMPILING)
    find_program(TAVLIN_WINE NAMES wine wine64 wine-stable)
    if(TAVLIN_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVLIN_WINE})
        set(TAVLIN_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix of the tests")
        # A Windows program started from Linux has no console, so Qt would send its messages
        # and QtTest its results to the debugger; this keeps them on the test's output. (Wine
        # passes the host's QT_* variables only under a WINE prefix.)
        set(TAVLIN_TEST_ENVIRONMENT "WINEPREFIX=${TAVLIN_WINEPREFIX}" "WINEDEBUG=-all"
            "WINEDLLOVERRIDES=mscoree,mshtml=" "WINEQT_FORCE_STDERR_LOGGING=1"
            "WINEQT_QPA_FONTDIR=${CMAKE_BINARY_DIR}/test-fonts")
        # Qt's offscreen platform on Windows reads its fonts from one folder rather than
        # through fontconfig: the fonts the Linux tests measure their texts with (Latin and
        # Cyrillic, and Chinese), so the windows' texts are measured the same under Wine.
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-fonts)
        foreach(font IN ITEMS dejavu/DejaVuSans.ttf dejavu/DejaVuSans-Bold.ttf
                wqy/wqy-microhei.ttc)
            get_filename_component(name ${font} NAME)
            if(EXISTS /usr/share/fonts/truetype/${font})
                file(CREATE_LINK /usr/share/fonts/truetype/${font}
                    ${CMAKE_BINARY_DIR}/test-fonts/${name} SYMBOLIC)
            else()
                message(WARNING "/usr/share/fonts/truetype/${font} not found: the window's "
                    "text-fit tests under Wine measure with other fonts")
            endif()
        endforeach()
    else()
        message(WARNING "wine not found: the Windows tests are built but cannot run here")
    endif()
endif()

# The runtime DLLs of the mingw toolchain that tavlin-cli.exe loads, found beside the compiler.
function(tavlin_mingw_runtime_dlls out)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
        OUTPUT_VARIABLE stdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
        OUTPUT_VARIABLE gcc OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
        OUTPUT_VARIABLE winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(dlls)
    foreach(dll IN ITEMS ${stdcxx} ${gcc} ${winpthread})
        if(NOT IS_ABSOLUTE ${dll} OR NOT EXISTS ${dll})
            message(FATAL_ERROR "mingw runtime DLL not found: ${dll}")
        endif()
        list(APPEND dlls ${dll})
    endforeach()
    set(${out} ${dlls} PARENT_SCOPE)
endfunction()

# The C libraries scripts/build-windows-libs makes once per machine (libsodium, SQLite, libpq),
# or the folder named by TAVLIN_WINDOWS_LIBS; without them the build leaves out what needs them.
# (Not in the toolchain file: that file's text names Qt for Windows' cache folder.)
if(DEFINED ENV{TAVLIN_WINDOWS_LIBS})
    set(TAVLIN_WINDOWS_LIBS $ENV{TAVLIN_WINDOWS_LIBS})
else()
    execute_process(
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-windows-libs --print-prefix
        OUTPUT_VARIABLE tavlin_windows_libs OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE tavlin_windows_libs_built)
    if(tavlin_windows_libs_built EQUAL 0)
        set(TAVLIN_WINDOWS_LIBS ${tavlin_windows_libs})
    endif()
endif()
if(TAVLIN_WINDOWS_LIBS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${TAVLIN_WINDOWS_LIBS})
endif()
