// The quick-start window in-process: its text (or the notice), caption and
// check box, and the place of its first showing.
#include "help/quick_start_win.h"

#include <gtest/gtest.h>

#include "help/quick_start.h"
#include "support/sandbox_win.h"

namespace tidemark::help {
namespace {

bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class QuickStartWindow : public ::testing::Test {
 protected:
  QuickStartWindow() { gui::InitCommonControls(); }
  std::string file() const { return folder / kQuickStartFile; }

  test::TempFolder folder;
  std::string option = "S";
};

TEST_F(QuickStartWindow, ShowsTheRichTextFile) {
  folder.Write(kQuickStartFile, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Welcome to \\b Tidemark\\b0 .\\par}");
  TQuickStartForm form(platform::RealFileSystem(), option, file(), 96);
  form.Show(nullptr);
  EXPECT_EQ(gui::WindowText(form.hwnd()), "Tidemark - Quick Start Information");
  EXPECT_EQ(gui::WindowText(form.textBox()).rfind("Welcome to Tidemark.", 0), 0u) << gui::WindowText(form.textBox());
  EXPECT_TRUE(GetWindowLongA(form.textBox(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(IsChecked(form.checkBox()));
  EXPECT_EQ(gui::WindowText(form.checkBox()), "Do not show this window at startup");
  EXPECT_EQ(form.HintOf(form.checkBox()), "Set the Checkmark to prevent automatic display of Quick Start.");
  EXPECT_EQ(form.HintOf(form.closeButton()), "Close the Quick Start information window.");
}

TEST_F(QuickStartWindow, MissingFileShowsTheNotice) {
  TQuickStartForm form(platform::RealFileSystem(), option, file(), 96);
  form.Show(nullptr);
  EXPECT_EQ(gui::WindowText(form.textBox()),
            "\r\n...Unable to locate the text file to display.\r\n\r\n...The file - " + file() +
                " must be in the Tidemark execution folder.");
}

TEST_F(QuickStartWindow, CheckBoxCarriesQuickStartOpt) {
  option = "N";
  TQuickStartForm form(platform::RealFileSystem(), option, file(), 96);
  form.Show(nullptr);
  EXPECT_TRUE(IsChecked(form.checkBox()));
  SendMessageA(form.checkBox(), BM_CLICK, 0, 0);
  EXPECT_EQ(option, "S");  // shown again after the next interactive start
  SendMessageA(form.checkBox(), BM_CLICK, 0, 0);
  EXPECT_EQ(option, "N");
  // "Close this Window" hides it; showing it again keeps its state.
  SendMessageA(form.closeButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  option = "S";
  form.Show(nullptr);
  EXPECT_TRUE(IsWindowVisible(form.hwnd()));
  EXPECT_TRUE(IsChecked(form.checkBox()));
}

TEST_F(QuickStartWindow, FirstShowingTakesTheCornerAndLaterOnesKeepThePlace) {
  for (int ppi : {96, 120}) {
    SCOPED_TRACE(ppi);
    TQuickStartForm form(platform::RealFileSystem(), option, file(), ppi);
    form.Show(nullptr);
    RECT work, place;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(form.hwnd(), &place);
    Box expected = FirstQuickStartPlace({work.left, work.top, work.right, work.bottom}, {},
                                        ScaledQuickStartSize(kQuickStartWidth, ppi),
                                        ScaledQuickStartSize(kQuickStartHeight, ppi));
    EXPECT_EQ((Box{place.left, place.top, place.right, place.bottom}), expected);
    MoveWindow(form.hwnd(), 10, 20, 400, 300, TRUE);
    form.Show(nullptr);
    GetWindowRect(form.hwnd(), &place);
    EXPECT_EQ(place.left, 10);
    EXPECT_EQ(place.top, 20);
  }
}

}  // namespace
}  // namespace tidemark::help
