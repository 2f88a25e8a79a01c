# Cross-compiles the headless program for 64-bit Windows with Debian's mingw-w64
# (g++-mingw-w64-x86-64-posix: the POSIX thread model, which std::thread needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARNWICK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNWICK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNWICK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNWICK_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARNWICK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One tarnwick.exe that runs without installing anything: the C and C++ runtimes and
# winpthreads are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# GCC 12's -Wrestrict misreads the inlined copy of `"text" + std::string` in an optimised
# build and warns of overlapping copies of 2^63 bytes (GCC bugs 105329 and 105651): noise
# that would hide a real warning of this build.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
