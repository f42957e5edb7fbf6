// The plugin selection and test windows driven in-process over a scratch plugins folder; modal
// windows and message boxes are answered from a timer, as a user would.
#include "plugins/plugin_windows_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/ini_file.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"
#include "support/when_ready_win.h"

namespace tidemark::plugins {
namespace {

using Lines = std::vector<std::string>;

platform::FileSystem& Files() { return platform::RealFileSystem(); }

// Answers the unsaved-changes question with the button given.
void AnswerWarning(int button, std::string* text) {
  test::WhenReady([button, text] {
    HWND box = FindWindowA("#32770", "Tidemark -  Warning");
    if (!box) return false;
    *text = gui::WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, button, 0);
    return true;
  });
}

// The first column of a list view's rows, each with " +" when ticked.
Lines Rows(HWND list) {
  Lines rows;
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    char text[1024] = {};
    ListView_GetItemText(list, row, 0, text, sizeof text);
    rows.push_back(std::string(text) + (ListView_GetCheckState(list, row) == 1 ? " +" : ""));
  }
  return rows;
}

// The test window's title and output once its run has ended; the window is closed then.
Lines CollectTestWindow(const std::function<void()>& open) {
  Lines output;
  test::WhenReady([&output] {
    HWND window = FindWindowA("TPlugTstForm", nullptr);
    if (!window) return false;
    Lines lines = Rows(FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr));
    if (lines.empty() || (lines.back() != " " && lines.back().find("for this Plugin") == std::string::npos)) return false;
    output = {gui::WindowText(FindWindowExA(window, nullptr, "STATIC", nullptr))};
    output.insert(output.end(), lines.begin(), lines.end());
    PostMessageA(window, WM_CLOSE, 0, 0);
    return true;
  });
  open();
  return output;
}

struct Host : engine::PurgeHost {
  explicit Host(test::PurgeFixture& fixture) : f(fixture) {}
  std::optional<engine::OptionSet> ReadVisibleOptions() override { return std::nullopt; }
  engine::PurgeResources Resources() override { return f.Resources(); }
  void LoadTempProtectList() override { ++loads; }
  void ReleaseTempProtectList() override { ++releases; }
  test::PurgeFixture& f;
  int loads = 0, releases = 0;
};

class PluginWindows : public ::testing::Test {
 protected:
  PluginWindows() {
    gui::InitCommonControls();
    f.firefox.PluginsFolder = f.scratch / "PLUGINS";
    f.firefox.PluginListFile = f.scratch / "PLUGINS.DAT";
    f.scratch.Write("PLUGINS\\b.std", "; lower-case name\r\nDELFILE=" + UpperCase(f.scratch / "VICTIM.TMP") + "\r\n");
    for (const char* file : {"PLUGINS\\A.CUS", "PLUGINS\\C.STD", "PLUGINS\\NOTES.TXT", "VICTIM.TMP"}) f.scratch.Write(file, "x");
  }
  ~PluginWindows() override { test::PendingAction() = nullptr; gui::PumpPendingMessages(); }
  std::unique_ptr<TPlugSelForm> Open() {
    auto opened = std::make_unique<TPlugSelForm>(context);
    opened->Create(nullptr);
    opened->FormActivate();
    return opened;
  }
  Lines Rows() { return plugins::Rows(form->listView()); }
  void Select(int row) {
    ListView_SetItemState(form->listView(), -1, 0, LVIS_SELECTED);
    if (row >= 0) ListView_SetItemState(form->listView(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  static bool Enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }
  void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

  test::PurgeFixture f;
  Host host{f};
  engine::PurgeState purge;
  std::vector<std::string> selected{"C.STD"};
  PluginWindowsContext context{host, purge, selected, f.scratch / "Tidemark.ini", {}, false};
  std::unique_ptr<TPlugSelForm> form;
};

TEST_F(PluginWindows, TicksAreTrackedAndApplyWritesTheCheckedPlugins) {
  form = Open();
  EXPECT_EQ(Rows(), (Lines{"A.CUS", "B.STD", "C.STD +"}));  // plugin files only, in upper case
  for (HWND button : {form->saveButton(), form->testButton(), form->execButton()}) EXPECT_FALSE(Enabled(button));
  ListView_SetCheckState(form->listView(), 0, TRUE);
  ListView_SetCheckState(form->listView(), 0, FALSE);
  EXPECT_TRUE(Enabled(form->saveButton()));  // ticked and unticked again: still a change
  form->FormActivate();                      // the list again from the disk: no change yet
  EXPECT_FALSE(Enabled(form->saveButton()));
  Select(1);
  EXPECT_TRUE(Enabled(form->testButton()) && Enabled(form->execButton()));
  Select(-1);
  EXPECT_FALSE(Enabled(form->testButton()));
  Click(form->allOnButton());
  EXPECT_EQ(Rows(), (Lines{"A.CUS +", "B.STD +", "C.STD +"}));
  ListView_SetCheckState(form->listView(), 0, FALSE);
  Click(form->saveButton());
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "B.STD\r\nC.STD\r\n");
  EXPECT_EQ(selected, (Lines{"B.STD", "C.STD"}));
  EXPECT_FALSE(Enabled(form->saveButton()));
  context.readOnlyMedia = true;
  Click(form->allOffButton());
  EXPECT_EQ(Rows(), (Lines{"A.CUS", "B.STD", "C.STD"}));
  Click(form->saveButton());
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "B.STD\r\nC.STD\r\n");
}

TEST_F(PluginWindows, CloseAsksAboutUnsavedTicks) {
  Files().WriteFile(f.firefox.PluginListFile, "C.STD\r\n");
  form = Open();
  ListView_SetCheckState(form->listView(), 0, TRUE);
  std::string question;
  AnswerWarning(IDNO, &question);
  Click(form->exitButton());
  EXPECT_TRUE(form->closed());
  EXPECT_EQ(question,
            "You have not saved your changes.\r\n\r\nSelect 'Yes' if you wish to save your changes.\r\n\r\n"
            "Select 'No' if you wish to lose your changes.");
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "C.STD\r\n");
  EXPECT_EQ(selected, (Lines{"C.STD"}));
  platform::PrivateProfileFile ini(context.settingsFile);
  EXPECT_NE(ini.ReadString("Positions", "PlugSelForm", ""), "");
  auto again = Open();
  ListView_SetCheckState(again->listView(), 0, TRUE);
  AnswerWarning(IDYES, &question);
  again->SConfigExitBtnClick();
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "A.CUS\r\nC.STD\r\n");
}

TEST_F(PluginWindows, TestNeverDeletesWhateverSecureEraseAndPreviewSayExecuteDoes) {
  purge.flags.secureErase = true;
  purge.previewMode = false;
  form = Open();
  Select(1);
  PostMessageA(form->listView(), WM_KEYUP, VK_DOWN, 0);
  gui::PumpPendingMessages();
  EXPECT_EQ(SendMessageA(form->listBox(), LB_GETCOUNT, 0, 0), 2);  // the plugin's text is shown
  std::string victim = f.scratch / "VICTIM.TMP";
  Lines run = {"* ; LOWER-CASE NAME", "DELFILE=" + UpperCase(victim)};
  EXPECT_EQ(CollectTestWindow([&] { SendMessageA(form->testButton(), BM_CLICK, 0, 0); }),
            (Lines{"Test:   B.STD", run[0], run[1], "       to delete - " + victim,
                   "    1 - Entry processed for this Plugin", " "}));
  EXPECT_TRUE(Files().FileExists(victim));
  EXPECT_EQ(host.loads, 1);
  EXPECT_EQ(host.releases, 1);
  EXPECT_NE(platform::PrivateProfileFile(context.settingsFile).ReadString("Positions", "PlugTstForm", ""), "");

  EXPECT_EQ(CollectTestWindow([&] { form->PlugExecBtnClick(); }),
            (Lines{"Execute:   B.STD", run[0], run[1], "         deleted - " + victim,
                   "    1 - Entry processed for this Plugin"}));
  EXPECT_FALSE(Files().FileExists(victim));
}

}  // namespace
}  // namespace tidemark::plugins
