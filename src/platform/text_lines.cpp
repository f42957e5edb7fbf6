#include "platform/text_lines.h"

namespace tidemark::platform {

std::vector<LineSpan> SplitLineSpans(std::string_view text) {
  std::vector<LineSpan> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({start, text.size() - start});
      break;
    }
    lines.push_back({start, end - start});
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  for (const LineSpan& span : SplitLineSpans(text)) lines.emplace_back(text.substr(span.start, span.length));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

size_t HeaderBlockEnd(const std::vector<std::string>& lines, bool (*isHeaderLine)(const std::string&)) {
  size_t end = 0;
  while (end + 1 < lines.size() && isHeaderLine(lines[end])) ++end;
  return end;
}

}  // namespace tidemark::platform
