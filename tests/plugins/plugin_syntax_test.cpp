// Plugin lines: kinds, command fields, refusals, matching rules, labels and
// the text and XML edits of DELTEXT and DELEXML.
#include "plugins/plugin_syntax.h"

#include <gtest/gtest.h>

#include "plugins/plugin_files.h"

namespace tidemark::plugins {
namespace {

TEST(PluginLines, PluginFilesAreStdAndCusInAnyCase) {
  EXPECT_TRUE(IsPluginFileName("FIREFOX.STD"));
  EXPECT_TRUE(IsPluginFileName("mine.cus"));
  EXPECT_FALSE(IsPluginFileName("README.TXT"));
  EXPECT_FALSE(IsPluginFileName("STD"));
  EXPECT_FALSE(IsPluginFileName("..\\OTHER.STD"));
}

TEST(PluginLines, LevelStatementsAndRot13) {
  EXPECT_EQ(LevelOf("LEVEL=62"), 62);
  EXPECT_EQ(LevelOf("LEVEL=63"), 63);
  EXPECT_EQ(LevelOf("LEVEL="), 0);
  EXPECT_EQ(LevelOf("LEVEL=12 FOR NEW COMMANDS"), 12);
  EXPECT_GT(*LevelOf("LEVEL=99999999999999999999"), kMaxPluginLevel);
  EXPECT_FALSE(LevelOf(" LEVEL=1"));
  EXPECT_TRUE(IsRot13Line("ROT13 NAMES BELOW"));
  EXPECT_FALSE(IsRot13Line("ROT1"));
  EXPECT_EQ(Rot13("HRZR_EHACNGU:p:\\jvaqbjf"), "UEME_RUNPATH:c:\\windows");
  EXPECT_EQ(Rot13(Rot13("Any Text 123")), "Any Text 123");
}

TEST(PluginLines, ShortOrUnknownLinesAreText) {
  for (const char* line : {"DELFILE=C", "DELFILE=", "MY PLUGIN FOR APP 1.0", "DELFILES=C:\\X.TXT", ""})
    EXPECT_EQ(ParsePluginCommand(line).type, 'T') << line;
  EXPECT_EQ(ParsePluginCommand("DELFILE=C:").type, 'F');  // ten characters
}

// The record's fields that are set, in order.
std::string Fields(const PluginCommand& c) {
  std::string out(1, c.type);
  const std::pair<const char*, const std::string*> fields[] = {
      {"verb", &c.verbText}, {"path", &c.path},     {"drive", &c.drive}, {"folder", &c.folder}, {"file", &c.file},
      {"text", &c.text},     {"filter", &c.filter}, {"type", &c.folderType}, {"root", &c.root}, {"key", &c.key},
      {"value", &c.value},   {"string", &c.string}, {"match", &c.match}};
  for (const auto& [name, value] : fields)
    if (!value->empty()) out += std::string(" ") + name + "=" + *value;
  return out;
}

TEST(PluginLines, FieldsOfEveryCommand) {
  const std::pair<const char*, const char*> cases[] = {
      {"DELFILE=C:\\APP\\LOGS\\RUN.LOG", "F verb=DELFILE path=C:\\APP\\LOGS\\RUN.LOG drive=C: folder=\\APP\\LOGS file=RUN.LOG"},
      {"DELFILE=\\\\HOST\\SHARE\\A.TXT", "F verb=DELFILE path=\\\\HOST\\SHARE\\A.TXT folder=\\\\HOST\\SHARE file=A.TXT"},
      {"EXECUTE=C:\\TOOLS\\CLEAN.EXE /Q", "F verb=EXECUTE path=C:\\TOOLS\\CLEAN.EXE /Q drive=C: folder=\\TOOLS file=CLEAN.EXE /Q"},
      {"EXEHIDE=C:\\RUN.EXE", "F verb=EXEHIDE path=C:\\RUN.EXE drive=C: file=RUN.EXE"},
      {"DELTEXT=C:\\A\\B.INI['RECENT=']", "F verb=DELTEXT path=C:\\A\\B.INI drive=C: folder=\\A file=B.INI text=RECENT="},
      {"DELTEXT=C:\\B.INI[X", "F verb=DELTEXT path=C:\\B.INI drive=C: file=B.INI text=X"},
      {"DELEXML=C:\\P\\PREFS.XML[HISTORY]", "F verb=DELEXML path=C:\\P\\PREFS.XML drive=C: folder=\\P file=PREFS.XML text=HISTORY"},
      {"DELFOLD=C:\\CACHE\\[*.TMP]DS", "F verb=DELFOLD path=C:\\CACHE drive=C: folder=\\CACHE filter=*.TMP type=DS"},
      {"DELFOLD=C:\\*\\TEMP[*.*]OR", "F verb=DELFOLD path=C:\\*\\TEMP drive=C: folder=\\*\\TEMP filter=*.* type=OR"},
      {"DEL1VAL=HKCU:\\SOFTWARE\\APP[LAST FILE]", "R verb=DEL1VAL root=HKCU key=SOFTWARE\\APP value=LAST FILE"},
      {"DEL1KEY=HKLM:SOFTWARE\\APP\\MRU\\", "R verb=DEL1KEY root=HKLM key=SOFTWARE\\APP\\MRU"},
      {"DELVALS=HKCU:SOFTWARE\\APP['FILE']B", "R verb=DELVALS root=HKCU key=SOFTWARE\\APP string=FILE match=B"},
      {"DELKEYS=HKU:*\\SOFTWARE[*]A", "R verb=DELKEYS root=HKU key=*\\SOFTWARE string=* match=A"},
      {"DELSKVS=HKCR:X[URL]C", "R verb=DELSKVS root=HKCR key=X string=URL match=C"},
  };
  for (const auto& [line, fields] : cases) EXPECT_EQ(Fields(ParsePluginCommand(line)), fields) << line;
}

TEST(PluginLines, InvalidFolderTypesAndMatchLetters) {
  for (const char* line : {"DELFOLD=C:\\X[*.*]ZZ", "DELFOLD=C:\\X[*.*]", "DELFOLD=C:\\X[*.*]IS ", "DELVALS=HKCU:X[A]D",
                           "DELKEYS=HKCU:X[A]", "DELSKVS=HKCU:X[A]BC"})
    EXPECT_TRUE(ParsePluginCommand(line).Invalid()) << line;
  EXPECT_EQ(ParsePluginCommand("DELFOLD=C:\\X[*.*]ZZ").folderType, "?");
  EXPECT_EQ(ParsePluginCommand("DELVALS=HKCU:X[A]D").match, "?");
  // The line is upper-cased first, so a lower-case letter counts.
  EXPECT_EQ(ParsePluginCommand("DELVALS=HKCU:X[A]c").match, "C");
}

TEST(PluginLines, StatementsThatAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"DELFILE=#APPDATA#\\APP\\*.LOG", "path is not a full path"},
      {"DELFILE=RUN.LOG", "path is not a full path"},
      {"DELFILE=C:RUN.LOG", "path is not a full path"},
      {"DELFOLD=C:\\[*.*]DS", "path is not a full path"},
      {"DELFOLD=C:\\APP\\CACHE[..\\..\\*.*]IS", "file mask names a folder"},
      {"EXECUTE=CLEAN.EXE", "path is not a full path"},
      {"DELTEXT=C:\\A.INI[]", "text to match is empty"},
      {"DELEXML=C:\\A.XML['']", "text to match is empty"},
      {"DEL1KEY=HKCU:", "registry key is empty"},
      {"DELKEYS=HKCU:\\[*]A", "registry key is empty"},
      {"DELVALS=HKCU:SOFTWARE\\X[]C", "text to match is empty"},
  };
  for (const auto& [line, reason] : cases) EXPECT_EQ(RefusalOf(ParsePluginCommand(line)), reason) << line;
  for (const char* line : {"DELFILE=C:\\A\\B.TXT", "DELFILE=\\\\HOST\\SHARE\\B.TXT", "DELFOLD=D:\\X\\[*.*]IS",
                           "DEL1VAL=HKCU:X[]", "DELVALS=HKCU:X[*]A", "ROT13", "EXECUTE=\"C:\\MY TOOLS\\X.EXE\" /S"})
    EXPECT_FALSE(RefusalOf(ParsePluginCommand(line))) << line;
}

TEST(PluginMatching, WildcardsMasksAndNames) {
  EXPECT_TRUE(WildcardMatch("Profile.Default", "*.DEFAULT"));
  EXPECT_TRUE(WildcardMatch("ab", "a?"));
  EXPECT_TRUE(WildcardMatch("abc", "*"));
  EXPECT_TRUE(WildcardMatch("a.b.c", "*.*.c"));
  EXPECT_FALSE(WildcardMatch("abc", "a?"));
  EXPECT_FALSE(WildcardMatch("abd", "*c"));

  EXPECT_TRUE(MaskExtensionFits("*.HTM", "PAGE.HTM"));
  EXPECT_FALSE(MaskExtensionFits("*.HTM", "PAGE.HTML"));
  EXPECT_FALSE(MaskExtensionFits("*.H?M", "PAGE.HTML"));
  EXPECT_TRUE(MaskExtensionFits("*.HT*", "PAGE.HTML"));
  EXPECT_TRUE(MaskExtensionFits("*.*", "NOEXTENSION"));
  EXPECT_TRUE(MaskExtensionFits("*", "PAGE.HTML"));

  EXPECT_TRUE(NameMatches("ANYTHING", "*", "A"));
  EXPECT_TRUE(NameMatches("FILE1", "FILE", "B"));
  EXPECT_FALSE(NameMatches("MYFILE", "FILE", "B"));
  EXPECT_TRUE(NameMatches("MYFILE", "FILE", "C"));
  EXPECT_FALSE(NameMatches("FILE", "FILE", "A"));
}

TEST(PluginLabels, ErrorTextsRootsAndTypes) {
  const std::tuple<uint32_t, char, const char*> texts[] = {
      {0, ' ', "         deleted - "},   {2, 'i', "  File Not Found - "}, {3, ' ', "  Path Not Found - "},
      {145, ' ', "   Dir Not Empty - "}, {145, 'i', "  Ignore Dir Err - "}, {32, ' ', "          Locked - "},
      {1224, 'i', "   Ignore Locked - "}, {5, ' ', "   Access Denied - "}, {5, 'i', "   Ignore Denied - "},
      {87, ' ', " -Error-87 - "},         {87, 'i', "   Ignore Errors - "}};
  for (const auto& [code, answer, text] : texts) EXPECT_EQ(PluginErrorText(code, answer), text) << code;

  EXPECT_EQ(ParseRoot("HKU"), platform::RegistryRoot::Users);
  EXPECT_EQ(ParseRoot("HKCC"), platform::RegistryRoot::CurrentConfig);
  EXPECT_FALSE(ParseRoot("HKEY_CURRENT_USER"));
  EXPECT_EQ(RegistryTypeName(0), "Reg_None");
  EXPECT_EQ(RegistryTypeName(4), "Reg_Dword");
  EXPECT_EQ(RegistryTypeName(10), "Reg_Resource_Requirements_List");
  EXPECT_EQ(RegistryTypeName(11), "Unknown DataType");
}

TEST(PluginText, LinesKeepTheirOwnBreaks) {
  std::vector<std::string> lines = SplitKeepingBreaks("a\r\nb\nc\rd");
  EXPECT_EQ(lines, (std::vector<std::string>{"a\r\n", "b\n", "c\r", "d"}));
  EXPECT_TRUE(SplitKeepingBreaks("").empty());
}

struct XmlCase {
  const char* text;
  const char* name;
  const char* kept;
  size_t elements;
};

TEST(PluginText, XmlElementsAreCutWithTheirLines) {
  const XmlCase cases[] = {
      // A one-line element takes its line with it.
      {"<a>\r\n  <hist>x</hist>\r\n  <keep/>\r\n</a>\r\n", "HIST", "<a>\r\n  <keep/>\r\n</a>\r\n", 1},
      // Several lines, attributes, a ">" inside a quoted value.
      {"<a>\n<hist when=\"a>b\">\n  1\n</hist>\n</a>\n", "hist", "<a>\n</a>\n", 1},
      // Self-closing, with and without a blank, in any case.
      {"<r><Item/><item id='1' /><items/></r>", "ITEM", "<r><items/></r>", 2},
      // What shares the first and last lines stays, joined.
      {"<r>a<h>\nx\n</h>b</r>\n", "H", "<r>ab</r>\n", 1},
      // Nested elements of the name go with the outer one.
      {"<h><h>in</h></h>\n<k/>\n", "H", "<k/>\n", 1},
      // Two on one line, the line then blank.
      {"x\n <h/> <h/> \ny", "H", "x\ny", 2},
      // A name that only begins like the element's is another element.
      {"<history/>\n", "HIST", "<history/>\n", 0},
  };
  for (const XmlCase& c : cases) {
    XmlElements found = FindXmlElements(c.text, c.name);
    EXPECT_EQ(found.found.size(), c.elements) << c.text;
    EXPECT_FALSE(found.unclosed) << c.text;
    EXPECT_EQ(CutXmlElements(c.text, found.found), c.kept) << c.text;
  }
}

TEST(PluginText, AnElementThatNeverEndsStopsTheSearch) {
  std::string text = "<h/>\n<h>open\n<h/>\n";
  XmlElements found = FindXmlElements(text, "H");
  ASSERT_EQ(found.found.size(), 1u);
  EXPECT_EQ(found.unclosed, text.find("<h>"));
  EXPECT_EQ(CutXmlElements(text, found.found), "<h>open\n<h/>\n");
  EXPECT_EQ(ShownElement("<h a='1'>\r\n   text\r\n</h>"), "<h a='1'> text </h>");
  EXPECT_EQ(ShownElement(std::string(300, 'x')).size(), 255u);
}

TEST(PluginSelection, SortedWithoutBlanksAndRepeats) {
  EXPECT_EQ(SortedSelection({"ZED.STD", "", "alpha.cus", "  ", "ALPHA.CUS", "Beta.std"}),
            (std::vector<std::string>{"alpha.cus", "Beta.std", "ZED.STD"}));
}

}  // namespace
}  // namespace tidemark::plugins
