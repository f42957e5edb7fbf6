#include "engine/driver.h"

#include <exception>

#include "engine/labels.h"

namespace tidemark::engine {

const std::array<PurgeFunctionInfo, kPurgeFunctionCount>& PurgeFunctions() {
  using enum PurgeFunctionId;
  static const std::array<PurgeFunctionInfo, kPurgeFunctionCount> functions = {{
      {FirefoxCache, "FireFox Cache", "  Processing \"FireFox Cache\"", Browser::Firefox},
      {FirefoxCookies, "FireFox Cookies", "  Processing \"FireFox Cookies\"", Browser::Firefox},
      {FirefoxTypedUrls, "FireFox Typed URLs", "  Processing \"FireFox Typed URLs\"", Browser::Firefox},
      {FirefoxHistory, "FireFox History File", "  Processing \"FireFox History File\"", Browser::Firefox},
      {FirefoxForms, "FireFox Forms History", "  Processing \"FireFox Forms History\"", Browser::Firefox},
      {ChromiumCache, "Chromium Cache", "  Processing \"Chromium Cache\"", Browser::Chromium},
      {ChromiumCookies, "Chromium Cookies", "  Processing \"Chromium Cookies\"", Browser::Chromium},
      {ChromiumTypedUrls, "Chromium Typed URLs", "  Processing \"Chromium Typed URLs\"", Browser::Chromium},
      {ChromiumHistory, "Chromium History", "  Processing \"Chromium History\"", Browser::Chromium},
      {ChromiumForms, "Chromium Forms History", "  Processing \"Chromium Forms History\"", Browser::Chromium},
      {TempFolders, "Temp Folders", "  Processing \"Temp Folders\"", Browser::None},
      {IEVisited, "I.E. Visited URLs", "  Processing \"I.E. Visited URLs\"", Browser::InternetExplorer},
      {IECache, "I.E. Cache", "  Processing \"I.E. Cache\"", Browser::InternetExplorer},
      {IECookies, "I.E. Cookies", "  Processing \"I.E. Cookies\"", Browser::InternetExplorer},
      {IEHistory, "I.E. History Folders", "  Processing \"I.E. History\"", Browser::InternetExplorer},
      {IEUserData, "I.E. UserData", "  Processing \"I.E. UserData\"", Browser::InternetExplorer},
      {IEDomStore, "I.E. DOMstore", "  Processing \"I.E. DOMstore\"", Browser::InternetExplorer},
      {IESearches, "I.E. Searches", "  Processing \"I.E. Searches\"", Browser::InternetExplorer},
      {IETypedUrls, "I.E. Typed URLs", "  Processing \"I.E. Typed URLs\"", Browser::InternetExplorer},
      {IEStrays, "I.E. Strays", "  Processing \"I.E. Strays\"", Browser::InternetExplorer},
      {RecentLinks, "Recent LNKs", "  Processing \"Recent LNKs\"", Browser::None},
      {RecycleBin, "Recycle Bin", "  Processing \"Recycle Bin\"", Browser::None},
      {Clipboard, "ClipBoard", "  Clearing Windows ClipBoard", Browser::None},
      {Plugins, "Run Plugins", "  Processing \"Plugins\"", Browser::None},
  }};
  return functions;
}

PurgeFlags ReadFrameOptions(const OptionSet& frame, bool recycleBinEnabled) {
  PurgeFlags flags;
  flags.options = frame;
  flags.options[PurgeFunctionId::RecycleBin] = frame[PurgeFunctionId::RecycleBin] && recycleBinEnabled;
  flags.secureErase = frame.secureErase == 1;
  flags.compact = frame.compactSql == 1;
  flags.detailReport = frame.reports == 0;
  return flags;
}

PurgeDriver::PurgeDriver(Report& report, PurgeInputs inputs, PurgeState& state, DriverSwitches switches)
    : report_(report), inputs_(std::move(inputs)), state_(state), switches_(switches) {}

void PurgeDriver::SetBody(PurgeFunctionId id, PurgeBody body) { bodies_[Index(id)] = std::move(body); }

void PurgeDriver::Purge(const std::function<void()>& browserTick) {
  if (state_.purgeRunning) return;
  state_.previewMode = false;
  state_.browserCaution = false;
  if (browserTick) browserTick();
  Run();
}

void PurgeDriver::Preview() {
  if (state_.purgeRunning) return;
  state_.previewMode = true;
  Run();
}

void PurgeDriver::Cancel() {
  if (state_.purgeRunning) state_.cancelRequested = true;
}

void PurgeDriver::Run() {
  if (state_.purgeRunning) return;
  PurgeProgress& progress = report_.progress();
  const PurgeResources resources = inputs_.resources();
  TempProtectForRun protectList(resources);
  state_.lockedFileSeen = false;
  progress.PurgeStarting();
  report_.Start(state_.previewMode);

  state_.flags = PurgeFlags{};
  if (auto flags = inputs_.visibleFlags()) {
    state_.flags = *flags;
    // A function that cannot run yet cannot be selected.
    for (const auto& function : PurgeFunctions())
      if (!HasBody(function.id)) state_.flags.options[function.id] = false;
  }

  state_.cancelRequested = false;
  PurgeEnvironment environment(report_, state_, resources);
  const PurgeSettings& settings = environment.settings;
  report_.ResetProgress(ShredSuffix(state_.previewMode, state_.flags.secureErase, settings.shredMode, settings.repeats));
  state_.anyFunctionRun = false;
  int preset = switches_.presetErrorLevel;
  report_.ResetErrors(preset, preset > 0);

  state_.purgeRunning = true;
  int selected = 0;
  for (const auto& function : PurgeFunctions()) selected += state_.flags[function.id] ? 1 : 0;
  progress.PurgeBegun(selected);
  report_.pump().Pump();
  report_.sink().BeginBatch();
  report_.Line("");

  int done = 0;
  for (const auto& function : PurgeFunctions()) {
    if (!state_.flags[function.id]) continue;
    if (state_.cancelRequested) continue;
    RunFunction(function, environment);
    progress.FunctionDone(++done);
  }

  // The caution is known from the tick before the run; noted before the
  // summary so that the summary and the error level agree.
  if (!state_.previewMode && state_.browserCaution) {
    report_.InsertFirst("-Caution- Some functions may not complete as a Browser was executing.");
    report_.RaiseError(9);
  }
  WriteClosing();

  report_.pump().Pump();
  report_.sink().EndBatch();
  report_.pump().Pump();
  report_.pump().Sleep(500);
  state_.purgeRunning = false;
  progress.PurgeFinished();
}

void PurgeDriver::RunFunction(const PurgeFunctionInfo& function, PurgeEnvironment& environment) {
  try {
    report_.BeginSection(function.title);
    if (function.browser == Browser::Firefox && state_.firefoxRunning) {
      report_.Line(" -Error- not Processed as FireFox browser is active.");
      if (!state_.previewMode) report_.RaiseError(7);
    } else {
      bodies_[Index(function.id)](environment);
    }
  } catch (...) {
    // A failing function must not stop the purge, nor pass for a success.
    report_.Line(kSectionSeparator);
    report_.Line("*** Error occurred in above function ***");
    report_.RaiseError(9);
  }
  state_.anyFunctionRun = true;
  report_.Line(kSectionSeparator);
}

void PurgeDriver::WriteClosing() {
  if (state_.cancelRequested) {
    report_.Line("  Purge Functions Cancelled by Operator.");
  } else if (!state_.anyFunctionRun) {
    report_.Line(" -Error- No Purge Options were Selected.");
    report_.RaiseError(9);
  } else {
    report_.Line("  Purge Functions Completed.");
  }

  if (state_.lockedFileSeen) {
    report_.Line(" ");
    report_.Line("NOTE - A \"Locked\" file has been encountered.");
    report_.Line("       This indicates that the file is in use by another");
    report_.Line("       program or system function and can not safely be deleted.");
  }

  bool clean = report_.ErrorLevel() < 1 && !switches_.errorSummary;
  if (clean) {
    report_.SetIdleProgress();
    if (switches_.totals)
      report_.progress().StatusText("Total Processed - " + std::to_string(report_.TotalProcessed()));
  } else {
    report_.progress().StatusText(" Errors in Purge function  -  Use the TAB key to locate the Error... ");
    report_.progress().StatusColour(kColourLime);
    report_.Line(" ");
    report_.Line("NOTE - The TroubleShooting section of the Tidemark Help file ");
    report_.Line("       contains additonal information for the Error indicators.");
  }
  report_.progress().ReportClosed(clean && !switches_.totals);
}

}  // namespace tidemark::engine
