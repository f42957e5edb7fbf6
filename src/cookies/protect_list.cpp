#include "cookies/protect_list.h"

#include <algorithm>

#include "platform/text.h"

namespace tidemark::cookies {
namespace {

bool LessNoCase(const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); }

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// The text after an entry's prefix of the given length.
std::string_view Tail(std::string_view entry, size_t prefixLength) {
  return entry.size() > prefixLength ? entry.substr(prefixLength) : std::string_view();
}

ProtectMatch Match(char kind, size_t index) { return ProtectMatch{true, kind, static_cast<int>(index)}; }

}  // namespace

void SortProtectEntries(std::vector<std::string>& entries) {
  std::stable_sort(entries.begin(), entries.end(), LessNoCase);
}

bool AddProtectEntry(std::vector<std::string>& entries, const std::string& entry) {
  auto at = std::lower_bound(entries.begin(), entries.end(), entry, LessNoCase);
  if (at != entries.end() && SameText(*at, entry)) return false;
  entries.insert(at, entry);
  return true;
}

bool NormaliseProtectList(ProtectList& list) {
  bool changed = false;
  auto& entries = list.entries;
  for (size_t i = entries.size(); i-- > 0;) {
    std::string entry = LowerCase(entries[i]);
    if (entry.size() > 1 && entry[1] != '=') {
      changed = true;
      if (StartsWith(entry, "protect file")) {
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      entry = "p=" + entry;
    }
    entries[i] = std::move(entry);
  }
  SortProtectEntries(entries);
  return changed;
}

std::string ProtectAddress(std::string_view name) {
  size_t at = name.find('@');
  std::string_view address = at == std::string_view::npos ? name : name.substr(at + 1);
  size_t cut = address.find('?');
  if (cut == std::string_view::npos) cut = address.find('#');
  return std::string(address.substr(0, cut));
}

ProtectMatch FindCookieProtect(const ProtectList& list, std::string_view name) {
  std::string wanted = LowerCase(name);
  for (size_t i = 0; i < list.entries.size(); ++i) {
    std::string entry = LowerCase(list.entries[i]);
    char kind = 'P';
    std::string_view text = entry;
    if (StartsWith(entry, "p=")) {
      text = Tail(entry, 2);
    } else if (StartsWith(entry, "r=")) {
      text = Tail(entry, 2);
      kind = 'R';
    }
    if (text == wanted) return Match(kind, i);
  }
  return {};
}

ProtectMatch MatchIEProtect(const ProtectList& list, std::string_view name, IEEntryMode mode) {
  std::string lowerName = LowerCase(name);
  std::string address = ProtectAddress(lowerName);
  for (size_t i = 0; i < list.entries.size(); ++i) {
    std::string_view entry = list.entries[i];
    std::string_view tail3 = Tail(entry, 3);
    std::string_view tail2 = Tail(entry, 2);
    if (StartsWith(entry, "a=*")) {
      if (Contains(address, tail3)) return Match('P', i);
    } else if (mode == IEEntryMode::Cookie) {
      if (StartsWith(entry, "p=*")) {
        if (Contains(address, tail3)) return Match('P', i);
      } else if (StartsWith(entry, "p=")) {
        if (tail2 == lowerName) return Match('P', i);
      } else if (StartsWith(entry, "r=*")) {
        if (Contains(address, tail3)) return Match('R', i);
      } else if (StartsWith(entry, "r=")) {
        if (tail2 == lowerName) return Match('R', i);
      }
    } else if (StartsWith(entry, "p=") && tail2 == lowerName) {
      return Match('P', i);
    }
  }
  return {};
}

ProtectStatus MarkProtectStatus(const ProtectList& list, std::string_view caption) {
  std::string lowerCaption = LowerCase(caption);
  std::string address = ProtectAddress(lowerCaption);
  ProtectStatus status = ProtectStatus::Unmarked;
  for (const std::string& entry : list.entries) {
    std::string_view tail3 = Tail(entry, 3);
    if (entry == "p=" + lowerCaption)
      status = ProtectStatus::Protect;
    else if (entry == "r=" + lowerCaption)
      status = ProtectStatus::Random;
    else if ((StartsWith(entry, "p=*") || StartsWith(entry, "a=*")) && Contains(address, tail3))
      status = ProtectStatus::Protect;
    else if (StartsWith(entry, "r=*") && Contains(address, tail3))
      status = ProtectStatus::Random;
  }
  return status;
}

std::string ProtectStatusText(ProtectStatus status) {
  switch (status) {
    case ProtectStatus::Protect: return "Protect";
    case ProtectStatus::Random: return "Random";
    case ProtectStatus::Unmarked: break;
  }
  return " ";
}

}  // namespace tidemark::cookies
