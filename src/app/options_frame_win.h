// TFFoxOptionsFrame1: one option set's check boxes, radio groups and
// buttons, placed once on each of the four option tabs.
#pragma once
#include <array>
#include <functional>

#include "engine/driver.h"
#include "platform/gui_win.h"

namespace tidemark::app {

class TFFoxOptionsFrame1 {
 public:
  struct Actions {
    std::function<void()> reset;  // OptReset
    std::function<void()> save;   // SaveOpt
  };
  // Creates the controls on the form at (x, y); hints go to the status bar.
  void Create(gui::Window& form, int x, int y, int ppi, Actions actions,
              std::function<void(HWND, const char*)> addHint);
  void Show(bool shown);

  engine::OptionSet Options() const;
  void SetOptions(const engine::OptionSet& options);
  void SetAll(bool checked);  // OptOn / OptOff
  HWND CheckBox(engine::PurgeFunctionId id) const { return checks_[engine::Index(id)]; }
  bool Checked(engine::PurgeFunctionId id) const;
  // A function that cannot run (no body yet, or no system support) is disabled.
  void EnableFunction(engine::PurgeFunctionId id, bool enabled);
  bool FunctionEnabled(engine::PurgeFunctionId id) const;
  void Colour(engine::PurgeFunctionId id, COLORREF colour);

  HWND resetButton = nullptr, saveButton = nullptr, onButton = nullptr, offButton = nullptr;

 private:
  struct RadioGroup {
    HWND box = nullptr;
    std::array<HWND, 2> buttons{};
    int Index() const;
    void SetIndex(int index);
  };
  RadioGroup MakeGroup(gui::Window& form, const char* caption, const char* first, const char* second, int x, int y,
                       int ppi);

  gui::Window* form_ = nullptr;
  std::array<HWND, engine::kPurgeFunctionCount> checks_{};
  HWND typedUrlsPanel_ = nullptr;
  RadioGroup reports_, secureErase_, compact_;
  std::vector<HWND> all_;
};

}  // namespace tidemark::app
