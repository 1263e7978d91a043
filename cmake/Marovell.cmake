# Shared build settings and helpers for the project's targets.

set(MAROVELL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

if(EXISTS ${MAROVELL_ROOT}/../shared/tools/with-xvfb)
  set(MAROVELL_WITH_XVFB_DEFAULT ${MAROVELL_ROOT}/../shared/tools/with-xvfb)
else()
  set(MAROVELL_WITH_XVFB_DEFAULT ${MAROVELL_ROOT}/tools/with-xvfb)
endif()
get_filename_component(MAROVELL_WITH_XVFB_DEFAULT ${MAROVELL_WITH_XVFB_DEFAULT} REALPATH)
set(MAROVELL_WITH_XVFB ${MAROVELL_WITH_XVFB_DEFAULT} CACHE FILEPATH "Runs a command against a private X server")

if(MAROVELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()

# Sanitized tests ignore the process-wide caches that system libraries never free.
set(MAROVELL_TEST_ENVIRONMENT "LSAN_OPTIONS=suppressions=${MAROVELL_ROOT}/tools/lsan.supp:print_suppressions=0")

# Fuzz targets carry the same suppressions and options themselves, built from the same file, so that
# a run without LSAN_OPTIONS agrees with the tests.
file(READ ${MAROVELL_ROOT}/tools/lsan.supp MAROVELL_LSAN_SUPPRESSIONS)
set(MAROVELL_LSAN_DEFAULTS ${CMAKE_BINARY_DIR}/lsan_defaults.cpp)
configure_file(${MAROVELL_ROOT}/tools/fuzz/lsan_defaults.cpp.in ${MAROVELL_LSAN_DEFAULTS} @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MAROVELL_ROOT}/tools/lsan.supp)

# Warnings apply to the project's own targets only.
function(marovell_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(MAROVELL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# marovell_library(NAME SOURCES ... [DEPS ...]): one static library per subsystem folder.
# Headers are included relative to the repository root ("ordo/value.h").
function(marovell_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${MAROVELL_ROOT})
  target_link_libraries(${name} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  marovell_warnings(${name})
endfunction()

# marovell_test(NAME SOURCES ... LIBS ... [XVFB] [LABELS ...]): a GoogleTest program.
# XVFB tests run as one CTest test under a private X server and carry the label "xvfb".
function(marovell_test name)
  if(NOT MAROVELL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "XVFB" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE MAROVELL_SOURCE_DIR="${MAROVELL_ROOT}")
  marovell_warnings(${name})
  if(T_XVFB)
    add_test(NAME ${name} COMMAND ${MAROVELL_WITH_XVFB} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES LABELS "xvfb;${T_LABELS}" TIMEOUT 600
                         ENVIRONMENT "${MAROVELL_TEST_ENVIRONMENT}")
  else()
    set(properties TIMEOUT 300 ENVIRONMENT "${MAROVELL_TEST_ENVIRONMENT}")
    if(T_LABELS)
      list(APPEND properties LABELS "${T_LABELS}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  endif()
endfunction()

# marovell_fuzzer(NAME SOURCE file CORPUS dir [BARE_SEEDS file ...] LIBS ...): a libFuzzer target.
# With MAROVELL_FUZZ it links against libFuzzer for long runs, and CTest runs it once over its seed
# corpus; otherwise the same entry point is linked with a replay main and CTest replays the corpus.
# Either way the target holds its own leak suppressions, and CTest runs it without LSAN_OPTIONS as a
# user would; the BARE_SEEDS run once more with no environment at all.
function(marovell_fuzzer name)
  cmake_parse_arguments(F "" "SOURCE;CORPUS" "LIBS;BARE_SEEDS" ${ARGN})
  if(MAROVELL_FUZZ)
    add_executable(${name} ${F_SOURCE} ${MAROVELL_LSAN_DEFAULTS})
    set_target_properties(${name} PROPERTIES MAROVELL_FUZZER ON)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(command ${name} -runs=0 ${F_CORPUS})
  elseif(MAROVELL_TESTS)
    set(name ${name}_replay)
    add_executable(${name} ${F_SOURCE} ${MAROVELL_ROOT}/tools/fuzz/replay_main.cpp ${MAROVELL_LSAN_DEFAULTS})
    set(command ${name} ${F_CORPUS})
  else()
    return()
  endif()
  if(MAROVELL_TESTS)
    add_test(NAME ${name} COMMAND ${command})
    set_tests_properties(${name} PROPERTIES LABELS "fuzz" TIMEOUT 600)
    if(F_BARE_SEEDS)
      add_test(NAME ${name}_bare COMMAND env -i $<TARGET_FILE:${name}> ${F_BARE_SEEDS})
      set_tests_properties(${name}_bare PROPERTIES LABELS "fuzz" TIMEOUT 600)
    endif()
  endif()
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  marovell_warnings(${name})
endfunction()

# A fuzz build instruments every object for libFuzzer. The fuzz targets link libFuzzer itself; every
# other program (tests, the host, benchmarks) links its runtime without a main, which holds what the
# instrumentation calls.
if(MAROVELL_FUZZ)
  if(NOT CMAKE_C_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "MAROVELL_FUZZ needs clang for C and C++: "
                        "-DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} --print-runtime-dir
                  OUTPUT_VARIABLE runtime_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(MAROVELL_FUZZER_NO_MAIN ${runtime_dir}/libclang_rt.fuzzer_no_main-${CMAKE_SYSTEM_PROCESSOR}.a)
  if(NOT EXISTS ${MAROVELL_FUZZER_NO_MAIN})
    message(FATAL_ERROR "MAROVELL_FUZZ needs clang with libFuzzer (scripts/install-deps.sh --fuzz); "
                        "not found: ${MAROVELL_FUZZER_NO_MAIN}")
  endif()
  link_libraries("$<$<AND:$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>,$<NOT:$<BOOL:$<TARGET_PROPERTY:MAROVELL_FUZZER>>>>:${MAROVELL_FUZZER_NO_MAIN}>")
endif()
