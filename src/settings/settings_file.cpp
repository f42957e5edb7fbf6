#include "settings/settings_file.h"

#include <cstdint>

#include "platform/text.h"

namespace tidemark::settings {
namespace {

constexpr uint32_t kErrorFileExists = 80;  // ERROR_FILE_EXISTS

}  // namespace

std::string SettingsFilePath(const std::string& folder) { return JoinPath(folder, kSettingsFileName); }

EnsureResult EnsureSettingsFile(platform::FileSystem& files, const std::string& programFolder,
                                const std::string& dataFolder, bool cdExec) {
  if (cdExec || dataFolder.empty()) return EnsureResult::Skipped;
  const std::string target = SettingsFilePath(dataFolder);
  if (files.FileExists(target)) return EnsureResult::Existing;
  const std::string seed = SettingsFilePath(programFolder);
  if (!files.FileExists(seed)) return files.WriteFile(target, "") ? EnsureResult::CreatedEmpty : EnsureResult::CreateFailed;

  if (files.CopyFileTo(seed, target, /*failIfExists=*/true)) return EnsureResult::Copied;
  if (files.LastError() == kErrorFileExists) return EnsureResult::Existing;
  files.RemoveFile(target);  // whatever part of the copy got written
  if (!files.ReadFile(seed)) throw ESettingsFileError("Cannot open file " + seed);
  throw ESettingsFileError("Cannot create file " + target);
}

}  // namespace tidemark::settings
