#include "app/purge_bodies.h"

#include "windows/windows_purges.h"

namespace tidemark::app {
namespace {

using enum engine::PurgeFunctionId;

struct Registration {
  engine::PurgeFunctionId function;
  void (*body)(engine::PurgeEnvironment&);
};

constexpr Registration kRegistrations[] = {
    {TempFolders, windows::TempFoldersPurge},
    {RecentLinks, windows::RecentLinksBody},
    {RecycleBin, windows::RecycleBinPurge},
    {Clipboard, windows::ClipboardPurge},
};

}  // namespace

const PurgeBodies& RegisteredPurgeBodies() {
  static const PurgeBodies bodies = [] {
    PurgeBodies table;
    for (const Registration& registration : kRegistrations) table[engine::Index(registration.function)] = registration.body;
    return table;
  }();
  return bodies;
}

}  // namespace tidemark::app
