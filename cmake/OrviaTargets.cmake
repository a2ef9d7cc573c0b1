# Helpers shared by every folder's CMakeLists.

# orvia_test(NAME [HEAP_FAILURES] [ONE_PROCESS] SOURCES src... LIBS lib...): one GoogleTest
# binary, its tests run by CTest. HEAP_FAILURES links the heaps' fault-injecting build in
# place of the shipped heaps (support/heap_failures.h). ONE_PROCESS runs the binary as one
# CTest test, for suites that share an expensive set-up (a whole dictionary compiled).
function(orvia_test name)
  cmake_parse_arguments(T "HEAP_FAILURES;ONE_PROCESS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvia_test_support GTest::gtest
    GTest::gtest_main)
  if(T_HEAP_FAILURES)
    set_target_properties(${name} PROPERTIES ORVIA_HEAP_FAILURES ON)
    target_link_libraries(${name} PRIVATE orvia_heap_failures)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(T_ONE_PROCESS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ORVIADIC_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "ORVIADIC_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
endfunction()

# orvia_benchmark(NAME SOURCES src... LIBS lib...): a Google Benchmark binary, run by hand.
function(orvia_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
endfunction()

# orvia_fuzz_target(NAME SOURCES src... LIBS lib...): the target's LLVMFuzzerTestOneInput
# built twice: with a replay main that runs the seed corpus fuzz/corpus/NAME as a test in
# every build, and, with ORVIADIC_FUZZ on clang, as a libFuzzer binary that fuzzes for
# ORVIADIC_FUZZ_SECONDS as a test.
function(orvia_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cc)
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
  target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name}_replay COMMAND ${name}_replay ${corpus})
  if(ORVIADIC_FUZZ)
    add_executable(${name} ${F_SOURCES})
    add_dependencies(all_fuzzers ${name})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
    add_test(NAME ${name}_fuzz COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
      sh -c "mkdir -p ${work} && $<TARGET_FILE:${name}> -max_total_time=${ORVIADIC_FUZZ_SECONDS} -print_final_stats=1 ${work} ${corpus}")
  endif()
endfunction()
