// The application object of video: prepares the common controls and the control
// container, shows the main dialog modally, and ends when it ends.
#pragma once

#include "dialogs/Dialogs.h"

class CvideoApp : public CApplication {
 public:
  CvideoApp();
  BOOL InitInstance() override;
};
