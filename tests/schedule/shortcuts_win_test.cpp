// The shortcut generator over the real shell-link object, with the shell
// folders read from keys of the test's own: each link read back through
// the same interface.
#include "schedule/shortcuts.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "support/redirected_registry_win.h"
#include "support/sandbox_win.h"

namespace tidemark::schedule {
namespace {

using platform::RegistryRoot;

struct LinkContents {
  std::string target, arguments, workingFolder, iconFile;
  int iconIndex = -1;
  int showCommand = -1;
};

std::optional<LinkContents> ReadLink(const std::string& linkFile) {
  std::wstring wide(linkFile.begin(), linkFile.end());
  CoInitialize(nullptr);
  std::optional<LinkContents> contents;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
    char text[MAX_PATH] = {};
    LinkContents read;
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    read.target = text;
    link->GetArguments(text, MAX_PATH);
    read.arguments = text;
    link->GetWorkingDirectory(text, MAX_PATH);
    read.workingFolder = text;
    link->GetIconLocation(text, MAX_PATH, &read.iconIndex);
    read.iconFile = text;
    link->GetShowCmd(&read.showCommand);
    contents = read;
  }
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return contents;
}

class Shortcuts : public ::testing::Test {
 protected:
  Shortcuts() {
    registry.Redirect(kShellFoldersKey, folders.path());
    registry.Redirect(kQuickLaunchKey, mapGroups.path());
    program = programFolder.Write("Tidemark Program\\Tidemark.exe", "MZ");
  }

  void SetFolder(const char* name, const std::string& path) {
    platform::RealRegistry().WriteString(RegistryRoot::CurrentUser, folders.path(), name, path);
  }

  test::TempRegistryKey folders, mapGroups;
  test::RedirectedRegistry registry;
  test::TempFolder desktop, programFolder;
  std::string program;
};

TEST_F(Shortcuts, TheThreeDesktopLinksReadBack) {
  SetFolder("Desktop", desktop.path());
  const char* const arguments[] = {"", "auto", "SHUT"};
  const char* const names[] = {"Tidemark.lnk", "Tidemark Now.lnk", "Tidemark & Shutdown.lnk"};
  for (size_t i = 0; i < kDesktopShortcuts.size(); ++i) {
    const DesktopShortcut& shortcut = kDesktopShortcuts[i];
    SCOPED_TRACE(shortcut.linkName);
    std::string linkFile;
    ASSERT_EQ(GenerateShortcut(registry, platform::RealShell(), program, ShortcutLocation::Desktop, shortcut.arguments,
                               0, shortcut.linkName, shortcut.iconFile, linkFile),
              ShortcutResult::Written);
    EXPECT_EQ(linkFile, desktop / names[i]);
    auto link = ReadLink(linkFile);
    ASSERT_TRUE(link);
    EXPECT_TRUE(SameText(link->target, program)) << link->target;
    EXPECT_EQ(link->arguments, arguments[i]);
    EXPECT_TRUE(SameText(link->workingFolder, ParentFolder(program))) << link->workingFolder;
    EXPECT_TRUE(SameText(link->iconFile, JoinPath(ParentFolder(program), "Tidemrk" + std::to_string(i + 1) + ".ico")))
        << link->iconFile;
    EXPECT_EQ(link->iconIndex, 0);
    EXPECT_EQ(link->showCommand, SW_SHOWNORMAL);  // a link keeps any other normal-window command as this one
  }
}

TEST_F(Shortcuts, SecondPressReplacesTheLink) {
  SetFolder("Desktop", desktop.path());
  std::string moved = programFolder.Write("Elsewhere\\Tidemark.exe", "MZ");
  std::string first, second;
  GenerateShortcut(registry, platform::RealShell(), program, ShortcutLocation::Desktop, "auto", 0, "Tidemark Now",
                   "Tidemrk2.ico", first);
  ASSERT_EQ(GenerateShortcut(registry, platform::RealShell(), moved, ShortcutLocation::Desktop, "auto", 0,
                             "Tidemark Now", "Tidemrk2.ico", second),
            ShortcutResult::Written);
  EXPECT_EQ(first, second);
  int links = 0;
  platform::RealFileSystem().ListFolder(desktop.path(), [&](const platform::DirEntry&) { return ++links, true; });
  EXPECT_EQ(links, 1);
  auto link = ReadLink(second);
  ASSERT_TRUE(link);
  EXPECT_TRUE(SameText(link->target, moved)) << link->target;
}

TEST_F(Shortcuts, EachLocationCodeReadsItsFolder) {
  const std::pair<ShortcutLocation, const char*> shellFolders[] = {{ShortcutLocation::Desktop, "Desktop"},
                                                                   {ShortcutLocation::StartMenu, "Start Menu"},
                                                                   {ShortcutLocation::StartUp, "StartUp"},
                                                                   {ShortcutLocation::SendTo, "SendTo"}};
  for (const auto& [location, name] : shellFolders) SetFolder(name, std::string("C:\\Folder of ") + name);
  platform::RealRegistry().WriteString(RegistryRoot::CurrentUser, mapGroups.path(), "Quick Launch", "C:\\Quick");
  for (const auto& [location, name] : shellFolders)
    EXPECT_EQ(ShortcutFolder(registry, location), std::string("C:\\Folder of ") + name);
  EXPECT_EQ(ShortcutFolder(registry, ShortcutLocation::QuickLaunch), "C:\\Quick");
}

TEST_F(Shortcuts, NothingIsWrittenWithoutAFolder) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    SCOPED_TRACE(value ? "empty value" : "no value");
    if (value) SetFolder("StartUp", value);
    std::string linkFile = "unchanged";
    EXPECT_EQ(GenerateShortcut(registry, platform::RealShell(), program, ShortcutLocation::StartUp, "", 0, "Tidemark",
                               "Tidemrk1.ico", linkFile),
              ShortcutResult::NoFolder);
    EXPECT_EQ(linkFile, "");
  }
}

TEST_F(Shortcuts, AFolderThatCannotTakeTheLinkIsReported) {
  SetFolder("Desktop", desktop / "missing");
  std::string linkFile;
  EXPECT_EQ(GenerateShortcut(registry, platform::RealShell(), program, ShortcutLocation::Desktop, "", 0, "Tidemark",
                             "Tidemrk1.ico", linkFile),
            ShortcutResult::NotSaved);
  EXPECT_FALSE(platform::RealFileSystem().FileExists(linkFile));
}

}  // namespace
}  // namespace tidemark::schedule
