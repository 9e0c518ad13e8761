# The scroll-bar skinners (overlays over a window's bars), the list-view and header
# skinners and the small skinners that give a window the face colour. The overlay's
# geometry and picture are pure (tested on the host).
set(ZV_SCROLL_DIR ${CMAKE_CURRENT_LIST_DIR})
target_sources(zv_skin_controls_core PRIVATE ${ZV_SCROLL_DIR}/ScrollGeometry.cpp)
zv_native_test(skin_scroll_geometry_test
  SOURCES ${ZV_SCROLL_DIR}/tests/ScrollGeometryTest.cpp
  LIBS zv_skin_controls_core)

if(ZV_WINDOWS)
  target_sources(zv_skin_form PRIVATE
    ${ZV_SCROLL_DIR}/SkinScrollBars.cpp ${ZV_SCROLL_DIR}/SkinHeader.cpp ${ZV_SCROLL_DIR}/SkinSheets.cpp)
  zv_control_skin_test(skin_scroll_wine_test
    ${ZV_SCROLL_DIR}/tests/ScrollSkin.cpp ${ZV_SCROLL_DIR}/tests/SkinScrollBarsTest.cpp
    ${ZV_SCROLL_DIR}/tests/SkinHeaderTest.cpp ${ZV_SCROLL_DIR}/tests/SkinSheetsTest.cpp)
endif()
