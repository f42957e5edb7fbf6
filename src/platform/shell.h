// Shell special folders, environment references and version resources.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tidemark::platform {

// CSIDL numbers of the shell special folders this program asks for.
namespace csidl {
constexpr int kPersonal = 5;
constexpr int kRecent = 8;
constexpr int kDesktop = 16;
constexpr int kCommonDesktop = 25;
constexpr int kAppData = 26;
constexpr int kLocalAppData = 28;
constexpr int kInternetCache = 32;
constexpr int kCookies = 33;
constexpr int kHistory = 34;
constexpr int kCommonAppData = 35;
constexpr int kMyPictures = 39;
constexpr int kProfile = 40;
}  // namespace csidl

// A special folder's path, or on failure one of the texts below in path.
struct SpecialFolder {
  bool found = false;
  std::string path;
};

constexpr const char* kPathNotFound = "Failed - Path not Found";      // the call failed
constexpr const char* kApiNotFound = "Failed - API not Found";        // no SHGetFolderPathA anywhere
constexpr const char* kFolderNotFound = "Failed - Folder not Found";  // id-list route failed

// Version resource answers when no version string can be given.
constexpr const char* kVersionUnreadable = "00.00.00.00";
constexpr const char* kVersionStringMissing = "00.00.00.01";

// A shell link (.lnk) as the shell-link object holds it.
struct ShellLink {
  std::string target;
  std::string arguments;
  std::string workingFolder;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 5;  // SW_SHOW
};

class Shell {
 public:
  virtual ~Shell() = default;
  // SHGetFolderPathA (current path), looked up once at run time in shell32.dll
  // and, where that lacks it, in SHFolder.dll.
  virtual SpecialFolder GetSpecialFolder(int csidl) = 0;
  // The same folder through its item id list (SHGetSpecialFolderLocation).
  virtual SpecialFolder SpecialFolderFromIdList(int csidl) = 0;
  // Environment references expanded; the input unchanged when expansion fails.
  virtual std::string ExpandEnvVars(const std::string& text) = 0;
  // A string of the file's version resource (e.g. "FileVersion") in its first
  // translation; kVersionStringMissing when absent, kVersionUnreadable when the
  // resource cannot be read at all.
  virtual std::string VersionString(const std::string& file, const std::string& name) = 0;

  // An environment variable; nothing when it is not set.
  virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
  // The Windows folder, the system folder (GetSystemDirectoryA), and the
  // temp folder Windows names (GetTempPathA, without its trailing
  // backslash); empty when the system cannot tell.
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string TempPath() = 0;
  // GetComputerNameA and GetUserNameA; nothing when the system cannot tell.
  virtual std::optional<std::string> ComputerName() = 0;
  virtual std::optional<std::string> UserName() = 0;
  // Whether Shell32.dll exports SHEmptyRecycleBinA.
  virtual bool RecycleBinAvailable() = 0;
  // Empties the Recycle Bin of every drive without asking, showing or
  // sounding anything: the call's result, or nothing when the function is missing.
  virtual std::optional<int32_t> EmptyRecycleBin() = 0;

  // The 8.3 form of an existing path; empty when the system has none.
  virtual std::string ShortPathOf(const std::string& path) = 0;
  // Writes the link to linkFile through the shell-link object, replacing an
  // existing file; false when it could not be saved.
  virtual bool SaveShellLink(const ShellLink& link, const std::string& linkFile) = 0;

  std::string FileVersionOf(const std::string& file) { return VersionString(file, "FileVersion"); }
  std::string ProductVersionOf(const std::string& file) { return VersionString(file, "ProductVersion"); }
};

Shell& RealShell();

}  // namespace tidemark::platform
