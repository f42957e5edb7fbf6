#include "ie/ie_permissions.h"

#include <gtest/gtest.h>

namespace tidemark::ie {
namespace {

TEST(IEPermissionDomain, IsTheSiteIEFilesItsDecisionUnder) {
  const std::optional<std::string> none;
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"Cookie:user@w1.news.site.test/", "site.test"},   {"Cookie:user@a.b.co.uk/path", "b.co.uk"},
      {"Cookie:user@10.1.2.3/", "10.1.2.3"},              {"Cookie:user@192.168.0.1:8080/", none},  // a port
      {"Cookie:user@Shop.Example.COM/cart?x=1", "example.com"}, {"Cookie:user@https://deep.site.de/a#b", "site.de"},
      {"Cookie:user@x://host.museum/", "host.museum"},    {"Cookie:user@*.site.test/", "site.test"},
      {"Cookie:user@*.co.uk/", "co.uk"},                  {"Cookie:user@a.b.c.x/", "b.c.x"},
      {"Cookie:user@localhost/", "localhost"},            {"Cookie:user@uk/", "uk"},
      {"Cookie:user@bad_host.test/", none},               {"Cookie:user@we ird.test/", none},
      {"Cookie:user@site.test./", none},                  {"Cookie:user@/", none},
      {"no-at-sign.test", "no-at-sign.test"},
  };
  for (const auto& [address, domain] : cases) EXPECT_EQ(IEPermissionDomain(address), domain) << address;
}

}  // namespace
}  // namespace tidemark::ie
