# The video program: application, main dialog, bitmap buttons, About dialog, banner,
# and the encoder worker; its dialogs and images are resources of video.rc.
if(ZV_WINDOWS)
  add_library(zv_video_worker STATIC TavrinThread.cpp TavrinFFmpeg.cpp)
  target_include_directories(zv_video_worker PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  zv_warnings(zv_video_worker)

  zv_wine_test(video_worker_test SOURCES tests/TavrinFFmpegTest.cpp
    LIBS zv_video_worker DEPENDS vvdouble TIMEOUT 120)
endif()
