// The font window with the system font dialog stood in for: what each
// button asks the dialog for and what an answer changes.
#include "help/font_form_win.h"

#include <gtest/gtest.h>

#include <optional>

namespace tidemark::help {
namespace {

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
  EXPECT_EQ(gui::WindowText(form.hwnd()), "Tidemark - Configure Display Fonts");
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

}  // namespace
}  // namespace tidemark::help
