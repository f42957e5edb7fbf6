#include "engine/report.h"

#include <gtest/gtest.h>

#include "engine/labels.h"
#include "support/memory_report.h"

namespace tidemark::engine {
namespace {

using test::MemoryReport;

TEST(ErrorLines, MarkersAndLabelsOfBothWidths) {
  EXPECT_TRUE(IsErrorLine(std::string(kPlugLocked) + "C:\\a.txt"));
  EXPECT_TRUE(IsErrorLine(std::string(kLocked) + "C:\\a.txt"));
  EXPECT_FALSE(IsErrorLine(std::string(kPlugAccessDenied) + "C:\\a.txt"));
  EXPECT_TRUE(IsErrorLine(std::string(kAccessDenied) + "C:\\a.txt"));
  EXPECT_TRUE(IsErrorLine("-Caution-"));
  EXPECT_FALSE(IsErrorLine(" -Caution-"));
  EXPECT_TRUE(IsErrorLine(" -Error- not Processed as FireFox browser is active."));
  EXPECT_TRUE(IsErrorLine("-Error-"));
  EXPECT_TRUE(IsErrorLine("*** Error occurred in above function ***"));
  EXPECT_TRUE(IsErrorLine("NOTE - A \"Locked\" file has been encountered."));
  EXPECT_FALSE(IsErrorLine("NOTE - The TroubleShooting section of the Tidemark Help file "));
  EXPECT_FALSE(IsErrorLine(std::string(kDeleted) + "x"));
  EXPECT_FALSE(IsErrorLine(std::string(kPlugFileNotPresent) + "x"));
  EXPECT_FALSE(IsErrorLine(""));
}

TEST(ErrorLines, EveryLabelHasItsWidth) {
  for (auto label : {kDeleted, kToDelete, kDeleteFailed, kProtected, kErrorInUrl, kFileNotFound, kPathNotFound,
                     kDirNotEmpty, kAccessDenied, kLocked, kLockedUrl, kDuplicate})
    EXPECT_EQ(label.size(), 17u) << "[" << label << "]";
  for (auto label : {kPlugFileNotFound, kPlugPathNotFound, kPlugDirNotEmpty, kPlugLocked, kPlugNotUpdated,
                     kPlugDelValFails, kPlugDelKeyFails, kPlugInvalidRoot, kPlugExecFailed, kPlugDeleted,
                     kPlugToDelete, kPlugAccessDenied, kPlugValDeleted, kPlugToDeleteVal, kPlugKeyDeleted,
                     kPlugToDeleteKey, kPlugToExecute, kPlugExecuted, kPlugIgnoreLocked, kPlugIgnoreDirErr,
                     kPlugIgnoreDenied, kPlugIgnoreErrors, kPlugProtected})
    EXPECT_EQ(label.size(), 19u) << "[" << label << "]";
  for (auto label : {kPlugFileNotPresent, kPlugValueNotPresent, kPlugKeyNotPresent}) EXPECT_EQ(label.size(), 23u);
  EXPECT_EQ(kSectionSeparator.size(), 34u);
}

TEST(Progress, PumpCadenceFollowsThePeriod) {
  MemoryReport r;
  r.report.ResetProgress("");
  for (int i = 0; i < 5; ++i) r.report.UpdateProgress(1);
  EXPECT_EQ(r.pump.pumps, 5);

  r.pump.pumps = 0;
  r.report.ResetProgress("");
  std::vector<int> pumpedAt;
  for (int call = 1; call <= 25; ++call) {
    int before = r.pump.pumps;
    r.report.UpdateProgress(10);
    if (r.pump.pumps != before) pumpedAt.push_back(call);
  }
  EXPECT_EQ(pumpedAt, (std::vector<int>{10, 20}));
  EXPECT_EQ(r.report.TotalProcessed(), 25);
}

TEST(Progress, SectionTitleIsTrimmedAndCarriesTheShredSuffix) {
  MemoryReport r;
  r.report.ResetProgress(" with Quick Shred");
  r.report.BeginSection("  Processing \"Temp Folders\"");
  r.report.UpdateProgress(10);
  EXPECT_EQ(r.sink.lines.back(), "Processing \"Temp Folders\"");
  EXPECT_EQ(r.label.text, "  Processing \"Temp Folders\" with Quick Shred  -  Total processed = 1");
  EXPECT_EQ(r.pump.sleptMs, 100u);
  EXPECT_EQ(r.pump.pumps, 1);

  r.report.BeginSection(std::string(300, 'x'));
  EXPECT_EQ(r.sink.lines.back().size(), 255u);
}

TEST(Progress, ShredSuffixByKind) {
  EXPECT_EQ(ShredSuffix(false, true, '2', 3), " with 4 Shred Operations");
  EXPECT_EQ(ShredSuffix(false, true, '1', 3), " with 3 Shred Operations");
  EXPECT_EQ(ShredSuffix(false, true, '0', 3), " with Quick Shred");
  EXPECT_EQ(ShredSuffix(true, true, '2', 3), "");
  EXPECT_EQ(ShredSuffix(false, false, '2', 3), "");
}

TEST(Report, StartWritesTheHeadingOfPreviewAndPurge) {
  MemoryReport r;
  r.sink.lines = {"old"};
  r.report.Start(true);
  EXPECT_EQ(r.sink.lines, (std::vector<std::string>{"This List is from a \"Preview Purge\".",
                                                    "  No Deletes are done for a \"Preview Purge\".",
                                                    "  The following list is for illustration purposes only."}));
  EXPECT_EQ(r.label.text, "idle");
  EXPECT_EQ(r.label.colour, kColourSilver);
  r.report.Start(false);
  EXPECT_EQ(r.sink.lines, (std::vector<std::string>{"Results of \"Purge\" function..."}));
}

TEST(Report, ErrorLevelOnlyRisesAndMarksTheErrorSeen) {
  MemoryReport r;
  EXPECT_FALSE(r.report.ErrorSeen());
  r.report.RaiseError(7);
  r.report.RaiseError(3);
  EXPECT_EQ(r.report.ErrorLevel(), 7);
  EXPECT_TRUE(r.report.ErrorSeen());
}

TEST(Report, FileResultLabels) {
  MemoryReport r;
  EXPECT_EQ(FileResultLabel(0, r.report), kDeleted);
  EXPECT_EQ(FileResultLabel(32, r.report), kLocked);
  EXPECT_EQ(FileResultLabel(1224, r.report), kLocked);
  EXPECT_EQ(r.report.ErrorLevel(), 0);
  EXPECT_EQ(FileResultLabel(145, r.report), kDirNotEmpty);
  EXPECT_EQ(r.report.ErrorLevel(), 1);
  EXPECT_EQ(FileResultLabel(87, r.report), " -Error-87          ");
  EXPECT_EQ(r.report.ErrorLevel(), 3);
  EXPECT_EQ(FileResultLabel(3, r.report), kPathNotFound);
  EXPECT_EQ(r.report.ErrorLevel(), 7);
  EXPECT_TRUE(r.report.ErrorSeen());
}

TEST(Navigation, TabWalksErrorLinesThenTheLastLineThenWraps) {
  test::MemorySink sink;
  for (int i = 0; i < 12; ++i) sink.lines.push_back("line " + std::to_string(i));
  sink.lines[5] = " -Error- five";
  sink.lines[9] = std::string(kLocked) + "nine";
  size_t at = NextErrorLine(sink, kNoLine);
  EXPECT_EQ(at, 5u);
  EXPECT_EQ(at = NextErrorLine(sink, at), 9u);
  EXPECT_EQ(at = NextErrorLine(sink, at), 11u);
  EXPECT_EQ(at = NextErrorLine(sink, at), 5u);
  EXPECT_EQ(NextErrorLine(test::MemorySink{}, kNoLine), kNoLine);
}

TEST(Navigation, PageDownFindsTheLineAboveTheNextSeparatorBelowThePage) {
  test::MemorySink sink;
  for (int i = 0; i < 40; ++i) sink.lines.push_back("item " + std::to_string(i));
  sink.lines[8] = std::string(kSectionSeparator);
  sink.lines[25] = std::string(kSectionSeparator);
  EXPECT_EQ(NextSummaryLine(sink, 0, 10), 24u);  // the separator at 8 is on the page
  EXPECT_EQ(NextSummaryLine(sink, 20, 10), 39u);  // none below: the last line
}

}  // namespace
}  // namespace tidemark::engine
