#include "plugins/plugin_expand.h"

#include "platform/text.h"
#include "plugins/plugin_syntax.h"

namespace tidemark::plugins {
namespace {

std::optional<std::string> TokenText(std::string_view token, PlaceholderSource& source) {
  if (token == "#USERSOFTWARE#")
    return std::string(source.VistaOrLater() ? "Software\\AppDataLow\\Software" : "Software");
  if (token == "#COMPUTER#") return source.ComputerName();
  if (token == "#USER#") return source.UserName();
  if (token == "#APPDATA#") return source.SpecialFolder(platform::csidl::kAppData);
  if (token == "#LOCALAPPDATA#") return source.SpecialFolder(platform::csidl::kLocalAppData);
  if (token == "#PICTURES#") return source.SpecialFolder(platform::csidl::kMyPictures);
  if (token == "#DOCUMENTS#") return source.SpecialFolder(platform::csidl::kPersonal);
  return std::nullopt;
}

// The token at the first "#".
std::string ReplaceFirstToken(const std::string& line, PlaceholderSource& source) {
  size_t at = line.find('#');
  if (at == std::string::npos) return line;
  size_t end = line.find('#', at + 1);
  if (end == std::string::npos) return line;
  auto text = TokenText(std::string_view(line).substr(at, end - at + 1), source);
  if (!text) return line;
  return line.substr(0, at) + *text + line.substr(end + 1);
}

// "^" root ":" key "[" name "]" from the first "^" up to the next "]".
std::string ReplaceFirstReference(const std::string& line, PlaceholderSource& source) {
  size_t at = line.find('^');
  if (at == std::string::npos) return line;
  size_t end = line.find(']', at);
  if (end == std::string::npos) return line;
  std::string_view reference = std::string_view(line).substr(at + 1, end - at - 1);
  size_t colon = reference.find(':');
  size_t bracket = reference.find('[');
  if (colon == std::string_view::npos || bracket == std::string_view::npos || bracket < colon) return line;
  auto root = ParseRoot(reference.substr(0, colon));
  if (!root) return line;
  std::string key(reference.substr(colon + 1, bracket - colon - 1));
  while (!key.empty() && key.front() == '\\') key.erase(0, 1);
  auto text = source.RegistryText(*root, key, std::string(reference.substr(bracket + 1)));
  if (!text || text->empty()) return line;
  return line.substr(0, at) + *text + line.substr(end + 1);
}

}  // namespace

std::optional<std::string> SystemPlaceholders::SpecialFolder(int csidl) {
  platform::SpecialFolder folder = shell_.GetSpecialFolder(csidl);
  if (!folder.found || folder.path.empty()) return std::nullopt;
  return folder.path;
}

std::optional<std::string> ExpandPluginLine(std::string_view line, PlaceholderSource& source) {
  std::string expanded = UpperCase(line);
  for (int pass = 0; pass < kMaxExpansionPasses && expanded.size() <= kMaxExpandedLength; ++pass) {
    std::string before = expanded;
    expanded = UpperCase(ReplaceFirstToken(expanded, source));
    expanded = UpperCase(ReplaceFirstReference(expanded, source));
    expanded = UpperCase(source.ExpandEnvironment(expanded));
    if (expanded == before) return expanded;
  }
  return std::nullopt;
}

}  // namespace tidemark::plugins
