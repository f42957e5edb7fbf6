#include "cookies/protect_editing.h"

#include <algorithm>

#include "platform/text.h"

namespace tidemark::cookies {
namespace {

constexpr size_t kComparedLength = 255;

std::string_view Named(std::string_view entry) {
  return entry.size() < 2 ? std::string_view() : entry.substr(2, kComparedLength);
}

}  // namespace

EntryAdd AddEditedEntry(std::vector<std::string>& entries, std::string_view text, const EntryPrefixes& prefixes) {
  std::string entry = LowerCase(text);
  if (std::none_of(prefixes.begin(), prefixes.end(), [&](const char* prefix) { return StartsWith(entry, prefix); }))
    return EntryAdd::Refused;
  if (std::any_of(entries.begin(), entries.end(), [&](const std::string& listed) { return SameText(listed, entry); }))
    return EntryAdd::AlreadyListed;
  auto same = std::find_if(entries.begin(), entries.end(),
                           [&](const std::string& listed) { return SameText(Named(listed), Named(entry)); });
  if (same != entries.end()) entries.erase(same);
  entries.push_back(std::move(entry));
  return EntryAdd::Added;
}

bool DeleteEditedEntry(std::vector<std::string>& entries, std::string_view text) {
  auto found = std::find_if(entries.begin(), entries.end(), [&](const std::string& listed) { return SameText(listed, text); });
  if (found == entries.end()) return false;
  entries.erase(found);
  return true;
}

}  // namespace tidemark::cookies
