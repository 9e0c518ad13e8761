# The control skinners. Their layout arithmetic and the property access by name are pure
# (tested on the host); the skinners join the form skinner's library.
set(ZV_CONTROLS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(zv_skin_controls_core STATIC ${ZV_CONTROLS_DIR}/SkinProps.cpp ${ZV_CONTROLS_DIR}/SkinLayout.cpp)
target_include_directories(zv_skin_controls_core PUBLIC ${ZV_CONTROLS_DIR})
target_link_libraries(zv_skin_controls_core PUBLIC zv_skin_core)
zv_warnings(zv_skin_controls_core)

# A Wine test of control skinners, with the helpers they share: the control fixture, the
# form tests' test skin and the packed skins.
function(zv_control_skin_test name)
  zv_wine_test(${name}
    SOURCES ${ZV_CONTROLS_DIR}/tests/ControlSkin.cpp ${ARGN}
            ${ZV_CONTROLS_DIR}/../form/tests/TestSkin.cpp ${ZV_SKIN_RC}
    LIBS zv_skin_form zv_skinpack zv_testkit FOCUS)
  if(TARGET ${name})
    target_include_directories(${name} PRIVATE ${ZV_CONTROLS_DIR}/../form/tests)
  endif()
endfunction()

zv_native_test(skin_controls_test
  SOURCES ${ZV_CONTROLS_DIR}/tests/SkinPropsTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinLayoutTest.cpp
  LIBS zv_skin_controls_core)

if(ZV_WINDOWS)
  target_link_libraries(zv_skin_controls_core PUBLIC zv_skin)
  target_sources(zv_skin_form PRIVATE
    ${ZV_CONTROLS_DIR}/SkinControl.cpp ${ZV_CONTROLS_DIR}/WinSubClass.cpp
    ${ZV_CONTROLS_DIR}/SkinBoxes.cpp ${ZV_CONTROLS_DIR}/SkinButtons.cpp)
  target_link_libraries(zv_skin_form PUBLIC zv_skin_controls_core)

  zv_control_skin_test(skin_controls_wine_test
    ${ZV_CONTROLS_DIR}/tests/SkinControlTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinBoxesTest.cpp
    ${ZV_CONTROLS_DIR}/tests/SkinButtonsTest.cpp)
endif()
