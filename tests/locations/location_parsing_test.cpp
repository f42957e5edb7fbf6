#include <gtest/gtest.h>

#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"

namespace tidemark::locations {
namespace {

TEST(ProfilesIni, TheDefaultProfileAndItsPath) {
  struct Case {
    const char* ini;
    int defaultIndex;
    const char* path;
    bool relative;
  };
  const Case cases[] = {
      // The last section saying Default=1 wins over the first profile.
      {"[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
       "Path=Profiles/aaa.default\r\nDefault=1\r\n\r\n[Profile1]\r\nIsRelative=1\r\nPath=Profiles/bbb.work\r\n"
       "Default=1\r\n",
       2, "Profiles/bbb.work", true},
      // Without one the first profile section is the default; names compare without case.
      {"[General]\n[PROFILE0]\nPath=a\n[Profile1]\nPath=b\nDefault=0\n", 1, "a", true},
      {"[Profile0]\nIsRelative=0\nPath=D:/Mozilla/prof one\n", 0, "D:/Mozilla/prof one", false},
      {"[Profile0]\n", 0, "", true},
      // A byte order mark and quotes around values are read as Windows reads them.
      {"\xEF\xBB\xBF[Profile0]\nPath=a\n[Profile1]\nIsRelative=\"0\"\nPath=\"D:\\Prof\"\nDefault='1'\n", 1,
       "D:\\Prof", false},
      {"", -1, "", true},
      {"[General]\nStartWithLastProfile=1\n; Path=x\nnonsense line\n", -1, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    ProfileList list = ParseProfilesIni(c.ini);
    ASSERT_EQ(list.defaultIndex, c.defaultIndex);
    if (c.defaultIndex < 0) continue;
    const ProfileEntry& entry = list.entries.at(size_t(c.defaultIndex));
    EXPECT_TRUE(entry.isProfile);
    EXPECT_EQ(entry.path, c.path);
    EXPECT_EQ(entry.isRelative, c.relative);
  }
  EXPECT_FALSE(ParseProfilesIni("[General]\n[Profile0]\n").entries[0].isProfile);
}

TEST(PrefsJs, TheCacheParentDirectoryIsAFullPath) {
  auto value = [](const std::string& prefs) { return CacheParentDirectoryPreference(prefs).value_or("<none>"); };
  auto line = [](const std::string& literal) {
    return "user_pref(\"browser.cache.disk.parent_directory\", " + literal + ");\n";
  };
  EXPECT_EQ(value("# Mozilla User Preferences\r\nuser_pref(\"browser.cache.disk.capacity\", 50000);\r\n" +
                  line("\"D:\\\\Fire fox\\\\\\\\cache\"")),
            "D:\\Fire fox\\cache");
  EXPECT_EQ(value(line("\"\\\\\\\\server\\\\share\\\\ff\"")), "\\\\server\\share\\ff");
  EXPECT_EQ(value(line("\"C:\\\\Say \\\"hi\\\"\"")), "C:\\Say \"hi\"");
  EXPECT_EQ(value(line("\"C:\\\\caf\\u0065\"")), "C:\\cafe");
  // Only a full path counts, only from the first line naming the key, and the key only with its quotes.
  for (std::string nothing :
       {line("\"cache\""), line("\"\\\\cache\""), line("\"D:cache\""), line("\"C:\\\\open"),
        line("\"\"") + line("\"E:\\\\x\""), std::string("user_pref(\"browser.cache.disk.parent_directory\");\n"),
        std::string("user_pref(browser.cache.disk.parent_directory, \"E:\\\\x\");\n"), std::string()})
    EXPECT_EQ(value(nothing), "<none>") << nothing;
}

TEST(FirefoxReleases, NumbersCompareAsNumbers) {
  EXPECT_EQ(LatestRelease({"9.0.1 (en-US)", "10.0 (en-US)", "3.6.28 (en-US)"}), "10.0 (en-US)");
  EXPECT_EQ(LatestRelease({"3.6.9", "3.6.10"}), "3.6.10");
  EXPECT_EQ(LatestRelease({"b", "A"}), "b");
}

TEST(IEVersionText, MajorIsTheNumberBeforeTheFirstDot) {
  for (auto [text, major] : {std::pair{"8.00.6001.18702    ", 8}, {"11.0.9600", 11}, {"6", 0}, {"", 0}, {"x.1", 0},
                             {"-5.1", 0}, {"00.00.00.00", 0}})
    EXPECT_EQ(VersionMajorOf(text), major) << text;
}

TEST(UsablePath, NeedsDriveColonBackslashAndFourCharacters) {
  EXPECT_TRUE(IsUsablePath("C:\\x"));
  for (const char* path : {"C:\\", "... Not Found ...", "relative\\path", ""}) EXPECT_FALSE(IsUsablePath(path)) << path;
}

}  // namespace
}  // namespace tidemark::locations
