// The cookie windows driven in-process under Xvfb, and temp protect matching with the shell's own wildcard function.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "cookies/no_protection_win.h"
#include "cookies/protect_editors_win.h"
#include "cookies/temp_protect.h"
#include "platform/files_win.h"
#include "platform/gui_win.h"
#include "support/sandbox_win.h"
#include "support/when_ready_win.h"

namespace tidemark::cookies {
namespace {

constexpr int kCheckBoxId = 100;

void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
// Keys go to a given control: focus is not ours to rely on while other programs show windows too.
void PressKey(HWND window, UINT key) {
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYDOWN, key, 0);
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYUP, key, 0xC0000000);
}

TEST(NoProtectionWindow, OnlyContinueProceedsAndOnlyTheCheckBoxSilences) {
  using Act = std::function<void(HWND)>;
  const std::tuple<Act, CookieBrowser, bool, const char*> cases[] = {
      {[](HWND window) { Click(window, IDOK); }, CookieBrowser::Firefox, true, "N"},
      {[](HWND window) { Click(window, kCheckBoxId), PressKey(window, VK_ESCAPE); }, CookieBrowser::InternetExplorer,
       false, "Y"},
      {[](HWND window) { PressKey(window, VK_RETURN); }, CookieBrowser::Firefox, false, "N"},  // Bypass
      {[](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }, CookieBrowser::Firefox, false, "N"},
  };
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  for (const auto& [act, browser, proceed, showOption] : cases) {
    bool ownerDisabled = false;
    test::WhenReady([&] {
      HWND window = test::ThreadWindow(kNoProtectionWindowClass);
      if (!window) return false;
      EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), IDCANCEL);
      ownerDisabled = !IsWindowEnabled(owner);
      act(window);
      return true;
    });
    std::string option = "N";
    EXPECT_EQ(ConfirmNoProtection(browser, option, owner, 96), proceed) << showOption;
    EXPECT_EQ(option, showOption);
    EXPECT_TRUE(ownerDisabled && IsWindowEnabled(owner) && !test::ThreadWindow(kNoProtectionWindowClass));
  }
  DestroyWindow(owner);
}

using Lines = std::vector<std::string>;

const std::string kErrorBox = "Tidemark  -  Error Message";

struct Step {
  enum Kind { Type, Add, Delete, Click } kind;
  std::string text;  // typed text, or the row clicked as a number
  Lines entries;     // the list afterwards
  bool addEnabled;
  bool errorBox = false;  // an error message is shown
};

void Drive(ProtectEntryEditor& editor, const std::vector<Step>& steps) {
  gui::InitCommonControls();
  editor.Create(nullptr);
  editor.FormActivate();
  EXPECT_FALSE(IsWindowEnabled(editor.addButton()));
  test::MessageBoxes boxes;
  boxes.Watch();
  for (const Step& step : steps) {
    SCOPED_TRACE(step.text);
    size_t shown = boxes.shown.size();
    switch (step.kind) {
      case Step::Type: SetWindowTextA(editor.currentEdit(), step.text.c_str()); break;
      case Step::Add: editor.EditAddBtnClick(); break;
      case Step::Delete: editor.EditDeleteBtnClick(); break;
      case Step::Click:
        SendMessageA(editor.listBox(), LB_SETCURSEL, std::stoul(step.text), 0);
        editor.ListBoxClick();
        break;
    }
    EXPECT_EQ(editor.Entries(), step.entries);
    EXPECT_EQ(IsWindowEnabled(editor.addButton()) != 0, step.addEnabled);
    const std::string box = boxes.shown.size() > shown ? boxes.shown.back() : "";
    EXPECT_EQ(box.substr(0, box.find('|')), step.errorBox ? kErrorBox : "");
  }
  test::PendingAction() = nullptr;
  editor.EditCloseBtnClick();
  EXPECT_TRUE(editor.closed());
}

TEST(ProtectEditors, TheCookieEditorAddsReplacesRefusesAndDeletesAndTheTempEditorWritesTidemarkPitOnlyWhenChanged) {
  const Lines site = {"p=.site.test", "p=b.test"}, replaced = {"p=b.test", "r=.site.test"};
  TProtEditForm editor("Tidemark - Edit Protect File Entries for FireFox", site, 96);
  Drive(editor, {
                    {Step::Type, "p=", site, false}, {Step::Type, "p=x", site, true},
                    {Step::Type, "R=.Site.test", site, true}, {Step::Add, "", replaced, false},
                    {Step::Type, "x=abc", replaced, true}, {Step::Add, "", replaced, true, true},
                    {Step::Type, "p=missing", replaced, true}, {Step::Delete, "", replaced, true, true},
                    {Step::Click, "1", replaced, true}, {Step::Delete, "", {"p=b.test"}, false},
                });
  test::TempFolder data;
  platform::FileSystem& files = platform::RealFileSystem();
  const std::string pit = data / "tidemark.pit", original = "p=*.log\ni=C:\\Temp\\Keep\\*\n";
  files.WriteFile(pit, original);
  const Lines listed = {"i=C:\\Temp\\Keep\\*", "p=*.log"};
  {
    TProtTempForm untouched(files, data.path(), 96);
    Drive(untouched, {{Step::Click, "0", listed, true}});
  }
  EXPECT_EQ(files.ReadFile(pit), original);
  TProtTempForm temp(files, data.path(), 96);
  Drive(temp, {{Step::Type, "i=*.LOG", listed, true}, {Step::Add, "", {"i=C:\\Temp\\Keep\\*", "i=*.log"}, false}});
  EXPECT_EQ(files.ReadFile(pit), "i=*.log\r\ni=C:\\Temp\\Keep\\*\r\n");
}

TEST(ShellMatching, NamePatternsMatchInAnyFolderAndPathPatternsTheFullPath) {
  const platform::PathMatcher* shell = platform::ShellPathMatcher();
  ASSERT_NE(shell, nullptr) << "PathMatchSpecA not found in shlwapi.dll";
  const std::tuple<const char*, const char*, const char*, char> cases[] = {
      {"p=*.log", "d:\\other\\deep\\B.LOG", "B.LOG", 'p'},
      // A pattern without a backslash is not tried on the full path.
      {"p=*keep*", "c:\\keep\\a.txt", "a.txt", ' '}, {"p=*.log", "c:\\logs.log\\", "", ' '},
      {"i=c:\\temp\\keep\\*", "c:\\temp\\keep\\", "", 'i'},
      {"i=c:\\temp\\keep\\*", "C:\\Temp\\Keep\\file.txt", "file.txt", 'i'},
  };
  for (auto [entry, path, name, expected] : cases)
    EXPECT_EQ(MatchTempProtect({{entry}}, path, name, shell), expected) << entry << " " << path;
}

}  // namespace
}  // namespace tidemark::cookies
