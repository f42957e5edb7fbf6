#include "support/purge_fixture_win.h"

namespace tidemark::test {

PurgeFixture::PurgeFixture(PurgePlatformChoice choice)
    : now(FileTimeNow()),
      files(choice.files ? *choice.files : platform::RealFileSystem()),
      shell(choice.shell ? *choice.shell : platform::RealShell()),
      clipboard(choice.clipboard ? *choice.clipboard : platform::RealClipboard()) {
  state.flags.detailReport = true;
}

engine::PurgeResources PurgeFixture::Resources() {
  return {{files, platform::RealRegistry(), shell, platform::RealWindowList(), clipboard, platform::ShellPathMatcher()},
          {shellFolders, ie, firefox, tempFolders},
          settings,
          protect,
          shred,
          now};
}

engine::PurgeEnvironment& PurgeFixture::Environment() {
  environment_.reset();
  environment_ = std::make_unique<engine::PurgeEnvironment>(r.report, state, Resources());
  return *environment_;
}

}  // namespace tidemark::test
