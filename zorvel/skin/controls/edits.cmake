# The skinners of range controls (track bar, up-down, progress bar) and of edit-like
# controls (edit, combo box, date-time picker). Their geometry is pure, tested on the host.
target_sources(zv_skin_controls_core PRIVATE
  ${ZV_CONTROLS_DIR}/SkinRangeLayout.cpp ${ZV_CONTROLS_DIR}/SkinEditLayout.cpp)
zv_native_test(skin_edits_layout_test
  SOURCES ${ZV_CONTROLS_DIR}/tests/SkinRangeLayoutTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinEditLayoutTest.cpp
  LIBS zv_skin_controls_core)

if(ZV_WINDOWS)
  target_sources(zv_skin_form PRIVATE ${ZV_CONTROLS_DIR}/SkinRanges.cpp ${ZV_CONTROLS_DIR}/SkinEdits.cpp)
  zv_control_skin_test(skin_edits_wine_test
    ${ZV_CONTROLS_DIR}/tests/SkinRangesTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinEditsTest.cpp)
endif()
