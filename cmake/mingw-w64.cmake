# Shared by the MinGW-w64 toolchain files, which set mingw_triple first.
# Debian names its posix-thread drivers with a -posix suffix; MSYS2 on Windows
# ships the same compilers under the plain triple names.
set(CMAKE_SYSTEM_NAME Windows)
find_program(CMAKE_C_COMPILER NAMES ${mingw_triple}-gcc-posix ${mingw_triple}-gcc gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${mingw_triple}-g++-posix ${mingw_triple}-g++ g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${mingw_triple}-windres windres REQUIRED)
if(EXISTS /usr/${mingw_triple})
    set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
