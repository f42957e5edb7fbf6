// The help project against the program's sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "engine/labels.h"
#include "help/help_topics.h"
#include "platform/text.h"

namespace tidemark::help {
namespace {

std::string Path(const std::string& relative) { return std::string(TIDEMARK_SOURCE_ROOT) + "/" + relative; }
std::string Read(const std::string& path) {
  return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}
std::vector<std::string> FilesBelow(const std::string& relative, const char* pattern) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Path(relative)))
    if (entry.is_regular_file() && std::regex_search(entry.path().string(), std::regex(pattern)))
      files.push_back(entry.path().string());
  return files;
}
std::string NameOf(const std::string& path) { return LowerCase(path.substr(path.find_last_of("/\\") + 1)); }
// The first group of every match, lower case.
std::set<std::string> Matches(const std::string& text, const char* pattern) {
  std::set<std::string> values;
  std::regex expression(pattern, std::regex::icase);
  for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
    values.insert(LowerCase((*it)[1].str()));
  return values;
}

std::string FoldBlanks(const std::string& text) {
  static const std::regex blanks("[ \t\r\n]+");
  return Trim(std::regex_replace(text, blanks, " "));
}

// A help page's text as the viewer shows it; a tag closes right after the word it ends ("<code>x</code>.").
std::string VisibleText(std::string text) {
  text = std::regex_replace(text, std::regex("<[^>]*>"), " ");
  for (const char* entity : {"&lt;|<", "&gt;|>", "&quot;|\"", "&#39;|'", "&nbsp;| ", "&amp;|&"})
    text = std::regex_replace(text, std::regex(Split(entity, '|')[0]), Split(entity, '|')[1]);
  return std::regex_replace(FoldBlanks(text), std::regex(" ([.,])"), "$1");
}

// The report or message texts of a line of C++: literals beginning with a marker or an error label and those joined
// to them up to a comma or semicolon, blanks folded; comments, bare markers and short separators left out.
std::vector<std::string> ReportTextsOf(const std::string& line) {
  static const std::regex token(R"re('(?:[^'\\]|\\.)*'|"((?:[^"\\]|\\.)*)"|//)re");
  static const char* const markers[] = {"*** ", "-Error-", "-Caution-", "Error - ", "CAUTION - ", "- Warning - "};
  static constexpr std::string_view bare[] = {"***", "-Error-", "-Caution-", "Error -", "*** Error"};
  std::vector<std::string> texts;
  bool inLine = false;
  size_t end = 0;
  for (std::sregex_iterator it(line.begin(), line.end(), token), last; it != last && it->str() != "//"; ++it) {
    inLine = inLine && line.substr(end, it->position() - end).find_first_of(",;") == std::string::npos;
    end = it->position() + it->length();
    if (!(*it)[1].matched) continue;  // a character literal such as '"'
    std::string raw = (*it)[1].str(), literal;
    for (size_t i = 0; i < raw.size(); ++i)
      literal += raw[i] != '\\' ? raw[i] : std::string_view("rnt").find(raw[++i]) != std::string::npos ? ' ' : raw[i];
    std::string text = FoldBlanks(literal);
    inLine = inLine || engine::IsErrorLine(literal) ||
             std::ranges::any_of(markers, [&](std::string_view m) { return StartsWith(text + " ", m); });
    if (inLine && text.size() >= 6 && std::ranges::find(bare, text) == std::end(bare)) texts.push_back(text);
  }
  return texts;
}

TEST(HelpFile, EveryTopicIsCompiledListedAndLinkedAndEveryReportLineHasATroubleShootingEntry) {
  std::string project = Read(Path("help/Tidemark.hhp"));
  std::set<std::string> compiled;
  for (const std::string& line : Split(project.substr(std::min(project.find("[FILES]"), project.size())), '\n'))
    if (std::string name = LowerCase(Trim(line)); !name.empty() && name != "[files]") compiled.insert(name);
  std::set<std::string> contents = Matches(Read(Path("help/Tidemark.hhc")), R"re(name="Local" value="([^"]+)")re");
  std::set<std::string> existing;
  for (const std::string& page : FilesBelow("help/html", R"(\.(htm|css)$)")) existing.insert(NameOf(page));
  for (const std::string& page : FilesBelow("help/html", R"(\.htm$)")) {
    std::string topic = "html\\" + NameOf(page);
    EXPECT_TRUE(compiled.count(topic)) << topic << " is not in the [FILES] of Tidemark.hhp";
    EXPECT_TRUE(contents.count(topic)) << topic << " is not in the contents Tidemark.hhc";
    for (const std::string& target : Matches(Read(page), R"re(href="([^"#:]+)[^"]*")re"))
      EXPECT_TRUE(existing.count(target)) << NameOf(page) << " links to " << target << ", which does not exist";
  }
  for (const std::string& target :
       Matches(Read(Path("help/Tidemark.hhk")), R"re(name="Local" value="html\\([^"]+)")re"))
    EXPECT_TRUE(existing.count(target)) << "the index names " << target << ", which does not exist";
  for (std::string_view topic : kProgramTopics)
    EXPECT_TRUE(compiled.count(LowerCase(topic))) << "the program opens " << topic << ", which is not compiled";
  std::string trouble = VisibleText(Read(Path("help/html/trouble.htm")));
  size_t found = 0;
  for (const std::string& file : FilesBelow("src", R"(\.(cpp|h)$)")) {
    std::vector<std::string> lines = Split(Read(file), '\n');
    for (size_t number = 0; number < lines.size(); ++number)
      for (const std::string& text : ReportTextsOf(lines[number])) {
        ++found;
        EXPECT_NE(trouble.find(text), std::string::npos)
            << "no TroubleShooting entry for \"" << text << "\" (" << file << ":" << number + 1 << ")";
      }
  }
  EXPECT_GT(found, 0u) << "no report lines found below " << Path("src");
}

}  // namespace
}  // namespace tidemark::help
