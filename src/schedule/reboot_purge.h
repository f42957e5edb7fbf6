// Purge at next reboot, the main window's side: the boot list "PurgBoot.dat"
// with the Internet Explorer folders, and the start of the reboot program
// "PurgIndx.exe" (elevated where the user is no administrator).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "locations/ie_locations.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/session.h"

namespace tidemark::schedule {

constexpr const char* kBootListFile = "PurgBoot.dat";
constexpr const char* kRebootProgram = "PurgIndx.exe";
constexpr const char* kBootListFirstLine = "Tidemark";
constexpr uint32_t kErrorCancelled = 1223;  // the user declined the administrator prompt

// The eleven lines: the product name, then the IE folders as located (a
// folder not found as it is held).
std::vector<std::string> BootListLines(const locations::IELocations& ie);

// "runas" on the NT family when the user is no administrator, else "open".
std::string ElevationVerb(bool ntFamily, bool administrator);

// The error kept when a start failed: the code and the system's text for it.
struct KeptError {
  uint32_t code = 0;
  std::string text;
};

// Starts the program through the shell and waits until it ends; on failure
// keeps the error and answers false.
bool RunElevatedAndWait(platform::Processes& processes, platform::Session& session, bool ntFamily,
                        const std::string& program, const std::string& directory, const std::string& parameters,
                        KeptError& kept);

struct RebootPurgeInputs {
  std::string programFolder;
  std::string dataFolder;
  bool ntFamily = true;
};

struct RebootPurgeMessage {
  std::string caption;
  std::string text;
};

// The menu action: writes the boot list whole (a new file that then replaces
// the old one), then starts the reboot program on it with all three strings
// quoted. Answers the message to show the user (the list could not be
// written; the program could not be started, or the user declined the
// administrator prompt), or nothing when the reboot program ran.
std::optional<RebootPurgeMessage> PurgeIndexAtReboot(const RebootPurgeInputs& inputs, const locations::IELocations& ie,
                                              platform::FileSystem& files, platform::Processes& processes,
                                              platform::Session& session);

}  // namespace tidemark::schedule
