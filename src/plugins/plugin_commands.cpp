// The executors of the plugin commands: files, text lines, XML elements,
// folders, programs, registry values and keys.
#include <string_view>

#include "cookies/temp_protect.h"
#include "engine/labels.h"
#include "platform/path_names.h"
#include "platform/text.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_interpreter.h"

namespace tidemark::plugins {
namespace {

using engine::ItemOutcome;
using platform::RegistryRoot;
using platform::RegistryType;

constexpr int kProgressPeriod = 10;

std::string WithoutBreak(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string text;
  for (const std::string& piece : pieces) text += piece;
  return text;
}

// "X:" or "\\server\share": the part of a full path no wildcard walk touches.
size_t RootLength(std::string_view folder) {
  if (StartsWith(folder, "\\\\")) {
    size_t share = folder.find('\\', 2);
    size_t end = share == std::string_view::npos ? share : folder.find('\\', share + 1);
    return end == std::string_view::npos ? folder.size() : end;
  }
  return folder.size() >= 2 && folder[1] == ':' ? 2 : 0;
}

std::string SubKey(const std::string& key, const std::string& name) { return key.empty() ? name : key + "\\" + name; }

}  // namespace

void PluginInterpreter::CountEntry() {
  ++PluginEntryCount;
  env_.UpdateProgress(kProgressPeriod);
}

char PluginInterpreter::ProtectAnswer(const std::string& fullPath, const std::string& name) {
  return cookies::MatchTempProtect(env_.tempProtect, fullPath, name, env_.platform.matcher);
}

void PluginInterpreter::Execute(const PluginCommand& command) {
  switch (command.verb) {
    case Verb::DelFile:
    case Verb::DelText:
    case Verb::DelExml:
    case Verb::DelFold:
      for (const std::string& folder : ExpandFolders(command.Folder())) {
        if (env_.Cancelled()) break;
        std::string path = JoinPath(folder, command.file);
        if (command.verb == Verb::DelText) DeleteTextLines(path, command.text);
        if (command.verb == Verb::DelExml) DeleteXmlElements(path, command.text);
        // The folder itself, held, never a link; a folder to empty is no root or system folder.
        if (command.verb == Verb::DelFile)
          if (engine::PurgeRoot root = env_.deletion.OpenRoot(folder, engine::RootUse::Reach); !root.path.empty())
            DeletePluginFile(JoinPath(root.path, command.file), "");
        if (command.verb == Verb::DelFold)
          if (engine::PurgeRoot root = env_.deletion.OpenRoot(folder, engine::RootUse::Empty))
            DeleteFolderFiles(root.path, command.filter, command.folderType, true);
      }
      break;
    case Verb::Execute:
    case Verb::ExeHide:
      RunProgram(command.Folder(), command.file, command.verb == Verb::Execute);
      break;
    case Verb::None:
      break;
    default:
      ExecuteRegistry(command);
  }
}

std::vector<std::string> PluginInterpreter::ExpandFolders(const std::string& folder) {
  platform::FileSystem& files = env_.platform.files;
  size_t rootLength = RootLength(folder);
  std::vector<std::string> folders = {folder.substr(0, rootLength)};
  for (const std::string& component : Split(folder.substr(rootLength), '\\')) {
    if (component.empty()) continue;
    std::vector<std::string> next;
    for (const std::string& current : folders) {
      if (!HasWildcards(component)) {
        // The folder as the file system spells it: a path in another case
        // costs a search of each folder on the way on some file systems.
        auto entry = component == "." || component == ".." ? std::nullopt : files.EntryOf(JoinPath(current, component));
        next.push_back(JoinPath(current, entry && entry->IsDirectory() ? entry->name : component));
        continue;
      }
      // A wildcard never leads through a junction or directory link.
      files.ListFolder(current, [&](const platform::DirEntry& entry) {
        if (entry.IsRealFolder() && entry.name != "." && entry.name != ".." && WildcardMatch(entry.name, component))
          next.push_back(JoinPath(current, entry.name));
        return true;
      });
    }
    folders = std::move(next);
  }
  return folders;
}

void PluginInterpreter::DeletePluginFile(const std::string& path, const std::string& shortName,
                                         std::optional<uint32_t> attributes) {
  platform::FileSystem& files = env_.platform.files;
  if (!attributes) attributes = files.Attributes(path);
  bool exists = attributes && !(*attributes & platform::kAttrDirectory);
  if (exists) CountEntry();
  char answer = ProtectAnswer(path, FileNameOf(path));
  if (answer == cookies::kTempProtect) {
    env_.Item(ItemOutcome::Success, engine::kPlugProtected, path);
  } else if (env_.Preview() || !exists) {
    env_.Item(ItemOutcome::Success, exists ? engine::kPlugToDelete : engine::kPlugFileNotPresent, path);
  } else if (DeleteExistingFile(path, shortName, *attributes)) {
    env_.Item(ItemOutcome::Success, engine::kPlugDeleted, path);
  } else {
    env_.Item(ItemOutcome::Failure, PluginErrorText(env_.deletion.LastDeleteError, answer), path);
  }
}

bool PluginInterpreter::DeleteExistingFile(const std::string& path, const std::string& shortName, uint32_t attributes) {
  if (env_.settings.keepFiles) return true;  // "KeepFiles": touches nothing
  if (attributes & platform::kAttrReadOnly)
    env_.platform.files.SetAttributes(path, attributes & ~platform::kAttrReadOnly);
  engine::DeletionEngine& deletion = env_.deletion;
  if (!env_.flags.secureErase) return deletion.PlainDeleteFile(path, shortName);
  char mode = env_.settings.shredMode;
  return deletion.ShredFile(path, mode, mode == '0' ? 0 : env_.settings.repeats);
}

std::optional<std::string> PluginInterpreter::ReadFileToEdit(const std::string& file) {
  char answer = ProtectAnswer(file, FileNameOf(file));
  if (answer == cookies::kTempProtect) {
    env_.Item(ItemOutcome::Success, engine::kPlugProtected, file);
    return std::nullopt;
  }
  platform::FileSystem& files = env_.platform.files;
  auto content = files.ReadFile(file);
  if (!content) {
    uint32_t error = files.LastError();
    if (error == engine::error_code::kFileNotFound || error == engine::error_code::kPathNotFound)
      env_.Item(ItemOutcome::Success, engine::kPlugFileNotPresent, file);
    else
      env_.Item(ItemOutcome::Failure, PluginErrorText(error, answer), file);
  }
  return content;
}

void PluginInterpreter::DeleteTextLines(const std::string& file, const std::string& text) {
  auto content = ReadFileToEdit(file);
  if (!content) return;
  std::vector<std::string> lines = SplitKeepingBreaks(*content);
  std::vector<std::string> removed;
  for (size_t i = lines.size(); i-- > 0;) {
    if (env_.Cancelled()) break;
    std::string upper = UpperCase(WithoutBreak(lines[i]));
    if (upper.find(text) == std::string::npos) continue;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    removed.push_back(upper);
    CountEntry();
  }
  // Lines are reported deleted only once the file holds the change.
  if (!env_.Preview() && !removed.empty()) {
    if (ReplaceFileContent(env_.platform.files, file, Joined(lines)) != 0) {
      env_.Item(ItemOutcome::Failure, engine::kPlugNotUpdated, file);
      removed.clear();
    }
  }
  for (const std::string& line : removed)
    env_.Item(ItemOutcome::Success, env_.Preview() ? engine::kPlugToDelete : engine::kPlugDeleted, line);
  CancelNoted();
}

void PluginInterpreter::DeleteXmlElements(const std::string& file, const std::string& name) {
  auto content = ReadFileToEdit(file);
  if (!content) return;
  XmlElements elements = FindXmlElements(*content, name);
  if (elements.unclosed) env_.Line(" -Error- XML element not closed - " + file);
  for (size_t i = 0; i < elements.found.size(); ++i) CountEntry();
  if (!env_.Preview() && !elements.found.empty() &&
      ReplaceFileContent(env_.platform.files, file, CutXmlElements(*content, elements.found)) != 0) {
    env_.Item(ItemOutcome::Failure, engine::kPlugNotUpdated, file);
    return;
  }
  for (const TextSpan& element : elements.found)
    env_.Item(ItemOutcome::Success, env_.Preview() ? engine::kPlugToDelete : engine::kPlugDeleted,
              ShownElement(std::string_view(*content).substr(element.start, element.end - element.start)));
}

// The caller holds folder; each sub-folder is held in turn while its own
// entries go.
void PluginInterpreter::DeleteFolderFiles(const std::string& folder, const std::string& mask, const std::string& type,
                                          bool top) {
  const bool removeFolders = type == "DS" || type == "OD";
  const bool subFolders = removeFolders || type == "PS" || type == "OR";
  platform::FileSystem& files = env_.platform.files;
  auto unreachable = [&](const platform::DirEntry& entry) {
    std::string path = JoinPath(folder, entry.name);
    env_.Item(ItemOutcome::Failure, PluginErrorText(engine::error_code::kInvalidName, ProtectAnswer(path, entry.name)),
              path);
  };
  if (!(top && (type == "OD" || type == "OR"))) {
    std::vector<platform::DirEntry> listed;
    env_.deletion.ListHeldFolder(folder, mask, [&](const platform::DirEntry& entry) {
      if (CancelNoted()) return false;
      if (!entry.IsDirectory() && MaskExtensionFits(mask, entry.name)) listed.push_back(entry);
      return true;
    });
    for (const platform::DirEntry& file : listed) {
      if (env_.Cancelled()) return;
      if (auto name = platform::ReachableName(file))
        DeletePluginFile(JoinPath(folder, *name), "", file.attributes);
      else
        unreachable(file);
    }
  }
  if (!subFolders || env_.Cancelled()) return;
  std::vector<platform::DirEntry> subs;
  files.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (CancelNoted()) return false;
    if (entry.IsDirectory() && !StartsWith(entry.name, ".")) subs.push_back(entry);
    return true;
  });
  for (const platform::DirEntry& sub : subs) {
    if (env_.Cancelled()) return;
    std::optional<std::string> name = platform::ReachableName(sub);
    if (!name) {
      unreachable(sub);
      continue;
    }
    std::string path = JoinPath(folder, *name);
    // A protected folder is left whole.
    if (ProtectAnswer(path + "\\", "") == cookies::kTempProtect) {
      if (removeFolders) CountEntry();
      env_.Item(ItemOutcome::Success, engine::kPlugProtected, path);
      continue;
    }
    // A junction or directory link is never entered; only the link itself may go.
    engine::SubFolder entered = env_.deletion.EnterSubFolder(path, sub.attributes);
    if (!entered.held && !entered.link) continue;
    if (entered.held) DeleteFolderFiles(path, mask, type, false);
    entered.held.reset();
    if (removeFolders && !env_.Cancelled()) RemovePluginFolder(path, entered.link);
  }
}

void PluginInterpreter::RemovePluginFolder(const std::string& folder, bool link) {
  CountEntry();
  char answer = ProtectAnswer(folder + "\\", "");
  platform::FileSystem& files = env_.platform.files;
  if (answer == cookies::kTempProtect)
    env_.Item(ItemOutcome::Success, engine::kPlugProtected, folder);
  else if (env_.Preview())
    env_.Item(ItemOutcome::Success, engine::kPlugToDelete, folder);
  else if (link ? files.RemoveFolderLink(folder) : files.RemoveFolder(folder))
    env_.Item(ItemOutcome::Success, engine::kPlugDeleted, folder);
  else
    env_.Item(ItemOutcome::Failure, PluginErrorText(files.LastError(), answer), folder);
}

void PluginInterpreter::RunProgram(const std::string& folder, const std::string& file, bool show) {
  std::string path = JoinPath(folder, file);
  auto program = ParseProgramLine(path);
  if (!program)
    return RefuseWith(" -Error- Previous statement not processed - program path with blanks is not in double quotes");
  if (program->place == ProgramPlace::Relative) return Refuse("path is not a full path");
  CountEntry();
  if (env_.Preview()) {
    env_.Line(std::string(engine::kPlugToExecute) + path);
    return;
  }
  std::string application =
      program->place == ProgramPlace::SystemFolders ? SystemProgram(program->program) : program->program;
  // The shown program is waited for; the windows stay alive meanwhile.
  std::function<void()> whileWaiting;
  if (show) whileWaiting = [this] { env_.Pump(); };
  bool started =
      !application.empty() && env_.platform.processes.Start(application, program->arguments, !show, whileWaiting);
  env_.Line(std::string(started ? engine::kPlugExecuted : engine::kPlugExecFailed) + path);
}

std::string PluginInterpreter::SystemProgram(const std::string& name) {
  platform::Shell& shell = env_.platform.shell;
  for (const std::string& folder : {shell.SystemFolder(), shell.WindowsFolder()}) {
    std::string program = JoinPath(folder, name);
    if (!folder.empty() && env_.platform.files.FileExists(program)) return program;
  }
  return {};
}

void PluginInterpreter::ExecuteRegistry(const PluginCommand& command) {
  auto root = ParseRoot(command.root);
  if (!root) {
    env_.RaiseError(5);
    env_.Line(std::string(engine::kPlugInvalidRoot) + command.key);
    return;
  }
  bool expanded = HasWildcards(command.key);
  bool deletesKeys = command.verb == Verb::Del1Key || command.verb == Verb::DelKeys;
  for (const std::string& key : ExpandKeys(*root, command.key)) {
    if (env_.Cancelled()) break;
    if (expanded) env_.Line("    key=" + command.root + ":" + key);
    if (deletesKeys && IsSharedRegistryKey(*root, key))
      RefuseWith(" -Error- Registry key shared by many programs not processed - " + command.root + ":" + key);
    else
      ExecuteOnKey(command, *root, key);
  }
}

std::vector<std::string> PluginInterpreter::ExpandKeys(RegistryRoot root, const std::string& key) {
  if (!HasWildcards(key)) return {key};
  std::vector<std::string> keys = {""};
  for (const std::string& component : Split(key, '\\')) {
    if (component.empty()) continue;
    std::vector<std::string> next;
    for (const std::string& current : keys) {
      if (!HasWildcards(component)) {
        next.push_back(SubKey(current, component));
        continue;
      }
      for (const std::string& name : env_.platform.registry.SubKeys(root, current))
        if (WildcardMatch(name, component)) next.push_back(SubKey(current, name));
    }
    keys = std::move(next);
  }
  return keys;
}

void PluginInterpreter::ExecuteOnKey(const PluginCommand& command, RegistryRoot root, const std::string& key) {
  platform::Registry& registry = env_.platform.registry;
  if (command.verb == Verb::Del1Val) {
    if (!DeleteRegValue(root, key, "", command.value))
      env_.Item(ItemOutcome::Success, engine::kPlugValueNotPresent, ShownValueName("", command.value));
    return;
  }
  if (command.verb == Verb::Del1Key) {
    if (!DeleteRegKeyTree(root, key)) env_.Item(ItemOutcome::Success, engine::kPlugKeyNotPresent, key);
    return;
  }
  if (!registry.KeyExists(root, key)) {
    env_.Item(ItemOutcome::Success, engine::kPlugKeyNotPresent, key);
    return;
  }
  auto matches = [&](const std::string& name) { return NameMatches(UpperCase(name), command.string, command.match); };
  if (command.verb == Verb::DelVals) {
    for (const std::string& name : registry.ValueNames(root, key))
      if (matches(name)) DeleteRegValue(root, key, "", UpperCase(name));
  } else if (command.verb == Verb::DelKeys) {
    for (const std::string& sub : registry.SubKeys(root, key))
      if (matches(sub)) DeleteRegKeyTree(root, SubKey(key, sub));
  } else if (command.verb == Verb::DelSkvs) {
    for (const std::string& sub : registry.SubKeys(root, key)) {
      std::string subKey = SubKey(key, sub);
      for (const std::string& name : registry.ValueNames(root, subKey))
        if (matches(name)) DeleteRegValue(root, subKey, sub, UpperCase(name));
    }
  }
}

std::string PluginInterpreter::ShownValueName(const std::string& prefix, const std::string& name) const {
  std::string shown = prefix.empty() ? name : prefix + "[" + name + "]";
  return rot13_ ? Rot13(shown) : shown;
}

bool PluginInterpreter::DeleteRegValue(RegistryRoot root, const std::string& key, const std::string& prefix,
                                       const std::string& name) {
  platform::Registry& registry = env_.platform.registry;
  auto value = registry.ReadValue(root, key, name);
  if (!value) return false;
  std::string description;
  if (value->type == RegistryType::String || value->type == RegistryType::ExpandString)
    description = " - " + value->data.substr(0, value->data.find('\0'));
  else
    description = " - Type = " + RegistryTypeName(static_cast<uint32_t>(value->type));
  std::string shown = ShownValueName(prefix, name) + description;
  if (env_.Preview())
    env_.Item(ItemOutcome::Success, engine::kPlugToDeleteVal, shown);
  else if (registry.DeleteValue(root, key, name))
    env_.Item(ItemOutcome::Success, engine::kPlugValDeleted, shown);
  else
    env_.Item(ItemOutcome::Failure, engine::kPlugDelValFails, shown);
  CountEntry();
  return true;
}

bool PluginInterpreter::DeleteRegKeyTree(RegistryRoot root, const std::string& key) {
  platform::Registry& registry = env_.platform.registry;
  if (!registry.KeyExists(root, key)) return false;
  for (const std::string& sub : registry.SubKeys(root, key)) {
    if (env_.Cancelled()) return true;
    DeleteRegKeyTree(root, SubKey(key, sub));
  }
  if (env_.Cancelled()) return true;  // the key keeps what was not reached
  if (env_.Preview())
    env_.Item(ItemOutcome::Success, engine::kPlugToDeleteKey, key);
  else if (registry.DeleteKey(root, key))
    env_.Item(ItemOutcome::Success, engine::kPlugKeyDeleted, key);
  else
    env_.Item(ItemOutcome::Failure, engine::kPlugDelKeyFails, key);
  CountEntry();
  return true;
}

}  // namespace tidemark::plugins
