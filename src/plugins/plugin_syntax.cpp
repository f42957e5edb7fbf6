#include "plugins/plugin_syntax.h"

#include <algorithm>
#include <array>

#include "engine/deletion.h"
#include "engine/labels.h"
#include "platform/path_names.h"
#include "platform/text.h"

namespace tidemark::plugins {
namespace {

struct VerbInfo {
  std::string_view prefix;
  Verb verb;
  char type;
};

constexpr std::array<VerbInfo, 11> kVerbs = {{
    {"DELFILE=", Verb::DelFile, 'F'},
    {"DELTEXT=", Verb::DelText, 'F'},
    {"DELEXML=", Verb::DelExml, 'F'},
    {"DELFOLD=", Verb::DelFold, 'F'},
    {"EXECUTE=", Verb::Execute, 'F'},
    {"EXEHIDE=", Verb::ExeHide, 'F'},
    {"DEL1VAL=", Verb::Del1Val, 'R'},
    {"DELVALS=", Verb::DelVals, 'R'},
    {"DEL1KEY=", Verb::Del1Key, 'R'},
    {"DELKEYS=", Verb::DelKeys, 'R'},
    {"DELSKVS=", Verb::DelSkvs, 'R'},
}};

constexpr size_t kMinCommandLength = 10;
constexpr size_t kMaxShownElement = 255;

// Fields one after another, each up to its delimiter, which is consumed.
class Fields {
 public:
  explicit Fields(std::string_view text) : text_(text) {}
  std::string Next(char delimiter) {
    size_t at = text_.find(delimiter, next_);
    std::string field(text_.substr(next_, at == std::string_view::npos ? std::string_view::npos : at - next_));
    next_ = at == std::string_view::npos ? text_.size() : at + 1;
    return field;
  }
  std::string Rest() { return std::string(text_.substr(next_)); }

 private:
  std::string_view text_;
  size_t next_ = 0;
};

// One "'" at each end is removed.
std::string Unquoted(std::string field) {
  if (field.size() >= 2 && field.front() == '\'' && field.back() == '\'') return field.substr(1, field.size() - 2);
  return field;
}

std::string WithoutEdgeBackslashes(std::string key) {
  size_t first = key.find_first_not_of('\\');
  if (first == std::string::npos) return {};
  return key.substr(first, key.find_last_not_of('\\') - first + 1);
}

// Drive, folder and file name of a path; the folder keeps its leading "\".
void SplitPath(PluginCommand& command, std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') {
    command.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  size_t last = path.rfind('\\');
  if (last == std::string_view::npos) {
    command.file = std::string(path);
  } else {
    command.folder = std::string(path.substr(0, last));
    command.file = std::string(path.substr(last + 1));
  }
}

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool SameTextAt(std::string_view text, size_t at, std::string_view part) {
  if (at > text.size() || text.size() - at < part.size()) return false;
  for (size_t i = 0; i < part.size(); ++i)
    if (Folded(text[at + i]) != Folded(part[i])) return false;
  return true;
}

// "<" + name followed by a blank, ">" or "/" at `at`.
bool ElementStartsAt(std::string_view text, size_t at, std::string_view name) {
  size_t after = at + 1 + name.size();
  return text[at] == '<' && SameTextAt(text, at + 1, name) && after < text.size() &&
         (IsBlank(text[after]) || text[after] == '>' || text[after] == '/');
}

// The ">" that ends the tag whose name ends before `from`; quoted attribute
// values may hold ">".
std::optional<size_t> TagEnd(std::string_view text, size_t from) {
  for (size_t i = from; i < text.size(); ++i) {
    if (text[i] == '"' || text[i] == '\'') {
      i = text.find(text[i], i + 1);
      if (i == std::string_view::npos) return std::nullopt;
    } else if (text[i] == '>') {
      return i;
    }
  }
  return std::nullopt;
}

// "</" + name, blanks, ">" at `at`: one past its end.
std::optional<size_t> EndTagAt(std::string_view text, size_t at, std::string_view name) {
  if (text.compare(at, 2, "</") != 0 || !SameTextAt(text, at + 2, name)) return std::nullopt;
  size_t i = at + 2 + name.size();
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && text[i] == '>') return i + 1;
  return std::nullopt;
}

// One past the end of the element starting at `start`.
std::optional<size_t> ElementEnd(std::string_view text, size_t start, std::string_view name) {
  auto tagEnd = TagEnd(text, start + 1 + name.size());
  if (!tagEnd) return std::nullopt;
  if (text[*tagEnd - 1] == '/') return *tagEnd + 1;
  int depth = 1;
  for (size_t at = text.find('<', *tagEnd + 1); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (auto end = EndTagAt(text, at, name)) {
      if (--depth == 0) return end;
      at = *end - 1;
    } else if (ElementStartsAt(text, at, name)) {
      auto nestedEnd = TagEnd(text, at + 1 + name.size());
      if (!nestedEnd) return std::nullopt;
      if (text[*nestedEnd - 1] != '/') ++depth;
      at = *nestedEnd;
    }
  }
  return std::nullopt;
}

}  // namespace

bool IsPluginFileName(std::string_view name) {
  if (name.find_first_of("\\/:") != std::string_view::npos) return false;
  return EndsWithNoCase(name, ".STD") || EndsWithNoCase(name, ".CUS");
}

bool IsRot13Line(std::string_view upperLine) { return StartsWith(upperLine, "ROT13"); }

std::optional<int> LevelOf(std::string_view upperLine) {
  if (!StartsWith(upperLine, kLevelPrefix)) return std::nullopt;
  int level = 0;
  for (size_t i = kLevelPrefix.size(); i < upperLine.size() && upperLine[i] >= '0' && upperLine[i] <= '9'; ++i)
    level = std::min(level * 10 + (upperLine[i] - '0'), kMaxPluginLevel + 1);
  return level;
}

std::string Rot13(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if ((c >= 'A' && c <= 'M') || (c >= 'a' && c <= 'm'))
      c = static_cast<char>(c + 13);
    else if ((c >= 'N' && c <= 'Z') || (c >= 'n' && c <= 'z'))
      c = static_cast<char>(c - 13);
  }
  return out;
}

PluginCommand ParsePluginCommand(std::string_view upperLine) {
  PluginCommand command;
  if (upperLine.size() < kMinCommandLength) return command;
  const VerbInfo* info = nullptr;
  for (const VerbInfo& candidate : kVerbs)
    if (StartsWith(upperLine, candidate.prefix)) info = &candidate;
  if (!info) return command;
  command.type = info->type;
  command.verb = info->verb;
  command.verbText = std::string(info->prefix.substr(0, 7));

  Fields fields(upperLine.substr(info->prefix.size()));
  switch (info->verb) {
    case Verb::DelFile:
    case Verb::Execute:
    case Verb::ExeHide:
      command.path = fields.Rest();
      SplitPath(command, command.path);
      break;
    case Verb::DelText:
    case Verb::DelExml:
      command.path = fields.Next('[');
      SplitPath(command, command.path);
      command.text = Unquoted(fields.Next(']'));
      break;
    case Verb::DelFold: {
      command.path = fields.Next('[');
      while (!command.path.empty() && command.path.back() == '\\') command.path.pop_back();
      SplitPath(command, command.path + "\\");
      command.filter = fields.Next(']');
      command.folderType = fields.Rest();
      static constexpr std::string_view kTypes[] = {"IS", "PS", "DS", "OR", "OD"};
      bool known = false;
      for (std::string_view type : kTypes) known = known || command.folderType == type;
      if (!known) command.folderType = "?";
      break;
    }
    case Verb::Del1Val:
      command.root = fields.Next(':');
      command.key = WithoutEdgeBackslashes(fields.Next('['));
      command.value = fields.Next(']');
      break;
    case Verb::Del1Key:
      command.root = fields.Next(':');
      command.key = WithoutEdgeBackslashes(fields.Rest());
      break;
    case Verb::DelVals:
    case Verb::DelKeys:
    case Verb::DelSkvs:
      command.root = fields.Next(':');
      command.key = WithoutEdgeBackslashes(fields.Next('['));
      command.string = Unquoted(fields.Next(']'));
      command.match = UpperCase(fields.Rest());
      if (command.match != "B" && command.match != "C" && command.match != "A") command.match = "?";
      break;
    case Verb::None:
      break;
  }
  return command;
}

std::optional<std::string> RefusalOf(const PluginCommand& command) {
  bool program = command.verb == Verb::Execute || command.verb == Verb::ExeHide;
  if (command.type == 'F' && !program && !platform::IsFullPath(command.path)) return "path is not a full path";
  // A mask that names a folder would list another folder's files.
  if (command.verb == Verb::DelFold && command.filter.find_first_of("\\/:") != std::string::npos)
    return "file mask names a folder";
  if (command.type == 'R' && command.key.empty()) return "registry key is empty";
  if ((command.verb == Verb::DelText || command.verb == Verb::DelExml) && command.text.empty())
    return "text to match is empty";
  if (!command.match.empty() && command.string.empty()) return "text to match is empty";
  return std::nullopt;
}

bool MatchesAllThroughPlaceholders(const PluginCommand& expanded, std::string_view writtenLine) {
  if (expanded.match.empty() || expanded.string != "*") return false;
  const std::string& letter = expanded.match;
  return !EndsWith(writtenLine, "[*]" + letter) && !EndsWith(writtenLine, "['*']" + letter);
}

bool IsSharedRegistryKey(platform::RegistryRoot root, std::string_view key) {
  // "*" stands for any one name.
  static constexpr std::string_view kSharedKeys[] = {
      "SOFTWARE\\APPDATALOW",
      "SOFTWARE\\CLASSES",
      "SOFTWARE\\CLASSES\\*",  // the keys of HKCR
      "SOFTWARE\\MICROSOFT",
      "SOFTWARE\\MICROSOFT\\WINDOWS",
      "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
      "SOFTWARE\\MICROSOFT\\WINDOWS NT",
      "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION",
      "SOFTWARE\\POLICIES",
      "SOFTWARE\\POLICIES\\MICROSOFT",
      "SOFTWARE\\WOW6432NODE",
      "SYSTEM\\*",  // the control sets, Select, Setup, MountedDevices, ...
      "SYSTEM\\*\\CONTROL",
      "SYSTEM\\*\\ENUM",
      "SYSTEM\\*\\SERVICES",
  };
  std::vector<std::string> names;
  for (std::string& name : Split(key, '\\'))
    if (!name.empty()) names.push_back(std::move(name));
  // HKU holds a hive per user: its keys count from below that hive.
  if (root == platform::RegistryRoot::Users && !names.empty()) names.erase(names.begin());
  // The low-integrity and 32-bit views of a key are the same key to the
  // programs that use them.
  if (names.size() > 2 && SameText(names[0], "SOFTWARE") && SameText(names[1], "APPDATALOW"))
    names.erase(names.begin(), names.begin() + 2);
  for (size_t i = 0; i + 1 < names.size();) {
    if (SameText(names[i], "WOW6432NODE"))
      names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
  if (names.size() <= 1) return true;
  return std::ranges::any_of(kSharedKeys, [&](std::string_view shared) {
    std::vector<std::string> pattern = Split(shared, '\\');
    return std::ranges::equal(
        names, pattern, [](const std::string& name, const std::string& part) { return WildcardMatch(name, part); });
  });
}

std::optional<ProgramLine> ParseProgramLine(std::string_view line) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  ProgramLine parsed;
  bool quoted = StartsWith(line, "\"");
  size_t end = quoted ? line.find('"', 1) : std::min(line.find_first_of(" \t"), line.size());
  if (end == std::string_view::npos) return std::nullopt;
  parsed.program = std::string(line.substr(quoted ? 1 : 0, quoted ? end - 1 : end));
  if (quoted) ++end;
  if (end < line.size() && !isBlank(line[end])) return std::nullopt;
  if (parsed.program.empty() || parsed.program.find('"') != std::string::npos) return std::nullopt;
  bool arguments = end < line.size();
  if (arguments) parsed.arguments = std::string(line.substr(end + 1));
  size_t folderEnd = parsed.program.find_last_of("\\/:");
  std::string name = parsed.program.substr(folderEnd == std::string::npos ? 0 : folderEnd + 1);
  size_t dot = name.rfind('.');
  // Unquoted, a path followed by more text must visibly end at a program's name.
  if (!quoted && arguments && folderEnd != std::string::npos) {
    static constexpr std::string_view kPrograms[] = {"EXE", "COM", "BAT", "CMD"};
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (std::ranges::none_of(kPrograms, [&](std::string_view known) { return SameText(extension, known); }))
      return std::nullopt;
  }
  if (dot == std::string::npos) parsed.program += ".EXE";
  if (folderEnd == std::string::npos)
    parsed.place = ProgramPlace::SystemFolders;
  else if (platform::IsFullPath(parsed.program))
    parsed.place = ProgramPlace::FullPath;
  return parsed;
}

bool HasWildcards(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool WildcardMatch(std::string_view name, std::string_view pattern) {
  size_t n = 0, p = 0;
  size_t starAt = std::string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || Folded(pattern[p]) == Folded(name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MaskExtensionFits(std::string_view mask, std::string_view fileName) {
  size_t dot = mask.rfind('.');
  if (dot == std::string_view::npos) return true;
  std::string_view extension = mask.substr(dot + 1);
  if (extension.find('*') != std::string_view::npos) return true;
  size_t fileDot = fileName.rfind('.');
  size_t fileExtension = fileDot == std::string_view::npos ? 0 : fileName.size() - fileDot - 1;
  return fileExtension == extension.size();
}

bool NameMatches(std::string_view upperName, std::string_view string, std::string_view match) {
  if (string == "*") return true;
  if (match == "B") return StartsWith(upperName, string);
  if (match == "C") return upperName.find(string) != std::string_view::npos;
  return false;
}

std::optional<platform::RegistryRoot> ParseRoot(std::string_view root) {
  using platform::RegistryRoot;
  if (root == "HKCR") return RegistryRoot::ClassesRoot;
  if (root == "HKCU") return RegistryRoot::CurrentUser;
  if (root == "HKLM") return RegistryRoot::LocalMachine;
  if (root == "HKU") return RegistryRoot::Users;
  if (root == "HKCC") return RegistryRoot::CurrentConfig;
  return std::nullopt;
}

std::string RegistryTypeName(uint32_t type) {
  static constexpr const char* kNames[] = {"Reg_None",
                                           "Reg_Sz",
                                           "Reg_Expand_Sz",
                                           "Reg_Binary",
                                           "Reg_Dword",
                                           "Reg_Dword_Big_Endian",
                                           "Reg_Link",
                                           "Reg_Multi_Sz",
                                           "Reg_Resource_List",
                                           "Reg_Full_Resource_Descriptor",
                                           "Reg_Resource_Requirements_List"};
  return type < std::size(kNames) ? kNames[type] : "Unknown DataType";
}

std::string PluginErrorText(uint32_t code, char protectAnswer) {
  using namespace engine;
  bool ignore = protectAnswer == 'i';
  switch (code) {
    case 0: return std::string(kPlugDeleted);
    case error_code::kFileNotFound: return std::string(kPlugFileNotFound);
    case error_code::kPathNotFound: return std::string(kPlugPathNotFound);
    case error_code::kDirNotEmpty: return std::string(ignore ? kPlugIgnoreDirErr : kPlugDirNotEmpty);
    case error_code::kSharingViolation:
    case error_code::kLockViolation:
    case error_code::kUserMappedFile: return std::string(ignore ? kPlugIgnoreLocked : kPlugLocked);
    case error_code::kAccessDenied: return std::string(ignore ? kPlugIgnoreDenied : kPlugAccessDenied);
    default: return ignore ? std::string(kPlugIgnoreErrors) : " -Error-" + std::to_string(code) + " - ";
  }
}

std::vector<std::string> SplitKeepingBreaks(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      end = text.size();
    } else {
      end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

XmlElements FindXmlElements(std::string_view text, std::string_view name) {
  XmlElements elements;
  if (name.empty()) return elements;
  for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (!ElementStartsAt(text, at, name)) continue;
    auto end = ElementEnd(text, at, name);
    if (!end) {
      elements.unclosed = at;
      break;
    }
    elements.found.push_back({at, *end});
    at = *end - 1;
  }
  return elements;
}

std::string CutXmlElements(std::string_view text, const std::vector<TextSpan>& elements) {
  std::string out(text);
  // From the last element back: what lies before an element stays in place.
  for (auto element = elements.rbegin(); element != elements.rend(); ++element) {
    size_t lineStart = 0;
    if (element->start > 0) {
      size_t previousBreak = out.find_last_of("\r\n", element->start - 1);
      if (previousBreak != std::string::npos) lineStart = previousBreak + 1;
    }
    size_t lineEnd = out.find_first_of("\r\n", element->end);
    if (lineEnd == std::string::npos) lineEnd = out.size();
    std::string kept = out.substr(lineStart, element->start - lineStart) + out.substr(element->end, lineEnd - element->end);
    if (Trim(kept).empty()) {
      size_t breakEnd = lineEnd;
      if (breakEnd < out.size()) breakEnd += (out[breakEnd] == '\r' && breakEnd + 1 < out.size() && out[breakEnd + 1] == '\n') ? 2 : 1;
      out.erase(lineStart, breakEnd - lineStart);
    } else {
      out.replace(lineStart, lineEnd - lineStart, kept);
    }
  }
  return out;
}

std::string ShownElement(std::string_view element) {
  std::string shown;
  bool blank = false;
  for (char c : element) {
    if (IsBlank(c)) {
      blank = true;
      continue;
    }
    if (blank && !shown.empty()) shown += ' ';
    blank = false;
    shown += c;
  }
  if (shown.size() > kMaxShownElement) shown.resize(kMaxShownElement);
  return shown;
}

}  // namespace tidemark::plugins
