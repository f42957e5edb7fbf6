// A thin layer over user32/comctl32: windows whose messages reach a C++
// object, child controls whose commands, notifications and drawing reach
// callbacks, coloured panels, hints, timers, the message pump and the GDI
// objects a scope holds. Exceptions never cross a window procedure: they go
// to the program-error handler. The typed controls are in controls_win.h.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace tidemark::gui {

// Receives every exception that escapes a window procedure, and a fault
// (access violation and the like) that nothing handled. The address is
// where it occurred when that is known, else 0: for a fault the faulting
// instruction; a C++ exception keeps no record of where it was thrown. A
// fault leaves the program's state untrustworthy: once the handler returns
// the process ends with faultExitCode.
using ErrorHandler = std::function<void(const std::string& message, uintptr_t address)>;
void SetProgramErrorHandler(ErrorHandler handler, UINT faultExitCode);
// Calls the handler for the exception being handled (inside a catch block).
void ReportCurrentException();

// Loads common controls (list view, tabs, status bar, up-down) once.
void InitCommonControls();

// A solid brush, deleted when it goes.
class SolidBrush {
 public:
  explicit SolidBrush(COLORREF colour) : colour_(colour), brush_(CreateSolidBrush(colour)) {}
  SolidBrush(SolidBrush&& other) noexcept : colour_(other.colour_), brush_(std::exchange(other.brush_, nullptr)) {}
  SolidBrush& operator=(SolidBrush&&) = delete;
  ~SolidBrush() {
    if (brush_) DeleteObject(brush_);
  }
  operator HBRUSH() const { return brush_; }
  COLORREF colour() const { return colour_; }

 private:
  COLORREF colour_;
  HBRUSH brush_;
};

// A GDI object (a pen, a bitmap) made for one scope, deleted when it goes.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  operator Handle() const { return handle_; }

 private:
  Handle handle_;
};

// A GDI object selected into a device context for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The device context of a window (of the screen for none) for one scope.
class WindowDC {
 public:
  explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { ReleaseDC(window_, dc_); }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context like another one, for one scope.
class MemoryDC {
 public:
  explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() { DeleteDC(dc_); }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// Pixels per inch of the screen; sizes scale from 96.
int ScreenPixelsPerInch();
int Scale(int pixels96, int ppi);
// Bits per pixel of the screen.
int ScreenColourDepth();

// The system's message font at the screen's resolution (owned, never freed).
HFONT MessageFont();

// Lets pending messages run; false when WM_QUIT was seen (it is reposted).
bool PumpPendingMessages();

std::string WindowText(HWND window);

// The message loop of a modal window: the owner stays disabled until closed
// is set. preTranslate sees each message first and answers true when it
// consumed it.
void RunModal(HWND window, HWND owner, const bool& closed, const std::function<bool(MSG&)>& preTranslate = {});
// Gives the owner back its input before the modal window goes, so it is
// the owner that becomes active.
void EndModal(HWND window, HWND owner);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // A child control of a system class (BUTTON, STATIC, ...) with its own id,
  // or the id given (a dialog's IDOK, IDCANCEL).
  HWND AddControl(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                  DWORD exStyle = 0, int id = 0);
  HWND AddButton(const char* text, int x, int y, int width, int height, std::function<void()> onClick,
                 DWORD style = BS_PUSHBUTTON);
  void OnCommand(HWND control, std::function<void()> handler);
  void OnCommandId(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
  void OnNotify(HWND control, std::function<LRESULT(NMHDR*)> handler);
  // Draws an owner-drawn child.
  void OnDrawItem(HWND control, std::function<void(const DRAWITEMSTRUCT&)> handler);
  // A timer of this window; oneShot timers stop themselves before running.
  void StartTimer(UINT_PTR id, UINT milliseconds, std::function<void()> handler, bool oneShot = false);
  void StopTimer(UINT_PTR id);
  // A background colour for a child (static, check box, radio button); CLR_NONE to drop it.
  void SetControlColour(HWND control, COLORREF colour);

 protected:
  // Registers the class on first use and creates the window.
  HWND CreateWindowOf(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                      int width, int height, HWND parent, HMENU menu = nullptr, HBRUSH background = nullptr);
  // Override to handle messages; call Window::OnMessage for the default.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  int nextId_ = 100;
  std::map<int, std::function<void()>> commands_;
  std::map<HWND, std::function<LRESULT(NMHDR*)>> notifies_;
  std::map<HWND, std::function<void(const DRAWITEMSTRUCT&)>> drawers_;
  struct Timer {
    std::function<void()> handler;
    bool oneShot;
  };
  std::map<UINT_PTR, Timer> timers_;
  std::map<HWND, SolidBrush> colours_;
};

// A flat panel filled with one colour, optionally showing a line of text.
class ColourPanel : public Window {
 public:
  void Create(HWND parent, int x, int y, int width, int height, COLORREF fill);
  void SetFill(COLORREF fill);
  COLORREF fill() const { return fill_; }
  void SetText(const std::string& text);
  const std::string& text() const { return text_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  COLORREF fill_ = RGB(192, 192, 192);
  std::string text_;
};

// A window's hints, shown while the mouse is over their control: in one part
// of a status bar, and as tooltips where the window shows them ("|" before a
// hint marks it as long only: the status bar's, no tooltip).
class StatusHints {
 public:
  void Attach(HWND statusBar, int part) {
    statusBar_ = statusBar;
    part_ = part;
  }
  // Hints set from now on also show as tooltips over the window's controls,
  // wrapped at maxWidth pixels (0: one line).
  void ShowToolTips(HWND window, int maxWidth = 0);
  void Set(HWND control, const std::string& hint);
  const std::string& Of(HWND control) const;
  // Call with every message the window's loop takes.
  void Track(const MSG& message);

 private:
  HWND statusBar_ = nullptr;
  int part_ = 0;
  HWND shownFor_ = nullptr;
  HWND window_ = nullptr, toolTips_ = nullptr;
  std::map<HWND, std::string> hints_;
};

}  // namespace tidemark::gui
