#include "platform/path_names.h"

#include <vector>

#include "platform/text.h"

namespace tidemark::platform {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "X:\" at the start.
bool StartsWithDriveRoot(std::string_view path) {
  return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

bool IsDeviceForm(std::string_view path) {
  return path.size() >= 4 && (path[0] == '\\' || path[0] == '/') &&
         (path[1] == '\\' || path[1] == '/' || path[1] == '?') && (path[2] == '?' || path[2] == '.') &&
         (path[3] == '\\' || path[3] == '/');
}

}  // namespace

bool IsFullPath(std::string_view path) {
  if (StartsWithDriveRoot(path)) return true;
  if (path.size() < 5 || path[0] != '\\' || path[1] != '\\' || path[2] == '\\' || IsDeviceForm(path)) return false;
  size_t share = path.find('\\', 2);
  return share != std::string_view::npos && share + 1 < path.size() && path[share + 1] != '\\';
}

bool IsRootPath(std::string_view path) {
  if (path.size() == 3 && StartsWithDriveRoot(path)) return true;
  if (!StartsWith(path, "\\\\")) return false;
  size_t share = path.find('\\', 2);
  return share != std::string_view::npos && path.find('\\', share + 1) == std::string_view::npos;
}

bool IsExactName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return false;
  return true;
}

std::optional<std::string> CanonicalFolder(std::string_view path) {
  if (IsDeviceForm(path)) return std::nullopt;
  std::string given(path);
  for (char& c : given)
    if (c == '/') c = '\\';
  std::string root;
  std::string_view rest;
  if (StartsWithDriveRoot(given)) {
    root = given.substr(0, 2);
    rest = std::string_view(given).substr(3);
  } else if (StartsWith(given, "\\\\")) {
    std::vector<std::string> parts = Split(std::string_view(given).substr(2), '\\');
    if (parts.size() < 2 || !IsExactName(parts[0]) || !IsExactName(parts[1])) return std::nullopt;
    root = "\\\\" + parts[0] + "\\" + parts[1];
    rest = std::string_view(given).substr(std::min(given.size(), root.size() + 1));
  } else {
    return std::nullopt;
  }
  std::vector<std::string> steps;
  for (const std::string& step : Split(rest, '\\')) {
    if (step.empty() || step == ".") continue;
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();  // above the root is the root
      continue;
    }
    if (!IsExactName(step)) return std::nullopt;
    steps.push_back(step);
  }
  if (steps.empty()) return root[0] == '\\' ? root : root + "\\";
  for (const std::string& step : steps) root += "\\" + step;
  return root;
}

std::optional<std::string> ReachableName(const DirEntry& entry) {
  if (IsExactName(entry.name)) return entry.name;
  if (IsExactName(entry.shortName)) return entry.shortName;
  return std::nullopt;
}

}  // namespace tidemark::platform
