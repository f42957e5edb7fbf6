#include "app/options_frame_win.h"

namespace tidemark::app {
namespace {

using enum engine::PurgeFunctionId;

struct CheckPlace {
  engine::PurgeFunctionId id;
  int column, row;
  const char* hint;
};

// Three columns (Firefox, Windows, Internet Explorer), and under the
// Firefox column the Chromium browsers' group, its boxes in the Firefox order.
constexpr CheckPlace kChecks[] = {
    {FirefoxCache, 0, 0, "Select to Delete Cache Files"},
    {FirefoxCookies, 0, 1, "Select to Delete the unprotected Cookies"},
    {FirefoxHistory, 0, 2, "Select to Delete History File"},
    {FirefoxForms, 0, 3, "Select to Delete Forms History File and Search Bar History"},
    {FirefoxTypedUrls, 0, 4, "Select to Delete Typed URLs"},
    {TempFolders, 1, 0, "Select to Delete all files in Specified Temp Folders"},
    {Clipboard, 1, 1, "Select to Empty the Windows ClipBoard"},
    {Plugins, 1, 2, "Select to Process selected Plugins"},
    {RecentLinks, 1, 3, "Select to Delete Recent Links (to documents)"},
    {RecycleBin, 1, 4, "Select to Empty the Recycle Bin"},
    {IEVisited, 2, 0, "Select to Delete I.E. Visited URLs and Windows file History"},
    {IECache, 2, 1, "Select to Delete I.E. Cache Files"},
    {IECookies, 2, 2, "Select to Delete the unprotected I.E. Cookies"},
    {IEHistory, 2, 3, "Select to Delete I.E. History Folders"},
    {IEUserData, 2, 4, "Select to Clear the I.E. UserData Folder data"},
    {IESearches, 2, 5, "Select to Clear I.E. Previous Search data"},
    {IETypedUrls, 2, 6, "Select to Clear I.E. Typed URLs"},
    {IEStrays, 2, 7, "Select to Delete I.E. Stray Cache and Cookie Files"},
    {IEDomStore, 2, 8, "Select to Delete I.E. DOM Store Files"},
    {ChromiumCache, 3, 0, "Select to Delete Chromium Cache Files"},
    {ChromiumCookies, 3, 1, "Select to Delete the unprotected Chromium Cookies"},
    {ChromiumHistory, 3, 2, "Select to Delete Chromium History, keeping the Bookmarked pages"},
    {ChromiumForms, 3, 3, "Select to Delete Chromium Forms History (AutoFill entries)"},
    {ChromiumTypedUrls, 3, 4, "Select to Delete Chromium Typed URLs"},
};
constexpr int kRowHeight = 21;
constexpr int kGroupsX = 445, kGroupWidth = 135;
constexpr int kChromiumTop = 117, kChromiumWidth = 200, kChromiumHeight = 132;
constexpr int kGroupCaptionHeight = 18;  // a group's first row starts below its caption
constexpr int kColumnX[] = {0, 165, 290, 8};
constexpr int kColumnY[] = {0, 0, 0, kChromiumTop + kGroupCaptionHeight};
constexpr int kColumnWidth[] = {165, 125, 150, kChromiumWidth - 8};
// The four buttons in the bottom right corner, level with the Chromium group's foot.
constexpr int kButtonsWidth = 196, kButtonsHeight = 55;
constexpr int kButtonsX = kGroupsX + kGroupWidth - kButtonsWidth;
constexpr int kButtonsTop = kChromiumTop + kChromiumHeight - kButtonsHeight;

}  // namespace

int TFFoxOptionsFrame1::RadioGroup::Index() const {
  for (int i = 0; i < 2; ++i)
    if (SendMessageA(buttons[static_cast<size_t>(i)], BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
  return -1;
}

void TFFoxOptionsFrame1::RadioGroup::SetIndex(int index) {
  for (int i = 0; i < 2; ++i)
    SendMessageA(buttons[static_cast<size_t>(i)], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

TFFoxOptionsFrame1::RadioGroup TFFoxOptionsFrame1::MakeGroup(gui::Window& form, const char* caption,
                                                             const char* first, const char* second, int x, int y,
                                                             int ppi) {
  auto s = [ppi](int v) { return gui::Scale(v, ppi); };
  RadioGroup group;
  // Controls created first lie on top: the buttons before their box.
  group.buttons[0] = form.AddControl("BUTTON", first, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, x + s(8),
                                     y + s(17), s(56), s(18));
  group.buttons[1] = form.AddControl("BUTTON", second, BS_AUTORADIOBUTTON, x + s(64), y + s(17), s(68), s(18));
  group.box = form.AddControl("BUTTON", caption, BS_GROUPBOX, x, y, s(kGroupWidth), s(42));
  all_.insert(all_.end(), {group.box, group.buttons[0], group.buttons[1]});
  return group;
}

void TFFoxOptionsFrame1::Create(gui::Window& form, int x, int y, int ppi, Actions actions,
                                std::function<void(HWND, const char*)> addHint) {
  form_ = &form;
  auto s = [ppi](int v) { return gui::Scale(v, ppi); };
  const auto& functions = engine::PurgeFunctions();
  for (const CheckPlace& place : kChecks) {
    int left = x + s(kColumnX[place.column]);
    int top = y + s(kColumnY[place.column] + place.row * kRowHeight);
    HWND box = form.AddControl("BUTTON", functions[engine::Index(place.id)].caption.data(),
                               BS_AUTOCHECKBOX | WS_TABSTOP, left, top, s(kColumnWidth[place.column] - 8), s(18));
    checks_[engine::Index(place.id)] = box;
    addHint(box, place.hint);
    all_.push_back(box);
    if (place.id == FirefoxTypedUrls) {
      typedUrlsPanel_ = form.AddControl("STATIC", "", SS_NOTIFY | SS_ETCHEDFRAME, left - s(3), top - s(2),
                                        s(kColumnWidth[place.column] - 2), s(kRowHeight + 1));
      addHint(typedUrlsPanel_, "For FireFox 3, and higher");
      all_.push_back(typedUrlsPanel_);
    }
  }
  HWND chromium = form.AddControl("BUTTON", "Chromium Browsers", BS_GROUPBOX, x, y + s(kChromiumTop), s(kChromiumWidth),
                                  s(kChromiumHeight));
  addHint(chromium, "For Chrome, Edge, Brave, Vivaldi, Opera and Chromium");
  all_.push_back(chromium);
  reports_ = MakeGroup(form, "Reports", "Detail", "Summary", x + s(kGroupsX), y, ppi);
  secureErase_ = MakeGroup(form, "Secure Erase", "No", "Yes", x + s(kGroupsX), y + s(46), ppi);
  compact_ = MakeGroup(form, "Compact Files", "No", "Yes", x + s(kGroupsX), y + s(92), ppi);
  addHint(reports_.box, "Select Detail or Summary Reports");
  for (HWND b : reports_.buttons) addHint(b, "Select Detail or Summary Reports");
  const char* eraseHint = "Select \"Yes\"  to use Secure Erase when deleting data files";
  addHint(secureErase_.box, eraseHint);
  for (HWND b : secureErase_.buttons) addHint(b, eraseHint);
  const char* compactHint = "Select \"Yes\"  to Compact FireFox History and Cookie files after cleaning";
  addHint(compact_.box, compactHint);
  for (HWND b : compact_.buttons) addHint(b, compactHint);

  int buttonsLeft = x + s(kButtonsX), buttonsTop = y + s(kButtonsTop);
  resetButton = form.AddButton("Reset", buttonsLeft, buttonsTop, s(90), s(25), actions.reset);
  saveButton = form.AddButton("Save Options", buttonsLeft + s(96), buttonsTop, s(100), s(25), actions.save);
  onButton = form.AddButton("Set All 'On'", buttonsLeft, buttonsTop + s(30), s(90), s(25), [this] { SetAll(true); });
  offButton = form.AddButton("Set All 'Off'", buttonsLeft + s(96), buttonsTop + s(30), s(100), s(25),
                             [this] { SetAll(false); });
  addHint(resetButton, "Reset to the Saved options");
  addHint(saveButton, "Save these option settings");
  addHint(onButton, "Set all of the above options \"On\"");
  addHint(offButton, "Set all of the above options \"Off\"");
  all_.insert(all_.end(), {resetButton, saveButton, onButton, offButton});
  reports_.SetIndex(0);
  secureErase_.SetIndex(0);
  compact_.SetIndex(0);
}

void TFFoxOptionsFrame1::Show(bool shown) {
  for (HWND control : all_) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

engine::OptionSet TFFoxOptionsFrame1::Options() const {
  engine::OptionSet options;
  for (size_t i = 0; i < engine::kPurgeFunctionCount; ++i)
    options.selected[i] = SendMessageA(checks_[i], BM_GETCHECK, 0, 0) == BST_CHECKED;
  options.reports = reports_.Index();
  options.secureErase = secureErase_.Index();
  options.compactSql = compact_.Index();
  return options;
}

void TFFoxOptionsFrame1::SetOptions(const engine::OptionSet& options) {
  for (size_t i = 0; i < engine::kPurgeFunctionCount; ++i)
    SendMessageA(checks_[i], BM_SETCHECK, options.selected[i] ? BST_CHECKED : BST_UNCHECKED, 0);
  reports_.SetIndex(options.reports);
  secureErase_.SetIndex(options.secureErase);
  compact_.SetIndex(options.compactSql);
}

void TFFoxOptionsFrame1::SetAll(bool checked) {
  for (HWND box : checks_) SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TFFoxOptionsFrame1::Checked(engine::PurgeFunctionId id) const {
  return SendMessageA(CheckBox(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFFoxOptionsFrame1::EnableFunction(engine::PurgeFunctionId id, bool enabled) {
  EnableWindow(CheckBox(id), enabled);
}

bool TFFoxOptionsFrame1::FunctionEnabled(engine::PurgeFunctionId id) const {
  return IsWindowEnabled(CheckBox(id)) != FALSE;
}

void TFFoxOptionsFrame1::Colour(engine::PurgeFunctionId id, COLORREF colour) {
  form_->SetControlColour(CheckBox(id), colour);
}

}  // namespace tidemark::app
