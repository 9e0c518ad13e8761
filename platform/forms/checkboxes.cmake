# Check boxes, radio buttons and the radio group.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CheckBoxes.cpp)
endif()
