// The quick-start window in-process: its text or the notice naming the
// missing file, its check box over QuickStartOpt and its place.
#include "help/quick_start_win.h"

#include <gtest/gtest.h>

#include "help/quick_start.h"
#include "support/sandbox_win.h"

namespace tidemark::help {
namespace {

bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(QuickStartWindow, ShowsTheTextOrTheNoticeAndCarriesQuickStartOpt) {
  gui::InitCommonControls();
  test::TempFolder folder;
  std::string file = folder / kQuickStartFile, option = "N";
  TQuickStartForm missing(platform::RealFileSystem(), option, file, 96);
  missing.Show(nullptr);
  EXPECT_EQ(gui::WindowText(missing.textBox()), "\r\n...Unable to locate the text file to display.\r\n\r\n...The file - " +
                                                    file + " must be in the Tidemark execution folder.");
  EXPECT_TRUE(IsChecked(missing.checkBox()));

  folder.Write(kQuickStartFile, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Welcome to \\b Tidemark\\b0 .\\par}");
  option = "S";
  TQuickStartForm form(platform::RealFileSystem(), option, file, 120);
  form.Show(nullptr);
  EXPECT_EQ(gui::WindowText(form.hwnd()), "Tidemark - Quick Start Information");
  EXPECT_EQ(gui::WindowText(form.textBox()).rfind("Welcome to Tidemark.", 0), 0u) << gui::WindowText(form.textBox());
  EXPECT_TRUE(GetWindowLongA(form.textBox(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(IsChecked(form.checkBox()));
  for (const char* next : {"N", "S"}) {  // "S": shown again after the next interactive start
    SendMessageA(form.checkBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(option, next);
  }

  // The first showing takes the work area's corner at its scaled size; "Close
  // this Window" hides it and a later showing keeps place and state.
  RECT work, place;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(form.hwnd(), &place);
  EXPECT_EQ((Box{place.left, place.top, place.right, place.bottom}),
            FirstQuickStartPlace({work.left, work.top, work.right, work.bottom}, {}, 433, 330));
  MoveWindow(form.hwnd(), 10, 20, 400, 300, TRUE);
  SendMessageA(form.closeButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  form.Show(nullptr);
  GetWindowRect(form.hwnd(), &place);
  EXPECT_TRUE(IsWindowVisible(form.hwnd()));
  EXPECT_EQ(std::pair(place.left, place.top), std::pair(10L, 20L));
  EXPECT_EQ(option, "S");
}

}  // namespace
}  // namespace tidemark::help
