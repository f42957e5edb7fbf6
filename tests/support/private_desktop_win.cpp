#include "support/private_desktop_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace tidemark::test {

void OnPrivateDesktop(const std::function<void()>& body) {
  static int desktops = 0;
  std::string name = "TidemarkTest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++desktops);
  std::thread worker([&] {
    HDESK desktop = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(desktop, nullptr);
    ASSERT_TRUE(SetThreadDesktop(desktop));
    body();
    CloseDesktop(desktop);
  });
  worker.join();
}

}  // namespace tidemark::test
