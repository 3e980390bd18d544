# Compiles through ccache when the machine has it, so a build folder made afresh (every CI run
# clones the tree anew, often into another folder) recompiles only what changed. The cache lives
# outside the tree, in ccache's own folder (~/.cache/ccache), like the Qt for Windows build.
#
# Paths under the source root are hashed relative to it, and the build folder is left out of
# the hash, so two clones in different folders share their entries. A fresh clone's files are
# all newer than the cache; the sloppiness keeps ccache from distrusting them for that.
# TAVLIN_CCACHE=OFF compiles without it.
function(tavlin_use_ccache source_root)
    option(TAVLIN_CCACHE "Compile through ccache when it is installed" ON)
    if(NOT TAVLIN_CCACHE)
        return()
    endif()
    find_program(TAVLIN_CCACHE_PROGRAM ccache)
    if(NOT TAVLIN_CCACHE_PROGRAM)
        return()
    endif()
    set(launcher ${CMAKE_COMMAND} -E env
        CCACHE_BASEDIR=${source_root}
        CCACHE_NOHASHDIR=1
        CCACHE_SLOPPINESS=include_file_mtime,include_file_ctime,pch_defines,time_macros
        ${TAVLIN_CCACHE_PROGRAM})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher} PARENT_SCOPE)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher} PARENT_SCOPE)
endfunction()
