// Under Wine: the help file in the HTML Help viewer, the font window (its dialog stood in for), the quick-start window.
#include <gtest/gtest.h>

#include <optional>

#include "help/font_form_win.h"
#include "help/help_topics.h"
#include "help/help_viewer_win.h"
#include "help/quick_start.h"
#include "help/quick_start_win.h"
#include "support/sandbox_win.h"

namespace tidemark::help {
namespace {

TEST(HelpViewer, ShowsATopicClosesItsWindowsWithItAndNamesWhatIsMissing) {
  std::optional<HelpViewer> viewer(std::in_place, TIDEMARK_HELP_FILE);
  EXPECT_EQ(viewer->Show(nullptr, kTopicContents), std::nullopt);
  HWND window = viewer->window();
  EXPECT_TRUE(IsWindowVisible(window));
  viewer.reset();
  EXPECT_FALSE(IsWindow(window));
  HelpViewer missing("C:\\no-such-folder\\Tidemark.chm");
  auto problem = missing.Show(nullptr, kTopicContents);
  EXPECT_NE(problem.value_or("").find("C:\\no-such-folder\\Tidemark.chm could not be found"), std::string::npos)
      << problem.value_or("no problem");
  EXPECT_EQ(missing.window(), nullptr);
}

TEST(FontWindow, EachButtonOpensTheDialogOnItsFontAndOnlyAChosenFontChangesIt) {
  gui::InitCommonControls();
  settings::FontSettings fonts;
  // What the dialog was asked for and the font it opened on.
  using Call = std::tuple<DWORD, INT, INT, INT, LONG, std::string>;
  std::vector<Call> calls;
  std::optional<settings::FontSetting> answer;  // none: the dialog is cancelled
  TFontForm form(fonts, 96, [&](CHOOSEFONTA& choose) {
    calls.push_back({choose.Flags & (CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_FIXEDPITCHONLY),
                     choose.nSizeMin, choose.nSizeMax, choose.iPointSize, choose.lpLogFont->lfHeight,
                     choose.lpLogFont->lfFaceName});
    choose.iPointSize = 160;  // what a cancelled dialog leaves behind is never taken
    if (answer) *choose.lpLogFont = settings::LogFontOf(*answer, 96), choose.iPointSize = answer->size * 10;
    return answer.has_value();
  });
  form.Create(nullptr);
  SendMessageA(form.mainFontButton(), BM_CLICK, 0, 0);
  SendMessageA(form.cookiesFontButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(fonts, settings::FontSettings());
  const settings::FontSetting lucida{"Lucida Console", 12, settings::kFontBold | settings::kFontUnderline};
  const settings::FontSetting arial{"Arial", 8, settings::kFontItalic | settings::kFontStrikeOut};
  answer = lucida;
  form.SetMainFontClick();
  EXPECT_EQ(fonts, (settings::FontSettings{.results = lucida}));
  answer = arial;
  form.SetCookiesFontClick();
  EXPECT_EQ(fonts, (settings::FontSettings{.results = lucida, .cookieLists = arial}));
  // The results list takes fixed-pitch fonts only.
  const Call main{CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT | CF_FIXEDPITCHONLY, 6, 16, 90, -12, "Courier New"};
  const Call cookies{CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT, 6, 16, 100, -13, "MS Sans Serif"};
  EXPECT_EQ(calls, (std::vector<Call>{main, cookies, main, cookies}));
  SendMessageA(form.okButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(form.hwnd()));
}

bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(QuickStartWindow, ShowsTheTextAndCarriesQuickStartOpt) {
  gui::InitCommonControls();
  test::TempFolder folder;
  std::string file =
      folder.Write(kQuickStartFile, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Welcome to \\b Tidemark\\b0 .\\par}");
  std::string option = "S";
  TQuickStartForm form(platform::RealFileSystem(), option, file, 120);
  form.Show(nullptr);
  EXPECT_EQ(gui::WindowText(form.textBox()).rfind("Welcome to Tidemark.", 0), 0u) << gui::WindowText(form.textBox());
  EXPECT_FALSE(IsChecked(form.checkBox()));
  for (const char* next : {"N", "S"}) {  // "S": shown again after the next interactive start
    SendMessageA(form.checkBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(option, next);
  }
  SendMessageA(form.closeButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
}

}  // namespace
}  // namespace tidemark::help
