// Runs a test body on a thread attached to a desktop of its own, so it sees
// only the windows it opens there (and Wine's helper windows on that
// desktop), never those of programs or tests running at the same time.
#pragma once
#include <functional>

namespace tidemark::test {

void OnPrivateDesktop(const std::function<void()>& body);

}  // namespace tidemark::test
