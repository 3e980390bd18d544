# The Windows zip: tavlin-cli.exe, the language files and the toolchain's runtime DLLs, all in
# bin/ (Windows looks for a program's DLLs beside it). `cpack --preset windows` after a build.
tavlin_mingw_runtime_dlls(TAVLIN_RUNTIME_DLLS)
install(FILES ${TAVLIN_RUNTIME_DLLS} DESTINATION bin)
# The same DLLs beside the built executable, so bin/tavlin-cli.exe runs where it was built.
file(COPY ${TAVLIN_RUNTIME_DLLS} DESTINATION ${CMAKE_BINARY_DIR}/bin)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME "tavlin-cli")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME "windows-x86_64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
