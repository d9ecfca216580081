# Strict warnings for every target of the project; errors when ECC200_WERROR is on.
function(ecc200_set_warnings target)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow>
        $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic -Wconversion>
        # g++ 12 reports impossible overlaps inside std::string concatenation at -O3 (GCC bug
        # 105329); the warning says nothing about our code there.
        $<$<AND:$<COMPILE_LANG_AND_ID:CXX,GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
        $<$<BOOL:${ECC200_WERROR}>:-Werror>)
endfunction()
