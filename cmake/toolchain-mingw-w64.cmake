# Cross build for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64-posix).
# The posix thread model gives std::thread and std::mutex; the programs are linked statically so
# that they run under Wine or on Windows without the compiler's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LOSFIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LOSFIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LOSFIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LOSFIX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LOSFIX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 10 and later: the newer file APIs are declared.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release at -O2: GCC 12 at -O3 reports false -Wrestrict and -Wstringop-overflow warnings in
# std::string code, and debug information makes this compiler take twice as long.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a Release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a Release build")

# Tests and other build-time runs go through Wine.
find_program(LOSFIX_WINE NAMES wine wine64)
if(LOSFIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LOSFIX_WINE})
endif()
