// The results report: lines in a list, the progress label under the buttons,
// the error level of a purge and the message pumping that keeps the window
// alive. Windows-free; the main window supplies the sink, label and pump.
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

class ProgressLabel {
 public:
  virtual ~ProgressLabel() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetColour(uint32_t bgr) = 0;
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
  // idleText: the progress label's text between purges.
  Report(ReportSink& sink, ProgressLabel& label, MessagePump& pump, std::string idleText);

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
  ProgressLabel& label() { return label_; }
  MessagePump& pump() { return pump_; }

 private:
  void ShowProgress();

  ReportSink& sink_;
  ProgressLabel& label_;
  MessagePump& pump_;
  std::string idleText_;
  int errorLevel_ = 0;
  bool errorSeen_ = false;
  int totalProcessed_ = 0;
  int pumpCounter_ = 1;
  std::string sectionName_;
  std::string shredSuffix_;
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
