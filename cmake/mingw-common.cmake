# Shared part of the mingw-w64 cross toolchains. The including file sets TESSEL_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${TESSEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TESSEL_TRIPLE}-windres)
set(TESSEL_WIDL        ${TESSEL_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the server and the executables need no mingw DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
