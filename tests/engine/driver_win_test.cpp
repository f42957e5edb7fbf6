#include "engine/driver.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/labels.h"
#include "engine/purge_environment.h"
#include "support/purge_fixture_win.h"

namespace tidemark::engine {
namespace {

using enum PurgeFunctionId;

class RecordingHost : public PurgeHost {
 public:
  explicit RecordingHost(test::PurgeFixture& fixture) : fixture_(fixture) {}
  std::optional<OptionSet> ReadVisibleOptions() override { return options; }
  PurgeResources Resources() override { return fixture_.Resources(); }
  void NoteInvalidTab() override { invalidTabNoted = true; }
  void LoadTempProtectList() override { ++protectLoads; }
  void ReleaseTempProtectList() override { ++protectReleases; }
  void OffscreenHintIfNeeded() override { ++hintChecks; }
  void SetGauge(int width, bool shown) override {
    gaugeWidths.push_back(width);
    gaugeShown = shown;
  }
  void ShowResults() override { ++resultsShown; }

  std::optional<OptionSet> options = OptionSet{};
  bool invalidTabNoted = false;
  int protectLoads = 0, protectReleases = 0, hintChecks = 0, resultsShown = 0;
  std::vector<int> gaugeWidths;
  bool gaugeShown = true;

 private:
  test::PurgeFixture& fixture_;
};

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
  std::vector<PurgeFunctionId> ran;
  std::function<void(PurgeFunctionId, PurgeEnvironment&)> onBody;
};

TEST_F(DriverTest, RunsSelectedFunctionsInTheFixedOrderWithTheirFrames) {
  Select({Plugins, TempFolders, FirefoxCache, Clipboard});
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (std::vector<PurgeFunctionId>{FirefoxCache, TempFolders, Clipboard, Plugins}));
  std::vector<std::string> expected = {"Results of \"Purge\" function...",
                                       "",
                                       "Processing \"FireFox Cache\"",
                                       "body FireFox Cache",
                                       std::string(kSectionSeparator),
                                       "Processing \"Temp Folders\"",
                                       "body Temp Folders",
                                       std::string(kSectionSeparator),
                                       "Clearing Windows ClipBoard",
                                       "body ClipBoard",
                                       std::string(kSectionSeparator),
                                       "Processing \"Plugins\"",
                                       "body Run Plugins",
                                       std::string(kSectionSeparator),
                                       "  Purge Functions Completed."};
  EXPECT_EQ(r.sink.lines, expected);
  EXPECT_EQ(r.label.text, "idle");
  EXPECT_EQ(r.label.colour, kColourSilver);
  EXPECT_EQ(host.hintChecks, 1);
  EXPECT_EQ(host.protectLoads, 1);
  EXPECT_EQ(host.protectReleases, 1);
  EXPECT_EQ(host.resultsShown, 1);
  EXPECT_FALSE(state.purgeRunning);
  EXPECT_EQ(r.sink.batchDepth, 0);
}

TEST_F(DriverTest, NoOptionsSelectedIsASevereError) {
  driver.Purge(nullptr);
  EXPECT_TRUE(Contains(" -Error- No Purge Options were Selected."));
  EXPECT_EQ(r.report.ErrorLevel(), 9);
  EXPECT_TRUE(r.report.ErrorSeen());
  EXPECT_EQ(r.label.text, " Errors in Purge function  -  Use the TAB key to locate the Error... ");
  EXPECT_EQ(r.label.colour, kColourLime);
  EXPECT_EQ(r.sink.lines.back(), "       contains additonal information for the Error indicators.");
  EXPECT_EQ(host.gaugeWidths.front(), kGaugeWidth);
}

TEST_F(DriverTest, GaugeGrowsByItsStepToFullWidth) {
  for (const auto& function : PurgeFunctions()) (*host.options)[function.id] = true;
  driver.Preview();
  EXPECT_EQ(state.gaugeStep, 10);
  EXPECT_EQ(host.gaugeWidths.front(), 10);
  EXPECT_EQ(host.gaugeWidths.back(), 200);
  EXPECT_FALSE(host.gaugeShown);
  EXPECT_EQ(ran.size(), kPurgeFunctionCount);
}

TEST_F(DriverTest, CancelInTheMiddleSkipsTheRestSilently) {
  Select({FirefoxCache, FirefoxCookies, FirefoxTypedUrls, FirefoxHistory, FirefoxForms});
  onBody = [this](PurgeFunctionId id, PurgeEnvironment&) {
    if (id == FirefoxTypedUrls) {
      driver.Cancel();
      // A click while cancelling must not start a second run.
      driver.Purge(nullptr);
      driver.Preview();
    }
  };
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (std::vector<PurgeFunctionId>{FirefoxCache, FirefoxCookies, FirefoxTypedUrls}));
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
  onBody = [](PurgeFunctionId id, PurgeEnvironment&) {
    if (id == TempFolders) throw std::runtime_error("boom");
  };
  driver.Purge(nullptr);
  std::vector<std::string> expected = {"Results of \"Purge\" function...",
                                       "",
                                       "Processing \"Temp Folders\"",
                                       "body Temp Folders",
                                       std::string(kSectionSeparator),
                                       "*** Error occurred in above function ***",
                                       std::string(kSectionSeparator),
                                       "Processing \"I.E. Cache\"",
                                       "body I.E. Cache",
                                       std::string(kSectionSeparator),
                                       "  Purge Functions Completed."};
  EXPECT_EQ(std::vector<std::string>(r.sink.lines.begin(), r.sink.lines.begin() + expected.size()), expected);
  EXPECT_EQ(r.report.ErrorLevel(), 9);
  EXPECT_TRUE(r.report.ErrorSeen());
  EXPECT_EQ(r.label.colour, kColourLime);
}

TEST_F(DriverTest, RunningFirefoxSkipsOnlyTheFirefoxFunctions) {
  Select({FirefoxCookies, TempFolders});
  state.firefoxRunning = true;
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (std::vector<PurgeFunctionId>{TempFolders}));
  EXPECT_TRUE(Contains(" -Error- not Processed as FireFox browser is active."));
  EXPECT_EQ(r.report.ErrorLevel(), 7);

  // In a Preview the skip raises nothing, so the summary stays silver.
  driver.Preview();
  EXPECT_EQ(r.report.ErrorLevel(), 0);
  EXPECT_EQ(r.label.colour, kColourSilver);
}

TEST_F(DriverTest, BrowserCautionIsTheFirstLineAndSevere) {
  Select({FirefoxCookies});
  driver.Purge([this] { state.browserCaution = true; });
  EXPECT_EQ(r.sink.lines.front(), "-Caution- Some functions may not complete as a Browser was executing.");
  EXPECT_EQ(r.report.ErrorLevel(), 9);
  EXPECT_TRUE(r.report.ErrorSeen());
  // The summary agrees with the level.
  EXPECT_EQ(r.label.colour, kColourLime);
  EXPECT_EQ(r.sink.lines.back(), "       contains additonal information for the Error indicators.");
  // Preview runs no tick and adds no caution.
  driver.Preview();
  EXPECT_NE(r.sink.lines.front(), "-Caution- Some functions may not complete as a Browser was executing.");
}

TEST_F(DriverTest, PresetErrorLevelAndSummarySwitches) {
  switches.presetErrorLevel = 5;
  PurgeDriver preset(r.report, host, state, switches);
  preset.SetBody(TempFolders, [](PurgeEnvironment&) {});
  Select({TempFolders});
  preset.Purge(nullptr);
  EXPECT_EQ(r.report.ErrorLevel(), 5);
  EXPECT_TRUE(r.report.ErrorSeen());
  EXPECT_EQ(r.label.colour, kColourLime);

  DriverSwitches totals;
  totals.totals = true;
  PurgeDriver counting(r.report, host, state, totals);
  counting.SetBody(TempFolders, [](PurgeEnvironment& env) {
    env.UpdateProgress(10);
    env.UpdateProgress(10);
  });
  counting.Purge(nullptr);
  EXPECT_EQ(r.label.text, "Total Processed - 2");

  DriverSwitches errors;
  errors.errorSummary = true;
  PurgeDriver erring(r.report, host, state, errors);
  erring.SetBody(TempFolders, [](PurgeEnvironment&) {});
  erring.Purge(nullptr);
  EXPECT_EQ(r.report.ErrorLevel(), 0);
  EXPECT_EQ(r.label.colour, kColourLime);
}

TEST_F(DriverTest, LockedFileNoteAndFunctionsWithoutBodies) {
  PurgeDriver partial(r.report, host, state, switches);
  partial.SetBody(TempFolders, [](PurgeEnvironment& env) { env.state.lockedFileSeen = true; });
  Select({TempFolders, IECookies});  // IE cookies has no body here
  partial.Purge(nullptr);
  EXPECT_FALSE(Contains("Processing \"I.E. Cookies\""));
  EXPECT_FALSE(state.flags[IECookies]);
  EXPECT_TRUE(Contains("NOTE - A \"Locked\" file has been encountered."));
}

TEST_F(DriverTest, InvalidTabReadsNothing) {
  host.options.reset();
  driver.Purge(nullptr);
  EXPECT_TRUE(host.invalidTabNoted);
  EXPECT_TRUE(Contains(" -Error- No Purge Options were Selected."));
}

TEST_F(DriverTest, SectionTitlesNameTheHostsShredSettingsOnlyWhenShredding) {
  fixture.settings.shredMode = '1';
  fixture.settings.repeats = 7;
  (*host.options)[TempFolders] = true;
  host.options->secureErase = 1;
  std::string section;
  driver.SetBody(TempFolders, [&](PurgeEnvironment& env) { section = env.report.SectionName(); });
  driver.Purge(nullptr);
  EXPECT_EQ(section, "  Processing \"Temp Folders\" with 7 Shred Operations");
  driver.Preview();
  EXPECT_EQ(section, "  Processing \"Temp Folders\"");
}

TEST_F(DriverTest, ADisabledRecycleBinBoxDoesNotRun) {
  struct NoRecycleBin : RecordingHost {
    using RecordingHost::RecordingHost;
    bool RecycleBinEnabled() override { return false; }
  } host{fixture};
  (*host.options)[RecycleBin] = true;
  (*host.options)[Clipboard] = true;
  PurgeDriver driver(r.report, host, state, switches);
  driver.SetBody(RecycleBin, [this](PurgeEnvironment&) { ran.push_back(RecycleBin); });
  driver.SetBody(Clipboard, [this](PurgeEnvironment&) { ran.push_back(Clipboard); });
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (std::vector<PurgeFunctionId>{Clipboard}));
}

TEST(ReadFrameOptions, RadioGroupsAndTheRecycleBinRule) {
  OptionSet frame;
  frame[RecycleBin] = true;
  frame.secureErase = 1;
  frame.reports = 1;
  PurgeFlags flags = ReadFrameOptions(frame, false);
  EXPECT_FALSE(flags[RecycleBin]);
  EXPECT_TRUE(flags.secureErase);
  EXPECT_FALSE(flags.compact);
  EXPECT_FALSE(flags.detailReport);
  EXPECT_TRUE(ReadFrameOptions(frame, true)[RecycleBin]);
}

}  // namespace
}  // namespace tidemark::engine
