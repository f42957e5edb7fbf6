#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/browser_activity.h"
#include "app/purge_bodies.h"
#include "engine/driver.h"
#include "engine/labels.h"
#include "firefox/firefox_databases.h"
#include "firefox/profile_fixture_win.h"
#include "support/private_desktop_win.h"

namespace tidemark::app {
namespace {

using enum engine::PurgeFunctionId;

class FixtureHost : public engine::PurgeHost {
 public:
  explicit FixtureHost(test::PurgeFixture& fixture) : fixture_(fixture) {}
  std::optional<engine::OptionSet> ReadVisibleOptions() override { return options; }
  engine::PurgeResources Resources() override { return fixture_.Resources(); }
  engine::OptionSet options;

 private:
  test::PurgeFixture& fixture_;
};

class FirefoxRunning : public test::FirefoxProfileTest {};

// The registered Firefox bodies, through the driver, with a real Firefox
// window open: every one is skipped with its error line and nothing changes.
TEST_F(FirefoxRunning, SkipsEveryFirefoxFunction) {
  test::BuildDatabase(profile + "\\cookies.sqlite", test::kCurrentCookiesSchema);
  test::BuildDatabase(profile + "\\cookies.sqlite",
                      {"INSERT INTO moz_cookies (name, value, host) VALUES ('id', 'v', 'tracker.test')"});
  test::BuildDatabase(profile + "\\places.sqlite", test::kCurrentPlacesSchema);
  test::BuildDatabase(profile + "\\formhistory.sqlite", test::kCurrentFormHistorySchema);
  std::string cached = f.scratch.Write("Local\\Mozilla\\Firefox\\Profiles\\t3st.default\\Cache\\entry", "cached");
  Locate();

  FixtureHost host(f);
  engine::PurgeDriver driver(f.r.report, host, f.state, {});
  const PurgeBodies& bodies = RegisteredPurgeBodies();
  for (auto id : {FirefoxCache, FirefoxCookies, FirefoxTypedUrls, FirefoxHistory, FirefoxForms}) {
    driver.SetBody(id, bodies[engine::Index(id)]);
    host.options[id] = true;
  }
  auto tick = [this] { f.state.firefoxRunning = TisFireFoxActive(platform::RealWindowList()); };

  // On a desktop of its own, where no other test's windows are seen.
  test::OnPrivateDesktop([&] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MozillaWindowClass";
    RegisterClassA(&windowClass);
    HWND firefox =
        CreateWindowExA(0, "MozillaWindowClass", "Start Page - Mozilla Firefox", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(firefox, nullptr);
    driver.Purge(tick);
    DestroyWindow(firefox);

    const auto& lines = f.Lines();
    for (const char* title :
         {"Processing \"FireFox Cache\"", "Processing \"FireFox Cookies\"", "Processing \"FireFox Typed URLs\"",
          "Processing \"FireFox History File\"", "Processing \"FireFox Forms History\""}) {
      auto at = std::find(lines.begin(), lines.end(), title);
      ASSERT_NE(at, lines.end()) << title;
      EXPECT_EQ(*(at + 1), " -Error- not Processed as FireFox browser is active.");
      EXPECT_EQ(*(at + 2), engine::kSectionSeparator);
    }
    EXPECT_EQ(f.r.report.ErrorLevel(), 7);
    EXPECT_TRUE(f.files.FileExists(cached));
    EXPECT_EQ(test::QueryCount(profile + "\\cookies.sqlite", "SELECT * FROM moz_cookies"), 1);

    // Once Firefox is closed the same purge runs.
    driver.Purge(tick);
    EXPECT_FALSE(f.files.FileExists(cached));
    EXPECT_EQ(test::QueryCount(profile + "\\cookies.sqlite", "SELECT * FROM moz_cookies"), 0);
  });
}

}  // namespace
}  // namespace tidemark::app
