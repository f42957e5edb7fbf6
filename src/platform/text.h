// Text helpers for single-byte (Windows code page) strings. Case folding is
// ASCII-only: hosts, switches and file names are compared this way throughout.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark {

std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
// Blanks and control characters removed at both ends.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
// A whole decimal number with an optional sign and surrounding blanks;
// nothing for empty, non-numeric or out-of-range text.
std::optional<long long> ParseInteger(std::string_view text);
int ParseIntOr(std::string_view text, int fallback);
// Pieces between separators, empty pieces kept.
std::vector<std::string> Split(std::string_view text, char separator);
// "C:\a\b.txt" -> "C:\a" (no trailing backslash), "b.txt", "b".
std::string ParentFolder(std::string_view path);
std::string FileNameOf(std::string_view path);
std::string BaseNameOf(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view name);
// JoinPath for a data file; empty without a folder (never a bare name, which
// would land in whatever the current folder is).
std::string FileInFolder(std::string_view folder, std::string_view name);

}  // namespace tidemark
