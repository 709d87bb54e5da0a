#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "shell/skin_engine.h"

namespace quorvane {

// What the window toolkit does during the program's life.
class StartUpPlatform {
 public:
  virtual ~StartUpPlatform() = default;

  // Initialises the toolkit; no window exists yet.
  virtual void Start() = 0;
  // `routine` runs once when the program ends normally, after the toolkit has shut down.
  virtual void RegisterExitRoutine(void (*routine)()) = 0;
  // Creates the main window and its controls, runs its created handler and shows it.
  virtual void LoadMainWindow() = 0;
  // Returns once the main window has been closed.
  virtual void RunMessageLoop() = 0;
};

struct StartUpSettings {
  // Makes the global objects: the downloader.
  std::function<void()> createGlobals;
  // Releases them at a normal end.
  void (*exitRoutine)() = nullptr;
  // Where the skin file is written, and its contents.
  std::string skinFolder;
  std::string_view skinFile;
};

// The program's life in its fixed order: the toolkit starts, the globals are made, the exit
// routine is registered, the skin is written and attached, the main window is created, and
// the message loop runs until the window closes. Returns 0.
int StartUp(StartUpPlatform& platform, SkinEngine& skin, const StartUpSettings& settings);

}  // namespace quorvane
