// Line splitting for the text files the program reads (protect lists, cookie
// files, plugin lists, the boot list): CR LF, LF and CR all end a line, and a
// break at the very end opens no further line.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::platform {

struct LineSpan {
  size_t start = 0;   // offset of the line's first character
  size_t length = 0;  // without its line break
};

std::vector<LineSpan> SplitLineSpans(std::string_view text);
std::vector<std::string> SplitLines(std::string_view text);
// How many leading lines belong to a file's header block (each one the
// test accepts); the last line never does.
size_t HeaderBlockEnd(const std::vector<std::string>& lines, bool (*isHeaderLine)(const std::string&));
// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace tidemark::platform
