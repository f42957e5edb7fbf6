// Pictures of the main window for the docs and for reviews: creates the
// window in-process over a scratch data folder, shows each tab in turn and
// writes what the screen shows of the window as a BMP file per tab; then
// the plugin selection window over two example plugins, the test window
// with the output of a test run of one, and the quick-start and font windows;
// then the cookie manager over scratch Firefox and Internet Explorer cookies
// (each tab, a filtered list, the detail list) and the two protect-entry
// editors.
// Usage: screenshots.exe <output folder> <name prefix>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_form_win.h"
#include "cookies/protect_editors_win.h"
#include "firefox/sqlite_database.h"
#include "help/font_form_win.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_windows_win.h"
#include "cookies/user_messages_win.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/product.h"
#include "platform/text.h"
#include "platform/window_list.h"
#include "support/index_builder.h"

namespace {

using namespace tidemark;

void Settle(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (GetTickCount() < end) {
    gui::PumpPendingMessages();
    Sleep(20);
  }
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT area;
  GetWindowRect(window, &area);
  int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB};
  int stride = (width * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + pixels.size()), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof info};
  std::string content(reinterpret_cast<const char*>(&file), sizeof file);
  content.append(reinterpret_cast<const char*>(&info), sizeof info);
  content += pixels;
  return platform::RealFileSystem().WriteFile(path, content);
}

// A Firefox profile and IE cookie stores (normal and Protected Mode) with a
// few cookies, one permission and the protect lists that mark some of them.
void WriteCookieStores(app::AppContext& context, const std::string& scratch) {
  platform::FileSystem& files = platform::RealFileSystem();
  std::string profile = JoinPath(scratch, "profile");
  files.CreateFolders(profile);
  locations::FirefoxLocations& firefox = context.firefox;
  firefox.FirefoxProfileFolder = profile;
  firefox.CookiesSqliteFile = JoinPath(profile, "cookies.sqlite");
  firefox.PermissionsFile = JoinPath(profile, "permissions.sqlite");
  firefox.FirefoxSqliteFormat = firefox.CookiesSqlitePresent = firefox.PermissionsSqlitePresent = true;
  files.RemoveFile(firefox.CookiesSqliteFile);
  files.RemoveFile(firefox.PermissionsFile);
  firefox::TSQLiteDatabase cookies(firefox.CookiesSqliteFile, firefox::OpenMode::Create);
  cookies.Execute("CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name "
                  "TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, "
                  "isSecure INTEGER, isHttpOnly INTEGER)");
  cookies.Execute(
      "INSERT INTO moz_cookies(host, name, value, path, expiry, isSecure, isHttpOnly) VALUES "
      "('.news.example', 'session', 'a81f3c', '/', 4102444800, 0, 0), ('.news.example', 'region', 'eu', '/', "
      "4102444800, 0, 0), ('shop.example', 'cart', '3-items', '/', 4102444800, 1, 1), ('.tracker.example', 'uid', "
      "'77aa91', '/', 4102444800, 0, 0), ('mail.example', 'SID', 'Zx81kq', '/', 4102444800, 1, 1)");
  firefox::TSQLiteDatabase permissions(firefox.PermissionsFile, firefox::OpenMode::Create);
  permissions.Execute("CREATE TABLE moz_perms ( id INTEGER PRIMARY KEY,origin TEXT,type TEXT,permission INTEGER,"
                      "expireType INTEGER,expireTime INTEGER,modificationTime INTEGER)");
  permissions.Execute("INSERT INTO moz_perms(origin, type, permission) VALUES ('https://tracker.example', 'cookie', 2)");
  files.WriteFile(context.paths.cookieProtectFile, "p=mail.example\r\nr=.news.example\r\n");
  files.WriteFile(context.paths.ieCookieProtectFile, "p=cookie:user@bank.example/\r\n");

  auto store = [&](const std::string& folder, const std::vector<std::string>& hosts) {
    files.CreateFolders(folder);
    test::IndexBuilder index;
    for (const std::string& host : hosts) {
      std::string file = "user@" + host.substr(0, host.find('.')) + "[1].txt";
      std::string text = "id\n" + host.substr(0, 4) + "7f2\n" + host + "/\n1024\n1\n2\n3\n4\n*\n";
      index.Add({.url = "Cookie:user@" + host + "/", .file = file, .fileSize = uint32_t(text.size())});
      files.WriteFile(JoinPath(folder, file), text);
    }
    std::vector<uint8_t> bytes = index.Finish();
    files.WriteFile(JoinPath(folder, "index.dat"), std::string(bytes.begin(), bytes.end()));
  };
  context.ie.IECookiesFolder = JoinPath(scratch, "Cookies");
  context.ie.LowCookiesFolder = JoinPath(scratch, "Cookies\\Low");
  store(context.ie.IECookiesFolder, {"bank.example", "news.example", "video.example"});
  store(context.ie.LowCookiesFolder, {"games.example"});
  context.system.tisVista = true;
  // Chrome with two profiles sharing a host; their values encrypted.
  locations::ChromiumBrowser chrome{"Google Chrome", JoinPath(scratch, "Chrome"), JoinPath(scratch, "Chrome"), "none.exe"};
  for (const char* name : {"Default", "Profile 1"}) {
    std::string folder = JoinPath(chrome.userData, name);
    files.CreateFolders(JoinPath(folder, "Network"));
    std::string path = JoinPath(folder, "Network\\Cookies");
    files.RemoveFile(path);
    firefox::TSQLiteDatabase chromeCookies(path, firefox::OpenMode::Create);
    chromeCookies.Execute("CREATE TABLE cookies (host_key TEXT NOT NULL, name TEXT NOT NULL, encrypted_value BLOB)");
    chromeCookies.Execute(name == std::string("Default")
                              ? "INSERT INTO cookies VALUES ('.mail.example', 'SID', x'7631'), ('.shop.example', 'cart', x'7631')"
                              : "INSERT INTO cookies VALUES ('.shop.example', 'cart', x'7631')");
    chrome.profiles.push_back({folder, folder});
  }
  context.chromium = {chrome};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: screenshots <output folder> <name prefix>\n");
    return 2;
  }
  std::string output = argv[1], prefix = argv[2];
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string scratch = JoinPath(TrimRight(temp), "tidemark-screenshots");

  gui::InitCommonControls();
  app::Platform system{platform::RealFileSystem(), platform::RealRegistry(), platform::RealWindowList(),
                       platform::RealShell()};
  app::AppContext context(system);
  context.pixelsPerInch = gui::ScreenPixelsPerInch();
  context.options.anyPos = true;
  context.paths.programFile = JoinPath(scratch, "tidemark.exe");
  context.paths.programFolder = scratch;
  context.paths.dataFolder = JoinPath(scratch, "data");
  context.paths.settingsFile = JoinPath(context.paths.dataFolder, "Tidemark.ini");
  platform::RealFileSystem().CreateFolders(context.paths.dataFolder);
  platform::FileSystem& files = platform::RealFileSystem();
  files.CreateFolders(JoinPath(scratch, "PLUGINS"));
  files.WriteFile(JoinPath(scratch, "PLUGINS\\SCRIBBLE.STD"),
                  "LEVEL=1\r\nScribble editor - recent files, history and lock files\r\n"
                  "DELTEXT=#APPDATA#\\Scribble\\recent.ini['File']\r\n"
                  "DELEXML=#APPDATA#\\Scribble\\settings.xml[history]\r\n"
                  "DELFOLD=#LOCALAPPDATA#\\Scribble\\Cache[*.*]DS\r\n"
                  "DELVALS=HKCU:Software\\Scribble\\Recent['FILE']B\r\n"
                  "EXECUTE=%WINDIR%\\system32\\hostname.exe\r\n");
  files.WriteFile(JoinPath(scratch, "PLUGINS\\viewer.cus"), "Viewer - thumbnails\r\n");
  files.WriteFile(JoinPath(context.paths.dataFolder, "PLUGINS.DAT"), "SCRIBBLE.STD\r\n");
  files.RemoveFile(JoinPath(scratch, "Tmrkqst.rtf"));  // left by an earlier run

  app::TFFoxForm form(context, app::PurgeBodies{});
  form.Create(nullptr);
  form.ShowAtStart();
  SetForegroundWindow(form.hwnd());
  form.BrowserTick();
  Settle(800);

  auto shoot = [&](const std::string& name, HWND window) {
    Settle(400);
    std::string path = JoinPath(output, prefix + "-" + name + ".bmp");
    if (!SaveWindowPicture(window, path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  };
  const char* const optionTabs[] = {"standard-options", "purge-now-options", "startup-options", "shutdown-options"};
  for (int tab = 0; tab < 4; ++tab) {
    form.SelectMainTab(app::MainTab::Options);
    form.SelectOptionTab(tab);
    shoot(optionTabs[tab], form.hwnd());
  }
  form.SelectMainTab(app::MainTab::Configure);
  const char* const configPages[] = {"configure-general", "configure-purge-now", "configure-startup",
                                     "configure-shutdown", "configure-temp-folders"};
  for (int page = 0; page < 5; ++page) {
    form.SelectConfigTab(page);
    shoot(configPages[page], form.hwnd());
  }
  form.PreviewBtnClick();
  shoot("results-no-options", form.hwnd());
  form.DisplayFoldersAndFiles();
  shoot("results-folders-and-files", form.hwnd());

  // The plugin windows, shown without their modal loops.
  std::vector<std::string> selected = form.SelectedPlugins();
  plugins::PluginWindowsContext windows{
      [&form] { return form.Resources(); }, context.purge, selected, context.paths.settingsFile, {}, false};
  windows.restore.anyPos = true;
  windows.restore.pixelsPerInch = context.pixelsPerInch;
  plugins::TPlugSelForm select(windows);
  select.Create(form.hwnd());
  ShowWindow(select.hwnd(), SW_SHOW);
  select.FormActivate();
  select.pluginList().Select({0});
  shoot("plugin-select", select.hwnd());
  auto lines = plugins::ReadPluginLines(files, JoinPath(scratch, "PLUGINS\\SCRIBBLE.STD"));
  plugins::TPlugTstForm test(windows, lines.value_or(std::vector<std::string>{}), true, "Test:   SCRIBBLE.STD");
  test.Create(select.hwnd());
  ShowWindow(test.hwnd(), SW_SHOW);
  test.FormActivate();
  shoot("plugin-test", test.hwnd());
  DestroyWindow(test.hwnd());
  DestroyWindow(select.hwnd());

  // The cookie manager and the editors, likewise without their loops.
  context.paths.cookieProtectFile = JoinPath(context.paths.dataFolder, "Tidemark.Dat");
  context.paths.ieCookieProtectFile = JoinPath(context.paths.dataFolder, "IEcookie.dat");
  WriteCookieStores(context, scratch);
  files.WriteFile(JoinPath(context.paths.dataFolder, "tidemark.pit"), "p=*.log\r\ni=c:\\temp\\keep\\*\r\n");
  {
    cookies::MessageBoxMessages messages(form.hwnd());
    firefox::FirefoxSitePermissions firefoxPermissions;
    firefoxPermissions.Load(files, context.firefox, messages);
    ie::IEPermissions iePermissions(platform::RealRegistry());
    app::CookieFormContext cookieContext = form.CookieManagerContext(firefoxPermissions, iePermissions);
    cookieContext.settingsFile.clear();
    cookieContext.firefoxRunning = [] { return false; };
    app::TCookieForm cookieForm(cookieContext);
    cookieForm.Create(form.hwnd());
    ShowWindow(cookieForm.hwnd(), SW_SHOW);
    cookieForm.FormActivate();
    cookieForm.SelectRows({1});
    shoot("cookies-firefox", cookieForm.hwnd());
    SetWindowTextA(cookieForm.filterEdit(), "news");
    cookieForm.RefreshBtnClick();
    shoot("cookies-firefox-filtered", cookieForm.hwnd());
    SetWindowTextA(cookieForm.filterEdit(), "");
    cookieForm.TabControlCookChange(1);
    cookieForm.SelectRows({1});
    shoot("cookies-ie-normal", cookieForm.hwnd());
    cookieForm.TabControlCookChange(2);
    shoot("cookies-ie-protected", cookieForm.hwnd());
    cookieForm.TabControlCookChange(3);
    cookieForm.SelectRows({1});
    shoot("cookies-chromium", cookieForm.hwnd());
    cookieForm.TabControlCookChange(0);
    cookies::TProtEditForm editor(std::string(kProductName) + " - Edit Protect File Entries for FireFox",
                                  cookieForm.firefoxList().entries, context.pixelsPerInch);
    editor.Create(cookieForm.hwnd());
    ShowWindow(editor.hwnd(), SW_SHOW);
    editor.FormActivate();
    shoot("cookies-edit-protect-entries", editor.hwnd());
    editor.EditCloseBtnClick();
    DestroyWindow(cookieForm.hwnd());
    firefoxPermissions.Close();
  }
  cookies::TProtTempForm tempEditor(files, context.paths.dataFolder, context.pixelsPerInch);
  tempEditor.Create(form.hwnd());
  ShowWindow(tempEditor.hwnd(), SW_SHOW);
  tempEditor.FormActivate();
  shoot("edit-temp-protect-entries", tempEditor.hwnd());
  tempEditor.EditCloseBtnClick();
  // The help windows: quick start (as the menu shows it; its text is put
  // beside the program only now, so it did not open on its own) and fonts
  // (without its modal loop).
  files.CopyFileTo(TIDEMARK_QUICK_START_TEXT, JoinPath(scratch, "Tmrkqst.rtf"), false);
  form.ShowQuickStart();
  shoot("quick-start", form.quickStart()->hwnd());
  form.quickStart()->Close();
  help::TFontForm fonts(context.settings.fonts, context.pixelsPerInch);
  fonts.Create(form.hwnd());
  ShowWindow(fonts.hwnd(), SW_SHOW);
  shoot("fonts", fonts.hwnd());
  DestroyWindow(fonts.hwnd());
  DestroyWindow(form.hwnd());
  return 0;
}
