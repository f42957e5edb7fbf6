#include "app/config_pages_win.h"

#include <algorithm>

#include "app/themes.h"
#include "platform/text.h"
#include "schedule/shortcuts.h"
#include "schedule/startup_entry.h"
#include "settings/configuration.h"

namespace tidemark::app {
namespace {

using settings::DisplayOptions;

// Positions are in 96-ppi pixels from the page's top left corner.
constexpr int kApplyX = 434, kApplyY = 200, kApplyWidth = 100, kButtonHeight = 25;
constexpr int kRadioTop = 18, kRadioStep = 20;
constexpr int kTempPanelsTop = 22, kTempPanelHeight = 24, kTempLabelX = 128;
constexpr int kPanelMargin = 70;  // the temp-folder panels are this much narrower than the window

const char* const kTempCaptions[] = {"System Temp", "Windows Temp", "Old Temp", "BootDisk Temp"};

bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND control, bool checked) {
  SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

DisplayOptions DisplayOf(const ConfigurePages::DisplayControls& page) {
  // The groups always hold a choice once loaded; 0 is their first button.
  return {static_cast<settings::SplashOption>(std::max(0, page.splash.Index())),
          static_cast<settings::MainWindowOption>(std::max(0, page.mainWindow.Index()))};
}

void ShowDisplay(const ConfigurePages::DisplayControls& page, const DisplayOptions& options) {
  page.splash.SetIndex(static_cast<int>(options.splash));
  page.mainWindow.SetIndex(static_cast<int>(options.mainWindow));
}

}  // namespace

int RadioButtons::Index() const {
  for (size_t i = 0; i < buttons.size(); ++i)
    if (IsChecked(buttons[i])) return static_cast<int>(i);
  return -1;
}

void RadioButtons::SetIndex(int index) const {
  for (size_t i = 0; i < buttons.size(); ++i) SetChecked(buttons[i], static_cast<int>(i) == index);
}

HWND ConfigurePages::Add(ConfigPage page, const char* className, const char* text, DWORD style, int x, int y,
                         int width, int height) {
  HWND control = form_->AddControl(className, text, style, page_.left + S(x), page_.top + S(y), S(width), S(height));
  pages_[static_cast<size_t>(page)].push_back(control);
  return control;
}

HWND ConfigurePages::AddButton(ConfigPage page, const char* text, int x, int y, int width, int height,
                               std::function<void()> onClick) {
  HWND button = Add(page, "BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, x, y, width, height);
  if (onClick) form_->OnCommand(button, std::move(onClick));
  return button;
}

RadioButtons ConfigurePages::AddGroup(ConfigPage page, const char* caption, const std::vector<const char*>& captions,
                                      int x, int y, int width, const std::function<void()>& addInside) {
  RadioButtons group;
  // Controls inside the box are created before it, so they lie on top of
  // it; the box (WS_GROUP) ends the radio group for the arrow keys.
  for (size_t i = 0; i < captions.size(); ++i) {
    DWORD style = BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0);
    group.buttons.push_back(Add(page, "BUTTON", captions[i], style, x + 8, y + kRadioTop + static_cast<int>(i) * kRadioStep,
                                width - 16, 18));
  }
  if (addInside) addInside();
  int height = kRadioTop + static_cast<int>(captions.size()) * kRadioStep + 6;
  group.box = Add(page, "BUTTON", caption, BS_GROUPBOX | WS_GROUP, x, y, width, height);
  return group;
}

ConfigurePages::DisplayControls ConfigurePages::AddDisplayPage(ConfigPage page, const char* label,
                                                               std::function<void()> apply) {
  DisplayControls controls;
  if (label) Add(page, "STATIC", label, SS_LEFT | SS_NOPREFIX, 8, 4, 440, 16);
  controls.splash = AddGroup(page, "Splash Screen", {"Enable", "Disable"}, 8, 26, 140);
  controls.mainWindow = AddGroup(page, "Main Window",
                                 {"Enable", "Enable when any Error occurs", "Enable only when a Severe Error occurs",
                                  "Disable"},
                                 156, 26, 250);
  controls.apply = AddButton(page, "Apply Changes", kApplyX, kApplyY, kApplyWidth, kButtonHeight, std::move(apply));
  return controls;
}

void ConfigurePages::Create(gui::Window& form, const RECT& page, int ppi, AppContext& context,
                            std::function<void(HWND, const char*)> addHint) {
  form_ = &form;
  context_ = &context;
  page_ = page;
  ppi_ = ppi;

  CreateGeneral(addHint);

  purgeNow_ = AddDisplayPage(ConfigPage::PurgeNow, "Configure Display Options for \"Purge Now\" execution:",
                             [this] { ApplyPurgeNow(); });

  startup_ = AddDisplayPage(ConfigPage::Startup, nullptr, [this] { ApplyStartup(); });
  startupEntry_ = Add(ConfigPage::Startup, "BUTTON", "Execute Tidemark at System Startup",
                      BS_AUTOCHECKBOX | WS_TABSTOP, 8, 150, 260, 18);
  addHint(startupEntry_, "Check to Set, Clear to Remove if Set");

  shutdown_ = AddDisplayPage(ConfigPage::Shutdown, nullptr, [this] { ApplyShutdown(); });
  shutdownOptions_ = AddGroup(ConfigPage::Shutdown, "Shutdown Options",
                              {"Logoff", "Reboot", "Shutdown", "Poweroff", "Stand By", "Hibernate"}, 414, 26, 120);

  CreateTempFolders();
  Load();
  RECT window;
  GetWindowRect(form.hwnd(), &window);
  Layout(window.right - window.left);
  Show(-1);
}

void ConfigurePages::CreateGeneral(const std::function<void(HWND, const char*)>& addHint) {
  const ConfigPage page = ConfigPage::General;

  Add(page, "STATIC", "Generate Desktop Shortcuts:", SS_LEFT, 8, 4, 200, 16);
  for (size_t i = 0; i < schedule::kDesktopShortcuts.size(); ++i) {
    const schedule::DesktopShortcut& shortcut = schedule::kDesktopShortcuts[i];
    int slot = 8 + static_cast<int>(i) * 176;
    general_.shortcutIcons[i] = Add(page, "STATIC", "", SS_ICON, slot, 20, 32, 32);
    // The link icons are the program's resources 2, 3 and 4.
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2 + i));
    SendMessageA(general_.shortcutIcons[i], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    general_.shortcutButtons[i] =
        AddButton(page, shortcut.caption, slot + 36, 24, 134, kButtonHeight, [this, i] { GenerateDesktopShortcut(i); });
    addHint(general_.shortcutButtons[i], shortcut.hint);
  }

  Add(page, "STATIC", "Configure Plugins:", SS_LEFT, 8, 62, 100, 16);
  general_.selectPlugins = AddButton(page, "Select Plugins  ", 110, 58, 100, kButtonHeight, [this] {
    if (onSelectPlugins) onSelectPlugins();
  });
  if (context_->platform.files.FileExists(JoinPath(context_->paths.programFolder, "PlugMgr.exe"))) {
    general_.pluginManagerLabel = Add(page, "STATIC", "Create Plugins:", SS_LEFT, 224, 62, 90, 16);
    general_.pluginManager = AddButton(page, "Plugin Manager", 316, 58, 100, kButtonHeight, [this] {
      if (onPluginManager) onPluginManager();
    });
  }

  Add(page, "STATIC", "Configure Fonts for Displays:", SS_LEFT, 8, 90, 150, 16);
  general_.selectFonts = AddButton(page, "Select Fonts", 160, 86, 90, kButtonHeight, [this] {
    if (onSelectFonts) onSelectFonts();
  });
  general_.themes = Add(page, "BUTTON", "Support XP Themes?", BS_AUTOCHECKBOX | WS_TABSTOP, 270, 88, 160, 20);
  addHint(general_.themes, "Change support of XP Themes (at next execution)");
  form_->OnCommand(general_.themes, [this] { EnableGeneralApply(); });

  // The pass count sits inside the box, beside the buttons.
  general_.shred = AddGroup(page, "Secure Erase Options",
                            {"Quick Shred [one pass, overwrite with zeoes]",
                             "Thorough Shred [multiple passes varying data]",
                             "Both [Thorough followed by Quick Shred]"},
                            8, 114, 526, [this, page] {
                              Add(page, "STATIC", "Set the number of passes to overwrite", SS_LEFT | WS_GROUP, 284,
                                  130, 236, 16);
                              Add(page, "STATIC", "for the Thorough Shred option.  (1 - 99)", SS_LEFT, 284, 146, 236,
                                  16);
                              general_.repeatsEdit = Add(page, "EDIT", "1",
                                                         ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 284,
                                                         166, 56, 21);
                              general_.repeatsSpin = Add(page, UPDOWN_CLASSA, "",
                                                         UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
                                                             UDS_NOTHOUSANDS,
                                                         340, 166, 16, 21);
                            });
  for (HWND button : general_.shred.buttons) {
    SetWindowPos(button, nullptr, 0, 0, S(264), S(18), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    form_->OnCommand(button, [this] { EnableGeneralApply(); });
  }
  SendMessageA(general_.repeatsSpin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(general_.repeatsEdit), 0);
  SendMessageA(general_.repeatsSpin, UDM_SETRANGE32, settings::kMinRepeats, settings::kMaxRepeats);
  form_->OnCommand(general_.repeatsEdit, [this] {
    // Every edit notification arrives here: only a new value counts.
    if (gui::WindowText(general_.repeatsEdit) != repeatsShown_) EnableGeneralApply();
  });

  general_.apply = AddButton(page, "Apply Changes", kApplyX, kApplyY, kApplyWidth, kButtonHeight,
                             [this] { ApplyGeneral(); });
  EnableWindow(general_.apply, FALSE);
}

void ConfigurePages::CreateTempFolders() {
  const ConfigPage page = ConfigPage::TempFolders;
  Add(page, "STATIC", "Select folders below for \"Temp Folders\" option:", SS_LEFT | SS_NOPREFIX, 8, 4, 440, 16);
  for (size_t i = 0; i < kTempFolderCount; ++i) {
    int top = kTempPanelsTop + static_cast<int>(i) * kTempPanelHeight;
    temp_.checks[i] = Add(page, "BUTTON", kTempCaptions[i], BS_AUTOCHECKBOX | WS_TABSTOP, 14, top + 3, 110, 18);
    temp_.labels[i] = Add(page, "STATIC", "", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, kTempLabelX, top + 5, 400, 16);
    temp_.panels[i] = Add(page, "STATIC", "", SS_ETCHEDFRAME, 8, top, 530, kTempPanelHeight - 2);
  }
  int noteTop = kTempPanelsTop + kTempFolderCount * kTempPanelHeight + 2;
  Add(page, "STATIC",
      "NOTE - It is normal for some of the above entries to refer to the same folder.  If you select a duplicate, it "
      "is processed only once.",
      SS_LEFT | SS_NOPREFIX, 8, noteTop, 530, 30);
  temp_.ageCheck = Add(page, "BUTTON", "Ignore files in Temp Folders modified in the last",
                       BS_AUTOCHECKBOX | WS_TABSTOP, 8, noteTop + 36, 270, 18);
  temp_.ageHoursEdit = Add(page, "EDIT", "24", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 282, noteTop + 34, 40, 21);
  Add(page, "STATIC", "Hours", SS_LEFT, 328, noteTop + 37, 40, 16);
  temp_.apply = AddButton(page, "Apply Changes", kApplyX, kApplyY, kApplyWidth, kButtonHeight,
                          [this] { ApplyTempFolders(); });
}

void ConfigurePages::Load() {
  // Without a manifest the switch has nothing to rename: hidden and disabled.
  EnableWindow(general_.themes, ThemesAvailable());
  SetChecked(general_.themes, context_->themeState == kThemesOn);
  platform::PrivateProfileFile ini(context_->paths.settingsFile);
  settings::ConfigurationTab tab = settings::LoadConfigurationTab(ini);
  shredMode_ = tab.shred.shredMode;
  general_.shred.SetIndex(settings::ShredButtonOf(shredMode_).value_or(-1));
  ShowRepeats(tab.shred.repeats);
  ShowDisplay(purgeNow_, tab.purgeNow);
  ShowDisplay(startup_, tab.startup);
  ShowDisplay(shutdown_, tab.shutdown);
  shutdownOptions_.SetIndex(static_cast<int>(tab.shutType));
  SetChecked(startupEntry_, schedule::StartupEntryIsSet(context_->platform.registry));
  ShowTempFolders(settings::LoadTempFolderSettings(ini));
}

void ConfigurePages::ShowTempFolders(const settings::TempFolderSettings& temp) {
  const bool flags[] = {temp.systemTemp, temp.windowsTemp, temp.oldTemp, temp.bootDiskTemp};
  for (size_t i = 0; i < kTempFolderCount; ++i) SetChecked(temp_.checks[i], flags[i]);
  SetChecked(temp_.ageCheck, temp.ageFilterOn);
  SetWindowTextA(temp_.ageHoursEdit, temp.ageHoursText.c_str());
}

void ConfigurePages::ShowRepeats(int repeats) {
  repeatsShown_ = std::to_string(repeats);
  SetWindowTextA(general_.repeatsEdit, repeatsShown_.c_str());
}

void ConfigurePages::EnableGeneralApply() { EnableWindow(general_.apply, TRUE); }

bool ConfigurePages::ThemesAvailable() const { return context_->themeState != kThemesUnavailable; }

void ConfigurePages::Show(int page) {
  for (size_t i = 0; i < pages_.size(); ++i)
    for (HWND control : pages_[i]) {
      bool shown = static_cast<int>(i) == page && (control != general_.themes || ThemesAvailable());
      ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
    }
}

void ConfigurePages::Layout(int windowWidth) {
  if (!form_) return;
  int panelWidth = std::max(S(kTempLabelX + 16), windowWidth - kPanelMargin);
  for (size_t i = 0; i < kTempFolderCount; ++i) {
    RECT panel;
    GetWindowRect(temp_.panels[i], &panel);
    MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&panel), 2);
    MoveWindow(temp_.panels[i], panel.left, panel.top, panelWidth, panel.bottom - panel.top, TRUE);
    RECT label;
    GetWindowRect(temp_.labels[i], &label);
    MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&label), 2);
    MoveWindow(temp_.labels[i], label.left, label.top, panel.left + panelWidth - S(6) - label.left,
               label.bottom - label.top, TRUE);
  }
}

void ConfigurePages::SetTempFolderLabel(int index, const std::string& text) {
  if (index < 0 || index >= kTempFolderCount) return;
  SetWindowTextA(temp_.labels[static_cast<size_t>(index)], text.c_str());
}

void ConfigurePages::Failed(const std::string& what) {
  if (onApplyFailed) onApplyFailed(what);
}

bool ConfigurePages::ApplyGeneral() {
  settings::ShredSettings page;
  int button = general_.shred.Index();
  page.shredMode = button >= 0 ? static_cast<char>(settings::kQuickShred + button) : shredMode_;
  // An empty or unreadable count is the spin edit's minimum.
  page.repeats = settings::ClampRepeats(ParseInteger(gui::WindowText(general_.repeatsEdit)).value_or(settings::kMinRepeats));
  platform::PrivateProfileFile ini(context_->paths.settingsFile);
  bool written = settings::ApplyGeneral(ini, page, context_->settings.shred);
  shredMode_ = page.shredMode;
  ShowRepeats(page.repeats);
  if (!written) Failed("Cannot write the shred settings to " + ini.Path());

  auto current = static_cast<ThemeState>(context_->themeState);
  ThemeState wanted = ThemeStateOfCheckBox(ThemesAvailable(), IsChecked(general_.themes));
  bool renamed = ApplyThemeState(context_->platform.files, context_->paths.programFile, current, wanted);
  if (renamed) {
    context_->themeState = wanted;
  } else {
    SetChecked(general_.themes, current == kThemesOn);  // the box shows what the next start will use
    Failed("Cannot change the support of XP Themes: the manifest beside the program could not be renamed");
  }
  return written && renamed;
}

bool ConfigurePages::ApplyPurgeNow() {
  platform::PrivateProfileFile ini(context_->paths.settingsFile);
  DisplayOptions options = DisplayOf(purgeNow_);
  if (context_->options.mode == RunMode::Auto) context_->settings.runModeDisplay = options;
  if (settings::ApplyPurgeNow(ini, options)) return true;
  Failed("Cannot write the Purge Now display options to " + ini.Path());
  return false;
}

bool ConfigurePages::ApplyStartup() {
  platform::PrivateProfileFile ini(context_->paths.settingsFile);
  DisplayOptions options = DisplayOf(startup_);
  if (context_->options.mode == RunMode::Boot) context_->settings.runModeDisplay = options;
  bool written = settings::ApplyStartup(ini, options);
  if (!written) Failed("Cannot write the Startup display options to " + ini.Path());
  platform::Registry& registry = context_->platform.registry;
  const std::string& program = context_->paths.programFile;
  bool entry = IsChecked(startupEntry_) ? schedule::SetStartupEntry(
                                              registry, schedule::StartupRunValue(
                                                            program, context_->platform.shell.ShortPathOf(program)))
                                        : schedule::RemoveStartupEntry(registry);
  if (!entry && onMessage) onMessage("Tidemark  -  Message", schedule::kRegistryErrorMessage);
  return written && entry;
}

void ConfigurePages::GenerateDesktopShortcut(size_t index) {
  const schedule::DesktopShortcut& shortcut = schedule::kDesktopShortcuts.at(index);
  std::string linkFile;
  auto result = schedule::GenerateShortcut(context_->platform.registry, context_->platform.shell,
                                           context_->paths.programFile, schedule::ShortcutLocation::Desktop,
                                           shortcut.arguments, 0, shortcut.linkName, shortcut.iconFile, linkFile);
  // Without a desktop folder there is silently nothing to write.
  if (result == schedule::ShortcutResult::NotSaved) Failed("Cannot write the shortcut " + linkFile);
}

bool ConfigurePages::ApplyShutdown() {
  platform::PrivateProfileFile ini(context_->paths.settingsFile);
  DisplayOptions options = DisplayOf(shutdown_);
  auto shutType = static_cast<settings::ShutType>(std::max(0, shutdownOptions_.Index()));
  if (context_->options.mode == RunMode::Shut) context_->settings.runModeDisplay = options;
  context_->settings.shutType = shutType;
  if (settings::ApplyShutdown(ini, options, shutType)) return true;
  Failed("Cannot write the Shutdown options to " + ini.Path());
  return false;
}

bool ConfigurePages::ApplyTempFolders() {
  settings::TempFolderSettings page;
  page.systemTemp = IsChecked(temp_.checks[0]);
  page.windowsTemp = IsChecked(temp_.checks[1]);
  page.oldTemp = IsChecked(temp_.checks[2]);
  page.bootDiskTemp = IsChecked(temp_.checks[3]);
  page.ageFilterOn = IsChecked(temp_.ageCheck);
  page.ageHoursText = gui::WindowText(temp_.ageHoursEdit);
  platform::PrivateProfileFile ini(context_->paths.settingsFile);
  bool written = settings::ApplyTempFolders(ini, page);
  ShowTempFolders(page);
  context_->settings.temp = page;
  if (onTempFoldersApplied) onTempFoldersApplied();
  if (!written) Failed("Cannot write the temp folder settings to " + ini.Path());
  return written;
}

}  // namespace tidemark::app
