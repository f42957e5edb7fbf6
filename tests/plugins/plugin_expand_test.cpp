// Placeholder expansion over a made-up machine: tokens, registry
// references and environment variables, repeated until nothing changes.
#include "plugins/plugin_expand.h"

#include <gtest/gtest.h>

#include <map>

namespace tidemark::plugins {
namespace {

using platform::RegistryRoot;

std::string Key(RegistryRoot root, const std::string& key, const std::string& name) {
  return std::to_string(static_cast<int>(root)) + ":" + key + "[" + name;
}

class FakeMachine : public PlaceholderSource {
 public:
  bool VistaOrLater() override { return vista; }
  std::optional<std::string> ComputerName() override { return "Desk"; }
  std::optional<std::string> UserName() override { return "Ann"; }
  std::optional<std::string> SpecialFolder(int csidl) override { return Find(folders, csidl); }
  std::optional<std::string> RegistryText(RegistryRoot root, const std::string& key, const std::string& name) override {
    return Find(values, Key(root, key, name));
  }
  // The first %NAME% of each variable below; others stay as written.
  std::string ExpandEnvironment(const std::string& text) override {
    std::string out = text;
    for (const auto& [name, value] : variables)
      if (size_t at = out.find("%" + name + "%"); at != std::string::npos) out.replace(at, name.size() + 2, value);
    return out;
  }
  template <typename Map, typename Name>
  static std::optional<std::string> Find(const Map& map, const Name& name) {
    auto found = map.find(name);
    return found == map.end() ? std::nullopt : std::optional<std::string>(found->second);
  }

  bool vista = false;
  std::map<int, std::string> folders = {{26, "C:\\Users\\Ann\\AppData\\Roaming"}, {5, "C:\\Users\\Ann\\Documents"}};
  std::map<std::string, std::string> values;
  std::map<std::string, std::string> variables = {{"TEMP", "C:\\Users\\Ann\\Temp"}};
};

TEST(PluginExpansion, TokensVariablesAndReferencesInOneCall) {
  FakeMachine machine;
  machine.values[Key(RegistryRoot::CurrentUser, "SOFTWARE\\APP", "DIR")] = "%TEMP%\\App";
  EXPECT_EQ(ExpandPluginLine("DelFile=C:\\Users\\#USER#\\%TEMP%.txt", machine), "DELFILE=C:\\USERS\\ANN\\C:\\USERS\\ANN\\TEMP.TXT");
  EXPECT_EQ(ExpandPluginLine("DELFOLD=#APPDATA#\\X\\#DOCUMENTS#[*.*]IS", machine),
            "DELFOLD=C:\\USERS\\ANN\\APPDATA\\ROAMING\\X\\C:\\USERS\\ANN\\DOCUMENTS[*.*]IS");
  // The reference's text holds a variable, expanded in the same pass.
  EXPECT_EQ(ExpandPluginLine("DELFILE=^HKCU:\\Software\\App[Dir]\\log.txt", machine),
            "DELFILE=C:\\USERS\\ANN\\TEMP\\APP\\LOG.TXT");
  EXPECT_EQ(ExpandPluginLine("#COMPUTER# #USER#", machine), "DESK ANN");
}

TEST(PluginExpansion, UserSoftwareFollowsTheWindowsVersion) {
  FakeMachine machine;
  EXPECT_EQ(ExpandPluginLine("DEL1KEY=HKCU:#USERSOFTWARE#\\APP", machine), "DEL1KEY=HKCU:SOFTWARE\\APP");
  machine.vista = true;
  EXPECT_EQ(ExpandPluginLine("DEL1KEY=HKCU:#USERSOFTWARE#\\APP", machine),
            "DEL1KEY=HKCU:SOFTWARE\\APPDATALOW\\SOFTWARE\\APP");
}

TEST(PluginExpansion, WhatCannotBeReplacedStaysAsWritten) {
  FakeMachine machine;
  machine.values[Key(RegistryRoot::CurrentUser, "EMPTY", "V")] = "";
  for (const char* line : {"DELFILE=#PICTURES#\\A.JPG",         // the shell has no such folder here
                           "DELFILE=#NOSUCH#\\A.TXT",           // not a token
                           "DELFILE=^HKCU:MISSING[V]\\A.TXT",   // no such value
                           "DELFILE=^HKCU:EMPTY[V]\\A.TXT",     // empty value
                           "DELFILE=^HKXX:KEY[V]\\A.TXT",       // not a root
                           "DELFILE=%NOSUCHVAR%\\A.TXT"})
    EXPECT_EQ(ExpandPluginLine(line, machine), line) << line;
  // Only the token at the first "#" is looked at.
  EXPECT_EQ(ExpandPluginLine("DELTEXT=#X#\\#USER#", machine), "DELTEXT=#X#\\#USER#");
}

TEST(PluginExpansion, RepeatsUntilNothingChangesOrGivesUp) {
  FakeMachine machine;
  machine.values[Key(RegistryRoot::LocalMachine, "A", "NEXT")] = "^HKLM:B[NEXT]";
  machine.values[Key(RegistryRoot::LocalMachine, "B", "NEXT")] = "#APPDATA#";
  EXPECT_EQ(ExpandPluginLine("DELFILE=^HKLM:A[NEXT]\\#USER#.TXT", machine),
            "DELFILE=C:\\USERS\\ANN\\APPDATA\\ROAMING\\ANN.TXT");
  // A value that brings its own reference back, a variable that grows: nothing.
  machine.values[Key(RegistryRoot::CurrentUser, "LOOP", "V")] = "X^HKCU:LOOP[V]";
  EXPECT_FALSE(ExpandPluginLine("DELFILE=^HKCU:LOOP[V]", machine));
  machine.variables["GROW"] = "%GROW%%GROW%";
  EXPECT_FALSE(ExpandPluginLine("DELFILE=%GROW%", machine));
}

}  // namespace
}  // namespace tidemark::plugins
