// Chromium's JSON files (Local State, Bookmarks) from arbitrary text: a value
// read once reads the same again from its re-written text, and every profile
// name picked from Local State is one plain folder name of its info_cache.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_require.h"
#include "locations/chromium_locations.h"
#include "locations/json_text.h"
#include "platform/text.h"

namespace {

using tidemark::locations::JsonValue;

void WriteString(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

void Write(std::string& out, const JsonValue& value) {
  switch (value.kind) {
    case JsonValue::Kind::Null: out += "null"; break;
    case JsonValue::Kind::Boolean: out += value.boolean ? "true" : "false"; break;
    case JsonValue::Kind::Number: out += value.text; break;
    case JsonValue::Kind::String: WriteString(out, value.text); break;
    case JsonValue::Kind::Array:
      out += '[';
      for (size_t i = 0; i < value.items.size(); ++i) {
        if (i) out += ',';
        Write(out, value.items[i]);
      }
      out += ']';
      break;
    case JsonValue::Kind::Object:
      out += '{';
      for (size_t i = 0; i < value.members.size(); ++i) {
        if (i) out += ',';
        WriteString(out, value.members[i].first);
        out += ':';
        Write(out, value.members[i].second);
      }
      out += '}';
      break;
  }
}

bool Same(const JsonValue& a, const JsonValue& b) {
  if (a.kind != b.kind || a.boolean != b.boolean || a.text != b.text || a.items.size() != b.items.size() ||
      a.members.size() != b.members.size())
    return false;
  for (size_t i = 0; i < a.items.size(); ++i)
    if (!Same(a.items[i], b.items[i])) return false;
  for (size_t i = 0; i < a.members.size(); ++i)
    if (a.members[i].first != b.members[i].first || !Same(a.members[i].second, b.members[i].second)) return false;
  return true;
}

// Told apart without the picker's own test: printable ASCII, no path
// separator, drive colon or wildcard, and no name of the folder itself or its parent.
bool NamesOneFolderBelow(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < 0x20 || c > 0x7E || std::string_view("\\/:*?").find(char(c)) != std::string_view::npos) return false;
  return true;
}

bool IsInfoCacheKey(const JsonValue& json, const std::string& name) {
  const JsonValue* profile = json.Member("profile");
  const JsonValue* infoCache = profile ? profile->Member("info_cache") : nullptr;
  if (!infoCache) return false;
  for (const auto& [key, info] : infoCache->members)
    if (key == name) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace tidemark::locations;

  std::optional<JsonValue> json = ParseJson(text);
  if (json) {
    std::string written;
    Write(written, *json);
    std::optional<JsonValue> again = ParseJson(written);
    Require(again.has_value(), "a value read re-reads from its written text");
    Require(Same(*json, *again), "the written text reads as the same value");
  }

  std::vector<std::string> names = LocalStateProfileNames(text);
  Require(json || names.empty(), "no profile names from what is no JSON");
  for (size_t i = 0; i < names.size(); ++i) {
    Require(IsPlainFolderName(names[i]) && NamesOneFolderBelow(names[i]), "every profile name is a plain folder name");
    Require(IsInfoCacheKey(*json, names[i]), "every profile name is a key of profile.info_cache");
    for (size_t j = 0; j < i; ++j) Require(!tidemark::SameText(names[i], names[j]), "each profile name once");
  }
  return 0;
}
