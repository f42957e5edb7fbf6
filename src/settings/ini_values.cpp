#include "settings/ini_values.h"

#include "platform/text.h"

namespace tidemark::settings {

int ReadInteger(IniFile& ini, const std::string& section, const std::string& key, int fallback) {
  return ParseIntOr(ini.ReadString(section, key, ""), fallback);
}

int ReadChoice(IniFile& ini, const std::string& section, const std::string& key, int last, int fallback) {
  int value = ReadInteger(ini, section, key, fallback);
  return (value >= 0 && value <= last) ? value : fallback;
}

bool ReadBool(IniFile& ini, const std::string& section, const std::string& key, bool fallback) {
  return ReadInteger(ini, section, key, fallback ? 1 : 0) != 0;
}

bool WriteInteger(IniFile& ini, const std::string& section, const std::string& key, int value) {
  return ini.WriteString(section, key, std::to_string(value));
}

bool WriteBool(IniFile& ini, const std::string& section, const std::string& key, bool value) {
  return ini.WriteString(section, key, value ? "1" : "0");
}

}  // namespace tidemark::settings
