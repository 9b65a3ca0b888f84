# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 (posix threads,
# so std::thread and std::mutex work as on Linux).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORV_MINGW_TRIPLET i686-w64-mingw32)

set(CMAKE_C_COMPILER ${ORV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORV_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot and the cross-built
# dependency prefix only; programs (moc, rcc, uic, lrelease) from the host.
# The prefix comes from the environment so that CMake's own test projects,
# which re-read this file, see it too.
set(CMAKE_FIND_ROOT_PATH /usr/${ORV_MINGW_TRIPLET} $ENV{ORV_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
