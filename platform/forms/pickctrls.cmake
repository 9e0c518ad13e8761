# The track bar, up-down and date-time picker, and the control that paints itself.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PickCtrls.cpp ${CMAKE_CURRENT_LIST_DIR}/CustomCtrls.cpp)
endif()
