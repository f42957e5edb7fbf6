// A reader of JSON text (RFC 8259) for the files Chromium-family browsers
// keep their settings in: "Local State" and "Bookmarks". Strict, as the
// browsers write it; anything else is not read at all.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::locations {

// Deeper nesting than the browsers' own reader accepts is refused.
inline constexpr int kMaxJsonDepth = 200;

// An object's member, read as the pair it was: a std::pair holding a
// JsonValue cannot be named inside JsonValue, whose type is not complete
// there (clang refuses it), so it is defined below.
struct JsonMember;

struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  std::string text;  // a string's value (UTF-8, escapes decoded) or a number as written
  std::vector<JsonValue> items;
  std::vector<JsonMember> members;  // in file order

  // The first member of an object with that name; null when there is none
  // or this is not an object.
  const JsonValue* Member(std::string_view name) const;
  bool IsString(std::string_view value) const { return kind == Kind::String && text == value; }
};

struct JsonMember {
  std::string first;  // the name
  JsonValue second;
};

// Nothing when the text is not one JSON value (surrounding white space and a
// UTF-8 byte order mark aside) or nests deeper than kMaxJsonDepth.
std::optional<JsonValue> ParseJson(std::string_view text);

}  // namespace tidemark::locations
