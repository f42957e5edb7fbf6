// The configuration pages placed on a plain window in-process (under Xvfb),
// loaded from and applied to a settings file in a scratch folder.
#include "app/config_pages_win.h"

#include <gtest/gtest.h>

#include "app/themes.h"
#include "platform/files_win.h"
#include "platform/ini_file.h"
#include "schedule/shortcuts.h"
#include "schedule/startup_entry.h"
#include "support/redirected_registry_win.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

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
bool Shown(HWND control) { return GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE; }
bool Enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }
void SetText(HWND control, const char* text) { SetWindowTextA(control, text); }

// Every key the pages read, each with a value no Apply below writes.
const char* const kFullFile =
    "[PnowOptions]\r\nSplashOpt=0\r\nMainWinOpt=2\r\n[BootOptions]\r\nSplashOpt=1\r\nMainWinOpt=3\r\n"
    "[ShutOptions]\r\nSplashOpt=1\r\nMainWinOpt=1\r\nShutType=4\r\n[ShredOption]\r\nThoroughness=1\r\nRepeats=7\r\n"
    "[TempFolders]\r\nTmpDir=0\r\nDosDir=1\r\nWinDir=0\r\nVolDir=1\r\nAgeTemp=0\r\nAgeHours=12\r\n";

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
    pages.Create(host, RECT{12, 100, 600, 360}, 96, context, [](HWND, const char*) {});
    pages.onApplyFailed = [this](const std::string& text) { failures.push_back(text); };
    pages.onTempFoldersApplied = [this] { ++tempFoldersApplied; };
  }
  void Show(ConfigPage page) { pages.Show(static_cast<int>(page)); }

  std::string SettingsText() { return files.ReadFile(context.paths.settingsFile).value_or("<no file>"); }
  std::string Stored(const char* section, const char* key) {
    return platform::PrivateProfileFile(context.paths.settingsFile).ReadString(section, key, "<none>");
  }

  test::TempFolder folder;
  platform::Win32FileSystem files;
  test::TempRegistryKey runKey, shellFolders;
  test::RedirectedRegistry registry;
  AppContext context{Platform{files, registry, platform::RealWindowList(), platform::RealShell()}};
  TestHost host;
  ConfigurePages pages;
  std::vector<std::string> failures;
  int tempFoldersApplied = 0;
};

TEST_F(ConfigPagesTest, LoadsTheStoredValuesOrTheDefaults) {
  const struct {
    const char* text;
    int shred;
    const char* repeats;
    std::array<int, 6> display;  // splash and main window of Purge Now, Startup, Shutdown
    int shutType;
    std::array<bool, 5> temp;  // System, Windows ("DosDir"), Old, BootDisk ("VolDir"), age filter
    const char* ageHours;
  } cases[] = {
      {"", 0, "1", {0, 0, 0, 0, 0, 0}, 0, {true, false, false, false, true}, "8"},
      {kFullFile, 1, "7", {0, 2, 1, 3, 1, 1}, 4, {false, true, false, true, false}, "12"},
  };
  Create(kFullFile);
  EXPECT_EQ(pages.general().shred.Index(), 1);  // Create loads too
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    folder.Write("Tidemark.ini", c.text);
    pages.Load();
    EXPECT_EQ(pages.general().shred.Index(), c.shred);
    EXPECT_EQ(gui::WindowText(pages.general().repeatsEdit), c.repeats);
    const ConfigurePages::DisplayControls* display[] = {&pages.purgeNow(), &pages.startup(), &pages.shutdown()};
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(display[i]->splash.Index(), c.display[2 * i]) << i;
      EXPECT_EQ(display[i]->mainWindow.Index(), c.display[2 * i + 1]) << i;
    }
    EXPECT_EQ(pages.shutdownOptions().Index(), c.shutType);
    for (size_t i = 0; i < kTempFolderCount; ++i) EXPECT_EQ(IsChecked(pages.temp().checks[i]), c.temp[i]) << i;
    EXPECT_EQ(IsChecked(pages.temp().ageCheck), c.temp[4]);
    EXPECT_EQ(gui::WindowText(pages.temp().ageHoursEdit), c.ageHours);
    EXPECT_EQ(SettingsText(), c.text);             // loading writes nothing
    EXPECT_FALSE(Enabled(pages.general().apply));  // and is no change
  }
  folder.Write("Tidemark.ini", "[ShredOption]\r\nThoroughness=9\r\n");
  pages.Load();
  EXPECT_EQ(pages.general().shred.Index(), -1);  // an unknown shred kind selects no button
}

TEST_F(ConfigPagesTest, EachApplyWritesOnlyItsOwnKeysAndUpdatesTheSettingsInMemory) {
  context.options.mode = RunMode::Shut;
  Create(kFullFile);
  const ConfigurePages& p = pages;
  const auto& checks = p.temp().checks;
  const struct {
    ConfigPage page;
    std::vector<HWND> clicks;
    HWND apply;
    std::vector<std::array<const char*, 3>> written;  // section, key, value
  } cases[] = {
      {ConfigPage::General,
       {p.general().shred.buttons[2]},
       p.general().apply,
       {{"ShredOption", "Thoroughness", "2"}, {"ShredOption", "Repeats", "1"}}},
      {ConfigPage::Shutdown,
       {p.shutdown().splash.buttons[0], p.shutdown().mainWindow.buttons[2], p.shutdownOptions().buttons[5]},
       p.shutdown().apply,
       {{"ShutOptions", "SplashOpt", "0"}, {"ShutOptions", "MainWinOpt", "2"}, {"ShutOptions", "ShutType", "5"}}},
      // Another run's display options are not this run's.
      {ConfigPage::PurgeNow,
       {p.purgeNow().splash.buttons[1], p.purgeNow().mainWindow.buttons[3]},
       p.purgeNow().apply,
       {{"PnowOptions", "SplashOpt", "1"}, {"PnowOptions", "MainWinOpt", "3"}}},
      {ConfigPage::Startup,
       {p.startup().splash.buttons[0], p.startup().mainWindow.buttons[1]},
       p.startup().apply,
       {{"BootOptions", "SplashOpt", "0"}, {"BootOptions", "MainWinOpt", "1"}}},
      {ConfigPage::TempFolders,
       {checks[0], checks[1], checks[2], checks[3], p.temp().ageCheck},
       p.temp().apply,
       {{"TempFolders", "TmpDir", "1"},
        {"TempFolders", "DosDir", "0"},
        {"TempFolders", "WinDir", "1"},
        {"TempFolders", "VolDir", "0"},
        {"TempFolders", "AgeTemp", "1"},
        {"TempFolders", "AgeHours", "36"}}},
  };
  // An emptied count is the least one, and shown so.
  SetText(p.temp().ageHoursEdit, "36");
  SetText(p.general().repeatsEdit, "");
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.page));
    Show(c.page);
    for (HWND control : c.clicks) Click(control);
    for (const auto& [section, key, value] : c.written) EXPECT_NE(Stored(section, key), value) << key;
    EXPECT_TRUE(Enabled(c.apply));  // General's waits for a change
    Click(c.apply);
    for (const auto& [section, key, value] : c.written) EXPECT_EQ(Stored(section, key), value) << key;
  }
  EXPECT_EQ(gui::WindowText(p.general().repeatsEdit), "1");
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(tempFoldersApplied, 1);
  EXPECT_EQ(context.settings.shred, (settings::ShredSettings{settings::kBothShreds, 1}));
  EXPECT_EQ(context.settings.shutType, settings::ShutType::Hibernate);
  using enum settings::MainWindowOption;
  EXPECT_EQ(context.settings.runModeDisplay,
            (settings::DisplayOptions{settings::SplashOption::Enable, EnableOnSevereError}));
  EXPECT_TRUE(context.settings.temp.oldTemp);
  EXPECT_EQ(context.settings.temp.ageHours, 36);
}

TEST_F(ConfigPagesTest, UnwritableSettingsFileIsReported) {
  context.paths.settingsFile = folder / "missing\\Tidemark.ini";
  pages.Create(host, RECT{12, 100, 600, 360}, 96, context, [](HWND, const char*) {});
  pages.onApplyFailed = [this](const std::string& text) { failures.push_back(text); };
  for (auto apply : {&ConfigurePages::ApplyPurgeNow, &ConfigurePages::ApplyStartup, &ConfigurePages::ApplyShutdown,
                     &ConfigurePages::ApplyTempFolders, &ConfigurePages::ApplyGeneral})
    EXPECT_FALSE((pages.*apply)());
  ASSERT_EQ(failures.size(), 5u);
  for (const std::string& text : failures) EXPECT_NE(text.find(context.paths.settingsFile), std::string::npos) << text;
  EXPECT_FALSE(files.FolderExists(folder / "missing"));
}

TEST_F(ConfigPagesTest, StartupApplySetsAndRemovesTheEntryAndAFailureIsToldWithTheDisplayOptionsKept) {
  platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, runKey.path(), "Tidemark",
                                       "C:\\TIDEMARK\\TIDEMARK.EXE BOOT");
  folder.Write("Tidemark.exe", "MZ");
  Create("");
  std::vector<std::string> messages;
  pages.onMessage = [&](const std::string& caption, const std::string& text) {
    messages.push_back(caption + "|" + text);
  };
  EXPECT_TRUE(IsChecked(pages.startupEntry()));  // as loaded
  Show(ConfigPage::Startup);
  Click(pages.startupEntry());
  Click(pages.startup().apply);
  EXPECT_FALSE(schedule::StartupEntryIsSet(registry));
  Click(pages.startupEntry());
  Click(pages.startup().apply);
  EXPECT_TRUE(schedule::StartupEntryIsSet(registry));
  EXPECT_TRUE(messages.empty());
  Click(pages.startupEntry());
  Click(pages.startup().apply);
  registry.failWrites = ERROR_ACCESS_DENIED;
  Click(pages.startupEntry());
  Click(pages.startup().splash.buttons[1]);
  EXPECT_FALSE(pages.ApplyStartup());
  EXPECT_EQ(messages,
            std::vector<std::string>{
                "Tidemark  -  Message|Error accessing Registry. \r\nFor Windows NT/2000/XP, you need Registry "
                "Privileges for \r\nThis function. \r\nPlease see your System Administrator"});
  EXPECT_TRUE(IsChecked(pages.startupEntry()));  // the box keeps its state
  EXPECT_EQ(Stored("BootOptions", "SplashOpt"), "1");
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

TEST_F(ConfigPagesTest, ThemesSwitchRenamesTheManifestAndAFailedRenameIsReportedAndNotRecorded) {
  std::string manifest = folder.Write("Tidemark.exe.ManifesT", "manifest"), parked = folder / "Tidemark.exe.ManifesX";
  context.themeState = ReadThemeState(files, context.paths.programFile, true);
  Create("");
  Show(ConfigPage::General);
  HWND themes = pages.general().themes, apply = pages.general().apply;
  EXPECT_TRUE(Enabled(themes) && Shown(themes) && IsChecked(themes));
  for (int round = 0; round < 2; ++round) {  // off, then on again; a second Apply renames nothing
    Click(themes);
    EXPECT_TRUE(Enabled(apply));
    Click(apply);
    Click(apply);
    EXPECT_EQ(context.themeState, round ? kThemesOn : kThemesOff);
    EXPECT_EQ(files.ReadFile(round ? manifest : parked), "manifest");
    EXPECT_FALSE(files.FileExists(round ? parked : manifest));
  }
  // Held open without delete sharing, as by another program: it cannot be renamed.
  HANDLE lock = CreateFileA(manifest.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Click(themes);
  SetText(pages.general().repeatsEdit, "6");
  EXPECT_FALSE(pages.ApplyGeneral());
  CloseHandle(lock);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("XP Themes"), std::string::npos);
  EXPECT_EQ(context.themeState, kThemesOn);
  EXPECT_TRUE(IsChecked(themes));  // back to what the next start will use
  EXPECT_EQ(files.ReadFile(manifest), "manifest");
  EXPECT_FALSE(files.FileExists(parked));
  EXPECT_EQ(Stored("ShredOption", "Repeats"), "6");  // the shred settings still went in
}

TEST_F(ConfigPagesTest, WithoutThemesOrPlugMgrTheirControlsAreAbsentAndOtherButtonsCallTheMainWindow) {
  // As on a system that is not NT: the manifest is there but not used.
  folder.Write("Tidemark.exe.ManifesX", "parked");
  context.themeState = kThemesUnavailable;
  Create("");
  const auto& general = pages.general();
  EXPECT_EQ(general.pluginManager, nullptr);  // no PlugMgr.exe
  Show(ConfigPage::General);
  EXPECT_FALSE(Enabled(general.themes) || Shown(general.themes) || IsChecked(general.themes));
  SetText(general.repeatsEdit, "2");
  EXPECT_TRUE(pages.ApplyGeneral());
  EXPECT_EQ(files.ReadFile(context.paths.programFile + ".ManifesX"), "parked");
  EXPECT_FALSE(files.FileExists(context.paths.programFile + ".ManifesT"));
  EXPECT_EQ(context.themeState, kThemesUnavailable);

  folder.Write("PlugMgr.exe", "");
  ConfigurePages withManager;
  withManager.Create(host, RECT{12, 100, 600, 360}, 96, context, [](HWND, const char*) {});
  ASSERT_NE(withManager.general().pluginManager, nullptr);
  std::vector<std::string> calls;
  withManager.onSelectPlugins = [&] { calls.push_back("select"); };
  withManager.onPluginManager = [&] { calls.push_back("manager"); };
  withManager.onSelectFonts = [&] { calls.push_back("fonts"); };
  withManager.Show(static_cast<int>(ConfigPage::General));
  for (HWND button :
       {withManager.general().selectPlugins, withManager.general().pluginManager, withManager.general().selectFonts})
    Click(button);
  EXPECT_EQ(calls, (std::vector<std::string>{"select", "manager", "fonts"}));
}

}  // namespace
}  // namespace tidemark::app
