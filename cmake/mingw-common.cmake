# MINGW_THREAD_MODEL: posix on both targets, since GoogleTest uses std::mutex,
# which the win32 model of GCC 12 lacks. Everything links statically, so the
# product still imports system DLLs only.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-${MINGW_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-${MINGW_THREAD_MODEL})
# gcc-ar indexes the link-time optimisation objects of the product libraries.
set(CMAKE_AR ${TOOLCHAIN_PREFIX}-gcc-ar-${MINGW_THREAD_MODEL})
set(CMAKE_RANLIB ${TOOLCHAIN_PREFIX}-gcc-ranlib-${MINGW_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TOOLCHAIN_PREFIX}-objdump)

# Libraries, headers and packages for the target, never the build machine's:
# MinGW-w64's own tree, and the prefixes that CMAKE_PREFIX_PATH names (packages
# built for the target, e.g. an installed TorvaLink).
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
