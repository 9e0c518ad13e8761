# The tool bar with custom-draw events.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ToolBar.cpp)
endif()
