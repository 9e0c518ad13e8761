// The main of every Win32 test program: one application object on this UI thread, and
// message boxes answered instead of shown.
#include <gmock/gmock.h>

#include "TestKit.h"
#include "forms/Forms.h"

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  TApplication application;
  application.Title = "tests";
  testkit::InstallMessageBoxRecorder();
  return RUN_ALL_TESTS();
}
