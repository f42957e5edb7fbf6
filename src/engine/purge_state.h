// One purge run's state, and the item sink its work writes through: the
// report, the Detail setting, Preview and Cancel.
#pragma once
#include <string_view>

#include "engine/report.h"
#include "settings/purge_options.h"

namespace tidemark::engine {

using settings::OptionSet;
using settings::PurgeFunctionId;

// The option set of one purge, as read from the visible option frame.
struct PurgeFlags {
  OptionSet options;
  bool secureErase = false;
  bool compact = false;
  bool detailReport = true;
  bool operator[](PurgeFunctionId id) const { return options[id]; }
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
};

// Whether an item line reports a success (written in Detail reports only)
// or a failure (always written).
enum class ItemOutcome { Success, Failure };

// Where a purge's work writes (the deletion engine's lines, every body's)
// and what it reads of its run.
class ItemSink {
 public:
  ItemSink(Report& report, PurgeState& state) : report(report), state(state), flags(state.flags) {}

  Report& report;
  PurgeState& state;
  const PurgeFlags& flags;

  bool Preview() const { return state.previewMode; }
  bool Detail() const { return flags.detailReport; }
  bool Cancelled() const { return state.cancelRequested; }

  void Line(std::string_view text) { report.Line(text); }
  // label + item, honouring Detail and Summary reports.
  void Item(ItemOutcome outcome, std::string_view label, std::string_view item);
  // Raises the error level and marks that an error was seen.
  void RaiseError(int level) { report.RaiseError(level); }
  void UpdateProgress(int period) { report.UpdateProgress(period); }
  void Pump() { report.pump().Pump(); }
  // "*** Cancelled by operator." when Cancel was pressed; true then.
  bool CancelNoted();
};

}  // namespace tidemark::engine
