#include "schedule/reboot_purge.h"

#include "platform/file_replace.h"
#include "platform/text.h"
#include "platform/text_lines.h"

namespace tidemark::schedule {
namespace {

constexpr const char* kFailedText = "The Purge at Reboot function failed.\r\n\r\nPlease notify the vendor.";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string NotStartedText(const std::string& program, const KeptError& kept) {
  const std::string consequence =
      "\r\n\r\nThe Internet Explorer index files will not be deleted at the next reboot.";
  if (kept.code == kErrorCancelled)
    return "The Purge at Reboot program was not started: the request for administrator rights was declined." +
           consequence;
  std::string text = "The Purge at Reboot program could not be started:\r\n" + program + "\r\n\r\nError-" +
                     std::to_string(kept.code);
  if (!kept.text.empty()) text += "  " + kept.text;
  return text + consequence;
}

}  // namespace

std::vector<std::string> BootListLines(const locations::IELocations& ie) {
  return {kBootListFirstLine,   ie.IECacheFolder,     ie.IECookiesFolder,  ie.IEHistoryFolder,
          ie.LowCacheFolder,    ie.LowCookiesFolder,  ie.LowHistoryFolder, ie.IEUserDataFolder,
          ie.LowUserDataFolder, ie.DomStoreFolder,    ie.LowDomStoreFolder};
}

std::string ElevationVerb(bool ntFamily, bool administrator) { return ntFamily && !administrator ? "runas" : "open"; }

bool RunElevatedAndWait(platform::Processes& processes, platform::Session& session, bool ntFamily,
                        const std::string& program, const std::string& directory, const std::string& parameters,
                        KeptError& kept) {
  std::string verb = ElevationVerb(ntFamily, ntFamily && session.IsAdministrator());
  if (processes.ShellRunAndWait(verb, program, directory, parameters)) return true;
  kept.code = processes.LastError();
  kept.text = session.ErrorText(kept.code);
  return false;
}

std::optional<RebootPurgeMessage> PurgeIndexAtReboot(const RebootPurgeInputs& inputs, const locations::IELocations& ie,
                                              platform::FileSystem& files, platform::Processes& processes,
                                              platform::Session& session) {
  std::string bootList = JoinPath(inputs.dataFolder, kBootListFile);
  if (!platform::ReplaceFileWhole(files, bootList, platform::JoinLines(BootListLines(ie))))
    return RebootPurgeMessage{"Tidemark -  Message", kFailedText};
  std::string program = JoinPath(inputs.programFolder, kRebootProgram);
  KeptError kept;
  if (RunElevatedAndWait(processes, session, inputs.ntFamily, Quoted(program), Quoted(inputs.programFolder),
                         Quoted(bootList), kept))
    return std::nullopt;
  return RebootPurgeMessage{"Tidemark  -  Message", NotStartedText(program, kept)};
}

}  // namespace tidemark::schedule
