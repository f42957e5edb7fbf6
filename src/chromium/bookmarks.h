// The pages a Chromium profile keeps as bookmarks, read from its "Bookmarks"
// file (JSON): the history purges keep them.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::chromium {

// The address of every bookmark ("type": "url") below "roots", in file
// order; nothing when the text is not a bookmarks file (not JSON, or no
// "roots" object), so that no caller takes an unread file for one without
// bookmarks.
std::optional<std::vector<std::string>> BookmarkedUrls(std::string_view json);

}  // namespace tidemark::chromium
