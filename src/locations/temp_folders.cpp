#include "locations/temp_folders.h"

#include <algorithm>
#include <cctype>

#include "platform/text.h"

namespace tidemark::locations {
namespace {

bool IsDrivePath(const std::string& path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

// A full drive path with "." and ".." resolved and every component spelt as
// the file system lists it (so 8.3 forms become long names); a component that
// cannot be found is kept as written. Other paths come back unchanged.
std::string LongForm(platform::FileSystem& files, const std::string& path) {
  if (!IsDrivePath(path)) return path;
  std::vector<std::string> components;
  for (const std::string& component : Split(std::string_view(path).substr(3), '\\')) {
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    components.push_back(component);
  }
  std::string result = path.substr(0, 3);
  for (const std::string& component : components) {
    std::string candidate = JoinPath(result, component);
    auto entry = files.EntryOf(candidate);
    result = entry ? JoinPath(result, entry->name) : candidate;
  }
  return result;
}

bool Contains(const std::vector<TempFolderEntry>& list, const std::string& path) {
  return std::any_of(list.begin(), list.end(), [&](const TempFolderEntry& entry) { return entry.path == path; });
}

}  // namespace

void ValidateTempFolder(std::string& path, std::string& status, TempFolderState& state, platform::FileSystem& files,
                        platform::Shell& shell, bool anyTemp) {
  state = TempFolderState::NotFound;
  status.clear();
  if (!path.empty() && path[0] == ':') return;
  std::string expanded = shell.ExpandEnvVars(path);
  if (expanded.size() > 1) {
    expanded = LongForm(files, expanded);
    if (expanded.back() == '\\') expanded.pop_back();
    expanded = UpperCase(expanded);
  }
  path = expanded;
  if (path.empty()) {
    path = "... Not Found ...";
    status = "... No Path Specified ...";
    return;
  }
  if (!files.FolderExists(path)) {
    status = "... Folder Not Found ...";
    return;
  }
  state = TempFolderState::Usable;
  // A drive-relative or otherwise partial path could name any folder.
  bool fullPath = path.size() >= 4 && IsDrivePath(path);
  if (!fullPath || (!anyTemp && !EndsWith(path, "\\TEMP"))) {
    state = TempFolderState::NotSafe;
    status = "... not safe to use - Folder name not \"temp\" ...";
  }
}

TempFolders InitTempFolders(platform::FileSystem& files, platform::Shell& shell,
                            const std::array<bool, kTempRowCount>& chosen, bool anyTemp, bool tisVista) {
  TempFolders temp;
  auto validate = [&](TempFolderRow& row, std::string path) {
    ValidateTempFolder(path, row.status, row.state, files, shell, anyTemp);
    row.path = std::move(path);
  };
  validate(temp.rows[kSystemTemp], shell.EnvironmentVariable("tmp").value_or(""));
  validate(temp.rows[kWindowsTemp], shell.WindowsFolder() + "\\temp");
  validate(temp.rows[kOldTemp], shell.EnvironmentVariable("temp").value_or(""));

  const TempFolderRow& windowsTemp = temp.rows[kWindowsTemp];
  if (!windowsTemp.Usable()) {
    temp.rows[kBootDiskTemp] = {"", "... Path Not Found ...", TempFolderState::NotFound};
  } else {
    char drive = windowsTemp.path[0] == '\\' ? 'C' : windowsTemp.path[0];
    validate(temp.rows[kBootDiskTemp], std::string(1, drive) + ":\\temp");
  }

  validate(temp.systemTempPath, shell.TempPath());
  if (!temp.systemTempPath.Usable()) temp.systemTempPath = {"", "... Folder Not Found ...", TempFolderState::NotFound};

  TempFolderRow& windowsRow = temp.rows[kWindowsTemp];
  if (tisVista && windowsRow.Usable() &&
      !files.ListMatching(windowsRow.path, "*.*", [](const platform::DirEntry&) { return false; })) {
    windowsRow.state = TempFolderState::NotFound;
    windowsRow.status = "Only available to Admin with Elevated UAC";
    temp.windowsTempDisabled = true;
  }

  for (int i = 0; i < kTempRowCount; ++i) {
    const TempFolderRow& row = temp.rows[static_cast<size_t>(i)];
    if (!row.Usable()) continue;
    TempFolderEntry entry{kTempRowNames[static_cast<size_t>(i)], row.path};
    if (!Contains(temp.available, row.path)) temp.available.push_back(entry);
    if (chosen[static_cast<size_t>(i)] && !Contains(temp.selected, row.path)) temp.selected.push_back(entry);
  }
  if (temp.selected.empty() && temp.systemTempPath.Usable())
    temp.selected.push_back({kTempRowNames[kSystemTemp], temp.systemTempPath.path});
  return temp;
}

}  // namespace tidemark::locations
