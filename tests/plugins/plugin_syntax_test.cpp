// Plugin lines: kinds, command fields, matching, the XML edits and placeholder expansion over a made-up machine.
#include "plugins/plugin_syntax.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <tuple>

#include "plugins/plugin_expand.h"
#include "plugins/plugin_files.h"

namespace tidemark::plugins {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

// The record's fields that are set, in order.
std::string Fields(const PluginCommand& c) {
  std::string out(1, c.type);
  const std::pair<const char*, const std::string*> fields[] = {
      {"verb", &c.verbText}, {"path", &c.path},     {"drive", &c.drive},     {"folder", &c.folder}, {"file", &c.file},
      {"text", &c.text},     {"filter", &c.filter}, {"type", &c.folderType}, {"root", &c.root},     {"key", &c.key},
      {"value", &c.value},   {"string", &c.string}, {"match", &c.match}};
  for (const auto& [name, value] : fields)
    if (!value->empty()) out += std::string(" ") + name + "=" + *value;
  return out;
}

TEST(PluginLines, NamesLevelsKindsFieldsWildcardsMasksAndXmlElements) {
  EXPECT_TRUE(IsPluginFileName("FIREFOX.STD") && IsPluginFileName("mine.cus") && !IsRot13Line("ROT1"));
  for (const char* name : {"README.TXT", "STD", "..\\OTHER.STD", "C:OTHER.STD"}) EXPECT_FALSE(IsPluginFileName(name));
  EXPECT_EQ(LevelOf("LEVEL=12 FOR NEW COMMANDS"), 12);
  EXPECT_GT(*LevelOf("LEVEL=99999999999999999999"), kMaxPluginLevel);
  EXPECT_FALSE(LevelOf(" LEVEL=1"));
  EXPECT_EQ(Rot13("HRZR_EHACNGU:p:\\jvaqbjf"), "UEME_RUNPATH:c:\\windows");
  EXPECT_EQ(SortedSelection({"ZED.STD", "", "alpha.cus", "  ", "ALPHA.CUS", "Beta.std"}),
            (Lines{"alpha.cus", "Beta.std", "ZED.STD"}));
  const std::pair<const char*, const char*> cases[] = {
      {"DELFILE=C", "T"}, {"MY PLUGIN FOR APP 1.0", "T"}, {"DELFILES=C:\\X.TXT", "T"},  // short or unknown: text
      {"DELFILE=C:", "F verb=DELFILE path=C: drive=C:"},  // ten characters
      {"DELFILE=C:\\APP\\LOG\\R.LOG", "F verb=DELFILE path=C:\\APP\\LOG\\R.LOG drive=C: folder=\\APP\\LOG file=R.LOG"},
      {"DELFILE=\\\\HOST\\SHARE\\A.TX", "F verb=DELFILE path=\\\\HOST\\SHARE\\A.TX folder=\\\\HOST\\SHARE file=A.TX"},
      {"DELTEXT=C:\\A\\B.INI['MRU=']", "F verb=DELTEXT path=C:\\A\\B.INI drive=C: folder=\\A file=B.INI text=MRU="},
      {"DELFOLD=C:\\CACHE\\[*.TMP]DS", "F verb=DELFOLD path=C:\\CACHE drive=C: folder=\\CACHE filter=*.TMP type=DS"},
      {"DEL1VAL=HKCU:\\SOFTWARE\\APP[LAST FILE]", "R verb=DEL1VAL root=HKCU key=SOFTWARE\\APP value=LAST FILE"},
      {"DEL1KEY=HKLM:SOFTWARE\\APP\\MRU\\", "R verb=DEL1KEY root=HKLM key=SOFTWARE\\APP\\MRU"},
      {"DELVALS=HKCR:SOFTWARE\\APP['FILE']b", "R verb=DELVALS root=HKCR key=SOFTWARE\\APP string=FILE match=B"},
  };
  for (const auto& [line, fields] : cases) EXPECT_EQ(Fields(ParsePluginCommand(line)), fields) << line;
  for (const char* line : {"DELFOLD=C:\\X[*.*]ZZ", "DELFOLD=C:\\X[*.*]", "DELFOLD=C:\\X[*.*]IS ", "DELVALS=HKCU:X[A]D",
                           "DELKEYS=HKCU:X[A]", "DELSKVS=HKCU:X[A]BC"})
    EXPECT_TRUE(ParsePluginCommand(line).Invalid()) << line;
  // The refusals are tested under Wine, where they must also leave everything alone.
  for (const char* line : {"DELFILE=\\\\HOST\\SHARE\\B.TXT", "DELFOLD=D:\\X\\[*.*]IS", "DEL1VAL=HKCU:X[]",
                           "DELVALS=HKCU:X[*]A", "EXECUTE=\"C:\\MY TOOLS\\X.EXE\" /S"})
    EXPECT_FALSE(RefusalOf(ParsePluginCommand(line))) << line;
  const std::tuple<const char*, const char*, bool> wildcards[] = {
      {"Profile.Default", "*.DEFAULT", true}, {"ab", "a?", true},   {"a.b.c", "*.*.c", true},
      {"abc", "a?", false},                   {"abd", "*c", false}, {"abc", "*", true}};
  for (const auto& [name, pattern, match] : wildcards) EXPECT_EQ(WildcardMatch(name, pattern), match) << pattern;
  const std::tuple<const char*, const char*, bool> masks[] = {
      {"*.HTM", "PAGE.HTM", true},  {"*.HTM", "PAGE.HTML", false}, {"*.H?M", "PAGE.HTML", false},
      {"*.HT*", "PAGE.HTML", true}, {"*.*", "NOEXTENSION", true},  {"*", "PAGE.HTML", true}};
  for (const auto& [mask, name, fits] : masks) EXPECT_EQ(MaskExtensionFits(mask, name), fits) << mask << name;
  EXPECT_TRUE(NameMatches("ANYTHING", "*", "A") && !NameMatches("FILE", "FILE", "A") &&
              NameMatches("MYFILE", "FILE", "C") && !NameMatches("MYFILE", "FILE", "B"));
  EXPECT_EQ(PluginErrorText(87, ' ') + PluginErrorText(145, 'i'), " -Error-87 -   Ignore Dir Err - ");
  // XML elements are cut with their lines, up to one that never ends. Each case: the text, the element name, what is
  // kept, how many elements are cut and where one starts that never ends.
  const std::tuple<const char*, const char*, const char*, size_t, std::optional<size_t>> xml[] = {
      {"<a>\r\n <h>x</h>\r\n <k/>\r\n</a>\r\n", "H", "<a>\r\n <k/>\r\n</a>\r\n", 1, {}},  // its own line goes too
      {"<a>\n<hist when=\"a>b\">\n  1\n</hist>\n</a>\n", "hist", "<a>\n</a>\n", 1, {}},   // a quoted ">", many lines
      {"<r><Item/><item id='1' /><items/></r>", "ITEM", "<r><items/></r>", 2, {}},        // self-closing, any case
      {"<r>a<h>\nx\n</h>b</r>\n", "H", "<r>ab</r>\n", 1, {}},                             // shared lines stay joined
      {"<h><h>in</h></h>\n<k/>\n", "H", "<k/>\n", 1, {}},                                 // nested: with the outer
      {"x\n <h/> <h/> \ny", "H", "x\ny", 2, {}},                                          // two on one line
      {"<history/>\n", "HIST", "<history/>\n", 0, {}},                                    // a longer name: another
      {"<h/>\n<h>open\n<h/>\n", "H", "<h>open\n<h/>\n", 1, 5},                            // never ends: stops there
  };
  for (const auto& [input, name, kept, elements, unclosed] : xml) {
    XmlElements found = FindXmlElements(input, name);
    EXPECT_EQ(std::tuple(CutXmlElements(input, found.found), found.found.size(), found.unclosed),
              std::tuple(kept, elements, unclosed))
        << input;
  }
  EXPECT_EQ(SplitKeepingBreaks("a\r\nb\nc\rd"), (Lines{"a\r\n", "b\n", "c\r", "d"}));
}

struct FakeMachine : PlaceholderSource {
  bool VistaOrLater() override { return vista; }
  std::optional<std::string> ComputerName() override { return "Desk"; }
  std::optional<std::string> UserName() override { return "Ann"; }
  std::optional<std::string> SpecialFolder(int csidl) override { return Find(folders, csidl); }
  std::optional<std::string> RegistryText(RegistryRoot root, const std::string& key, const std::string& name) override {
    return Find(values, std::tuple(root, key, name));
  }
  // The first %NAME% of each variable below; others stay as written.
  std::string ExpandEnvironment(const std::string& text) override {
    std::string out = text;
    for (const auto& [name, value] : variables)
      if (size_t at = out.find("%" + name + "%"); at != std::string::npos) out.replace(at, name.size() + 2, value);
    return out;
  }
  static std::optional<std::string> Find(const auto& map, const auto& name) {
    return map.contains(name) ? std::optional<std::string>(map.at(name)) : std::nullopt;
  }

  bool vista = false;
  std::map<int, std::string> folders = {{26, "C:\\Users\\Ann\\AppData\\Roaming"}};
  std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> values;
  std::map<std::string, std::string> variables = {{"TEMP", "C:\\Users\\Ann\\Temp"}, {"GROW", "%GROW%%GROW%"}};
};

TEST(PluginExpansion, TokensVariablesAndReferencesUntilNothingChangesOrStayAsWritten) {
  FakeMachine machine;
  using enum RegistryRoot;
  machine.values = {{{CurrentUser, "SOFTWARE\\APP", "DIR"}, "%TEMP%\\App"}, {{CurrentUser, "EMPTY", "V"}, ""},
                    {{CurrentUser, "LOOP", "V"}, "X^HKCU:LOOP[V]"}, {{LocalMachine, "A", "NEXT"}, "^HKLM:B[NEXT]"},
                    {{LocalMachine, "B", "NEXT"}, "#APPDATA#"}};
  // Each line and what it expands to; nullptr: the passes never settle (a value that brings its own reference back, a
  // variable that grows).
  const std::pair<const char*, const char*> cases[] = {
      {"DelFile=C:\\Users\\#USER#\\%TEMP%.txt", "DELFILE=C:\\USERS\\ANN\\C:\\USERS\\ANN\\TEMP.TXT"},
      {"DELFILE=^HKCU:\\Software\\App[Dir]\\log.txt", "DELFILE=C:\\USERS\\ANN\\TEMP\\APP\\LOG.TXT"},  // same pass
      {"DELFILE=^HKLM:A[NEXT]\\#USER#.TXT", "DELFILE=C:\\USERS\\ANN\\APPDATA\\ROAMING\\ANN.TXT"},     // passes repeat
      {"#COMPUTER# #USER#", "DESK ANN"}, {"DEL1KEY=HKCU:#USERSOFTWARE#\\APP", "DEL1KEY=HKCU:SOFTWARE\\APP"},
      {"DELFILE=^HKCU:LOOP[V]", nullptr}, {"DELFILE=%GROW%", nullptr},
  };
  for (const auto& [line, expanded] : cases)
    EXPECT_EQ(ExpandPluginLine(line, machine), expanded ? std::optional<std::string>(expanded) : std::nullopt) << line;
  // Lines that stay as written: #PICTURES# is no folder of this shell, #NOSUCH# no token, and only the token at the
  // first "#" is looked at.
  for (const char* line : {"DELFILE=#PICTURES#\\A.JPG", "DELFILE=#NOSUCH#\\A.TXT", "DELTEXT=#X#\\#USER#",
                           "DELFILE=^HKCU:MISSING[V]\\A", "DELFILE=^HKCU:EMPTY[V]\\A", "DELFILE=^HKXX:KEY[V]\\A"})
    EXPECT_EQ(ExpandPluginLine(line, machine), line);
  machine.vista = true;
  EXPECT_EQ(ExpandPluginLine("DEL1KEY=HKCU:#USERSOFTWARE#\\APP", machine),
            "DEL1KEY=HKCU:SOFTWARE\\APPDATALOW\\SOFTWARE\\APP");
}

TEST(PluginSafety, MatchAllOnlyWhereWrittenSharedKeysAtTheirEdgesAndProgramLines) {
  FakeMachine machine;
  machine.variables = {{"ALL", "*"}, {"MRU", "MRU"}, {"NONE", ""}};
  using enum RegistryRoot;
  machine.values = {{{CurrentUser, "K", "V"}, "*"}, {{CurrentUser, "K", "APP"}, "SOFTWARE\\APP"}};
  // Each line and whether its match string "*" comes from a placeholder (a reference in the key: "*" written).
  const std::pair<const char*, bool> matches[] = {
      {"DELVALS=HKCU:X[*]A", false},      {"DELKEYS=HKCU:X['*']B", false},  {"DELVALS=HKCU:X[%ALL%]A", true},
      {"DELVALS=HKCU:X[%NONE%*]B", true}, {"DELKEYS=HKCU:X[^HKCU:K[V]]C", true}, {"DELVALS=HKCU:X[%MRU%]B", false},
      {"DELSKVS=HKCU:^HKCU:K[APP][*]C", false},
  };
  for (const auto& [line, refused] : matches)
    EXPECT_EQ(MatchesAllThroughPlaceholders(ParsePluginCommand(*ExpandPluginLine(line, machine)), line), refused)
        << line;
  // Keys DEL1KEY and DELKEYS must leave alone, each beside one a program owns (nullptr: none). Empty names between
  // count as nothing; "Software\\AppDataLow\\Software" is what "#USERSOFTWARE#" stands for on Vista.
  const std::tuple<RegistryRoot, const char*, const char*> keys[] = {
      {CurrentUser, "Software", "SOFTWARE\\MYEDITOR"},   {LocalMachine, "\\SOFTWARE\\\\MICROSOFT\\", nullptr},
      {LocalMachine, "software\\microsoft", "SOFTWARE\\MICROSOFT\\MEDIAPLAYER"},
      {LocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft", nullptr}, {CurrentUser, "SOFTWARE\\APPDATALOW", nullptr},
      {LocalMachine, "SOFTWARE\\WOW6432NODE", "SOFTWARE\\WOW6432NODE\\MYEDITOR"},
      {LocalMachine, "SYSTEM\\CONTROLSET001", nullptr},
      {CurrentUser, "Software\\AppDataLow\\Software", "SOFTWARE\\APPDATALOW\\SOFTWARE\\MYEDITOR"},
      {LocalMachine, "SOFTWARE\\CLASSES\\.TXT", "SOFTWARE\\CLASSES\\.TXT\\OPENWITHLIST"},
      {Users, "S-1-5-21-7\\SOFTWARE", "S-1-5-21-7\\SOFTWARE\\MYEDITOR"},
  };
  for (const auto& [root, shared, own] : keys) {
    EXPECT_TRUE(IsSharedRegistryKey(root, shared)) << shared;
    EXPECT_FALSE(own && IsSharedRegistryKey(root, own)) << own;
  }
  // Each command line and its program, arguments and place; then lines refused.
  using enum ProgramPlace;
  const std::tuple<const char*, const char*, const char*, ProgramPlace> programs[] = {
      {"C:\\TOOL\\GO.EXE /Q", "C:\\TOOL\\GO.EXE", "/Q", FullPath},
      {"\"D:\\MY TOOLS\\CLEAN.EXE\" /ALL", "D:\\MY TOOLS\\CLEAN.EXE", "/ALL", FullPath},
      {"\"D:\\MY TOOLS\\CLEAN\"", "D:\\MY TOOLS\\CLEAN.EXE", "", FullPath},
      {"D:\\TOOLS\\RUN.BAT\tX Y", "D:\\TOOLS\\RUN.BAT", "X Y", FullPath},
      {"D:\\TOOLS\\CLEAN.", "D:\\TOOLS\\CLEAN.", "", FullPath},  // a final dot: no ".EXE"
      {"RUNDLL32 X.DLL,Y", "RUNDLL32.EXE", "X.DLL,Y", SystemFolders},
      {"..\\X.EXE /S", "..\\X.EXE", "/S", Relative}, {"C:X.EXE", "C:X.EXE", "", Relative},
  };
  for (const auto& [line, program, arguments, place] : programs) {
    ProgramLine parsed = ParseProgramLine(line).value_or(ProgramLine{"<refused>"});
    EXPECT_EQ(std::tuple(parsed.program, parsed.arguments, parsed.place), std::tuple(program, arguments, place))
        << line;
  }
  for (const char* line : {"D:\\MY TOOLS\\CLEAN.EXE /ALL", "D:\\MY TOOLS\\CLEAN.EXE", "D:\\V1.2 TOOLS\\CLEAN.EXE",
                           "\"D:\\MY TOOLS\\CLEAN.EXE /ALL", "\"D:\\MY TOOLS\"\\CLEAN.EXE", "\"\" /S"})
    EXPECT_FALSE(ParseProgramLine(line)) << line;
}

}  // namespace
}  // namespace tidemark::plugins
