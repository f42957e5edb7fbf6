// In-process under Wine: the help file in the system's HTML Help viewer, the font window with the system font dialog
// stood in for, and the quick-start window.
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

TEST(HelpViewer, ShowsEveryTopicAndItsWindowsCloseWithIt) {
  HWND window = nullptr;
  {
    HelpViewer viewer(TIDEMARK_HELP_FILE);
    for (std::string_view topic : kProgramTopics) {
      EXPECT_EQ(viewer.Show(nullptr, topic), std::nullopt) << topic;
      window = viewer.window();
      EXPECT_TRUE(IsWindowVisible(window)) << topic;
    }
  }
  EXPECT_FALSE(IsWindow(window));
}

TEST(HelpViewer, NamesWhatIsMissing) {
  const std::array<std::string, 3> cases[] = {
      {"C:\\no-such-folder\\Tidemark.chm", "hhctrl.ocx", "C:\\no-such-folder\\Tidemark.chm could not be found"},
      {TIDEMARK_HELP_FILE, "no-such-viewer.ocx", "HTML Help viewer (no-such-viewer.ocx) is not installed"},
  };
  for (const auto& [file, library, named] : cases) {
    HelpViewer viewer(file, library);
    auto problem = viewer.Show(nullptr, kTopicContents);
    ASSERT_TRUE(problem) << library;
    EXPECT_NE(problem->find(named), std::string::npos) << *problem;
    EXPECT_EQ(viewer.window(), nullptr);
  }
}

TEST(FontWindow, EachButtonOpensTheDialogOnItsFontAndOnlyAChosenFontChangesIt) {
  gui::InitCommonControls();
  settings::FontSettings fonts;
  std::vector<std::pair<CHOOSEFONTA, LOGFONTA>> calls;  // the dialog's request and the font it opened on
  std::optional<settings::FontSetting> answer;          // none: the dialog is cancelled
  TFontForm form(fonts, 96, [&](CHOOSEFONTA& choose) {
    calls.push_back({choose, *choose.lpLogFont});
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
  ASSERT_EQ(calls.size(), 4u);
  for (size_t i = 0; i < calls.size(); ++i) {
    const auto& [choose, opened] = calls[i];
    bool main = i % 2 == 0;  // the results list takes fixed-pitch fonts only
    SCOPED_TRACE(i);
    EXPECT_EQ(choose.Flags & (CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_FIXEDPITCHONLY),
              CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT | (main ? CF_FIXEDPITCHONLY : 0));
    EXPECT_EQ(std::tuple(choose.nSizeMin, choose.nSizeMax, choose.iPointSize, opened.lfHeight),
              main ? std::tuple(6, 16, 90, -12L) : std::tuple(6, 16, 100, -13L));
    EXPECT_EQ(opened.lfFaceName, std::string(main ? "Courier New" : "MS Sans Serif"));
  }
  SendMessageA(form.okButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(form.hwnd()));
}

bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(QuickStartWindow, ShowsTheTextOrTheNoticeAndCarriesQuickStartOpt) {
  gui::InitCommonControls();
  test::TempFolder folder;
  std::string file = folder / kQuickStartFile, option = "N";
  TQuickStartForm missing(platform::RealFileSystem(), option, file, 96);
  missing.Show(nullptr);
  EXPECT_EQ(gui::WindowText(missing.textBox()),
            "\r\n...Unable to locate the text file to display.\r\n\r\n...The file - " + file +
                " must be in the Tidemark execution folder.");
  EXPECT_TRUE(IsChecked(missing.checkBox()));
  folder.Write(kQuickStartFile, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Welcome to \\b Tidemark\\b0 .\\par}");
  option = "S";
  TQuickStartForm form(platform::RealFileSystem(), option, file, 120);
  form.Show(nullptr);
  EXPECT_EQ(gui::WindowText(form.textBox()).rfind("Welcome to Tidemark.", 0), 0u) << gui::WindowText(form.textBox());
  EXPECT_FALSE(IsChecked(form.checkBox()));
  for (const char* next : {"N", "S"}) {  // "S": shown again after the next interactive start
    SendMessageA(form.checkBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(option, next);
  }
  // The first showing takes the work area's corner at its scaled size; "Close this Window" hides it and a later
  // showing keeps place and state.
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
