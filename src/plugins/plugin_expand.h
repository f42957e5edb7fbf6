// Placeholders in plugin lines: the "#...#" tokens, registry references
// "^ROOT:KEY[NAME]" and %NAME% environment variables, expanded until a pass
// changes nothing.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/shell.h"

namespace tidemark::plugins {

// What placeholders stand for.
class PlaceholderSource {
 public:
  virtual ~PlaceholderSource() = default;
  // Windows Vista or later ("TisVista" counts): "#USERSOFTWARE#" is the low-integrity key.
  virtual bool VistaOrLater() = 0;
  virtual std::optional<std::string> ComputerName() = 0;
  virtual std::optional<std::string> UserName() = 0;
  virtual std::optional<std::string> SpecialFolder(int csidl) = 0;
  // A string or expandable string value, not expanded.
  virtual std::optional<std::string> RegistryText(platform::RegistryRoot root, const std::string& key,
                                                  const std::string& name) = 0;
  // %NAME% references by Windows rules (an unknown one stays as written).
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

// The placeholders of this machine and user.
class SystemPlaceholders : public PlaceholderSource {
 public:
  SystemPlaceholders(platform::Shell& shell, platform::Registry& registry, bool vista)
      : shell_(shell), registry_(registry), vista_(vista) {}
  bool VistaOrLater() override { return vista_; }
  std::optional<std::string> ComputerName() override { return shell_.ComputerName(); }
  std::optional<std::string> UserName() override { return shell_.UserName(); }
  std::optional<std::string> SpecialFolder(int csidl) override;
  std::optional<std::string> RegistryText(platform::RegistryRoot root, const std::string& key,
                                          const std::string& name) override {
    return registry_.ReadString(root, key, name);
  }
  std::string ExpandEnvironment(const std::string& text) override { return shell_.ExpandEnvVars(text); }

 private:
  platform::Shell& shell_;
  platform::Registry& registry_;
  bool vista_;
};

// A pass replaces the first token, then the first registry reference, then
// the environment variables, upper-casing after each step; passes repeat
// until one changes nothing. An unknown token, a folder the shell cannot
// name and a missing or empty value stay as written. Nothing when the
// passes do not settle (a value that brings its own reference back).
std::optional<std::string> ExpandPluginLine(std::string_view line, PlaceholderSource& source);

constexpr int kMaxExpansionPasses = 32;
constexpr size_t kMaxExpandedLength = 32767;

}  // namespace tidemark::plugins
