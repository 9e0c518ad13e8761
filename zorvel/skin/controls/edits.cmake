# The skinners of range controls (track bar, up-down, progress bar) and of edit-like
# controls (edit, combo box, date-time picker). Their geometry is pure, tested on the host.
target_sources(zv_skin_controls_core PRIVATE
  ${ZV_CONTROLS_DIR}/SkinRangeLayout.cpp ${ZV_CONTROLS_DIR}/SkinEditLayout.cpp)
zv_native_test(skin_edits_layout_test
  SOURCES ${ZV_CONTROLS_DIR}/tests/SkinRangeLayoutTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinEditLayoutTest.cpp
  LIBS zv_skin_controls_core)

if(ZV_WINDOWS)
  target_sources(zv_skin_form PRIVATE ${ZV_CONTROLS_DIR}/SkinRanges.cpp ${ZV_CONTROLS_DIR}/SkinEdits.cpp)
  zv_wine_test(skin_edits_wine_test
    SOURCES ${ZV_CONTROLS_DIR}/tests/ControlSkin.cpp
            ${ZV_CONTROLS_DIR}/tests/SkinRangesTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinEditsTest.cpp
            ${ZV_CONTROLS_DIR}/../form/tests/TestSkin.cpp ${ZV_SKIN_RC}
    LIBS zv_skin_form zv_skinpack zv_testkit FOCUS)
  if(TARGET skin_edits_wine_test)
    target_include_directories(skin_edits_wine_test PRIVATE ${ZV_CONTROLS_DIR}/../form/tests)
  endif()
endif()
