# The Windows target of mingw-w64-x86_64.cmake, compiled by Debian's clang
# against the MinGW-w64 headers and libraries and GCC's posix libstdc++.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${HOVREL_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${HOVREL_MINGW_PREFIX})

# clang looks for neither the C++ headers nor the libraries of the target's GCC.
file(GLOB HOVREL_MINGW_GCC_DIRS /usr/lib/gcc/${HOVREL_MINGW_PREFIX}/*-posix)
if(NOT HOVREL_MINGW_GCC_DIRS)
    message(FATAL_ERROR "no /usr/lib/gcc/${HOVREL_MINGW_PREFIX}/*-posix: install g++-mingw-w64-x86-64-posix")
endif()
list(SORT HOVREL_MINGW_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET HOVREL_MINGW_GCC_DIRS 0 HOVREL_MINGW_GCC_DIR)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${HOVREL_MINGW_GCC_DIR}/include/c++ -isystem ${HOVREL_MINGW_GCC_DIR}/include/c++/${HOVREL_MINGW_PREFIX}")

# -pthread puts winpthreads into the link group after the static libstdc++
# and libgcc_eh, which call it. lld, because GNU ld warns about every type
# name that GCC's libstdc++ pads and clang does not.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${HOVREL_MINGW_GCC_DIR} -pthread")
endforeach()
