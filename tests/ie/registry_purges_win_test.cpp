// The typed URLs and previous searches purges, over values a test writes
// below its own scratch key.
#include <gtest/gtest.h>

#include <algorithm>

#include "ie/ie_purges.h"
#include "platform/registry.h"
#include "support/purge_fixture_win.h"

namespace tidemark::ie {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class RegistryPurges : public ::testing::Test {
 protected:
  RegistryPurges() { f.ieKeys = test::IEKeysBelow(key.path()); }
  void Write(const std::string& subKey, const std::string& name, const std::string& data) {
    platform::RealRegistry().WriteString(RegistryRoot::CurrentUser, key.path() + "\\" + subKey, name, data);
  }
  Lines Names(const std::string& subKey) {
    return Sorted(platform::RealRegistry().ValueNames(RegistryRoot::CurrentUser, key.path() + "\\" + subKey));
  }

  test::TempRegistryKey key;
  test::PurgeFixture f;
};

TEST_F(RegistryPurges, TypedUrlsStartingWithUrlGoAndMsnUsersKeepTheirMruList) {
  Write("Internet Explorer\\Typedurls", "url1", "http://a.test/");
  Write("Internet Explorer\\Typedurls", "URL2", "http://b.test/");
  Write("Internet Explorer\\Typedurls", "Other", "kept");
  Write("MSN\\Typedurls", "Url1", "http://msn.test/");
  Write("MSN6\\Users\\bob\\TypedURLs", "url1", "http://bob.test/");
  Write("MSN6\\Users\\bob\\TypedURLs", "entry", "http://entry.test/");
  Write("MSN6\\Users\\bob\\TypedURLs", "MRUList", "ba");
  auto expected = [](const std::string& label) {
    return Sorted({label + "I.E.-url1 = http://a.test/", label + "I.E.-URL2 = http://b.test/",
                   label + "MSN-Url1 = http://msn.test/", "       ..Process MSN entries for - bob",
                   label + "MSN-url1 = http://bob.test/", label + "MSN-entry = http://entry.test/",
                   "  \"I.E. Typed URLs\" Function Completed. 5 entries Processed."});
  };

  f.state.previewMode = true;
  IETypedUrlsPurge(f.Environment());
  EXPECT_EQ(Sorted(f.Lines()), expected("     to delete - "));
  EXPECT_EQ(Names("Internet Explorer\\Typedurls"), (Lines{"Other", "URL2", "url1"}));

  f.r.sink.lines.clear();
  f.state.previewMode = false;
  IETypedUrlsPurge(f.Environment());
  EXPECT_EQ(Sorted(f.Lines()), expected("       deleted - "));
  EXPECT_EQ(Names("Internet Explorer\\Typedurls"), Lines{"Other"});
  EXPECT_TRUE(Names("MSN\\Typedurls").empty());
  EXPECT_EQ(Names("MSN6\\Users\\bob\\TypedURLs"), Lines{"MRUList"});

  f.r.sink.lines.clear();
  IETypedUrlsPurge(f.Environment());
  EXPECT_EQ(f.Lines(),
            (Lines{"    No Typed URLs were found to delete.", "  \"I.E. Typed URLs\" Function Completed. "}));
  EXPECT_FALSE(f.r.report.ErrorSeen());
}

TEST_F(RegistryPurges, PreviousSearchesGoAndAPreviewIsBypassed) {
  const std::string properties = "Internet Explorer\\Search\\SearchProperties\\";
  Write(properties + "{A1}", "PreviousSearches", "first");
  Write(properties + "{B2}", "PreviousSearches", "second");
  Write(properties + "{C3}", "Other", "kept");

  f.state.previewMode = true;
  IESearchesPurge(f.Environment());
  EXPECT_EQ(f.Lines(), Lines{"  \"I.E. Searches\" Function bypassed for Preview."});
  EXPECT_EQ(Names(properties + "{A1}"), Lines{"PreviousSearches"});

  f.r.sink.lines.clear();
  f.state.previewMode = false;
  IESearchesPurge(f.Environment());
  IESearchesPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"  \"I.E. Searches\" Function Completed.   2 \"I.E. Searches\" block Processed.",
                              "    No \"I.E. Searches\" found to delete.", "  \"I.E. Searches\" Function Completed."}));
  EXPECT_TRUE(Names(properties + "{A1}").empty());
  EXPECT_EQ(Names(properties + "{C3}"), Lines{"Other"});
}

}  // namespace
}  // namespace tidemark::ie
