# What an integrator gets from `cmake --install`: the DLL, its import
# libraries for MinGW and MSVC, the header, and a CMake package that defines
# the target Hovrel::Hovrel.

if(NOT WIN32)
    return()
endif()

include(CMakePackageConfigHelpers)

set(HOVREL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Hovrel)

install(TARGETS Hovrel EXPORT HovrelTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/hovrel.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT HovrelTargets NAMESPACE Hovrel:: DESTINATION ${HOVREL_INSTALL_CMAKEDIR})

# MSVC makes Hovrel.lib itself. For a MinGW build, dlltool makes the same
# import library from the export list, so MSVC hosts can link the MinGW DLL.
if(MINGW)
    get_filename_component(_hovrel_bin_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
    find_program(HOVREL_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool
                 HINTS ${_hovrel_bin_dir} REQUIRED)
    set(_hovrel_def ${PROJECT_SOURCE_DIR}/src/interface/hovrel.def)
    set(_hovrel_msvc_lib ${PROJECT_BINARY_DIR}/lib/Hovrel.lib)
    add_custom_command(OUTPUT ${_hovrel_msvc_lib}
                       COMMAND ${HOVREL_DLLTOOL} -d ${_hovrel_def} -D Hovrel.dll -l ${_hovrel_msvc_lib}
                       DEPENDS ${_hovrel_def}
                       COMMENT "Making the MSVC import library Hovrel.lib")
    add_custom_target(hovrel_msvc_import_lib ALL DEPENDS ${_hovrel_msvc_lib})
    install(FILES ${_hovrel_msvc_lib} DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/HovrelConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/package/HovrelConfig.cmake
                              INSTALL_DESTINATION ${HOVREL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/HovrelConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/HovrelConfig.cmake
              ${PROJECT_BINARY_DIR}/package/HovrelConfigVersion.cmake
        DESTINATION ${HOVREL_INSTALL_CMAKEDIR})
