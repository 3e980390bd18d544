# The icon and the version information of a Windows executable: a resource file made from
# res/windows/version.rc.in for the target and compiled in with the mingw resource compiler.
function(tavlin_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    set(TAVLIN_RC_NAME ${target})
    set(TAVLIN_RC_FILE ${target}.exe)
    set(TAVLIN_RC_DESCRIPTION "${description}")
    set(TAVLIN_RC_ICON ${PROJECT_SOURCE_DIR}/res/icons/tavlin.ico)
    # 0.98 has no patch number; a minor of 98 becomes 0.98.0.0.
    set(TAVLIN_RC_MINOR ${PROJECT_VERSION_MINOR})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/res/windows/version.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TAVLIN_RC_ICON})
    target_sources(${target} PRIVATE ${rc})
endfunction()
