// The deletion engine's guarantees over the in-memory file system, where someone else can act between two steps: no
// root, system folder or link is emptied, no checked folder or file can be swapped for another, no rewritten name is
// used, and every outcome is told as it is.
#include <gtest/gtest.h>

#include "engine/deletion.h"
#include "engine/labels.h"
#include "support/memory_purge.h"

namespace tidemark::engine {
namespace {

using Lines = std::vector<std::string>;

class DeletionSafety : public ::testing::Test {
 protected:
  DeletionSafety() {
    p.none.windowsFolder = "C:\\WINDOWS";
    p.none.specialFolders[platform::csidl::kProfile] = "C:\\Users\\me";
    p.files.AddFile("C:\\Victim\\a.txt", "precious");
    p.files.AddFile("C:\\Victim\\deep\\b.txt", "precious");
  }
  DeletionEngine& Engine() {
    p.r.sink.lines.clear();
    return p.Environment().deletion;
  }
  void Empty(const std::string& folder) { Engine().DeleteFolderContents(folder, "*.*", false); }
  bool VictimIntact() {
    return p.files.ReadFile("C:\\Victim\\a.txt") == "precious" && p.files.ReadFile("C:\\Victim\\deep\\b.txt") == "precious";
  }

  test::MemoryPurge p;
};

TEST_F(DeletionSafety, RootsInEverySpellingSystemFoldersAndLinksAreNeverEmptied) {
  for (const char* file : {"C:\\top.txt", "C:\\WINDOWS\\win.ini", "C:\\Users\\me\\ntuser.dat"}) p.files.AddFile(file, "x");
  p.files.AddLink("C:\\TEMP", "C:\\Victim");
  for (const char* folder : {"C:\\.", "C:\\\\", "C:\\x\\..", "C:/Victim/../", "C:\\Victim\\..\\..\\.", "C:",
                             "relative\\dir", "\\\\srv\\share\\", "\\\\srv\\share\\dir\\..", "\\\\?\\C:\\Victim",
                             "\\\\.\\C:\\Victim", "C:\\Victim.", "C:\\Vic*", "c:\\windows\\", "C:\\USERS\\ME"}) {
    Empty(folder);
    EXPECT_EQ(p.Lines(), Lines{" -Error- Folder may not be purged, not Processed - " + std::string(folder)});
  }
  Empty("C:\\TEMP");
  EXPECT_EQ(p.Lines(), Lines{" -Error- Folder is a link, not Processed - C:\\TEMP"});
  EXPECT_EQ(p.r.report.ErrorLevel(), 7);
  EXPECT_TRUE(VictimIntact() && p.files.FileExists("C:\\top.txt") && p.files.FileExists("C:\\WINDOWS\\win.ini") &&
              p.files.FileExists("C:\\Users\\me\\ntuser.dat"));

  // One step below each is an ordinary folder, spelt as the system resolves it.
  p.files.AddFile("C:\\WINDOWS\\Temp\\old.tmp", "x");
  p.files.AddFile("C:\\Users\\me\\Temp\\old.tmp", "x");
  Empty("C:\\WINDOWS\\.\\Temp\\");
  Empty("C:/Users/me/x/../Temp");
  EXPECT_EQ(p.Lines(), Lines{std::string(kDeleted) + "C:\\USERS\\ME\\TEMP\\OLD.TMP"});
  EXPECT_FALSE(p.files.FileExists("C:\\WINDOWS\\Temp\\old.tmp") || p.files.FileExists("C:\\Users\\me\\Temp\\old.tmp"));
}

TEST_F(DeletionSafety, AFolderCheckedOrListedCannotBeSwappedForALinkBeforeItsFilesGo) {
  for (const char* step : {"hold", "list"}) {
    p.files.AddFile("C:\\Temp\\sub\\a.txt", "junk");
    p.files.AddFile("C:\\Temp\\sub\\deep\\b.txt", "junk");
    bool tried = false, swapped = false;
    p.files.afterStep = [&](std::string_view done, const std::string& path) {
      if (done == step && path == "C:\\Temp\\sub" && !tried)
        tried = true, swapped = p.files.SwapForLink(path, "C:\\Victim");
    };
    Empty("C:\\Temp");
    EXPECT_TRUE(tried && !swapped) << step;
    EXPECT_TRUE(VictimIntact()) << step;
    EXPECT_FALSE(p.files.FolderExists("C:\\Temp\\sub")) << step;
  }
}

TEST_F(DeletionSafety, AShredWritesOnlyTheFileItCheckedAndTellsWhatItLeaves) {
  p.state.flags.secureErase = true;
  p.files.AddFile("C:\\Temp\\s.bin", "secret");
  // Someone tries to give the name to another file once its checks are done.
  bool tried = false, swapped = false;
  p.files.afterStep = [&](std::string_view step, const std::string& path) {
    if (step == "attributes" && path.find("_Saltpan_") != std::string::npos && !tried)
      tried = true, swapped = p.files.SwapForSecondName("C:\\Temp\\s.bin", "C:\\Victim\\a.txt");
  };
  DeletionEngine& engine = Engine();
  EXPECT_TRUE(engine.DeleteOrShredFile("C:\\Temp\\s.bin", ""));
  EXPECT_TRUE(tried && !swapped && VictimIntact() && !p.files.FileExists("C:\\Temp\\s.bin"));
  p.files.afterStep = nullptr;

  // Rename refused but the delete done: deleted. The emptied file left under its scratch name: not deleted.
  std::string refused;
  p.files.fault = [&](std::string_view operation, const std::string& path) -> uint32_t {
    return operation == refused || (refused == "scratch" && operation == "remove" &&
                                    path.find("_Saltpan_") != std::string::npos)
               ? 5
               : 0;
  };
  for (const auto& [step, deleted, error] : {std::tuple{"rename", true, 0u}, {"scratch", false, 5u}}) {
    refused = step;
    p.files.AddFile("C:\\Temp\\t.bin", "secret");
    EXPECT_EQ(engine.DeleteOrShredFile("C:\\Temp\\t.bin", ""), deleted) << step;
    EXPECT_EQ(engine.LastDeleteError, error) << step;
    EXPECT_FALSE(p.files.FileExists("C:\\Temp\\t.bin")) << step;
  }
  refused.clear();

  // Cancel before a pass: the file stays whole and is not deleted.
  p.files.AddFile("C:\\Temp\\u.bin", "secret");
  p.state.cancelRequested = true;
  EXPECT_FALSE(engine.DeleteOrShredFile("C:\\Temp\\u.bin", ""));
  EXPECT_EQ(engine.DeletionLabel(engine.LastDeleteError), " -Error-1223     ");
  EXPECT_EQ(p.files.ReadFile("C:\\Temp\\u.bin"), "secret");
}

TEST_F(DeletionSafety, NamesTheAnsiApiRewritesAreReachedByTheir83NameOrLeftAndAnUnlistableFolderIsSaidSo) {
  p.protect.entries = {"p=keep.dat"};
  p.files.AddFile("C:\\Temp\\keep.dat", "protected");
  p.files.AddFile("C:\\Temp\\keep.dat.", "x");
  p.files.AddFile("C:\\Temp\\keep.dat ", "x", 0, 0, "KEEPDA~1.DAT");
  p.files.AddFile("C:\\Temp\\k?y.txt", "x");
  p.files.AddFile("C:\\Temp\\dir.\\inside.txt", "x");
  p.files.AddFile("C:\\Temp\\locked\\inside.txt", "x");
  p.files.fault = [](std::string_view operation, const std::string& path) -> uint32_t {
    return operation == "list" && path == "C:\\Temp\\locked" ? 5 : 0;
  };
  DeletionEngine& engine = Engine();
  engine.DeleteFolderContents("C:\\Temp", "*.*", false);
  std::string invalid = " -Error-123      C:\\TEMP\\";
  EXPECT_EQ(test::Sorted(p.Lines()),
            test::Sorted({std::string(kProtected) + "C:\\TEMP\\KEEP.DAT", invalid + "KEEP.DAT.", invalid + "K?Y.TXT",
                          invalid + "DIR.", std::string(kDeleted) + "C:\\TEMP\\KEEP.DAT ",
                          " -Error- Folder could not be listed - C:\\TEMP\\LOCKED - Error 5"}));
  EXPECT_EQ(p.files.ReadFile("C:\\Temp\\keep.dat"), "protected");
  EXPECT_TRUE(p.files.FileExists("C:\\Temp\\locked\\inside.txt"));
  EXPECT_EQ(engine.ItemsProcessed, 5);
}

}  // namespace
}  // namespace tidemark::engine
