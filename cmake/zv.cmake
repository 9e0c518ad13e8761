# Build helpers shared by every folder of the tree.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(ZV_WINE_ENV ${CMAKE_SOURCE_DIR}/tools/wine-env.sh)

if(ZV_WINDOWS)
  # Each .exe stands alone: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # The i686 build is what users get: the programs alone, no tool, double or bridge.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(ZV_WINE_TESTS ON)
    set(ZV_SHIPPING OFF)
  else()
    set(ZV_WINE_TESTS OFF)
    set(ZV_SHIPPING ON)
  endif()
else()
  set(ZV_WINE_TESTS OFF)
  set(ZV_SHIPPING OFF)
  if(ZV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

function(zv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zv_ship(target FILES file...): a program and the files it reads beside itself. The
# shipping build gives each program a folder of its own, <build>/dist/<target>/, which
# holds nothing else; the other builds put them in <build>/bin/ with the tools and tests.
function(zv_ship target)
  cmake_parse_arguments(S "" "" "FILES" ${ARGN})
  set(dir ${CMAKE_BINARY_DIR}/bin)
  if(ZV_SHIPPING)
    set(dir ${CMAKE_BINARY_DIR}/dist/${target})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir})
  endif()
  foreach(file IN LISTS S_FILES)
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${dir}/${name} COPYONLY)
  endforeach()
endfunction()

# Zorvel keeps its 8-bit texts in code page 936; the sources are UTF-8.
function(zv_cp936 target)
  if(ZV_WINDOWS)
    target_compile_options(${target} PRIVATE -fexec-charset=CP936)
  endif()
endfunction()

macro(zv_add_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  if(ZV_WINDOWS)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endmacro()

# zv_native_test(name SOURCES ... [LIBS ...] [LABELS ...]): a host test under the sanitizers.
function(zv_native_test name)
  if(ZV_WINDOWS OR NOT ZV_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  zv_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "native;${T_LABELS}")
endfunction()

# zv_wine_test(name SOURCES ... [LIBS ...] [LABELS ...] [DEPENDS exe...] [TIMEOUT s]
#              [FOCUS] [UNCHECKED filter]): a Win32 test program, run once (all its cases
# in one process) under Wine in the shared environment that the wine_env fixture starts
# and stops. FOCUS: its cases need keyboard focus or activation, which the windows of
# tests running beside it on the one virtual screen would take, so it runs alone.
# UNCHECKED: its cases that match the test filter (volume cases, which the checked heap
# would slow far too much) run apart, as the test name_unchecked on an unchecked heap.
function(zv_wine_test name)
  if(NOT ZV_WINE_TESTS OR NOT ZV_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "FOCUS" "TIMEOUT;UNCHECKED" "SOURCES;LIBS;LABELS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} zv_testkit_main GTest::gtest GTest::gmock)
  zv_warnings(${name})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(run ${ZV_WINE_ENV} run ${CMAKE_BINARY_DIR})
  add_test(NAME ${name} COMMAND ${run} $<TARGET_FILE:${name}>)
  set(tests ${name})
  if(T_UNCHECKED)
    add_test(NAME ${name}_unchecked COMMAND ${run} --no-heap-check $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT GTEST_FILTER=-${T_UNCHECKED})
    set_tests_properties(${name}_unchecked PROPERTIES ENVIRONMENT GTEST_FILTER=${T_UNCHECKED})
    # One after the other: the exemption holds for the program's image, whoever starts it.
    list(APPEND tests ${name}_unchecked)
    set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK ${name})
  endif()
  set_tests_properties(${tests} PROPERTIES LABELS "wine;${T_LABELS}"
    FIXTURES_REQUIRED wine_env TIMEOUT ${T_TIMEOUT} RUN_SERIAL ${T_FOCUS})
endfunction()

# The Wine environment as a CTest fixture: started before the first Wine test, stopped
# after the last, whatever subset of tests runs.
function(zv_wine_fixture)
  if(NOT ZV_WINE_TESTS OR NOT ZV_TESTS)
    return()
  endif()
  add_test(NAME wine_env_start COMMAND ${ZV_WINE_ENV} start ${CMAKE_BINARY_DIR})
  add_test(NAME wine_env_stop COMMAND ${ZV_WINE_ENV} stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_env_start PROPERTIES FIXTURES_SETUP wine_env LABELS wine TIMEOUT 300)
  set_tests_properties(wine_env_stop PROPERTIES FIXTURES_CLEANUP wine_env LABELS wine)
endfunction()

# Adds every immediate subfolder that has a CMakeLists.txt, in name order: each tool,
# benchmark or fuzz target lives in a folder of its own.
macro(zv_add_subdirs)
  file(GLOB _zv_children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT _zv_children)
  foreach(_zv_child IN LISTS _zv_children)
    get_filename_component(_zv_dir ${_zv_child} DIRECTORY)
    add_subdirectory(${_zv_dir})
  endforeach()
endmacro()

# Includes every *.cmake fragment of the current folder, in name order: a module that
# adds sources to a library of the folder does it in a fragment of its own.
macro(zv_include_fragments)
  file(GLOB _zv_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _zv_fragments)
  foreach(_zv_fragment IN LISTS _zv_fragments)
    include(${_zv_fragment})
  endforeach()
endmacro()
