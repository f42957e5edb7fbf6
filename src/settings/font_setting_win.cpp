#include "settings/font_setting_win.h"

namespace tidemark::settings {

LOGFONTA LogFontOf(const FontSetting& font, int ppi) {
  LOGFONTA log{};
  log.lfHeight = -MulDiv(font.size, ppi, 72);
  log.lfWeight = (font.style & kFontBold) ? FW_BOLD : FW_NORMAL;
  log.lfItalic = (font.style & kFontItalic) ? TRUE : FALSE;
  log.lfUnderline = (font.style & kFontUnderline) ? TRUE : FALSE;
  log.lfStrikeOut = (font.style & kFontStrikeOut) ? TRUE : FALSE;
  log.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(log.lfFaceName, font.name.c_str(), LF_FACESIZE);
  return log;
}

FontSetting FontSettingOf(const LOGFONTA& font, int pointSize) {
  int style = (font.lfWeight >= FW_BOLD ? kFontBold : 0) | (font.lfItalic ? kFontItalic : 0) |
              (font.lfUnderline ? kFontUnderline : 0) | (font.lfStrikeOut ? kFontStrikeOut : 0);
  return {font.lfFaceName, pointSize, style};
}

}  // namespace tidemark::settings
