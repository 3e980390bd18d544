# Settings of the Windows build (cross-compiled with mingw-w64, tests run through Wine).

# CM_Register_Notification's types and CancelIoEx need Windows 8 or later headers.
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
        set(TAVLIN_TEST_ENVIRONMENT "WINEPREFIX=${TAVLIN_WINEPREFIX}" "WINEDEBUG=-all"
            "WINEDLLOVERRIDES=mscoree,mshtml=")
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
