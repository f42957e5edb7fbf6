// An invariant of a fuzz target: a broken one aborts, which libFuzzer keeps
// as a finding.
#pragma once
#include <cstdio>
#include <cstdlib>

inline void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}
