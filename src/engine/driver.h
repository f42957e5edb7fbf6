// The purge driver: runs the selected purge functions in their fixed order
// inside a common frame, drives the progress bar, honours Cancel and closes
// the report with its summary.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/purge_options.h"
#include "engine/report.h"

namespace tidemark::engine {

using settings::Index;
using settings::kPurgeFunctionCount;
using settings::OptionSet;
using settings::PurgeFunctionId;

struct PurgeFunctionInfo {
  PurgeFunctionId id;
  std::string_view caption;  // check box caption
  std::string_view title;    // passed to BeginSection
  bool firefox;              // skipped while Firefox runs
};
const std::array<PurgeFunctionInfo, kPurgeFunctionCount>& PurgeFunctions();

// The option set of one purge, as read from the visible option frame.
struct PurgeFlags {
  OptionSet options;
  bool secureErase = false;
  bool compact = false;
  bool detailReport = true;
  bool operator[](PurgeFunctionId id) const { return options[id]; }
};

// The test switches of the command line that shape a purge's error state.
struct DriverSwitches {
  int presetErrorLevel = 0;  // "ERROR1"/"ERROR5"/"ERROR9"
  bool errorSummary = false;  // "errors"
  bool totals = false;        // "totals"
};

struct PurgeState {
  bool purgeRunning = false;
  bool cancelRequested = false;
  bool previewMode = false;
  bool anyFunctionRun = false;
  bool lockedFileSeen = false;
  bool browserCaution = false;
  bool firefoxRunning = false;  // the last browser-activity tick's answer
  bool lowMemory = false;       // the IE strays purge ran out of memory: temp purges delete nothing
  PurgeFlags flags;
  int gaugeStep = 0;
};

class PurgeEnvironment;
struct PurgeResources;
// The body of one purge function.
using PurgeBody = std::function<void(PurgeEnvironment&)>;

// The window that hosts a purge (the main window; a plain one in tests).
class PurgeHost {
 public:
  virtual ~PurgeHost() = default;
  // The option set of the visible option tab; nothing for an invalid tab.
  virtual std::optional<OptionSet> ReadVisibleOptions() = 0;
  // The Recycle Bin runs only while its check box is enabled as well.
  virtual bool RecycleBinEnabled() { return true; }
  // What the purge bodies work with: the Windows operations, the located
  // data, the settings as applied last, the protect list, the shred state.
  virtual PurgeResources Resources() = 0;
  virtual void NoteInvalidTab() {}
  virtual void LoadTempProtectList() {}
  virtual void ReleaseTempProtectList() {}
  virtual void RecheckFirefoxLocations() {}
  virtual void HideOffscreenHint() {}
  // Shows the off-screen hint when the list holds more lines than fit.
  virtual void OffscreenHintIfNeeded() {}
  virtual void ShowCancel(bool /*shown*/) {}
  virtual void SetBusyCursor(bool /*busy*/) {}
  virtual void SetGauge(int /*widthPixels*/, bool /*shown*/) {}
  virtual void SizeColumnForFill() {}
  virtual void AutosizeColumn() {}
  virtual void ShowResults() {}
};

constexpr int kGaugeWidth = 200;

class PurgeDriver {
 public:
  PurgeDriver(Report& report, PurgeHost& host, PurgeState& state, DriverSwitches switches);

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
  PurgeHost& host_;
  PurgeState& state_;
  DriverSwitches switches_;
  std::array<PurgeBody, kPurgeFunctionCount> bodies_;
};

// The purge flags of an option frame's state.
PurgeFlags ReadFrameOptions(const OptionSet& frame, bool recycleBinEnabled);

}  // namespace tidemark::engine
