# The video program: application, main dialog, bitmap buttons, About dialog, banner,
# and the encoder worker; its dialogs and images are resources of video.rc (the images
# are drawn by res/make_images.py).
if(ZV_WINDOWS)
  add_library(zv_video_worker STATIC TavrinThread.cpp TavrinFFmpeg.cpp)
  target_include_directories(zv_video_worker PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  zv_warnings(zv_video_worker)

  add_library(zv_video_dialog STATIC videoApp.cpp videoDlg.cpp videoDlgQueue.cpp ControlButton.cpp Dg3.cpp Explorer1.cpp)
  target_include_directories(zv_video_dialog PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(zv_video_dialog PUBLIC zv_video_worker zv_video_options zv_dialogs)
  zv_warnings(zv_video_dialog)

  add_executable(video WIN32 Main.cpp video.rc)
  target_link_libraries(video PRIVATE zv_video_dialog)
  target_link_options(video PRIVATE -municode)
  target_include_directories(video PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  zv_warnings(video)
  # The H.264 preset that the encoder is handed from the program's folder.
  zv_ship(video FILES res/h264.dat)

  zv_wine_test(video_worker_test SOURCES tests/TavrinFFmpegTest.cpp
    LIBS zv_video_worker DEPENDS vvdouble TIMEOUT 120)
  if(TARGET video_worker_test)
    # Its normal runs once more where the ANSI and OEM code pages differ (1252 and 437);
    # the two share the test's folders, so they take turns.
    add_test(NAME video_worker_test_cp437
      COMMAND ${ZV_WINE_ENV} run ${CMAKE_BINARY_DIR} $<TARGET_FILE:video_worker_test>)
    set_tests_properties(video_worker_test_cp437 PROPERTIES LABELS wine FIXTURES_REQUIRED wine_env
      TIMEOUT 60 ENVIRONMENT "ZV_WINE_CTYPE=C.UTF-8;GTEST_FILTER=Worker.NormalRun*")
    set_tests_properties(video_worker_test video_worker_test_cp437 PROPERTIES
      RESOURCE_LOCK video_worker)
  endif()
  zv_wine_test(video_dialog_test SOURCES tests/VideoDlgTest.cpp tests/ControlButtonTest.cpp video.rc
    LIBS zv_video_dialog DEPENDS vvdouble video TIMEOUT 120 FOCUS)
  if(TARGET video_dialog_test)
    target_include_directories(video_dialog_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  endif()

  # The queue with the scripted encoder double, and end to end with the real bridge on
  # the clip that the bridges' fixture makes.
  zv_wine_test(video_queue_test SOURCES tests/VideoQueueTest.cpp video.rc
    LIBS zv_video_dialog DEPENDS vvdouble TIMEOUT 90)
  zv_wine_test(video_queue_e2e_test SOURCES tests/VideoQueueE2eTest.cpp video.rc
    LIBS zv_video_dialog zv_bridge DEPENDS bridge_vv LABELS e2e TIMEOUT 180)
  if(TARGET video_queue_e2e_test)
    set_tests_properties(video_queue_e2e_test PROPERTIES FIXTURES_REQUIRED "wine_env;bridges_clip")
  endif()

endif()

# Screenshots for the README: video_screenshots OUT_DIR under Wine.
if(ZV_WINDOWS AND NOT ZV_SHIPPING)
  add_executable(video_screenshots tests/Screenshots.cpp video.rc)
  target_link_libraries(video_screenshots PRIVATE zv_video_dialog zv_capture)
  target_include_directories(video_screenshots PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  zv_warnings(video_screenshots)
endif()
