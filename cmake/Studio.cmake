# The studio: one PE32 GUI executable for i386 with the Data folder beside it, and the Wine tests.

set(QV_EXE_NAME QVViduzaRozar)
add_compile_options(-msse2 -mfpmath=sse)
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX STRICT)
set(QV_STATIC_LINK -static -static-libgcc -static-libstdc++ -Wl,--large-address-aware)

# The platform libraries, called as the studio calls them.
set(QV_WIN_LIBS d3d9 d3dx9 dsound dxguid winmm vfw32 comctl32 comdlg32 shell32 ole32 oleaut32 uuid gdi32 user32 kernel32)

# Resource scripts are UTF-8; their strings become UTF-16 resources.
file(GLOB_RECURSE QV_RC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.rc)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${CMAKE_SOURCE_DIR}/src")

# The entry point stays out of the library so the Wine tests can link everything else.
set(QV_ENTRY ${CMAKE_SOURCE_DIR}/src/shell/win32/main.cpp)
set(QV_LIB_SOURCES ${QV_ALL_SOURCES})
list(REMOVE_ITEM QV_LIB_SOURCES ${QV_ENTRY})

add_library(qv_studio STATIC ${QV_LIB_SOURCES})
target_link_libraries(qv_studio PUBLIC ${QV_WIN_LIBS})

add_library(qv_resources OBJECT ${QV_RC_SOURCES})

add_executable(studio WIN32 ${QV_ENTRY} $<TARGET_OBJECTS:qv_resources>)
set_target_properties(studio PROPERTIES OUTPUT_NAME ${QV_EXE_NAME})
# Whole archive: static construction order is part of the program, so every object is linked.
target_link_libraries(studio PRIVATE -Wl,--whole-archive qv_studio -Wl,--no-whole-archive ${QV_WIN_LIBS} ${QV_STATIC_LINK})

# The Data folder beside the executable, refreshed on every build.
# (A tree without data/ still gets the folder: LibInit makes it the current directory.)
if(EXISTS ${CMAKE_SOURCE_DIR}/data)
  set(QV_DATA_COPY ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR}/Data)
else()
  set(QV_DATA_COPY ${CMAKE_COMMAND} -E echo "no data folder in the tree")
endif()
add_custom_target(data_folder ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Data
  COMMAND ${QV_DATA_COPY}
  COMMENT "Data folder")
add_dependencies(studio data_folder)

# test.sh and run.sh start this first: can Wine create a Direct3D 9 device here at all?
add_executable(qv_d3d_check ${CMAKE_SOURCE_DIR}/tests/wine/d3d_check.cpp)
target_link_libraries(qv_d3d_check PRIVATE d3d9 user32 ${QV_STATIC_LINK})

# GoogleTest from the machine's sources, built by MinGW.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# tests/wine/*.cpp: tests that link the studio's code and run inside Wine. Drivers that start the
# real program are tests too (tests/wine/drive_*.cpp), built into their own executable.
file(GLOB QV_WINE_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/support/*.cpp)
file(GLOB QV_WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
file(GLOB QV_DRIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/drive_*.cpp)

# The tests' QVP fixture writer: a test plays a model made from it.
# The effect generator's assembler too: a test checks it against the platform's.
file(GLOB QV_FXGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/fxgen/*.cpp)
add_executable(qv_wine_tests ${QV_WINE_TESTS} ${QV_WINE_SUPPORT} ${CMAKE_SOURCE_DIR}/tests/support/qvp_fixtures.cpp
               ${QV_FXGEN_SOURCES} $<TARGET_OBJECTS:qv_resources>)
target_include_directories(qv_wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# Test code needs no optimising; GoogleTest's macros would dominate the build.
target_compile_options(qv_wine_tests PRIVATE -O0)
target_precompile_headers(qv_wine_tests PRIVATE <windows.h> <gtest/gtest.h> <vector> <string>)
target_link_libraries(qv_wine_tests PRIVATE -Wl,--whole-archive qv_studio -Wl,--no-whole-archive gtest ${QV_WIN_LIBS} ${QV_STATIC_LINK})
add_dependencies(qv_wine_tests data_folder)
add_test(NAME wine_tests COMMAND qv_wine_tests --gtest_color=no)
set_tests_properties(wine_tests PROPERTIES TIMEOUT 1600 RUN_SERIAL ON FIXTURES_SETUP avi_take
                     ENVIRONMENT QV_TEST_WATCHDOG=1500)
# The recording the Wine tests leave (avi_writer_test.cpp) opened by another reader.
find_program(QV_FFPROBE ffprobe)
add_test(NAME avi_probe COMMAND ${CMAKE_COMMAND} -DFFPROBE=${QV_FFPROBE} -DAVI=${CMAKE_BINARY_DIR}/avi_take.avi -DFRAMES=6
         -P ${CMAKE_SOURCE_DIR}/tests/wine/avi_probe.cmake)
set_tests_properties(avi_probe PROPERTIES FIXTURES_REQUIRED avi_take)
# The movie editor's recording of a 20-frame movie at an interval of 2 (movie_test.cpp).
add_test(NAME movie_avi_probe COMMAND ${CMAKE_COMMAND} -DFFPROBE=${QV_FFPROBE} -DAVI=${CMAKE_BINARY_DIR}/movie_take.avi
         -DFRAMES=10 -P ${CMAKE_SOURCE_DIR}/tests/wine/avi_probe.cmake)
set_tests_properties(movie_avi_probe PROPERTIES FIXTURES_REQUIRED avi_take)

if(QV_DRIVE_TESTS)
  # The drivers start the real program; they do not link the studio, so not the helpers over it.
  set(QV_DRIVE_SUPPORT ${QV_WINE_SUPPORT})
  list(FILTER QV_DRIVE_SUPPORT EXCLUDE REGEX "/(wine_frame|cube_fixture)\\.cpp$")
  # The drivers write their model files with the tests' own QVP fixture writer (and the byte writer
  # under it).
  set(QV_DRIVE_FIXTURES ${CMAKE_SOURCE_DIR}/tests/support/qvp_fixtures.cpp
      ${CMAKE_SOURCE_DIR}/src/frame/bytes.cpp ${CMAKE_SOURCE_DIR}/src/frame/text.cpp)
  add_executable(qv_drive_tests ${QV_DRIVE_TESTS} ${QV_DRIVE_SUPPORT} ${QV_DRIVE_FIXTURES})
  target_include_directories(qv_drive_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(qv_drive_tests PRIVATE -O0)
  target_link_libraries(qv_drive_tests PRIVATE gtest ${QV_WIN_LIBS} ${QV_STATIC_LINK})
  add_dependencies(qv_drive_tests studio)
  target_compile_definitions(qv_drive_tests PRIVATE QV_EXE_NAME="${QV_EXE_NAME}.exe")
  # The dialog test measures texts inside the studio through a hook in this library (fonts are
  # handles of the process that made them).
  add_library(qv_dialog_probe SHARED ${CMAKE_SOURCE_DIR}/tests/wine/probe/dialog_probe.cpp)
  set_target_properties(qv_dialog_probe PROPERTIES PREFIX "")
  target_compile_options(qv_dialog_probe PRIVATE -O0)
  # Undecorated export names, so the test finds the hook by its plain name.
  target_link_libraries(qv_dialog_probe PRIVATE -Wl,--kill-at gdi32 user32 kernel32 ${QV_STATIC_LINK})
  add_dependencies(qv_drive_tests qv_dialog_probe)
  # One test per driver file, each a run of its own under the watchdog: every studio start costs
  # tens of seconds under the emulator, and one program for all of them would outlast any limit.
  foreach(drive_file ${QV_DRIVE_TESTS})
    get_filename_component(drive_name ${drive_file} NAME_WE)
    file(STRINGS ${drive_file} drive_lines REGEX "^TEST(_F)?\\([A-Za-z0-9_]+,")
    set(drive_filter "")
    foreach(line ${drive_lines})
      string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2.*" suite "${line}")
      list(APPEND drive_filter ${suite})
    endforeach()
    list(REMOVE_DUPLICATES drive_filter)
    if(NOT drive_filter)
      continue()
    endif()
    string(REPLACE ";" ":" drive_filter "${drive_filter}")
    add_test(NAME ${drive_name} COMMAND qv_drive_tests --gtest_color=no --gtest_filter=${drive_filter})
    set_tests_properties(${drive_name} PROPERTIES TIMEOUT 1000 RUN_SERIAL ON ENVIRONMENT QV_TEST_WATCHDOG=900)
  endforeach()
endif()

# bench/wine/*.cpp: the frame-time benchmark on the real device (a console program linking the studio).
file(GLOB QV_WINE_BENCH CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/wine/*.cpp)
if(QV_WINE_BENCH)
  add_executable(qv_frame_bench ${QV_WINE_BENCH} $<TARGET_OBJECTS:qv_resources>)
  target_link_libraries(qv_frame_bench PRIVATE -Wl,--whole-archive qv_studio -Wl,--no-whole-archive ${QV_WIN_LIBS} ${QV_STATIC_LINK})
  add_dependencies(qv_frame_bench data_folder)
endif()

# The Windows package (cmake --build build/win32 --target package): a zip holding one folder with
# the executable and the Data folder beside it, as the studio expects to find them.
install(TARGETS studio RUNTIME DESTINATION .)
if(EXISTS ${CMAKE_SOURCE_DIR}/data)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION Data)
else()
  install(DIRECTORY DESTINATION Data)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${QV_EXE_NAME})
set(CPACK_PACKAGE_VERSION 2009.09)
set(CPACK_PACKAGE_FILE_NAME ${QV_EXE_NAME}-2009.09)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
add_test(NAME package_zip
  COMMAND ${CMAKE_COMMAND} -DBIN=${CMAKE_BINARY_DIR} -DSRC=${CMAKE_SOURCE_DIR}
          -DZIP=${CMAKE_BINARY_DIR}/package/${QV_EXE_NAME}-2009.09.zip -DEXE=${QV_EXE_NAME}.exe
          -DOBJDUMP=${CMAKE_OBJDUMP} -P ${CMAKE_SOURCE_DIR}/tests/package/zip_contents.cmake)
set_tests_properties(package_zip PROPERTIES TIMEOUT 600)
