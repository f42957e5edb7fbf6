#include "engine/deletion.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

#include "engine/labels.h"
#include "locations/firefox_locations.h"
#include "platform/path_names.h"
#include "platform/text.h"

namespace tidemark::engine {
namespace {

using platform::IsFullPath;

constexpr uint32_t kMinShredBuffer = 512;
constexpr int64_t kFileTimeUnitsPerHour = 36'000'000'000;
constexpr int kScratchNameTries = 1000;

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The folders no purge empties, wherever its path came from.
constexpr int kSystemFolderIds[] = {0x24 /* Windows */,
                                    0x25 /* system */,
                                    0x29 /* system (x86) */,
                                    0x26 /* Program Files */,
                                    0x2a /* Program Files (x86) */,
                                    platform::csidl::kProfile};
constexpr const char* kSystemFolderVariables[] = {"SystemRoot",        "windir",       "ProgramFiles",
                                                  "ProgramFiles(x86)", "ProgramW6432", "USERPROFILE"};

uint64_t RoundUp(uint64_t value, uint64_t unit) { return (value + unit - 1) / unit * unit; }

// splitmix64: a fast generator whose every output bit is well mixed.
uint64_t NextRandom(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Cluster size of a FAT32 volume by its size, as its format chooses it.
uint32_t Fat32ClusterSize(uint64_t totalKiB) {
  if (totalKiB < 8'388'608) return 4096;
  if (totalKiB < 16'777'216) return 8192;
  if (totalKiB < 33'554'432) return 16384;
  return 32768;
}

struct ListedItem {
  std::optional<std::string> name;  // the name that reaches it; nothing when none does
  std::string upperName;            // as listed and reported
  uint32_t attributes = 0;
};

}  // namespace

bool DeletionEngine::Refuse(uint32_t code) {
  LastDeleteError = code;
  return false;
}

bool DeletionEngine::DeleteOrShredFile(const std::string& path, const std::string& shortName) {
  auto attributes = context_.files.Attributes(path);
  return DeleteListedFile(path, shortName, attributes.value_or(0));
}

bool DeletionEngine::DeleteListedFile(const std::string& path, const std::string& shortName, uint32_t attributes) {
  if (context_.settings.keepFiles) return true;
  LastDeleteError = 0;
  if (!IsFullPath(path)) return Refuse(error_code::kBadPathname);
  platform::FileSystem& files = context_.files;
  if (attributes & platform::kAttrReadOnly) files.SetAttributes(path, attributes & ~platform::kAttrReadOnly);
  try {
    if (!items().flags.secureErase) return PlainDeleteFile(path, shortName);
    char mode = context_.settings.shredMode;
    return ShredFile(path, mode, mode == '0' ? 0 : context_.settings.repeats);
  } catch (...) {
    return Refuse(LastDeleteError ? LastDeleteError : 8);  // not enough memory
  }
}

bool DeletionEngine::PlainDeleteFile(const std::string& path, const std::string& shortName) {
  LastDeleteError = 0;
  if (!IsFullPath(path)) return Refuse(error_code::kBadPathname);
  platform::FileSystem& files = context_.files;
  if (files.RemoveFile(path)) return true;
  LastDeleteError = files.LastError();
  bool unreachable = LastDeleteError == error_code::kFileNotFound || LastDeleteError == error_code::kPathNotFound ||
                     LastDeleteError == error_code::kFilenameTooLong;
  if (unreachable && !shortName.empty() && shortName[0] != ' ' &&
      files.RemoveFile(JoinPath(ParentFolder(path), shortName)))
    LastDeleteError = 0;
  return LastDeleteError == 0;
}

bool DeletionEngine::ShredFile(const std::string& path, char mode, int passes) {
  LastDeleteError = 0;
  if (!IsFullPath(path)) return Refuse(error_code::kBadPathname);
  platform::FileSystem& files = context_.files;
  if (auto attributes = files.Attributes(path); attributes && (*attributes & platform::kAttrReadOnly))
    files.SetAttributes(path, *attributes & ~platform::kAttrReadOnly);

  // The checks, every pass and the truncation go through this one handle:
  // while it is open no other file can take the name.
  std::unique_ptr<platform::ExclusiveFile> file = files.OpenExclusive(path);
  if (!file) return Refuse(files.LastError());
  const platform::FileIdentity& identity = file->Identity();
  // A link, or a file that other names share: its content is not this
  // name's alone, so only the name goes.
  if ((identity.attributes & platform::kAttrReparsePoint) || identity.links > 1) {
    file.reset();
    return PlainDeleteFile(path, "");
  }

  // A scratch name nobody uses: an existing file of that name is not ours.
  std::string folder = ParentFolder(path);
  std::string scratch;
  for (int tries = 0; tries < kScratchNameTries; ++tries) {
    scratch = folder + "\\_Saltpan_" + std::to_string(context_.shred.scratchCounter++) + ".zap";
    if (!files.Attributes(scratch)) break;
  }

  uint32_t unit = ClusterSizeFor(path) ? std::max(context_.shred.clusterSize, kMinShredBuffer) : kMinShredBuffer;
  uint64_t writeLength = RoundUp(identity.size, unit);
  size_t bufferLength = std::max<size_t>(unit, std::min<uint64_t>(writeLength, kMaxShredBuffer / unit * unit));

  bool ok = true;
  if (mode == '1' || mode == '2') {
    BuildPatterns(bufferLength);
    ok = OverwriteFile(*file, passes, writeLength);
  }
  if (ok && (mode == '0' || mode == '2')) {
    if (context_.shred.zeros.size() != bufferLength) context_.shred.zeros.assign(bufferLength, 0);
    ok = OverwriteFile(*file, 0, writeLength);
  }
  if (!ok) return false;
  if (!file->Truncate()) return Refuse(file->LastError());
  file.reset();
  items().Pump();

  if (files.RenameToNewName(path, scratch)) {
    // An emptied file left under the scratch name is still a failure to report.
    if (!files.RemoveFile(scratch)) Refuse(files.LastError());
  } else if (!files.RemoveFile(path)) {
    Refuse(files.LastError());
  }
  items().Pump();
  return LastDeleteError == 0;
}

// Writes the passes through the open file; a Cancel leaves the file in place.
bool DeletionEngine::OverwriteFile(platform::ExclusiveFile& file, int passes, uint64_t writeLength) {
  if (passes < 0) passes = 1;
  ShredState& shred = context_.shred;
  const std::vector<uint8_t>* patterns[] = {&shred.patternA, &shred.patternB, &shred.patternC};
  int pattern = 0;
  const std::vector<uint8_t>* buffer = passes >= 1 ? patterns[0] : &shred.zeros;

  int rounds = std::max(passes, 1);
  for (int round = 1; round <= rounds; ++round) {
    if (items().CancelNoted()) return Refuse(error_code::kCancelled);
    if (!file.SeekToStart()) return Refuse(file.LastError());
    for (uint64_t done = 0; done < writeLength;) {
      size_t chunk = static_cast<size_t>(std::min<uint64_t>(buffer->size(), writeLength - done));
      if (!file.Write(buffer->data(), chunk)) return Refuse(file.LastError());
      done += chunk;
    }
    if (passes >= 1) {
      pattern = (pattern + 1) % 3;
      // Fresh random data for every further three passes, but not for a single last one.
      if (pattern == 0 && rounds - round > 1) BuildPatterns(shred.patternA.size());
      buffer = patterns[pattern];
    }
  }
  items().Pump();
  return true;
}

void DeletionEngine::BuildPatterns(size_t length) {
  ShredState& shred = context_.shred;
  shred.random ^= static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  // Eight random bytes per draw; a 255 is drawn again, so every value of
  // 0..254 is equally likely.
  uint64_t bits = 0;
  int left = 0;
  auto nextByte = [&]() -> uint8_t {
    for (;;) {
      if (left == 0) {
        bits = NextRandom(shred.random);
        left = 8;
      }
      uint8_t byte = static_cast<uint8_t>(bits);
      bits >>= 8;
      --left;
      if (byte != 255) return byte;
    }
  };
  shred.patternA.resize(length);
  shred.patternB.resize(length);
  shred.patternC.resize(length);
  for (size_t i = 0; i < length; ++i) {
    uint8_t first = nextByte();
    shred.patternA[i] = first;
    shred.patternB[i] = static_cast<uint8_t>(255 - first);
    shred.patternC[i] = nextByte();
  }
}

bool DeletionEngine::ClusterSizeFor(const std::string& path) {
  ShredState& shred = context_.shred;
  std::string folder = ParentFolder(path);
  if (folder.size() < 2 || folder[1] != ':' || !IsDriveLetter(folder[0])) return false;
  char drive = UpperCase(folder.substr(0, 1))[0];
  if (drive == shred.clusterDrive) return true;
  shred.clusterDrive = 0;
  shred.clusterSize = 0;
  auto volume = context_.files.VolumeOf(std::string(1, drive) + ":\\");
  if (!volume) return false;
  uint32_t size = volume->sectorsPerCluster * volume->bytesPerSector;
  if (UpperCase(volume->fileSystem.substr(0, 5)) == "FAT32") size = Fat32ClusterSize(volume->totalBytes / 1024);
  if (size < 1) return false;
  shred.clusterDrive = drive;
  shred.clusterSize = size;
  return true;
}

bool DeletionEngine::PassesAgeFilter(uint64_t lastWrite, bool applyAgeFilter) const {
  if (!applyAgeFilter || !context_.settings.ageFilterOn) return true;
  int64_t ageHours = (static_cast<int64_t>(context_.now) - static_cast<int64_t>(lastWrite)) / kFileTimeUnitsPerHour;
  return ageHours >= context_.settings.ageHours;
}

std::string DeletionEngine::DeletionLabel(uint32_t code) {
  bool ignored = LastProtectAnswer == cookies::kTempIgnoreError;
  switch (code) {
    case 0:
      return std::string(kDeleted);
    case error_code::kDirNotEmpty:
      return std::string(kDirNotEmpty);
    case error_code::kSharingViolation:
    case error_code::kLockViolation:
    case error_code::kUserMappedFile:
      if (ignored) return std::string(kIgnoreLocked);
      items().state.lockedFileSeen = true;
      return std::string(kLocked);
    case error_code::kFileNotFound:
      items().RaiseError(3);
      return std::string(kFileNotFound);
    case error_code::kPathNotFound:
      items().RaiseError(3);
      return std::string(kPathNotFound);
    case error_code::kAccessDenied:
      if (ignored) return std::string(kIgnoreDenied);
      items().RaiseError(3);
      return std::string(kAccessDenied);
    default: {
      items().RaiseError(3);
      std::string label = " -Error-" + std::to_string(code);
      label.resize(17, ' ');
      return label;
    }
  }
}

bool DeletionEngine::IsSystemFolder(const std::string& canonical) {
  if (!systemFolders_) {
    platform::Shell& shell = context_.shell;
    std::vector<std::string> found = {shell.WindowsFolder(), shell.SystemFolder()};
    for (int id : kSystemFolderIds)
      if (platform::SpecialFolder folder = shell.GetSpecialFolder(id); folder.found) found.push_back(folder.path);
    for (const char* name : kSystemFolderVariables)
      if (auto value = shell.EnvironmentVariable(name)) found.push_back(*value);
    systemFolders_.emplace();
    for (const std::string& folder : found)
      if (auto exact = platform::CanonicalFolder(folder)) systemFolders_->push_back(UpperCase(*exact));
  }
  return std::ranges::find(*systemFolders_, UpperCase(canonical)) != systemFolders_->end();
}

PurgeRoot DeletionEngine::OpenRoot(const std::string& folder, RootUse use) {
  PurgeRoot root;
  std::optional<std::string> canonical = platform::CanonicalFolder(folder);
  if (!canonical || (use == RootUse::Empty && (platform::IsRootPath(*canonical) || IsSystemFolder(*canonical)))) {
    items().Line(" -Error- Folder may not be purged, not Processed - " + folder);
    items().RaiseError(7);
    return root;
  }
  platform::FileSystem& files = context_.files;
  root.held = files.HoldFolder(*canonical);
  if (!root.held) {
    uint32_t code = files.LastError();
    if (code == platform::kErrorFolderIsLink) {
      items().Line(" -Error- Folder is a link, not Processed - " + folder);
      items().RaiseError(7);
    } else if (code == error_code::kFileNotFound || code == error_code::kPathNotFound) {
      root.path = *canonical;  // fine to walk, but not there
    } else {
      FolderNotListed(folder, code);
    }
    return root;
  }
  root.path = *canonical;
  return root;
}

SubFolder DeletionEngine::EnterSubFolder(const std::string& path, uint32_t listedAttributes) {
  SubFolder sub;
  sub.link = (listedAttributes & platform::kAttrReparsePoint) != 0;
  if (sub.link) return sub;
  platform::FileSystem& files = context_.files;
  sub.held = files.HoldFolder(path);
  sub.link = !sub.held && files.LastError() == platform::kErrorFolderIsLink;
  if (!sub.held && !sub.link) FolderNotListed(path, files.LastError());
  return sub;
}

bool DeletionEngine::ListHeldFolder(const std::string& folder, const std::string& mask,
                                    const std::function<bool(const platform::DirEntry&)>& visit) {
  platform::FileSystem& files = context_.files;
  if (files.ListMatching(folder, mask, visit)) return true;
  FolderNotListed(folder, files.LastError());
  return false;
}

void DeletionEngine::FolderNotListed(const std::string& path, uint32_t code) {
  items().Line(" -Error- Folder could not be listed - " + UpperCase(path) + " - Error " + std::to_string(code));
  items().RaiseError(3);
}

void DeletionEngine::DeleteFolderContents(const std::string& folder, const std::string& mask, bool applyAgeFilter) {
  if (PurgeRoot root = OpenRoot(folder, RootUse::Empty)) EmptyHeldFolder(root.path, mask, applyAgeFilter);
}

// Empties a folder that the caller holds; each sub-folder is held in turn
// while its own entries go. False when the folder could not be listed.
bool DeletionEngine::EmptyHeldFolder(const std::string& folder, const std::string& mask, bool applyAgeFilter) {
  platform::FileSystem& files = context_.files;
  const std::string upperFolder = UpperCase(folder);
  auto matchProtect = [&](const std::string& fullPath, const std::string& name) {
    LastProtectAnswer = cookies::MatchTempProtect(context_.tempProtect, fullPath, name, context_.matcher);
    return LastProtectAnswer;
  };
  try {
    std::vector<ListedItem> fileItems, folderItems;
    bool listed = ListHeldFolder(folder, mask, [&](const platform::DirEntry& entry) {
      if (items().CancelNoted()) return false;
      ListedItem item{platform::ReachableName(entry), UpperCase(entry.name), entry.attributes};
      if (!entry.IsDirectory()) {
        // A file the age filter keeps is neither counted nor reported.
        if (PassesAgeFilter(entry.lastWrite, applyAgeFilter)) fileItems.push_back(std::move(item));
      } else {
        folderItems.push_back(std::move(item));
      }
      items().Pump();
      return true;
    });
    if (!listed) return false;

    for (const ListedItem& file : fileItems) {
      items().UpdateProgress(10);
      if (items().Cancelled()) break;
      std::string reported = upperFolder + "\\" + file.upperName;
      char answer = matchProtect(reported, file.upperName);
      if (answer == cookies::kTempProtect) {
        items().Item(ItemOutcome::Success, kProtected, reported);
        continue;
      }
      ++ItemsProcessed;
      if (items().Preview())
        items().Item(ItemOutcome::Success, answer == cookies::kTempIgnoreError ? kIgnoreErrors : kToDelete, reported);
      else if (file.name && DeleteListedFile(JoinPath(folder, *file.name), "", file.attributes))
        items().Item(ItemOutcome::Success, kDeleted, reported);
      else
        items().Item(ItemOutcome::Failure, DeletionLabel(file.name ? LastDeleteError : error_code::kInvalidName),
                     reported);
      items().Pump();
    }

    const bool ageFiltered = applyAgeFilter && context_.settings.ageFilterOn;
    for (const ListedItem& sub : folderItems) {
      if (items().Cancelled()) break;
      std::string reported = upperFolder + "\\" + sub.upperName;
      char answer = matchProtect(reported + "\\", "");
      if (answer == cookies::kTempProtect) {
        items().Item(ItemOutcome::Success, kProtected, reported);
        continue;
      }
      // A junction or directory link is never entered: only the link itself
      // may go. The folder is held while its entries go, so nothing can take
      // its place meanwhile.
      std::string path = sub.name ? JoinPath(folder, *sub.name) : std::string();
      bool link = false, reachable = false;
      if (sub.name) {
        SubFolder entered = EnterSubFolder(path, sub.attributes);
        link = entered.link;
        reachable = link || (entered.held && EmptyHeldFolder(path, mask, applyAgeFilter));
        if (items().Cancelled()) break;
        LastProtectAnswer = answer;
      }
      if (!reachable) {
        // No name reaches it, or it could not be opened or listed (said then).
        if (!sub.name) items().Item(ItemOutcome::Failure, DeletionLabel(error_code::kInvalidName), reported);
      } else if (items().Preview()) {
        if (ageFiltered) continue;  // it may not become empty
        items().Item(ItemOutcome::Success, answer == cookies::kTempIgnoreError ? kIgnoreErrors : kToDelete, reported);
      } else if (link ? files.RemoveFolderLink(path) : files.RemoveFolder(path)) {
        items().Item(ItemOutcome::Success, kDeleted, reported);
      } else {
        LastDeleteError = files.LastError();
        bool notEmpty = LastDeleteError == error_code::kDirNotEmpty;
        if (notEmpty && ageFiltered) continue;  // the age filter kept young files in it
        std::string label = notEmpty && !context_.tempProtect.entries.empty() ? std::string(kIgnoreDirErr)
                                                                              : DeletionLabel(LastDeleteError);
        items().Item(ItemOutcome::Failure, label, reported);
      }
      ++ItemsProcessed;
      items().UpdateProgress(10);
    }
  } catch (...) {
    // The walk never stops a purge; what was listed so far stays as reported.
  }
  return true;
}

bool DeletionEngine::DeleteDataFile(const std::string& path) {
  if (locations::IsFileNotFoundText(path)) {
    items().Line("    This file is not currently defined...");
    return false;
  }
  if (!context_.files.FileExists(path)) {
    items().Line(std::string(kFileNotFound) + path);
    return false;
  }
  if (items().Preview()) {
    items().Line(std::string(kToDelete) + path);
    items().UpdateProgress(10);
    return true;
  }
  if (DeleteOrShredFile(path, "")) {
    items().Line(std::string(kDeleted) + path);
    items().UpdateProgress(10);
    return true;
  }
  items().Line(FileResultLabel(LastDeleteError, items().report).substr(0, 17) + path);
  items().RaiseError(0);
  return false;
}

}  // namespace tidemark::engine
