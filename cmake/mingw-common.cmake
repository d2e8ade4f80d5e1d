# What both cross toolchains share; the including file sets NC_MINGW_TARGET and CMAKE_SYSTEM_PROCESSOR.
# mingw-w64 with the posix thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   /usr/bin/${NC_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${NC_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/${NC_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NC_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# No mingw runtime DLL may ship: link libgcc, libstdc++ and winpthreads statically.
foreach(k EXE SHARED MODULE)
  set(CMAKE_${k}_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endforeach()
set(CMAKE_RC_FLAGS_INIT "-c 65001")
