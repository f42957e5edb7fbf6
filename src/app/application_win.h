// The application object: owns the run's state and windows, and carries out
// start-up, the unattended purge, the message loop and the end.
#pragma once
#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/main_form_win.h"
#include "app/splash_win.h"
#include "platform/gui_win.h"

namespace tidemark::app {

// The hidden application window: its class and title identify a running
// instance, and it owns the main window.
class ApplicationWindow : public gui::Window {
 public:
  void Create(const std::string& title);
};

// Exit codes beyond the error levels 0..9 of an unattended purge.
constexpr int kExitReportNotWritten = 10;  // the "Report=" file could not be written
constexpr int kExitHandedOver = 11;        // another instance runs: this start purged nothing
constexpr int kExitPowerActionFailed = 12;  // a Shutdown run's log-off, shutdown or stand-by was refused

class Application {
 public:
  Application(Platform platform, CommandLine commandLine, std::string programFile);
  ~Application();

  // Start-up to end; the process exit code: the error level of an
  // unattended purge, 9 after a program error, the codes above (the
  // highest wins), else 0.
  int Run();

  // Steps that tests drive on their own.
  void StartUp();           // decisions before any window
  bool CreateMainWindow();  // false when creation failed (the error was shown)
  void RunUnattended();     // the purge of an unattended mode and ShowMainAfterRun
  void RunMessageLoop();
  // INIT, UNINST, the unattended purge or the interactive session.
  void RunWithMainWindow();
  // Writes the results list to the "Report=" file.
  void WriteReportFile();

  AppContext& context() { return context_; }
  TFFoxForm* mainForm() { return mainForm_.get(); }

 private:
  void ShowProgramError(const std::string& message, uintptr_t address);
  void ReadDisplayOptions();

  AppContext context_;
  ApplicationWindow applicationWindow_;
  SplashForm splash_;
  std::unique_ptr<TFFoxForm> mainForm_;
  int exitCode_ = 0;
};

}  // namespace tidemark::app
