// The help file and its topics: Tidemark.chm beside the program, topics
// named by their path inside it.
#pragma once
#include <string>
#include <string_view>

namespace tidemark::help {

inline constexpr std::string_view kHelpFileName = "Tidemark.chm";

inline constexpr std::string_view kTopicContents = "html\\purgover.htm";
inline constexpr std::string_view kTopicOptions = "html\\options.htm";
inline constexpr std::string_view kTopicConfigure = "html\\configure.htm";
inline constexpr std::string_view kTopicResults = "html\\preview.htm";
inline constexpr std::string_view kTopicProtect = "html\\protect.htm";
inline constexpr std::string_view kTopicPlugins = "html\\plugins.htm";
inline constexpr std::string_view kTopicTroubleShooting = "html\\trouble.htm";

// Every topic the program opens.
inline constexpr std::string_view kProgramTopics[] = {kTopicContents, kTopicOptions, kTopicConfigure, kTopicResults,
                                                      kTopicProtect,  kTopicPlugins, kTopicTroubleShooting};

// The help file of a program folder.
std::string HelpFilePath(const std::string& programFolder);

// What the HTML Help viewer opens for a topic: "file::/html/topic.htm".
std::string TopicAddress(const std::string& helpFile, std::string_view topic);

}  // namespace tidemark::help
