# Check boxes and radio buttons, tabs and tab sets, other libraries' check boxes and page
# controls, speed buttons and media players. What each state shows and where is pure
# (tested on the host); the skinners join the form skinner's library.
target_sources(zv_skin_controls_core PRIVATE ${ZV_CONTROLS_DIR}/SkinStates.cpp)
zv_native_test(skin_states_test SOURCES ${ZV_CONTROLS_DIR}/tests/SkinStatesTest.cpp
  LIBS zv_skin_controls_core)

if(ZV_WINDOWS)
  target_sources(zv_skin_form PRIVATE
    ${ZV_CONTROLS_DIR}/SkinChecks.cpp ${ZV_CONTROLS_DIR}/SkinTabs.cpp
    ${ZV_CONTROLS_DIR}/SkinForeign.cpp ${ZV_CONTROLS_DIR}/SkinSpeedButton.cpp
    ${ZV_CONTROLS_DIR}/SkinMediaPlayer.cpp)
  zv_control_skin_test(skin_checktabmedia_wine_test
    ${ZV_CONTROLS_DIR}/tests/CheckTabSkin.cpp ${ZV_CONTROLS_DIR}/tests/SkinChecksTest.cpp
    ${ZV_CONTROLS_DIR}/tests/SkinTabsTest.cpp ${ZV_CONTROLS_DIR}/tests/SkinForeignTest.cpp
    ${ZV_CONTROLS_DIR}/tests/SkinSpeedMediaTest.cpp ${ZV_MPLAYER_RC})
endif()
