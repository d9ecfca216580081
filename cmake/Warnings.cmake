# Compiler warnings and linker checks for the project's targets, chosen per toolchain: GCC and
# Clang (MinGW included) share the flag set; MSVC gets its own. Warnings are errors when
# ECC200_WERROR is on.
function(ecc200_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${ECC200_WERROR}>:/WX>)
        return()
    endif()
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow>
        $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic -Wconversion>
        # g++ 12 reports impossible overlaps inside std::string concatenation at -O3 (GCC bug
        # 105329); the warning says nothing about our code there.
        $<$<AND:$<COMPILE_LANG_AND_ID:CXX,GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
        $<$<BOOL:${ECC200_WERROR}>:-Werror>)
endfunction()

# A shared library must resolve every symbol it uses when it is linked, not when it is loaded.
# GNU ld and lld (Linux, MinGW) say so with --no-undefined, Apple's linker with -undefined error;
# MSVC's linker always does.
function(ecc200_set_link_checks target)
    if(APPLE)
        target_link_options(${target} PRIVATE LINKER:-undefined,error)
    elseif(NOT MSVC)
        target_link_options(${target} PRIVATE LINKER:--no-undefined)
    endif()
endfunction()
