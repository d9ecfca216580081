# Cross-build for 64-bit Windows with Debian's MinGW-w64 compilers (posix thread model); the
# programs built run under Wine.
set(ECC200_MINGW_TRIPLE x86_64-w64-mingw32)
set(ECC200_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWCommon.cmake)
