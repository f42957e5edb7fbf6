#include "engine/report.h"

#include <algorithm>

#include "engine/labels.h"
#include "platform/text.h"

namespace tidemark::engine {

Report::Report(ReportSink& sink, PurgeProgress& progress, MessagePump& pump, std::string idleText)
    : sink_(sink), progress_(progress), pump_(pump), idleText_(std::move(idleText)) {}

void Report::Line(std::string_view text) { sink_.Append(std::string(text)); }

void Report::InsertFirst(std::string_view text) { sink_.InsertFirst(std::string(text)); }

void Report::Clear() {
  sink_.BeginBatch();
  sink_.PrepareForReport();
  sink_.Clear();
  sink_.EndBatch();
}

void Report::Start(bool preview) {
  Clear();
  SetIdleProgress();
  pump_.Pump();
  if (preview) {
    Line("This List is from a \"Preview Purge\".");
    Line("  No Deletes are done for a \"Preview Purge\".");
    Line("  The following list is for illustration purposes only.");
  } else {
    Line("Results of \"Purge\" function...");
  }
}

void Report::SetIdleProgress() {
  progress_.StatusText(idleText_);
  progress_.StatusColour(kColourSilver);
}

void Report::RaiseError(int level) {
  errorLevel_ = std::max(errorLevel_, level);
  errorSeen_ = true;
}

void Report::ResetErrors(int level, bool seen) {
  errorLevel_ = level;
  errorSeen_ = seen;
}

void Report::ResetProgress(std::string shredSuffix) {
  totalProcessed_ = 0;
  pumpCounter_ = 1;
  sectionName_.clear();
  shredSuffix_ = std::move(shredSuffix);
}

void Report::BeginSection(std::string_view title) {
  Line(Trim(title).substr(0, 255));
  sectionName_ = std::string(title) + shredSuffix_;
  ShowProgress();
  pump_.Pump();
  pump_.Sleep(100);
}

void Report::UpdateProgress(int period) {
  ++totalProcessed_;
  ShowProgress();
  if (period <= pumpCounter_) {
    pumpCounter_ = 1;
    pump_.Pump();
  } else {
    ++pumpCounter_;
  }
}

void Report::ShowProgress() {
  progress_.StatusText(sectionName_ + "  -  Total processed = " + std::to_string(totalProcessed_));
}

std::string ShredSuffix(bool preview, bool secureErase, char shredKind, int repeats) {
  if (preview || !secureErase) return {};
  switch (shredKind) {
    case '0': return " with Quick Shred";
    case '1': return " with " + std::to_string(repeats) + " Shred Operations";
    case '2': return " with " + std::to_string(repeats + 1) + " Shred Operations";
    default: return {};
  }
}

std::string FileResultLabel(uint32_t code, Report& report) {
  switch (code) {
    case 0: return std::string(kDeleted);
    case 2: report.RaiseError(7); return std::string(kFileNotFound);
    case 3: report.RaiseError(7); return std::string(kPathNotFound);
    case 145: report.RaiseError(1); return std::string(kDirNotEmpty);
    case 5: case 32: case 33: case 1224: return std::string(kLocked);
    default: report.RaiseError(3); return " -Error-" + std::to_string(code) + std::string(10, ' ');
  }
}

size_t NextErrorLine(const ReportSink& lines, size_t current) {
  size_t count = lines.LineCount();
  if (count == 0) return kNoLine;
  size_t start = (current == kNoLine || current + 1 >= count) ? 0 : current + 1;
  for (size_t i = start; i < count; ++i)
    if (IsErrorLine(lines.LineAt(i))) return i;
  return count - 1;
}

size_t NextSummaryLine(const ReportSink& lines, size_t topLine, size_t visibleRows) {
  size_t count = lines.LineCount();
  if (count == 0) return kNoLine;
  for (size_t i = std::max<size_t>(topLine + visibleRows + 1, 1); i < count; ++i)
    if (StartsWith(lines.LineAt(i), " - - - -")) return i - 1;
  return count - 1;
}

}  // namespace tidemark::engine
