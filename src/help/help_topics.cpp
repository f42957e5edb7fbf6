#include "help/help_topics.h"

#include <algorithm>

#include "platform/text.h"

namespace tidemark::help {

std::string HelpFilePath(const std::string& programFolder) { return JoinPath(programFolder, kHelpFileName); }

std::string TopicAddress(const std::string& helpFile, std::string_view topic) {
  std::string inside(topic);
  std::replace(inside.begin(), inside.end(), '\\', '/');
  return helpFile + "::/" + inside;
}

}  // namespace tidemark::help
