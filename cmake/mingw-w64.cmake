# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads:
# std::thread and Qt need them). QUELRO_WINDOWS_QT names the prefix of the Qt
# built for Windows; its host tools (moc, rcc, uic) are the Linux Qt's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
if(QUELRO_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${QUELRO_WINDOWS_QT})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's host tools are the Linux Qt's of the same version.
set(QT_HOST_PATH /usr CACHE PATH "The Linux Qt, whose moc, rcc and uic serve the cross build")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
