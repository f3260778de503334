# What the Windows build takes in place of the Linux libraries, all from
# Debian: the header-only libraries through a folder of their own (the rest of
# /usr/include is Linux's and must stay out of a Windows compile), libcsv and
# GoogleTest compiled from their sources, and the Traditional conversion as a
# table that the Linux OpenCC makes at build time from our own texts. The
# programs run under wine: ctest starts them through it.

# nlohmann-json and CLI11: nothing to compile.
set(QUELRO_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${QUELRO_HOST_HEADERS})
foreach(folder nlohmann CLI)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing (scripts/deps.sh installs it)")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${QUELRO_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${QUELRO_HOST_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${QUELRO_HOST_HEADERS})

# libcsv: its one source file, from Debian's source package (fetched once
# into the cache beside the Windows Qt).
execute_process(COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/windows-libcsv.sh
  OUTPUT_VARIABLE QUELRO_LIBCSV_DIR OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${QUELRO_LIBCSV_DIR}/libcsv.c)
  message(FATAL_ERROR "libcsv's source could not be fetched (scripts/windows-libcsv.sh)")
endif()
enable_language(C)
add_library(quelro_libcsv STATIC ${QUELRO_LIBCSV_DIR}/libcsv.c)
target_include_directories(quelro_libcsv SYSTEM PUBLIC ${QUELRO_LIBCSV_DIR})
target_compile_options(quelro_libcsv PRIVATE -w)
set(CSV_LIBRARY quelro_libcsv)
set(CSV_INCLUDE_DIR ${QUELRO_LIBCSV_DIR})

# The Traditional forms of every character of our own texts, made by a small
# host program over the Linux OpenCC with the configuration the Linux build
# uses; it stops the build when a text would convert otherwise than its
# characters one by one.
find_program(QUELRO_HOST_CXX NAMES g++ c++ REQUIRED)
set(QUELRO_TABLE_TOOL ${CMAKE_BINARY_DIR}/traditional-table-tool)
add_custom_command(OUTPUT ${QUELRO_TABLE_TOOL}
  COMMAND ${QUELRO_HOST_CXX} -std=c++20 -O1 -o ${QUELRO_TABLE_TOOL}
          ${CMAKE_SOURCE_DIR}/scripts/traditional_table.cpp -lopencc
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/traditional_table.cpp VERBATIM)
file(GLOB_RECURSE QUELRO_TEXT_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
list(FILTER QUELRO_TEXT_SOURCES EXCLUDE REGEX "/src/sim/")
set(QUELRO_TRADITIONAL_TABLE ${CMAKE_BINARY_DIR}/generated/traditional_table.cpp)
add_custom_command(OUTPUT ${QUELRO_TRADITIONAL_TABLE}
  COMMAND ${QUELRO_TABLE_TOOL} ${CMAKE_SOURCE_DIR}/data/opencc/quelro_s2t_chars.json
          ${QUELRO_TRADITIONAL_TABLE} ${QUELRO_TEXT_SOURCES}
  DEPENDS ${QUELRO_TABLE_TOOL} ${QUELRO_TEXT_SOURCES} ${CMAKE_SOURCE_DIR}/data/opencc/quelro_s2t_chars.json
  COMMENT "Converting our own texts' characters to Traditional with OpenCC" VERBATIM)

# GoogleTest from Debian's source tree (libgtest-dev's libraries are Linux's).
if(QUELRO_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  # Its own CMake file names the targets GTest::gtest and GTest::gtest_main.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# wine runs what ctest starts, through a script that finds the DLLs of the
# compiler's runtime and of Qt, and hands on the QT_ variables wine would
# drop.
find_program(QUELRO_WINE NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE QUELRO_MINGW_RUNTIME OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(QUELRO_MINGW_RUNTIME ${QUELRO_MINGW_RUNTIME} DIRECTORY)
set(QUELRO_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
file(CONFIGURE OUTPUT ${QUELRO_WINE_RUN} @ONLY CONTENT [[#!/bin/sh
# Runs a program of this build under wine (made by cmake/windows.cmake), in
# the caller's WINEPREFIX, else in the one in the cache.
WINEPREFIX="${WINEPREFIX:-$HOME/.cache/quelro/wine}"
WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX WINEDEBUG
WINEPATH="Z:@QUELRO_MINGW_RUNTIME@;Z:/usr/x86_64-w64-mingw32/lib;Z:@QUELRO_WINDOWS_QT@/bin"
export WINEPATH
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$name=\"\$$name\""
done
exec "@QUELRO_WINE@" "$@"
]])
file(CHMOD ${QUELRO_WINE_RUN} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELRO_WINE_RUN})

# Windows' own headers: the Unicode functions, without the rarely used parts.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
