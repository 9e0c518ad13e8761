# Form descriptions, the published-property registry, controls and forms.
target_sources(zv_forms_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FormDesc.cpp ${CMAKE_CURRENT_LIST_DIR}/TypInfo.cpp)
zv_native_test(forms_desc_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/FormDescTest.cpp LIBS zv_forms_core)

if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Controls.cpp ${CMAKE_CURRENT_LIST_DIR}/Menus.cpp ${CMAKE_CURRENT_LIST_DIR}/StdCtrls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ComCtrls.cpp ${CMAKE_CURRENT_LIST_DIR}/Dialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Buttons.cpp ${CMAKE_CURRENT_LIST_DIR}/ImgList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OleCtrls.cpp)
  target_link_libraries(zv_forms PUBLIC zv_ole comctl32 comdlg32 shell32 ole32 oleaut32 uuid)
endif()
if(ZV_WINDOWS)
  zv_wine_test(forms_controls_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ControlsTest.cpp LIBS zv_forms TIMEOUT 60 FOCUS)
endif()
if(ZV_WINDOWS)
  zv_wine_test(forms_menus_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/MenusTest.cpp LIBS zv_forms)
endif()
