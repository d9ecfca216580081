# What both Windows toolchain files share; ECC200_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ECC200_MINGW_TRIPLE})

set(CMAKE_C_COMPILER ${ECC200_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ECC200_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ECC200_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${ECC200_MINGW_TRIPLE}-dlltool)
set(CMAKE_OBJDUMP ${ECC200_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${ECC200_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs carry the compiler's runtime inside them, so they start without MinGW DLLs on the path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine (64- or 32-bit, ECC200_WINE_ARCH), each build folder with a Wine
# prefix of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${ECC200_WINE_ARCH} ${CMAKE_BINARY_DIR}/wine)
