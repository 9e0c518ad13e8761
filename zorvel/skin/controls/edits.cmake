# The skinners of range controls (track bar, up-down, progress bar) and of edit-like
# controls (edit, combo box, date-time picker). Their geometry is pure, tested on the host.
target_sources(zv_skin_controls_core PRIVATE
  ${ZV_CONTROLS_DIR}/SkinRangeLayout.cpp ${ZV_CONTROLS_DIR}/SkinEditLayout.cpp)

if(ZV_WINDOWS)
  target_sources(zv_skin_form PRIVATE ${ZV_CONTROLS_DIR}/SkinRanges.cpp ${ZV_CONTROLS_DIR}/SkinEdits.cpp)
endif()
