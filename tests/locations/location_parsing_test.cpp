#include <gtest/gtest.h>

#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"

namespace tidemark::locations {
namespace {

TEST(ProfilesIni, LaterDefaultSectionWinsOverFirstProfile) {
  ProfileList list = ParseProfilesIni(
      "[General]\r\nStartWithLastProfile=1\r\n\r\n"
      "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/aaa.default\r\n\r\n"
      "[Profile1]\r\nName=work\r\nIsRelative=1\r\nPath=Profiles/bbb.work\r\nDefault=1\r\n");
  ASSERT_EQ(list.entries.size(), 3u);
  EXPECT_FALSE(list.entries[0].isProfile);
  EXPECT_TRUE(list.entries[1].isProfile);
  EXPECT_EQ(list.entries[2].path, "Profiles/bbb.work");
  EXPECT_TRUE(list.entries[2].isRelative);
  EXPECT_EQ(list.defaultIndex, 2);
}

TEST(ProfilesIni, FirstProfileIsDefaultWithoutDefaultValue) {
  ProfileList list = ParseProfilesIni("[General]\n[Profile0]\nPath=a\n[profile1]\nPath=b\nDefault=0\n");
  EXPECT_EQ(list.defaultIndex, 1);
  EXPECT_TRUE(list.entries[2].isProfile) << "section names compare without case";
}

TEST(ProfilesIni, AbsolutePathAndMissingValues) {
  ProfileList list = ParseProfilesIni("[Profile0]\nIsRelative=0\nPath=D:/Mozilla/prof one\n[Profile1]\n");
  EXPECT_FALSE(list.entries[0].isRelative);
  EXPECT_EQ(list.entries[0].path, "D:/Mozilla/prof one");
  EXPECT_TRUE(list.entries[1].isRelative) << "IsRelative absent counts as relative";
  EXPECT_EQ(list.entries[1].path, "");
  EXPECT_EQ(list.defaultIndex, 0);
}

TEST(ProfilesIni, AByteOrderMarkAndQuotedValuesReadAsWindowsReadsThem) {
  ProfileList list = ParseProfilesIni("\xEF\xBB\xBF[Profile0]\nIsRelative=\"0\"\nPath=\"D:\\Prof\"\nDefault='1'\n");
  ASSERT_EQ(list.entries.size(), 1u);
  EXPECT_EQ(list.defaultIndex, 0);
  EXPECT_FALSE(list.entries[0].isRelative);
  EXPECT_EQ(list.entries[0].path, "D:\\Prof");
}

TEST(ProfilesIni, NoProfileSectionsMeansNoDefault) {
  EXPECT_EQ(ParseProfilesIni("").defaultIndex, -1);
  EXPECT_EQ(ParseProfilesIni("[General]\nStartWithLastProfile=1\n; Path=x\nnonsense line\n").defaultIndex, -1);
}

TEST(PrefsJs, DoubledBackslashesCollapse) {
  auto value = CacheParentDirectoryPreference(
      "# Mozilla User Preferences\r\n"
      "user_pref(\"browser.cache.disk.capacity\", 50000);\r\n"
      "user_pref(\"browser.cache.disk.parent_directory\", \"D:\\\\Fire fox\\\\\\\\cache\");\r\n");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, "D:\\Fire fox\\cache");
}

TEST(PrefsJs, EscapesAreDecodedAndOnlyFullPathsCount) {
  auto value = [](const std::string& literal) {
    return CacheParentDirectoryPreference("user_pref(\"browser.cache.disk.parent_directory\", " + literal + ");\n")
        .value_or("<none>");
  };
  EXPECT_EQ(value("\"\\\\\\\\server\\\\share\\\\ff\""), "\\\\server\\share\\ff");
  EXPECT_EQ(value("\"C:\\\\Say \\\"hi\\\"\""), "C:\\Say \"hi\"");
  EXPECT_EQ(value("\"C:\\\\caf\\u0065\""), "C:\\cafe");
  EXPECT_EQ(value("\"cache\""), "<none>");
  EXPECT_EQ(value("\"\\\\cache\""), "<none>");
  EXPECT_EQ(value("\"D:cache\""), "<none>");
  EXPECT_EQ(value("\"C:\\\\open"), "<none>");
}

TEST(FirefoxReleases, NumbersCompareAsNumbers) {
  EXPECT_EQ(LatestRelease({"9.0.1 (en-US)", "10.0 (en-US)", "3.6.28 (en-US)"}), "10.0 (en-US)");
  EXPECT_EQ(LatestRelease({"3.6.9", "3.6.10"}), "3.6.10");
  EXPECT_EQ(LatestRelease({"b", "A"}), "b");
}

TEST(PrefsJs, OnlyTheFirstLineNamingTheKeyCounts) {
  EXPECT_FALSE(CacheParentDirectoryPreference("user_pref(\"browser.cache.disk.parent_directory\", \"\");\n"
                                              "user_pref(\"browser.cache.disk.parent_directory\", \"E:\\\\x\");\n"));
  EXPECT_FALSE(CacheParentDirectoryPreference("user_pref(\"browser.cache.disk.parent_directory\");\n"));
  EXPECT_FALSE(CacheParentDirectoryPreference("user_pref(browser.cache.disk.parent_directory, \"E:\\\\x\");\n"))
      << "the key counts only with its double quotes";
  EXPECT_FALSE(CacheParentDirectoryPreference(""));
}

TEST(IEVersionText, MajorIsTheNumberBeforeTheFirstDot) {
  EXPECT_EQ(VersionMajorOf("8.00.6001.18702    "), 8);
  EXPECT_EQ(VersionMajorOf("11.0.9600"), 11);
  EXPECT_EQ(VersionMajorOf("6"), 0);
  EXPECT_EQ(VersionMajorOf(""), 0);
  EXPECT_EQ(VersionMajorOf("x.1"), 0);
  EXPECT_EQ(VersionMajorOf("00.00.00.00"), 0);
}

TEST(UsablePath, NeedsDriveColonBackslashAndFourCharacters) {
  EXPECT_TRUE(IsUsablePath("C:\\x"));
  EXPECT_FALSE(IsUsablePath("C:\\"));
  EXPECT_FALSE(IsUsablePath("... Not Found ..."));
  EXPECT_FALSE(IsUsablePath("relative\\path"));
  EXPECT_FALSE(IsUsablePath(""));
}

TEST(FileNotFoundText, RecognisedByItsPrefix) {
  EXPECT_TRUE(IsFileNotFoundText("  File not found - Cookies.txt"));
  EXPECT_FALSE(IsFileNotFoundText("C:\\p\\Cookies.txt"));
  EXPECT_FALSE(IsFileNotFoundText(kFolderNotFoundText));
}

}  // namespace
}  // namespace tidemark::locations
