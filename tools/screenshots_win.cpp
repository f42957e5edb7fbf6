// Pictures of the main window for the docs and for reviews: creates the
// window in-process over a scratch data folder, shows each tab in turn and
// writes what the screen shows of the window as a BMP file per tab.
// Usage: screenshots.exe <output folder> <name prefix>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_form_win.h"
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

  app::TFFoxForm form(context, app::PurgeBodies{});
  form.Create(nullptr);
  form.ShowAtStart();
  SetForegroundWindow(form.hwnd());
  form.BrowserTick();
  Settle(800);

  auto shoot = [&](const std::string& name) {
    Settle(400);
    std::string path = JoinPath(output, prefix + "-" + name + ".bmp");
    if (!SaveWindowPicture(form.hwnd(), path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  };
  const char* const optionTabs[] = {"standard-options", "purge-now-options", "startup-options", "shutdown-options"};
  for (int tab = 0; tab < 4; ++tab) {
    form.SelectMainTab(app::MainTab::Options);
    form.SelectOptionTab(tab);
    shoot(optionTabs[tab]);
  }
  form.SelectMainTab(app::MainTab::Configure);
  const char* const configPages[] = {"configure-general", "configure-purge-now", "configure-startup",
                                     "configure-shutdown", "configure-temp-folders"};
  for (int page = 0; page < 5; ++page) {
    form.SelectConfigTab(page);
    shoot(configPages[page]);
  }
  form.PreviewBtnClick();
  shoot("results-no-options");
  form.DisplayFoldersAndFiles();
  shoot("results-folders-and-files");
  DestroyWindow(form.hwnd());
  return 0;
}
