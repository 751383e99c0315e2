# hovrel_delay_load(TARGET DLL SYMBOL...): TARGET loads DLL only when it
# first calls one of the SYMBOLs, through a delay-import library that
# dlltool makes from them. A call of a function not listed fails to link,
# so the lists stay complete. GNU ld has no /DELAYLOAD; this is its way.
function(hovrel_delay_load target dll)
    string(MAKE_C_IDENTIFIER ${dll} name)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-load)
    set(def ${folder}/${name}.def)
    set(library ${folder}/lib${name}_delay.a)
    list(JOIN ARGN "\n" exports)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
    add_custom_command(OUTPUT ${library} COMMAND ${CMAKE_DLLTOOL} -d ${def} -y ${library}
                       DEPENDS ${def} VERBATIM)
    add_custom_target(${target}_${name}_delay DEPENDS ${library})
    add_dependencies(${target} ${target}_${name}_delay)
    target_link_libraries(${target} PRIVATE ${library})
endfunction()
