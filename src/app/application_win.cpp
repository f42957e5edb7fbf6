#include "app/application_win.h"

#include <algorithm>
#include <cstdio>

#include "app/installer_hooks.h"
#include "app/instance_win.h"
#include "cookies/protect_file.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/option_sets.h"

namespace tidemark::app {
namespace {

constexpr int kProgramErrorLevel = 9;  // a run that ended in a program error never reports success

WindowsVersion ReportedVersion() {
  OSVERSIONINFOA info{sizeof info};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&info);
#pragma GCC diagnostic pop
  return {static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
          static_cast<int>(info.dwMinorVersion), static_cast<int>(info.dwBuildNumber)};
}

std::string UserName() {
  char name[257] = {};
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

}  // namespace

void ApplicationWindow::Create(const std::string& title) {
  CreateWindowOf("TidemarkApplication", title.c_str(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr);
}

Application::Application(Platform platform, CommandLine commandLine, std::string programFile)
    : context_(platform) {
  context_.commandLine = std::move(commandLine);
  context_.options = ReadStartupOptions(context_.commandLine);
  context_.paths.programFile = std::move(programFile);
  context_.paths.programFolder = ParentFolder(context_.paths.programFile);
  gui::SetProgramErrorHandler(
      [this](const std::string& message, uintptr_t address) { ShowProgramError(message, address); },
      kProgramErrorLevel);
}

Application::~Application() { gui::SetProgramErrorHandler(nullptr, 0); }

void Application::ShowProgramError(const std::string& message, uintptr_t address) {
  std::string text = message + ".";
  if (address) {
    char where[32];
    std::snprintf(where, sizeof where, "%08llX", static_cast<unsigned long long>(address));
    text += std::string(" Occurred at: ") + where;
  }
  text += "\r\n\r\nPlease report this message to the vendor...";
  HWND owner = mainForm_ ? mainForm_->hwnd() : nullptr;
  MessageBoxA(owner, text.c_str(), "Tidemark  -  Program Error", MB_OK | MB_ICONERROR);
  context_.purge.purgeRunning = false;
  exitCode_ = kProgramErrorLevel;
  if (owner && IsWindow(owner)) mainForm_->Close();
}

void Application::StartUp() {
  gui::InitCommonControls();
  context_.pixelsPerInch = gui::ScreenPixelsPerInch();
  context_.largeFonts = context_.pixelsPerInch != 96;
  splash_.Create(context_.pixelsPerInch);

  platform::SpecialFolder appData = context_.platform.shell.GetSpecialFolder(platform::csidl::kAppData);
  platform::FileSystem& files = context_.platform.files;
  context_.paths = ResolvePaths(context_.options, context_.paths.programFile, appData.found ? appData.path : "", files);
  if (context_.paths.ownDataFolder) {
    cookies::MergeFormerProtectedModeList(files, context_.paths.dataFolder);
    if (!files.FolderExists(context_.paths.dataFolder)) files.CreateFolders(context_.paths.dataFolder);
  }
  if (!context_.paths.cdExec)
    cookies::EnsureProtectListsExist(files, context_.paths.cookieProtectFile, context_.paths.ieCookieProtectFile);
  ReadDisplayOptions();
  if (IsUnattended(context_.options.mode) && context_.settings.runModeDisplay.splash == settings::SplashOption::Enable)
    splash_.ShowNow();
}

void Application::ReadDisplayOptions() {
  context_.settings.runModeDisplay = {};
  if (!IsUnattended(context_.options.mode) || context_.paths.settingsFile.empty()) return;
  platform::PrivateProfileFile ini(context_.paths.settingsFile);
  context_.settings.runModeDisplay =
      settings::LoadDisplayOptions(ini, static_cast<settings::OptionSetId>(context_.options.mode));
}

bool Application::CreateMainWindow() {
  mainForm_ = std::make_unique<TFFoxForm>(context_, RegisteredPurgeBodies());
  mainForm_->onPurgeFinished = [this] { WriteReportFile(); };
  mainForm_->onPowerActionFailed = [this] { exitCode_ = std::max(exitCode_, kExitPowerActionFailed); };
  try {
    mainForm_->Create(applicationWindow_.hwnd());
    return true;
  } catch (...) {
    gui::ReportCurrentException();
    return false;
  }
}

void Application::WriteReportFile() {
  if (context_.options.reportPath.empty() || !mainForm_) return;
  std::string text;
  for (const std::string& line : mainForm_->results().lines()) text += line + "\r\n";
  if (!context_.platform.files.WriteFile(context_.options.reportPath, text))
    exitCode_ = std::max(exitCode_, kExitReportNotWritten);
}

void Application::RunUnattended() {
  mainForm_->PurgeBtnClick();
  exitCode_ = std::max(exitCode_, mainForm_->report().ErrorLevel());
  const engine::Report& report = mainForm_->report();
  int mainWinOpt = static_cast<int>(context_.settings.runModeDisplay.mainWindow);
  if (!ShowMainAfterRun(mainWinOpt, report.ErrorSeen(), report.ErrorLevel(), context_.options.levelThreshold)) {
    mainForm_->ExitClick();
    return;
  }
  splash_.Hide();
  mainForm_->ShowAtStart();
  RunMessageLoop();
}

void Application::RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    try {
      if (mainForm_ && mainForm_->PreTranslate(message)) continue;
    } catch (...) {
      gui::ReportCurrentException();  // a key handled here runs outside any window procedure
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int Application::Run() {
  SingleInstance instance(BaseNameOf(context_.paths.programFile));
  StartUp();

  context_.version = ApplyRegistryVersion(ReportedVersion(), context_.platform.registry);
  context_.system = ComputeSystemFlags(context_.version, context_.options);
  applicationWindow_.Create(kProductName);
  if (context_.options.pauseSeconds > 0) Sleep(static_cast<DWORD>(context_.options.pauseSeconds) * 1000);

  if (!context_.options.mult && !instance.first()) {
    ActivatePreviousInstance(applicationWindow_.hwnd());
    // An unattended run that leaves its work to the running instance purged nothing.
    return IsUnattended(context_.options.mode) ? kExitHandedOver : 0;
  }
  if (!CreateMainWindow()) return exitCode_;
  // Outside any window procedure: failures must reach the handler from here.
  try {
    RunWithMainWindow();
  } catch (...) {
    gui::ReportCurrentException();
  }
  return exitCode_;
}

void Application::RunWithMainWindow() {
  if (context_.options.init) {
    auto folder = [this](int csidl) {
      platform::SpecialFolder found = context_.platform.shell.GetSpecialFolder(csidl);
      return found.found ? found.path : std::string();
    };
    RunInitHook({context_.paths.programFile, context_.version.platformId == VER_PLATFORM_WIN32_NT,
                 folder(platform::csidl::kCommonDesktop), folder(platform::csidl::kDesktop)},
                context_.platform.files);
    return;
  }
  if (context_.options.uninst) {
    platform::SpecialFolder common = context_.platform.shell.GetSpecialFolder(platform::csidl::kCommonAppData);
    RunUninstallHook({context_.paths.dataFolder, UserName(), common.found ? common.path : ""},
                     context_.platform.files, context_.platform.registry);
    return;
  }

  if (IsUnattended(context_.options.mode)) {
    RunUnattended();
    return;
  }
  mainForm_->ShowAtStart();
  mainForm_->BrowserTick();
  // "PROTECT" opens the cookie manager at once; the main window stays open after it.
  context_.protectStart = context_.options.protect;
  if (context_.protectStart) mainForm_->CookiesBtnClick();
  RunMessageLoop();
}

}  // namespace tidemark::app
