# Installs the build tree BUILD_DIR under a scratch prefix in WORK_DIR (the licence, the man page
# and the bash completion included), then builds and runs the consumer program in
# CONSUMER_SOURCE against it twice: through find_package(ecc200) and through pkg-config.
cmake_minimum_required(VERSION 3.25)

function(run_checked)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
    endif()
    message(STATUS "${output}")
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
run_checked(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(installed include/ecc200.h bin/ecc200 share/man/man1/ecc200.1
                  share/bash-completion/completions/ecc200 share/doc/ecc200/LICENSE)
    if(NOT EXISTS ${prefix}/${installed})
        message(FATAL_ERROR "${installed} was not installed")
    endif()
endforeach()
file(GLOB_RECURSE sonames ${prefix}/*/libecc200.so.21)
if(NOT sonames)
    message(FATAL_ERROR "libecc200.so.21 was not installed")
endif()
list(GET sonames 0 soname)
get_filename_component(libdir ${soname} DIRECTORY)

# The installed tool runs and finds the installed library; its completion registers itself.
run_checked(${prefix}/bin/ecc200 --version)
run_checked(bash -c ". ${prefix}/share/bash-completion/completions/ecc200 && complete -p ecc200")

# 1. CMake package.
run_checked(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/with_cmake
            -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${C_COMPILER}
            "-DCMAKE_C_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_FLAGS}")
run_checked(${CMAKE_COMMAND} --build ${WORK_DIR}/with_cmake)
run_checked(${WORK_DIR}/with_cmake/consumer)

# 2. pkg-config.
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs ecc200
                RESULT_VARIABLE result OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know ecc200")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
separate_arguments(extra UNIX_COMMAND "${CONSUMER_FLAGS}")
run_checked(${C_COMPILER} -std=c99 -Wall -Wextra -Wpedantic -Werror ${extra}
            ${CONSUMER_SOURCE}/main.c ${flags} -o ${WORK_DIR}/with_pkgconfig)
set(ENV{LD_LIBRARY_PATH} ${libdir})
run_checked(${WORK_DIR}/with_pkgconfig)
