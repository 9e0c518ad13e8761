# The shipped skins, the drawing toolkit and the skin data component.
set(ZV_SKINS_DIR ${CMAKE_SOURCE_DIR}/skins)

# Native build: pack each skin folder with the host packer, and check that the packed
# archives committed beside the sources (which the Windows builds read) still match.
set(ZV_SKIN_TEST_DATA ${CMAKE_CURRENT_LIST_DIR}/tests/data)
if(NOT ZV_WINDOWS)
  # zv_pack_skin(name folder committed-archive)
  function(zv_pack_skin name dir committed)
    file(STRINGS ${dir}/files.txt files)
    set(inputs)
    foreach(f IN LISTS files)
      list(APPEND inputs ${dir}/${f})
    endforeach()
    set(out ${CMAKE_BINARY_DIR}/skins/${name}.skn)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/skins
      COMMAND $<TARGET_FILE:skinpack> -o ${out} ${files}
      WORKING_DIRECTORY ${dir}
      DEPENDS skinpack ${inputs} ${dir}/files.txt
      COMMENT "Packing skin ${name}")
    set_property(GLOBAL APPEND PROPERTY ZV_PACKED_SKINS ${out})
    if(ZV_TESTS)
      add_test(NAME skins_packed_current_${name}
        COMMAND ${CMAKE_COMMAND} -E compare_files ${out} ${committed})
      set_tests_properties(skins_packed_current_${name} PROPERTIES LABELS native)
    endif()
  endfunction()
  foreach(n 0 1 2 3 4)
    zv_pack_skin(SkinItem${n} ${ZV_SKINS_DIR}/SkinItem${n} ${ZV_SKINS_DIR}/packed/SkinItem${n}.skn)
  endforeach()
  foreach(t minimal hostile)
    zv_pack_skin(${t} ${ZV_SKIN_TEST_DATA}/${t} ${ZV_SKIN_TEST_DATA}/${t}.skn)
  endforeach()
  get_property(_zv_packed GLOBAL PROPERTY ZV_PACKED_SKINS)
  add_custom_target(zv_skins ALL DEPENDS ${_zv_packed})
endif()

# Skin images and drawing geometry: pure, in the core library.
target_sources(zv_skin_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinDraw.cpp)
zv_native_test(skin_draw_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinDrawTest.cpp
  LIBS zv_skin_core)

if(ZV_WINDOWS)
  target_sources(zv_skin PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinDrawWin.cpp)
  zv_wine_test(skin_draw_wine_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinDrawWinTest.cpp
    LIBS zv_skin)
endif()

# The content of a loaded skin: pure, in the core library.
target_sources(zv_skin_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WinSkinDataCore.cpp)
if(NOT ZV_WINDOWS AND ZV_TESTS)
  zv_native_test(skin_data_core_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/WinSkinDataCoreTest.cpp
    LIBS zv_skin_core zv_skinpack)
  target_compile_definitions(skin_data_core_test PRIVATE ZV_SKINS_DIR="${ZV_SKINS_DIR}")
endif()

# The skin data component and its resources (Win32).
if(ZV_WINDOWS)
  target_sources(zv_skin PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WinSkinData.cpp)
  target_link_libraries(zv_skin PUBLIC comctl32)
  # The engine's own bitmaps: every program that uses the skin data adds this file.
  set(ZV_SKIN_RC ${CMAKE_CURRENT_LIST_DIR}/res/SkinData.rc CACHE INTERNAL "the skin engine's resources")
  zv_wine_test(skin_data_wine_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinDataWinTest.cpp ${ZV_SKIN_RC}
    LIBS zv_skin zv_skinpack zv_testkit)
  if(TARGET skin_data_wine_test)
    target_compile_definitions(skin_data_wine_test PRIVATE
      ZV_SKINS_DIR="${ZV_SKINS_DIR}" ZV_SKIN_TEST_DATA="${ZV_SKIN_TEST_DATA}")
  endif()
endif()
