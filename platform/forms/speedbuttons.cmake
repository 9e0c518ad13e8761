# The speed button.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SpeedButtons.cpp)
endif()
