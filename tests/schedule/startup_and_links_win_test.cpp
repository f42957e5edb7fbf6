// The startup entry in a Run key of the test's own, and the desktop links
// written to a desktop folder named in a key of the test's own, each read
// back through the shell-link object.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

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
  using enum RegistryType;
  const std::tuple<RegistryType, const char*, bool> cases[] = {
      {String, "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT", true},
      {String, "C:\\TIDEMARK\\TIDEMARK.EXE BOOT", true},   // written by hand, unquoted
      {String, "c:\\tidemark\\tidemark.exe boot", false},  // compared case-sensitively
      {String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\" AUTO", false},
      {String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\"  BOOT", false},
      {ExpandString, "%SystemDrive%\\TIDEMARK.EXE BOOT", true},
      {Binary, "\"C:\\TIDEMARK.EXE\" BOOT", false}};
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

// A link file read back through the shell-link object: target, arguments,
// working folder, icon file, icon index and show command.
std::string ReadLink(const std::string& linkFile) {
  CoInitialize(nullptr);
  std::string contents = "<unreadable>";
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(std::wstring(linkFile.begin(), linkFile.end()).c_str(), STGM_READ))) {
    char text[4][MAX_PATH] = {};
    int icon = -1, show = -1;
    link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(text[1], MAX_PATH);
    link->GetWorkingDirectory(text[2], MAX_PATH);
    link->GetIconLocation(text[3], MAX_PATH, &icon);
    link->GetShowCmd(&show);
    contents = UpperCase(text[0]) + "|" + text[1] + "|" + UpperCase(text[2]) + "|" + UpperCase(text[3]) + "|" +
               std::to_string(icon) + "|" + std::to_string(show);
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return contents;
}

TEST(Shortcuts, DesktopLinksAreWrittenToTheDesktopFolderAndReadBack) {
  test::TempRegistryKey folders;
  test::RedirectedRegistry registry;
  registry.Redirect(kShellFoldersKey, folders.path());
  test::TempFolder desktop, programs;
  platform::RealRegistry().WriteString(RegistryRoot::CurrentUser, folders.path(), "Desktop", desktop.path());
  std::string program = programs.Write("Tidemark Program\\Tidemark.exe", "MZ"), folder = ParentFolder(program);
  const std::array<const char*, 2> expected[] = {
      {"Tidemark.lnk", ""}, {"Tidemark Now.lnk", "auto"}, {"Tidemark & Shutdown.lnk", "SHUT"}};
  // The second round, from a moved program, replaces each link.
  for (std::string target : {programs.Write("Elsewhere\\Tidemark.exe", "MZ"), program})
    for (size_t i = 0; i < kDesktopShortcuts.size(); ++i) {
      const DesktopShortcut& shortcut = kDesktopShortcuts[i];
      std::string linkFile;
      ASSERT_EQ(GenerateShortcut(registry, platform::RealShell(), target, ShortcutLocation::Desktop, shortcut.arguments,
                                 0, shortcut.linkName, shortcut.iconFile, linkFile),
                ShortcutResult::Written);
      EXPECT_EQ(linkFile, desktop / expected[i][0]);
    }
  int links = 0;
  platform::RealFileSystem().ListFolder(desktop.path(), [&](const platform::DirEntry&) { return ++links, true; });
  EXPECT_EQ(links, 3);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(ReadLink(desktop / expected[i][0]), UpperCase(program) + "|" + expected[i][1] + "|" + UpperCase(folder) +
                                                      "|" + UpperCase(folder) + "\\TIDEMRK" + std::to_string(i + 1) +
                                                      ".ICO|0|" + std::to_string(SW_SHOWNORMAL));
}

}  // namespace
}  // namespace tidemark::schedule
