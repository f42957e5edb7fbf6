// The entry editors' rules over a list of protect entries shown as text:
// which prefixes an entry may have, and how Add and Delete change the list.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::cookies {

// The two prefixes an editor accepts ("p=" and "r=", or "p=" and "i=").
using EntryPrefixes = std::array<const char*, 2>;
inline constexpr EntryPrefixes kCookieEntryPrefixes = {"p=", "r="};
inline constexpr EntryPrefixes kTempEntryPrefixes = {"p=", "i="};

enum class EntryAdd { Refused, AlreadyListed, Added };

// Adds the lower-cased text at the end. An entry naming the same thing with
// the other prefix is replaced (so "p=" becomes "r="); an equal entry stays
// alone; a text without an accepted prefix is refused.
EntryAdd AddEditedEntry(std::vector<std::string>& entries, std::string_view text, const EntryPrefixes& prefixes);
// Removes the entry equal to the text (any case); false when none is.
bool DeleteEditedEntry(std::vector<std::string>& entries, std::string_view text);

}  // namespace tidemark::cookies
