// Plugin files: their names, the kinds of their lines, the fields of their
// commands and the texts their results are reported with. Lines are looked
// at in upper case, so commands, paths and registry names ignore case.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tidemark::plugins {

// A plugin file: ".STD" or ".CUS", whatever the case.
bool IsPluginFileName(std::string_view name);

constexpr int kMaxPluginLevel = 62;
constexpr std::string_view kLevelPrefix = "LEVEL=";

bool IsRot13Line(std::string_view upperLine);
// The level of a "LEVEL=" line: the digits after it up to the first
// non-digit (none: 0), capped just above the highest level supported.
// Nothing for any other line.
std::optional<int> LevelOf(std::string_view upperLine);
// Letters moved 13 places within their half of the alphabet.
std::string Rot13(std::string_view text);

enum class Verb { None, DelFile, DelText, DelExml, DelFold, Execute, ExeHide, Del1Val, DelVals, Del1Key, DelKeys, DelSkvs };

// One statement, parsed. Fields the verb does not have stay empty; an
// invalid folder type or match letter is "?".
struct PluginCommand {
  char type = 'T';  // 'F' file command, 'R' registry command, 'T' text line
  Verb verb = Verb::None;
  std::string verbText;  // "DELFILE", ...
  std::string path;      // the path as written (for DELFOLD the folder)
  std::string drive, folder, file;  // "C:", "\A\B", "X.TXT"
  std::string text;                 // DELTEXT text, DELEXML element name
  std::string filter;               // DELFOLD file mask
  std::string folderType;           // DELFOLD "IS", "PS", "DS", "OR", "OD"
  std::string root, key, value, string;
  std::string match;  // "B", "C", "A"

  bool Invalid() const { return folderType == "?" || match == "?"; }
  // Drive and folder: where the statement's folder wildcards are walked.
  std::string Folder() const { return drive + folder; }
};

PluginCommand ParsePluginCommand(std::string_view upperLine);

// Why a statement is not run though its fields are valid (nothing: it runs).
// A file or folder command needs a full path ("X:\..." or a UNC path) and
// a DELFOLD mask no folder part, a registry command a key, and a text,
// element name or match string must not be empty (empty, it would match
// everything). Programs are judged by ParseProgramLine.
std::optional<std::string> RefusalOf(const PluginCommand& command);

// A match string "*" takes every name: meant when the line says so, not
// when a placeholder, registry reference or variable turned it into "*".
bool MatchesAllThroughPlaceholders(const PluginCommand& expanded, std::string_view writtenLine);

// A key whose deletion, or the deletion of its sub-keys, would take the data
// of many programs: a key right below a hive (below a user's hive in HKU)
// or one of the shared keys such as SOFTWARE\MICROSOFT, in any case and in
// its low-integrity (SOFTWARE\APPDATALOW) and WOW6432NODE spellings.
bool IsSharedRegistryKey(platform::RegistryRoot root, std::string_view key);

// EXECUTE's and EXEHIDE's command line: the program, then after a blank its
// arguments. A program path with blanks stands in double quotes.
enum class ProgramPlace { FullPath, SystemFolders, Relative };
struct ProgramLine {
  std::string program;    // quotes removed; ".EXE" added to a name without extension, as Windows does
  std::string arguments;  // as written
  ProgramPlace place = ProgramPlace::Relative;  // a bare name is the system's own program
};
// Nothing when the program cannot be told from its arguments: a quote that
// does not close at a blank or the end, or an unquoted path followed by more
// text whose name does not end in .EXE, .COM, .BAT or .CMD (a path with
// blanks, which Windows would start piece by piece: "D:\MY.EXE" for
// "D:\MY TOOLS\CLEAN.EXE /ALL").
std::optional<ProgramLine> ParseProgramLine(std::string_view line);

bool HasWildcards(std::string_view text);
// "*" and "?" over the whole name, ignoring case.
bool WildcardMatch(std::string_view name, std::string_view pattern);
// A listing by a mask also finds names by their 8.3 forms ("*.HTM" finds
// "PAGE.HTML" as "PAGE~1.HTM"): unless the mask's extension holds "*", a
// file fits only when its extension is as long as the mask's.
bool MaskExtensionFits(std::string_view mask, std::string_view fileName);
// The match test of DELVALS, DELKEYS and DELSKVS on an upper-case name.
bool NameMatches(std::string_view upperName, std::string_view string, std::string_view match);

std::optional<platform::RegistryRoot> ParseRoot(std::string_view root);
// "Reg_Sz", ... by registry data type; "Unknown DataType" beyond them.
std::string RegistryTypeName(uint32_t type);
// The 19-character label of a failed file or folder deletion by its
// Windows error code; protectAnswer 'i' turns most into "Ignore" labels.
std::string PluginErrorText(uint32_t code, char protectAnswer);

// The text's lines, each with its own line break (CR LF, LF or CR), so that
// joining the pieces gives the text back.
std::vector<std::string> SplitKeepingBreaks(std::string_view text);

// DELEXML: the elements of one name in a text.
struct TextSpan {
  size_t start = 0;
  size_t end = 0;  // one past the element's last character
};
struct XmlElements {
  std::vector<TextSpan> found;     // outermost elements, in text order
  std::optional<size_t> unclosed;  // where an element starts that never ends
};
// An element starts at "<" + name followed by a blank, ">" or "/" (the
// name in any case) and ends at the "/>" of its start tag or at the "</" +
// name + ">" that matches it, nested elements of the name included. The
// search stops at an element that never ends.
XmlElements FindXmlElements(std::string_view text, std::string_view name);
// Cuts the elements out, joins what their first and last lines keep, and
// drops lines left blank.
std::string CutXmlElements(std::string_view text, const std::vector<TextSpan>& elements);
// An element as its report line shows it: on one line, runs of blanks and
// line breaks as one blank, at most 255 characters.
std::string ShownElement(std::string_view element);

}  // namespace tidemark::plugins
