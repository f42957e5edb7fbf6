// Every error, caution and warning line the program can write has its entry
// in the TroubleShooting topic: the lines are taken from the sources, so a
// new line without an entry fails here.
#include <gtest/gtest.h>

#include <sstream>

#include "help_sources.h"

namespace tidemark::test {
namespace {

using Texts = std::vector<std::string>;

TEST(ReportTexts, TakenFromMarkerAndLabelLinesOnly) {
  const struct {
    const char* line;
    Texts texts;
  } cases[] = {
      {R"(  env.Line(" -Error- Recent LNKs:  not processed as folder could not be located");)",
       {"-Error- Recent LNKs: not processed as folder could not be located"}},
      {R"(  env_.Line(std::string("Error - ") + kProductName + " is not programmed to support this Plugin level");)",
       {"is not programmed to support this Plugin level"}},
      {R"(case 3: return "Error - " + kindName + " Index.dat not yet initialized";  // "*** Error in comment")",
       {"Index.dat not yet initialized"}},
      {R"(inline constexpr std::string_view kLocked = "        Locked - ";)", {"Locked -"}},
      {R"(report_.Line("-Caution- Some functions may not complete as a Browser was executing.");)",
       {"-Caution- Some functions may not complete as a Browser was executing."}},
      {R"(return "- Warning - No I.E. Cookies are protected";)", {"- Warning - No I.E. Cookies are protected"}},
      {R"(text = "CAUTION - As " + name + " is Executing, some Purge Options may not succeed.";)",
       {"CAUTION - As", "is Executing, some Purge Options may not succeed."}},
      {R"(env.Line("*** " + message + " - " + kind.name);)", {}},
      {R"(Compact(db, {"  Compact Cookie file completed", "*** Error - Compact Cookie file failed - "});)",
       {"*** Error - Compact Cookie file failed -"}},
      {R"(Show("Error - Unable to save " + path, "Saving cookies");)", {"Error - Unable to save"}},
      {R"(std::string label = " -Error-" + std::to_string(code);)", {}},
      {R"(env.Line("  Purge Functions Completed.");)", {}},
      {R"(AddRadio("Enable when any Error occurs");  // " -Error- in a comment")", {}},
      {R"(if (c == '"') Write("Error - quoted");)", {"Error - quoted"}},
      {R"(Line("*** Error - Write failed - \"Cookies.txt\"\r\n");)", {"*** Error - Write failed - \"Cookies.txt\""}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReportTextsOf(c.line), c.texts) << c.line;
}

TEST(ReportTexts, HelpTextIsReadAsTheViewerShowsIt) {
  EXPECT_EQ(VisibleText("<dt>-Error-<i>code</i> <i>item</i></dt>\r\n<dd>Look &quot;it&quot; up &amp;\n  retry</dd>"),
            "-Error- code item Look \"it\" up & retry");
  EXPECT_EQ(VisibleText("<p>the label <code>Locked - </code>.</p>"), "the label Locked -.");
}

TEST(TroubleShooting, EveryReportLineOfTheProgramHasAnEntry) {
  std::string topic = VisibleText(ReadText(RepositoryPath("help/html/trouble.htm")));
  ASSERT_FALSE(topic.empty()) << "TroubleShooting topic missing";
  size_t found = 0;
  for (const std::string& file : FilesBelow(RepositoryPath("src"), {".cpp", ".h"})) {
    std::istringstream source(ReadText(file));
    std::string line;
    for (int number = 1; std::getline(source, line); ++number)
      for (const std::string& text : ReportTextsOf(line)) {
        ++found;
        EXPECT_NE(topic.find(text), std::string::npos)
            << "no TroubleShooting entry for \"" << text << "\" (" << file << ":" << number << ")";
      }
  }
  EXPECT_GT(found, 0u) << "no report lines found below " << RepositoryPath("src");
}

}  // namespace
}  // namespace tidemark::test
