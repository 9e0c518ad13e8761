# The skin engine's pure modules (no window handles; built and tested on the host too)
# and, for Windows, the thin layer that shows what they report.
add_library(zv_skin_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/LZH.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinRead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinSkinIni.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinSkinStore.cpp)
target_include_directories(zv_skin_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zv_skin_core PUBLIC zv_forms_core)
zv_warnings(zv_skin_core)

zv_native_test(skin_read_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinReadTest.cpp
  LIBS zv_skin_core zv_skinpack)
zv_native_test(skin_ini_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/WinSkinIniTest.cpp
  LIBS zv_skin_core)
zv_native_test(skin_store_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/WinSkinStoreTest.cpp
  LIBS zv_skin_core)

if(ZV_WINDOWS)
  add_library(zv_skin STATIC ${CMAKE_CURRENT_LIST_DIR}/SkinReadWin.cpp)
  target_link_libraries(zv_skin PUBLIC zv_skin_core zv_forms)
  zv_warnings(zv_skin)
endif()
