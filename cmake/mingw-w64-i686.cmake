# Cross-builds for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686).
# Here COM's calling convention (__stdcall) differs from the C++ default, so this
# build is the one that catches a COM method declared without it.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(JV_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
