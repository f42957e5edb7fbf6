#include "chromium/bookmarks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace tidemark::chromium {
namespace {

using Urls = std::optional<std::vector<std::string>>;

TEST(BookmarkedUrls, EveryUrlNodeBelowRootsInFileOrderAndNothingForAFileThatIsNoBookmarksFile) {
  // As Chromium writes it: folders with children at any depth, the three roots, a synced folder of a newer layout.
  const std::string bookmarks = R"({"checksum": "0f", "roots": {
    "bookmark_bar": {"children": [
      {"id": "4", "name": "Booked", "type": "url", "url": "https://booked.example/"},
      {"children": [{"children": [{"type": "url", "url": "https://deep.example/a?b=1#c"}], "type": "folder"},
                    {"type": "folder", "children": []}], "type": "folder", "name": "F"}],
      "type": "folder"},
    "other": {"children": [{"type": "url", "url": "https://other.example/", "meta_info": {"k": "v"}}],
              "type": "folder"},
    "synced": {"children": [{"type": "url", "url": "https://synced.example/"}], "type": "folder"},
    "workspaces_v2": {"children": [{"url": "https://no-type.example/"}, {"type": "folder", "url": "x"}]}},
  "version": 1, "elsewhere": {"type": "url", "url": "https://outside-roots.example/"}})";
  const std::tuple<std::string, Urls> cases[] = {
      {bookmarks, std::vector<std::string>{"https://booked.example/", "https://deep.example/a?b=1#c",
                                           "https://other.example/", "https://synced.example/"}},
      {R"({"roots": {}})", std::vector<std::string>{}},
      {R"({"roots": {"bookmark_bar": {"type": "url", "url": 7}}})", std::vector<std::string>{}},
      {bookmarks.substr(0, bookmarks.size() - 1), std::nullopt},  // cut short while written
      {R"({"roots": []})", std::nullopt},
      {R"([{"roots": {}}])", std::nullopt},
  };
  for (const auto& [json, urls] : cases) EXPECT_EQ(BookmarkedUrls(json), urls) << json;
}

}  // namespace
}  // namespace tidemark::chromium
