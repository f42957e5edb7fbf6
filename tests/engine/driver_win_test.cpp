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

class RecordingHost : public PurgeHost {
 public:
  explicit RecordingHost(test::PurgeFixture& fixture) : fixture_(fixture) {}
  std::optional<OptionSet> ReadVisibleOptions() override { return options; }
  bool RecycleBinEnabled() override { return recycleBin; }
  PurgeResources Resources() override { return fixture_.Resources(); }
  void NoteInvalidTab() override { invalidTabNoted = true; }
  void LoadTempProtectList() override { ++protectLoads; }
  void ReleaseTempProtectList() override { ++protectReleases; }
  void SetGauge(int width, bool shown) override { gauge.emplace_back(width, shown); }
  void ShowResults() override { ++resultsShown; }

  std::optional<OptionSet> options = OptionSet{};
  bool recycleBin = true, invalidTabNoted = false;
  int protectLoads = 0, protectReleases = 0, resultsShown = 0;
  std::vector<std::pair<int, bool>> gauge;

 private:
  test::PurgeFixture& fixture_;
};

// Every function has a body that writes its caption and runs onBody.
class DriverTest : public ::testing::Test {
 protected:
  DriverTest() {
    for (const auto& function : PurgeFunctions())
      driver.SetBody(function.id, [this, id = function.id](PurgeEnvironment& env) {
        ran.push_back(id);
        env.Line("body " + std::string(PurgeFunctions()[Index(id)].caption));
        if (onBody) onBody(id, env);
      });
  }
  void Select(std::initializer_list<PurgeFunctionId> ids) {
    for (auto id : ids) (*host.options)[id] = true;
  }
  bool Contains(const std::string& line) const {
    return std::find(r.sink.lines.begin(), r.sink.lines.end(), line) != r.sink.lines.end();
  }

  test::PurgeFixture fixture;
  test::MemoryReport& r = fixture.r;
  RecordingHost host{fixture};
  PurgeState& state = fixture.state;
  DriverSwitches switches;
  PurgeDriver driver{r.report, host, state, switches};
  Ids ran;
  std::function<void(PurgeFunctionId, PurgeEnvironment&)> onBody;
};

TEST_F(DriverTest, RunsSelectedFunctionsInTheFixedOrderWithTheirFrames) {
  Select({Plugins, TempFolders, FirefoxCache, Clipboard, RecycleBin});
  host.recycleBin = false;  // a disabled box does not run
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{FirefoxCache, TempFolders, Clipboard, Plugins}));
  EXPECT_EQ(r.sink.lines,
            (Lines{"Results of \"Purge\" function...", "", "Processing \"FireFox Cache\"", "body FireFox Cache",
                   kSeparator, "Processing \"Temp Folders\"", "body Temp Folders", kSeparator,
                   "Clearing Windows ClipBoard", "body ClipBoard", kSeparator, "Processing \"Plugins\"",
                   "body Run Plugins", kSeparator, "  Purge Functions Completed."}));
  EXPECT_EQ(std::pair(r.label.text, r.label.colour), std::pair(std::string("idle"), kColourSilver));
  EXPECT_EQ(std::tuple(host.protectLoads, host.protectReleases, host.resultsShown), std::tuple(1, 1, 1));
  EXPECT_FALSE(state.purgeRunning);
  EXPECT_EQ(r.sink.batchDepth, 0);
  // The gauge grows by its step to full width, then hides.
  EXPECT_EQ(host.gauge, (std::vector<std::pair<int, bool>>{
                            {40, true}, {80, true}, {120, true}, {160, true}, {200, true}, {200, false}}));
}

TEST_F(DriverTest, NothingSelectedOrNoTabToReadIsASevereError) {
  for (bool tab : {true, false}) {
    if (!tab) host.options.reset();
    driver.Purge(nullptr);
    EXPECT_TRUE(Contains(" -Error- No Purge Options were Selected."));
    EXPECT_EQ(host.invalidTabNoted, !tab);
    EXPECT_EQ(r.report.ErrorLevel(), 9);
    EXPECT_TRUE(r.report.ErrorSeen());
    EXPECT_EQ(r.label.text, " Errors in Purge function  -  Use the TAB key to locate the Error... ");
    EXPECT_EQ(r.label.colour, kColourLime);
    EXPECT_EQ(r.sink.lines.back(), kErrorNote);
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
  // The next purge starts afresh.
  ran.clear();
  onBody = nullptr;
  driver.Purge(nullptr);
  EXPECT_EQ(ran.size(), 5u);
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
  EXPECT_EQ(r.report.ErrorLevel(), 9);
  EXPECT_EQ(r.label.colour, kColourLime);
}

TEST_F(DriverTest, RunningFirefoxSkipsOnlyTheFirefoxFunctionsAndABrowserTickCautions) {
  Select({FirefoxCookies, TempFolders});
  state.firefoxRunning = true;
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{TempFolders}));
  EXPECT_TRUE(Contains(" -Error- not Processed as FireFox browser is active."));
  EXPECT_EQ(r.report.ErrorLevel(), 7);
  // In a Preview the skip raises nothing, so the summary stays silver.
  driver.Preview();
  EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.label.colour), std::pair(0, kColourSilver));

  state.firefoxRunning = false;
  driver.Purge([this] { state.browserCaution = true; });
  EXPECT_EQ(r.sink.lines.front(), "-Caution- Some functions may not complete as a Browser was executing.");
  EXPECT_EQ(r.report.ErrorLevel(), 9);
  // The summary agrees with the level.
  EXPECT_EQ(std::pair(r.label.colour, r.sink.lines.back()), std::pair(kColourLime, kErrorNote));
  // Preview runs no tick and adds no caution.
  driver.Preview();
  EXPECT_EQ(r.sink.lines.front(), "This List is from a \"Preview Purge\".");
}

TEST_F(DriverTest, SwitchesPresetTheLevelCountTotalsOrAlwaysSummarizeErrors) {
  struct Case {
    DriverSwitches switches;
    int level;
    std::string label;
    uint32_t colour;
  } cases[] = {{{.presetErrorLevel = 5},
                5,
                " Errors in Purge function  -  Use the TAB key to locate the Error... ",
                kColourLime},
               {{.totals = true}, 0, "Total Processed - 2", kColourSilver},
               {{.errorSummary = true},
                0,
                " Errors in Purge function  -  Use the TAB key to locate the Error... ",
                kColourLime}};
  Select({TempFolders, IECookies});
  for (const Case& c : cases) {
    PurgeDriver switched(r.report, host, state, c.switches);
    switched.SetBody(TempFolders, [](PurgeEnvironment& env) {
      env.UpdateProgress(10);
      env.UpdateProgress(10);
    });
    switched.Purge(nullptr);
    EXPECT_EQ(std::tuple(r.report.ErrorLevel(), r.label.text, r.label.colour), std::tuple(c.level, c.label, c.colour));
    // A function without a body cannot be ticked.
    EXPECT_FALSE(Contains("Processing \"I.E. Cookies\"") || state.flags[IECookies]);
  }
}

TEST_F(DriverTest, SectionTitlesNameTheShredSettingsOnlyWhenShredding) {
  fixture.settings.shredMode = '1';
  fixture.settings.repeats = 7;
  Select({TempFolders});
  host.options->secureErase = 1;
  host.options->reports = 1;
  std::string section;
  driver.SetBody(TempFolders, [&](PurgeEnvironment& env) { section = env.report.SectionName(); });
  driver.Purge(nullptr);
  EXPECT_EQ(section, "  Processing \"Temp Folders\" with 7 Shred Operations");
  EXPECT_FALSE(state.flags.detailReport);
  driver.Preview();
  EXPECT_EQ(section, "  Processing \"Temp Folders\"");
}

}  // namespace
}  // namespace tidemark::engine
