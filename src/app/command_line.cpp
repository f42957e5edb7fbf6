#include "app/command_line.h"

#include "platform/text.h"

namespace tidemark::app {

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> params;
  size_t at = 0;
  while (at < commandLine.size()) {
    while (at < commandLine.size() && static_cast<unsigned char>(commandLine[at]) <= ' ') ++at;
    if (at >= commandLine.size()) break;
    std::string param;
    bool quoted = false;
    for (; at < commandLine.size(); ++at) {
      char c = commandLine[at];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && static_cast<unsigned char>(c) <= ' ') {
        break;
      } else {
        param += c;
      }
    }
    params.push_back(std::move(param));
  }
  return params;
}

CommandLine::CommandLine(std::vector<std::string> params, std::string fullText)
    : params_(std::move(params)), fullText_(std::move(fullText)) {}

CommandLine CommandLine::FromFullText(std::string_view commandLine) {
  std::vector<std::string> params = SplitCommandLine(commandLine);
  if (!params.empty()) params.erase(params.begin());
  return CommandLine(std::move(params), std::string(commandLine));
}

bool CommandLine::ParamPresent(std::string_view word) const {
  for (const std::string& param : params_)
    if (SameText(param, word)) return true;
  return false;
}

std::string CommandLine::ParamValue(std::string_view name) const {
  std::string prefix = std::string(name) + "=";
  for (const std::string& param : params_)
    if (StartsWithNoCase(param, prefix)) return param.substr(prefix.size());
  return {};
}

}  // namespace tidemark::app
