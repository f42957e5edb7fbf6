// The help project: every topic the program opens is compiled into the help
// file and reachable from its contents, and every link between topics leads
// to a topic that exists.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "help/help_topics.h"
#include "help_sources.h"
#include "platform/text.h"

namespace tidemark::test {
namespace {

// The [FILES] section of the project, lower case.
std::set<std::string> ProjectFiles() {
  std::string project = ReadText(RepositoryPath("help/Tidemark.hhp"));
  std::set<std::string> files;
  size_t at = project.find("[FILES]");
  if (at == std::string::npos) return files;
  for (const std::string& raw : Split(project.substr(at + 7), '\n')) {
    std::string line(Trim(raw));
    if (line.empty()) continue;
    if (line[0] == '[') break;
    files.insert(LowerCase(line));
  }
  return files;
}

// The values of one attribute in a file, lower case.
std::set<std::string> AttributeValues(const std::string& text, const std::string& pattern) {
  std::set<std::string> values;
  std::regex expression(pattern, std::regex::icase);
  for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
    values.insert(LowerCase((*it)[1].str()));
  return values;
}

std::string FileName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  return LowerCase(name);
}

TEST(HelpFile, EveryTopicIsCompiledAndListedInTheContents) {
  std::set<std::string> project = ProjectFiles();
  std::set<std::string> contents =
      AttributeValues(ReadText(RepositoryPath("help/Tidemark.hhc")), R"re(name="Local" value="([^"]+)")re");
  std::vector<std::string> pages = FilesBelow(RepositoryPath("help/html"), {".htm"});
  ASSERT_FALSE(pages.empty());
  for (const std::string& page : pages) {
    std::string topic = "html\\" + FileName(page);
    EXPECT_TRUE(project.count(topic)) << topic << " is not in the [FILES] of Tidemark.hhp";
    EXPECT_TRUE(contents.count(topic)) << topic << " is not in the contents Tidemark.hhc";
  }
  for (std::string_view topic : help::kProgramTopics)
    EXPECT_TRUE(project.count(LowerCase(topic))) << "the program opens " << topic << ", which is not compiled";
}

TEST(HelpFile, LinksAndIndexEntriesLeadToTopics) {
  std::set<std::string> existing;
  std::vector<std::string> pages = FilesBelow(RepositoryPath("help/html"), {".htm", ".css"});
  for (const std::string& page : pages) existing.insert(FileName(page));
  for (const std::string& page : pages) {
    std::string text = ReadText(page);
    for (const std::string& target : AttributeValues(text, R"re((?:href)="([^"#:]+)[^"]*")re"))
      EXPECT_TRUE(existing.count(target)) << FileName(page) << " links to " << target << ", which does not exist";
  }
  for (const std::string& target :
       AttributeValues(ReadText(RepositoryPath("help/Tidemark.hhk")), R"re(name="Local" value="html\\([^"]+)")re"))
    EXPECT_TRUE(existing.count(target)) << "the index names " << target << ", which does not exist";
}

}  // namespace
}  // namespace tidemark::test
