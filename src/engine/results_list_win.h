// The results list: a virtual report-style list view of the report's lines,
// error lines drawn blue, with TAB and Page Down navigation.
#pragma once
#include <string>
#include <vector>

#include "engine/report.h"
#include "platform/controls_win.h"

namespace tidemark::engine {

class ResultsList : public ReportSink {
 public:
  ResultsList() = default;
  ~ResultsList() override;
  ResultsList(const ResultsList&) = delete;
  ResultsList& operator=(const ResultsList&) = delete;
  // Creates the list view as a child of parent; the parent routes its notifications here.
  void Create(gui::Window& parent, int x, int y, int width, int height);
  HWND hwnd() const { return list_.hwnd(); }

  void Append(const std::string& line) override;
  void InsertFirst(const std::string& line) override;
  void Clear() override;
  size_t LineCount() const override { return lines_.size(); }
  std::string LineAt(size_t index) const override { return lines_.at(index); }
  void BeginBatch() override;
  void EndBatch() override;
  void PrepareForReport() override;

  // Font of the list ([Fonts] "Main0"); applied when name is set and size is not 0.
  void SetFont(const std::string& name, int size, int style);
  // The same, kept until the next report starts.
  void SetFontForNextReport(const std::string& name, int size, int style);
  void SizeColumnForFill();
  void AutosizeColumn();
  // TAB: the next error line; Page Down: the next off-screen summary line.
  void GoToNextError();
  void GoToNextSummary();
  bool Overflows() const;
  size_t current() const { return current_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  void Refresh();
  void Select(size_t index);

  gui::ListView list_;
  std::vector<std::string> lines_;
  int batchDepth_ = 0;
  size_t current_ = kNoLine;
  HFONT font_ = nullptr;
  std::string fontName_ = "Courier New";
  int fontSize_ = 9;
  int fontStyle_ = 0;
};

}  // namespace tidemark::engine
