// Opens the help file through the system's HTML Help viewer: HtmlHelpA of
// hhctrl.ocx, loaded on first use (it is missing on some stripped systems).
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tidemark::help {

class HelpViewer {
 public:
  // helpFile: the full path of Tidemark.chm; library: the viewer's DLL.
  explicit HelpViewer(std::string helpFile, std::string library = "hhctrl.ocx");
  // Closes the viewer's windows and unloads it.
  ~HelpViewer();
  HelpViewer(const HelpViewer&) = delete;
  HelpViewer& operator=(const HelpViewer&) = delete;

  // Shows the topic in the viewer's window; nothing, or the text that tells
  // the user why no help could be shown.
  std::optional<std::string> Show(HWND owner, std::string_view topic);
  // The viewer's window, once a topic was shown.
  HWND window() const { return window_; }
  const std::string& helpFile() const { return helpFile_; }

 private:
  using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

  std::string helpFile_;
  std::string library_;
  HMODULE module_ = nullptr;
  HtmlHelpFn htmlHelp_ = nullptr;
  HWND window_ = nullptr;
};

// Shows the topic, or a message box with the reason it cannot be shown.
void ShowHelpTopic(HelpViewer& viewer, HWND owner, std::string_view topic);

}  // namespace tidemark::help
