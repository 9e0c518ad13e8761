# The skin engine's pure modules (no window handles; built and tested on the host too)
# and, for Windows, the thin layer that shows what they report.
add_library(zv_skin_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/LZH.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinRead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinSkinIni.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinSkinStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImgUtil.cpp)
target_include_directories(zv_skin_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zv_skin_core PUBLIC zv_forms_core)
zv_warnings(zv_skin_core)

zv_native_test(skin_read_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinReadTest.cpp
  LIBS zv_skin_core zv_skinpack)
zv_native_test(skin_ini_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/WinSkinIniTest.cpp
  LIBS zv_skin_core)
zv_native_test(skin_imgutil_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ImgUtilTest.cpp
  LIBS zv_skin_core)
zv_native_test(skin_store_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/WinSkinStoreTest.cpp
  LIBS zv_skin_core)

if(ZV_WINDOWS)
  add_library(zv_skin STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SkinReadWin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImgUtilWin.cpp)
  target_link_libraries(zv_skin PUBLIC zv_skin_core zv_forms)
  zv_warnings(zv_skin)

  zv_wine_test(skin_imgutil_wine_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ImgUtilWinTest.cpp
    LIBS zv_skin)
endif()

# zv_skin_fuzzer(name SOURCES ... [LIBS ...] [MAX_LEN n]): a libFuzzer target of the host
# build (clang only). The code under test is compiled into the target itself, so that
# the fuzzer sees its coverage. Its CTest entry runs a fixed number of inputs from the
# seed corpus in the folder's corpus/ (new inputs go to the build folder) and fails on
# any finding.
function(zv_skin_fuzzer name)
  if(ZV_WINDOWS OR NOT ZV_TESTS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(F "" "MAX_LEN" "SOURCES;LIBS" ${ARGN})
  if(NOT F_MAX_LEN)
    set(F_MAX_LEN 4096)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/platform ${CMAKE_SOURCE_DIR}/zorvel/skin/core)
  # Optimised, as fuzzing wants many runs; the sanitizers stay on.
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer -O2)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  zv_warnings(${name})
  # Each run starts from the seeds alone, so that its length does not grow run by run, and
  # never re-reads its corpus folder on a timer, so that a seed replays the same inputs.
  set(found ${CMAKE_CURRENT_BINARY_DIR}/corpus)
  add_test(NAME ${name}
    COMMAND sh -c "rm -rf \"$1\" && mkdir -p \"$1\" && shift && exec \"$@\"" fuzz ${found}
            $<TARGET_FILE:${name}> -runs=200000 -seed=1 -reload=0 -max_len=${F_MAX_LEN} -timeout=10
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/
            ${found} ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
  set_tests_properties(${name} PROPERTIES LABELS "native;fuzz" TIMEOUT 300)
endfunction()
