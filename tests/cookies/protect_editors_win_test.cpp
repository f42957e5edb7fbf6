// The two protect-entry editors driven in-process under Xvfb: typing, list
// clicks, Add and Delete as a user would, message boxes answered from a timer.
#include "cookies/protect_editors_win.h"

#include <gtest/gtest.h>

#include "platform/files_win.h"
#include "support/sandbox_win.h"
#include "support/when_ready_win.h"

namespace tidemark::cookies {
namespace {

using Lines = std::vector<std::string>;

const std::string kErrorBox = "Tidemark  -  Error Message|";

struct Step {
  enum Kind { Type, Add, Delete, Click } kind;
  std::string text;  // typed text, or the row clicked as a number
  Lines entries;     // the list afterwards
  bool addEnabled;
  std::string box;  // the message shown, if any
};

void Drive(ProtectEntryEditor& editor, const std::vector<Step>& steps) {
  gui::InitCommonControls();
  editor.Create(nullptr);
  editor.FormActivate();
  EXPECT_FALSE(IsWindowEnabled(editor.addButton()));
  EXPECT_EQ(editor.HintOf(editor.addButton()), "Add Displayed Entry");
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
    EXPECT_EQ(boxes.shown.size() > shown ? boxes.shown.back() : "", step.box.empty() ? "" : kErrorBox + step.box);
  }
  test::PendingAction() = nullptr;
  editor.EditCloseBtnClick();
  EXPECT_TRUE(editor.closed());
}

const char* const kNotFound = "Unable to locate the specified \r\nentry for Deletion.\r\n\r\nDelete Function ignored.";

TEST(ProtectEditors, CookieEditorAddsReplacesRefusesAndDeletes) {
  const char* refused = "The entry must begin with: \r\n    \"p=\" for Protect or\r\n    \"r=\" for Randomize\r\n\r\nAdd "
                        "Function ignored.";
  const Lines site = {"p=.site.test", "p=b.test"}, replaced = {"p=b.test", "r=.site.test"};
  TProtEditForm editor("Tidemark - Edit Protect File Entries for FireFox", site, 96);
  Drive(editor, {
                    {Step::Type, "p=", site, false, ""}, {Step::Type, "p=x", site, true, ""},
                    {Step::Type, "R=.Site.test", site, true, ""}, {Step::Add, "", replaced, false, ""},
                    {Step::Type, "P=B.test", replaced, true, ""}, {Step::Add, "", replaced, false, ""},  // listed
                    {Step::Type, "x=abc", replaced, true, ""}, {Step::Add, "", replaced, true, refused},
                    {Step::Type, "p=missing", replaced, true, ""}, {Step::Delete, "", replaced, true, kNotFound},
                    {Step::Click, "1", replaced, true, ""}, {Step::Delete, "", {"p=b.test"}, false, ""},
                });
  EXPECT_EQ(gui::WindowText(editor.hwnd()), "");  // destroyed with the close
}

TEST(ProtectEditors, TempEditorEditsTidemarkPitAndWritesItOnlyWhenChanged) {
  const char* refused = "The entry must begin with: \r\n    \"p=\" for Protect or\r\n    \"i=\" for Ignore delete "
                        "error\r\n\r\nAdd Function ignored.";
  test::TempFolder data;
  platform::FileSystem& files = platform::RealFileSystem();
  const std::string pit = data / "tidemark.pit", original = "p=*.log\ni=C:\\Temp\\Keep\\*\n";
  files.WriteFile(pit, original);
  const Lines listed = {"i=C:\\Temp\\Keep\\*", "p=*.log"};
  {
    TProtTempForm untouched(files, data.path(), 96);
    Drive(untouched, {{Step::Click, "0", listed, true, ""}});
  }
  EXPECT_EQ(files.ReadFile(pit), original);
  TProtTempForm editor(files, data.path(), 96);
  Drive(editor, {{Step::Type, "r=abc", listed, true, ""}, {Step::Add, "", listed, true, refused},
                 {Step::Type, "i=*.LOG", listed, true, ""},
                 {Step::Add, "", {"i=C:\\Temp\\Keep\\*", "i=*.log"}, false, ""}});
  EXPECT_EQ(files.ReadFile(pit), "i=*.log\r\ni=C:\\Temp\\Keep\\*\r\n");
}

}  // namespace
}  // namespace tidemark::cookies
