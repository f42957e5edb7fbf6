// The main window's plugin wiring, in-process (under Xvfb): the selection
// loaded at start, "Run Plugins" in a purge, and "Select Plugins  " opening
// the selection window whose "Apply Changes" replaces the selection.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form_win.h"
#include "platform/files.h"
#include "support/sandbox_win.h"
#include "support/when_ready_win.h"

namespace tidemark::app {
namespace {

using Lines = std::vector<std::string>;

platform::FileSystem& Files() { return platform::RealFileSystem(); }

class PluginButtons : public ::testing::Test {
 protected:
  PluginButtons() {
    gui::InitCommonControls();
    context.paths.programFile = folder / "tidemark.exe";
    context.paths.programFolder = folder.path();
    context.paths.dataFolder = folder / "data";
    context.paths.settingsFile = folder / "data\\Tidemark.ini";
    victim = folder.Write("VICTIM.TMP", "x");
    folder.Write("PLUGINS\\A.STD", "DELFILE=" + victim + "\r\n");
    folder.Write("PLUGINS\\B.STD", "B\r\n");
    folder.Write("data\\PLUGINS.DAT", "A.STD\r\n");
  }
  ~PluginButtons() override {
    test::PendingAction() = nullptr;
    if (form && form->hwnd()) DestroyWindow(form->hwnd());
    form.reset();
    gui::PumpPendingMessages();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // left by the window's end
  }
  void Create() {
    form = std::make_unique<TFFoxForm>(context, RegisteredPurgeBodies());
    form->Create(nullptr);
  }
  bool Has(const std::string& line) {
    const Lines& lines = form->results().lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  test::TempFolder folder;
  Platform system{platform::RealFileSystem(), platform::RealRegistry(), platform::RealWindowList(),
                  platform::RealShell()};
  AppContext context{system};
  std::unique_ptr<TFFoxForm> form;
  std::string victim;
};

TEST_F(PluginButtons, RunPluginsPurgesWhatTheSelectionNames) {
  context.commandLine = CommandLine({"debug"});
  Create();
  EXPECT_EQ(form->SelectedPlugins(), (Lines{"A.STD"}));
  SendMessageA(form->Frame(0).CheckBox(engine::PurgeFunctionId::Plugins), BM_SETCHECK, BST_CHECKED, 0);
  form->PurgeBtnClick();
  EXPECT_TRUE(Has("Process Plugin - A.STD"));
  EXPECT_TRUE(Has(" debug - FoldOrReg = F"));
  EXPECT_TRUE(Has("         deleted - " + victim));
  EXPECT_TRUE(Has("  Run Plugins Function Completed.  1 - Entry processed."));
  EXPECT_FALSE(Files().FileExists(victim));
}

TEST_F(PluginButtons, SelectPluginsReplacesTheSelection) {
  Create();
  test::WhenReady([] {
    HWND window = FindWindowA("TPlugSelForm", nullptr);
    if (!window) return false;
    HWND list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    ListView_SetCheckState(list, 1, TRUE);
    SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "Apply Changes"), BM_CLICK, 0, 0);
    SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "Close"), BM_CLICK, 0, 0);
    return true;
  });
  form->SelectPluginsClick();
  EXPECT_EQ(form->SelectedPlugins(), (Lines{"A.STD", "B.STD"}));
  EXPECT_EQ(Files().ReadFile(folder / "data\\PLUGINS.DAT"), "A.STD\r\nB.STD\r\n");
  EXPECT_FALSE(context.purge.purgeRunning);
  EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
}

}  // namespace
}  // namespace tidemark::app
