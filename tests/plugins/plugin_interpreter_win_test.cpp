// The interpreter's listing of a plugin and the purge function "Run
// Plugins", headless over a scratch folder.
#include "plugins/plugin_interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "support/purge_fixture_win.h"

namespace tidemark::plugins {
namespace {

using Lines = std::vector<std::string>;

class Interpreter : public ::testing::Test {
 protected:
  Lines Run(const Lines& plugin, bool testMode = false) {
    f.r.sink.lines.clear();
    PluginInterpreter interpreter(f.Environment(), testMode);
    interpreter.RunPlugin(plugin);
    entries = interpreter.PluginEntryCount;
    return f.Lines();
  }
  std::string Dir() const { return UpperCase(f.scratch.path()); }

  test::PurgeFixture f;
  int entries = 0;
};

TEST_F(Interpreter, LevelsUpTo62RunAndHigherOnesAreOnlyListed) {
  f.scratch.Write("A.TXT", "x");
  std::string del = "DELFILE=" + Dir() + "\\A.TXT";
  EXPECT_EQ(Run({"Level=62", "LEVEL=", "level=63 new", del, "LEVEL=1", "Title"}),
            (Lines{"* LEVEL=62", "* LEVEL=", "* LEVEL=63 NEW", "Error - Tidemark is not programmed to support this Plugin level",
                   "        You need to upgrade Tidemark to the new version to process this Plugin", del, "LEVEL=1", "TITLE"}));
  EXPECT_TRUE(platform::RealFileSystem().FileExists(f.scratch / "A.TXT"));
}

TEST_F(Interpreter, TextLinesCommandsAndTheirExpansion) {
  test::EnvironmentVariables variables;
  variables.Set("TM_PLUGIN_DIR", f.scratch.path());
  auto user = f.shell.UserName();
  ASSERT_TRUE(user);
  Lines plugin = {"; Cleans #USER#", "DELFILE=%TM_PLUGIN_DIR%\\#USER#.TXT", "DELFOLD=C:\\X[*.*]ZZ"};
  EXPECT_EQ(Run(plugin), (Lines{"* ; CLEANS #USER#", "DELFILE=%TM_PLUGIN_DIR%\\#USER#.TXT",
                                "      The above command expands to:", "DELFILE=" + Dir() + "\\" + UpperCase(*user) + ".TXT",
                                "    file not present - " + f.scratch.path() + "\\" + UpperCase(*user) + ".TXT",
                                "DELFOLD=C:\\X[*.*]ZZ",
                                " -Error- Previous statement not processed - has invalid Type field"}));
  // Summary reports leave text lines out, the test window never does.
  f.state.flags.detailReport = false;
  EXPECT_EQ(Run({"Title"}), Lines{});
  EXPECT_EQ(Run({"Title"}, true), (Lines{"* TITLE", "   0 - Entries processed for this Plugin", " "}));
}

TEST_F(Interpreter, DebugLinesNameTheFieldsThatAreSet) {
  f.plugins.debug = true;
  const std::string key = "SOFTWARE\\TIDEMARKTESTS\\NONE";
  EXPECT_EQ(Run({"DEL1KEY=HKCU:" + key}),
            (Lines{"DEL1KEY=HKCU:" + key, " debug - FoldOrReg = R", " debug - RegVerb =   >>DEL1KEY<<",
                   " debug - RegRoot =   >>HKCU<<", " debug - RegKey =    >>" + key + "<<", "     key not present - " + key}));
}

TEST_F(Interpreter, TestModeCountsEachPluginAndCancelStops) {
  for (const char* name : {"A.TMP", "B.TMP"}) f.scratch.Write(name, "x");
  Lines plugin = {"DELFILE=" + Dir() + "\\A.TMP", "DELFILE=" + Dir() + "\\B.TMP"};
  f.state.previewMode = true;
  Lines lines = Run(plugin, true);
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"   2 - Entries processed for this Plugin", " "}));

  // Shredding lets messages run after the first file: Cancel is pressed there.
  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  f.r.pump.onPump = [this] { f.state.cancelRequested = true; };
  lines = Run(plugin);
  EXPECT_EQ(lines.back(), "*** Cancelled by operator.");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "*** Cancelled by operator."), 1);
  EXPECT_TRUE(platform::RealFileSystem().FileExists(f.scratch / "B.TMP"));
}

TEST_F(Interpreter, RunPluginsGoesThroughTheSelection) {
  f.firefox.PluginsFolder = f.scratch / "PLUGINS";
  f.scratch.Write("PLUGINS\\A.STD", "First\r\nDELFILE=" + Dir() + "\\ONE.TMP\r\n");
  f.scratch.Write("PLUGINS\\C.CUS", "DELFILE=" + Dir() + "\\TWO.TMP\r\n");
  for (const char* name : {"ONE.TMP", "TWO.TMP"}) f.scratch.Write(name, "x");
  f.plugins.selected = {"A.STD", "B.STD", "C.CUS", "NOTES.TXT"};
  PluginsRun(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"Process Plugin - A.STD", "* FIRST", "DELFILE=" + Dir() + "\\ONE.TMP",
                              "         deleted - " + f.scratch.path() + "\\ONE.TMP", " ", "Process Plugin - B.STD",
                              " -Error- Plugin file could not be read - " + f.firefox.PluginsFolder + "\\B.STD", " ",
                              "Process Plugin - C.CUS", "DELFILE=" + Dir() + "\\TWO.TMP",
                              "         deleted - " + f.scratch.path() + "\\TWO.TMP", " ", "Process Plugin - NOTES.TXT",
                              " -Error- Not a Plugin file - NOTES.TXT",
                              "  Run Plugins Function Completed.  2 - Entries processed."}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 5);

  f.r.sink.lines.clear();
  f.plugins.selected.clear();
  PluginsRun(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"    No Plugins are selected.", "  Run Plugins Function Completed.  0 - Entries processed."}));
}

}  // namespace
}  // namespace tidemark::plugins
