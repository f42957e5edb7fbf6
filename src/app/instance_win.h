// One running instance: a named mutex, and bringing the first instance's
// window forward from a second start.
#pragma once
#include <windows.h>

#include <string>

namespace tidemark::app {

class SingleInstance {
 public:
  // Creates the mutex "PREVINST:" + title, owned.
  explicit SingleInstance(const std::string& title);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  bool first() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = false;
};

// Finds another process's top-level window with the class and title of
// ownWindow and brings it (or its active pop-up) forward. False when none.
bool ActivatePreviousInstance(HWND ownWindow);

}  // namespace tidemark::app
