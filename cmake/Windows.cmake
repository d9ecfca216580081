# The Windows DLL: ecc200.dll exporting exactly the header's functions under their plain names,
# carrying its C and C++ runtime inside (only system DLLs imported), without the MinGW start-up
# code (which would give it a thread-local-storage directory and so make DisableThreadLibraryCalls
# fail), with a version resource, and with import libraries for MinGW (libecc200.dll.a) and MSVC
# (ecc200.lib).
enable_language(RC)

# The module-definition file lists the functions the header declares (remade when it changes).
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/include/ecc200.h)
file(READ ${PROJECT_SOURCE_DIR}/include/ecc200.h ecc200_header_text)
string(REGEX MATCHALL "[A-Za-z0-9]+_ECC200\\(" ecc200_declared "${ecc200_header_text}")
list(TRANSFORM ecc200_declared REPLACE "\\($" "")
list(REMOVE_DUPLICATES ecc200_declared)
list(JOIN ecc200_declared "\n    " ecc200_def_exports)
set(ECC200_DEF_FILE ${PROJECT_BINARY_DIR}/ecc200.def)
file(CONFIGURE OUTPUT ${ECC200_DEF_FILE}
     CONTENT "LIBRARY ecc200.dll\nEXPORTS\n    ${ecc200_def_exports}\n" @ONLY)

configure_file(${PROJECT_SOURCE_DIR}/cmake/ecc200.rc.in ${PROJECT_BINARY_DIR}/ecc200.rc @ONLY)
target_sources(ecc200 PRIVATE ${ECC200_DEF_FILE} ${PROJECT_BINARY_DIR}/ecc200.rc)

# DllMain is the entry point itself; on x86 its stdcall name carries the argument bytes.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ecc200_entry _DllMain@12)
else()
    set(ecc200_entry DllMain)
endif()
set_target_properties(ecc200 PROPERTIES PREFIX "" IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
target_link_options(ecc200 PRIVATE
    -static-libgcc -static-libstdc++ -static -nostartfiles -Wl,-e,${ecc200_entry}
    -Wl,-Map=${PROJECT_BINARY_DIR}/ecc200.map
    $<$<CONFIG:Release,MinSizeRel>:-s>)

# The MSVC import library, from the same module-definition file.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ecc200_dlltool_machine i386)
else()
    set(ecc200_dlltool_machine i386:x86-64)
endif()
set(ECC200_MSVC_IMPORT_LIBRARY ${PROJECT_BINARY_DIR}/ecc200.lib)
add_custom_command(TARGET ecc200 POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} -m ${ecc200_dlltool_machine} -d ${ECC200_DEF_FILE}
            -D ecc200.dll -l ${ECC200_MSVC_IMPORT_LIBRARY}
    COMMENT "MSVC import library ecc200.lib"
    BYPRODUCTS ${ECC200_MSVC_IMPORT_LIBRARY}
    VERBATIM)

# Every build checks the finished DLL: exports, imports, no TLS directory, version resource, no
# static initialisers (nothing would run them).
set(ECC200_CHECK_DLL_COMMAND
    ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:ecc200> -DHEADER=${PROJECT_SOURCE_DIR}/include/ecc200.h
    -DOBJDUMP=${CMAKE_OBJDUMP} -DLINK_MAP=${PROJECT_BINARY_DIR}/ecc200.map
    -P ${PROJECT_SOURCE_DIR}/cmake/CheckWindowsDll.cmake)
add_custom_command(TARGET ecc200 POST_BUILD COMMAND ${ECC200_CHECK_DLL_COMMAND}
                   COMMENT "Checking ecc200.dll" VERBATIM)

install(FILES ${ECC200_DEF_FILE} ${ECC200_MSVC_IMPORT_LIBRARY}
        DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)

# The library neither throws nor catches, and a C interface must not let an exception out: built
# without exceptions it needs none of the C++ runtime's exception support, whose start-up code
# would never run here.
target_compile_options(ecc200_core PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)
