// Pictures of the main window for the docs and for reviews: creates the
// window in-process over a scratch data folder, shows each tab in turn and
// writes what the screen shows of the window as a BMP file per tab; then
// the plugin selection window over two example plugins, the test window
// with the output of a test run of one, and the quick-start and font windows.
// Usage: screenshots.exe <output folder> <name prefix>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_form_win.h"
#include "help/font_form_win.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_windows_win.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/window_list.h"

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
  plugins::PluginWindowsContext windows{form, context.purge, selected, context.paths.settingsFile, {}, false};
  windows.restore.anyPos = true;
  windows.restore.pixelsPerInch = context.pixelsPerInch;
  plugins::TPlugSelForm select(windows);
  select.Create(form.hwnd());
  ShowWindow(select.hwnd(), SW_SHOW);
  select.FormActivate();
  ListView_SetItemState(select.listView(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  select.ListView1MouseUp();
  shoot("plugin-select", select.hwnd());
  auto lines = plugins::ReadPluginLines(files, JoinPath(scratch, "PLUGINS\\SCRIBBLE.STD"));
  plugins::TPlugTstForm test(windows, lines.value_or(std::vector<std::string>{}), true, "Test:   SCRIBBLE.STD");
  test.Create(select.hwnd());
  ShowWindow(test.hwnd(), SW_SHOW);
  test.FormActivate();
  shoot("plugin-test", test.hwnd());
  DestroyWindow(test.hwnd());
  DestroyWindow(select.hwnd());

  // The help windows: quick start (as the menu shows it; its text is put
  // beside the program only now, so it did not open on its own) and fonts
  // (without its modal loop).
  files.CopyFileTo(TIDEMARK_QUICK_START_TEXT, JoinPath(scratch, "Tmrkqst.rtf"), false);
  form.ShowQuickStart();
  shoot("quick-start", form.quickStart()->hwnd());
  form.quickStart()->Hide();
  help::TFontForm fonts(context.settings.fonts, context.pixelsPerInch);
  fonts.Create(form.hwnd());
  ShowWindow(fonts.hwnd(), SW_SHOW);
  shoot("fonts", fonts.hwnd());
  DestroyWindow(fonts.hwnd());
  DestroyWindow(form.hwnd());
  return 0;
}
