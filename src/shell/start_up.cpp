#include "shell/start_up.h"

#include "shell/deploy_skin.h"

namespace quorvane {

int StartUp(StartUpPlatform& platform, SkinEngine& skin, const StartUpSettings& settings) {
  platform.Start();
  settings.createGlobals();
  platform.RegisterExitRoutine(settings.exitRoutine);
  DeploySkin(skin, settings.skinFolder, settings.skinFile);
  platform.LoadMainWindow();
  platform.RunMessageLoop();
  return 0;
}

}  // namespace quorvane
