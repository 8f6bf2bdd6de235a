# Cross-build for 64-bit Windows with Debian's mingw-w64 (the posix threads variant, which
# std::thread and std::mutex need). Everything is linked statically, so the executables start
# on a clean Windows with nothing beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MORVI_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MORVI_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVI_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVI_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVI_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Unicode (W) entry points and declarations throughout; Windows 7 as the oldest target.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

