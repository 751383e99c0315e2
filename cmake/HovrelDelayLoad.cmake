# hovrel_delay_load(TARGET DLL SYMBOL...): TARGET loads DLL only when it
# first calls one of the SYMBOLs, through a delay-import library that
# dlltool makes from them. The library must come before the usual import
# library on the link line; a function not listed is imported as usual and
# loads its DLL at every start again (objdump -p shows it; so does
# scripts/auto-start-bench.sh). GNU ld has no /DELAYLOAD; this is its way.
# It takes binutils' dlltool (llvm-dlltool has no -y); without it the DLL
# is imported as usual.
find_program(HOVREL_DELAY_DLLTOOL NAMES x86_64-w64-mingw32-dlltool
             DOC "binutils' dlltool, which makes delay-import libraries")

function(hovrel_delay_load target dll)
    if(NOT HOVREL_DELAY_DLLTOOL)
        get_filename_component(import ${dll} NAME_WE)
        if(NOT TARGET ${import})
            string(TOLOWER ${import} import)
        endif()
        target_link_libraries(${target} PRIVATE ${import})
        return()
    endif()
    string(MAKE_C_IDENTIFIER ${dll} name)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-load)
    set(def ${folder}/${target}_${name}.def)
    set(library ${folder}/lib${target}_${name}_delay.a)
    list(JOIN ARGN "\n" exports)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
    add_custom_command(OUTPUT ${library} COMMAND ${HOVREL_DELAY_DLLTOOL} -d ${def} -y ${library}
                       DEPENDS ${def} VERBATIM)
    add_custom_target(${target}_${name}_delay DEPENDS ${library})
    add_dependencies(${target} ${target}_${name}_delay)
    target_link_libraries(${target} PRIVATE ${library})
endfunction()
