# Compiler and platform settings shared by every target of the project.

if(WIN32)
    # The DLL must import nothing but Windows system DLLs: link the C and C++
    # runtimes statically.
    if(MSVC)
        set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    else()
        # clang's C driver warns about the C++ option.
        add_link_options(-static -static-libgcc $<$<LINK_LANGUAGE:CXX>:-static-libstdc++>)
    endif()
    # Windows 8.1: WinHTTP's automatic proxy access type needs it.
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0603)
endif()

if(NOT WIN32 AND HOVREL_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "HOVREL_SANITIZE is for the native GCC or Clang build")
    endif()
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Under Wine every test program runs with the build's own prefix.
if(HOVREL_RUN_UNDER_WINE AND PROJECT_IS_TOP_LEVEL)
    set(HOVREL_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh
                   @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                   GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
endif()

# Warnings for the project's own targets (not for GoogleTest).
function(hovrel_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive-)
        if(HOVREL_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
        if(HOVREL_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
