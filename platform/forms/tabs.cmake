# The tab set and its scroll arrows.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Tabs.cpp)
endif()
