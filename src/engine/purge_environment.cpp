#include "engine/purge_environment.h"

#include "cookies/protect_file.h"

namespace tidemark::engine {

TempProtectForRun::TempProtectForRun(const PurgeResources& resources) : resources_(resources) {
  cookies::LoadTempProtectList(resources.tempProtect, resources.platform.files, resources.dataFolder);
}

TempProtectForRun::~TempProtectForRun() {
  cookies::SaveTempProtectList(resources_.tempProtect, resources_.platform.files, resources_.dataFolder);
}

PurgeEnvironment::PurgeEnvironment(Report& report, PurgeState& state, const PurgeResources& resources)
    : ItemSink(report, state),
      platform(resources.platform),
      located(resources.located),
      settings(resources.settings),
      tempProtect(resources.tempProtect),
      shred(resources.shred),
      now(resources.now),
      cookies(resources.cookies),
      plugins(resources.plugins),
      ie(resources.ie),
      deletion({platform.files, platform.shell, platform.matcher, tempProtect, shred, settings, now, *this}) {}

bool PurgeEnvironment::TempProtectReadable() {
  if (tempProtect.OpenedOK) return true;
  Line("*** Error - Bypassed as existing Temp Protect file could not be opened");
  RaiseError(7);
  return false;
}

void PurgeEnvironment::WriteCompletion(const Completion& completion, int32_t processed) {
  std::string completed = std::string(completion.function) + " Function Completed.";
  if (processed < 1 && !completion.noneFound.empty()) {
    Line(completion.noneFound);
    Line(completed.append(completion.noneTail));
    return;
  }
  std::string_view noun = processed == 1 || completion.many.empty() ? completion.one : completion.many;
  Line(completed.append(completion.gap).append(std::to_string(processed)).append(noun));
}

void PurgeEnvironment::WriteCompletion(std::string_view function) {
  Line(std::string(function) + " Function Completed.");
}

}  // namespace tidemark::engine
