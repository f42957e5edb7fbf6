#include <gtest/gtest.h>

#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"

namespace tidemark::locations {
namespace {

TEST(ProfilesIni, TheDefaultProfileAndItsPath) {
  const std::tuple<const char*, int, const char*, bool> cases[] = {
      // The last section saying Default=1 wins over the first profile.
      {"[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
       "Path=Profiles/aaa.default\r\nDefault=1\r\n\r\n[Profile1]\r\nPath=Profiles/bbb.work\r\nDefault=1\r\n",
       2, "Profiles/bbb.work", true},
      // Without one the first profile section is the default; names compare without case.
      {"[General]\n[PROFILE0]\nPath=a\n[Profile1]\nPath=b\nDefault=0\n", 1, "a", true},
      {"[Profile0]\nIsRelative=0\nPath=D:/Mozilla/prof one\n", 0, "D:/Mozilla/prof one", false},
      // A byte order mark and quotes around values are read as Windows reads them.
      {"\xEF\xBB\xBF[Profile0]\nPath=a\n[Profile1]\nIsRelative=\"0\"\nPath=\"D:\\Prof\"\nDefault='1'\n", 1,
       "D:\\Prof", false},
      {"", -1, "", true},
      {"[General]\nStartWithLastProfile=1\n; Path=x\nnonsense line\n", -1, "", true},
  };
  for (auto [ini, defaultIndex, path, relative] : cases) {
    SCOPED_TRACE(ini);
    ProfileList list = ParseProfilesIni(ini);
    ASSERT_EQ(list.defaultIndex, defaultIndex);
    if (defaultIndex < 0) continue;
    const ProfileEntry& entry = list.entries.at(size_t(defaultIndex));
    EXPECT_TRUE(entry.isProfile);
    EXPECT_EQ(entry.path, path);
    EXPECT_EQ(entry.isRelative, relative);
  }
}

TEST(PrefsJs, TheCacheParentDirectoryIsAFullPath) {
  auto line = [](const std::string& literal) {
    return "user_pref(\"browser.cache.disk.parent_directory\", " + literal + ");\n";
  };
  for (auto [prefs, value] : {
           std::pair{"user_pref(\"browser.cache.disk.capacity\", 50000);\r\n" + line("\"D:\\\\Fire fox\\\\\\\\cache\""),
                     "D:\\Fire fox\\cache"},
           {line("\"\\\\\\\\server\\\\share\\\\ff\""), "\\\\server\\share\\ff"},
           {line("\"C:\\\\Say \\\"hi\\\"\""), "C:\\Say \"hi\""},
           {line("\"C:\\\\caf\\u0065\""), "C:\\cafe"},
           // Only a full path counts, only from the first line naming the key, and the key only with its quotes.
           {line("\"cache\""), "<none>"},
           {line("\"\\\\cache\""), "<none>"},
           {line("\"D:cache\""), "<none>"},
           {line("\"C:\\\\open"), "<none>"},
           {line("\"\"") + line("\"E:\\\\x\""), "<none>"},
           {std::string("user_pref(browser.cache.disk.parent_directory, \"E:\\\\x\");\n"), "<none>"}})
    EXPECT_EQ(CacheParentDirectoryPreference(prefs).value_or("<none>"), value) << prefs;
}

TEST(Versions, NumbersCompareAsNumbers) {
  EXPECT_EQ(LatestRelease({"9.0.1 (en-US)", "10.0 (en-US)", "3.6.28 (en-US)"}), "10.0 (en-US)");
  EXPECT_EQ(LatestRelease({"3.6.9", "3.6.10"}), "3.6.10");
  for (auto [text, major] : {std::pair{"8.00.6001.18702    ", 8}, {"11.0.9600", 11}, {"6", 0}, {"-5.1", 0}})
    EXPECT_EQ(VersionMajorOf(text), major) << text;
}

}  // namespace
}  // namespace tidemark::locations
