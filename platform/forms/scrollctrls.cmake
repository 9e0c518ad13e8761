# The memo, the scroll bar control and the header control.
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ScrollCtrls.cpp)
endif()
