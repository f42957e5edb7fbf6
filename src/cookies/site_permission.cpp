#include "cookies/site_permission.h"

namespace tidemark::cookies {

std::string PermissionChangeText(PermissionChange change) {
  switch (change) {
    case PermissionChange::Allow: return "Allow";
    case PermissionChange::Block: return "Block";
    case PermissionChange::Session: return "Session";
    case PermissionChange::Remove: break;
  }
  return {};
}

}  // namespace tidemark::cookies
