// A Firefox profile in a purge fixture's scratch folder (roaming profile, local cache profile, profiles.ini), located
// as the purge driver locates it.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "locations/firefox_locations.h"
#include "support/purge_fixture_win.h"
#include "support/samples.h"

namespace tidemark::test {

class FirefoxProfileTest : public ::testing::Test {
 protected:
  FirefoxProfileTest() {
    f.shellFolders.AppData = f.scratch / "Roaming";
    f.shellFolders.LocalAppData = f.scratch / "Local";
    f.scratch.Write("Roaming\\Mozilla\\Firefox\\profiles.ini",
                    "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/t3st.default\r\nDefault=1\r\n");
    f.files.CreateFolders(profile);
    f.files.CreateFolders(localProfile);
  }
  // Locates the profile's files as they are now.
  void Locate() {
    f.firefox = {};
    locations::EnsureFirefoxLocations(f.firefox, f.ie, f.files, f.shellFolders);
  }
  // Runs one purge body on a fresh report; the lines it wrote.
  const std::vector<std::string>& Run(void (*body)(engine::PurgeEnvironment&)) {
    f.r.sink.lines.clear();
    body(f.Environment());
    return f.Lines();
  }

  PurgeFixture f;
  const std::string profile = f.scratch / "Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default";
  const std::string localProfile = f.scratch / "Local\\Mozilla\\Firefox\\Profiles\\t3st.default";
};

}  // namespace tidemark::test
