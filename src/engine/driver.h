// The purge driver: runs the selected purge functions in their fixed order
// inside a common frame, tells the report's progress what happens, honours
// Cancel and closes the report with its summary.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "engine/purge_environment.h"
#include "engine/purge_state.h"
#include "engine/report.h"
#include "settings/purge_options.h"

namespace tidemark::engine {

using settings::Index;
using settings::kPurgeFunctionCount;

// The browser whose data a function cleans: a running Firefox skips its
// functions here, a running Chromium browser is skipped by the body, and the
// main window cautions against each.
enum class Browser { None, Firefox, Chromium, InternetExplorer };

struct PurgeFunctionInfo {
  PurgeFunctionId id;
  std::string_view caption;  // check box caption
  std::string_view title;    // passed to BeginSection
  Browser browser;
};
const std::array<PurgeFunctionInfo, kPurgeFunctionCount>& PurgeFunctions();

// The test switches of the command line that shape a purge's error state.
struct DriverSwitches {
  int presetErrorLevel = 0;  // "ERROR1"/"ERROR5"/"ERROR9"
  bool errorSummary = false;  // "errors"
  bool totals = false;        // "totals"
};

// The body of one purge function.
using PurgeBody = std::function<void(PurgeEnvironment&)>;

// What a run reads, as it begins, from the window that starts it.
struct PurgeInputs {
  // The flags of the visible option tab; nothing when no option tab is visible.
  std::function<std::optional<PurgeFlags>()> visibleFlags;
  // What the bodies work with: the Windows operations, the located data, the
  // settings as applied last, the protect list, the shred state.
  std::function<PurgeResources()> resources;
};

class PurgeDriver {
 public:
  // The report's progress hears of every run.
  PurgeDriver(Report& report, PurgeInputs inputs, PurgeState& state, DriverSwitches switches);

  // A function can be selected only once its body is there.
  void SetBody(PurgeFunctionId id, PurgeBody body);
  bool HasBody(PurgeFunctionId id) const { return static_cast<bool>(bodies_[Index(id)]); }

  // The Purge button: browserTick is the main window's browser-activity tick.
  void Purge(const std::function<void()>& browserTick);
  void Preview();
  // The Cancel button. Purge, Preview and Exit stay blocked until the
  // cancelled run has written its closing lines, so no second run can start
  // from a message pump inside the first.
  void Cancel();

 private:
  void Run();
  void RunFunction(const PurgeFunctionInfo& function, PurgeEnvironment& environment);
  void WriteClosing();

  Report& report_;
  PurgeInputs inputs_;
  PurgeState& state_;
  DriverSwitches switches_;
  std::array<PurgeBody, kPurgeFunctionCount> bodies_;
};

// The purge flags of an option frame's state.
PurgeFlags ReadFrameOptions(const OptionSet& frame, bool recycleBinEnabled);

}  // namespace tidemark::engine
