# Writes VERSION (MAJOR.MINOR.PATCH, from project(VERSION)) into the version
# macros of the public header HEADER, which stays a plain file to install.
#   cmake -DHEADER=include/hovrel.h -DVERSION=1.2.3 -P hovrel_version_macros.cmake
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "version ${VERSION} is not MAJOR.MINOR.PATCH")
endif()
set(major ${CMAKE_MATCH_1})
set(minor ${CMAKE_MATCH_2})
set(patch ${CMAKE_MATCH_3})
if(minor GREATER 999 OR patch GREATER 999)
    message(FATAL_ERROR "version ${VERSION}: MINOR and PATCH must stay below 1000")
endif()
math(EXPR number "${major} * 1000000 + ${minor} * 1000 + ${patch}")

file(READ ${HEADER} text)
set(updated "${text}")
foreach(macro_value IN ITEMS "HOVREL_VERSION|\"${VERSION}\"" "HOVREL_VERSION_MAJOR|${major}"
                             "HOVREL_VERSION_MINOR|${minor}" "HOVREL_VERSION_PATCH|${patch}"
                             "HOVREL_VERSION_NUMBER|${number}")
    string(REPLACE "|" ";" macro_value "${macro_value}")
    list(GET macro_value 0 macro)
    list(GET macro_value 1 value)
    set(pattern "\n#define ${macro} [^\n]*\n")
    if(NOT updated MATCHES "${pattern}")
        message(FATAL_ERROR "${HEADER} has no line #define ${macro}")
    endif()
    string(REGEX REPLACE "${pattern}" "\n#define ${macro} ${value}\n" updated "${updated}")
endforeach()

if(NOT updated STREQUAL text)
    file(WRITE ${HEADER} "${updated}")
    message(STATUS "${HEADER}: version ${VERSION}")
endif()
