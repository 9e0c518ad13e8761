# Streams, collections and (Win32) bitmaps and canvases.
target_sources(zv_forms_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Streams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Collections.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BmpFile.cpp)

zv_native_test(forms_streams_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/StreamsTest.cpp
  LIBS zv_forms_core)
zv_native_test(forms_bmpfile_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/BmpFileTest.cpp
  LIBS zv_forms_core)

if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Graphics.cpp)
endif()
