# Native Linux build of the platform-free engine: unit tests, sanitizers, fuzzers, benchmarks.

if(QV_SANITIZE)
  # -O1: the sanitizers' instrumentation makes optimising slow, and the tests need no speed.
  add_compile_options(-O1 -g1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(QV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)
add_library(qv_core STATIC ${QV_PORTABLE_SOURCES})
target_link_libraries(qv_core PUBLIC Threads::Threads)

# The platform seams for native programs: one recorder library per seam, each in place of the
# studio's win32/ side, linked as an ordinary archive so a program takes the recorders its code reaches.
set(QV_SUPPORT_DIR ${CMAKE_SOURCE_DIR}/tests/support)
function(qv_recorder name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PUBLIC qv_core)
endfunction()
qv_recorder(qv_rec_frame ${QV_SUPPORT_DIR}/services_recorder.cpp)   # frame/services.h
qv_recorder(qv_rec_tick ${QV_SUPPORT_DIR}/tick_recorder.cpp)        # frame/tick_services.h
qv_recorder(qv_rec_sound ${QV_SUPPORT_DIR}/sound_recorder.cpp)      # frame/sound.h (playback)
qv_recorder(qv_rec_model ${QV_SUPPORT_DIR}/model_recorder.cpp)      # model/gpu_services.h
qv_recorder(qv_rec_ui ${QV_SUPPORT_DIR}/ui_recorder.cpp             # shell/ui_services.h
            ${QV_SUPPORT_DIR}/file_dialog_recorder.cpp)             # the file commands' dialogs
qv_recorder(qv_rec_effect ${QV_SUPPORT_DIR}/effect_ui_recorder.cpp) # effect/effect_edit_dialogs.h
target_link_libraries(qv_rec_effect PUBLIC qv_rec_ui)               # shares the ui call log
set(QV_RECORDERS qv_rec_frame qv_rec_tick qv_rec_sound qv_rec_model qv_rec_effect qv_rec_ui)

# The other native stand-ins (the renderer's device side, the frame's device switches) and fixtures.
file(GLOB QV_SUPPORT_SOURCES CONFIGURE_DEPENDS ${QV_SUPPORT_DIR}/*.cpp)
list(REMOVE_ITEM QV_SUPPORT_SOURCES ${QV_SUPPORT_DIR}/services_recorder.cpp ${QV_SUPPORT_DIR}/tick_recorder.cpp
     ${QV_SUPPORT_DIR}/sound_recorder.cpp
     ${QV_SUPPORT_DIR}/model_recorder.cpp ${QV_SUPPORT_DIR}/ui_recorder.cpp
     ${QV_SUPPORT_DIR}/file_dialog_recorder.cpp ${QV_SUPPORT_DIR}/effect_ui_recorder.cpp)
add_library(qv_support STATIC ${QV_SUPPORT_SOURCES})
target_include_directories(qv_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qv_support PUBLIC qv_core ${QV_RECORDERS})
# Whole archive: the engine's statics must be linked whichever test names them.
set(QV_NATIVE_LINK -Wl,--whole-archive qv_core qv_support -Wl,--no-whole-archive ${QV_RECORDERS} Threads::Threads)

# Seed files for the fuzzers, written by the engine's own writers.
file(GLOB QV_SEEDGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/seedgen/*.cpp)
if(QV_SEEDGEN_SOURCES)
  add_executable(qv_seedgen ${QV_SEEDGEN_SOURCES})
  target_link_libraries(qv_seedgen PRIVATE ${QV_NATIVE_LINK})
endif()

# The effect binaries' assembler and packer (tools/fxgen), used by the data generator and tested.
file(GLOB QV_FXGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/fxgen/*.cpp)
add_library(qv_fxgen STATIC ${QV_FXGEN_SOURCES})

# Generators of the Data folder's files, also built from the engine's writers.
file(GLOB QV_DATAGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/datagen/*.cpp)
if(QV_DATAGEN_SOURCES)
  add_executable(qv_datagen ${QV_DATAGEN_SOURCES})
  target_link_libraries(qv_datagen PRIVATE ${QV_NATIVE_LINK} qv_fxgen)
  # The committed generated files (effect binaries among them) must be what the generators make.
  if(NOT QV_FUZZ AND NOT QV_SANITIZE)
    add_test(NAME datagen_check COMMAND qv_datagen --check ${CMAKE_SOURCE_DIR})
  endif()
endif()

if(QV_FUZZ)
  set(QV_FUZZ_SECONDS 20 CACHE STRING "seconds each fuzzer runs under ctest")
  file(GLOB QV_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
  foreach(src ${QV_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${QV_NATIVE_LINK})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    string(REPLACE "fuzz_" "" kind ${name})
    set(corpus ${CMAKE_BINARY_DIR}/corpus/${kind})
    add_test(NAME ${name}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
              $<TARGET_FILE:${name}> -max_total_time=${QV_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=1024
              -print_final_stats=1 ${corpus})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED fuzz_seeds)
  endforeach()
  if(TARGET qv_seedgen)
    add_test(NAME fuzz_seeds COMMAND qv_seedgen ${CMAKE_BINARY_DIR}/corpus)
    set_tests_properties(fuzz_seeds PROPERTIES FIXTURES_SETUP fuzz_seeds)
  endif()
  return()
endif()

find_package(GTest REQUIRED)
file(GLOB_RECURSE QV_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
list(FILTER QV_UNIT_TESTS EXCLUDE REGEX "/tests/(wine|fuzz)/")
add_executable(qv_tests ${QV_UNIT_TESTS})
target_link_libraries(qv_tests PRIVATE ${QV_NATIVE_LINK} qv_fxgen GTest::gtest GTest::gtest_main)
target_compile_definitions(qv_tests PRIVATE QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# The tests' own code needs neither optimising nor instrumenting (the sanitizers watch the engine);
# both would only slow the build, which GoogleTest's macros dominate.
target_compile_options(qv_tests PRIVATE -O0 -g0)
if(QV_SANITIZE)
  target_compile_options(qv_tests PRIVATE -fno-sanitize=all)
endif()
target_precompile_headers(qv_tests PRIVATE <gtest/gtest.h> <string> <vector>)
add_test(NAME unit_tests COMMAND qv_tests --gtest_color=no)
set_tests_properties(unit_tests PROPERTIES TIMEOUT 600)

# The include structure against tools/layers.txt, and the checker itself on small trees.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME layer_check COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/check_layers.py ${CMAKE_SOURCE_DIR})
  add_test(NAME layer_check_cases COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/tools/check_layers_test.py)
endif()

if(QV_BENCH AND NOT QV_SANITIZE)
  find_package(benchmark REQUIRED)
  file(GLOB QV_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(QV_BENCH_SOURCES)
    add_executable(qv_bench ${QV_BENCH_SOURCES})
    target_link_libraries(qv_bench PRIVATE ${QV_NATIVE_LINK} benchmark::benchmark benchmark::benchmark_main)
  endif()
endif()
