// The plugin selection and test windows driven in-process (under Xvfb) over
// a scratch plugins folder; modal windows and message boxes are answered
// from a timer, as a user would.
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

// Reads the test window's title and output once its run has ended, then closes it.
void CollectTestWindow(std::string* title, Lines* output) {
  test::WhenReady([title, output] {
    HWND window = FindWindowA("TPlugTstForm", nullptr);
    if (!window) return false;
    HWND list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    Lines lines;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
      char text[1024] = {};
      ListView_GetItemText(list, row, 0, text, sizeof text);
      lines.push_back(text);
    }
    bool ended = !lines.empty() && (lines.back() == " " || lines.back().find("for this Plugin") != std::string::npos);
    if (!ended) return false;
    *title = gui::WindowText(FindWindowExA(window, nullptr, "STATIC", nullptr));
    *output = lines;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return true;
  });
}

class Host : public engine::PurgeHost {
 public:
  explicit Host(test::PurgeFixture& f) : f_(f) {}
  std::optional<engine::OptionSet> ReadVisibleOptions() override { return std::nullopt; }
  engine::PurgeResources Resources() override { return f_.Resources(); }
  void LoadTempProtectList() override { ++loads; }
  void ReleaseTempProtectList() override { ++releases; }
  int loads = 0, releases = 0;

 private:
  test::PurgeFixture& f_;
};

class PluginWindows : public ::testing::Test {
 protected:
  PluginWindows() {
    gui::InitCommonControls();
    f.firefox.PluginsFolder = f.scratch / "PLUGINS";
    f.firefox.PluginListFile = f.scratch / "PLUGINS.DAT";
    f.scratch.Write("PLUGINS\\b.std", "; lower-case name\r\nDELFILE=" + UpperCase(f.scratch / "VICTIM.TMP") + "\r\n");
    f.scratch.Write("PLUGINS\\A.CUS", "A\r\n");
    f.scratch.Write("PLUGINS\\C.STD", "C\r\n");
    f.scratch.Write("PLUGINS\\NOTES.TXT", "not a plugin");
    f.scratch.Write("VICTIM.TMP", "x");
    selected = {"C.STD"};
  }
  ~PluginWindows() override {
    test::PendingAction() = nullptr;
    gui::PumpPendingMessages();
  }

  void Open() {
    form = std::make_unique<TPlugSelForm>(context);
    form->Create(nullptr);
    form->FormActivate();
  }
  Lines Rows() {
    Lines rows;
    for (int row = 0; row < ListView_GetItemCount(form->listView()); ++row) {
      char text[MAX_PATH] = {};
      ListView_GetItemText(form->listView(), row, 0, text, sizeof text);
      rows.push_back(std::string(text) + (ListView_GetCheckState(form->listView(), row) ? " +" : ""));
    }
    return rows;
  }
  void Select(int row) {
    ListView_SetItemState(form->listView(), -1, 0, LVIS_SELECTED);
    if (row >= 0) ListView_SetItemState(form->listView(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  Lines Shown() {
    Lines lines;
    int count = static_cast<int>(SendMessageA(form->listBox(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[1024] = {};
      SendMessageA(form->listBox(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      lines.push_back(text);
    }
    return lines;
  }
  bool Enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }

  test::PurgeFixture f;
  Host host{f};
  engine::PurgeState purge;
  std::vector<std::string> selected;
  PluginWindowsContext context{host, purge, selected, f.scratch / "Tidemark.ini", {}, false};
  std::unique_ptr<TPlugSelForm> form;
};

TEST_F(PluginWindows, TheListShowsThePluginFilesInUpperCase) {
  Open();
  EXPECT_EQ(gui::WindowText(form->hwnd()), "Tidemark - Select Plugins for Plugin Option");
  EXPECT_EQ(Rows(), (Lines{"A.CUS", "B.STD", "C.STD +"}));
  EXPECT_EQ(gui::WindowText(form->label1()), "Select Plugins from the list below:");
  EXPECT_EQ(gui::WindowText(form->label2()), "Contents of Selected Plugin:");
  const std::pair<HWND, const char*> buttons[] = {
      {form->saveButton(), "Apply Changes"}, {form->exitButton(), "Close"},
      {form->allOnButton(), "Set All Checkmarks 'On'"}, {form->allOffButton(), "Set All Checkmarks 'Off'"},
      {form->testButton(), "Test Plugin"}, {form->execButton(), "Execute Plugin"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(gui::WindowText(button), caption);
  EXPECT_EQ(form->HintOf(form->execButton()), "Execute Selected Plugin - with actual deletes\r\nUses current setting for Secure Erase");
  EXPECT_EQ(form->HintOf(form->exitButton()), "Return to the Config Window");
  for (HWND button : {form->saveButton(), form->testButton(), form->execButton()}) EXPECT_FALSE(Enabled(button));
  EXPECT_TRUE(Enabled(form->exitButton()));

  // The splitter moves the border between the list and the text; the text's label follows.
  auto left = [&](HWND control) {
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, form->hwnd(), reinterpret_cast<POINT*>(&area), 2);
    return area.left;
  };
  LONG before = left(form->listBox());
  form->Splitter1Moved(before + 40);
  EXPECT_GT(left(form->listBox()), before);
  EXPECT_EQ(left(form->label2()), left(form->listBox()));
  EXPECT_LT(left(form->splitter()), left(form->listBox()));
  EXPECT_GT(left(form->splitter()), left(form->listView()));
}

TEST_F(PluginWindows, TickingTracksChangesAndSelectingEnablesTheRuns) {
  Open();
  ListView_SetCheckState(form->listView(), 0, TRUE);
  EXPECT_TRUE(Enabled(form->saveButton()));
  ListView_SetCheckState(form->listView(), 0, FALSE);
  EXPECT_TRUE(Enabled(form->saveButton()));  // ticked and unticked again: still a change

  form->FormActivate();  // the list again from the disk: no change yet
  EXPECT_FALSE(Enabled(form->saveButton()));
  Select(1);
  EXPECT_FALSE(Enabled(form->saveButton()));
  EXPECT_TRUE(Enabled(form->testButton()));
  EXPECT_TRUE(Enabled(form->execButton()));
  Select(-1);
  EXPECT_FALSE(Enabled(form->testButton()));

  SendMessageA(form->allOnButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(), (Lines{"A.CUS +", "B.STD +", "C.STD +"}));
  EXPECT_TRUE(Enabled(form->saveButton()));
  SendMessageA(form->allOffButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(), (Lines{"A.CUS", "B.STD", "C.STD"}));
}

TEST_F(PluginWindows, ApplyWritesTheCheckedPlugins) {
  Open();
  ListView_SetCheckState(form->listView(), 1, TRUE);
  SendMessageA(form->saveButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "B.STD\r\nC.STD\r\n");
  EXPECT_EQ(selected, (Lines{"B.STD", "C.STD"}));
  EXPECT_FALSE(Enabled(form->saveButton()));

  context.readOnlyMedia = true;
  ListView_SetCheckState(form->listView(), 2, FALSE);
  SendMessageA(form->saveButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "B.STD\r\nC.STD\r\n");
}

TEST_F(PluginWindows, CloseAsksAboutUnsavedTicks) {
  Files().WriteFile(f.firefox.PluginListFile, "C.STD\r\n");
  Open();
  ListView_SetCheckState(form->listView(), 0, TRUE);
  std::string question;
  AnswerWarning(IDNO, &question);
  SendMessageA(form->exitButton(), BM_CLICK, 0, 0);
  EXPECT_TRUE(form->closed());
  EXPECT_EQ(question,
            "You have not saved your changes.\r\n\r\nSelect 'Yes' if you wish to save your changes.\r\n\r\n"
            "Select 'No' if you wish to lose your changes.");
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "C.STD\r\n");
  EXPECT_EQ(selected, (Lines{"C.STD"}));
  platform::PrivateProfileFile ini(context.settingsFile);
  EXPECT_NE(ini.ReadString("Positions", "PlugSelForm", ""), "");

  TPlugSelForm again(context);
  again.Create(nullptr);
  again.FormActivate();
  ListView_SetCheckState(again.listView(), 0, TRUE);
  AnswerWarning(IDYES, &question);
  again.SConfigExitBtnClick();
  EXPECT_EQ(Files().ReadFile(f.firefox.PluginListFile), "A.CUS\r\nC.STD\r\n");
}

TEST_F(PluginWindows, APluginsTextIsShownUntilAnotherIsChosen) {
  Open();
  Select(0);
  form->ListView1MouseUp();
  EXPECT_EQ(Shown(), (Lines{"A"}));
  EXPECT_GT(SendMessageA(form->listBox(), LB_GETHORIZONTALEXTENT, 0, 0), 0);
  f.scratch.Write("PLUGINS\\A.CUS", "edited\r\n");
  Select(0);
  form->ListView1KeyUp();
  EXPECT_EQ(Shown(), (Lines{"A"}));  // the same plugin: not read again
  Select(2);
  PostMessageA(form->listView(), WM_KEYUP, VK_DOWN, 0);
  gui::PumpPendingMessages();
  EXPECT_EQ(Shown(), (Lines{"C"}));
  Select(0);
  form->ListView1MouseUp();
  EXPECT_EQ(Shown(), (Lines{"edited"}));
  Select(-1);
  form->ListView1MouseUp();
  EXPECT_EQ(Shown(), Lines{});
}

TEST_F(PluginWindows, TestNeverDeletesWhateverSecureEraseAndPreviewSay) {
  purge.flags.secureErase = true;
  purge.previewMode = false;
  Open();
  Select(1);
  form->ListView1MouseUp();
  std::string title;
  Lines output;
  CollectTestWindow(&title, &output);
  SendMessageA(form->testButton(), BM_CLICK, 0, 0);
  std::string victim = f.scratch / "VICTIM.TMP";
  EXPECT_EQ(title, "Test:   B.STD");
  EXPECT_EQ(output, (Lines{"* ; LOWER-CASE NAME", "DELFILE=" + UpperCase(victim), "       to delete - " + victim,
                           "    1 - Entry processed for this Plugin", " "}));
  EXPECT_TRUE(Files().FileExists(victim));
  EXPECT_EQ(host.loads, 1);
  EXPECT_EQ(host.releases, 1);
  platform::PrivateProfileFile ini(context.settingsFile);
  EXPECT_NE(ini.ReadString("Positions", "PlugTstForm", ""), "");
}

TEST_F(PluginWindows, ExecuteDeletesAsThePurgeSettingsSay) {
  Open();
  Select(1);
  form->ListView1MouseUp();
  std::string title;
  Lines output;
  CollectTestWindow(&title, &output);
  form->PlugExecBtnClick();
  std::string victim = f.scratch / "VICTIM.TMP";
  EXPECT_EQ(title, "Execute:   B.STD");
  EXPECT_EQ(output, (Lines{"* ; LOWER-CASE NAME", "DELFILE=" + UpperCase(victim), "         deleted - " + victim,
                           "    1 - Entry processed for this Plugin"}));
  EXPECT_FALSE(Files().FileExists(victim));
}

}  // namespace
}  // namespace tidemark::plugins
