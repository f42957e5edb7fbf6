#include "app/main_form_win.h"

#include <algorithm>
#include <stdexcept>

#include "app/cookie_form_win.h"
#include "app/themes.h"
#include "engine/purge_environment.h"
#include "cookies/no_protection_win.h"
#include "cookies/protect_editors_win.h"
#include "cookies/protect_file.h"
#include "cookies/user_messages_win.h"
#include "engine/labels.h"
#include "help/help_topics.h"
#include "help/font_form_win.h"
#include "help/quick_start.h"
#include "locations/folders_listing.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_windows_win.h"
#include "schedule/power_action.h"
#include "schedule/reboot_purge.h"
#include "platform/clipboard_win.h"
#include "platform/text.h"
#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings/settings_file.h"
#include "settings/window_place_win.h"
#include "settings/window_settings.h"

namespace tidemark::app {
namespace {

constexpr UINT_PTR kTimer1 = 1;     // browser-activity tick
constexpr UINT_PTR kTimerMsg = 2;   // hides the off-screen hint
constexpr UINT_PTR kQStimer = 3;    // shows the quick-start window once
constexpr UINT kTickMs = 2000;
constexpr UINT kHintMs = 5000;
constexpr UINT kQuickStartMs = 1000;

constexpr COLORREF kMaroon = 0x000080, kOlive = 0x008080, kNavy = 0x800000, kYellow = 0x00FFFF;
constexpr int kGaugeWidth = 200;  // at 96 ppi

enum MenuId : int {
  kMenuExit = 1000,
  kMenuEditTempProtect,
  kMenuDisplayFolders,
  kMenuRebootDelete,
  kMenuHiddenBrowsers,
  kMenuCopyDisplay,
  kMenuHelpContents,
  kMenuQuickStart,
  kMenuAbout,
};

const char* const kOptionTabCaptions[] = {"  Standard Options  ", "  Purge Now Options  ", "  Startup Options  ",
                                          "  ShutDown Options  "};
const char* const kOptionTabLabels[] = {"Select Options for Standard Execution",
                                        "Select Options for 'Purge Now' Execution",
                                        "Select Options for Execution at Startup",
                                        "Select Options for 'Purge && Shutdown' Execution"};
const char* const kOptionSetNames[] = {"\"Standard Options\"", "\"Purge Now Options\"", "\"Startup Options\"",
                                       "\"Shutdown Options\""};

// The progress label's text between purges.
std::string IdleProgressText(bool noVer) {
  return noVer ? std::string() : "New Users - click \"Help\" and select \"Getting Started Information\"";
}

// Rectangles of the layout: a rectangle shrunk on every side, and a control moved onto one.
RECT Inset(RECT area, int by) {
  InflateRect(&area, -by, -by);
  return area;
}

void Place(HWND control, const RECT& area) {
  MoveWindow(control, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

// A frame's purge flags: its Recycle Bin box counts only while enabled.
engine::PurgeFlags FlagsOf(const TFFoxOptionsFrame1& frame) {
  return engine::ReadFrameOptions(frame.Options(), frame.FunctionEnabled(engine::PurgeFunctionId::RecycleBin));
}

}  // namespace

TFFoxForm::TFFoxForm(AppContext& context, PurgeBodies bodies) : context_(context), bodies_(std::move(bodies)) {}

TFFoxForm::~TFFoxForm() {
  // The window goes before the members its controls use (fonts, lists).
  if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
}

const std::string& TFFoxForm::HintOf(HWND control) const {
  static const std::string none;
  auto found = hints_.find(control);
  return found == hints_.end() ? none : found->second;
}

void TFFoxForm::Create(HWND owner) {
  ppi_ = context_.pixelsPerInch;
  auto s = [this](int v) { return gui::Scale(v, ppi_); };
  const settings::DesignedSize designed;
  CreateWindowOf("TFFoxForm", kProductTitle, WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
                 CW_USEDEFAULT, CW_USEDEFAULT, s(designed.width), s(designed.height), owner);
  if (context_.options.abortC1) throw std::runtime_error("Exception Test - FFoxMain - FormCreate -1");
  CreateMenu();
  context_.themeState =
      ReadThemeState(context_.platform.files, context_.paths.programFile, context_.version.platformId == 2);
  CreateControls();
  InitialiseAtCreation();
  if (context_.options.abortC9) throw std::runtime_error("Exception Test - FFoxMain - FormCreate -9");
}

void TFFoxForm::CreateMenu() {
  HMENU bar = ::CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kMenuExit, "Exit");
  HMENU tools = CreatePopupMenu();
  AppendMenuA(tools, MF_STRING, kMenuEditTempProtect, "Edit Protect Entries for \"Temp\" Files");
  AppendMenuA(tools, MF_STRING, kMenuDisplayFolders, "Display Folders && Files ");
  AppendMenuA(tools, MF_STRING, kMenuRebootDelete, "Delete I.E. Index.dat files at next Reboot");
  AppendMenuA(tools, MF_STRING, kMenuHiddenBrowsers, "Display Hidden Browser Windows");
  AppendMenuA(tools, MF_STRING, kMenuCopyDisplay, "Copy Display to ClipBoard");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, kMenuHelpContents, "Help File Contents");
  AppendMenuA(help, MF_STRING, kMenuQuickStart, "Quick Start");
  AppendMenuA(help, MF_STRING, kMenuAbout, "About Tidemark");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "&Tools");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  SetMenu(hwnd(), bar);
  OnCommandId(kMenuExit, [this] { ExitClick(); });
  OnCommandId(kMenuEditTempProtect, [this] { EditTempProtectFileClick(); });
  OnCommandId(kMenuHiddenBrowsers, [this] { DisplayHiddenBrowserWindows(); });
  OnCommandId(kMenuDisplayFolders, [this] { DisplayFoldersAndFiles(); });
  OnCommandId(kMenuCopyDisplay, [this] { CopyReportToClipboard(); });
  OnCommandId(kMenuHelpContents, [this] { ShowHelp(help::kTopicContents); });
  OnCommandId(kMenuRebootDelete, [this] { PurgeIndexAtRebootClick(); });
  OnCommandId(kMenuQuickStart, [this] { ShowQuickStart(); });
  OnCommandId(kMenuAbout, [this] {
    if (context_.purge.purgeRunning) return;
    context_.purge.purgeRunning = true;
    std::string text = std::string(kProductName) + "\r\n" + kVersionText + "\r\n" + kBuildText;
    MessageBoxA(hwnd(), text.c_str(), "About Tidemark", MB_OK | MB_ICONINFORMATION);
    context_.purge.purgeRunning = false;
  });
}

void TFFoxForm::CreateControls() {
  auto s = [this](int v) { return gui::Scale(v, ppi_); };
  const DWORD child = WS_VISIBLE;

  topPanel_.Create(hwnd(), 0, 0, s(620), s(36), GetSysColor(COLOR_BTNFACE));
  purgeBtn_ = AddButton("&Purge", s(8), s(6), s(80), s(25), [this] { PurgeBtnClick(); });
  previewBtn_ = AddButton("Pre&view", s(94), s(6), s(80), s(25), [this] { PreviewBtnClick(); });
  cookiesBtn_ = AddButton("&Cookies", s(180), s(6), s(80), s(25), [this] { CookiesBtnClick(); });
  cancelBtn_ = AddButton("  Cancel / Stop", s(266), s(6), s(110), s(25), [this] { CancelBtnClick(); });
  ShowWindow(cancelBtn_, SW_HIDE);
  exitBtn_ = AddButton("E&xit", s(530), s(6), s(80), s(25), [this] { ExitClick(); });
  diagnosticBtn_ = AddButton("Diag", s(380), s(6), s(40), s(25), [this] { DiagnosticClick(); });
  ShowWindow(diagnosticBtn_, SW_HIDE);
  EnableWindow(diagnosticBtn_, FALSE);
  AddHint(purgeBtn_, "Process Delete function for selected Purge Options");
  AddHint(previewBtn_, "List what a Purge would delete, without deleting anything");
  AddHint(exitBtn_, "Exit Tidemark");

  secondPanel_.Create(hwnd(), 0, s(36), s(620), s(26), GetSysColor(COLOR_BTNFACE));
  progressLabel_.Create(hwnd(), s(8), s(39), s(380), s(20), engine::kColourSilver);
  gaugePanel_.Create(hwnd(), s(400), s(39), s(204), s(20), engine::kColourSilver);
  gaugeBar_.Create(hwnd(), s(402), s(41), s(0), s(16), GetSysColor(COLOR_HIGHLIGHT));
  ShowWindow(gaugePanel_.hwnd(), SW_HIDE);
  ShowWindow(gaugeBar_.hwnd(), SW_HIDE);
  hintPanel_.Create(hwnd(), s(8), s(39), s(380), s(20), 0x80FFFF);
  hintPanel_.SetText("You can use the <Page Down> key to advance to the next off-screen summary line.");
  ShowWindow(hintPanel_.hwnd(), SW_HIDE);
  EnableWindow(hintPanel_.hwnd(), FALSE);
  separator_.Create(hwnd(), 0, s(62), s(620), s(4), kMaroon);

  statusBar_.Create(*this);

  mainTabs_.Create(*this, child | WS_TABSTOP | TCS_HOTTRACK, 0, s(66), s(620), s(300));
  for (const char* caption : {"  Purge Options  ", "   Configure   ", "  Display Results  "}) mainTabs_.Add(caption);
  mainTabs_.onChange = [this] { SelectMainTab(CurrentMainTab()); };

  RECT page = mainTabs_.PageArea();
  optionTabs_.Create(*this, WS_TABSTOP | TCS_HOTTRACK, page.left + s(4), page.top + s(4), page.right - page.left - s(8),
                     page.bottom - page.top - s(8));
  for (const char* caption : kOptionTabCaptions) optionTabs_.Add(caption);
  optionTabs_.onChange = [this] { SelectOptionTab(OptionTabIndex()); };
  RECT inner = optionTabs_.PageArea();
  pageBack_.Create(hwnd(), page.left, page.top, page.right - page.left, page.bottom - page.top,
                   GetSysColor(COLOR_BTNFACE));
  innerPageBack_.Create(hwnd(), inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                        GetSysColor(COLOR_BTNFACE));
  for (int i = 0; i < 4; ++i) {
    frameLabels_[static_cast<size_t>(i)] =
        AddControl("STATIC", kOptionTabLabels[i], SS_LEFT, inner.left + s(8), inner.top + s(6), s(400), s(18));
    settings::OptionSetId id = static_cast<settings::OptionSetId>(i);
    TFFoxOptionsFrame1::Actions actions{
        [this, i, id] {
          platform::PrivateProfileFile ini(context_.paths.settingsFile);
          frames_[static_cast<size_t>(i)].SetOptions(settings::LoadOptionSet(ini, id));
        },
        [this, i, id] {
          platform::PrivateProfileFile ini(context_.paths.settingsFile);
          if (!settings::SaveOptionSet(ini, id, frames_[static_cast<size_t>(i)].Options()))
            ShowWriteFailure(std::string("Cannot write the ") + kOptionSetNames[i] + " to " + ini.Path());
        }};
    frames_[static_cast<size_t>(i)].Create(*this, inner.left + s(8), inner.top + s(30), ppi_, actions,
                                           [this](HWND control, const char* hint) { AddHint(control, hint); });
  }

  configTabs_.Create(*this, WS_TABSTOP | TCS_HOTTRACK, page.left + s(4), page.top + s(4), page.right - page.left - s(8),
                     page.bottom - page.top - s(8));
  for (const char* caption : {"  General  ", "Purge Now", "  Startup  ", "  Shutdown  ", "  Temp Folders  "})
    configTabs_.Add(caption);
  configTabs_.onChange = [this] { ShowPage(); };
  configPages_.Create(*this, configTabs_.PageArea(), ppi_, context_,
                      [this](HWND control, const char* hint) { AddHint(control, hint); });
  configPages_.onApplyFailed = [this](const std::string& text) { ShowWriteFailure(text); };
  configPages_.onTempFoldersApplied = [this] { InitTempFolders(); };
  configPages_.onSelectPlugins = [this] { SelectPluginsClick(); };
  configPages_.onPluginManager = [this] { PluginManagerClick(); };
  configPages_.onSelectFonts = [this] { SelectFontsClick(); };
  configPages_.onMessage = [this](const std::string& caption, const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  };

  results_.Create(*this, page.left, page.top, page.right - page.left, page.bottom - page.top);
  // Children stack in creation order, first on top: send the backgrounds
  // below the controls they carry (the last one sent lies lowest).
  for (HWND background : {gaugePanel_.hwnd(), secondPanel_.hwnd(), topPanel_.hwnd(), innerPageBack_.hwnd(),
                          optionTabs_.hwnd(), configTabs_.hwnd(), pageBack_.hwnd(), mainTabs_.hwnd()})
    SetWindowPos(background, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  report_ = std::make_unique<engine::Report>(results_, *this, pump_, IdleProgressText(context_.options.noVer));
  engine::PurgeInputs inputs{[this] { return VisibleFlags(); },
                             [this] {
                               RecheckBrowserLocations();
                               return Resources();
                             }};
  driver_ = std::make_unique<engine::PurgeDriver>(*report_, std::move(inputs), context_.purge,
                                                  context_.options.driverSwitches);
  for (const auto& function : engine::PurgeFunctions())
    if (bodies_[engine::Index(function.id)]) driver_->SetBody(function.id, bodies_[engine::Index(function.id)]);
}

void TFFoxForm::InitialiseAtCreation() {
  platform::FileSystem& files = context_.platform.files;
  platform::Shell& shell = context_.platform.shell;
  AppPaths& paths = context_.paths;

  // Internet Explorer's version and folders, and the system flags.
  context_.shellFolders = locations::ReadShellFolderPaths(shell);
  context_.ieVersion = locations::ReadIEVersion(context_.platform.registry, shell);
  if (context_.system.ie7) context_.ieVersion.IE7Plus = true;
  context_.ie = locations::LocateIELocations({files, context_.platform.registry, shell}, context_.ieVersion,
                                             context_.shellFolders);
  LoadCustomIETitle(context_.browser, context_.platform.registry);

  // Tab colours by the screen's colour depth.
  bool fewColours = gui::ScreenColourDepth() < 9;
  mainTabs_.SetLook({.selectedFill = fewColours ? 0xFF0000u : 0xFF8080u, .otherFill = 0xC0C0C0});
  gui::TabLook inner{.selectedFill = fewColours ? 0xFF0000u : 0x669999u, .otherFill = fewColours ? 0xC0C0C0u : 0xE0E0E0u};
  optionTabs_.SetLook(inner);
  configTabs_.SetLook(inner);
  EnableWindow(purgeBtn_, FALSE);

  // The option tab of the run mode.
  optionTabs_.Select(static_cast<int>(context_.options.mode));
  SelectMainTab(MainTab::Options);
  SetStatus(1, "  " + OptionSetName() + " is current...");

  // The browsers, plugins, the settings file and the window's saved place.
  RecheckBrowserLocations();
  context_.firefox.FirefoxVersionText = locations::ReadFirefoxVersion(context_.platform.registry, shell);
  locations::LocatePlugins(context_.firefox, files, paths.programFolder, paths.dataFolder, context_.options.ffdatExe);
  selectedPlugins_ = plugins::LoadSelection(files, context_.firefox.PluginListFile);
  settings::EnsureSettingsFile(files, paths.programFolder, paths.dataFolder, paths.cdExec);
  platform::PrivateProfileFile ini(paths.settingsFile);
  configPages_.Load();
  RestorePosition(ini);

  EnableWindow(purgeBtn_, TRUE);
  bool recycleBinAvailable = shell.RecycleBinAvailable();
  for (int i = 0; i < 4; ++i) {
    TFFoxOptionsFrame1& frame = frames_[static_cast<size_t>(i)];
    frame.SetOptions(settings::LoadOptionSet(ini, static_cast<settings::OptionSetId>(i)));
    for (const auto& function : engine::PurgeFunctions())
      frame.EnableFunction(function.id, driver_->HasBody(function.id));
    if (!recycleBinAvailable) frame.EnableFunction(engine::PurgeFunctionId::RecycleBin, false);
    if (context_.firefox.DisableFFTypedURLsOption) frame.EnableFunction(engine::PurgeFunctionId::FirefoxTypedUrls, false);
  }
  settings::LoadSettingsState(ini, static_cast<settings::OptionSetId>(context_.options.mode), context_.settings);
  InitTempFolders();
  help_ = std::make_unique<help::HelpViewer>(help::HelpFilePath(paths.programFolder));

  if (context_.options.mode == RunMode::Stnd && context_.settings.show.ShowQuickStart() &&
      files.FileExists(JoinPath(paths.programFolder, help::kQuickStartFile)))
    StartTimer(kQStimer, kQuickStartMs, [this] { ShowQuickStart(); }, true);

  std::string caption = kProductTitle;
  if (!context_.options.noVer) caption += std::string(" -  Version ") + (kVersionText + 10);
  SetWindowTextA(hwnd(), caption.c_str());
  report_->SetIdleProgress();
  Layout();
}

void TFFoxForm::InitTempFolders() {
  const settings::TempFolderSettings& chosen = context_.settings.temp;
  context_.tempFolders =
      locations::InitTempFolders(context_.platform.files, context_.platform.shell,
                                 {chosen.systemTemp, chosen.windowsTemp, chosen.oldTemp, chosen.bootDiskTemp},
                                 context_.options.anyTemp, context_.system.tisVista);
  for (int i = 0; i < locations::kTempRowCount; ++i)
    configPages_.SetTempFolderLabel(i, context_.tempFolders.rows[static_cast<size_t>(i)].Label());
  if (context_.tempFolders.windowsTempDisabled) EnableWindow(configPages_.temp().checks[locations::kWindowsTemp], FALSE);
}

engine::PurgeResources TFFoxForm::Resources() {
  const Platform& system = context_.platform;
  engine::PurgeSettings settings;
  settings.shredMode = context_.settings.shred.shredMode;
  settings.repeats = context_.settings.shred.repeats;
  settings.ageFilterOn = context_.settings.temp.ageFilterOn;
  settings.ageHours = context_.settings.temp.ageHours;
  settings.keepFiles = context_.options.keepFiles;
  settings.ieVersionMajor = context_.ieVersion.IEVersionMajor;
  settings.ie7 = context_.ieVersion.IE7Plus;  // "IE7" included
  settings.allHist = context_.options.allHist;
  settings.allLeaks = context_.options.allLeaks;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  engine::CookiePurgeResources cookiePurge;
  cookiePurge.firefoxProtectFile = context_.paths.cookieProtectFile;
  cookiePurge.firefoxShowOption = &context_.settings.show.ffCookieMsgOpt;
  cookiePurge.ieProtectFile = context_.paths.ieCookieProtectFile;
  cookiePurge.ieShowOption = &context_.settings.show.cookieMsgOpt;
  cookiePurge.confirmNoProtection = [this](cookies::CookieBrowser browser, std::string& showOption) {
    return cookies::ConfirmNoProtection(browser, showOption, hwnd(), ppi_);
  };
  engine::IEPurgeResources iePurge;
  iePurge.showMessage = [this](const std::string& caption, const std::string& text) {
    cookies::MessageBoxMessages(hwnd()).Show(caption, text);
  };
  return {{system.files, system.registry, system.shell, system.windows, system.clipboard, platform::ShellPathMatcher()},
          {context_.shellFolders, context_.ie, context_.firefox, context_.tempFolders, context_.chromium},
          settings,
          context_.tempProtect,
          context_.paths.dataFolder,
          context_.shred,
          (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime,
          std::move(cookiePurge),
          {selectedPlugins_, context_.commandLine.ParamPresent("debug"), context_.system.tisVista},
          std::move(iePurge)};
}

settings::RestoreContext TFFoxForm::WindowRestoreContext() const {
  settings::RestoreContext restore;
  restore.anyPos = context_.options.anyPos;
  restore.reset = context_.options.reset;
  restore.pixelsPerInch = ppi_;
  restore.virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return restore;
}

void TFFoxForm::RestorePosition(platform::IniFile& ini) {
  settings::RestoreContext restore = WindowRestoreContext();
  auto placement = settings::RestoreMainWindow(ini, context_.platform.files, restore, context_.settings.show,
                                               context_.settings.fonts);
  showOptionsRead_ = context_.settings.show;
  const settings::FontSetting& font = context_.settings.fonts.results;
  results_.SetFont(font.name, font.size, font.style);
  settings::WindowPlacement place;
  if (placement) {
    place = *placement;
  } else {
    settings::DesignedSize size = settings::ScaledDesignedSize({}, ppi_);
    place.width = size.width;
    place.height = size.height;
  }
  if (place.kind == settings::PlacementKind::Normal) {
    settings::PlaceNormal(hwnd(), place);
  } else {
    // The designed position: the screen's centre.
    int left = (GetSystemMetrics(SM_CXSCREEN) - place.width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - place.height) / 2;
    MoveWindow(hwnd(), std::max(0, left), std::max(0, top), place.width, place.height, FALSE);
  }
  startMaximised_ = place.kind == settings::PlacementKind::Maximised;
}

void TFFoxForm::SavePosition() {
  if (context_.paths.cdExec || context_.paths.settingsFile.empty()) return;
  platform::PrivateProfileFile ini(context_.paths.settingsFile);
  // A window the user never saw (an unattended run, a failed start) keeps
  // the place stored for it, but a warning its purge was told not to show
  // again stays silenced.
  if (!everShown_) {
    if (context_.settings.show != showOptionsRead_) settings::SaveShowOptions(ini, context_.settings.show);
    return;
  }
  settings::StoredPosition position = settings::StoredPositionOf(hwnd());
  settings::SaveMainWindow(ini, position, context_.settings.show, context_.settings.fonts);
}

void TFFoxForm::ShowWriteFailure(const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), "Tidemark  -  Error Message", MB_OK | MB_ICONERROR);
}

void TFFoxForm::DisplayFoldersAndFiles() {
  if (context_.purge.purgeRunning) return;
  RecheckBrowserLocations();
  report_->Clear();
  locations::ListingInputs inputs;
  inputs.programFolder = context_.paths.programFolder;
  inputs.dataFolder = context_.paths.dataFolder;
  inputs.ffdatExe = context_.options.ffdatExe;
  inputs.tisVista = context_.system.tisVista;
  inputs.tempFolders = context_.tempFolders.available;
  for (const std::string& line :
       locations::FoldersAndFilesListing(context_.ie, context_.firefox, context_.chromium, inputs))
    report_->Line(line);
  ShowResults();
}

void TFFoxForm::SelectPluginsClick() {
  if (context_.purge.purgeRunning) return;
  TakeStandardFlags();
  plugins::PluginWindowsContext windows{[this] { return Resources(); }, context_.purge, selectedPlugins_,
                                        context_.paths.settingsFile,
                                        WindowRestoreContext(), context_.paths.cdExec,
                                        [this] { ShowHelp(help::kTopicPlugins); }};
  context_.purge.purgeRunning = true;
  plugins::TPlugSelForm form(windows);
  form.ShowModal(hwnd());
  context_.purge.purgeRunning = false;
}

void TFFoxForm::TakeStandardFlags() { context_.purge.flags = FlagsOf(frames_[0]); }

void TFFoxForm::ShowHelp(std::string_view topic) {
  if (help_) help::ShowHelpTopic(*help_, hwnd(), topic);
}

std::string_view TFFoxForm::ContextTopic() const {
  switch (CurrentMainTab()) {
    case MainTab::Options: return help::kTopicOptions;
    case MainTab::Configure: return help::kTopicConfigure;
    case MainTab::Results: return help::kTopicResults;
  }
  return help::kTopicContents;
}

void TFFoxForm::PluginManagerClick() {
  std::string program = JoinPath(context_.paths.programFolder, "PlugMgr.exe");
  platform::Processes& processes = context_.platform.processes;
  if (processes.ShellOpen(program)) return;
  std::string text = "Unable to start " + program + "\r\nWindows error " + std::to_string(processes.LastError());
  MessageBoxA(hwnd(), text.c_str(), "Tidemark  -  Error Message", MB_OK | MB_ICONERROR);
}

CookieFormContext TFFoxForm::CookieManagerContext(firefox::FirefoxSitePermissions& firefoxPermissions,
                                                 ie::IEPermissions& iePermissions) {
  return {
      .files = context_.platform.files,
      .memory = platform::RealSharedMemory(),
      .firefox = context_.firefox,
      .ie = context_.ie,
      .firefoxProtectFile = context_.paths.cookieProtectFile,
      .ieProtectFile = context_.paths.ieCookieProtectFile,
      .firefoxPermissions = firefoxPermissions,
      .iePermissions = iePermissions,
      .confirmations = context_.cookieConfirmations,
      .purge = context_.purge,
      .purgeResources = [this] { return Resources(); },
      .fonts = context_.settings.fonts,
      .settingsFile = context_.paths.settingsFile,
      .restore = WindowRestoreContext(),
      .programFolder = context_.paths.programFolder,
      .protectedMode = context_.system.tisVista,
      .readOnlyMedia = context_.paths.cdExec,
      .firefoxRunning = [this] { return TisFireFoxActive(context_.platform.windows); },
      .openInFirefox =
          [this](const std::string& address) {
            std::string parameters = "\"" + address + "\"";
            return reinterpret_cast<INT_PTR>(ShellExecuteA(hwnd(), "open", "FireFox.exe", parameters.c_str(), nullptr,
                                                           SW_SHOWNORMAL)) > 32;
          },
      .help = [this](std::string_view topic) { ShowHelp(topic); },
  };
}

void TFFoxForm::CookiesBtnClick() {
  if (context_.purge.purgeRunning) return;
  context_.purge.purgeRunning = true;
  TakeStandardFlags();
  RecheckBrowserLocations();
  cookies::MessageBoxMessages messages(hwnd());
  firefox::FirefoxSitePermissions firefoxPermissions;
  firefoxPermissions.Load(context_.platform.files, context_.firefox, messages);
  ie::IEPermissions iePermissions(context_.platform.registry);
  CookieFormContext cookieContext = CookieManagerContext(firefoxPermissions, iePermissions);
  {
    TCookieForm form(cookieContext);
    form.ShowModal(hwnd());
  }
  firefoxPermissions.Close();
  context_.purge.purgeRunning = false;
  context_.protectStart = false;
}

void TFFoxForm::EditTempProtectFileClick() {
  if (context_.purge.purgeRunning) return;
  context_.purge.purgeRunning = true;
  cookies::TProtTempForm editor(context_.platform.files, context_.paths.dataFolder, ppi_);
  editor.ShowModal(hwnd());
  context_.purge.purgeRunning = false;
}

void TFFoxForm::RecheckBrowserLocations() {
  locations::EnsureFirefoxLocations(context_.firefox, context_.ie, context_.platform.files, context_.shellFolders);
  context_.chromium = locations::LocateChromiumBrowsers(context_.platform.files, context_.shellFolders);
}

void TFFoxForm::Layout() {
  if (!hwnd() || !mainTabs_.hwnd()) return;
  auto s = [this](int v) { return gui::Scale(v, ppi_); };
  RECT client;
  GetClientRect(hwnd(), &client);
  int width = client.right;
  int statusHeight = statusBar_.Fit();
  statusBar_.SetParts({s(400), -1});

  MoveWindow(topPanel_.hwnd(), 0, 0, width, s(36), TRUE);
  MoveWindow(exitBtn_, width - s(88), s(6), s(80), s(25), TRUE);
  MoveWindow(secondPanel_.hwnd(), 0, s(36), width, s(26), TRUE);
  int labelWidth = std::max<int>(s(100), width - s(230));
  MoveWindow(progressLabel_.hwnd(), s(8), s(39), labelWidth, s(20), TRUE);
  MoveWindow(hintPanel_.hwnd(), s(8), s(39), labelWidth, s(20), TRUE);
  MoveWindow(gaugePanel_.hwnd(), width - s(214), s(39), s(204), s(20), TRUE);
  RECT bar;
  GetWindowRect(gaugeBar_.hwnd(), &bar);
  MoveWindow(gaugeBar_.hwnd(), width - s(212), s(41), bar.right - bar.left, s(16), TRUE);
  MoveWindow(separator_.hwnd(), 0, s(62), width, s(4), TRUE);
  MoveWindow(mainTabs_.hwnd(), 0, s(66), width, std::max<int>(s(100), client.bottom - statusHeight - s(66)), TRUE);

  RECT page = mainTabs_.PageArea();
  Place(optionTabs_.hwnd(), Inset(page, s(4)));
  Place(configTabs_.hwnd(), Inset(page, s(4)));
  Place(results_.hwnd(), page);
  Place(pageBack_.hwnd(), page);
  Place(innerPageBack_.hwnd(), optionTabs_.PageArea());
  RECT outer;
  GetWindowRect(hwnd(), &outer);
  configPages_.Layout(outer.right - outer.left);
  results_.AutosizeColumn();
}

void TFFoxForm::AddHint(HWND control, const std::string& hint) { hints_[control] = hint; }

void TFFoxForm::SetStatus(int panel, const std::string& text) {
  statusTexts_[static_cast<size_t>(panel)] = text;
  statusBar_.SetText(panel, text);
}

void TFFoxForm::SetStatusColour(COLORREF colour) {
  statusColour_ = colour;
  statusBar_.SetBackground(colour);
}

MainTab TFFoxForm::CurrentMainTab() const { return static_cast<MainTab>(mainTabs_.Selected()); }

int TFFoxForm::OptionTabIndex() const { return optionTabs_.Selected(); }

void TFFoxForm::SelectOptionTab(int index) {
  optionTabs_.Select(index);
  ShowPage();
  BrowserTick();
}

void TFFoxForm::SelectConfigTab(int index) {
  configTabs_.Select(index);
  ShowPage();
}

void TFFoxForm::SelectMainTab(MainTab tab) {
  mainTabs_.Select(static_cast<int>(tab));
  separator_.SetFill(tab == MainTab::Options ? kMaroon : tab == MainTab::Configure ? kOlive : kNavy);
  if (tab != MainTab::Results) {
    StopTimer(kTimerMsg);
    HideOffscreenHint();
    report_->SetIdleProgress();
  }
  ShowPage();
  if (tab == MainTab::Results && IsWindowVisible(hwnd())) SetFocus(results_.hwnd());
}

void TFFoxForm::ShowPage() {
  MainTab tab = CurrentMainTab();
  int option = OptionTabIndex();
  ShowWindow(optionTabs_.hwnd(), tab == MainTab::Options ? SW_SHOW : SW_HIDE);
  for (int i = 0; i < 4; ++i) {
    bool shown = tab == MainTab::Options && i == option;
    frames_[static_cast<size_t>(i)].Show(shown);
    ShowWindow(frameLabels_[static_cast<size_t>(i)], shown ? SW_SHOW : SW_HIDE);
  }
  ShowWindow(configTabs_.hwnd(), tab == MainTab::Configure ? SW_SHOW : SW_HIDE);
  configPages_.Show(tab == MainTab::Configure ? configTabs_.Selected() : -1);
  ShowWindow(innerPageBack_.hwnd(), tab != MainTab::Results ? SW_SHOW : SW_HIDE);
  ShowWindow(results_.hwnd(), tab == MainTab::Results ? SW_SHOW : SW_HIDE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

std::string TFFoxForm::OptionSetName() const {
  int index = OptionTabIndex();
  return (index >= 0 && index < 4) ? kOptionSetNames[index] : "";
}

void TFFoxForm::BrowserTick() {
  SetStatus(1, "  " + OptionSetName() + " is current...");
  StopTimer(kTimer1);
  bool firefox = TisFireFoxActive(context_.platform.windows);
  bool ie = TisIEorMSNactive(context_.browser, context_.platform.windows);
  const locations::ChromiumBrowser* chromium =
      ChromiumOptionChecked()
          ? ActiveChromiumBrowser(context_.platform.files, context_.platform.processes, context_.chromium)
          : nullptr;
  context_.purge.firefoxRunning = firefox;
  std::string caution;
  if (firefox) {
    SetStatusColour(kYellow);
    SetStatus(1, "  FireFox Browser is active");
    caution = "CAUTION - As FireFox is Executing, some Purge Options may not succeed.";
  } else if (ie) {
    static const char* const kStates[] = {"  A Browser is active", "  I.E. Browser is active",
                                          "  I.E. Hidden Window active", "  MSN Browser is active",
                                          "  MSN Hidden Window active"};
    static const char* const kNames[] = {"A browser", "I.E.", "I.E.", "MSN", "MSN"};
    int kind = context_.browser.IEBrowserKind;
    if (kind < 0 || kind > 4) kind = 0;
    SetStatusColour(kYellow);
    SetStatus(1, kStates[kind]);
    caution = std::string("CAUTION - As ") + kNames[kind] + " is Executing, some Purge Options may not succeed.";
  } else if (chromium) {
    SetStatusColour(kYellow);
    SetStatus(1, "  " + chromium->name + " Browser is active");
    caution = "CAUTION - As " + chromium->name + " is Executing, some Purge Options may not succeed.";
  } else {
    SetStatusColour(CLR_DEFAULT);
  }
  AddHint(purgeBtn_, caution.empty() ? "Process Delete function for selected Purge Options" : caution);
  ColourFrame(ie, firefox, chromium != nullptr);
  StartTimer(kTimer1, kTickMs, [this] { BrowserTick(); });
}

bool TFFoxForm::ChromiumOptionChecked() const {
  int index = OptionTabIndex();
  if (index < 0 || index > 3) return false;
  const TFFoxOptionsFrame1& frame = frames_[static_cast<size_t>(index)];
  const auto& functions = engine::PurgeFunctions();
  return std::any_of(functions.begin(), functions.end(),
                     [&](const auto& function) {
                       return function.browser == engine::Browser::Chromium && frame.Checked(function.id);
                     });
}

void TFFoxForm::ColourFrame(bool ieActive, bool firefoxActive, bool chromiumActive) {
  int index = OptionTabIndex();
  if (index < 0 || index > 3) return;
  TFFoxOptionsFrame1& frame = frames_[static_cast<size_t>(index)];
  for (const auto& function : engine::PurgeFunctions()) {
    using engine::Browser;
    if (function.browser == Browser::None) continue;
    bool active = function.browser == Browser::InternetExplorer ? ieActive
                  : function.browser == Browser::Chromium       ? chromiumActive
                                                                : firefoxActive;
    bool caution = active && frame.Checked(function.id);
    frame.Colour(function.id, caution ? kYellow : CLR_NONE);
    if (caution) context_.purge.browserCaution = true;
  }
}

void TFFoxForm::PurgeBtnClick() {
  if (context_.purge.purgeRunning) return;
  driver_->Purge([this] { BrowserTick(); });
  if (onPurgeFinished) onPurgeFinished();
}

void TFFoxForm::PreviewBtnClick() {
  if (context_.purge.purgeRunning) return;
  driver_->Preview();
  if (onPurgeFinished) onPurgeFinished();
}

void TFFoxForm::CancelBtnClick() { driver_->Cancel(); }

void TFFoxForm::ExitClick() {
  if (context_.options.abortX) throw std::runtime_error("Exception Test - FFoxMain - Exit1click");
  if (context_.options.abortAV) {
    volatile int* volatile nowhere = nullptr;  // not known to the compiler: a real write, not a trap it inserts
    *nowhere = 0;
  }
  if (!context_.purge.purgeRunning) Close();
}

void TFFoxForm::Close() {
  if (closing_) return;
  closing_ = true;
  StopTimer(kTimerMsg);
  StopTimer(kQStimer);
  StopTimer(kTimer1);
  SavePosition();
  if (context_.options.mode == RunMode::Shut) {
    bool failed = schedule::ShutdownAction(
        context_.settings.shutType, context_.version.platformId == VER_PLATFORM_WIN32_NT, context_.platform.session,
        [this](const std::string& text) {
          MessageBoxA(hwnd(), text.c_str(), schedule::kPowerMessageCaption, MB_OK | MB_ICONWARNING);
        });
    if (failed) {
      report_->ResetErrors(report_->ErrorLevel(), true);
      if (onPowerActionFailed) onPowerActionFailed();
    }
  }
  DestroyWindow(hwnd());
}

void TFFoxForm::ShowQuickStart() {
  if (!quickStart_)
    quickStart_ = std::make_unique<help::TQuickStartForm>(
        context_.platform.files, context_.settings.show.quickStartOpt,
        JoinPath(context_.paths.programFolder, help::kQuickStartFile), ppi_);
  quickStart_->Show(hwnd());
}

void TFFoxForm::SelectFontsClick() {
  help::TFontForm form(context_.settings.fonts, ppi_);
  form.ShowModal(hwnd());
  const settings::FontSetting& font = context_.settings.fonts.results;
  results_.SetFontForNextReport(font.name, font.size, font.style);
}

void TFFoxForm::PurgeIndexAtRebootClick() {
  if (context_.purge.purgeRunning) return;
  schedule::RebootPurgeInputs inputs{context_.paths.programFolder, context_.paths.dataFolder,
                                     context_.version.platformId == VER_PLATFORM_WIN32_NT};
  auto message = schedule::PurgeIndexAtReboot(inputs, context_.ie, context_.platform.files,
                                              context_.platform.processes, context_.platform.session);
  if (message) MessageBoxA(hwnd(), message->text.c_str(), message->caption.c_str(), MB_OK | MB_ICONWARNING);
}

std::optional<engine::PurgeFlags> TFFoxForm::VisibleFlags() {
  int index = OptionTabIndex();
  if (index < 0 || index > 3) {
    copyMemo_.push_back("Invalid TabIndex");
    return std::nullopt;
  }
  return FlagsOf(frames_[static_cast<size_t>(index)]);
}

void TFFoxForm::HideOffscreenHint() {
  EnableWindow(hintPanel_.hwnd(), FALSE);
  ShowWindow(hintPanel_.hwnd(), SW_HIDE);
}

void TFFoxForm::OffscreenHintIfNeeded() {
  if (!results_.Overflows()) return;
  EnableWindow(hintPanel_.hwnd(), TRUE);
  ShowWindow(hintPanel_.hwnd(), SW_SHOW);
  StartTimer(kTimerMsg, kHintMs, [this] { HideOffscreenHint(); }, true);
}

void TFFoxForm::ShowCancel(bool shown) {
  EnableWindow(cancelBtn_, shown);
  ShowWindow(cancelBtn_, shown ? SW_SHOW : SW_HIDE);
}

void TFFoxForm::SetGauge(int widthPixels) {
  RECT bar;
  GetWindowRect(gaugeBar_.hwnd(), &bar);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  MoveWindow(gaugeBar_.hwnd(), bar.left, bar.top, gui::Scale(widthPixels, ppi_), bar.bottom - bar.top, TRUE);
  ShowGauge(true);
  UpdateWindow(gaugeBar_.hwnd());
}

void TFFoxForm::ShowGauge(bool shown) {
  ShowWindow(gaugePanel_.hwnd(), shown ? SW_SHOW : SW_HIDE);
  ShowWindow(gaugeBar_.hwnd(), shown ? SW_SHOW : SW_HIDE);
}

void TFFoxForm::PurgeBegun(int selected) {
  ShowCancel(true);
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  // The gauge starts one step in and grows a step with each function run.
  gaugeStep_ = kGaugeWidth / (1 + selected);
  SetGauge(selected == 0 ? kGaugeWidth : gaugeStep_);
  results_.SizeColumnForFill();
}

void TFFoxForm::FunctionDone(int done) { SetGauge(gaugeStep_ * (1 + done)); }

void TFFoxForm::ReportClosed(bool progressLineIdle) {
  if (progressLineIdle) OffscreenHintIfNeeded();
  ShowCancel(false);
  results_.AutosizeColumn();
}

void TFFoxForm::PurgeFinished() {
  ShowGauge(false);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  ShowResults();
}

void TFFoxForm::ShowResults() {
  SelectMainTab(MainTab::Results);
  InvalidateRect(mainTabs_.hwnd(), nullptr, TRUE);
  if (IsWindowVisible(hwnd())) SetFocus(results_.hwnd());
}

void TFFoxForm::CopyReportToClipboard() {
  copyMemo_.clear();
  for (const std::string& line : results_.lines()) copyMemo_.push_back(line);
  copyMemo_.push_back(" ");
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[64];
  int hour12 = now.wHour % 12 == 0 ? 12 : now.wHour % 12;
  wsprintfA(stamp, "%02d/%02d/%04d - %02d:%02d %s", now.wMonth, now.wDay, now.wYear, hour12, now.wMinute,
            now.wHour < 12 ? "am" : "pm");
  copyMemo_.push_back(std::string("via ") + kProductName + " - " + kVersionText + " - " + kBuildText + " - " + stamp);
  std::string firefox = "    FireFox Product version - " + context_.firefox.FirefoxVersionText;
  copyMemo_.push_back(context_.system.tisVista ? firefox + "    TisVista=True" : firefox);
  copyMemo_.push_back("  Params = " + context_.commandLine.fullText());
  auto buildLab = context_.platform.registry.ReadString(platform::RegistryRoot::LocalMachine,
                                                        "Software\\Microsoft\\Windows NT\\CurrentVersion", "BuildLab");
  if (buildLab) copyMemo_.push_back("    Windows Build - " + *buildLab);
  if (!context_.ieVersion.RegistryVersionText.empty())
    copyMemo_.push_back("     I.E. Version - " + context_.ieVersion.RegistryVersionText);
  copyMemo_.push_back(" ");

  std::string text;
  for (const std::string& line : copyMemo_) text += line + "\r\n";
  copyMemo_.clear();
  platform::ClipboardSession(hwnd()).SetText(text);
}

void TFFoxForm::DiagnosticClick() {
  report_->Clear();
  TFFoxOptionsFrame1& standard = frames_[0];
  using enum engine::PurgeFunctionId;
  const std::pair<const char*, engine::PurgeFunctionId> boxes[] = {{"CacheOptionCheckBox", FirefoxCache},
                                                                   {"PluginsOptionCheckBox", Plugins},
                                                                   {"ChromiumCacheOptionCheckBox", ChromiumCache},
                                                                   {"ChromiumCookiesOptionCheckBox", ChromiumCookies},
                                                                   {"ChromiumHistoryOptionCheckBox", ChromiumHistory},
                                                                   {"ChromiumFormsOptionCheckBox", ChromiumForms},
                                                                   {"ChromiumTypedURLsCheckBox", ChromiumTypedUrls}};
  for (auto [name, id] : boxes) report_->Line(std::string(name) + " = " + (standard.Checked(id) ? "True" : "False"));
  ShowResults();
}

void TFFoxForm::DisplayHiddenBrowserWindows() {
  if (context_.purge.purgeRunning) return;
  report_->Clear();
  for (const std::string& line : ListHiddenBrowserWindows(context_.browser, context_.platform.windows))
    report_->Line(line);
  ShowResults();
}

bool TFFoxForm::PreTranslate(MSG& message) {
  if (!hwnd() || (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd))) return false;
  if (message.message == WM_MOUSEMOVE && message.hwnd != hintShownFor_) {
    hintShownFor_ = message.hwnd;
    SetStatus(0, HintOf(message.hwnd));
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000)) {
    // Ctrl+Tab and Ctrl+Shift+Tab step through the main tabs, as in any tabbed dialog;
    // on the results page plain TAB belongs to the error lines.
    int step = (GetKeyState(VK_SHIFT) & 0x8000) ? 2 : 1;
    SelectMainTab(static_cast<MainTab>((static_cast<int>(CurrentMainTab()) + step) % 3));
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
    ShowHelp(ContextTopic());
    return true;
  }
  if (message.message == WM_KEYDOWN && CurrentMainTab() == MainTab::Results) {
    if (message.wParam == VK_TAB) {
      if (!context_.purge.purgeRunning) results_.GoToNextError();
      return true;
    }
    if (message.wParam == VK_NEXT && !context_.purge.purgeRunning && results_.Overflows()) {
      results_.GoToNextSummary();
      return true;
    }
  }
  return IsDialogMessageA(hwnd(), &message) != FALSE;
}

LRESULT TFFoxForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (!closing_) Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      // Never so small that an option frame is cut off.
      info->ptMinTrackSize = {gui::Scale(620, ppi_), gui::Scale(487, ppi_)};
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wParam) everShown_ = true;
      break;
    case WM_CLOSE:
      // Closing in the middle of a purge would pull the list from under it.
      if (!context_.purge.purgeRunning) Close();
      return 0;
    case WM_DESTROY:
      closing_ = true;
      PostQuitMessage(0);
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::app
