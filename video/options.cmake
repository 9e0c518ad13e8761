# Option tables, argument mappers, output naming and the encoder command: pure logic,
# built and tested natively; the OEM conversion of the command joins in Windows builds.
add_library(zv_video_options STATIC OptionTables.cpp OutputNaming.cpp)
target_include_directories(zv_video_options PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
zv_warnings(zv_video_options)
if(ZV_WINDOWS)
  target_sources(zv_video_options PRIVATE OemCommand.cpp)
endif()

zv_native_test(video_options_test
  SOURCES tests/OptionTablesTest.cpp tests/OutputNamingTest.cpp
  LIBS zv_video_options)

if(ZV_WINDOWS)
  zv_wine_test(video_oem_command_test SOURCES tests/OemCommandTest.cpp
    LIBS zv_video_options TIMEOUT 60)
endif()
