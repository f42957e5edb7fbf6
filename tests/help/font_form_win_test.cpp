// The font window with the system font dialog stood in for: what each
// button asks the dialog for and what an answer changes.
#include "help/font_form_win.h"

#include <gtest/gtest.h>

#include <optional>

namespace tidemark::help {
namespace {

struct DialogCall {
  DWORD flags;
  int sizeMin, sizeMax, pointSize;
  std::string face;
  LONG height;
};

class FontWindow : public ::testing::Test {
 protected:
  FontWindow() { gui::InitCommonControls(); }

  // The dialog's answer: a font the user picked, or a cancel.
  TFontForm::FontDialog Dialog() {
    return [this](CHOOSEFONTA& choose) {
      calls.push_back({choose.Flags, choose.nSizeMin, choose.nSizeMax, choose.iPointSize,
                       choose.lpLogFont->lfFaceName, choose.lpLogFont->lfHeight});
      if (!picked) return false;
      *choose.lpLogFont = *picked;
      choose.iPointSize = pickedPoints * 10;
      return true;
    };
  }

  settings::FontSettings fonts;
  std::vector<DialogCall> calls;
  std::optional<LOGFONTA> picked;
  int pickedPoints = 0;
};

TEST_F(FontWindow, MainFontIsFixedPitchCookiesFontAnyPitch) {
  TFontForm form(fonts, 96, Dialog());
  form.Create(nullptr);
  EXPECT_EQ(gui::WindowText(form.hwnd()), "Tidemark - Configure Display Fonts");
  SendMessageA(form.mainFontButton(), BM_CLICK, 0, 0);
  SendMessageA(form.cookiesFontButton(), BM_CLICK, 0, 0);
  ASSERT_EQ(calls.size(), 2u);
  for (const DialogCall& call : calls) {
    EXPECT_EQ(call.sizeMin, 6);
    EXPECT_EQ(call.sizeMax, 16);
    EXPECT_TRUE(call.flags & CF_LIMITSIZE);
    EXPECT_TRUE(call.flags & CF_INITTOLOGFONTSTRUCT);
    EXPECT_FALSE(call.flags & CF_EFFECTS);
  }
  EXPECT_TRUE(calls[0].flags & CF_FIXEDPITCHONLY);
  EXPECT_FALSE(calls[1].flags & CF_FIXEDPITCHONLY);
  // Each dialog opens on the font in memory.
  EXPECT_EQ(calls[0].face, "Courier New");
  EXPECT_EQ(calls[0].pointSize, 90);
  EXPECT_EQ(calls[0].height, -12);
  EXPECT_EQ(calls[1].face, "MS Sans Serif");
  EXPECT_EQ(calls[1].pointSize, 100);
  EXPECT_EQ(fonts, settings::FontSettings());  // both cancelled: nothing changed
}

TEST_F(FontWindow, AChosenFontReplacesTheOneInMemory) {
  picked = settings::LogFontOf({"Lucida Console", 12, settings::kFontBold | settings::kFontUnderline}, 96);
  pickedPoints = 12;
  TFontForm form(fonts, 96, Dialog());
  form.Create(nullptr);
  form.SetMainFontClick();
  EXPECT_EQ(fonts.results,
            (settings::FontSetting{"Lucida Console", 12, settings::kFontBold | settings::kFontUnderline}));
  EXPECT_EQ(fonts.cookieLists, settings::FontSettings().cookieLists);

  picked = settings::LogFontOf({"Arial", 8, settings::kFontItalic | settings::kFontStrikeOut}, 96);
  pickedPoints = 8;
  form.SetCookiesFontClick();
  EXPECT_EQ(fonts.cookieLists, (settings::FontSetting{"Arial", 8, settings::kFontItalic | settings::kFontStrikeOut}));
  SendMessageA(form.okButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(form.hwnd()));
}

}  // namespace
}  // namespace tidemark::help
