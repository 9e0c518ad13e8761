# The shipped skins, the drawing toolkit and the skin data component.
set(ZV_SKINS_DIR ${CMAKE_SOURCE_DIR}/skins)

# Native build: pack each skin folder with the host packer, and check that the packed
# archives committed beside the sources (which the Windows builds embed) still match.
if(NOT ZV_WINDOWS)
  set(_zv_packed)
  foreach(n 0 1 2 3 4)
    set(dir ${ZV_SKINS_DIR}/SkinItem${n})
    file(STRINGS ${dir}/files.txt _zv_files)
    set(_zv_inputs)
    foreach(f IN LISTS _zv_files)
      list(APPEND _zv_inputs ${dir}/${f})
    endforeach()
    set(out ${CMAKE_BINARY_DIR}/skins/SkinItem${n}.skn)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/skins
      COMMAND $<TARGET_FILE:skinpack> -o ${out} ${_zv_files}
      WORKING_DIRECTORY ${dir}
      DEPENDS skinpack ${_zv_inputs} ${dir}/files.txt
      COMMENT "Packing skin SkinItem${n}")
    list(APPEND _zv_packed ${out})
  endforeach()
  add_custom_target(zv_skins ALL DEPENDS ${_zv_packed})
  if(ZV_TESTS)
    foreach(n 0 1 2 3 4)
      add_test(NAME skins_packed_current_${n}
        COMMAND ${CMAKE_COMMAND} -E compare_files
                ${CMAKE_BINARY_DIR}/skins/SkinItem${n}.skn ${ZV_SKINS_DIR}/packed/SkinItem${n}.skn)
      set_tests_properties(skins_packed_current_${n} PROPERTIES LABELS native)
    endforeach()
  endif()
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
