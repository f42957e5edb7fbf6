#include "engine/report.h"

#include <gtest/gtest.h>

#include "engine/labels.h"
#include "support/memory_report.h"

namespace tidemark::engine {
namespace {

TEST(Report, ErrorLinesAreFoundByMarkersAndLabelsAndTheLevelOnlyRises) {
  auto item = [](std::string_view label) { return std::string(label) + "C:\\a.txt"; };
  const std::pair<std::string, bool> cases[] = {
      {item(kPlugLocked), true}, {item(kLocked), true}, {item(kAccessDenied), true}, {"-Caution-", true},
      {"-Error-", true}, {"*** Error occurred in above function ***", true},
      {"NOTE - A \"Locked\" file has been encountered.", true}, {item(kPlugAccessDenied), false},
      {" -Caution-", false}, {item(kDeleted), false}, {item(kPlugFileNotPresent), false}, {"", false},
      {"NOTE - The TroubleShooting section of the Tidemark Help file ", false}};
  for (const auto& [line, error] : cases) EXPECT_EQ(IsErrorLine(line), error) << line;
  test::MemorySink sink;
  for (int i = 0; i < 40; ++i) sink.lines.push_back("item " + std::to_string(i));
  sink.lines[5] = " -Error- five";
  sink.lines[9] = std::string(kLocked) + "nine";
  std::vector<size_t> walked = {NextErrorLine(sink, kNoLine)};
  for (int i = 0; i < 3; ++i) walked.push_back(NextErrorLine(sink, walked.back()));
  EXPECT_EQ(walked, (std::vector<size_t>{5, 9, 39, 5}));
  EXPECT_EQ(NextErrorLine(test::MemorySink{}, kNoLine), kNoLine);
  sink.lines[8] = sink.lines[25] = std::string(kSectionSeparator);
  EXPECT_EQ(NextSummaryLine(sink, 0, 10), 24u);   // the separator at 8 is on the page
  EXPECT_EQ(NextSummaryLine(sink, 20, 10), 39u);  // none below: the last line
  // No shred is named for an unknown mode, a Preview, or without secure erase; the app's tests show the named ones.
  EXPECT_EQ(ShredSuffix(false, true, '7', 3) + ShredSuffix(true, true, '2', 3) + ShredSuffix(false, false, '2', 3), "");
  test::MemoryReport r;
  const std::tuple<uint32_t, std::string_view, int> results[] = {
      {0, kDeleted, 0},      {32, kLocked, 0},       {1224, kLocked, 0},     {145, kDirNotEmpty, 1},
      {87, " -Error-87          ", 3}, {3, kPathNotFound, 7}, {145, kDirNotEmpty, 7}, {2, kFileNotFound, 7}};
  for (const auto& [code, label, level] : results) {
    EXPECT_EQ(FileResultLabel(code, r.report), label) << code;
    EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.report.ErrorSeen()), std::pair(level, level > 0)) << code;
  }
}

}  // namespace
}  // namespace tidemark::engine
