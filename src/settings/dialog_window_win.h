// The base of the program's dialog windows: an owned top-level window with
// its controls and a designed size, its place kept under a [Positions] key
// of the settings file where it keeps one, F1 and the controls' hints, and
// Close. ShowModal runs it modally: the owner stays disabled until it
// closes. The quick-start window alone is modeless (ShowModeless): created
// once, hidden when closed. A window fills in the hooks. (In the gui
// namespace; it sits in settings/ for the saved places it reads and writes.)
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/gui_win.h"
#include "platform/ini_file.h"
#include "settings/window_settings.h"

namespace tidemark::gui {

// Where a window keeps its place: restored as it opens, stored as it closes.
struct KeptPlace {
  std::string settingsFile;   // empty: no place is kept
  const char* key = nullptr;  // [Positions] key
  settings::RestoreContext restore;
  bool readOnlyMedia = false;  // the place is read, never written
};

class DialogWindow : public Window {
 public:
  // Creates the window, shows it and runs it until it closes; on return it is gone.
  void ShowModal(HWND owner);
  // Creates the window on the first call, then shows it.
  void ShowModeless(HWND owner);
  // ShowModal's first step, for tests and pictures: the window with its
  // controls in its place, hidden.
  void Create(HWND owner);
  // Ends the window: OnClosing, its place stored, the owner given back its
  // input and the window destroyed (a modeless one is hidden).
  void Close();

  bool closed() const { return closed_; }
  const std::string& HintOf(HWND control) const { return hints_.Of(control); }

 protected:
  struct Design {
    const char* className;
    std::string caption;
    settings::DesignedSize size;  // the window's, at 96 pixels per inch
    int pixelsPerInch = 96;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
  };
  explicit DialogWindow(Design design, KeptPlace kept = {}) : design_(std::move(design)), kept_(std::move(kept)) {}

  int S(int pixels96) const { return Scale(pixels96, design_.pixelsPerInch); }
  HWND owner() const { return owner_; }
  StatusHints& hints() { return hints_; }
  // What F1 opens while the window runs modally.
  void SetHelp(std::function<void()> help) { help_ = std::move(help); }
  // Sizes the window around a client area of the given size, centred on the screen.
  void CentreOnScreen(int clientWidth, int clientHeight);

  virtual void CreateControls() = 0;
  // Places the controls in the client area (also after every size change).
  virtual void Layout() {}
  // Moves the window to its place: by default the kept one, else its
  // designed size centred over the owner. True when it is to be shown maximised.
  virtual bool Place(const std::optional<settings::WindowPlacement>& kept);
  // The window has been shown; its modal loop follows.
  virtual void OnShown() {}
  // Escape, the caption's close button and the like: by default Close.
  virtual void OnCloseRequest() { Close(); }
  // The window is closing and still there.
  virtual void OnClosing() {}
  // The window's own keys in its modal loop; true when the message was taken.
  virtual bool PreTranslate(MSG&) { return false; }
  // Reads the kept place as the window opens, stores it as it closes; a
  // window that keeps more with its place replaces both.
  virtual std::optional<settings::WindowPlacement> KeptPlacement();
  virtual void StorePlace();
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Translate(MSG& message);

  Design design_;
  KeptPlace kept_;
  HWND owner_ = nullptr;
  StatusHints hints_;
  std::function<void()> help_;
  bool controlsMade_ = false, maximised_ = false, modeless_ = false, closed_ = false;
};

}  // namespace tidemark::gui
