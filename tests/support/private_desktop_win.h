// Runs a test body on a thread attached to a desktop of its own, so it sees only the windows it opens there (and Wine's
// helper windows on that desktop), never those of programs or tests running at the same time.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace tidemark::test {

inline void OnPrivateDesktop(const std::function<void()>& body) {
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
