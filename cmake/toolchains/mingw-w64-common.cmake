# What both mingw-w64 toolchains share, once ORVIADIC_MINGW_TRIPLE is set: the posix
# thread model compilers (the win32 model has no std::mutex in this GCC), and the
# runtime libraries linked statically, so the DLLs import only each other and system DLLs.
set(CMAKE_C_COMPILER ${ORVIADIC_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVIADIC_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVIADIC_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVIADIC_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ORVIADIC_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${ORVIADIC_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${ORVIADIC_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${ORVIADIC_STATIC_RUNTIME}")
