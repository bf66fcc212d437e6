# Cross-building for Windows with mingw-w64. The architecture comes from TAVRO_ARCH (x86_64 or
# i686; the presets set it), x86_64 when unset.
if(NOT TAVRO_ARCH)
  set(TAVRO_ARCH x86_64)
endif()
set(TAVRO_ARCH ${TAVRO_ARCH} CACHE STRING "The Windows architecture to build for: x86_64 or i686")
# The try_compile projects CMake configures see the variable too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVRO_ARCH)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TAVRO_ARCH})
set(TAVRO_TRIPLET ${TAVRO_ARCH}-w64-mingw32)
# The -posix variant: GoogleTest needs std::thread and std::mutex.
set(CMAKE_C_COMPILER ${TAVRO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVRO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVRO_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVRO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
