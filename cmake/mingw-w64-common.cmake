# What both MinGW-w64 cross-builds share. The including toolchain file sets
# CMAKE_SYSTEM_PROCESSOR and JV_MINGW_TRIPLET first. Debian's POSIX-threads flavour
# of the compiler, so that std::thread and std::mutex exist. The C++ runtime and
# winpthread are linked in statically: the binaries then load in a bare Wine prefix
# or on a Windows machine without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER NAMES ${JV_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${JV_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${JV_MINGW_TRIPLET}-windres REQUIRED)

# Headers and libraries come from the MinGW sysroot only, programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${JV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endforeach()

# CTest and add_custom_command run the built executables through Wine. The caller
# provides the prefix (WINEPREFIX, a 64-bit one with the 32-bit Wine beside it runs
# both bitnesses); scripts/windows-tests.sh makes a fresh one.
find_program(JV_WINE NAMES wine)
if(JV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${JV_WINE})
endif()
