// The plugin commands under Wine, on scratch folders and a scratch registry
// key only: folder types, masks, wildcards, text and XML edits, registry
// values and keys, programs, the protect list and the refused statements.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/labels.h"
#include "platform/files_win.h"
#include "platform/process_win.h"
#include "platform/text.h"
#include "plugins/plugin_interpreter.h"
#include "support/purge_fixture_win.h"

namespace tidemark::plugins {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

platform::FileSystem& Files() { return platform::RealFileSystem(); }
platform::Registry& Reg() { return platform::RealRegistry(); }

class PluginCommands : public ::testing::Test {
 protected:
  explicit PluginCommands(test::PurgePlatformChoice choice = {}) : f(choice) {}

  // Runs a plugin's lines; answers the report lines they wrote.
  Lines Run(const Lines& plugin) {
    f.r.sink.lines.clear();
    PluginInterpreter interpreter(f.Environment(), false);
    interpreter.RunPlugin(plugin);
    entries = interpreter.PluginEntryCount;
    return f.Lines();
  }
  // The report lines that begin with a label (the command echoes left out).
  Lines Results(const Lines& plugin) {
    Lines results;
    for (const std::string& line : Run(plugin))
      if (StartsWith(line, "  ") || StartsWith(line, " -")) results.push_back(line);
    return results;
  }
  // The scratch folder as plugin lines name it, and as reports show it.
  std::string Dir() const { return UpperCase(f.scratch.path()); }
  std::string Real() const { return f.scratch.path(); }
  std::string Key() const { return UpperCase(key.path()); }
  bool Exists(const std::string& relative) const { return Files().Attributes(f.scratch / relative).has_value(); }
  // Every file and folder below the scratch folder, relative, sorted.
  Lines Tree() const {
    Lines found;
    std::function<void(const std::string&)> walk = [&](const std::string& relative) {
      Files().ListFolder(f.scratch / relative, [&](const platform::DirEntry& entry) {
        std::string name = relative.empty() ? entry.name : relative + "\\" + entry.name;
        found.push_back(entry.IsDirectory() ? name + "\\" : name);
        if (entry.IsDirectory()) walk(name);
        return true;
      });
    };
    walk("");
    std::sort(found.begin(), found.end());
    return found;
  }

  test::PurgeFixture f;
  test::TempRegistryKey key;
  int entries = 0;
};

struct FolderTypeCase {
  const char* type;
  Lines kept;
};

TEST_F(PluginCommands, EachFolderTypeOnOneTree) {
  const FolderTypeCase cases[] = {
      {"IS", {"T\\", "T\\NOTE.TXT", "T\\SUB\\", "T\\SUB\\B.TMP", "T\\SUB\\DEEP\\", "T\\SUB\\DEEP\\C.TMP"}},
      {"PS", {"T\\", "T\\NOTE.TXT", "T\\SUB\\", "T\\SUB\\DEEP\\"}},
      {"DS", {"T\\", "T\\NOTE.TXT"}},
      {"OR", {"T\\", "T\\A.TMP", "T\\NOTE.TXT", "T\\SUB\\", "T\\SUB\\DEEP\\"}},
      {"OD", {"T\\", "T\\A.TMP", "T\\NOTE.TXT"}},
  };
  for (const FolderTypeCase& c : cases) {
    for (const char* file : {"T\\A.TMP", "T\\NOTE.TXT", "T\\SUB\\B.TMP", "T\\SUB\\DEEP\\C.TMP"}) f.scratch.Write(file, "x");
    Run({"DELFOLD=" + Dir() + "\\T\\[*.TMP]" + c.type});
    EXPECT_EQ(Tree(), c.kept) << c.type;
    test::RemoveTree(f.scratch / "T");
  }
  // OD: what lies below, each file before its folder, each folder after its contents.
  for (const char* file : {"T\\SUB\\B.TMP", "T\\SUB\\DEEP\\C.TMP"}) f.scratch.Write(file, "x");
  int processed = f.r.report.TotalProcessed();
  Lines results = Results({"DELFOLD=" + Dir() + "\\T[*.TMP]OD"});
  EXPECT_EQ(results, (Lines{"         deleted - " + Real() + "\\T\\SUB\\B.TMP",
                            "         deleted - " + Real() + "\\T\\SUB\\DEEP\\C.TMP",
                            "         deleted - " + Real() + "\\T\\SUB\\DEEP",
                            "         deleted - " + Real() + "\\T\\SUB"}));
  EXPECT_EQ(entries, 4);
  EXPECT_EQ(f.r.report.TotalProcessed() - processed, 4);
}

TEST_F(PluginCommands, MaskExtensionsWithAndWithoutStar) {
  auto make = [&] {
    for (const char* file : {"M\\PAGE.HTM", "M\\PAGE.HTML", "M\\README"}) f.scratch.Write(file, "x");
  };
  make();
  Run({"DELFOLD=" + Dir() + "\\M[*.HTM]IS"});
  EXPECT_EQ(Tree(), (Lines{"M\\", "M\\PAGE.HTML", "M\\README"}));
  Run({"DELFOLD=" + Dir() + "\\M[*.HT*]IS"});
  EXPECT_EQ(Tree(), (Lines{"M\\", "M\\README"}));
  make();
  Run({"DELFOLD=" + Dir() + "\\M[*]IS"});
  EXPECT_EQ(Tree(), (Lines{"M\\"}));
}

TEST_F(PluginCommands, FolderWildcardsReachEveryMatchingFolder) {
  for (const char* file : {"P\\A.DEFAULT\\CACHE\\X.TMP", "P\\B.DEFAULT\\CACHE\\Y.TMP", "P\\OTHER\\CACHE\\Z.TMP",
                           "P\\A.DEFAULT\\LOG.TXT", "P\\B.DEFAULT\\LOG.TXT", "P\\OTHER\\LOG.TXT"})
    f.scratch.Write(file, "x");
  Run({"DELFOLD=" + Dir() + "\\P\\*.DEFAULT\\CACHE[*.*]IS", "DELFILE=" + Dir() + "\\P\\?.DEFAULT\\LOG.TXT"});
  EXPECT_EQ(Tree(), (Lines{"P\\", "P\\A.DEFAULT\\", "P\\A.DEFAULT\\CACHE\\", "P\\B.DEFAULT\\", "P\\B.DEFAULT\\CACHE\\",
                           "P\\OTHER\\", "P\\OTHER\\CACHE\\", "P\\OTHER\\CACHE\\Z.TMP", "P\\OTHER\\LOG.TXT"}));
}

TEST_F(PluginCommands, ADirectoryLinkIsNeverFollowed) {
  std::string links = TIDEMARK_PLUGIN_LINKS;
  if (!Files().FolderExists(links + "\\profiles\\link.default")) GTEST_SKIP() << "no link fixture at " << links;
  std::string profiles = UpperCase(links) + "\\PROFILES";
  Run({"DELFOLD=" + profiles + "\\*.DEFAULT\\CACHE[*.*]IS", "DELFOLD=" + profiles + "[*.*]PS"});
  f.state.previewMode = true;
  Lines preview = Results({"DELFOLD=" + profiles + "[*.*]DS"});
  EXPECT_EQ(Files().ReadFile(links + "\\target\\cache\\precious.tmp"), "keep me");
  // Only the link itself would go.
  EXPECT_EQ(preview, (Lines{"       to delete - " + links + "\\profiles\\link.default"}));
}

TEST_F(PluginCommands, DelTextListsInPreviewAndDeletesInPurge) {
  std::string text = "[Recent]\r\nFile1=C:\\a.doc\r\nkeep=1\nfile2=C:\\b.doc\r\n";
  std::string file = f.scratch.Write("APP.INI", text);
  f.state.previewMode = true;
  Lines plugin = {"DELTEXT=" + Dir() + "\\APP.INI['FILE']"};
  EXPECT_EQ(Results(plugin), (Lines{"       to delete - FILE2=C:\\B.DOC", "       to delete - FILE1=C:\\A.DOC"}));
  EXPECT_EQ(Files().ReadFile(file), text);
  f.state.previewMode = false;
  EXPECT_EQ(Results(plugin), (Lines{"         deleted - FILE2=C:\\B.DOC", "         deleted - FILE1=C:\\A.DOC"}));
  EXPECT_EQ(Files().ReadFile(file), "[Recent]\r\nkeep=1\n");
  EXPECT_EQ(entries, 2);
  EXPECT_EQ(Results({"DELTEXT=" + Dir() + "\\NONE.INI[X]"}), (Lines{"    file not present - " + Real() + "\\NONE.INI"}));
}

TEST_F(PluginCommands, DelExmlListsInPreviewAndCutsInPurge) {
  std::string xml =
      "<prefs>\r\n  <history count=\"2\">\r\n    <url>a</url>\r\n  </history>\r\n  <HISTORY/>\r\n"
      "  <keep>1</keep><history />\r\n</prefs>\r\n";
  std::string file = f.scratch.Write("PREFS.XML", xml);
  f.state.previewMode = true;
  Lines plugin = {"DELEXML=" + Dir() + "\\PREFS.XML[history]"};
  EXPECT_EQ(Results(plugin), (Lines{"       to delete - <history count=\"2\"> <url>a</url> </history>",
                                    "       to delete - <HISTORY/>", "       to delete - <history />"}));
  EXPECT_EQ(Files().ReadFile(file), xml);
  f.state.previewMode = false;
  EXPECT_EQ(Results(plugin).size(), 3u);
  EXPECT_EQ(Files().ReadFile(file), "<prefs>\r\n  <keep>1</keep>\r\n</prefs>\r\n");
  EXPECT_EQ(entries, 3);
}

// Writes fail; reading and everything else is real.
class UnwritableFiles : public platform::Win32FileSystem {
 public:
  bool WriteFile(const std::string&, const std::string&) override { return Fail(ERROR_DISK_FULL); }
};

class FailingWrites : public PluginCommands {
 protected:
  FailingWrites() : PluginCommands({.files = &unwritable}) {}
  static inline UnwritableFiles unwritable;
};

TEST_F(FailingWrites, AFailedWriteKeepsTheWholeFile) {
  std::string text = "a=1\r\nb=2\r\n", xml = "<r><x/></r>";
  std::string ini = f.scratch.Write("A.INI", text), xmlFile = f.scratch.Write("A.XML", xml);
  EXPECT_EQ(Results({"DELTEXT=" + Dir() + "\\A.INI[A=]", "DELEXML=" + Dir() + "\\A.XML[X]"}),
            (Lines{"     Not updated - " + Real() + "\\A.INI", "     Not updated - " + Real() + "\\A.XML"}));
  EXPECT_EQ(Files().ReadFile(ini), text);
  EXPECT_EQ(Files().ReadFile(xmlFile), xml);
  EXPECT_EQ(Tree(), (Lines{"A.INI", "A.XML"}));  // no scratch file left behind
}

TEST_F(PluginCommands, ProtectAndIgnoreEntries) {
  f.protect.entries = {"p=*.keep", "i=*\\busy\\*"};
  f.scratch.Write("A.KEEP", "x");
  std::string busy = f.scratch.Write("BUSY\\IN-USE.DAT", "x");
  std::string held = f.scratch.Write("HELD.DAT", "x");
  HANDLE open1 = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE open2 = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Lines results = Results({"DELFILE=" + Dir() + "\\A.KEEP", "DELFILE=" + Dir() + "\\BUSY\\IN-USE.DAT",
                           "DELFILE=" + Dir() + "\\HELD.DAT"});
  CloseHandle(open1);
  CloseHandle(open2);
  EXPECT_EQ(results, (Lines{"       Protected - " + Real() + "\\A.KEEP", "   Ignore Locked - " + Real() + "\\BUSY\\IN-USE.DAT",
                            "          Locked - " + Real() + "\\HELD.DAT"}));
  EXPECT_TRUE(Exists("A.KEEP"));
  // A protected folder is not entered.
  f.protect.entries = {"p=*\\keep\\"};
  f.scratch.Write("D\\KEEP\\INNER.TMP", "x");
  Run({"DELFOLD=" + Dir() + "\\D[*.*]DS"});
  EXPECT_TRUE(Exists("D\\KEEP\\INNER.TMP"));
}

TEST_F(PluginCommands, DelFileReportsMissingFilesAndDeletesReadOnlyOnes) {
  std::string file = f.scratch.Write("RO.TXT", "x");
  Files().SetAttributes(file, platform::kAttrReadOnly);
  f.state.flags.detailReport = false;  // failures and missing files: no success lines
  EXPECT_EQ(Results({"DELFILE=" + Dir() + "\\RO.TXT", "DELFILE=" + Dir() + "\\NONE.TXT"}), Lines{});
  EXPECT_FALSE(Exists("RO.TXT"));
  EXPECT_EQ(entries, 1);
}

class RegistryCommands : public PluginCommands {
 protected:
  RegistryCommands() {
    Write("", "FileA", "one");
    Write("", "MyFile", "two");
    Write("", "Other", "three");
    Reg().WriteDword(RegistryRoot::CurrentUser, key.path() + "\\S1", "FileCount", 7);
    Write("S1", "Keep", "x");
    Write("S2", "FileB", "y");
    Write("FILESUB\\DEEP", "V", "z");
  }
  void Write(const std::string& sub, const std::string& name, const std::string& value) {
    Reg().WriteString(RegistryRoot::CurrentUser, sub.empty() ? key.path() : key.path() + "\\" + sub, name, value);
  }
  Lines Values(const std::string& sub = "") {
    Lines names = Reg().ValueNames(RegistryRoot::CurrentUser, sub.empty() ? key.path() : key.path() + "\\" + sub);
    std::erase(names, "");
    std::sort(names.begin(), names.end());
    return names;
  }
  Lines SubKeys() {
    Lines names = Reg().SubKeys(RegistryRoot::CurrentUser, key.path());
    std::sort(names.begin(), names.end());
    return names;
  }
};

struct ValuesCase {
  const char* string;
  const char* match;
  Lines kept;
};

TEST_F(RegistryCommands, DelValsByBeginningContainingAndAll) {
  const ValuesCase cases[] = {
      {"FILE", "B", {"MyFile", "Other"}},
      {"FILE", "C", {"Other"}},
      {"FILE", "A", {"FileA", "MyFile", "Other"}},
      {"*", "B", {}},
  };
  for (const ValuesCase& c : cases) {
    Write("", "FileA", "one");
    Write("", "MyFile", "two");
    Write("", "Other", "three");
    Run({"DELVALS=HKCU:" + Key() + "['" + c.string + "']" + c.match});
    EXPECT_EQ(Values(), c.kept) << c.string << c.match;
  }
}

TEST_F(RegistryCommands, ValueLinesShowTextOrType) {
  f.state.previewMode = true;
  EXPECT_EQ(Results({"DELSKVS=HKCU:" + Key() + "[FILE]B", "DEL1VAL=HKCU:" + Key() + "[NONE]"}),
            (Lines{"   to delete Val - S1[FILECOUNT] - Type = Reg_Dword", "   to delete Val - S2[FILEB] - y",
                   "   value not present - NONE"}));
  EXPECT_EQ(Values("S1"), (Lines{"FileCount", "Keep"}));
  f.state.previewMode = false;
  EXPECT_EQ(Results({"DELSKVS=HKCU:" + Key() + "[FILE]B"}),
            (Lines{"     Val deleted - S1[FILECOUNT] - Type = Reg_Dword", "     Val deleted - S2[FILEB] - y"}));
  EXPECT_EQ(Values("S1"), (Lines{"Keep"}));
  EXPECT_EQ(Values("S2"), Lines{});
}

TEST_F(RegistryCommands, Rot13ShowsValueNamesDecoded) {
  Write("UA", "HRZR_EHACNGU", "x");
  EXPECT_EQ(Results({"ROT13", "DEL1VAL=HKCU:" + Key() + "\\UA[HRZR_EHACNGU]"}),
            (Lines{"     Val deleted - UEME_RUNPATH - x"}));
}

TEST_F(RegistryCommands, Del1KeyReportsSubKeysBeforeTheKey) {
  std::string base = Key() + "\\FILESUB";
  EXPECT_EQ(Results({"DEL1KEY=HKCU:" + base, "DEL1KEY=HKCU:" + base}),
            (Lines{"     Key deleted - " + base + "\\DEEP", "     Key deleted - " + base, "     key not present - " + base}));
  EXPECT_EQ(entries, 2);
  EXPECT_EQ(SubKeys(), (Lines{"S1", "S2"}));
}

TEST_F(RegistryCommands, DelKeysAndKeyWildcards) {
  f.state.previewMode = true;
  EXPECT_EQ(Run({"DELKEYS=HKCU:" + Key() + "[S]B"}).size(), 3u);  // the line and two keys
  EXPECT_EQ(SubKeys(), (Lines{"FILESUB", "S1", "S2"}));
  f.state.previewMode = false;
  Lines results = Run({"DEL1VAL=HKCU:" + Key() + "\\S?[KEEP]"});
  EXPECT_EQ(std::count(results.begin(), results.end(), "    key=HKCU:" + Key() + "\\S1"), 1);
  EXPECT_EQ(std::count(results.begin(), results.end(), "    key=HKCU:" + Key() + "\\S2"), 1);
  EXPECT_EQ(Values("S1"), (Lines{"FileCount"}));
  Run({"DELKEYS=HKCU:" + Key() + "[*]A"});
  EXPECT_EQ(SubKeys(), Lines{});
}

TEST_F(RegistryCommands, AnUnknownRootRaisesTheLevel) {
  EXPECT_EQ(Results({"DEL1VAL=HKXX:" + Key() + "[FILEA]"}), (Lines{"    invalid Root - " + Key()}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 5);
  EXPECT_EQ(Values().size(), 3u);
}

class Programs : public PluginCommands {
 protected:
  Programs() {
    // A folder with a blank: the whole path names the program.
    program = f.scratch / "My Tools\\STANDIN.EXE";
    Files().CreateFolders(ParentFolder(program));
    Files().CopyFileTo(TIDEMARK_PLUGIN_PROGRAM, program, false);
  }
  std::optional<std::string> Marker() { return Files().ReadFile(program + ".ran"); }
  std::string program;
};

TEST_F(Programs, PreviewStartsNothingWhateverTheReports) {
  f.state.previewMode = true;
  f.state.flags.detailReport = false;
  EXPECT_EQ(Results({"EXECUTE=" + program, "EXEHIDE=" + program}),
            (Lines{"      to execute - " + UpperCase(program), "      to execute - " + UpperCase(program)}));
  Sleep(600);
  EXPECT_FALSE(Marker());
}

TEST_F(Programs, ExecuteWaitsWithTheWindowsAliveAndExehideDoesNot) {
  f.state.flags.detailReport = false;
  EXPECT_EQ(Results({"EXECUTE=" + program}), (Lines{"        executed - " + UpperCase(program)}));
  EXPECT_EQ(Marker(), std::to_string(SW_SHOWNORMAL));  // ended before the run went on
  EXPECT_GE(f.r.pump.pumps, 2);                       // about every tenth of a second
  Files().RemoveFile(program + ".ran");

  EXPECT_EQ(Results({"EXEHIDE=" + program}), (Lines{"        executed - " + UpperCase(program)}));
  EXPECT_FALSE(Marker());  // still running
  for (int i = 0; i < 50 && !Marker(); ++i) Sleep(100);
  EXPECT_EQ(Marker(), std::to_string(SW_HIDE));
  EXPECT_EQ(Results({"EXECUTE=" + Dir() + "\\NONE.EXE"}), (Lines{"     exec failed - " + Dir() + "\\NONE.EXE"}));
}

TEST_F(PluginCommands, RefusedStatementsTouchNothing) {
  // A relative path would act in whatever folder is current.
  f.scratch.Write("VICTIM.LOG", "x");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(f.scratch.path().c_str());
  Lines results = Results({"DELFILE=#NOSUCH#\\VICTIM.LOG", "DELFILE=VICTIM.LOG", "DELFOLD=C:[*.LOG]IS",
                           "EXECUTE=VICTIM.LOG", "DEL1KEY=HKCU:", "DELVALS=HKCU:\\[]C", "DELTEXT=" + Dir() + "\\VICTIM.LOG[]"});
  SetCurrentDirectoryA(previous);
  const std::string refused = " -Error- Previous statement not processed - ";
  EXPECT_EQ(results, (Lines{refused + "path is not a full path", refused + "path is not a full path",
                            refused + "path is not a full path", refused + "path is not a full path",
                            refused + "registry key is empty", refused + "registry key is empty",
                            refused + "text to match is empty"}));
  EXPECT_TRUE(Exists("VICTIM.LOG"));
  EXPECT_EQ(Files().ReadFile(f.scratch / "VICTIM.LOG"), "x");
  EXPECT_EQ(f.r.report.ErrorLevel(), 5);
  EXPECT_EQ(entries, 0);
}

}  // namespace
}  // namespace tidemark::plugins
