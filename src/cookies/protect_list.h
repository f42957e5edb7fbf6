// Cookie protect lists: the entries of Tidemark.Dat (Firefox) and
// IEcookie.dat (Internet Explorer), kept sorted case-insensitively, and every
// rule that decides whether a cookie or index entry is protected.
//
// Entry forms (lower case once normalised):
//   "p=" name   keep the cookie named exactly so        (Protect)
//   "r=" name   keep it but scramble its value           (Random)
//   "p=*" text  every cookie whose address holds text    (Protect; IE and marking only)
//   "r=*" text  likewise as Random
//   "a=*" text  every IE index entry (cookie, cache, history) whose address holds text
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::cookies {

struct ProtectList {
  std::vector<std::string> entries;  // ascending, compared case-insensitively
  int32_t Count = 0;                 // entries after loading
  bool OpenedOK = true;              // false when the file existed but could not be read
  bool Dirty = false;                // the list differs from its file
};

// Sorts the entries (stable, case-insensitive); duplicates already there stay.
void SortProtectEntries(std::vector<std::string>& entries);
// Inserts an entry in order; false (nothing changed) when it is already
// present, compared case-insensitively.
bool AddProtectEntry(std::vector<std::string>& entries, const std::string& entry);

// Lower-cases every entry, drops the header line of old files ("protect
// file...") and gives bare names the "p=" prefix; then re-sorts. True when an
// entry was dropped or prefixed (lower-casing alone is no change).
bool NormaliseProtectList(ProtectList& list);

// The address part of a cookie name: the text after the first "@" (the whole
// name without one), cut before the first "?", or without one before "#".
std::string ProtectAddress(std::string_view name);

struct ProtectMatch {
  bool found = false;
  char kind = 'P';  // 'P' protect, 'R' random
  int index = -1;   // of the matching entry
};

// Exact lookup of a Firefox host (or a cookie manager caption): entries
// "p=" and "r=" are compared by their text after the prefix, any other entry
// whole as Protect. Wildcard entries never match here.
ProtectMatch FindCookieProtect(const ProtectList& list, std::string_view name);

// Which kind of Internet Explorer index entry is being judged.
enum class IEEntryMode {
  Cookie = 1,   // cookies, user data, DOM store: every entry form applies
  Cache = 2,    // only "a=*" and exact "p=" entries apply
  History = 3,  // as Cache
};
ProtectMatch MatchIEProtect(const ProtectList& list, std::string_view name, IEEntryMode mode);

// The cookie manager's status column for one listed cookie: the last entry
// that applies decides; Unmarked when none applies.
enum class ProtectStatus { Unmarked, Protect, Random };
ProtectStatus MarkProtectStatus(const ProtectList& list, std::string_view caption);
// "Protect", "Random", or " " for Unmarked.
std::string ProtectStatusText(ProtectStatus status);

}  // namespace tidemark::cookies
