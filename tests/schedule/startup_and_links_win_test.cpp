// The startup entry in a Run key of the test's own, and the shortcut
// generator over the real shell-link object with the shell folders read
// from keys of the test's own, each link read back through the same object.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "schedule/shortcuts.h"
#include "schedule/startup_entry.h"
#include "support/redirected_registry_win.h"
#include "support/sandbox_win.h"

namespace tidemark::schedule {
namespace {

using platform::RegistryRoot;
using platform::RegistryType;

TEST(StartupEntry, CountsAsSetByTheEndOfItsDataAndIsTheQuotedShortPathInUpperCase) {
  const std::tuple<RegistryType, const char*, bool> cases[] = {
      {RegistryType::String, "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT", true},
      {RegistryType::String, "C:\\TIDEMARK\\TIDEMARK.EXE BOOT", true},  // written by hand, unquoted
      {RegistryType::String, "c:\\tidemark\\tidemark.exe boot", false},  // compared case-sensitively
      {RegistryType::String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\" AUTO", false},
      {RegistryType::String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\"  BOOT", false},
      {RegistryType::ExpandString, "%SystemDrive%\\TIDEMARK.EXE BOOT", true},
      {RegistryType::Binary, "\"C:\\TIDEMARK.EXE\" BOOT", false},
  };
  platform::Registry& registry = platform::RealRegistry();
  for (const auto& [type, data, set] : cases) {
    test::TempRegistryKey run;
    ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, run.path(), kStartupValueName, {type, data}));
    EXPECT_EQ(StartupEntryIsSet(registry, run.path()), set) << data;
  }
  test::TempRegistryKey parent;
  EXPECT_FALSE(StartupEntryIsSet(registry, parent.path()));
  EXPECT_TRUE(RemoveStartupEntry(registry, parent.path() + "\\NoSuchKey"));  // nothing to remove: a success
  EXPECT_EQ(StartupRunValue("C:\\Program Files\\Tidemark\\Tidemark.exe", "C:\\PROGRA~1\\TIDEMARK\\Tidemark.exe"),
            "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT");
  EXPECT_EQ(StartupRunValue("D:\\My Tidemark\\tidemark.exe", ""), "\"D:\\MY TIDEMARK\\TIDEMARK.EXE\" BOOT");
}

struct Link {
  std::string target, arguments, folder, icon;
  int iconIndex = -1, show = -1;
};

std::optional<Link> ReadLink(const std::string& linkFile) {
  CoInitialize(nullptr);
  std::optional<Link> contents;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(std::wstring(linkFile.begin(), linkFile.end()).c_str(), STGM_READ))) {
    char text[4][MAX_PATH] = {};
    Link read;
    link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(text[1], MAX_PATH);
    link->GetWorkingDirectory(text[2], MAX_PATH);
    link->GetIconLocation(text[3], MAX_PATH, &read.iconIndex);
    link->GetShowCmd(&read.show);
    contents = Link{text[0], text[1], text[2], text[3], read.iconIndex, read.show};
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return contents;
}

TEST(Shortcuts, EachLocationCodeReadsItsFolderAndTheDesktopLinksReadBack) {
  test::TempRegistryKey folders, mapGroups;
  test::RedirectedRegistry registry;
  registry.Redirect(kShellFoldersKey, folders.path());
  registry.Redirect(kQuickLaunchKey, mapGroups.path());
  test::TempFolder desktop, programs;
  const std::pair<ShortcutLocation, const char*> locations[] = {{ShortcutLocation::Desktop, "Desktop"},
                                                                {ShortcutLocation::StartMenu, "Start Menu"},
                                                                {ShortcutLocation::StartUp, "StartUp"},
                                                                {ShortcutLocation::SendTo, "SendTo"}};
  auto& real = platform::RealRegistry();
  for (const auto& [location, name] : locations)
    real.WriteString(RegistryRoot::CurrentUser, folders.path(), name, std::string("C:\\Folder of ") + name);
  real.WriteString(RegistryRoot::CurrentUser, mapGroups.path(), "Quick Launch", "C:\\Quick");
  for (const auto& [location, name] : locations)
    EXPECT_EQ(ShortcutFolder(registry, location), std::string("C:\\Folder of ") + name);
  EXPECT_EQ(ShortcutFolder(registry, ShortcutLocation::QuickLaunch), "C:\\Quick");

  real.WriteString(RegistryRoot::CurrentUser, folders.path(), "Desktop", desktop.path());
  std::string program = programs.Write("Tidemark Program\\Tidemark.exe", "MZ");
  const std::array<const char*, 2> expected[] = {
      {"Tidemark.lnk", ""}, {"Tidemark Now.lnk", "auto"}, {"Tidemark & Shutdown.lnk", "SHUT"}};
  // The second round, from a moved program, replaces each link.
  for (std::string target : {programs.Write("Elsewhere\\Tidemark.exe", "MZ"), program})
    for (size_t i = 0; i < kDesktopShortcuts.size(); ++i) {
      const DesktopShortcut& shortcut = kDesktopShortcuts[i];
      std::string linkFile;
      ASSERT_EQ(GenerateShortcut(registry, platform::RealShell(), target, ShortcutLocation::Desktop,
                                 shortcut.arguments, 0, shortcut.linkName, shortcut.iconFile, linkFile),
                ShortcutResult::Written);
      EXPECT_EQ(linkFile, desktop / expected[i][0]);
    }
  int links = 0;
  platform::RealFileSystem().ListFolder(desktop.path(), [&](const platform::DirEntry&) { return ++links, true; });
  EXPECT_EQ(links, 3);
  for (size_t i = 0; i < 3; ++i) {
    auto link = ReadLink(desktop / expected[i][0]);
    ASSERT_TRUE(link) << expected[i][0];
    EXPECT_TRUE(SameText(link->target, program)) << link->target;
    EXPECT_EQ(link->arguments, expected[i][1]);
    EXPECT_TRUE(SameText(link->folder, ParentFolder(program))) << link->folder;
    EXPECT_TRUE(SameText(link->icon, ParentFolder(program) + "\\Tidemrk" + std::to_string(i + 1) + ".ico")) << link->icon;
    EXPECT_EQ(std::pair(link->iconIndex, link->show), std::pair(0, SW_SHOWNORMAL));
  }
}

}  // namespace
}  // namespace tidemark::schedule
