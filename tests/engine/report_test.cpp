#include "engine/report.h"

#include <gtest/gtest.h>

#include "engine/labels.h"
#include "support/memory_report.h"

namespace tidemark::engine {
namespace {

using Lines = std::vector<std::string>;

TEST(ErrorLines, MarkersAndLabelsOfBothWidths) {
  const std::string item = "C:\\a.txt";
  for (const std::string& line :
       {std::string(kPlugLocked) + item, std::string(kLocked) + item, std::string(kAccessDenied) + item,
        std::string("-Caution-"), std::string("-Error-"), std::string("*** Error occurred in above function ***"),
        std::string("NOTE - A \"Locked\" file has been encountered.")})
    EXPECT_TRUE(IsErrorLine(line)) << line;
  for (const std::string& line : {std::string(kPlugAccessDenied) + item, std::string(" -Caution-"),
                                  std::string("NOTE - The TroubleShooting section of the Tidemark Help file "),
                                  std::string(kDeleted) + item, std::string(kPlugFileNotPresent) + item, std::string()})
    EXPECT_FALSE(IsErrorLine(line)) << line;
}

TEST(Progress, PumpsEveryPeriodAndTheLabelCarriesTheTrimmedTitleAndShredSuffix) {
  test::MemoryReport r;
  r.report.ResetProgress(" with Quick Shred");
  r.report.BeginSection("  Processing \"Temp Folders\"");
  std::vector<int> pumpedAt;
  for (int call = 1; call <= 25; ++call) {
    int before = r.pump.pumps;
    r.report.UpdateProgress(10);
    if (r.pump.pumps != before) pumpedAt.push_back(call);
  }
  EXPECT_EQ(pumpedAt, (std::vector<int>{10, 20}));
  EXPECT_EQ(r.report.TotalProcessed(), 25);
  EXPECT_EQ(r.sink.lines.back(), "Processing \"Temp Folders\"");
  EXPECT_EQ(r.label.text, "  Processing \"Temp Folders\" with Quick Shred  -  Total processed = 25");
  r.report.BeginSection(std::string(300, 'x'));
  EXPECT_EQ(r.sink.lines.back().size(), 255u);

  struct Case {
    bool preview, secureErase;
    char kind;
    const char* suffix;
  } cases[] = {{false, true, '2', " with 4 Shred Operations"},
               {false, true, '1', " with 3 Shred Operations"},
               {false, true, '0', " with Quick Shred"},
               {false, true, '7', ""},
               {true, true, '2', ""},
               {false, false, '2', ""}};
  for (const Case& c : cases) EXPECT_EQ(ShredSuffix(c.preview, c.secureErase, c.kind, 3), c.suffix) << c.kind;
}

TEST(Report, StartWritesTheHeadingAndFileResultLabelsRaiseTheLevelWhichOnlyRises) {
  test::MemoryReport r;
  r.sink.lines = {"old"};
  r.report.Start(true);
  EXPECT_EQ(r.sink.lines,
            (Lines{"This List is from a \"Preview Purge\".", "  No Deletes are done for a \"Preview Purge\".",
                   "  The following list is for illustration purposes only."}));
  r.report.Start(false);
  EXPECT_EQ(r.sink.lines, Lines{"Results of \"Purge\" function..."});

  struct Case {
    uint32_t code;
    std::string label;
    int level;
  } cases[] = {{0, std::string(kDeleted), 0},       {32, std::string(kLocked), 0},
               {1224, std::string(kLocked), 0},     {145, std::string(kDirNotEmpty), 1},
               {87, " -Error-87          ", 3},     {3, std::string(kPathNotFound), 7},
               {145, std::string(kDirNotEmpty), 7}, {2, std::string(kFileNotFound), 7}};
  for (const Case& c : cases) {
    EXPECT_EQ(FileResultLabel(c.code, r.report), c.label) << c.code;
    EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.report.ErrorSeen()), std::pair(c.level, c.level > 0)) << c.code;
  }
}

TEST(Navigation, TabWalksErrorLinesThenTheLastLineAndPageDownStopsAboveASeparator) {
  test::MemorySink sink;
  for (int i = 0; i < 40; ++i) sink.lines.push_back("item " + std::to_string(i));
  sink.lines[5] = " -Error- five";
  sink.lines[9] = std::string(kLocked) + "nine";
  size_t at = NextErrorLine(sink, kNoLine);
  EXPECT_EQ(at, 5u);
  EXPECT_EQ(at = NextErrorLine(sink, at), 9u);
  EXPECT_EQ(at = NextErrorLine(sink, at), 39u);
  EXPECT_EQ(at = NextErrorLine(sink, at), 5u);
  EXPECT_EQ(NextErrorLine(test::MemorySink{}, kNoLine), kNoLine);
  sink.lines[8] = sink.lines[25] = std::string(kSectionSeparator);
  EXPECT_EQ(NextSummaryLine(sink, 0, 10), 24u);   // the separator at 8 is on the page
  EXPECT_EQ(NextSummaryLine(sink, 20, 10), 39u);  // none below: the last line
}

}  // namespace
}  // namespace tidemark::engine
