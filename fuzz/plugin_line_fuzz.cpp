// A plugin line over arbitrary bytes: expanded (placeholders of a made-up
// machine whose values refer to each other, also in loops) and parsed; the
// same bytes as a text file for DELTEXT's line split and DELEXML's element
// cut. Besides the sanitizers' checks, every run checks what the
// interpreter and the executors rely on.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "platform/path_names.h"
#include "platform/text.h"
#include "plugins/plugin_expand.h"
#include "plugins/plugin_syntax.h"

namespace {

using namespace tidemark;
using namespace tidemark::plugins;

// Values that hold further placeholders, one of them its own reference.
class Machine : public PlaceholderSource {
 public:
  bool VistaOrLater() override { return true; }
  std::optional<std::string> ComputerName() override { return "desk#user#"; }
  std::optional<std::string> UserName() override { return "ann"; }
  std::optional<std::string> SpecialFolder(int csidl) override {
    if (csidl == platform::csidl::kAppData) return "C:\\Users\\%USER%\\AppData";
    return std::nullopt;
  }
  std::optional<std::string> RegistryText(platform::RegistryRoot, const std::string& key, const std::string&) override {
    if (key == "A") return "^HKCU:B[V]";
    if (key == "B") return "#APPDATA#";
    if (key == "LOOP") return "x^HKCU:LOOP[V]";
    return std::nullopt;
  }
  // %USER% and %HOME%, left to right in one sweep, as Windows does.
  std::string ExpandEnvironment(const std::string& text) override {
    std::string out;
    for (size_t at = 0; at < text.size();) {
      if (text.compare(at, 6, "%USER%") == 0) {
        out += "Ann";
        at += 6;
      } else if (text.compare(at, 6, "%HOME%") == 0) {
        out += "C:\\%HOME%";
        at += 6;
      } else {
        out += text[at++];
      }
    }
    return out;
  }
};

bool Within(std::string_view line, const std::string& field) { return line.find(field) != std::string_view::npos; }

void CheckLine(std::string_view bytes) {
  Machine machine;
  auto expanded = ExpandPluginLine(bytes, machine);
  if (expanded) {
    Require(*expanded == UpperCase(*expanded), "an expanded line is upper case");
    Require(ExpandPluginLine(*expanded, machine) == expanded, "an expanded line expands to itself");
  }
  std::string line = expanded.value_or(UpperCase(bytes));
  PluginCommand command = ParsePluginCommand(line);
  if (command.type == 'T') {
    Require(command.verb == Verb::None, "a text line has no verb");
    return;
  }
  Require(line.size() >= 10 && line.compare(0, 7, command.verbText) == 0 && line[7] == '=', "the verb starts the line");
  for (const std::string* field : {&command.drive, &command.folder, &command.file, &command.filter, &command.root,
                                   &command.key, &command.value})
    Require(Within(line, *field), "fields are taken from the line");
  if (!command.Invalid() && !RefusalOf(command)) {
    bool program = command.verb == Verb::Execute || command.verb == Verb::ExeHide;
    Require(command.type != 'F' || program || platform::IsFullPath(command.path),
            "a file command that runs has a full path");
    Require(command.type != 'R' || !command.key.empty(), "a registry command that runs has a key");
  }
}

void CheckText(std::string_view text) {
  std::string joined;
  for (const std::string& piece : SplitKeepingBreaks(text)) joined += piece;
  Require(joined == text, "lines joined give the text back");

  std::string name(text.substr(0, std::min<size_t>(3, text.size())));
  XmlElements elements = FindXmlElements(text, name.empty() ? "H" : name);
  size_t previousEnd = 0;
  for (const TextSpan& element : elements.found) {
    Require(previousEnd <= element.start && element.start < element.end && element.end <= text.size(),
            "elements are in order, apart and inside the text");
    Require(text[element.start] == '<' && text[element.end - 1] == '>', "an element is a whole tag run");
    previousEnd = element.end;
  }
  Require(CutXmlElements(text, elements.found).size() <= text.size(), "cutting never adds text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckLine(bytes);
  CheckText(bytes);
  return 0;
}
