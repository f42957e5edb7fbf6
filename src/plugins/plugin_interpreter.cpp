#include "plugins/plugin_interpreter.h"

#include "platform/product.h"
#include "platform/text.h"
#include "plugins/plugin_files.h"

namespace tidemark::plugins {
namespace {

// Statements that cannot run raise the level as an unknown root does.
constexpr int kStatementErrorLevel = 5;

enum class LevelState { Normal, Accepted, Refused, ListOnly };

void DebugField(engine::PurgeEnvironment& env, const char* label, const std::string& value) {
  if (!value.empty()) env.Line(std::string(label) + value + "<<");
}

}  // namespace

PluginInterpreter::PluginInterpreter(engine::PurgeEnvironment& env, bool testMode)
    : env_(env), placeholders_(env.platform.shell, env.platform.registry, env.plugins.vista), testMode_(testMode) {}

bool PluginInterpreter::CancelNoted() {
  if (!env_.Cancelled()) return false;
  if (!cancelNoted_) env_.Line("*** Cancelled by operator.");
  cancelNoted_ = true;
  return true;
}

void PluginInterpreter::RunPlugin(const std::vector<std::string>& lines) {
  rot13_ = false;
  LevelState level = LevelState::Normal;
  if (testMode_) PluginEntryCount = 0;
  if (!env_.TempProtectReadable()) return;
  for (const std::string& raw : lines) {
    if (CancelNoted()) return;
    std::string line = UpperCase(raw);
    if (IsRot13Line(line)) rot13_ = true;
    if (level != LevelState::ListOnly)
      if (auto number = LevelOf(line)) level = *number <= kMaxPluginLevel ? LevelState::Accepted : LevelState::Refused;
    switch (level) {
      case LevelState::Accepted:
        env_.Line("* " + line);
        level = LevelState::Normal;
        continue;
      case LevelState::Refused:
        env_.Line("* " + line);
        env_.Line(std::string("Error - ") + kProductName + " is not programmed to support this Plugin level");
        env_.Line(std::string("        You need to upgrade ") + kProductName + " to the new version" +
                  " to process this Plugin");
        level = LevelState::ListOnly;
        continue;
      case LevelState::ListOnly:
        env_.Line(line);
        continue;
      case LevelState::Normal:
        break;
    }

    auto expansion = ExpandPluginLine(line, placeholders_);
    std::string expanded = expansion.value_or(line);
    PluginCommand command = ParsePluginCommand(expanded);
    if (command.Invalid()) {
      env_.Line(line);
      env_.Line(" -Error- Previous statement not processed - has invalid Type field");
      continue;
    }
    if (command.type == 'T') {
      if (env_.Detail() || testMode_) env_.Line("* " + line);
    } else {
      env_.Line(line);
      if (expanded != line) {
        env_.Line("      The above command expands to:");
        env_.Line(expanded);
      }
    }
    if (env_.plugins.debug) WriteDebugLines(command);
    if (command.type == 'T') continue;
    if (!expansion) {
      Refuse("its placeholders do not settle");
      continue;
    }
    if (auto reason = RefusalOf(command)) {
      Refuse(*reason);
      continue;
    }
    if (MatchesAllThroughPlaceholders(command, line)) {
      RefuseWith(" -Error- Previous statement not processed - its placeholders make the match string \"*\"");
      continue;
    }
    Execute(command);
  }
  if (testMode_) {
    env_.Line(EntriesForPluginLine(PluginEntryCount));
    env_.Line(" ");
  }
}

void PluginInterpreter::Refuse(const std::string& reason) {
  RefuseWith(" -Error- Previous statement not processed - " + reason);
}

void PluginInterpreter::RefuseWith(const std::string& errorLine) {
  env_.Line(errorLine);
  env_.RaiseError(kStatementErrorLevel);
}

void PluginInterpreter::WriteDebugLines(const PluginCommand& command) {
  env_.Line(std::string(" debug - FoldOrReg = ") + command.type);
  if (command.type == 'F') {
    DebugField(env_, " debug - FoldVerb =   >>", command.verbText);
    DebugField(env_, " debug - FoldDrive =  >>", command.drive);
    DebugField(env_, " debug - FoldFolder = >>", command.folder);
    DebugField(env_, " debug - FoldFile =   >>", command.file);
    DebugField(env_, " debug - FoldString = >>", command.text);
    DebugField(env_, " debug - FoldFilter = >>", command.filter);
    DebugField(env_, " debug - FoldType =   >>", command.folderType);
  } else if (command.type == 'R') {
    DebugField(env_, " debug - RegVerb =   >>", command.verbText);
    DebugField(env_, " debug - RegRoot =   >>", command.root);
    DebugField(env_, " debug - RegKey =    >>", command.key);
    DebugField(env_, " debug - RegValue =  >>", command.value);
    DebugField(env_, " debug - RegString = >>", command.string);
    DebugField(env_, " debug - RegType =   >>", command.match);
  }
}

std::string EntriesForPluginLine(int count) {
  if (count == 1) return "    1 - Entry processed for this Plugin";
  return "   " + std::to_string(count) + " - Entries processed for this Plugin";
}

void PluginsRun(engine::PurgeEnvironment& env) {
  const std::vector<std::string>& selected = env.plugins.selected;
  PluginInterpreter interpreter(env, false);
  if (selected.empty()) env.Line("    No Plugins are selected.");
  bool first = true;
  for (const std::string& name : selected) {
    if (interpreter.CancelNoted()) break;
    if (!first) env.Line(" ");
    first = false;
    env.Line("Process Plugin - " + name);
    // A hand-edited list may name other files, or files elsewhere.
    if (!IsPluginFileName(name)) {
      env.Line(" -Error- Not a Plugin file - " + name);
      env.RaiseError(kStatementErrorLevel);
      continue;
    }
    std::string path = JoinPath(env.located.firefox.PluginsFolder, name);
    auto lines = ReadPluginLines(env.platform.files, path);
    if (!lines) {
      env.Line(" -Error- Plugin file could not be read - " + path);
      env.RaiseError(kStatementErrorLevel);
      continue;
    }
    interpreter.RunPlugin(*lines);
  }
  env.WriteCompletion(
      {.function = "  Run Plugins", .gap = "  ", .one = " - Entry processed.", .many = " - Entries processed."},
      interpreter.PluginEntryCount);
}

}  // namespace tidemark::plugins
