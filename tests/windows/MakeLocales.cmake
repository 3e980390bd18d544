# Compiles the Unix locales the Wine tests choose their Windows locale with into DIR (LOCPATH).
# Wine takes its ANSI code page and its user locale from the Unix locale (LC_ALL, LANG), and only
# from one that glibc can load; a build machine usually has none but C. Built once per build
# folder, from the definitions of Debian's `locales` package.
#   cmake -DDIR=<folder> -DLOCALES="zh_CN|ru_RU" -P MakeLocales.cmake
find_program(LOCALEDEF localedef REQUIRED)
string(REPLACE "|" ";" locales "${LOCALES}")
foreach(locale IN LISTS locales)
    set(target ${DIR}/${locale}.UTF-8)
    if(EXISTS ${target}/LC_CTYPE)
        continue()
    endif()
    file(MAKE_DIRECTORY ${DIR})
    execute_process(COMMAND ${LOCALEDEF} -i ${locale} -f UTF-8 ${target}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT EXISTS ${target}/LC_CTYPE)
        message(FATAL_ERROR "localedef ${locale}.UTF-8 failed (${status}): ${output}\n"
            "(its definitions come with Debian's package locales, see scripts/install-deps)")
    endif()
endforeach()
