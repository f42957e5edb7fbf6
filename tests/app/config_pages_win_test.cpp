// The configuration pages placed on a plain window in-process (under Xvfb),
// loaded from and applied to a settings file in a scratch folder.
#include "app/config_pages_win.h"

#include <gtest/gtest.h>

#include <map>

#include "app/themes.h"
#include "platform/files_win.h"
#include "platform/ini_file.h"
#include "schedule/shortcuts.h"
#include "schedule/startup_entry.h"
#include "settings/settings_fixture_win.h"
#include "support/redirected_registry_win.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

using test::WithValue;

class TestHost : public gui::Window {
 public:
  TestHost() {
    CreateWindowOf("ConfigPagesTestHost", "Configure", WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, 0, 0, 620, 450,
                   nullptr);
  }
};

// As the user does: the control's page must be showing.
void Click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }
bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool HasStyle(HWND control, DWORD style) { return (GetWindowLongA(control, GWL_STYLE) & style) == style; }
bool Shown(HWND control) { return HasStyle(control, WS_VISIBLE); }
bool Enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }
void SetText(HWND control, const char* text) { SetWindowTextA(control, text); }

// Renames fail, as when another program holds the manifest.
class NoRenameFileSystem : public platform::Win32FileSystem {
 public:
  bool RenameFile(const std::string&, const std::string&) override { return Fail(ERROR_SHARING_VIOLATION); }
};

// Every key the pages read, each with a value no Apply below writes.
const char* const kFullFile =
    "[StndOptions]\r\nCacheOption=1\r\n"
    "[PnowOptions]\r\nCacheOption=1\r\nSplashOpt=0\r\nMainWinOpt=2\r\n"
    "[BootOptions]\r\nCookiesOption=1\r\nSplashOpt=1\r\nMainWinOpt=3\r\n"
    "[ShutOptions]\r\nHistoryOption=1\r\nSplashOpt=1\r\nMainWinOpt=1\r\nShutType=4\r\n"
    "[ShredOption]\r\nThoroughness=1\r\nRepeats=7\r\n"
    "[TempFolders]\r\nTmpDir=0\r\nDosDir=1\r\nWinDir=0\r\nVolDir=1\r\nAgeTemp=0\r\nAgeHours=12\r\n"
    "[Positions]\r\nFFoxForm=0 10 20 300 400\r\n"
    "[ShowOption]\r\nQuickStartOpt=N\r\n"
    "[Fonts]\r\nMain0Name=Arial\r\n";

class ConfigPagesTest : public ::testing::Test {
 protected:
  ConfigPagesTest() {
    gui::InitCommonControls();
    // The startup entry and the desktop go to places of the test's own.
    registry.Redirect(schedule::kRunKey, runKey.path());
    registry.Redirect(schedule::kShellFoldersKey, shellFolders.path());
    context.paths.programFile = folder / "Tidemark.exe";
    context.paths.programFolder = folder.path();
    context.paths.settingsFile = folder / "Tidemark.ini";
  }

  void Create(const std::string& settingsText) {
    folder.Write("Tidemark.ini", settingsText);
    pages.Create(host, RECT{12, 100, 600, 360}, 96, context,
                 [this](HWND control, const char* hint) { hints[control] = hint; });
    pages.onApplyFailed = [this](const std::string& text) { failures.push_back(text); };
    pages.onTempFoldersApplied = [this] { ++tempFoldersApplied; };
  }

  std::string SettingsText() { return files.ReadFile(context.paths.settingsFile).value_or("<no file>"); }

  test::TempFolder folder;
  platform::Win32FileSystem files;
  test::TempRegistryKey runKey, shellFolders;
  test::RedirectedRegistry registry;
  AppContext context{Platform{files, registry, platform::RealWindowList(), platform::RealShell()}};
  TestHost host;
  ConfigurePages pages;
  std::map<HWND, std::string> hints;
  std::vector<std::string> failures;
  int tempFoldersApplied = 0;
};

TEST_F(ConfigPagesTest, LoadsTheStoredValues) {
  Create(kFullFile);
  EXPECT_EQ(pages.general().shred.Index(), 1);
  EXPECT_EQ(gui::WindowText(pages.general().repeatsEdit), "7");
  EXPECT_EQ(pages.purgeNow().splash.Index(), 0);
  EXPECT_EQ(pages.purgeNow().mainWindow.Index(), 2);
  EXPECT_EQ(pages.startup().splash.Index(), 1);
  EXPECT_EQ(pages.startup().mainWindow.Index(), 3);
  EXPECT_EQ(pages.shutdown().splash.Index(), 1);
  EXPECT_EQ(pages.shutdown().mainWindow.Index(), 1);
  EXPECT_EQ(pages.shutdownOptions().Index(), 4);
  // DosDir is "Windows Temp", VolDir "BootDisk Temp".
  const auto& temp = pages.temp();
  EXPECT_FALSE(IsChecked(temp.checks[0]));
  EXPECT_TRUE(IsChecked(temp.checks[1]));
  EXPECT_FALSE(IsChecked(temp.checks[2]));
  EXPECT_TRUE(IsChecked(temp.checks[3]));
  EXPECT_FALSE(IsChecked(temp.ageCheck));
  EXPECT_EQ(gui::WindowText(temp.ageHoursEdit), "12");
  EXPECT_EQ(gui::WindowText(pages.shutdownOptions().buttons[4]), "Stand By");
  EXPECT_EQ(gui::WindowText(pages.purgeNow().mainWindow.buttons[2]), "Enable only when a Severe Error occurs");
}

TEST_F(ConfigPagesTest, EmptyFileShowsTheDefaults) {
  Create("");
  EXPECT_EQ(pages.general().shred.Index(), 0);
  EXPECT_EQ(gui::WindowText(pages.general().repeatsEdit), "1");
  for (const auto* page : {&pages.purgeNow(), &pages.startup(), &pages.shutdown()}) {
    EXPECT_EQ(page->splash.Index(), 0);
    EXPECT_EQ(page->mainWindow.Index(), 0);
  }
  EXPECT_EQ(pages.shutdownOptions().Index(), 0);  // a missing ShutType is Logoff
  EXPECT_TRUE(IsChecked(pages.temp().checks[0]));
  for (size_t i = 1; i < kTempFolderCount; ++i) EXPECT_FALSE(IsChecked(pages.temp().checks[i]));
  EXPECT_TRUE(IsChecked(pages.temp().ageCheck));
  EXPECT_EQ(gui::WindowText(pages.temp().ageHoursEdit), "8");
  EXPECT_EQ(SettingsText(), "");  // loading writes nothing
}

TEST_F(ConfigPagesTest, OutOfRangeValuesAreClampedOnLoading) {
  Create("[ShredOption]\r\nThoroughness=9\r\nRepeats=150\r\n[ShutOptions]\r\nShutType=8\r\n"
         "[TempFolders]\r\nAgeHours=abc\r\n");
  EXPECT_EQ(pages.general().shred.Index(), -1);  // an unknown kind selects no button
  EXPECT_EQ(gui::WindowText(pages.general().repeatsEdit), "99");
  EXPECT_EQ(pages.shutdownOptions().Index(), 0);
  EXPECT_EQ(gui::WindowText(pages.temp().ageHoursEdit), "0");
}

TEST_F(ConfigPagesTest, LoadAgainShowsASeededFileAndTheThemesState) {
  Create("");
  folder.Write("Tidemark.ini", kFullFile);
  folder.Write("Tidemark.exe.ManifesX", "parked");
  context.themeState = ReadThemeState(files, context.paths.programFile, true);
  pages.Load();
  EXPECT_EQ(pages.general().shred.Index(), 1);
  EXPECT_EQ(gui::WindowText(pages.general().repeatsEdit), "7");
  EXPECT_EQ(pages.shutdownOptions().Index(), 4);
  EXPECT_EQ(gui::WindowText(pages.temp().ageHoursEdit), "12");
  EXPECT_TRUE(Enabled(pages.general().themes));
  EXPECT_FALSE(IsChecked(pages.general().themes));
  EXPECT_FALSE(Enabled(pages.general().apply));  // loading is no change
  pages.Show(static_cast<int>(ConfigPage::General));
  EXPECT_TRUE(Shown(pages.general().themes));
}

struct ApplyCase {
  const char* name;
  ConfigPage page;
  std::function<void(ConfigurePages&)> change;
  std::vector<std::array<const char*, 3>> written;  // section, key, value
};

TEST_F(ConfigPagesTest, EachApplyWritesOnlyItsOwnKeys) {
  const std::vector<ApplyCase> cases = {
      {"General", ConfigPage::General,
       [](ConfigurePages& p) {
         Click(p.general().shred.buttons[2]);
         SetText(p.general().repeatsEdit, "12");
       },
       {{"ShredOption", "Thoroughness", "2"}, {"ShredOption", "Repeats", "12"}}},
      {"Purge Now", ConfigPage::PurgeNow,
       [](ConfigurePages& p) {
         Click(p.purgeNow().splash.buttons[1]);
         Click(p.purgeNow().mainWindow.buttons[3]);
       },
       {{"PnowOptions", "SplashOpt", "1"}, {"PnowOptions", "MainWinOpt", "3"}}},
      {"Startup", ConfigPage::Startup,
       [](ConfigurePages& p) {
         Click(p.startup().splash.buttons[0]);
         Click(p.startup().mainWindow.buttons[1]);
       },
       {{"BootOptions", "SplashOpt", "0"}, {"BootOptions", "MainWinOpt", "1"}}},
      {"Shutdown", ConfigPage::Shutdown,
       [](ConfigurePages& p) {
         Click(p.shutdown().splash.buttons[0]);
         Click(p.shutdown().mainWindow.buttons[2]);
         Click(p.shutdownOptions().buttons[5]);
       },
       {{"ShutOptions", "SplashOpt", "0"}, {"ShutOptions", "MainWinOpt", "2"}, {"ShutOptions", "ShutType", "5"}}},
      {"Temp Folders", ConfigPage::TempFolders,
       [](ConfigurePages& p) {
         for (HWND box : p.temp().checks) Click(box);
         Click(p.temp().ageCheck);
         SetText(p.temp().ageHoursEdit, "36");
       },
       {{"TempFolders", "TmpDir", "1"}, {"TempFolders", "DosDir", "0"}, {"TempFolders", "WinDir", "1"},
        {"TempFolders", "VolDir", "0"}, {"TempFolders", "AgeTemp", "1"}, {"TempFolders", "AgeHours", "36"}}},
  };
  auto applyButton = [this](ConfigPage page) {
    switch (page) {
      case ConfigPage::General: return pages.general().apply;
      case ConfigPage::PurgeNow: return pages.purgeNow().apply;
      case ConfigPage::Startup: return pages.startup().apply;
      case ConfigPage::Shutdown: return pages.shutdown().apply;
      case ConfigPage::TempFolders: return pages.temp().apply;
    }
    return HWND{};
  };
  Create(kFullFile);
  // Each Apply in turn, on one file: what the earlier ones wrote stays.
  std::string expected = SettingsText();
  for (const ApplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    pages.Show(static_cast<int>(c.page));
    c.change(pages);
    for (const auto& [section, key, value] : c.written) {
      std::string before = expected;
      expected = WithValue(expected, section, key, value);
      EXPECT_NE(expected, before) << key << " already holds " << value;
    }
    Click(applyButton(c.page));
    EXPECT_EQ(SettingsText(), expected);
  }
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(tempFoldersApplied, 1);
}

TEST_F(ConfigPagesTest, ApplyUpdatesTheSettingsInMemory) {
  context.options.mode = RunMode::Shut;
  Create("");
  pages.Show(static_cast<int>(ConfigPage::General));
  SetText(pages.general().repeatsEdit, "5");
  Click(pages.general().shred.buttons[1]);
  Click(pages.general().apply);
  EXPECT_EQ(context.settings.shred, (settings::ShredSettings{settings::kThoroughShred, 5}));

  pages.Show(static_cast<int>(ConfigPage::Shutdown));
  Click(pages.shutdown().splash.buttons[1]);
  Click(pages.shutdown().mainWindow.buttons[3]);
  Click(pages.shutdownOptions().buttons[3]);
  Click(pages.shutdown().apply);
  EXPECT_EQ(context.settings.shutType, settings::ShutType::Poweroff);
  EXPECT_EQ(context.settings.runModeDisplay,
            (settings::DisplayOptions{settings::SplashOption::Disable, settings::MainWindowOption::Disable}));

  // Another run's display options are not this run's.
  pages.Show(static_cast<int>(ConfigPage::PurgeNow));
  Click(pages.purgeNow().mainWindow.buttons[1]);
  Click(pages.purgeNow().apply);
  EXPECT_EQ(context.settings.runModeDisplay.mainWindow, settings::MainWindowOption::Disable);

  pages.Show(static_cast<int>(ConfigPage::TempFolders));
  Click(pages.temp().checks[2]);
  SetText(pages.temp().ageHoursEdit, "3");
  Click(pages.temp().apply);
  EXPECT_TRUE(context.settings.temp.oldTemp);
  EXPECT_EQ(context.settings.temp.ageHours, 3);
}

TEST_F(ConfigPagesTest, RepeatsAreClampedWhenApplied) {
  Create("");
  for (auto [typed, stored] : {std::pair{"150", "99"}, {"0", "1"}, {"", "1"}, {"99999999999999999999", "1"},
                               {"42", "42"}}) {
    SCOPED_TRACE(typed);
    SetText(pages.general().repeatsEdit, typed);
    ASSERT_TRUE(pages.ApplyGeneral());
    EXPECT_EQ(gui::WindowText(pages.general().repeatsEdit), stored);
    platform::PrivateProfileFile ini(context.paths.settingsFile);
    EXPECT_EQ(ini.ReadString("ShredOption", "Repeats", "<none>"), stored);
  }
}

TEST_F(ConfigPagesTest, UnknownShredKindIsKeptWhenNoButtonIsChosen) {
  const std::string text = "[ShredOption]\r\nThoroughness=7\r\nRepeats=3\r\n";
  Create(text);
  pages.Show(static_cast<int>(ConfigPage::General));
  SetText(pages.general().repeatsEdit, "4");
  Click(pages.general().apply);
  EXPECT_EQ(SettingsText(), WithValue(text, "ShredOption", "Repeats", "4"));
  EXPECT_EQ(context.settings.shred.shredMode, '7');
}

TEST_F(ConfigPagesTest, GeneralApplyWaitsForAChange) {
  Create("[ShredOption]\r\nRepeats=3\r\n");
  HWND apply = pages.general().apply;
  EXPECT_FALSE(Enabled(apply));
  SetText(pages.general().repeatsEdit, "3");  // the same value
  EXPECT_FALSE(Enabled(apply));
  SetText(pages.general().repeatsEdit, "4");
  EXPECT_TRUE(Enabled(apply));

  ConfigurePages second;
  second.Create(host, RECT{12, 100, 600, 360}, 96, context, [](HWND, const char*) {});
  EXPECT_FALSE(Enabled(second.general().apply));
  second.Show(static_cast<int>(ConfigPage::General));
  Click(second.general().shred.buttons[2]);
  EXPECT_TRUE(Enabled(second.general().apply));
}

TEST_F(ConfigPagesTest, AgeHoursTextThatIsNoNumberBecomesZero) {
  Create("");
  pages.Show(static_cast<int>(ConfigPage::TempFolders));
  for (const char* typed : {"abc", "-5", " "}) {
    SCOPED_TRACE(typed);
    SetText(pages.temp().ageHoursEdit, typed);
    Click(pages.temp().apply);
    EXPECT_EQ(gui::WindowText(pages.temp().ageHoursEdit), "0");
    platform::PrivateProfileFile ini(context.paths.settingsFile);
    EXPECT_EQ(ini.ReadString("TempFolders", "AgeHours", "<none>"), "0");
    EXPECT_EQ(ini.ReadString("TempFolders", "AgeTemp", "<none>"), "1");  // the rest as chosen
    EXPECT_EQ(ini.ReadString("TempFolders", "TmpDir", "<none>"), "1");
    EXPECT_EQ(context.settings.temp.ageHours, 0);
    EXPECT_TRUE(failures.empty());
  }
}

TEST_F(ConfigPagesTest, NoTempFolderChosenShowsSystemTempAfterApply) {
  Create("");
  pages.Show(static_cast<int>(ConfigPage::TempFolders));
  Click(pages.temp().checks[0]);  // clears the only checked box
  Click(pages.temp().apply);
  platform::PrivateProfileFile ini(context.paths.settingsFile);
  EXPECT_EQ(ini.ReadString("TempFolders", "TmpDir", "<none>"), "0");
  EXPECT_TRUE(IsChecked(pages.temp().checks[0]));
  EXPECT_TRUE(context.settings.temp.systemTemp);
}

TEST_F(ConfigPagesTest, ThemesSwitchRenamesTheManifest) {
  folder.Write("Tidemark.exe.ManifesT", "manifest");
  context.themeState = ReadThemeState(files, context.paths.programFile, true);
  Create("");
  pages.Show(static_cast<int>(ConfigPage::General));
  HWND themes = pages.general().themes;
  EXPECT_TRUE(Enabled(themes));
  EXPECT_TRUE(IsChecked(themes));
  Click(themes);
  EXPECT_TRUE(Enabled(pages.general().apply));
  Click(pages.general().apply);
  EXPECT_EQ(context.themeState, kThemesOff);
  EXPECT_FALSE(files.FileExists(context.paths.programFile + ".ManifesT"));
  EXPECT_EQ(files.ReadFile(context.paths.programFile + ".ManifesX").value_or(""), "manifest");

  // Applying again without a change renames nothing.
  Click(pages.general().apply);
  EXPECT_TRUE(files.FileExists(context.paths.programFile + ".ManifesX"));

  Click(themes);
  Click(pages.general().apply);
  EXPECT_EQ(context.themeState, kThemesOn);
  EXPECT_EQ(files.ReadFile(context.paths.programFile + ".ManifesT").value_or(""), "manifest");
  EXPECT_FALSE(files.FileExists(context.paths.programFile + ".ManifesX"));
  EXPECT_TRUE(failures.empty());
}

TEST_F(ConfigPagesTest, ThemesStateZeroHidesTheSwitchAndRenamesNothing) {
  // As on a system that is not NT: the files are there but not used.
  folder.Write("Tidemark.exe.ManifesX", "parked");
  context.themeState = kThemesUnavailable;
  Create("");
  HWND themes = pages.general().themes;
  EXPECT_FALSE(Enabled(themes));
  EXPECT_FALSE(IsChecked(themes));
  pages.Show(static_cast<int>(ConfigPage::General));
  EXPECT_FALSE(Shown(themes));
  SetText(pages.general().repeatsEdit, "2");
  EXPECT_TRUE(pages.ApplyGeneral());
  EXPECT_EQ(files.ReadFile(context.paths.programFile + ".ManifesX").value_or(""), "parked");
  EXPECT_FALSE(files.FileExists(context.paths.programFile + ".ManifesT"));
  EXPECT_EQ(context.themeState, kThemesUnavailable);
}

TEST_F(ConfigPagesTest, FailedThemesRenameIsReportedAndNotRecorded) {
  NoRenameFileSystem lockedFiles;
  AppContext lockedContext{Platform{lockedFiles, platform::RealRegistry(), platform::RealWindowList(), platform::RealShell()}};
  lockedContext.paths = context.paths;
  folder.Write("Tidemark.exe.ManifesT", "manifest");
  lockedContext.themeState = kThemesOn;
  folder.Write("Tidemark.ini", "");
  ConfigurePages locked;
  locked.Create(host, RECT{12, 100, 600, 360}, 96, lockedContext, [](HWND, const char*) {});
  locked.onApplyFailed = [this](const std::string& text) { failures.push_back(text); };
  locked.Show(static_cast<int>(ConfigPage::General));
  Click(locked.general().themes);
  SetText(locked.general().repeatsEdit, "6");
  EXPECT_FALSE(locked.ApplyGeneral());
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("XP Themes"), std::string::npos);
  EXPECT_EQ(lockedContext.themeState, kThemesOn);
  EXPECT_TRUE(IsChecked(locked.general().themes));  // back to what the next start will use
  EXPECT_EQ(files.ReadFile(context.paths.programFile + ".ManifesT").value_or(""), "manifest");
  platform::PrivateProfileFile ini(context.paths.settingsFile);
  EXPECT_EQ(ini.ReadString("ShredOption", "Repeats", "<none>"), "6");  // the shred settings still went in
}

TEST_F(ConfigPagesTest, UnwritableSettingsFileIsReported) {
  context.paths.settingsFile = folder / "missing\\Tidemark.ini";
  pages.Create(host, RECT{12, 100, 600, 360}, 96, context, [](HWND, const char*) {});
  pages.onApplyFailed = [this](const std::string& text) { failures.push_back(text); };
  EXPECT_FALSE(pages.ApplyPurgeNow());
  EXPECT_FALSE(pages.ApplyStartup());
  EXPECT_FALSE(pages.ApplyShutdown());
  EXPECT_FALSE(pages.ApplyTempFolders());
  EXPECT_FALSE(pages.ApplyGeneral());
  ASSERT_EQ(failures.size(), 5u);
  for (const std::string& text : failures) EXPECT_NE(text.find(context.paths.settingsFile), std::string::npos) << text;
  EXPECT_FALSE(files.FolderExists(folder / "missing"));
}

TEST_F(ConfigPagesTest, ShowsOnlyTheSelectedPage) {
  folder.Write("Tidemark.exe.ManifesX", "parked");
  context.themeState = kThemesOff;
  Create("");
  auto shownCount = [this](ConfigPage page) {
    int shown = 0;
    for (HWND control : pages.PageControls(page)) shown += Shown(control);
    return shown;
  };
  const ConfigPage all[] = {ConfigPage::General, ConfigPage::PurgeNow, ConfigPage::Startup, ConfigPage::Shutdown,
                            ConfigPage::TempFolders};
  for (ConfigPage page : all) EXPECT_EQ(shownCount(page), 0);  // created hidden
  for (ConfigPage selected : all) {
    pages.Show(static_cast<int>(selected));
    for (ConfigPage page : all) {
      int expected = page == selected ? static_cast<int>(pages.PageControls(page).size()) : 0;
      EXPECT_EQ(shownCount(page), expected) << static_cast<int>(selected) << " " << static_cast<int>(page);
    }
  }
  EXPECT_TRUE(Shown(pages.general().themes) == false);
  pages.Show(static_cast<int>(ConfigPage::General));
  EXPECT_TRUE(Shown(pages.general().themes));
  EXPECT_TRUE(Shown(pages.general().repeatsSpin));
  pages.Show(-1);
  for (ConfigPage page : all) EXPECT_EQ(shownCount(page), 0);
}

TEST_F(ConfigPagesTest, RadioGroupsAreSeparateKeyboardGroups) {
  Create("");
  const RadioButtons* groups[] = {&pages.general().shred,      &pages.purgeNow().splash,  &pages.purgeNow().mainWindow,
                                  &pages.startup().splash,     &pages.startup().mainWindow, &pages.shutdown().splash,
                                  &pages.shutdown().mainWindow, &pages.shutdownOptions()};
  for (const RadioButtons* group : groups) {
    EXPECT_TRUE(HasStyle(group->buttons[0], WS_GROUP));
    for (size_t i = 1; i < group->buttons.size(); ++i) EXPECT_FALSE(HasStyle(group->buttons[i], WS_GROUP));
    // The system keeps the tab stop on the checked button.
    ASSERT_GE(group->Index(), 0);
    EXPECT_TRUE(HasStyle(group->buttons[static_cast<size_t>(group->Index())], WS_TABSTOP));
  }
  // Choosing in one group leaves its neighbours alone.
  pages.Show(static_cast<int>(ConfigPage::Shutdown));
  Click(pages.shutdown().splash.buttons[1]);
  Click(pages.shutdown().mainWindow.buttons[3]);
  Click(pages.shutdownOptions().buttons[1]);
  EXPECT_EQ(pages.shutdown().splash.Index(), 1);
  EXPECT_EQ(pages.shutdown().mainWindow.Index(), 3);
  EXPECT_EQ(pages.shutdownOptions().Index(), 1);
  EXPECT_EQ(pages.startup().splash.Index(), 0);
  for (HWND control : {pages.general().repeatsEdit, pages.general().themes, pages.general().apply,
                       pages.startupEntry(), pages.temp().checks[0], pages.temp().ageCheck, pages.temp().ageHoursEdit})
    EXPECT_TRUE(HasStyle(control, WS_TABSTOP));
}

TEST_F(ConfigPagesTest, ShortcutFontAndStartupControlsAreLive) {
  Create("");
  const auto& general = pages.general();
  for (HWND control : general.shortcutButtons) EXPECT_TRUE(Enabled(control));
  EXPECT_EQ(gui::WindowText(general.shortcutButtons[0]), "Tidemark       ");
  EXPECT_EQ(gui::WindowText(general.shortcutButtons[2]), "Tidemark && Shutdown");
  EXPECT_EQ(hints[general.shortcutButtons[1]],
            "Generate a Shortcut to execute Tidemark with the \"Purge Now\" options ");
  EXPECT_TRUE(Enabled(general.selectFonts));
  EXPECT_TRUE(Enabled(pages.startupEntry()));
  EXPECT_EQ(general.pluginManager, nullptr);  // no PlugMgr.exe
  EXPECT_EQ(general.pluginManagerLabel, nullptr);
  EXPECT_EQ(hints[general.themes], "Change support of XP Themes (at next execution)");
  EXPECT_EQ(hints[pages.startupEntry()], "Check to Set, Clear to Remove if Set");
  int fontWindows = 0;
  pages.onSelectFonts = [&] { ++fontWindows; };
  pages.Show(static_cast<int>(ConfigPage::General));
  Click(general.selectFonts);
  EXPECT_EQ(fontWindows, 1);
}

TEST_F(ConfigPagesTest, StartupApplySetsAndRemovesTheEntry) {
  platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, runKey.path(), "Tidemark",
                                       "C:\\TIDEMARK\\TIDEMARK.EXE BOOT");
  folder.Write("Tidemark.exe", "MZ");
  Create("");
  EXPECT_TRUE(IsChecked(pages.startupEntry()));  // as loaded
  pages.Show(static_cast<int>(ConfigPage::Startup));
  Click(pages.startupEntry());
  Click(pages.startup().apply);
  EXPECT_FALSE(schedule::StartupEntryIsSet(registry));
  Click(pages.startupEntry());
  Click(pages.startup().apply);
  std::string expected = schedule::StartupRunValue(context.paths.programFile,
                                                   platform::RealShell().ShortPathOf(context.paths.programFile));
  EXPECT_EQ(registry.ReadString(platform::RegistryRoot::CurrentUser, schedule::kRunKey, "Tidemark").value_or(""),
            expected);
  EXPECT_TRUE(failures.empty());
}

TEST_F(ConfigPagesTest, StartupEntryWithoutRegistryRightsIsToldAndTheDisplayOptionsStay) {
  Create("");
  std::vector<std::string> messages;
  pages.onMessage = [&](const std::string& caption, const std::string& text) { messages.push_back(caption + "|" + text); };
  registry.failWrites = ERROR_ACCESS_DENIED;
  pages.Show(static_cast<int>(ConfigPage::Startup));
  Click(pages.startupEntry());
  Click(pages.startup().splash.buttons[1]);
  EXPECT_FALSE(pages.ApplyStartup());
  EXPECT_EQ(messages, std::vector<std::string>{
                          "Tidemark  -  Message|Error accessing Registry. \r\nFor Windows NT/2000/XP, you need Registry "
                          "Privileges for \r\nThis function. \r\nPlease see your System Administrator"});
  EXPECT_TRUE(IsChecked(pages.startupEntry()));  // the box keeps its state
  platform::PrivateProfileFile ini(context.paths.settingsFile);
  EXPECT_EQ(ini.ReadString("BootOptions", "SplashOpt", "<none>"), "1");
}

TEST_F(ConfigPagesTest, ShortcutButtonsWriteTheirLinksToTheDesktop) {
  test::TempFolder desktop;
  Create("");
  pages.Show(static_cast<int>(ConfigPage::General));
  Click(pages.general().shortcutButtons[1]);  // no desktop folder: nothing, silently
  EXPECT_TRUE(failures.empty());
  platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, shellFolders.path(), "Desktop",
                                       desktop.path());
  for (HWND button : pages.general().shortcutButtons) Click(button);
  for (const char* name : {"Tidemark.lnk", "Tidemark Now.lnk", "Tidemark & Shutdown.lnk"})
    EXPECT_TRUE(files.FileExists(desktop / name)) << name;
  platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, shellFolders.path(), "Desktop",
                                       desktop / "missing");
  Click(pages.general().shortcutButtons[0]);
  EXPECT_EQ(failures, std::vector<std::string>{"Cannot write the shortcut " + (desktop / "missing\\Tidemark.lnk")});
}

TEST_F(ConfigPagesTest, PluginManagerExistsOnlyBesidePlugMgr) {
  folder.Write("PlugMgr.exe", "");
  Create("");
  ASSERT_NE(pages.general().pluginManager, nullptr);
  EXPECT_EQ(gui::WindowText(pages.general().pluginManager), "Plugin Manager");
  EXPECT_EQ(gui::WindowText(pages.general().pluginManagerLabel), "Create Plugins:");
}

TEST_F(ConfigPagesTest, PluginButtonsCallTheMainWindow) {
  folder.Write("PlugMgr.exe", "");
  Create("");
  std::vector<std::string> calls;
  pages.onSelectPlugins = [&] { calls.push_back("select"); };
  pages.onPluginManager = [&] { calls.push_back("manager"); };
  pages.Show(static_cast<int>(ConfigPage::General));
  Click(pages.general().selectPlugins);
  Click(pages.general().pluginManager);
  EXPECT_EQ(calls, (std::vector<std::string>{"select", "manager"}));
}

TEST_F(ConfigPagesTest, TempPanelsFollowTheWindowWidthAndShowLabels) {
  Create("");
  auto width = [](HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return static_cast<int>(rect.right - rect.left);
  };
  for (int windowWidth : {700, 590}) {
    pages.Layout(windowWidth);
    for (size_t i = 0; i < kTempFolderCount; ++i) {
      EXPECT_EQ(width(pages.temp().panels[i]), windowWidth - 70);
      RECT panel, label;
      GetWindowRect(pages.temp().panels[i], &panel);
      GetWindowRect(pages.temp().labels[i], &label);
      EXPECT_LE(label.right, panel.right);
      EXPECT_GT(label.right, label.left);
    }
  }
  pages.SetTempFolderLabel(1, "C:\\WINDOWS\\TEMP");
  pages.SetTempFolderLabel(3, "  Folder not found");
  pages.SetTempFolderLabel(4, "ignored");
  pages.SetTempFolderLabel(-1, "ignored");
  EXPECT_EQ(gui::WindowText(pages.temp().labels[0]), "");
  EXPECT_EQ(gui::WindowText(pages.temp().labels[1]), "C:\\WINDOWS\\TEMP");
  EXPECT_EQ(gui::WindowText(pages.temp().labels[3]), "  Folder not found");
}

}  // namespace
}  // namespace tidemark::app
