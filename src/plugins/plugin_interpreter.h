// The plugin interpreter: reads a plugin's lines, checks its level, expands
// placeholders, lists every statement and runs its command against the
// purge environment (the executors are in plugin_commands.cpp). Also the
// purge function "Run Plugins".
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "plugins/plugin_expand.h"
#include "plugins/plugin_syntax.h"

namespace tidemark::plugins {

class PluginInterpreter {
 public:
  // testMode (the test window): every line is echoed and entries are
  // counted per plugin. Detail, Preview and Shred come from the environment.
  PluginInterpreter(engine::PurgeEnvironment& env, bool testMode);

  void RunPlugin(const std::vector<std::string>& lines);
  // Entries processed: per plugin in test mode, else over the whole run.
  int PluginEntryCount = 0;

  // "*** Cancelled by operator.", written once however deep the work that
  // notices it; true when Cancel was pressed.
  bool CancelNoted();

  // The executors, one per verb, and the steps they share.
  void Execute(const PluginCommand& command);
  // attributes: as a listing gave them (the file exists); else they are read.
  void DeletePluginFile(const std::string& path, const std::string& shortName,
                        std::optional<uint32_t> attributes = std::nullopt);
  void DeleteTextLines(const std::string& file, const std::string& text);
  void DeleteXmlElements(const std::string& file, const std::string& name);
  void DeleteFolderFiles(const std::string& folder, const std::string& mask, const std::string& type, bool top);
  void RemovePluginFolder(const std::string& folder, bool link);
  void RunProgram(const std::string& folder, const std::string& file, bool show);
  // False when the value or key does not exist.
  bool DeleteRegValue(platform::RegistryRoot root, const std::string& key, const std::string& prefix,
                      const std::string& name);
  bool DeleteRegKeyTree(platform::RegistryRoot root, const std::string& key);

 private:
  void WriteDebugLines(const PluginCommand& command);
  // The error line of a statement, or a part of it, left undone for safety.
  void Refuse(const std::string& reason);
  void RefuseWith(const std::string& errorLine);
  // A bare program name: the system's own program, from the system folder or
  // else the Windows folder; empty when neither holds it.
  std::string SystemProgram(const std::string& name);
  // Plain or shredded, as the run says.
  bool DeleteExistingFile(const std::string& path, const std::string& shortName, uint32_t attributes);
  // DELTEXT's and DELEXML's file after the protect check; nothing when it
  // is protected, missing or unreadable (its line is written then).
  std::optional<std::string> ReadFileToEdit(const std::string& file);
  void CountEntry();
  char ProtectAnswer(const std::string& fullPath, const std::string& name);
  // The complete folders a statement's folder stands for (its wildcards
  // walked), spelt as the file system spells them.
  std::vector<std::string> ExpandFolders(const std::string& folder);
  std::vector<std::string> ExpandKeys(platform::RegistryRoot root, const std::string& key);
  void ExecuteRegistry(const PluginCommand& command);
  void ExecuteOnKey(const PluginCommand& command, platform::RegistryRoot root, const std::string& key);
  std::string ShownValueName(const std::string& prefix, const std::string& name) const;

  engine::PurgeEnvironment& env_;
  SystemPlaceholders placeholders_;
  bool testMode_;
  bool rot13_ = false;
  bool cancelNoted_ = false;
};

// The purge function "Run Plugins": every selected plugin in turn.
void PluginsRun(engine::PurgeEnvironment& env);

// The closing line of one plugin's run in the test window.
std::string EntriesForPluginLine(int count);

}  // namespace tidemark::plugins
