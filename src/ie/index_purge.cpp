// The index engine: walks every URL record of one index kind and protects,
// randomizes or deletes each entry, one report line per entry; and the
// bodies of the cache, cookie, visited-URL and DOM store purges built on it.
#include <array>
#include <cstdio>
#include <stdexcept>

#include "cookies/protect_file.h"
#include "cookies/scramble.h"
#include "engine/labels.h"
#include "ie/ie_purges.h"
#include "ie/purge_index.h"

namespace tidemark::ie {
namespace {

using cookies::IEEntryMode;
using engine::ItemOutcome;

constexpr std::array<PurgeKind, 10> kPurgeKinds{{
    {1, 'C', "Cookies", IEEntryMode::Cookie, 'C'},
    {2, 'T', "Cache", IEEntryMode::Cache, 'N'},
    {3, 'V', "Visited URLs", IEEntryMode::History, 'V'},
    {4, 'U', "UserData", IEEntryMode::Cookie, 'U'},
    {5, 'M', "DOMstore", IEEntryMode::Cookie, 'M'},
    {11, 'c', "Protected Mode Cookies", IEEntryMode::Cookie, 'C'},
    {12, 't', "Protected Mode Cache", IEEntryMode::Cache, 'N'},
    {13, 'v', "Protected Mode Visited URLs", IEEntryMode::History, 'V'},
    {14, 'u', "Protected Mode UserData", IEEntryMode::Cookie, 'U'},
    {15, 'm', "Protected Mode DOMstore", IEEntryMode::Cookie, 'M'},
}};

constexpr std::string_view kToRandomize = "  to Randomize - ";
constexpr std::string_view kRandomized = "    Randomized - ";
constexpr const char* kColumnHeader = "       Result  Type dd-hh:mm (age)   Cache Entry";
constexpr uint32_t kStickyEntry = 4;
constexpr uint32_t kWriteFault = 29;
constexpr uint64_t kFileTimeMinute = 600'000'000;

bool IsCookieKind(const PurgeKind& kind) { return kind.letter == 'C' || kind.letter == 'c'; }
bool IsVisitedKind(const PurgeKind& kind) { return kind.letter == 'V' || kind.letter == 'v'; }
bool IsProtectedMode(const PurgeKind& kind) { return kind.number > 10; }
// Visited URLs, UserData and DOM store are swept of leaked, redirect and orphaned records.
bool SweptKind(const PurgeKind& kind) { return std::string_view("VvUuMm").find(kind.letter) != std::string_view::npos; }

bool IsOrdinary(std::string_view result) {
  return result == engine::kToDelete || result == kToRandomize || result == kRandomized || result == engine::kDeleted;
}

// One purge function's passes over index kinds, and what they share: the
// randomized count and the answer to the no-protection warning.
class IndexPurgeRun {
 public:
  explicit IndexPurgeRun(engine::PurgeEnvironment& env)
      : env_(env), index_(env), random_(cookies::SeededRandom::FromClock()) {}

  void IndexKindPurge(int number);
  int32_t Randomized() const { return randomized_; }

 private:
  enum class Warning { NotAsked, Continue, Bypass, Reported };

  bool ProtectionAllowsPurge(const cookies::ProtectList& protect);
  void ProcessEntry(const PurgeKind& kind, const cookies::ProtectList& protect);
  std::string Delete(const PurgeKind& kind, int& level);
  std::string Randomize(const std::string& file);
  void IndexError(const std::string& message, const PurgeKind& kind);

  engine::PurgeEnvironment& env_;
  PurgeIndex index_;
  cookies::SeededRandom random_;
  int32_t randomized_ = 0;
  Warning warning_ = Warning::NotAsked;
};

void IndexPurgeRun::IndexKindPurge(int number) {
  const PurgeKind& kind = PurgeKindOf(number);
  cookies::ProtectList protect = cookies::LoadCookieProtectList(env_.platform.files, env_.cookies.ieProtectFile);
  if (IsCookieKind(kind)) {
    if (!protect.OpenedOK) {
      env_.Line(IsProtectedMode(kind)
                    ? "*** Error - Bypassed P-M Cookie procesing as existing Protect file could not be opened"
                    : "*** Error - Bypassed Cookie procesing as existing Protect file could not be opened");
      env_.RaiseError(7);
      return;
    }
    if (!ProtectionAllowsPurge(protect)) return;
  }

  IndexFile& index = index_.file;
  if (index.OpenIndexFile(index_.folders.at(kind.letter), kind.letter)) {
    // Nothing is changed without the browser's mutex, held for one entry at a time.
    bool locked = index.ForEachUrlRecord([&] {
      ProcessEntry(kind, protect);
      return !env_.Cancelled();
    });
    bool sweep = SweptKind(kind) && !env_.Preview() && !env_.Cancelled() && index.ErrorCode() == kIndexOk;
    if (locked && sweep) {
      IndexLock lock(index);
      if ((locked = lock.held())) {
        index.SweepLeaksAndRedirects();
        index.RemoveOrphanRecords();
      }
    }
    if (!locked) IndexError(index.MutexMessage(), kind);
    index.CloseIndexFile();
  }
  if (index.ErrorCode() >= kIndexCorrupted) IndexError(index.ErrorMessage(), kind);
}

void IndexPurgeRun::IndexError(const std::string& message, const PurgeKind& kind) {
  env_.Line("*** " + message + " - " + kind.name);
  env_.RaiseError(7);
}

// With nothing protected every cookie would go: asked once per function,
// and a bypass holds for the Protected Mode pass too.
bool IndexPurgeRun::ProtectionAllowsPurge(const cookies::ProtectList& protect) {
  if (protect.Count > 0 || env_.Preview()) return true;
  if (warning_ == Warning::NotAsked) {
    std::string notSilenced = "N";
    std::string& showOption = env_.cookies.ieShowOption ? *env_.cookies.ieShowOption : notSilenced;
    const auto& confirm = env_.cookies.confirmNoProtection;
    bool ask = cookies::NoProtectionWarningNeeded(protect.Count, env_.Preview(), showOption);
    bool goOn = !ask || (confirm && confirm(cookies::CookieBrowser::InternetExplorer, showOption));
    warning_ = goOn ? Warning::Continue : Warning::Bypass;
  }
  if (warning_ == Warning::Bypass) {
    env_.Line("  Purge \"Cookies\" Function Bypassed.");
    warning_ = Warning::Reported;
  }
  return warning_ == Warning::Continue;
}

void IndexPurgeRun::ProcessEntry(const PurgeKind& kind, const cookies::ProtectList& protect) {
  const UrlRecordInfo& record = index_.file.Record();
  cookies::ProtectMatch match = cookies::MatchIEProtect(protect, record.Url, kind.mode);
  if (match.found && match.kind == 'P') return;

  char letter = kind.type == 'N' && (record.Flags & kStickyEntry) ? 'S' : kind.type;
  std::string line =
      std::string{letter, IsProtectedMode(kind) ? 'p' : ' '} + AgeText(record.LastAccess, env_.now) + "  " + record.Url;
  int level = 0;
  std::string result;
  if (IsCookieKind(kind) && match.found)
    result = Randomize(record.CachedFilePath);
  else if (env_.Preview())
    result = engine::kToDelete;
  else
    result = Delete(kind, level);

  engine::DeletionEngine& deletion = env_.deletion;
  if (deletion.ItemsProcessed == 0 && env_.Detail()) env_.Line(kColumnHeader);
  if (IsOrdinary(result)) {
    env_.Item(ItemOutcome::Success, result, line);
  } else {
    env_.Line(result + line);
    env_.RaiseError(level);
  }
  ++deletion.ItemsProcessed;
  env_.UpdateProgress(10);
}

// Deletes the current entry with its file.
std::string IndexPurgeRun::Delete(const PurgeKind& kind, int& level) {
  IndexFile& index = index_.file;
  bool deleted = index.DeleteCurrentRecord();
  if (IsVisitedKind(kind)) {
    if (deleted) return std::string(engine::kDeleted);
    level = 7;
    return std::string(engine::kErrorInUrl);
  }
  // A refusal of the index itself (no file failed) is no success either.
  if (!deleted && index.LastDeleteError() == 0) return std::string(engine::kDeleteFailed);
  return ResultCodeText(env_, index.LastDeleteError(), ResultMode::Entry);
}

// A Random cookie keeps its entry; its cookie file gets scrambled values.
std::string IndexPurgeRun::Randomize(const std::string& file) {
  uint32_t error = 0;
  if (!env_.Preview() && !cookies::ScrambleIECookieFile(env_.platform.files, file, random_, &error))
    return ResultCodeText(env_, error ? error : kWriteFault, ResultMode::Entry);
  ++randomized_;
  return std::string(env_.Preview() ? kToRandomize : kRandomized);
}

std::string Counted(int32_t count, const char* one, const char* many) {
  return std::to_string(count) + (count == 1 ? one : many);
}

// The closing lines: the count of entries handled, or that there were none.
void WriteEntriesCompletion(engine::PurgeEnvironment& env, std::string_view function) {
  env.WriteCompletion(
      {.function = function, .gap = "  ", .one = " Entries Processed.", .noneFound = "    No Entries found to delete."},
      env.deletion.ItemsProcessed);
}

bool FolderPresent(engine::PurgeEnvironment& env, const std::string& folder) {
  return !folder.empty() && env.platform.files.FolderExists(folder);
}

// The normal index of a kind and then, when it exists, its Protected Mode twin.
void EntriesPurge(engine::PurgeEnvironment& env, IndexPurgeRun& run, int kind, const std::string& lowFolder) {
  env.deletion.ItemsProcessed = 0;
  run.IndexKindPurge(kind);
  if (!env.Cancelled() && FolderPresent(env, lowFolder)) run.IndexKindPurge(kind + 10);
}

}  // namespace

const PurgeKind& PurgeKindOf(int number) {
  for (const PurgeKind& kind : kPurgeKinds)
    if (kind.number == number) return kind;
  throw std::out_of_range("no purge kind " + std::to_string(number));
}

std::string ResultCodeText(engine::PurgeEnvironment& env, uint32_t code, ResultMode mode) {
  switch (code) {
    case 0:
      return std::string(engine::kDeleted);
    case engine::error_code::kFileNotFound:
      return std::string(engine::kFileNotFound);
    case engine::error_code::kPathNotFound:
      return std::string(engine::kPathNotFound);
    case engine::error_code::kDirNotEmpty:
      return std::string(engine::kDirNotEmpty);
    case engine::error_code::kAccessDenied:
    case engine::error_code::kSharingViolation:
    case engine::error_code::kLockViolation:
    case engine::error_code::kUserMappedFile:
      env.state.lockedFileSeen = true;
      if (mode == ResultMode::Folder) return std::string(engine::kLocked);
      env.RaiseError(1);
      return std::string(mode == ResultMode::Entry ? engine::kLockedUrl : engine::kLocked);
    default: {
      std::string text = " -Error-" + std::to_string(code);
      if (text.size() < 17) text.resize(17, ' ');
      return text;
    }
  }
}

std::string AgeText(uint64_t lastAccess, uint64_t now) {
  uint64_t minutes = now > lastAccess ? (now - lastAccess) / kFileTimeMinute : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%03llu-%02llu:%02llu", static_cast<unsigned long long>(minutes / 1440),
                static_cast<unsigned long long>(minutes / 60 % 24), static_cast<unsigned long long>(minutes % 60));
  if (text[0] == '0') text[0] = ' ';
  return text;
}

void IEVisitedUrlsPurge(engine::PurgeEnvironment& env) {
  IndexPurgeRun run(env);
  EntriesPurge(env, run, 3, env.located.ie.LowHistoryFolder);
  WriteEntriesCompletion(env, "  \"I.E. Visited URLs\"");
}

void IECachePurge(engine::PurgeEnvironment& env) {
  IndexPurgeRun run(env);
  EntriesPurge(env, run, 2, env.located.ie.LowCacheFolder);
  WriteEntriesCompletion(env, "  \"I.E. Cache\"");
}

void IECookiesPurge(engine::PurgeEnvironment& env) {
  IndexPurgeRun run(env);
  EntriesPurge(env, run, 1, env.located.ie.LowCookiesFolder);
  if (int32_t randomized = run.Randomized(); randomized > 0)
    env.Line("    " + (env.Preview() ? Counted(randomized, " Cookie to Randomize.", " Cookies to Randomize.")
                                     : Counted(randomized, " Cookie Randomized.", " Cookies Randomized.")));
  WriteEntriesCompletion(env, "  Purge \"Cookies\"");
}

void IEDomStorePurge(engine::PurgeEnvironment& env) {
  const locations::IELocations& ie = env.located.ie;
  env.deletion.ItemsProcessed = 0;
  env.Line("DOMstore:");
  IndexPurgeRun run(env);
  if (ie.DomStoreFound && FolderPresent(env, ie.DomStoreFolder)) run.IndexKindPurge(5);
  if (!env.Cancelled() && ie.LowDomStoreFound && FolderPresent(env, ie.LowDomStoreFolder)) run.IndexKindPurge(15);
  WriteEntriesCompletion(env, "  Purge \"DOMstore\"");
}

}  // namespace tidemark::ie
