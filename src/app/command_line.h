// The program's command line: parameters split as the system's start-up code
// does, compared case-insensitively.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::app {

// Splits a full command line (program name first) into its parameters:
// blanks separate, double quotes group and are dropped.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

class CommandLine {
 public:
  CommandLine() = default;
  // params: the parameters after the program name.
  explicit CommandLine(std::vector<std::string> params, std::string fullText = {});
  static CommandLine FromFullText(std::string_view commandLine);

  // One parameter equals the word, whole and ignoring case.
  bool ParamPresent(std::string_view word) const;
  // The rest of the first parameter that starts with name + "=", or empty.
  std::string ParamValue(std::string_view name) const;
  const std::vector<std::string>& params() const { return params_; }
  // The command line as the system gave it.
  const std::string& fullText() const { return fullText_; }

 private:
  std::vector<std::string> params_;
  std::string fullText_;
};

}  // namespace tidemark::app
