# The media player's button bar. Its glyphs are bitmap resources of the program: a
# program with a media player adds ZV_MPLAYER_RC to its sources (without them the
# buttons show no glyph).
if(ZV_WINDOWS)
  target_sources(zv_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MPlayer.cpp)
  set(ZV_MPLAYER_RC ${CMAKE_CURRENT_LIST_DIR}/res/MPlayer.rc CACHE INTERNAL "the media player's glyphs")
endif()
