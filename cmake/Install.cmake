# Installation: the shared library, its header, the ecc200 tool with its man page and completion,
# the licences (ours and the GS1 dictionary's), a
# CMake package (find_package(ecc200) gives the target ecc200::ecc200) and a pkg-config file.
# Every installed file finds the others by relative paths, so the tree may be installed under any
# prefix (cmake --install <build> --prefix <dir>).
include(CMakePackageConfigHelpers)

set(ECC200_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ecc200)
set(ECC200_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS ecc200 EXPORT ecc200Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
                COMPONENT runtime NAMELINK_COMPONENT development
        PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

# The library carries a table generated from GS1's Barcode Syntax Dictionary (Apache License 2.0),
# whose licence goes with every copy.
install(FILES ${PROJECT_SOURCE_DIR}/src/gs1/LICENSE-gs1-syntax-dictionary.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)

if(TARGET ecc200_cli)
    install(TARGETS ecc200_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
    # Its man page and bash completion (loaded by bash-completion from this folder on demand).
    if(NOT WIN32)
        install(FILES ${PROJECT_SOURCE_DIR}/docs/ecc200.1
                DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
        install(FILES ${PROJECT_SOURCE_DIR}/cli/completion/ecc200.bash
                DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
                RENAME ecc200 COMPONENT runtime)
    endif()
endif()

install(EXPORT ecc200Targets
        NAMESPACE ecc200::
        FILE ecc200Targets.cmake
        DESTINATION ${ECC200_CMAKE_PACKAGE_DIR}
        COMPONENT development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ecc200Config.cmake.in
                              ${PROJECT_BINARY_DIR}/ecc200Config.cmake
                              INSTALL_DESTINATION ${ECC200_CMAKE_PACKAGE_DIR})
# The soname carries the major version, so only the same major version is compatible.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ecc200ConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION}
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ecc200Config.cmake
              ${PROJECT_BINARY_DIR}/ecc200ConfigVersion.cmake
        DESTINATION ${ECC200_CMAKE_PACKAGE_DIR}
        COMPONENT development)

# The pkg-config file locates the prefix relative to its own folder.
file(RELATIVE_PATH ECC200_PKGCONFIG_TO_PREFIX
     ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ECC200_PKGCONFIG_TO_PREFIX "${ECC200_PKGCONFIG_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/ecc200.pc.in ${PROJECT_BINARY_DIR}/ecc200.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ecc200.pc
        DESTINATION ${ECC200_PKGCONFIG_DIR}
        COMPONENT development)

# The MIT licence travels with every installation.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
