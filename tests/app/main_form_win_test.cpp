// The main window driven in-process (under Xvfb): option frames and the
// settings file, purges with stand-in bodies, navigation, the browser tick,
// the plugin selection and the registered bodies.
#include "app/main_form_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/labels.h"
#include "engine/purge_environment.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/session_win.h"
#include "platform/text.h"
#include "settings/option_sets.h"
#include "support/private_desktop_win.h"
#include "support/sandbox_win.h"
#include "support/when_ready_win.h"

namespace tidemark::app {
namespace {

using enum engine::PurgeFunctionId;
using Lines = std::vector<std::string>;

void Click(HWND control) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}
void Tick(TFFoxOptionsFrame1& frame, std::initializer_list<engine::PurgeFunctionId> ids) {
  for (auto id : ids) SendMessageA(frame.CheckBox(id), BM_SETCHECK, BST_CHECKED, 0);
}

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    gui::InitCommonControls();
    context.paths.programFile = folder / "tidemark.exe";
    context.paths.programFolder = folder.path();
    context.paths.dataFolder = folder / "data";
    context.paths.settingsFile = ini.Path();
    platform::RealFileSystem().CreateFolders(context.paths.dataFolder);
  }
  ~MainFormTest() override {
    test::PendingAction() = nullptr;
    if (form && form->hwnd()) DestroyWindow(form->hwnd());
    form.reset();
    gui::PumpPendingMessages();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // left by the window's end
  }

  // Every function gets a stand-in body that writes one item line.
  void Create(std::function<void(engine::PurgeFunctionId, engine::PurgeEnvironment&)> onBody = nullptr) {
    PurgeBodies bodies;
    for (const auto& function : engine::PurgeFunctions())
      bodies[engine::Index(function.id)] = [this, onBody, id = function.id](engine::PurgeEnvironment& c) {
        c.report.Line(std::string(engine::kDeleted) + std::string(engine::PurgeFunctions()[engine::Index(id)].caption));
        ran.push_back(id);
        if (onBody) onBody(id, c);
      };
    CreateWith(bodies);
  }
  void CreateWith(const PurgeBodies& bodies) {
    form = std::make_unique<TFFoxForm>(context, bodies);
    form->Create(nullptr);
  }
  bool HasLine(const std::string& line) {
    return std::ranges::find(form->results().lines(), line) != form->results().lines().end();
  }

  test::TempFolder folder;
  Platform system{platform::RealFileSystem(), platform::RealRegistry(), platform::RealWindowList(),
                  platform::RealShell()};
  AppContext context{system};
  platform::PrivateProfileFile ini{folder / "data\\Tidemark.ini"};
  std::unique_ptr<TFFoxForm> form;
  std::vector<engine::PurgeFunctionId> ran;
};

TEST_F(MainFormTest, CreationLoadsTheFourOptionSetsAndEachFrameSavesAndResetsItsOwn) {
  engine::OptionSet purgeNow;
  purgeNow[TempFolders] = purgeNow[IECookies] = true;
  purgeNow.reports = 1;
  settings::SaveOptionSet(ini, settings::OptionSetId::PurgeNow, purgeNow);
  Create();
  EXPECT_EQ(form->Frame(1).Options(), purgeNow);
  EXPECT_EQ(form->Frame(0).Options(), engine::OptionSet{});
  EXPECT_EQ(form->OptionTabIndex(), 0);
  EXPECT_EQ(form->StatusText(1), "  \"Standard Options\" is current...");
  // Save, Reset and Set All act on their own frame and section.
  TFFoxOptionsFrame1& startup = form->Frame(2);
  Click(startup.onButton);
  EXPECT_EQ(SendMessageA(startup.CheckBox(IEStrays), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(form->Frame(0).Checked(IEStrays));
  Click(startup.saveButton);
  std::string saved = platform::RealFileSystem().ReadFile(context.paths.settingsFile).value_or("");
  EXPECT_NE(saved.find("[BootOptions]"), std::string::npos);
  EXPECT_EQ(saved.find("[StndOptions]"), std::string::npos);
  Click(startup.offButton);
  EXPECT_FALSE(startup.Checked(Plugins));
  Click(startup.resetButton);
  for (const auto& function : engine::PurgeFunctions()) EXPECT_TRUE(startup.Checked(function.id)) << function.caption;
  EXPECT_EQ(platform::RealFileSystem().ReadFile(context.paths.settingsFile), saved);  // Reset and Set All write nothing
}

TEST_F(MainFormTest, PurgeRunsTheVisibleFrameShowsAndCopiesTheResultsAndCancelStopsAfterTheCurrentFunction) {
  test::ClipboardLock clipboard;
  bool cancel = false;
  Create([&](engine::PurgeFunctionId id, engine::PurgeEnvironment&) {
    if (cancel && id == FirefoxCookies) Click(form->cancelButton());
  });
  form->PurgeBtnClick();
  EXPECT_EQ(form->report().ErrorLevel(), 9);
  EXPECT_EQ(form->progressLabel().fill(), engine::kColourLime);
  EXPECT_EQ(form->progressLabel().text(), " Errors in Purge function  -  Use the TAB key to locate the Error... ");

  form->SelectOptionTab(3);
  Tick(form->Frame(3), {Clipboard, TempFolders});
  form->PurgeBtnClick();
  EXPECT_EQ(ran, (std::vector<engine::PurgeFunctionId>{TempFolders, Clipboard}));
  const auto& lines = form->results().lines();
  EXPECT_EQ(lines.front(), "Results of \"Purge\" function...");
  EXPECT_EQ(lines.back(), "  Purge Functions Completed.");
  EXPECT_EQ(form->CurrentMainTab(), MainTab::Results);
  EXPECT_EQ(form->progressLabel().fill(), engine::kColourSilver);
  EXPECT_FALSE(context.purge.purgeRunning);
  EXPECT_FALSE(IsWindowVisible(form->cancelButton()));
  form->CopyReportToClipboard();
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_TRUE(StartsWith(text, "Results of \"Purge\" function...\r\n"));
  EXPECT_NE(text.find("\r\nvia Tidemark - Version - 4.06 - Build 4.6.0.150 - "), std::string::npos);
  EXPECT_NE(text.find("\r\n  Params = "), std::string::npos);

  cancel = true;
  ran.clear();
  form->SelectOptionTab(0);
  Tick(form->Frame(0), {FirefoxCache, FirefoxCookies, TempFolders, Plugins});
  form->PreviewBtnClick();
  EXPECT_EQ(ran, (std::vector<engine::PurgeFunctionId>{FirefoxCache, FirefoxCookies}));
  EXPECT_EQ(form->results().lines().back(), "  Purge Functions Cancelled by Operator.");
}

TEST_F(MainFormTest, HelpMenuAndF1OpenTheHelpFileBesideTheProgram) {
  ASSERT_TRUE(platform::RealFileSystem().CopyFileTo(TIDEMARK_HELP_FILE, folder / "Tidemark.chm", true));
  // The menu and F1, each from a fresh window whose viewer has shown nothing yet.
  const std::function<void()> ways[] = {
      [this] {
        HMENU help = GetSubMenu(GetMenu(form->hwnd()), 2);
        SendMessageA(form->hwnd(), WM_COMMAND, GetMenuItemID(help, 0), 0);
      },
      [this] {
        MSG f1{form->purgeButton(), WM_KEYDOWN, VK_F1, 0};
        EXPECT_TRUE(form->PreTranslate(f1));
      },
  };
  for (const auto& way : ways) {
    Create();
    ASSERT_EQ(form->helpViewer().window(), nullptr);
    way();
    HWND viewer = form->helpViewer().window();
    EXPECT_TRUE(IsWindow(viewer) && IsWindowVisible(viewer));
    DestroyWindow(form->hwnd());
    form.reset();
  }
}

TEST_F(MainFormTest, TabWalksTheErrorLinesAndCtrlTabTheMainTabs) {
  Create([](engine::PurgeFunctionId, engine::PurgeEnvironment& c) {
    c.report.Line(std::string(engine::kLocked) + "C:\\in-use.dat");
  });
  Tick(form->Frame(0), {TempFolders, RecentLinks});
  form->PurgeBtnClick();
  const auto& lines = form->results().lines();
  std::vector<size_t> errors;
  for (size_t i = 0; i < lines.size(); ++i)
    if (engine::IsErrorLine(lines[i])) errors.push_back(i);
  ASSERT_EQ(errors.size(), 2u);
  MSG tab{form->results().hwnd(), WM_KEYDOWN, VK_TAB, 0};
  for (size_t expected : {errors[0], errors[1], lines.size() - 1, errors[0]}) {
    EXPECT_TRUE(form->PreTranslate(tab));
    EXPECT_EQ(form->results().current(), expected);
  }
}

TEST_F(MainFormTest, BrowserTickMarksARunningFirefoxAndThePurgeSkipsItsFunctions) {
  // On a desktop of its own: no other test sees this Firefox, and no other
  // test's windows are seen here.
  test::OnPrivateDesktop([this] {
    Create();
    Tick(form->Frame(0), {FirefoxCache, FirefoxCookies, FirefoxTypedUrls, FirefoxHistory, FirefoxForms});
    form->BrowserTick();
    EXPECT_FALSE(context.purge.firefoxRunning);
    EXPECT_EQ(form->HintOf(form->purgeButton()), "Process Delete function for selected Purge Options");
    WNDCLASSA windowClass{0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr)};
    windowClass.lpszClassName = "MozillaWindowClass";
    RegisterClassA(&windowClass);
    HWND firefox =
        CreateWindowExA(0, "MozillaWindowClass", "Example Page - Mozilla Firefox", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                        0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    form->BrowserTick();
    EXPECT_TRUE(context.purge.firefoxRunning);
    EXPECT_EQ(form->StatusText(1), "  FireFox Browser is active");
    EXPECT_EQ(form->StatusColour(), 0x00FFFFu);
    EXPECT_EQ(form->HintOf(form->purgeButton()),
              "CAUTION - As FireFox is Executing, some Purge Options may not succeed.");
    form->PurgeBtnClick();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(form->results().lines().front(), "-Caution- Some functions may not complete as a Browser was executing.");
    EXPECT_TRUE(HasLine(" -Error- not Processed as FireFox browser is active."));
    DestroyWindow(firefox);
    form->BrowserTick();
    EXPECT_FALSE(context.purge.firefoxRunning);
    EXPECT_EQ(form->StatusText(1), "  \"Standard Options\" is current...");
    DestroyWindow(form->hwnd());  // on the thread that made it
    form.reset();
  });
}

TEST_F(MainFormTest, TempFolderPageAndFolderListShowTheLocatedFoldersAndApplyLocatesThemAgain) {
  test::EnvironmentVariables environment;
  for (const char* name : {"temp\\x", "work\\x"}) folder.Write(name, "");
  environment.Set("tmp", folder / "temp");
  Create();
  const auto& temp = form->configPages().temp();
  EXPECT_EQ(gui::WindowText(temp.labels[0]), UpperCase(folder / "temp"));
  form->DisplayFoldersAndFiles();
  EXPECT_EQ(form->results().lines().front(), "Following are the Files and Folders:");
  EXPECT_EQ(form->CurrentMainTab(), MainTab::Results);
  EXPECT_TRUE(HasLine(" Tidemark Data Path - " + context.paths.dataFolder));
  EXPECT_TRUE(HasLine("        System Temp:  " + UpperCase(folder / "temp")));
  environment.Set("tmp", folder / "work");
  Click(temp.apply);
  EXPECT_EQ(gui::WindowText(temp.labels[0]),
            UpperCase(folder / "work") + "  [... not safe to use - Folder name not \"temp\" ...]");
}

TEST_F(MainFormTest, ClosingSavesThePositionOfAShownWindowOnly) {
  ini.WriteString("Positions", "FFoxForm", "2");
  Create();
  form->ExitClick();  // as after an unattended run that shows nothing
  EXPECT_EQ(ini.ReadString("Positions", "FFoxForm", ""), "2");
  Create();
  ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
  MoveWindow(form->hwnd(), 40, 30, 640, 470, FALSE);
  form->ExitClick();
  EXPECT_EQ(ini.ReadString("Positions", "FFoxForm", ""), "0 30 40 470 640");
  EXPECT_EQ(ini.ReadString("Fonts", "Main0Name", ""), "Courier New");
}

TEST_F(MainFormTest, TheNextPurgeUsesTheAppliedShredSettings) {
  std::string sectionName;
  Create([&](engine::PurgeFunctionId, engine::PurgeEnvironment& c) { sectionName = c.report.SectionName(); });
  engine::OptionSet options;
  options[TempFolders] = true, options.secureErase = 1;
  form->Frame(0).SetOptions(options);
  form->PurgeBtnClick();
  EXPECT_EQ(sectionName, "  Processing \"Temp Folders\" with Quick Shred");
  form->SelectMainTab(MainTab::Configure);
  form->SelectConfigTab(static_cast<int>(ConfigPage::General));
  auto& general = form->configPages().general();
  general.shred.SetIndex(2);
  SetWindowTextA(general.repeatsEdit, "3");
  Click(general.apply);
  form->PurgeBtnClick();
  EXPECT_EQ(sectionName, "  Processing \"Temp Folders\" with 4 Shred Operations");
}

TEST_F(MainFormTest, PluginSelectionIsLoadedReplacedAndRun) {
  std::string victim = folder.Write("VICTIM.TMP", "x");
  for (auto [file, text] :
       {std::pair{"PLUGINS\\A.STD", "DELFILE=" + victim}, {"PLUGINS\\B.STD", "B"}, {"data\\PLUGINS.DAT", "A.STD"}})
    folder.Write(file, text + "\r\n");
  CreateWith(RegisteredPurgeBodies());
  EXPECT_EQ(form->SelectedPlugins(), (Lines{"A.STD"}));
  test::WhenReady([] {
    HWND window = FindWindowA("TPlugSelForm", nullptr);
    if (!window) return false;
    ListView_SetCheckState(FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr), 1, TRUE);
    SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "Apply Changes"), BM_CLICK, 0, 0);
    SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "Close"), BM_CLICK, 0, 0);
    return true;
  });
  form->SelectPluginsClick();
  EXPECT_EQ(form->SelectedPlugins(), (Lines{"A.STD", "B.STD"}));
  EXPECT_EQ(platform::RealFileSystem().ReadFile(folder / "data\\PLUGINS.DAT"), "A.STD\r\nB.STD\r\n");
  EXPECT_TRUE(IsWindowEnabled(form->hwnd()));

  Tick(form->Frame(0), {Plugins});
  form->PurgeBtnClick();
  for (const std::string& line :
       Lines{"Process Plugin - A.STD", "         deleted - " + victim, "Process Plugin - B.STD"})
    EXPECT_TRUE(HasLine(line)) << line;
  EXPECT_FALSE(platform::RealFileSystem().FileExists(victim));
}

// The session with ExitWindowsEx stood in for: no test logs off.
class RecordedSession : public platform::Win32Session {
 public:
  bool EndSession(uint32_t flags) override { return exits.push_back(flags), true; }
  std::vector<uint32_t> exits;
};

TEST_F(MainFormTest, ClosingAfterAShutdownRunPerformsThePowerAction) {
  for (RunMode mode : {RunMode::Shut, RunMode::Stnd, RunMode::Auto}) {
    SCOPED_TRACE(RunModeName(mode));
    RecordedSession session;
    Platform recorded{system.files,     system.registry,  system.windows, system.shell,
                      system.clipboard, system.processes, session};
    AppContext shutdown{recorded};
    shutdown.paths = context.paths;
    shutdown.options.mode = mode;
    test::TempFolder data;
    shutdown.paths.settingsFile = data.Write("Tidemark.ini", "[ShutOptions]\r\nShutType=3\r\n");
    TFFoxForm window(shutdown, {});
    window.Create(nullptr);
    window.Close();
    EXPECT_EQ(session.exits,
              mode == RunMode::Shut ? std::vector<uint32_t>{platform::kExitPoweroff} : std::vector<uint32_t>{});
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
}

TEST_F(MainFormTest, QuickStartAppearsOnceAfterAnInteractiveStartUnlessSwitchedOff) {
  folder.Write("Tmrkqst.rtf", "{\\rtf1 Quick start\\par}");
  for (const char* option : {"S", "N"}) {
    SCOPED_TRACE(option);
    platform::PrivateProfileFile ini(context.paths.settingsFile);
    ini.WriteString("ShowOption", "QuickStartOpt", option);
    Create();
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2000 && !form->quickStart()) {
      gui::PumpPendingMessages();
      Sleep(20);
    }
    bool shown = form->quickStart() && IsWindowVisible(form->quickStart()->hwnd());
    EXPECT_EQ(shown, std::string(option) == "S");
    form->Close();
    form.reset();
  }
}

}  // namespace
}  // namespace tidemark::app
