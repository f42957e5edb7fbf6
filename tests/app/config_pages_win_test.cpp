// The configuration pages on a plain window in-process (under Xvfb), over a scratch settings file.
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

  std::string Loaded() {
    std::string text =
        std::to_string(pages.general().shred.Index()) + " " + gui::WindowText(pages.general().repeatsEdit) + " |";
    for (const auto* display : {&pages.purgeNow(), &pages.startup(), &pages.shutdown()})
      text += " " + std::to_string(display->splash.Index()) + std::to_string(display->mainWindow.Index());
    text += " | " + std::to_string(pages.shutdownOptions().Index()) + " | ";
    for (HWND check : pages.temp().checks) text += IsChecked(check) ? "1" : "0";
    return text + (IsChecked(pages.temp().ageCheck) ? " 1 " : " 0 ") + gui::WindowText(pages.temp().ageHoursEdit);
  }
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

TEST_F(ConfigPagesTest, LoadTheStoredValuesOrTheDefaultsAndEachApplyWritesOnlyItsOwnKeysAndUpdatesTheSettings) {
  context.options.mode = RunMode::Shut;
  Create(kFullFile);
  const ConfigurePages& p = pages;
  // Shred kind and passes | splash and main window of Purge Now, Startup, Shutdown | power action | temp folders
  // (System, Windows "DosDir", Old, BootDisk "VolDir") and the age filter. Loading writes nothing and is no change.
  EXPECT_EQ(Loaded(), "1 7 | 02 13 11 | 4 | 0101 0 12");
  EXPECT_EQ(files.ReadFile(context.paths.settingsFile), kFullFile);
  EXPECT_FALSE(Enabled(p.general().apply));
  const auto& checks = p.temp().checks;
  const struct {
    ConfigPage page;
    std::vector<HWND> clicks;
    HWND apply;
  } applies[] = {
      {ConfigPage::General, {p.general().shred.buttons[2]}, p.general().apply},
      {ConfigPage::Shutdown,
       {p.shutdown().splash.buttons[0], p.shutdown().mainWindow.buttons[2], p.shutdownOptions().buttons[5]},
       p.shutdown().apply},
      // Another run's display options are not this run's.
      {ConfigPage::PurgeNow, {p.purgeNow().splash.buttons[1], p.purgeNow().mainWindow.buttons[3]}, p.purgeNow().apply},
      {ConfigPage::Startup, {p.startup().splash.buttons[0], p.startup().mainWindow.buttons[1]}, p.startup().apply},
      {ConfigPage::TempFolders, {checks[0], checks[1], checks[2], checks[3], p.temp().ageCheck}, p.temp().apply},
  };
  // The apply (index above) that writes each key.
  const std::tuple<size_t, const char*, const char*, const char*> written[] = {
      {0, "ShredOption", "Thoroughness", "2"}, {0, "ShredOption", "Repeats", "1"},
      {1, "ShutOptions", "SplashOpt", "0"},    {1, "ShutOptions", "MainWinOpt", "2"},
      {1, "ShutOptions", "ShutType", "5"},     {2, "PnowOptions", "SplashOpt", "1"},
      {2, "PnowOptions", "MainWinOpt", "3"},   {3, "BootOptions", "SplashOpt", "0"},
      {3, "BootOptions", "MainWinOpt", "1"},   {4, "TempFolders", "TmpDir", "1"},
      {4, "TempFolders", "DosDir", "0"},       {4, "TempFolders", "WinDir", "1"},
      {4, "TempFolders", "VolDir", "0"},       {4, "TempFolders", "AgeTemp", "1"},
      {4, "TempFolders", "AgeHours", "36"},
  };
  // An emptied count is the least one, and shown so.
  SetWindowTextA(p.temp().ageHoursEdit, "36");
  SetWindowTextA(p.general().repeatsEdit, "");
  for (size_t i = 0; i < std::size(applies); ++i) {
    SCOPED_TRACE(static_cast<int>(applies[i].page));
    Show(applies[i].page);
    for (HWND control : applies[i].clicks) Click(control);
    EXPECT_TRUE(Enabled(applies[i].apply));  // General's waits for a change
    Click(applies[i].apply);
    for (const auto& [apply, section, key, value] : written)
      EXPECT_EQ(Stored(section, key) == value, apply <= i) << key;
  }
  EXPECT_EQ(gui::WindowText(p.general().repeatsEdit), "1");
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(tempFoldersApplied, 1);
  const settings::DisplayOptions shown{settings::SplashOption::Enable, settings::MainWindowOption::EnableOnSevereError};
  EXPECT_EQ(std::tuple(context.settings.shutType, context.settings.runModeDisplay, context.settings.temp.oldTemp,
                       context.settings.temp.ageHours),
            std::tuple(settings::ShutType::Hibernate, shown, true, 36));
}

TEST_F(ConfigPagesTest, StartupEntryAndDesktopLinksAreWrittenAndEachFailedWriteIsTold) {
  platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, runKey.path(), "Tidemark",
                                       "C:\\TIDEMARK\\TIDEMARK.EXE BOOT");
  folder.Write("Tidemark.exe", "MZ");
  test::TempFolder desktop;
  Create("");
  std::vector<std::string> messages;
  pages.onMessage = [&](const std::string& caption, const std::string& text) {
    messages.push_back(caption + "|" + text);
  };
  Show(ConfigPage::General);
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

  EXPECT_TRUE(IsChecked(pages.startupEntry()));  // as loaded
  Show(ConfigPage::Startup);
  for (bool set : {false, true, false}) {
    Click(pages.startupEntry());
    Click(pages.startup().apply);
    EXPECT_EQ(schedule::StartupEntryIsSet(registry), set);
  }
  EXPECT_TRUE(messages.empty());
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

  failures.clear();
  context.paths.settingsFile = folder / "missing\\Tidemark.ini";
  for (auto apply : {&ConfigurePages::ApplyPurgeNow, &ConfigurePages::ApplyStartup, &ConfigurePages::ApplyShutdown,
                     &ConfigurePages::ApplyTempFolders, &ConfigurePages::ApplyGeneral})
    EXPECT_FALSE((pages.*apply)());
  ASSERT_EQ(failures.size(), 5u);
  for (const std::string& text : failures) EXPECT_NE(text.find(context.paths.settingsFile), std::string::npos) << text;
  EXPECT_FALSE(files.FolderExists(folder / "missing"));
}

TEST_F(ConfigPagesTest, ThemesSwitchRenamesTheManifestAndAFailedRenameIsReportedAndNotRecorded) {
  std::string manifest = folder.Write("Tidemark.exe.ManifesT", "manifest"), parked = folder / "Tidemark.exe.ManifesX";
  context.themeState = ReadThemeState(files, context.paths.programFile, true);
  Create("");
  Show(ConfigPage::General);
  HWND themes = pages.general().themes, apply = pages.general().apply;
  EXPECT_TRUE(Enabled(themes) && Shown(themes) && IsChecked(themes));
  EXPECT_EQ(pages.general().pluginManager, nullptr);
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
  SetWindowTextA(pages.general().repeatsEdit, "6");
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

}  // namespace
}  // namespace tidemark::app
