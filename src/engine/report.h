// The results report: lines in a list, the progress line under the buttons
// and the events of a purge run, the error level of a purge and the message
// pumping that keeps the window alive. Windows-free; the main window supplies
// the sink, progress and pump.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tidemark::engine {

constexpr uint32_t kColourSilver = 0xC0C0C0;  // blue-green-red
constexpr uint32_t kColourLime = 0x00FF00;
constexpr uint32_t kColourErrorLine = 0xFF0000;  // blue

// Where report lines go: the results list, or memory in tests.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void Append(const std::string& line) = 0;
  virtual void InsertFirst(const std::string& line) = 0;
  virtual void Clear() = 0;
  virtual size_t LineCount() const = 0;
  virtual std::string LineAt(size_t index) const = 0;
  // A batch update: no repainting until it ends.
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
  // Report start: apply the font, size the column, forget the navigation position.
  virtual void PrepareForReport() {}
};

// What a window showing a purge hears of it: the progress line, and what
// happened in a run. Never how it looks: the window turns the events into its
// gauge, cursor, Cancel button, column widths and hints. Every event does
// nothing unless overridden, so a plain PurgeProgress shows nothing.
class PurgeProgress {
 public:
  virtual ~PurgeProgress() = default;
  // The progress line under the buttons.
  virtual void StatusText(const std::string& /*text*/) {}
  virtual void StatusColour(uint32_t /*bgr*/) {}
  // A run is starting: its report is about to be cleared.
  virtual void PurgeStarting() {}
  // The run has begun, with `selected` functions to run.
  virtual void PurgeBegun(int /*selected*/) {}
  // One more function has run: `done` of the selected ones so far.
  virtual void FunctionDone(int /*done*/) {}
  // The closing lines are written. progressLineIdle: the progress line is
  // back to its idle text (no errors to point at, no totals).
  virtual void ReportClosed(bool /*progressLineIdle*/) {}
  // The run is over: another may start.
  virtual void PurgeFinished() {}
};

// Lets pending window messages run (where Cancel is noticed), and waits.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void Pump() = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
};

class Report {
 public:
  // idleText: the progress line's text between purges.
  Report(ReportSink& sink, PurgeProgress& progress, MessagePump& pump, std::string idleText);

  // ReportLine: appends one line.
  void Line(std::string_view text);
  // A line above all others (the browser caution).
  void InsertFirst(std::string_view text);
  void Clear();

  // Report start: clear, heading lines of a Preview or a Purge.
  void Start(bool preview);
  void SetIdleProgress();

  // Raises the error level to at least level and marks that an error was
  // seen: the two always go together.
  void RaiseError(int level);
  void ResetErrors(int level, bool seen);
  int ErrorLevel() const { return errorLevel_; }
  bool ErrorSeen() const { return errorSeen_; }

  // Resets the progress counters and sets the shred suffix of this purge.
  void ResetProgress(std::string shredSuffix);
  void BeginSection(std::string_view title);
  void UpdateProgress(int period);
  int TotalProcessed() const { return totalProcessed_; }
  const std::string& SectionName() const { return sectionName_; }

  ReportSink& sink() { return sink_; }
  PurgeProgress& progress() { return progress_; }
  MessagePump& pump() { return pump_; }

 private:
  void ShowProgress();

  ReportSink& sink_;
  PurgeProgress& progress_;
  MessagePump& pump_;
  std::string idleText_;
  int errorLevel_ = 0;
  bool errorSeen_ = false;
  int totalProcessed_ = 0;
  int pumpCounter_ = 1;
  std::string sectionName_;
  std::string shredSuffix_;
};

// A report nobody sees, for work in a purge environment outside a purge run
// (the cookie manager's deletions): its lines, progress and pumping go nowhere.
class SilentReport : ReportSink, MessagePump {
 public:
  SilentReport() = default;
  SilentReport(const SilentReport&) = delete;
  SilentReport& operator=(const SilentReport&) = delete;

 private:
  void Append(const std::string&) override {}
  void InsertFirst(const std::string&) override {}
  void Clear() override {}
  size_t LineCount() const override { return 0; }
  std::string LineAt(size_t) const override { return {}; }
  void Pump() override {}
  void Sleep(unsigned) override {}
  PurgeProgress progress_;

 public:
  Report report{*this, progress_, *this, ""};
};

// The suffix of section titles when files are shredded: shredKind '0' quick,
// '1' thorough (repeats passes), '2' both.
std::string ShredSuffix(bool preview, bool secureErase, char shredKind, int repeats);

// 17-character label for the outcome of a file deletion (Windows error code),
// raising the report's level as the outcome requires.
std::string FileResultLabel(uint32_t code, Report& report);

// Navigation over the lines: the next error line after current (npos = none
// yet), wrapping from the last line to the top; the last line when none
// follows; npos for an empty list.
size_t NextErrorLine(const ReportSink& lines, size_t current);
// The line above the next section separator below the visible page.
size_t NextSummaryLine(const ReportSink& lines, size_t topLine, size_t visibleRows);

constexpr size_t kNoLine = static_cast<size_t>(-1);

}  // namespace tidemark::engine
