#include "windows/windows_purges.h"

namespace tidemark::windows {
namespace {

// Answers of SHEmptyRecycleBinA that mean the bin is empty now: done, or
// nothing was there to empty.
bool BinIsEmpty(int32_t result) {
  const int32_t kFalse = 1, kUnexpected = static_cast<int32_t>(0x8000FFFF),
                kNoMoreFiles = static_cast<int32_t>(0x80070012);
  return result == 0 || result == kFalse || result == kUnexpected || result == kNoMoreFiles;
}

void ReportException(engine::PurgeEnvironment& env) {
  env.Line("*** Error in above Function.");
  env.RaiseError(9);
}

}  // namespace

void RecycleBinPurge(engine::PurgeEnvironment& env) {
  try {
    env.deletion.ItemsProcessed = 0;
    if (env.Preview()) {
      env.Line("  \"Purge Recycle Bin\" Function bypassed for Preview.");
      return;
    }
    std::optional<int32_t> result = env.platform.shell.EmptyRecycleBin();
    if (result) env.UpdateProgress(10);
    if (!result || !BinIsEmpty(*result)) {
      env.Line(" -Error- \"Purge Recycle Bin\" Function Failed to Complete.");
      env.RaiseError(1);
      return;
    }
    env.WriteCompletion("  Purge \"Recycle Bin\"");
  } catch (...) {
    ReportException(env);
  }
}

void ClipboardPurge(engine::PurgeEnvironment& env) {
  try {
    if (env.Preview()) {
      env.Line("  \"Clear Windows ClipBoard\" Function bypassed for Preview.");
    } else if (env.platform.clipboard.Clear()) {
      env.WriteCompletion("  \"Clear Windows ClipBoard\"");
    } else {
      ReportException(env);  // the clipboard could not be opened or emptied
    }
    env.UpdateProgress(10);
  } catch (...) {
    ReportException(env);
  }
}

}  // namespace tidemark::windows
