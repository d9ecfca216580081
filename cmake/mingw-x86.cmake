# Cross-build for 32-bit Windows with Debian's MinGW-w64 compilers (posix thread model); the
# programs built run under 32-bit Wine. SSE2 arithmetic keeps single-precision floats exact (x87
# registers would carry extra precision).
set(ECC200_MINGW_TRIPLE i686-w64-mingw32)
set(ECC200_WINE_ARCH win32)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/MinGWCommon.cmake)
