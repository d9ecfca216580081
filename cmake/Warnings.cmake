# Strict warnings for every target of the project; errors when ECC200_WERROR is on.
function(ecc200_set_warnings target)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow>
        $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic -Wconversion>
        $<$<BOOL:${ECC200_WERROR}>:-Werror>)
endfunction()
