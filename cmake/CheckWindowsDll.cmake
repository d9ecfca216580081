# Checks a built ecc200.dll: its export table equals the functions HEADER declares, it imports
# from Windows system DLLs only, it has no thread-local-storage directory, it carries a version
# resource, and (from the linker's map LINK_MAP) nothing in it waits for start-up code that never
# runs: no static initialisers or terminators, no TLS callbacks, no runtime pseudo-relocations.
# Usage: cmake -DLIBRARY=... -DHEADER=... -DOBJDUMP=... -DLINK_MAP=... -P CheckWindowsDll.cmake
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p failed on ${LIBRARY}")
endif()
set(problems "")

# Exports: the name table lines "[   n] Name" after "[Ordinal/Name Pointer] Table".
string(REGEX REPLACE ".*\\[Ordinal/Name Pointer\\] Table\n" "" export_part "${dump}")
string(REGEX REPLACE "\n\n.*" "" export_part "${export_part}")
# (brackets would confuse CMake's lists, so the index is replaced first)
string(REGEX REPLACE "\\[ *[0-9]+\\] " "name: " export_part "${export_part}")
string(REGEX MATCHALL "name: [A-Za-z_][A-Za-z0-9_@]*" exported "${export_part}")
list(TRANSFORM exported REPLACE "^name: " "")
list(SORT exported)
file(READ ${HEADER} header_text)
string(REGEX MATCHALL "[A-Za-z0-9]+_ECC200\\(" declared "${header_text}")
list(TRANSFORM declared REPLACE "\\($" "")
list(REMOVE_DUPLICATES declared)
list(SORT declared)
if(NOT exported STREQUAL declared)
    string(APPEND problems "exports differ from the header\n  exported: ${exported}\n"
                           "  declared: ${declared}\n")
endif()

# Imports: KERNEL32 and the C runtime only.
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
foreach(dll IN LISTS imports)
    string(TOLOWER "${dll}" dll_lower)
    if(NOT dll_lower MATCHES "^(kernel32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\\.dll$")
        string(APPEND problems "imports from ${dll}, not a system DLL\n")
    endif()
endforeach()

# Data directories: entry 9 (thread storage) empty, entry 2 (resources) present.
if(NOT dump MATCHES "Entry 9 0+ 0+ Thread Storage Directory")
    string(APPEND problems "has a thread-local-storage directory\n")
endif()
if(dump MATCHES "Entry 2 0+ 0+ Resource Directory")
    string(APPEND problems "has no resources (version resource missing)\n")
endif()

# The map lists every input section placed; any of these with content needs start-up code.
file(READ ${LINK_MAP} link_map)
string(REGEX MATCHALL "\n \\.(ctors|dtors|CRT\\$X[A-Z]+)[^\n]*\n?[ \t]+0x[0-9a-f]+[ \t]+0x[0-9a-f]+ [^\n]+"
       startup_sections "${link_map}")
foreach(section IN LISTS startup_sections)
    if(NOT section MATCHES "0x0+ [^\n]+$")
        string(STRIP "${section}" section)
        string(APPEND problems "needs start-up code: ${section}\n")
    endif()
endforeach()
if(NOT link_map MATCHES "0x0+[ \t]+__rt_psrelocs_size = ")
    string(APPEND problems "has runtime pseudo-relocations (data imported without a stub)\n")
endif()

if(problems)
    message(FATAL_ERROR "${LIBRARY}:\n${problems}")
endif()
list(LENGTH exported count)
message(STATUS "${LIBRARY}: ${count} exports as declared, system imports only, no TLS directory, "
               "version resource, no start-up code needed")
