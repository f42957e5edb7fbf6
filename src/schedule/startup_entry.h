// The startup entry: the value "Tidemark" under the user's Run key, which
// starts the program with "Boot" at every logon.
#pragma once
#include <string>

#include "platform/registry.h"

namespace tidemark::schedule {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStartupValueName = "Tidemark";
constexpr const char* kRegistryErrorMessage =
    "Error accessing Registry. \r\nFor Windows NT/2000/XP, you need Registry Privileges for \r\nThis function. "
    "\r\nPlease see your System Administrator";

// The entry's data: the quoted program path (its 8.3 form when there is
// one) followed by " Boot", all upper case.
std::string StartupRunValue(const std::string& programFile, const std::string& shortPath);

// True when the value is a string or expandable string ending in ".EXE BOOT"
// or in EXE, double quote, blank, BOOT (case-sensitive).
bool StartupEntryIsSet(platform::Registry& registry, const std::string& runKey = kRunKey);

// Both open (creating when needed) the key of HKEY_CURRENT_USER; false when
// it cannot be opened or written. Removing an entry that is not there succeeds.
bool SetStartupEntry(platform::Registry& registry, const std::string& data, const std::string& runKey = kRunKey);
bool RemoveStartupEntry(platform::Registry& registry, const std::string& runKey = kRunKey);

}  // namespace tidemark::schedule
