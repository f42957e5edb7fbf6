// The interpreter and the plugin commands on scratch folders and a scratch registry key; the selection and test
// windows in-process, their modal windows and message boxes answered from a timer, as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "platform/files_win.h"
#include "platform/text.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_interpreter.h"
#include "plugins/plugin_windows_win.h"
#include "support/purge_fixture_win.h"
#include "support/redirected_registry_win.h"
#include "support/when_ready_win.h"

namespace tidemark::plugins {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

platform::FileSystem& Files() { return platform::RealFileSystem(); }
platform::Registry& Reg() { return platform::RealRegistry(); }

class PluginCommands : public ::testing::Test {
 protected:
  explicit PluginCommands(test::PurgePlatformChoice choice = {}) : f(choice) {}

  // The report lines a plugin's lines write.
  Lines Run(const Lines& plugin, bool testMode = false) {
    f.r.sink.lines.clear();
    PluginInterpreter interpreter(f.Environment(), testMode);
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
  std::string Text(const std::string& file) const { return Files().ReadFile(f.scratch / file).value_or("<none>"); }
  // Every file and folder below the scratch folder, relative, sorted.
  Lines Tree() const {
    Lines found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(f.scratch.path()))
      found.push_back(entry.path().string().substr(Real().size() + 1) + (entry.is_directory() ? "\\" : ""));
    return std::sort(found.begin(), found.end()), found;
  }

  test::PurgeFixture f;
  test::TempRegistryKey key;
  int entries = 0;
};

TEST_F(PluginCommands, RunsTheSelectionAndLevelsUpTo62AndStopsOnCancel) {
  f.firefox.PluginsFolder = f.scratch / "PLUGINS";
  f.scratch.Write("PLUGINS\\A.STD", "First\r\nDELFILE=" + Dir() + "\\ONE.TMP\r\n");
  f.scratch.Write("PLUGINS\\C.CUS", "DELFILE=" + Dir() + "\\TWO.TMP\r\n");
  for (const char* name : {"ONE.TMP", "TWO.TMP", "A.TXT", "A.TMP", "B.TMP"}) f.scratch.Write(name, "x");
  f.plugins.selected = {"A.STD", "C.CUS"};
  PluginsRun(f.Environment());
  const std::string command = "DELFILE=" + Dir(), deleted = "         deleted - " + Real();
  EXPECT_EQ(f.Lines(), (Lines{"Process Plugin - A.STD", "* FIRST", command + "\\ONE.TMP", deleted + "\\ONE.TMP", " ",
                              "Process Plugin - C.CUS", command + "\\TWO.TMP", deleted + "\\TWO.TMP",
                              "  Run Plugins Function Completed.  2 - Entries processed."}));
  const std::string invalid = "DELFOLD=C:\\X[*.*]ZZ";
  EXPECT_EQ(Run({invalid, "Level=62", "LEVEL=", "level=63 new", command + "\\A.TXT", "LEVEL=1", "Title"}),
            (Lines{invalid, " -Error- Previous statement not processed - has invalid Type field",
                   "* LEVEL=62", "* LEVEL=", "* LEVEL=63 NEW",
                   "Error - Tidemark is not programmed to support this Plugin level",
                   "        You need to upgrade Tidemark to the new version to process this Plugin",
                   command + "\\A.TXT", "LEVEL=1", "TITLE"}));
  EXPECT_TRUE(Files().FileExists(f.scratch / "A.TXT"));
  // Shredding lets messages run after the first file: Cancel is pressed there.
  f.state.flags.secureErase = true;
  f.r.pump.onPump = [this] { f.state.cancelRequested = true; };
  Lines lines = Run({"DELFILE=" + Dir() + "\\A.TMP", "DELFILE=" + Dir() + "\\B.TMP"});
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "*** Cancelled by operator."), 1);
  EXPECT_EQ(lines.back(), "*** Cancelled by operator.");
  EXPECT_TRUE(Files().FileExists(f.scratch / "B.TMP"));
}

TEST_F(PluginCommands, EachFolderTypeAndFolderWildcardsButNeverALink) {
  // PAGE.TMPX has the short name PAGE~1.TMP, which the listing by "*.TMP" finds.
  const std::pair<std::string, Lines> cases[] = {
      {"IS",
       {"T\\", "T\\NOTE.TXT", "T\\PAGE.TMPX", "T\\SUB\\", "T\\SUB\\B.TMP", "T\\SUB\\DEEP\\", "T\\SUB\\DEEP\\C.TMP"}},
      {"PS", {"T\\", "T\\NOTE.TXT", "T\\PAGE.TMPX", "T\\SUB\\", "T\\SUB\\DEEP\\"}},
      {"DS", {"T\\", "T\\NOTE.TXT", "T\\PAGE.TMPX"}},
      {"OD", {"T\\", "T\\A.TMP", "T\\NOTE.TXT", "T\\PAGE.TMPX"}},
  };
  for (const auto& [type, kept] : cases) {
    for (const char* file : {"T\\A.TMP", "T\\NOTE.TXT", "T\\PAGE.TMPX", "T\\SUB\\B.TMP", "T\\SUB\\DEEP\\C.TMP"})
      f.scratch.Write(file, "x");
    Lines results = Results({"DELFOLD=" + Dir() + "\\T\\[*.TMP]" + type});
    EXPECT_EQ(Tree(), kept) << type;
    test::RemoveTree(f.scratch / "T");
    if (type != "OD") continue;
    // Each file before its folder, each folder after its contents.
    const std::string deleted = "         deleted - " + Real() + "\\T\\SUB";
    EXPECT_EQ(results, (Lines{deleted + "\\B.TMP", deleted + "\\DEEP\\C.TMP", deleted + "\\DEEP", deleted}));
  }
  for (const char* file : {"P\\A.DEFAULT\\CACHE\\X.TMP", "P\\B.DEFAULT\\CACHE\\Y.TMP", "P\\OTHER\\CACHE\\Z.TMP"})
    f.scratch.Write(file, "x");
  Run({"DELFOLD=" + Dir() + "\\P\\*.DEFAULT\\CACHE[*.*]IS"});
  EXPECT_EQ(Tree(), (Lines{"P\\", "P\\A.DEFAULT\\", "P\\A.DEFAULT\\CACHE\\", "P\\B.DEFAULT\\", "P\\B.DEFAULT\\CACHE\\",
                           "P\\OTHER\\", "P\\OTHER\\CACHE\\", "P\\OTHER\\CACHE\\Z.TMP"}));
  // A directory link is never followed.
  std::string links = TIDEMARK_PLUGIN_LINKS;
  if (!Files().FolderExists(links + "\\profiles\\link.default")) GTEST_SKIP() << "no link fixture at " << links;
  std::string profiles = UpperCase(links) + "\\PROFILES";
  Run({"DELFOLD=" + profiles + "\\*.DEFAULT\\CACHE[*.*]IS", "DELFOLD=" + profiles + "[*.*]PS"});
  f.state.previewMode = true;
  Lines preview = Results({"DELFOLD=" + profiles + "[*.*]DS"});
  EXPECT_EQ(Files().ReadFile(links + "\\target\\cache\\precious.tmp"), "keep me");
  EXPECT_EQ(preview, (Lines{"       to delete - " + links + "\\profiles\\link.default"}));
}

TEST_F(PluginCommands, AFolderToEmptyThatIsADriveRootOrALinkIsRefusedHoweverItIsWritten) {
  // R: is a scratch folder of the build, as a mapped drive would be.
  if (!Files().FileExists("R:\\DATA\\report.doc")) GTEST_SKIP() << "no drive R: in this sandbox";
  std::string links = UpperCase(TIDEMARK_PLUGIN_LINKS) + "\\PROFILES\\LINK.DEFAULT";
  std::string spelt = std::string(TIDEMARK_PLUGIN_LINKS) + "\\profiles\\link.default";
  EXPECT_EQ(Results({"DELFOLD=R:\\DATA\\..\\[*.*]DS", "DELFOLD=" + links + "[*.*]IS",
                     "DELFILE=" + links + "\\CACHE\\..\\X.TXT"}),
            (Lines{" -Error- Folder may not be purged, not Processed - R:\\DATA\\..",
                   " -Error- Folder is a link, not Processed - " + spelt,
                   " -Error- Folder is a link, not Processed - " + spelt + "\\cache\\.."}));
  EXPECT_TRUE(Files().FileExists("R:\\top.txt") && Files().FileExists("R:\\DATA\\report.doc"));
  EXPECT_EQ(Files().ReadFile(std::string(TIDEMARK_PLUGIN_LINKS) + "\\target\\cache\\precious.tmp"), "keep me");
}

// Writes stop part way with the disk full; reading and everything else is real.
class UnwritableFiles : public platform::Win32FileSystem {
 public:
  bool WriteFile(const std::string& path, const std::string& content) override {
    Win32FileSystem::WriteFile(path, content.substr(0, 2));
    return Fail(ERROR_DISK_FULL);
  }
};

class FailingWrites : public PluginCommands {
 protected:
  FailingWrites() : PluginCommands({.files = &unwritable}) {}
  static inline UnwritableFiles unwritable;
};

TEST_F(FailingWrites, AFailedWriteKeepsTheWholeFile) {
  std::string text = "a=1\r\nb=2\r\n", xml = "<r><x/></r>";
  f.scratch.Write("A.INI", text);
  f.scratch.Write("A.XML", xml);
  EXPECT_EQ(Results({"DELTEXT=" + Dir() + "\\A.INI[A=]", "DELEXML=" + Dir() + "\\A.XML[X]"}),
            (Lines{"     Not updated - " + Real() + "\\A.INI", "     Not updated - " + Real() + "\\A.XML"}));
  EXPECT_EQ(Text("A.INI") + Text("A.XML"), text + xml);
  EXPECT_EQ(Tree(), (Lines{"A.INI", "A.XML"}));  // no scratch file left behind
}

TEST_F(PluginCommands, RegistryKeysGoWithTheirSubKeysAndValuesByMatchLinesShowTextTypeOrDecodedName) {
  auto Below = [&](const std::string& sub) { return sub.empty() ? key.path() : key.path() + "\\" + sub; };
  auto Values = [&](const std::string& sub) {
    Lines names = Reg().ValueNames(RegistryRoot::CurrentUser, Below(sub));
    std::erase(names, "");
    return std::sort(names.begin(), names.end()), names;
  };
  const std::tuple<const char*, const char*, const char*> values[] = {
      {"", "FileA", "one"}, {"", "MyFile", "one"}, {"", "Other", "one"}, {"S1", "Stay", "x"},
      {"S2", "FileB", "y"}, {"FILESUB\\DEEP", "V", "z"}, {"UA", "HRZR_EHACNGU", "x"}};
  for (auto [sub, name, value] : values) Reg().WriteString(RegistryRoot::CurrentUser, Below(sub), name, value);
  Reg().WriteDword(RegistryRoot::CurrentUser, Below("S1"), "FileCount", 7);
  std::string base = Key() + "\\FILESUB";
  EXPECT_EQ(Results({"DEL1KEY=HKCU:" + base}),
            (Lines{"     Key deleted - " + base + "\\DEEP", "     Key deleted - " + base}));
  f.state.previewMode = true;
  EXPECT_EQ(Results({"DELSKVS=HKCU:" + Key() + "[FILE]B"}),
            (Lines{"   to delete Val - S1[FILECOUNT] - Type = Reg_Dword", "   to delete Val - S2[FILEB] - y"}));
  EXPECT_EQ(Values("S1"), (Lines{"FileCount", "Stay"}));
  f.state.previewMode = false;
  EXPECT_EQ(Results({"DELSKVS=HKCU:" + Key() + "[FILE]B", "ROT13", "DEL1VAL=HKCU:" + Key() + "\\UA[HRZR_EHACNGU]"}),
            (Lines{"     Val deleted - S1[FILECOUNT] - Type = Reg_Dword", "     Val deleted - S2[FILEB] - y",
                   "     Val deleted - UEME_RUNPATH - x"}));
  EXPECT_EQ(std::pair(Values("S1"), Values("S2")), std::pair(Lines{"Stay"}, Lines{}));
  Run({"DELVALS=HKCU:" + Key() + "['FILE']B"});
  EXPECT_EQ(Values(""), (Lines{"MyFile", "Other"}));
  Run({"DELKEYS=HKCU:" + Key() + "[*]A"});
  EXPECT_EQ(Reg().SubKeys(RegistryRoot::CurrentUser, key.path()), Lines{});
}

TEST_F(PluginCommands, ProgramsRunAsQuotedOrFromTheSystemFoldersPreviewStartsNoneExecuteWaitsExehideDoesNot) {
  // Stand-ins where a guess would look: "MY.EXE" for the unquoted "MY TOOLS\\...", "CMD.EXE" in the current folder.
  const std::string program = f.scratch / "My Tools\\STANDIN.EXE";
  Files().CreateFolders(ParentFolder(program));
  for (const std::string& copy : {program, f.scratch / "MY.EXE", f.scratch / "CMD.EXE"})
    Files().CopyFileTo(TIDEMARK_PLUGIN_PROGRAM, copy, false);
  const std::string quoted = "\"" + UpperCase(program) + "\" /ALL", unquoted = UpperCase(program) + " /ALL";
  const std::string system = "CMD.EXE /C ECHO RAN>\"" + Dir() + "\\CMD.OUT\"";
  SetCurrentDirectoryA(f.scratch.path().c_str());
  Lines results = Results({"EXECUTE=" + quoted, "EXECUTE=" + unquoted, "EXECUTE=" + system});
  SetCurrentDirectoryA("C:\\");
  EXPECT_EQ(results,
            (Lines{"        executed - " + quoted,
                   " -Error- Previous statement not processed - program path with blanks is not in double quotes",
                   "        executed - " + system}));
  EXPECT_EQ(std::tuple(test::Exists(program + ".ran"), test::Exists(f.scratch / "MY.EXE.ran"),
                       test::Exists(f.scratch / "CMD.EXE.ran"), Text("CMD.OUT").substr(0, 3)),
            std::tuple(true, false, false, "RAN"));
  Files().RemoveFile(program + ".ran");
  auto Marker = [&] { return Files().ReadFile(program + ".ran"); };
  f.state.previewMode = true;
  f.state.flags.detailReport = false;
  const std::string shown = "\"" + UpperCase(program) + "\"";
  EXPECT_EQ(Results({"EXECUTE=" + shown, "EXEHIDE=" + shown}),
            (Lines{"      to execute - " + shown, "      to execute - " + shown}));
  Sleep(600);
  EXPECT_FALSE(Marker());
  f.state.previewMode = false;
  EXPECT_EQ(Results({"EXEHIDE=" + shown}), (Lines{"        executed - " + shown}));
  EXPECT_FALSE(Marker());  // still running
  for (int i = 0; i < 50 && !Marker(); ++i) Sleep(100);
  EXPECT_EQ(Marker(), std::to_string(SW_HIDE));
}

// HKEY_CURRENT_USER\Software is the test's own key: a wrong answer deletes nothing of the user's.
class RedirectedSoftware : public PluginCommands {
 protected:
  RedirectedSoftware() : PluginCommands({.registry = &redirected}) { redirected.Redirect("Software", key.path()); }
  static inline test::RedirectedRegistry redirected;
};

TEST_F(RedirectedSoftware, SharedKeysAndMatchStringsMadeAllByPlaceholdersAreRefused) {
  Reg().WriteString(RegistryRoot::CurrentUser, key.path() + "\\Microsoft\\Windows", "File", "x");
  Reg().WriteString(RegistryRoot::CurrentUser, key.path() + "\\MyEditor", "Pattern", "*");
  test::EnvironmentVariables variables;
  variables.Set("TM_ALL", "*");
  const std::string shared = " -Error- Registry key shared by many programs not processed - HKCU:";
  EXPECT_EQ(Results({"DEL1KEY=HKCU:SOFTWARE", "DEL1KEY=HKCU:SOFTW?RE", "DELKEYS=HKCU:SOFTWARE\\MICROSOFT[*]A",
                     "DELVALS=HKCU:SOFTWARE\\MYEDITOR[%TM_ALL%]A"}),
            (Lines{shared + "SOFTWARE", "    key=HKCU:Software", shared + "Software", shared + "SOFTWARE\\MICROSOFT",
                   "      The above command expands to:",
                   " -Error- Previous statement not processed - its placeholders make the match string \"*\""}));
  EXPECT_EQ(std::pair(Reg().ValueNames(RegistryRoot::CurrentUser, key.path() + "\\MyEditor").size(),
                      Reg().KeyExists(RegistryRoot::CurrentUser, key.path() + "\\Microsoft\\Windows")),
            std::pair(size_t{1}, true));
}

TEST_F(PluginCommands, RefusedStatementsAndProtectedItemsTouchNothingTextAndXmlEditsListThenCut) {
  const std::pair<const char*, Lines> cases[] = {
      {"path is not a full path",  // the first relative once expanded
       {"DELFILE=#NOSUCH#\\VICTIM.LOG", "DELFILE=VICTIM.LOG", "DELFILE=C:VICTIM.LOG", "DELFOLD=C:[*.LOG]IS",
        "EXECUTE=..\\VICTIM.LOG"}},
      {"file mask names a folder", {"DELFOLD=" + Dir() + "\\SUB[..\\*.LOG]IS"}},
      {"text to match is empty",
       {"DELTEXT=" + Dir() + "\\VICTIM.LOG[]", "DELEXML=" + Dir() + "\\VICTIM.LOG['']",
        "DELVALS=HKCU:" + Key() + "[]C"}},
      {"registry key is empty", {"DEL1KEY=HKCU:", "DELVALS=HKCU:\\[*]A"}},
  };
  f.scratch.Write("VICTIM.LOG", "x");
  Lines plugin, refused;
  for (const auto& [reason, lines] : cases)
    for (const std::string& line : lines) {
      plugin.push_back(line);
      refused.push_back(std::string(" -Error- Previous statement not processed - ") + reason);
    }
  // A relative path would act in whatever folder is current.
  SetCurrentDirectoryA(f.scratch.path().c_str());
  Lines results = Results(plugin);
  SetCurrentDirectoryA("C:\\");
  EXPECT_EQ(results, refused);
  EXPECT_EQ(std::tuple(Text("VICTIM.LOG"), f.r.report.ErrorLevel(), entries), std::tuple("x", 5, 0));
  f.protect.entries = {"p=*.keep"};
  f.scratch.Write("A.KEEP", "x");
  Files().SetAttributes(f.scratch.Write("RO.TXT", "x"), platform::kAttrReadOnly);
  EXPECT_EQ(Results({"DELFILE=" + Dir() + "\\A.KEEP", "DELFILE=" + Dir() + "\\RO.TXT"}),
            (Lines{"       Protected - " + Real() + "\\A.KEEP", "         deleted - " + Real() + "\\RO.TXT"}));
  EXPECT_EQ(Tree(), (Lines{"A.KEEP", "VICTIM.LOG"}));
  // A protected folder is not entered.
  f.protect.entries = {"p=*\\keep\\"};
  f.scratch.Write("D\\KEEP\\INNER.TMP", "x");
  Run({"DELFOLD=" + Dir() + "\\D[*.*]DS"});
  EXPECT_TRUE(Files().FileExists(f.scratch / "D\\KEEP\\INNER.TMP"));
  // Text and XML edits list in the Preview and cut in the Purge.
  const std::string ini = "[Recent]\r\nFile1=C:\\a.doc\r\nkeep=1\nfile2=C:\\b.doc\r\n";
  const std::string xml = "<p>\r\n <h n='1'>\r\n  x\r\n </h>\r\n <k/><H/>\r\n</p>";
  f.scratch.Write("APP.INI", ini);
  f.scratch.Write("P.XML", xml);
  plugin = {"DELTEXT=" + Dir() + "\\APP.INI['FILE']", "DELEXML=" + Dir() + "\\P.XML[h]"};
  f.state.previewMode = true;
  EXPECT_EQ(Results(plugin), (Lines{"       to delete - FILE2=C:\\B.DOC", "       to delete - FILE1=C:\\A.DOC",
                                    "       to delete - <h n='1'> x </h>", "       to delete - <H/>"}));
  EXPECT_EQ(Text("APP.INI") + Text("P.XML"), ini + xml);
  f.state.previewMode = false;
  EXPECT_EQ(Results(plugin), (Lines{"         deleted - FILE2=C:\\B.DOC", "         deleted - FILE1=C:\\A.DOC",
                                    "         deleted - <h n='1'> x </h>", "         deleted - <H/>"}));
  EXPECT_EQ(Text("APP.INI") + Text("P.XML"), "[Recent]\r\nkeep=1\n<p>\r\n <k/>\r\n</p>");
}

// The first column of a list view's rows, each with " +" when ticked.
Lines Rows(const gui::ListView& list) {
  Lines rows;
  for (int row = 0; row < list.RowCount(); ++row) rows.push_back(list.Cell(row, 0) + (list.Checked(row) ? " +" : ""));
  return rows;
}

// The test window's title and output once its run has ended; then F1 is pressed and the window closed.
Lines CollectTestWindow(const std::function<void()>& open) {
  Lines output;
  test::WhenReady([&output] {
    HWND window = test::ThreadWindow("TPlugTstForm");
    if (!window) return false;
    Lines lines = Rows(gui::ListView(FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr)));
    if (lines.empty() || (lines.back() != " " && lines.back().find("for this Plugin") == std::string::npos))
      return false;
    output = {gui::WindowText(FindWindowExA(window, nullptr, "STATIC", nullptr))};
    output.insert(output.end(), lines.begin(), lines.end());
    PostMessageA(window, WM_KEYDOWN, VK_F1, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return true;
  });
  open();
  return output;
}

TEST_F(PluginCommands, SelectionWindowTestNeverDeletesUnsavedTicksAreSavedOnYes) {
  gui::InitCommonControls();
  f.firefox.PluginsFolder = f.scratch / "PLUGINS";
  f.firefox.PluginListFile = f.scratch / "PLUGINS.DAT";
  f.scratch.Write("PLUGINS\\b.std", "; lower-case name\r\nDELFILE=" + UpperCase(f.scratch / "VICTIM.TMP") + "\r\n");
  for (const char* file : {"PLUGINS\\A.CUS", "PLUGINS\\C.STD", "PLUGINS\\NOTES.TXT", "VICTIM.TMP"})
    f.scratch.Write(file, "x");
  engine::PurgeState purge;
  std::vector<std::string> selected{"C.STD"};
  auto resources = [this] { return f.Resources(); };
  int helpAsked = 0;
  PluginWindowsContext context{resources, purge, selected, f.scratch / "Tidemark.ini", {}, false, [&] { ++helpAsked; }};
  context.restore.virtualScreen = {0, 0, 1024, 768};
  TPlugSelForm form(context);
  form.Create(nullptr);
  form.FormActivate();
  EXPECT_EQ(Rows(form.pluginList()), (Lines{"A.CUS", "B.STD", "C.STD +"}));  // plugin files only, in upper case

  form.pluginList().Select({1});
  std::string victim = f.scratch / "VICTIM.TMP";
  Lines run = {"* ; LOWER-CASE NAME", "DELFILE=" + UpperCase(victim)};
  EXPECT_EQ(CollectTestWindow([&] { SendMessageA(form.testButton(), BM_CLICK, 0, 0); }),
            (Lines{"Test:   B.STD", run[0], run[1], "       to delete - " + victim,
                   "    1 - Entry processed for this Plugin", " "}));
  EXPECT_TRUE(Files().FileExists(victim));
  EXPECT_EQ(helpAsked, 1);

  form.pluginList().SetChecked(0, true);
  test::WhenReady([] {
    HWND box = test::ThreadWindow("#32770", "Tidemark -  Warning");
    if (box) PostMessageA(box, WM_COMMAND, IDYES, 0);
    return box != nullptr;
  });
  SendMessageA(form.exitButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(std::pair(Files().ReadFile(f.firefox.PluginListFile), selected),
            std::pair(std::optional<std::string>("A.CUS\r\nC.STD\r\n"), Lines{"A.CUS", "C.STD"}));
  test::PendingAction() = nullptr;
  gui::PumpPendingMessages();
}

}  // namespace
}  // namespace tidemark::plugins
