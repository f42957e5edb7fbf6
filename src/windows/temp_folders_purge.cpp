#include "windows/windows_purges.h"

namespace tidemark::windows {

void TempFoldersPurge(engine::PurgeEnvironment& env) {
  try {
    if (env.settings.ageFilterOn)
      env.Line("     Ignore files modified in the last " + std::to_string(env.settings.ageHours) + " Hours");
    const auto& selected = env.located.tempFolders.selected;
    if (selected.empty()) {
      env.Line(" -Error- Temp Folder: not processed - folder could not be located");
      env.Line("         Please verify your Temp Folders configuration:");
      env.Line("         Click 'Configue' and select the 'Temp Folders' Tab.");
      env.Line("         or remove checkmark from 'Temp Folders' option.");
      env.RaiseError(3);
      return;
    }
    engine::DeletionEngine& deletion = env.deletion;
    deletion.ItemsProcessed = 0;
    if (!env.TempProtectReadable()) return;
    if (!env.state.lowMemory)
      for (const auto& folder : selected) deletion.DeleteFolderContents(folder.path, "*.*", true);
    env.WriteCompletion({.function = "  Purge \"Temp Folders\"",
                         .gap = " ",
                         .one = " Files/Directories Processed.",
                         .noneFound = "    No Files/Directories found to delete."},
                        deletion.ItemsProcessed);
  } catch (...) {
    env.Line("*** Error in above Function.");
    env.RaiseError(9);
  }
}

}  // namespace tidemark::windows
