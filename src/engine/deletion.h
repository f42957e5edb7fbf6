// The one place where purges remove files: deleting or shredding one file,
// one named data file with its report line, and the contents of a folder
// tree with the temp protect list and the age filter applied; and the
// 17-character labels of their outcomes.
//
// Every path is a full path: nothing here depends on or changes the current
// folder, and a relative path is refused. A walk starts only from a folder
// in canonical form that is no root, system folder or link, and holds every
// folder it is in until its entries are gone, so none can be swapped for a
// link meanwhile; it never enters a link and never acts on a name the "A"
// API would rewrite. Shredding checks and writes through one handle, never
// through a link or into a file that has other names.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cookies/temp_protect.h"
#include "engine/purge_state.h"
#include "platform/files.h"
#include "platform/path_match.h"
#include "platform/shell.h"

namespace tidemark::engine {

// Shredding state that lives for the whole process: the pattern buffers, the
// cluster size last asked for and the counter of scratch names.
struct ShredState {
  int32_t scratchCounter = 1001;
  std::vector<uint8_t> patternA, patternB, patternC;  // of one common length
  std::vector<uint8_t> zeros;
  char clusterDrive = 0;     // drive letter of the cached cluster size
  uint32_t clusterSize = 0;  // 0 when the drive's query failed
  uint64_t random = 0;       // generator state, stirred with the clock at each build
};

// The settings a deletion reads.
struct DeletionSettings {
  char shredMode = '0';  // '0' quick, '1' thorough, '2' both
  int repeats = 1;       // thorough passes
  bool ageFilterOn = false;
  int ageHours = 0;
  bool keepFiles = false;  // "KeepFiles": deletions touch nothing
};

// What the deletion engine works with, and no more of the purge: Secure
// Erase, Preview and Cancel it reads through the item sink its lines go to.
struct DeletionContext {
  platform::FileSystem& files;
  platform::Shell& shell;                // where the system folders lie, which no walk empties
  const platform::PathMatcher* matcher;  // PathMatchSpecA, or null where the system lacks it
  const cookies::TempProtectList& tempProtect;
  ShredState& shred;
  const DeletionSettings& settings;
  uint64_t now;  // the purge's start, as a FILETIME (UTC): the age filter counts from it
  ItemSink& items;
};

// Windows error codes the labels tell apart.
namespace error_code {
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kLockViolation = 33;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kBadPathname = 161;
constexpr uint32_t kDirNotEmpty = 145;
constexpr uint32_t kFilenameTooLong = 206;
constexpr uint32_t kCancelled = 1223;
constexpr uint32_t kUserMappedFile = 1224;
}  // namespace error_code

// A folder a purge walks from the top, in canonical form and held open
// until the walk ends. Not held when it may not be walked; then path is set
// only when the folder is fine but not there.
struct PurgeRoot {
  std::string path;
  std::unique_ptr<platform::HeldFolder> held;
  explicit operator bool() const { return held != nullptr; }
};

// What a purge root is for: its contents emptied, or one named file reached.
enum class RootUse { Empty, Reach };

// A sub-folder a walk met: held while its entries go, or a link, which is
// never entered (only the link itself may go); neither when it could not be
// opened.
struct SubFolder {
  std::unique_ptr<platform::HeldFolder> held;
  bool link = false;
};

// The largest single write of an overwrite pass.
constexpr uint32_t kMaxShredBuffer = 1 << 20;

class DeletionEngine {
 public:
  explicit DeletionEngine(const DeletionContext& context) : context_(context) {}

  // Deletes one file, shredding it when Secure Erase is on; shortName is the
  // 8.3 name from the listing (may be empty). Writes no line. False leaves
  // the reason in LastDeleteError.
  bool DeleteOrShredFile(const std::string& path, const std::string& shortName);
  // Deletes by name, falling back to the 8.3 name when the long one cannot be reached.
  bool PlainDeleteFile(const std::string& path, const std::string& shortName);
  // Overwrites the file ('0' zeros, '1' `passes` patterned passes, '2' both),
  // empties it, renames it to a scratch name and deletes it.
  bool ShredFile(const std::string& path, char mode, int passes);
  // Deletes what matches mask in folder and its subfolders, and the emptied
  // subfolders (never folder itself), with report lines and ItemsProcessed.
  void DeleteFolderContents(const std::string& folder, const std::string& mask, bool applyAgeFilter);
  // The folder, canonical and held, when a purge may walk it: never a
  // relative path, a link or, to be emptied, a root, the Windows, system or
  // program folder or the profile folder itself. Otherwise an error line
  // names it (severity 7); a folder that is not there is passed over silently.
  PurgeRoot OpenRoot(const std::string& folder, RootUse use);
  // A sub-folder the walk found, held before its entries are touched; a
  // link (as listed, or as it opens) is not held, nor, with an error line,
  // a folder that cannot be opened.
  SubFolder EnterSubFolder(const std::string& path, uint32_t listedAttributes);
  // Lists a held folder's entries that match mask; false, with an error
  // line, when they cannot be listed.
  bool ListHeldFolder(const std::string& folder, const std::string& mask,
                      const std::function<bool(const platform::DirEntry&)>& visit);
  // Deletes one data file of a browser profile and writes its line.
  bool DeleteDataFile(const std::string& path);
  // The label of a Windows error code; raises the error level it calls for
  // and notes a locked file.
  std::string DeletionLabel(uint32_t code);
  // The cluster size of the path's drive into the cache; false when unknown.
  bool ClusterSizeFor(const std::string& path);
  // False for a file younger than the age filter's hours, when it applies.
  bool PassesAgeFilter(uint64_t lastWrite, bool applyAgeFilter) const;

  uint32_t LastDeleteError = 0;
  int32_t ItemsProcessed = 0;
  char LastProtectAnswer = ' ';  // of the item the folder walk handled last

 private:
  bool DeleteListedFile(const std::string& path, const std::string& shortName, uint32_t attributes);
  bool EmptyHeldFolder(const std::string& folder, const std::string& mask, bool applyAgeFilter);
  bool OverwriteFile(platform::ExclusiveFile& file, int passes, uint64_t writeLength);
  void BuildPatterns(size_t length);
  bool Refuse(uint32_t code);
  bool IsSystemFolder(const std::string& canonical);
  void FolderNotListed(const std::string& path, uint32_t code);

  ItemSink& items() const { return context_.items; }

  DeletionContext context_;
  std::optional<std::vector<std::string>> systemFolders_;  // upper case, canonical; read at the first walk
};

}  // namespace tidemark::engine
