#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/driver.h"
#include "engine/labels.h"
#include "engine/purge_environment.h"
#include "support/purge_fixture_win.h"

namespace tidemark::engine {
namespace {

using enum PurgeFunctionId;
using Lines = std::vector<std::string>;
using Ids = std::vector<PurgeFunctionId>;

const std::string kSeparator(kSectionSeparator);
const std::string kErrorNote = "       contains additonal information for the Error indicators.";
const std::string kErrorLabel = " Errors in Purge function  -  Use the TAB key to locate the Error... ";

// The test is the driver's host; every function has a body that writes its caption and runs onBody.
class DriverTest : public ::testing::Test, public PurgeHost {
 protected:
  DriverTest() {
    for (const auto& function : PurgeFunctions())
      driver.SetBody(function.id, [this, id = function.id](PurgeEnvironment& env) {
        ran.push_back(id);
        env.Line("body " + std::string(PurgeFunctions()[Index(id)].caption));
        if (onBody) onBody(id, env);
      });
  }
  std::optional<OptionSet> ReadVisibleOptions() override { return options; }
  bool RecycleBinEnabled() override { return recycleBin; }
  PurgeResources Resources() override { return fixture.Resources(); }
  void NoteInvalidTab() override { invalidTabNoted = true; }
  void LoadTempProtectList() override { ++protectLoads; }
  void ReleaseTempProtectList() override { ++protectReleases; }
  void SetGauge(int width, bool shown) override { gauge.emplace_back(width, shown); }
  void ShowResults() override { ++resultsShown; }

  void Select(std::initializer_list<PurgeFunctionId> ids) {
    for (auto id : ids) (*options)[id] = true;
  }
  bool Contains(const std::string& line) const {
    return std::find(r.sink.lines.begin(), r.sink.lines.end(), line) != r.sink.lines.end();
  }

  std::optional<OptionSet> options = OptionSet{};
  bool recycleBin = true, invalidTabNoted = false;
  int protectLoads = 0, protectReleases = 0, resultsShown = 0;
  std::vector<std::pair<int, bool>> gauge;
  test::PurgeFixture fixture;
  test::MemoryReport& r = fixture.r;
  PurgeState& state = fixture.state;
  PurgeDriver driver{r.report, *this, state, {}};
  Ids ran;
  std::function<void(PurgeFunctionId, PurgeEnvironment&)> onBody;
};

TEST_F(DriverTest, RunsSelectedFunctionsInTheFixedOrderWithTheirFramesAndShredTitles) {
  Select({Plugins, TempFolders, FirefoxCache, Clipboard, RecycleBin});
  recycleBin = false;  // a disabled box does not run
  fixture.settings.shredMode = '1';
  fixture.settings.repeats = 7;
  options->secureErase = options->reports = 1;
  std::string section;
  onBody = [&](PurgeFunctionId id, PurgeEnvironment& env) {
    if (id == TempFolders) section = env.report.SectionName();
  };
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{FirefoxCache, TempFolders, Clipboard, Plugins}));
  EXPECT_EQ(r.sink.lines,
            (Lines{"Results of \"Purge\" function...", "", "Processing \"FireFox Cache\"", "body FireFox Cache",
                   kSeparator, "Processing \"Temp Folders\"", "body Temp Folders", kSeparator,
                   "Clearing Windows ClipBoard", "body ClipBoard", kSeparator, "Processing \"Plugins\"",
                   "body Run Plugins", kSeparator, "  Purge Functions Completed."}));
  EXPECT_EQ(section, "  Processing \"Temp Folders\" with 7 Shred Operations");
  EXPECT_FALSE(state.flags.detailReport);
  EXPECT_EQ(std::pair(r.label.text, r.label.colour), std::pair(std::string("idle"), kColourSilver));
  EXPECT_EQ(std::tuple(protectLoads, protectReleases, resultsShown, r.sink.batchDepth), std::tuple(1, 1, 1, 0));
  EXPECT_FALSE(state.purgeRunning);
  // The gauge grows by its step to full width, then hides.
  EXPECT_EQ(gauge, (std::vector<std::pair<int, bool>>{
                       {40, true}, {80, true}, {120, true}, {160, true}, {200, true}, {200, false}}));
  driver.Preview();
  EXPECT_EQ(section, "  Processing \"Temp Folders\"");
}

TEST_F(DriverTest, NothingSelectedOrNoTabToReadIsASevereError) {
  for (bool tab : {true, false}) {
    if (!tab) options.reset();
    driver.Purge(nullptr);
    EXPECT_TRUE(Contains(" -Error- No Purge Options were Selected."));
    EXPECT_EQ(invalidTabNoted, !tab);
    EXPECT_TRUE(r.report.ErrorLevel() == 9 && r.report.ErrorSeen());
    EXPECT_EQ(std::tuple(r.label.text, r.label.colour, r.sink.lines.back()),
              std::tuple(kErrorLabel, kColourLime, kErrorNote));
  }
}

TEST_F(DriverTest, CancelInTheMiddleSkipsTheRestSilently) {
  Select({FirefoxCache, FirefoxCookies, FirefoxTypedUrls, FirefoxHistory, FirefoxForms});
  onBody = [this](PurgeFunctionId id, PurgeEnvironment&) {
    if (id != FirefoxTypedUrls) return;
    driver.Cancel();
    // A click while cancelling must not start a second run.
    driver.Purge(nullptr);
    driver.Preview();
  };
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{FirefoxCache, FirefoxCookies, FirefoxTypedUrls}));
  EXPECT_FALSE(Contains("Processing \"FireFox History File\""));
  EXPECT_EQ(r.sink.lines.back(), "  Purge Functions Cancelled by Operator.");
  EXPECT_EQ(r.label.colour, kColourSilver);
  EXPECT_FALSE(state.purgeRunning);
  ran.clear();
  onBody = nullptr;
  driver.Purge(nullptr);
  EXPECT_EQ(ran.size(), 5u) << "the next purge starts afresh";
}

TEST_F(DriverTest, AnExceptionInABodyIsContainedSevereAndThePurgeGoesOn) {
  Select({TempFolders, IECache});
  onBody = [](PurgeFunctionId id, PurgeEnvironment& env) {
    env.state.lockedFileSeen = true;
    if (id == TempFolders) throw std::runtime_error("boom");
  };
  driver.Purge(nullptr);
  EXPECT_EQ(r.sink.lines, (Lines{"Results of \"Purge\" function...", "", "Processing \"Temp Folders\"",
                                 "body Temp Folders", kSeparator, "*** Error occurred in above function ***",
                                 kSeparator, "Processing \"I.E. Cache\"", "body I.E. Cache", kSeparator,
                                 "  Purge Functions Completed.", " ", "NOTE - A \"Locked\" file has been encountered.",
                                 "       This indicates that the file is in use by another",
                                 "       program or system function and can not safely be deleted.", " ",
                                 "NOTE - The TroubleShooting section of the Tidemark Help file ", kErrorNote}));
  EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.label.colour), std::pair(9, kColourLime));
}

TEST_F(DriverTest, RunningFirefoxSkipsOnlyTheFirefoxFunctionsAndABrowserTickCautions) {
  Select({FirefoxCookies, TempFolders});
  state.firefoxRunning = true;
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{TempFolders}));
  EXPECT_TRUE(Contains(" -Error- not Processed as FireFox browser is active."));
  EXPECT_EQ(r.report.ErrorLevel(), 7);
  driver.Preview();  // the skip raises nothing in a Preview
  EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.label.colour), std::pair(0, kColourSilver));
  state.firefoxRunning = false;
  driver.Purge([this] { state.browserCaution = true; });
  EXPECT_EQ(r.sink.lines.front(), "-Caution- Some functions may not complete as a Browser was executing.");
  EXPECT_EQ(std::tuple(r.report.ErrorLevel(), r.label.colour, r.sink.lines.back()),
            std::tuple(9, kColourLime, kErrorNote));
  driver.Preview();  // no tick, no caution
  EXPECT_EQ(r.sink.lines.front(), "This List is from a \"Preview Purge\".");
}

TEST_F(DriverTest, SwitchesPresetTheLevelCountTotalsOrAlwaysSummarizeErrors) {
  const std::tuple<DriverSwitches, int, std::string, uint32_t> cases[] = {
      {{.presetErrorLevel = 5}, 5, kErrorLabel, kColourLime},
      {{.totals = true}, 0, "Total Processed - 2", kColourSilver},
      {{.errorSummary = true}, 0, kErrorLabel, kColourLime}};
  Select({TempFolders, IECookies});
  for (const auto& [switches, level, label, colour] : cases) {
    PurgeDriver switched(r.report, *this, state, switches);
    switched.SetBody(TempFolders, [](PurgeEnvironment& env) { env.UpdateProgress(10), env.UpdateProgress(10); });
    switched.Purge(nullptr);
    EXPECT_EQ(std::tuple(r.report.ErrorLevel(), r.label.text, r.label.colour), std::tuple(level, label, colour));
    // A function without a body cannot be ticked.
    EXPECT_FALSE(Contains("Processing \"I.E. Cookies\"") || state.flags[IECookies]);
  }
}

}  // namespace
}  // namespace tidemark::engine
