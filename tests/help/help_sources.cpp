#include "help_sources.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/labels.h"
#include "platform/text.h"

namespace tidemark::test {
namespace {

std::string FoldBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (blank && (out.empty() || out.back() == ' ')) continue;
    out += blank ? ' ' : c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// Markers that begin an error, caution or warning line (after its blanks).
constexpr std::string_view kMarkers[] = {"*** ", "-Error-", "-Caution-", "Error - ", "CAUTION - ", "- Warning - "};
// What is left of a marker that stands alone, ahead of a computed part.
constexpr std::string_view kBareMarkers[] = {"***", "-Error-", "-Caution-", "Error -", "*** Error"};

bool StartsReportLine(const std::string& literal) {
  if (engine::IsErrorLine(literal)) return true;
  std::string text = FoldBlanks(literal) + " ";
  return std::any_of(std::begin(kMarkers), std::end(kMarkers),
                     [&](std::string_view marker) { return StartsWith(text, marker); });
}

// The literals of a line, each with the code between it and the one before.
struct Literal {
  std::string before, text;
};

std::vector<Literal> ScanLiterals(const std::string& line) {
  std::vector<Literal> literals;
  std::string code;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') break;
    if (c == '\'') {  // a character literal such as '"'
      for (++i; i < line.size() && line[i] != '\''; ++i)
        if (line[i] == '\\') ++i;
      continue;
    }
    if (c != '"') {
      code += c;
      continue;
    }
    std::string literal;
    for (++i; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        char escaped = line[++i];
        literal += escaped == 'r' || escaped == 'n' || escaped == 't' ? ' ' : escaped;
      } else {
        literal += line[i];
      }
    }
    literals.push_back({code, literal});
    code.clear();
  }
  return literals;
}

}  // namespace

std::string RepositoryPath(const std::string& relative) {
  std::string path = std::string(TIDEMARK_SOURCE_ROOT) + "/" + relative;
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> FilesBelow(const std::string& folder, const std::vector<std::string>& endings) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    std::string path = entry.path().string();
    for (const std::string& ending : endings)
      if (entry.is_regular_file() && path.size() >= ending.size() &&
          path.compare(path.size() - ending.size(), ending.size(), ending) == 0)
        files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string VisibleText(const std::string& html) {
  std::string text;
  bool inTag = false;
  for (char c : html) {
    if (c == '<') inTag = true;
    if (!inTag) text += c;
    if (c == '>') {
      inTag = false;
      text += ' ';  // a tag between two words separates them
    }
  }
  const std::pair<std::string_view, std::string_view> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", " "}, {"&amp;", "&"}};
  for (auto [entity, character] : entities)
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + character.size()))
      text.replace(at, entity.size(), character);
  // A tag closes right after the word it ends ("<code>x</code> - y").
  std::string folded = FoldBlanks(text);
  std::string out;
  for (size_t i = 0; i < folded.size(); ++i) {
    bool spare = folded[i] == ' ' && i + 1 < folded.size() && (folded[i + 1] == '.' || folded[i + 1] == ',');
    if (!spare) out += folded[i];
  }
  return out;
}

std::vector<std::string> LiteralsOf(const std::string& line) {
  std::vector<std::string> texts;
  for (const Literal& literal : ScanLiterals(line)) texts.push_back(literal.text);
  return texts;
}

std::vector<std::string> ReportTextsOf(const std::string& line) {
  std::vector<std::string> texts;
  bool inLine = false;  // within the expression of a report line
  for (const Literal& literal : ScanLiterals(line)) {
    // A comma or semicolon ends the expression: what follows is another text.
    if (literal.before.find_first_of(",;") != std::string::npos) inLine = false;
    if (StartsReportLine(literal.text)) inLine = true;
    if (!inLine) continue;
    std::string text = FoldBlanks(literal.text);
    bool bare = std::find(std::begin(kBareMarkers), std::end(kBareMarkers), text) != std::end(kBareMarkers);
    // Short pieces are separators and numbers' surroundings (" - ", " = ").
    if (!bare && text.size() >= 6) texts.push_back(text);
  }
  return texts;
}

}  // namespace tidemark::test
