#include "ie/ie_permissions.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace tidemark::ie {
namespace {

constexpr uint32_t kAllowSetting = 1, kBlockSetting = 5;

bool IsHostCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// "*", "-" and digits read as "#", runs of "#" as one: "#.#.#.#" is an address.
bool IsNumericHost(std::string_view host) {
  std::string shape;
  for (char c : host) {
    bool digit = c == '*' || c == '-' || (c >= '0' && c <= '9');
    if (!digit && c != '.') return false;
    if (!digit)
      shape.push_back(c);
    else if (shape.empty() || shape.back() != '#')
      shape.push_back('#');
  }
  return shape == "#.#.#.#";
}

}  // namespace

std::optional<std::string> IEPermissionDomain(std::string_view address) {
  size_t at = address.find('@');
  std::string host = LowerCase(at == std::string_view::npos ? address : address.substr(at + 1));
  bool schemeCut = false;
  for (const char* scheme : {"http://", "https://", "ftp://", "file:///"})
    if (StartsWith(host, scheme)) {
      host.erase(0, std::string_view(scheme).size());
      schemeCut = true;
      break;
    }
  if (!schemeCut)
    if (size_t scheme = host.find("://"); scheme != std::string::npos) host.erase(0, scheme + 3);
  host = host.substr(0, host.find_first_of("?#"));
  host = host.substr(0, host.find('/'));
  if (IsNumericHost(host)) return host;

  std::string_view name = host;
  if (StartsWith(name, "*.")) name.remove_prefix(2);
  if (name.empty()) return std::nullopt;
  for (char c : name)
    if (!IsHostCharacter(c)) return std::nullopt;

  std::vector<std::string> labels = Split(host, '.');
  auto label = [&](size_t fromRight) {
    return fromRight < labels.size() ? labels[labels.size() - 1 - fromRight] : std::string();
  };
  const std::string l1 = label(0), l2 = label(1), l3 = label(2);
  size_t keep;
  if (l1.size() >= 3 || (l1.size() == 2 && l2.size() >= 3))
    keep = 2;
  else if (l1.size() == 1 || l1.size() == 2)
    keep = 3;
  else
    return std::nullopt;
  keep = std::min(keep, labels.size());
  std::string domain;
  for (size_t i = labels.size() - keep; i < labels.size(); ++i) domain += (domain.empty() ? "" : ".") + labels[i];
  if (StartsWith(domain, "*.")) domain.erase(0, 2);
  return domain;
}

std::string IEPermissions::Find(std::string_view address) {
  std::optional<std::string> domain = IEPermissionDomain(address);
  if (!domain) return {};
  std::optional<uint32_t> value =
      registry_.ReadDword(platform::RegistryRoot::CurrentUser, historyKey_ + "\\" + *domain, "");
  if (!value) return {};
  if (*value == kAllowSetting) return "Allow";
  if (*value == kBlockSetting) return "Block";
  return "Other - " + std::to_string(*value);
}

bool IEPermissions::Set(const std::string& domain, cookies::PermissionChange change) {
  const std::string key = historyKey_ + "\\" + domain;
  const auto root = platform::RegistryRoot::CurrentUser;
  switch (change) {
    case cookies::PermissionChange::Allow: return registry_.WriteDword(root, key, "", kAllowSetting);
    case cookies::PermissionChange::Block: return registry_.WriteDword(root, key, "", kBlockSetting);
    case cookies::PermissionChange::Remove: return !registry_.KeyExists(root, key) || registry_.DeleteKey(root, key);
    case cookies::PermissionChange::Session: break;
  }
  return true;
}

}  // namespace tidemark::ie
