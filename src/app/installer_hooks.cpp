#include "app/installer_hooks.h"

#include <vector>

#include "platform/text.h"
#include "schedule/startup_entry.h"

namespace tidemark::app {
namespace {

// Deletes the data files of one folder, then the folder when it is empty.
void RemoveDataFiles(const std::string& folder, platform::FileSystem& files) {
  if (folder.empty() || !files.FolderExists(folder)) return;
  for (const char* name : kDataFiles) {
    std::string path = JoinPath(folder, name);
    if (files.FileExists(path)) files.RemoveFile(path);
  }
  files.RemoveFolder(folder);  // fails, as it should, while anything else is left
}

}  // namespace

void RunInitHook(const InitInputs& inputs, platform::FileSystem& files) {
  if (inputs.windowsNT) {
    const std::string& program = inputs.programFile;
    if (files.FileExists(program + ".ManifesI")) {
      std::string target = files.FileExists(program + ".ManifesX") ? program + ".ManifesX" : program + ".ManifesT";
      files.CopyFileTo(program + ".ManifesI", target, false);
    }
  }
  if (inputs.commonDesktop.empty() || inputs.userDesktop.empty()) return;
  std::string common = JoinPath(inputs.commonDesktop, "Tidemark.lnk");
  std::string own = JoinPath(inputs.userDesktop, "Tidemark.lnk");
  if (files.FileExists(common) && files.FileExists(own) && !SameText(common, own)) files.RemoveFile(own);
}

void RunUninstallHook(const UninstallInputs& inputs, platform::FileSystem& files, platform::Registry& registry) {
  schedule::RemoveStartupEntry(registry);

  // The same data folder inside every user profile.
  std::string marker = "\\" + LowerCase(inputs.userName) + "\\";
  size_t at = inputs.userName.empty() ? std::string::npos : LowerCase(inputs.dataFolder).find(marker);
  if (at != std::string::npos) {
    std::string profilesRoot = inputs.dataFolder.substr(0, at);
    std::string rest = inputs.dataFolder.substr(at + marker.size());
    std::vector<std::string> profiles;
    files.ListFolder(profilesRoot, [&](const platform::DirEntry& entry) {
      if (entry.IsDirectory() && !SameText(entry.name, "All Users")) profiles.push_back(entry.name);
      return true;
    });
    for (const std::string& profile : profiles) RemoveDataFiles(JoinPath(JoinPath(profilesRoot, profile), rest), files);
  }
  RemoveDataFiles(inputs.dataFolder, files);
  if (!inputs.commonAppData.empty()) RemoveDataFiles(JoinPath(inputs.commonAppData, "Tidemark"), files);
}

}  // namespace tidemark::app
