#include "chromium/bookmarks.h"

#include "locations/json_text.h"

namespace tidemark::chromium {
namespace {

using locations::JsonValue;

// Folders hold their bookmarks in "children"; every object and array is
// walked, so no folder of a newer layout is missed.
void CollectUrls(const JsonValue& node, std::vector<std::string>& urls) {
  if (node.kind == JsonValue::Kind::Object) {
    const JsonValue* type = node.Member("type");
    const JsonValue* url = node.Member("url");
    if (type && type->IsString("url") && url && url->kind == JsonValue::Kind::String) urls.push_back(url->text);
    for (const auto& [name, member] : node.members) CollectUrls(member, urls);
  } else {
    for (const JsonValue& item : node.items) CollectUrls(item, urls);
  }
}

}  // namespace

std::optional<std::vector<std::string>> BookmarkedUrls(std::string_view json) {
  std::optional<JsonValue> file = locations::ParseJson(json);
  const JsonValue* roots = file ? file->Member("roots") : nullptr;
  if (!roots || roots->kind != JsonValue::Kind::Object) return std::nullopt;
  std::vector<std::string> urls;
  CollectUrls(*roots, urls);
  return urls;
}

}  // namespace tidemark::chromium
