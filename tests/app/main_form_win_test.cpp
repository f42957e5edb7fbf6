// The main window in-process (under Xvfb) with stand-in or registered purge bodies; the system's windows and registry.
#include "app/main_form_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/application_win.h"
#include "app/browser_activity.h"
#include "app/startup.h"
#include "cookies/no_protection.h"
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

void NotifyClicked(HWND control) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}
void Tick(TFFoxOptionsFrame1& frame, std::initializer_list<engine::PurgeFunctionId> ids) {
  for (auto id : ids) SendMessageA(frame.CheckBox(id), BM_SETCHECK, BST_CHECKED, 0);
}

// The session with ExitWindowsEx stood in for: no test logs off.
class RecordedSession : public platform::Win32Session {
 public:
  bool EndSession(uint32_t flags) override {
    exits.push_back(flags);
    return refuse ? Fail(ERROR_PRIVILEGE_NOT_HELD) : true;
  }
  std::vector<uint32_t> exits;
  bool refuse = false;  // as a system that denies the log-off
};

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

  test::TempFolder folder;
  RecordedSession session;
  AppContext context{Platform{.files = platform::RealFileSystem(),
                              .registry = platform::RealRegistry(),
                              .windows = platform::RealWindowList(),
                              .shell = platform::RealShell(),
                              .session = session}};
  platform::PrivateProfileFile ini{folder / "data\\Tidemark.ini"};
  std::unique_ptr<TFFoxForm> form;
  std::vector<engine::PurgeFunctionId> ran;
};

TEST_F(MainFormTest, CreationLoadsTheOptionSetsFramesSaveTheirOwnAndClosingKeepsWarningChoicesAndTheShownPlace) {
  ini.WriteString("Positions", "FFoxForm", "2");
  ini.WriteString("ShutOptions", "ShutType", "3");  // for a Shutdown run alone
  engine::OptionSet purgeNow;
  purgeNow[TempFolders] = purgeNow[IECookies] = true;
  purgeNow.reports = 1;
  settings::SaveOptionSet(ini, settings::OptionSetId::PurgeNow, purgeNow);
  Create();
  EXPECT_EQ(form->Frame(1).Options(), purgeNow);
  EXPECT_EQ(form->Frame(0).Options(), engine::OptionSet{});
  // Save, Reset and Set All act on their own frame and section.
  TFFoxOptionsFrame1& startup = form->Frame(2);
  NotifyClicked(startup.onButton);
  EXPECT_FALSE(form->Frame(0).Checked(IEStrays));
  NotifyClicked(startup.saveButton);
  std::string saved = platform::RealFileSystem().ReadFile(context.paths.settingsFile).value_or("");
  EXPECT_NE(saved.find("[BootOptions]"), std::string::npos);
  EXPECT_EQ(saved.find("[StndOptions]"), std::string::npos);
  NotifyClicked(startup.offButton);
  EXPECT_FALSE(startup.Checked(Plugins));
  NotifyClicked(startup.resetButton);
  for (const auto& function : engine::PurgeFunctions()) EXPECT_TRUE(startup.Checked(function.id)) << function.caption;
  EXPECT_EQ(platform::RealFileSystem().ReadFile(context.paths.settingsFile), saved);  // Reset and Set All write nothing
  // The debug dump names the boxes it shows of the standard set.
  Tick(form->Frame(0), {ChromiumForms, Plugins});
  form->DiagnosticClick();
  EXPECT_EQ(form->results().lines(),
            (Lines{"CacheOptionCheckBox = False", "PluginsOptionCheckBox = True", "ChromiumCacheOptionCheckBox = False",
                   "ChromiumCookiesOptionCheckBox = False", "ChromiumHistoryOptionCheckBox = False",
                   "ChromiumFormsOptionCheckBox = True", "ChromiumTypedURLsCheckBox = False"}));
  // A save that could not be written says so.
  test::MessageBoxes boxes;
  boxes.Watch();
  context.paths.settingsFile = folder / "missing\\Tidemark.ini";
  NotifyClicked(startup.saveButton);
  EXPECT_EQ(boxes.shown,
            std::vector<std::string>{"Tidemark  -  Error Message|Cannot write the \"Startup Options\" to " +
                                     context.paths.settingsFile});
  context.paths.settingsFile = ini.Path();
  // As after an unattended run that shows nothing, whose purge's warning was told not to come again.
  context.settings.show.ffCookieMsgOpt = cookies::kDontShowAgain;
  form->ExitClick();
  EXPECT_EQ(ini.ReadString("Positions", "FFoxForm", ""), "2");
  EXPECT_EQ(ini.ReadString("ShowOption", "FFcookieMsgOpt", ""), "Y");
  Create();
  ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
  MoveWindow(form->hwnd(), 40, 30, 640, 530, FALSE);
  form->ExitClick();
  EXPECT_EQ(ini.ReadString("Positions", "FFoxForm", ""), "0 30 40 530 640");
  // The next start puts it back there. A function without a body cannot be
  // chosen in any frame.
  PurgeBodies bodies;
  bodies[engine::Index(ChromiumCookies)] = [](engine::PurgeEnvironment&) {};
  CreateWith(bodies);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(std::pair(form->Frame(i).FunctionEnabled(ChromiumCookies), form->Frame(i).FunctionEnabled(ChromiumCache)),
              std::pair(true, false));
  RECT restored;
  GetWindowRect(form->hwnd(), &restored);
  EXPECT_EQ(std::tuple(restored.left, restored.top, restored.right, restored.bottom), std::tuple(40, 30, 680, 560));
  EXPECT_EQ(session.exits, std::vector<uint32_t>{});
}

TEST_F(MainFormTest, PurgeRunsTheVisibleFrameShowsAndCopiesTheResultsAndCancelStopsAfterTheCurrentFunction) {
  test::ClipboardLock clipboard;
  bool cancel = false;
  Create([&](engine::PurgeFunctionId id, engine::PurgeEnvironment&) {
    if (cancel && id == FirefoxCookies) NotifyClicked(form->cancelButton());
  });
  form->PurgeBtnClick();  // nothing ticked: a severe error
  EXPECT_EQ(form->progressLabel().fill(), engine::kColourLime);

  form->SelectOptionTab(3);
  Tick(form->Frame(3), {Clipboard, TempFolders});
  form->PurgeBtnClick();
  EXPECT_EQ(ran, (std::vector<engine::PurgeFunctionId>{TempFolders, Clipboard}));
  EXPECT_EQ(std::tuple(form->CurrentMainTab(), form->progressLabel().fill(), context.purge.purgeRunning),
            std::tuple(MainTab::Results, engine::kColourSilver, false));
  EXPECT_FALSE(IsWindowVisible(form->cancelButton()));
  form->CopyReportToClipboard();
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_TRUE(StartsWith(text, "Results of \"Purge\" function...\r\n"));
  EXPECT_NE(text.find("\r\nvia Tidemark - Version - 4.06 - Build 4.6.0.150 - "), std::string::npos);

  cancel = true;
  ran.clear();
  form->SelectOptionTab(0);
  Tick(form->Frame(0), {FirefoxCache, FirefoxCookies, TempFolders, Plugins});
  form->PreviewBtnClick();
  EXPECT_EQ(ran, (std::vector<engine::PurgeFunctionId>{FirefoxCache, FirefoxCookies}));
}

TEST_F(MainFormTest, BrowserTickMarksARunningFirefoxAndThePurgeSkipsItsFunctions) {
  // On a desktop of its own: no other test sees this Firefox, and no other
  // test's windows are seen here.
  test::OnPrivateDesktop([this] {
    Create();
    Tick(form->Frame(0), {FirefoxCache, FirefoxCookies, FirefoxTypedUrls, FirefoxHistory, FirefoxForms});
    form->BrowserTick();
    EXPECT_FALSE(context.purge.firefoxRunning);
    WNDCLASSA windowClass{0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr)};
    windowClass.lpszClassName = "MozillaWindowClass";
    RegisterClassA(&windowClass);
    HWND firefox = CreateWindowExA(0, windowClass.lpszClassName, "Example Page - Mozilla Firefox", WS_VISIBLE, 0, 0,
                                   300, 200, nullptr, nullptr, nullptr, nullptr);
    form->BrowserTick();
    EXPECT_EQ(std::tuple(context.purge.firefoxRunning, form->StatusText(1), form->StatusColour()),
              std::tuple(true, "  FireFox Browser is active", 0x00FFFFu));
    form->PurgeBtnClick();
    EXPECT_TRUE(ran.empty());
    DestroyWindow(firefox);
    form->BrowserTick();
    EXPECT_FALSE(context.purge.firefoxRunning);
    EXPECT_EQ(form->StatusText(1), "  \"Standard Options\" is current...");
    DestroyWindow(form->hwnd());  // on the thread that made it
    form.reset();
  });
}

TEST_F(MainFormTest, ConfigurePagesShowTheLocatedTempFoldersAndTheirAppliesReachTheNextPurge) {
  test::EnvironmentVariables environment;
  for (const char* name : {"temp\\x", "work\\x"}) folder.Write(name, "");
  environment.Set("tmp", folder / "temp");
  std::string sectionName;
  Create([&](engine::PurgeFunctionId, engine::PurgeEnvironment& c) { sectionName = c.report.SectionName(); });
  const auto& temp = form->configPages().temp();
  EXPECT_EQ(gui::WindowText(temp.labels[0]), UpperCase(folder / "temp"));
  environment.Set("tmp", folder / "work");
  NotifyClicked(temp.apply);
  EXPECT_EQ(gui::WindowText(temp.labels[0]),
            UpperCase(folder / "work") + "  [... not safe to use - Folder name not \"temp\" ...]");

  engine::OptionSet options;
  options[TempFolders] = true, options.secureErase = 1;
  form->Frame(0).SetOptions(options);
  auto& general = form->configPages().general();
  general.shred.SetIndex(2);
  SetWindowTextA(general.repeatsEdit, "3");
  NotifyClicked(general.apply);
  form->PurgeBtnClick();
  EXPECT_EQ(sectionName, "  Processing \"Temp Folders\" with 4 Shred Operations");
}

TEST_F(MainFormTest, AShutdownRunPerformsItsPowerActionAtTheEndAndOneThatFailsEndsWithItsOwnExitCode) {
  platform::SpecialFolder appData = platform::RealShell().GetSpecialFolder(platform::csidl::kAppData);
  std::string dataName = "tmshut" + std::to_string(GetCurrentProcessId()),
              dataFolder = JoinPath(appData.path, dataName);
  ASSERT_TRUE(platform::RealFileSystem().CreateFolders(dataFolder));
  platform::PrivateProfileFile settings(JoinPath(dataFolder, "Tidemark.ini"));
  settings::SaveDisplayOptions(settings, settings::OptionSetId::Shutdown,
                               {settings::SplashOption::Disable, settings::MainWindowOption::Disable});
  settings.WriteString("ShutOptions", "ShutType", "3");
  session.refuse = true;
  test::MessageBoxes boxes;
  boxes.Watch();
  {
    Application application(context.platform, CommandLine::FromFullText("tidemark.exe SHUT MULT data=" + dataName),
                            folder / (dataName + ".exe"));  // an instance mutex of its own
    EXPECT_EQ(application.Run(), kExitPowerActionFailed) << "the purge's level 9 (nothing selected) instead";
  }
  EXPECT_EQ(session.exits, std::vector<uint32_t>{platform::kExitPoweroff});
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(StartsWith(boxes.shown[0], "Tidemark  -  Message|The shutdown function encountered")) << boxes.shown[0];
  EXPECT_TRUE(test::RemoveTree(dataFolder));
}

using platform::RegistryRoot;

TEST(CustomIETitle, AStringUpperCasedElseNothing) {
  test::TempRegistryKey key;
  auto& registry = platform::RealRegistry();
  BrowserActivity state;
  using enum platform::RegistryType;
  for (auto [type, data, title] :
       {std::tuple{String, std::string("My Browser"), "MY BROWSER"}, {Dword, std::string("\7\0\0\0", 4), ""}}) {
    state.customIETitle = "OLD";
    ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, key.path(), "Window Title", {type, data}));
    LoadCustomIETitle(state, registry, key.path());
    EXPECT_EQ(state.customIETitle, title);
  }
}

}  // namespace
}  // namespace tidemark::app
