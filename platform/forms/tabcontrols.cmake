# The tab control, the page control and its tab sheets.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/TabControls.cpp)
endif()
