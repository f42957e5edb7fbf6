// Typed values in the settings file. Booleans are stored as "1"/"0" and read
// as integers (true when not 0); numbers are decimal text. A missing or
// non-numeric value gives the fallback.
#pragma once
#include <string>

#include "platform/ini_file.h"

namespace tidemark::settings {

using platform::IniFile;

int ReadInteger(IniFile& ini, const std::string& section, const std::string& key, int fallback);
// An integer within 0..last; anything else (missing, not a number, out
// of range) gives the fallback. For radio-group indexes.
int ReadChoice(IniFile& ini, const std::string& section, const std::string& key, int last, int fallback = 0);
bool ReadBool(IniFile& ini, const std::string& section, const std::string& key, bool fallback);

bool WriteInteger(IniFile& ini, const std::string& section, const std::string& key, int value);
bool WriteBool(IniFile& ini, const std::string& section, const std::string& key, bool value);

}  // namespace tidemark::settings
