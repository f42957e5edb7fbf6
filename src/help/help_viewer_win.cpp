#include "help/help_viewer_win.h"

#include <htmlhelp.h>

#include "help/help_topics.h"
#include "platform/files.h"
#include "platform/product.h"

namespace tidemark::help {

HelpViewer::HelpViewer(std::string helpFile, std::string library)
    : helpFile_(std::move(helpFile)), library_(std::move(library)) {}

HelpViewer::~HelpViewer() {
  if (!module_) return;
  if (htmlHelp_) htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
  FreeLibrary(module_);
}

std::optional<std::string> HelpViewer::Show(HWND owner, std::string_view topic) {
  if (!platform::RealFileSystem().FileExists(helpFile_))
    return "The help file " + helpFile_ + " could not be found.\r\n\r\nIt must be in the " + kProductName +
           " execution folder: reinstall " + kProductName + " to restore it.";
  if (!module_) {
    module_ = LoadLibraryA(library_.c_str());
    if (module_) htmlHelp_ = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(module_, "HtmlHelpA")));
  }
  if (!htmlHelp_)
    return "The help file cannot be shown: the Windows HTML Help viewer (" + library_ +
           ") is not installed on this computer.\r\n\r\nInstall Microsoft HTML Help, or open " + helpFile_ +
           " with another help viewer.";
  std::string address = TopicAddress(helpFile_, topic);
  HWND shown = htmlHelp_(owner, address.c_str(), HH_DISPLAY_TOPIC, 0);
  if (!shown) return "The HTML Help viewer could not open " + address + ".";
  window_ = shown;
  return std::nullopt;
}

void ShowHelpTopic(HelpViewer& viewer, HWND owner, std::string_view topic) {
  if (auto problem = viewer.Show(owner, topic)) {
    std::string caption = std::string(kProductName) + "  -  Error Message";
    MessageBoxA(owner, problem->c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  }
}

}  // namespace tidemark::help
