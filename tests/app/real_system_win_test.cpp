// What the application reads from the real system: the desktop's windows,
// the custom IE title and the Windows version in the registry, and the
// manifest files of the themes switch.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "app/browser_activity.h"
#include "app/startup.h"
#include "app/themes.h"
#include "platform/files_win.h"
#include "support/private_desktop_win.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

using platform::RegistryRoot;

HWND Open(const char* title, DWORD style, HWND parent = nullptr) {
  WNDCLASSA windowClass{0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr)};
  windowClass.lpszClassName = "TidemarkProbe";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, parent ? "Static" : "TidemarkProbe", title, style, 0, 0, 300, 200, parent, nullptr,
                                nullptr, nullptr);
  EXPECT_NE(window, nullptr);
  return window;
}

TEST(RealWindowList, GivesClassTitleVisibilityAndDescendantsAndStopsWhenAsked) {
  // On a desktop of its own, where no other test's windows are seen.
  test::OnPrivateDesktop([] {
    std::string longTitle(300, 'x');
    HWND shown = Open(longTitle.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hidden = Open("Hidden one", WS_OVERLAPPEDWINDOW);
    Open("Grandchild", WS_CHILD | WS_VISIBLE, Open("First", WS_CHILD | WS_VISIBLE, shown));
    Open("Second", WS_CHILD | WS_VISIBLE, shown);

    platform::WindowList& desktop = platform::RealWindowList();
    std::map<HWND, platform::TopLevelWindow> seen;
    desktop.ForEachTopLevel([&](const platform::TopLevelWindow& window) {
      if (window.className == "TidemarkProbe") seen[reinterpret_cast<HWND>(window.handle)] = window;
      return true;
    });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[shown].isWindow && seen[shown].visible && seen[hidden].isWindow && !seen[hidden].visible);
    EXPECT_EQ(seen[shown].title, std::string(platform::kMaxWindowText, 'x'));
    EXPECT_EQ(seen[hidden].title, "Hidden one");
    EXPECT_EQ(desktop.DescendantTitles(seen[shown].handle),
              (std::vector<std::string>{"First", "Grandchild", "Second"}));
    EXPECT_TRUE(desktop.DescendantTitles(seen[hidden].handle).empty());

    int visited = 0;
    desktop.ForEachTopLevel([&](const platform::TopLevelWindow&) { return ++visited < 1; });
    EXPECT_EQ(visited, 1);
    DestroyWindow(shown);
    DestroyWindow(hidden);
  });
}

TEST(CustomIETitle, AStringOrExpandableStringUpperCasedElseNothing) {
  test::TempRegistryKey key;
  auto& registry = platform::RealRegistry();
  BrowserActivity state;
  using enum platform::RegistryType;
  for (auto [type, data, title] : {std::tuple{String, std::string("My Browser"), "MY BROWSER"},
                                   {ExpandString, "%Browser%", "%BROWSER%"},
                                   {Dword, std::string("\7\0\0\0", 4), ""}}) {
    state.customIETitle = "OLD";
    ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, key.path(), "Window Title", {type, data}));
    LoadCustomIETitle(state, registry, key.path());
    EXPECT_EQ(state.customIETitle, title);
  }
  EXPECT_EQ(registry.ReadDword(RegistryRoot::CurrentUser, key.path(), "Window Title"), 7u);  // read only
  LoadCustomIETitle(state, registry, key.path() + "\\Missing");
  EXPECT_EQ(state.customIETitle, "");
}

TEST(WindowsVersion, TheRegistryReplacesTheReportedNumbers) {
  WindowsVersion version = ApplyRegistryVersion({2, 5, 1, 2600}, platform::RealRegistry());
  auto current = platform::RealRegistry().ReadString(
      RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion");
  ASSERT_TRUE(current.has_value());
  EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor), *current);
  // Not the NT family: nothing is replaced.
  EXPECT_EQ(ApplyRegistryVersion({1, 4, 10, 1998}, platform::RealRegistry()).major, 4);
}

TEST(Themes, StateFollowsTheManifestFilesOnNTOnly) {
  test::TempFolder folder;
  platform::Win32FileSystem files;
  std::string program = folder / "Tidemark.exe";
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesUnavailable);
  folder.Write("Tidemark.exe.ManifesX", "parked");
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesOff);
  folder.Write("Tidemark.exe.ManifesT", "themed");
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesOn);  // ".ManifesT" wins
  EXPECT_EQ(ReadThemeState(files, program, false), kThemesUnavailable);
  // A folder of that name is no manifest.
  ASSERT_TRUE(files.CreateFolders(folder / "Other.exe.ManifesT"));
  EXPECT_EQ(ReadThemeState(files, folder / "Other.exe", true), kThemesUnavailable);
}

}  // namespace
}  // namespace tidemark::app
