#include <gtest/gtest.h>

#include "ie/ie_permissions.h"
#include "support/sandbox_win.h"

namespace tidemark::ie {
namespace {

using cookies::PermissionChange;
constexpr auto kUser = platform::RegistryRoot::CurrentUser;

TEST(IEPermissions, EachChangeWritesOrDeletesTheDomainsKeyAndNoOther) {
  test::TempRegistryKey history;
  platform::Registry& registry = platform::RealRegistry();
  IEPermissions permissions(registry, history.path());
  const std::string caption = "Cookie:user@w1.news.site.test/", key = history.path() + "\\site.test";
  ASSERT_TRUE(registry.WriteDword(kUser, history.path() + "\\other.test", "", 3));
  EXPECT_EQ(permissions.Find("Cookie:user@other.test/") + "|" + permissions.Find(caption), "Other - 3|");
  EXPECT_TRUE(permissions.Set("site.test", PermissionChange::Remove));  // nothing to remove
  const std::pair<PermissionChange, std::string> steps[] = {{PermissionChange::Allow, "Allow"},
                                                            {PermissionChange::Block, "Block"},
                                                            {PermissionChange::Session, "Block"},
                                                            {PermissionChange::Remove, ""}};
  for (const auto& [change, shown] : steps) {
    EXPECT_TRUE(permissions.Set("site.test", change));
    EXPECT_EQ(permissions.Find(caption), shown);
    EXPECT_EQ(registry.KeyExists(kUser, key), !shown.empty());
  }
  EXPECT_EQ(registry.ReadDword(kUser, history.path() + "\\other.test", ""), 3u);
}

}  // namespace
}  // namespace tidemark::ie
