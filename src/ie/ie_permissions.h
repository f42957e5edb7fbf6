// Internet Explorer's per-site cookie decisions: one registry key per domain
// under Internet Settings\P3P\History, its default value 1 (Allow) or 5
// (Block); no key is no decision.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "cookies/site_permission.h"
#include "platform/registry.h"

namespace tidemark::ie {

inline constexpr const char* kP3PHistoryKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\P3P\\History";

// The domain IE files a cookie manager caption ("Cookie:user@host/path")
// under: a numeric host is its own domain; otherwise the last two labels, or
// three where the last is short (country forms such as "co.uk"). Nothing for
// a host of other characters.
std::optional<std::string> IEPermissionDomain(std::string_view address);

class IEPermissions {
 public:
  // historyKey: below HKEY_CURRENT_USER (tests pass a scratch key).
  explicit IEPermissions(platform::Registry& registry, std::string historyKey = kP3PHistoryKey)
      : registry_(registry), historyKey_(std::move(historyKey)) {}

  // FindIEPermission: "Allow", "Block", "Other - " + value, or empty.
  std::string Find(std::string_view address);
  // SetIEPermission: Allow and Block write the value, Remove deletes the
  // key, Session changes nothing. False when the registry refused.
  bool Set(const std::string& domain, cookies::PermissionChange change);

 private:
  platform::Registry& registry_;
  std::string historyKey_;
};

}  // namespace tidemark::ie
