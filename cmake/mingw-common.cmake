# NOTE: the -posix compilers are used because the win32-threads ones lack
# std::mutex, which GoogleTest needs. Linked -static they still import only
# system DLLs.
set(CMAKE_C_COMPILER ${KB_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KB_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KB_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KB_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Each build's programs run in a Wine prefix of their own kind (wine-env).
set(CMAKE_CROSSCOMPILING_EMULATOR env KB_WINE_ARCH=${KB_WINE_ARCH}
  ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
