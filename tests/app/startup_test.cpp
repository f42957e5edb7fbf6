// Start-up switches, paths and flags, and the browser windows seen on a laid-out desktop.
#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/browser_activity.h"
#include "app/purge_bodies.h"
#include "locations/firefox_locations.h"
#include "support/memory_purge.h"

namespace tidemark::app {
namespace {

StartupOptions Read(std::vector<std::string> params) { return ReadStartupOptions(CommandLine(std::move(params))); }

TEST(CommandLine, SplitsLikeTheSystemStartUpCodeAndMatchesWholeParamsIgnoringCase) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\T\\tidemark.exe\"  auto  \"data=My Data\" x\"y z\""),
            (std::vector<std::string>{"C:\\Program Files\\T\\tidemark.exe", "auto", "data=My Data", "xy z"}));
  EXPECT_TRUE(SplitCommandLine("   ").empty());
  CommandLine full = CommandLine::FromFullText("tidemark.exe BOOT Pause=2");
  EXPECT_EQ(full.params(), (std::vector<std::string>{"BOOT", "Pause=2"}));
  CommandLine line({"boot", "DATA=Other", "data=Second", "AUTOMATIC"});
  EXPECT_TRUE(line.ParamPresent("BOOT"));
  EXPECT_FALSE(line.ParamPresent("AUTO"));
  EXPECT_EQ(line.ParamValue("data"), "Other");
  EXPECT_EQ(line.ParamValue("Pause"), "");
}

TEST(StartupOptions, RunModeAndNumbersFromTheSwitches) {
  // Switches: run mode, pause, level threshold, preset error level.
  for (const auto& [params, mode, pause, level, presetError] :
       {std::tuple{std::vector<std::string>{}, RunMode::Stnd, 0, 0, 0},
        {{"BOOT", "AUTO"}, RunMode::Auto, 0, 0, 0},
        {{"shut", "boot"}, RunMode::Boot, 0, 0, 0},
        {{"Shut", "pause=2"}, RunMode::Shut, 2, 0, 0},
        // Only a positive pause is waited.
        {{"Pause=-3"}, RunMode::Stnd, 0, 0, 0},
        {{"Pause=x"}, RunMode::Stnd, 0, 0, 0},
        // Of the LEVELn and ERRORn switches the lowest level present wins.
        {{"LEVEL7", "LEVEL3", "ERROR9", "ERROR5"}, RunMode::Stnd, 0, 3, 5},
        {{"level9", "LEVEL8", "ERROR2"}, RunMode::Stnd, 0, 9, 0}}) {
    StartupOptions o = Read(params);
    EXPECT_EQ(std::tuple(o.mode, o.pauseSeconds, o.levelThreshold, o.driverSwitches.presetErrorLevel),
              std::tuple(mode, pause, level, presetError))
        << testing::PrintToString(params);
  }
  StartupOptions o = Read({"errors", "TOTALS", "Report=C:\\r.txt", "NOVER", "ffdatexe"});
  EXPECT_EQ(std::tuple(o.driverSwitches.errorSummary, o.driverSwitches.totals, o.reportPath, o.noVer, o.ffdatExe),
            std::tuple(true, true, "C:\\r.txt", true, true));
}

TEST(ShowMainAfterRun, DisplayOptionsAndLevelThreshold) {
  // Display option (0 Enable, 1 on any error, 2 on a severe error, 3 Disable), error seen, level, threshold, shown. A
  // "LEVELn" switch shows the window from level n on, even when set to "Disable"; one not reached (the last) still lets
  // the display option decide.
  const std::tuple<int, bool, int, int, bool> cases[] = {
      {0, false, 0, 0, true}, {3, true, 9, 0, false},  {1, false, 0, 0, false}, {1, true, 3, 0, true},
      {2, true, 7, 0, false}, {2, true, 9, 0, true},   {3, true, 3, 5, false},  {3, true, 5, 5, true},
      {3, true, 9, 5, true},  {3, false, 9, 5, false}, {1, true, 3, 9, true}};
  for (auto [option, errorSeen, level, threshold, shown] : cases)
    EXPECT_EQ(ShowMainAfterRun(option, errorSeen, level, threshold), shown)
        << option << " " << errorSeen << " " << level << " " << threshold;
}

TEST(SystemFlags, VersionAndSwitches) {
  // Windows XP (5.1) is no Windows 7 even though its minor version is 1.
  for (auto [version, vista, win7] : {std::tuple{WindowsVersion{2, 5, 1, 2600}, false, false},
                                      {WindowsVersion{2, 6, 0, 6002}, true, false},
                                      {WindowsVersion{2, 6, 1, 7601}, true, true}}) {
    SystemFlags flags = ComputeSystemFlags(version, {});
    EXPECT_EQ(std::pair(flags.tisVista, flags.tisWin7), std::pair(vista, win7)) << version.minor;
  }
  SystemFlags flags = ComputeSystemFlags({2, 5, 1, 2600}, Read({"TISVISTA", "TISWIN7", "IE7"}));
  EXPECT_TRUE(flags.tisVista && flags.tisWin7 && flags.ie7);
}

TEST(ResolvePaths, TheDataFolderByDriveType) {
  using enum platform::DriveType;
  struct Case {
    platform::DriveType drive;
    std::vector<std::string> params;
    const char *program, *appData, *dataFolder;
    const char* listsFolder;  // of the cookie protect list and the plugin list
    bool cdExec, ownDataFolder;
  };
  const Case cases[] = {
      {Fixed, {"data=Other"}, "C:\\Program Files\\tm.exe", "C:\\AD", "C:\\AD\\Other", "C:\\AD\\Other", false, true},
      {Fixed, {"FFdatExe", "CDEXEC"}, "C:\\T\\tidemark.exe", "C:\\AD", "C:\\AD\\Tidemark", "C:\\T", true, true},
      // Without application data there are no data files at all (never bare
      // names, which would land in the current folder, nor names at a drive's root).
      {Fixed, {}, "C:\\T\\tidemark.exe", "", "", "", false, false},
      {Removable, {"data=Other"}, "E:\\Tools\\tidemark.exe", "C:\\AD", "E:\\Tools", "E:\\Tools", false, false},
      {CdRom, {}, "D:\\Bin\\tidemark.exe", "C:\\AD", "D:\\Bin\\Tidemark", "D:\\Bin\\Tidemark", true, false},
  };
  auto in = [](const char* folder, const char* name) { return *folder ? std::string(folder) + "\\" + name : ""; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    test::MemoryFileSystem files;
    files.driveType = c.drive;
    StartupOptions options = Read(c.params);
    AppPaths paths = ResolvePaths(options, c.program, c.appData, files);
    EXPECT_EQ(files.drivesAsked, (std::vector<std::string>{std::string(c.program, 2) + "\\"}));
    EXPECT_EQ(std::tuple(paths.programDrive, paths.dataFolder, paths.cdExec, paths.ownDataFolder),
              std::tuple(c.drive, c.dataFolder, c.cdExec, c.ownDataFolder));
    EXPECT_EQ(std::tuple(paths.settingsFile, paths.ieCookieProtectFile, paths.cookieProtectFile),
              std::tuple(in(c.dataFolder, "Tidemark.ini"), in(c.dataFolder, "IEcookie.dat"),
                         in(c.listsFolder, "Tidemark.Dat")));
    locations::FirefoxLocations firefox;
    locations::LocatePlugins(firefox, files, paths.programFolder, paths.dataFolder, options.ffdatExe);
    EXPECT_EQ(firefox.PluginListFile, in(c.listsFolder, "PLUGINS.DAT"));
  }
}

using platform::TopLevelWindow;
using platform::WindowHandle;
using Lines = std::vector<std::string>;

// One window of a desktop; no class: one that went away while the list was walked.
struct Window {
  const char* className;
  const char* title = "";
  bool visible = true;
  Lines children = {};
};

// A desktop whose windows the test lays out; counts the windows it showed.
class FakeWindowList : public platform::WindowList {
 public:
  FakeWindowList(std::initializer_list<Window> windows) : windows_(windows) {}
  void ForEachTopLevel(const std::function<bool(const TopLevelWindow&)>& visit) override {
    for (size_t i = 0; i < windows_.size(); ++i) {
      const Window& window = windows_[i];
      ++visited;
      if (!visit({i + 1, window.className != nullptr, window.className && window.visible,
                  window.className ? window.className : "IEFrame", window.title}))
        return;
    }
  }
  Lines DescendantTitles(WindowHandle window) override { return windows_[window - 1].children; }

  int visited = 0;

 private:
  std::vector<Window> windows_;
};

TEST(FirefoxActive, AVisibleWindowOfAFirefoxClassBeginningOrEndingWithItsName) {
  const struct {
    Window window;
    bool counts;
  } cases[] = {{{"MozillaWindowClass", "Example Page - Mozilla Firefox"}, true},
               {{"MozillaWindowClass", "Mozilla Firefox Start Page"}, true},
               {{"MozillaWindowClass", "Mozilla Firefo"}, false},
               {{"MozillaWindowClass", "About Mozilla Firefox Help"}, false},
               {{"MozillaWindowClass", "Example Page - Mozilla Firefox", false}, false},
               {{"Notepad", "Example Page - Mozilla Firefox"}, false}};
  for (const auto& c : cases) {
    FakeWindowList windows{c.window};
    EXPECT_EQ(TisFireFoxActive(windows), c.counts) << c.window.className << " " << c.window.title;
  }
  // The walk skips vanished windows and stops at the first match.
  FakeWindowList windows{
      {nullptr}, {"MozillaWindowClass", "A - Mozilla Firefox"}, {"MozillaWindowClass", "B - Mozilla Firefox"}};
  EXPECT_TRUE(TisFireFoxActive(windows));
  EXPECT_EQ(windows.visited, 2);
}

TEST(IEActive, IEFrameAlwaysExplorerWindowsWithAnIETitleMSNWithABrowserChildInKindOrder) {
  const struct {
    const char* customTitle;
    std::initializer_list<Window> windows;
    int32_t kind;
  } cases[] = {
      {"", {{"IEFRAME", "Untitled"}}, kIEVisible},
      {"", {{"CabinetWClass", "News - Microsoft Internet Explorer"}}, kIEVisible},
      {"", {{"cabinetwclass", "news - windows internet explorer"}}, kIEVisible},
      {"", {{"CabinetWClass", "Internet Explorer"}}, kNoIEBrowser},
      {"", {{"CabinetWClass", "Windows Internet Explorer - Help"}}, kNoIEBrowser},
      {"", {{"ExploreWClass", "News - Windows Internet Explorer"}}, kNoIEBrowser},
      {"MY BROWSER", {{"CabinetWClass", "News - My Browser"}}, kIEVisible},
      {"", {{"CabinetWClass", "News - My Browser"}}, kNoIEBrowser},
      {"MY BROWSER", {{"CabinetWClass", "My Browser - News"}}, kNoIEBrowser},
      {"", {{nullptr}, {"MSN6 Window", "MSN", true, {"", "Browser"}}, {"IEFrame", "Start", false}}, kIEHidden},
      {"", {{"IEFrame", "", false}, {"IEFrame"}}, kIEVisible},
      {"", {{"MSN9 Window", "", false, {"browser"}}}, kMSNHidden},
      {"", {{"MSN9 Window", "", false, {"browser"}}, {"msn9 window", "", true, {"Toolbar", "BROWSER"}}}, kMSNVisible},
      {"", {{"MSN6 Window", "Browser", true, {"Browser Bar", " Browser", "Navigator"}}}, kNoIEBrowser},
  };
  for (const auto& c : cases) {
    FakeWindowList windows(c.windows);
    BrowserActivity state{c.customTitle, kMSNHidden};
    EXPECT_EQ(TisIEorMSNactive(state, windows), c.kind != kNoIEBrowser) << c.windows.begin()->title;
    EXPECT_EQ(state.IEBrowserKind, c.kind) << c.windows.begin()->title;
  }
}

TEST(HiddenBrowserListing, ListsEveryHiddenBrowserWithItsTitleAndCounts) {
  BrowserActivity state{"MY BROWSER"};
  FakeWindowList windows{{"CabinetWClass", "News - My Browser", false},
                         {"MozillaWindowClass", "Shown - Mozilla Firefox"},
                         {"MozillaWindowClass", "Hidden Page - Mozilla Firefox", false},
                         {"CabinetWClass", "My Documents", false},
                         {nullptr},
                         {"MSN9 Window", "MSN Explorer", false, {"Browser"}},
                         {"IEFrame", "", false}};
  EXPECT_EQ(ListHiddenBrowserWindows(state, windows),
            (Lines{"Display Hidden Browser Windows ", " ", "Hidden I.E. Window - Title = News - My Browser", " ",
                   "Hidden FireFox Window - Title = Hidden Page - Mozilla Firefox", " ",
                   "HiddenMSN Window - Title = MSN Explorer", " ", "Hidden I.E. Window - Title = ", " ",
                   "   4 - Browser Windows Found"}));
  FakeWindowList one{{"MozillaUIWindowClass", "Mozilla Firefox", false}};
  EXPECT_EQ(ListHiddenBrowserWindows(state, one).back(), "1 - Browser Window Found");
}

TEST(ChromiumActive, TheFirstLocatedBrowserWhoseProgramRunsInAnyCase) {
  test::MemoryPurge p;
  const std::vector<locations::ChromiumBrowser> browsers = {{"Google Chrome", "C:\\G", "C:\\G", "chrome.exe", {}},
                                                            {"Microsoft Edge", "C:\\E", "C:\\E", "msedge.exe", {}},
                                                            {"Chromium", "C:\\C", "C:\\C", "chrome.exe", {}}};
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"explorer.exe", "chrome.exe.bak"}, ""},
      {{"explorer.exe", "MSEDGE.EXE"}, "Microsoft Edge"},
      {{"msedge.exe", "chrome.exe"}, "Google Chrome"},
  };
  for (const auto& [running, name] : cases) {
    p.none.runningPrograms = running;
    const locations::ChromiumBrowser* active = ActiveChromiumBrowser(p.files, p.none, browsers);
    EXPECT_EQ(active ? active->name : "", name) << running.size();
  }
}

TEST(PurgeBodies, AnUnreadableTempProtectListStopsEveryPurgeItGuards) {
  test::MemoryPurge p;
  p.protect.OpenedOK = false;
  p.tempFolders.selected = {{"System Temp", "C:\\TEMP"}};
  p.firefox.FirefoxCacheFolder = "C:\\FF\\Cache";
  p.ie.IEUserDataFound = true;
  p.ie.IEUserDataFolder = "C:\\UserData";
  p.firefox.PluginsFolder = "C:\\Plugins";
  p.files.AddFile("C:\\Plugins\\SWEEP.STD", "Sweep\r\nLEVEL=1\r\nDELFOLD=C:\\Docs\\[*.*]DS\r\n");
  p.chromium = {{"Google Chrome", "C:\\G", "C:\\G", "chrome.exe", {{"C:\\G\\Default", "C:\\G\\Default"}}}};
  const std::vector<std::string> guarded = {"C:\\TEMP\\a.tmp", "C:\\FF\\Cache\\b", "C:\\UserData\\c.xml",
                                            "C:\\Docs\\keep.doc", "C:\\G\\Default\\GPUCache\\data_0"};
  for (const std::string& file : guarded) p.files.AddFile(file, "x");
  const std::string bypassed = "*** Error - Bypassed as existing Temp Protect file could not be opened";
  using enum settings::PurgeFunctionId;
  for (auto id : {TempFolders, FirefoxCache, ChromiumCache, IEUserData, Plugins}) {
    p.r.sink.lines.clear();
    engine::PurgeEnvironment& env = p.Environment();
    env.plugins.selected = {"SWEEP.STD"};
    RegisteredPurgeBodies()[settings::Index(id)](env);
    EXPECT_NE(std::find(p.Lines().begin(), p.Lines().end(), bypassed), p.Lines().end()) << settings::Index(id);
  }
  for (const std::string& file : guarded) EXPECT_TRUE(p.files.FileExists(file)) << file;
  EXPECT_EQ(p.r.report.ErrorLevel(), 7);
}

}  // namespace
}  // namespace tidemark::app
