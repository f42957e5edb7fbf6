// The Internet Explorer purges, each the body of its purge function: the
// index entries of the cache, cookies, visited URLs and DOM store (one engine
// walking an index kind at a time), the history folders, UserData, the
// registry's previous searches and typed URLs, and the strays.
#pragma once
#include <cstdint>
#include <string>

#include "cookies/protect_list.h"
#include "engine/purge_environment.h"

namespace tidemark::ie {

void IEVisitedUrlsPurge(engine::PurgeEnvironment& env);
void IECachePurge(engine::PurgeEnvironment& env);
void IECookiesPurge(engine::PurgeEnvironment& env);
void IEHistoryFoldersPurge(engine::PurgeEnvironment& env);
void IEUserDataPurge(engine::PurgeEnvironment& env);
void IEDomStorePurge(engine::PurgeEnvironment& env);
void IESearchesPurge(engine::PurgeEnvironment& env);
void IETypedUrlsPurge(engine::PurgeEnvironment& env);
void IEStraysPurge(engine::PurgeEnvironment& env);

// The "URL..." values of a typed-URL key, reported as label + "-" + name.
void TypedUrlValuesPurge(engine::PurgeEnvironment& env, const std::string& key, const std::string& label);
// Every value of one MSN user's typed URLs but its "MRUList".
void MsnUserTypedUrlsPurge(engine::PurgeEnvironment& env, const std::string& key, const std::string& user);

// A purge kind of the index engine; the Protected Mode twin of kind n is n + 10.
struct PurgeKind {
  int number;
  char letter;       // the index kind
  const char* name;  // in report lines
  cookies::IEEntryMode mode;
  char type;  // the Type column's letter
};
const PurgeKind& PurgeKindOf(int number);

// How a result is reported: a stray file, a history folder, an index entry.
enum class ResultMode { Stray = 0, Folder = 1, Entry = 2 };
// The 17-character result of a Windows code; a locked file notes itself and,
// for strays and entries, raises the error level to 1.
std::string ResultCodeText(engine::PurgeEnvironment& env, uint32_t code, ResultMode mode);

// The Age column: days (a leading zero as a blank), hours and minutes from
// lastAccess to now, both FILETIMEs.
std::string AgeText(uint64_t lastAccess, uint64_t now);

}  // namespace tidemark::ie
