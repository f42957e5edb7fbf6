#include "engine/purge_environment.h"

namespace tidemark::engine {

PurgeEnvironment::PurgeEnvironment(Report& report, PurgeState& state, const PurgeResources& resources)
    : report(report),
      state(state),
      flags(state.flags),
      platform(resources.platform),
      located(resources.located),
      settings(resources.settings),
      tempProtect(resources.tempProtect),
      shred(resources.shred),
      now(resources.now),
      cookies(resources.cookies),
      plugins(resources.plugins),
      ie(resources.ie),
      deletion(*this) {}

void PurgeEnvironment::Item(ItemOutcome outcome, std::string_view label, std::string_view item) {
  if (outcome == ItemOutcome::Success && !Detail()) return;
  std::string line;
  line.reserve(label.size() + item.size());
  line.append(label).append(item);
  report.Line(line);
}

bool PurgeEnvironment::CancelNoted() {
  if (!state.cancelRequested) return false;
  report.Line("*** Cancelled by operator.");
  return true;
}

bool PurgeEnvironment::TempProtectReadable() {
  if (tempProtect.OpenedOK) return true;
  report.Line("*** Error - Bypassed as existing Temp Protect file could not be opened");
  RaiseError(7);
  return false;
}

}  // namespace tidemark::engine
