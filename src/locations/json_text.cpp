#include "locations/json_text.h"

#include <cstdint>

namespace tidemark::locations {
namespace {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  std::optional<JsonValue> Document() {
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    JsonValue value;
    if (!Value(value, 0)) return std::nullopt;
    SkipSpace();
    if (pos_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) ++pos_;
  }

  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool Value(JsonValue& value, int depth) {
    if (depth >= kMaxJsonDepth) return false;
    SkipSpace();
    switch (Peek()) {
      case '{': value.kind = JsonValue::Kind::Object; return Object(value, depth);
      case '[': value.kind = JsonValue::Kind::Array; return Array(value, depth);
      case '"': value.kind = JsonValue::Kind::String; return String(value.text);
      case 't': value.kind = JsonValue::Kind::Boolean; value.boolean = true; return Literal("true");
      case 'f': value.kind = JsonValue::Kind::Boolean; return Literal("false");
      case 'n': return Literal("null");
      default: value.kind = JsonValue::Kind::Number; return Number(value.text);
    }
  }

  bool Object(JsonValue& value, int depth) {
    ++pos_;
    SkipSpace();
    if (Peek() == '}') return ++pos_, true;
    for (;;) {
      SkipSpace();
      auto& member = value.members.emplace_back();
      if (Peek() != '"' || !String(member.first)) return false;
      SkipSpace();
      if (Peek() != ':') return false;
      ++pos_;
      if (!Value(member.second, depth + 1)) return false;
      SkipSpace();
      if (Peek() == '}') return ++pos_, true;
      if (Peek() != ',') return false;
      ++pos_;
    }
  }

  bool Array(JsonValue& value, int depth) {
    ++pos_;
    SkipSpace();
    if (Peek() == ']') return ++pos_, true;
    for (;;) {
      if (!Value(value.items.emplace_back(), depth + 1)) return false;
      SkipSpace();
      if (Peek() == ']') return ++pos_, true;
      if (Peek() != ',') return false;
      ++pos_;
    }
  }

  bool Digits() {
    size_t start = pos_;
    while (!AtEnd() && Peek() >= '0' && Peek() <= '9') ++pos_;
    return pos_ > start;
  }

  bool Number(std::string& out) {
    size_t start = pos_;
    if (Peek() == '-') ++pos_;
    if (Peek() == '0') {
      ++pos_;
    } else if (!Digits()) {
      return false;
    }
    if (Peek() == '.') {
      ++pos_;
      if (!Digits()) return false;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!Digits()) return false;
    }
    out.assign(text_.substr(start, pos_ - start));
    return true;
  }

  bool Hex4(uint32_t& unit) {
    if (text_.size() - pos_ < 4) return false;
    unit = 0;
    for (int i = 0; i < 4; ++i) {
      char c = text_[pos_++];
      unit <<= 4;
      if (c >= '0' && c <= '9') unit |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') unit |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') unit |= static_cast<uint32_t>(c - 'A' + 10);
      else return false;
    }
    return true;
  }

  static void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // A \u escape; a surrogate must come in a valid pair.
  bool Escape(std::string& out) {
    uint32_t code;
    if (!Hex4(code)) return false;
    if (code >= 0xDC00 && code <= 0xDFFF) return false;
    if (code >= 0xD800 && code <= 0xDBFF) {
      uint32_t low;
      if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, code);
    return true;
  }

  bool String(std::string& out) {
    ++pos_;
    for (;;) {
      if (AtEnd()) return false;
      char c = text_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (AtEnd()) return false;
      switch (text_[pos_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u':
          if (!Escape(out)) return false;
          break;
        default: return false;
      }
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Member(std::string_view name) const {
  for (const auto& [key, value] : members)
    if (key == name) return &value;
  return nullptr;
}

std::optional<JsonValue> ParseJson(std::string_view text) { return JsonParser(text).Document(); }

}  // namespace tidemark::locations
