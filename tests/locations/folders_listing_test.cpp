#include "locations/folders_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tidemark::locations {
namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

FirefoxLocations Firefox3() {
  FirefoxLocations firefox;
  firefox.FirefoxProfileFolder = "C:\\AD\\Mozilla\\Firefox\\Profiles\\x.default";
  firefox.FirefoxSqliteFormat = true;
  firefox.CookiesSqliteFile = firefox.FirefoxProfileFolder + "\\Cookies.sqlite";
  firefox.PlacesFile = firefox.FirefoxProfileFolder + "\\Places.sqlite";
  firefox.FormHistorySqliteFile = firefox.FirefoxProfileFolder + "\\FormHistory.sqlite";
  firefox.CookiesTxtFile = "  File not found - Cookies.txt";
  firefox.FirefoxCacheFolder = kFolderNotFoundText;
  firefox.FirefoxLocalCacheFolder = "C:\\LAD\\Mozilla\\Firefox\\Profiles\\x.default\\Cache";
  return firefox;
}

IELocations SomeIE() {
  IELocations ie;
  ie.IECacheFolder = "C:\\T\\Content.IE5";
  ie.IECookiesFolder = "C:\\Cookies";
  ie.IEHistoryFolder = "C:\\H\\History.IE5";
  ie.IEHistoryIndexFile = "C:\\H\\History.IE5\\index.dat";
  ie.RecentFolder = "C:\\Recent";
  ie.LowCacheFolder = "C:\\T\\Low\\Content.IE5";
  ie.LowCookiesFolder = "C:\\Cookies\\Low";
  ie.DomStoreFolder = "c:\\l\\MicroSoft\\Internet Explorer\\DomStore";
  ie.DomStoreFound = true;
  ie.LowDomStoreFolder = "  ";
  ie.LowDomStoreFound = true;
  return ie;
}

TEST(FoldersListing, WholeListingInOrder) {
  ListingInputs inputs;
  inputs.tempFolders = {{"System Temp", "C:\\Temp"}, {"Windows Temp", "C:\\Windows\\Temp"}};
  inputs.programFolder = "c:\\Program Files\\Tidemark";
  inputs.dataFolder = "C:\\AD\\Tidemark";
  IELocations ie = SomeIE();
  ie.IEUserDataFolder = "C:\\UserData";
  ie.IEUserDataFound = true;
  std::vector<std::string> expected = {
      "Following are the Files and Folders:",
      "",
      "  FireFox Data Path - C:\\AD\\Mozilla\\Firefox\\Profiles\\x.default",
      "        Cookie File - C:\\AD\\Mozilla\\Firefox\\Profiles\\x.default\\Cookies.sqlite",
      "       History File - C:\\AD\\Mozilla\\Firefox\\Profiles\\x.default\\Places.sqlite",
      "  Form History File - C:\\AD\\Mozilla\\Firefox\\Profiles\\x.default\\FormHistory.sqlite",
      "       Cache Folder - C:\\LAD\\Mozilla\\Firefox\\Profiles\\x.default\\Cache",
      " ",
      "    IE Visited URLs - C:\\H\\History.IE5\\index.dat",
      "    IE Cache Folder - C:\\T\\Content.IE5",
      "  IE Cookies Folder - C:\\Cookies",
      "  IE History Folder - C:\\H\\History.IE5",
      "   DOM Store Folder - C:\\L\\MICROSOFT\\INTERNET EXPLORER\\DOMSTORE",
      " Recent LNKs Folder - C:\\Recent",
      " IE UserData Folder - C:\\UserData",
      "        System Temp:  C:\\Temp",
      "       Windows Temp:  C:\\Windows\\Temp",
      " ",
      "",
      " Tidemark Exec Path - C:\\PROGRAM FILES\\TIDEMARK",
      " Tidemark Data Path - C:\\AD\\Tidemark",
      "       Plugins Path - C:\\PROGRAM FILES\\TIDEMARK\\Plugins",
  };
  EXPECT_EQ(FoldersAndFilesListing(ie, Firefox3(), inputs), expected);
}

TEST(FoldersListing, OlderProfileShowsTextFilesAndOldCache) {
  FirefoxLocations firefox;
  firefox.FirefoxProfileFolder = "C:\\P";
  firefox.CookiesTxtFile = "C:\\P\\Cookies.txt";
  firefox.HistoryDatFile = "C:\\P\\History.dat";
  firefox.FormHistoryDatFile = "  File not found - FormHistory.dat";
  firefox.CookiesSqliteFile = "  File not found - Cookies.sqlite";
  firefox.FirefoxCacheFolder = "C:\\P\\Cache";
  firefox.FirefoxLocalCacheFolder = kFolderNotFoundText;
  auto lines = FoldersAndFilesListing(IELocations{}, firefox, ListingInputs{});
  EXPECT_TRUE(Contains(lines, "        Cookie File - C:\\P\\Cookies.txt"));
  EXPECT_TRUE(Contains(lines, "       History File - C:\\P\\History.dat"));
  EXPECT_TRUE(Contains(lines, "  Form History File -   File not found - FormHistory.dat"));
  auto old = std::find(lines.begin(), lines.end(), "        Cache [1.0] - C:\\P\\Cache");
  ASSERT_NE(old, lines.end());
  ASSERT_NE(old + 1, lines.end());
  EXPECT_EQ(*(old + 1), "       Cache Folder -   Folder not found");
}

TEST(FoldersListing, NoOldCacheLineWhenBothOrNeitherCacheExists) {
  FirefoxLocations firefox = Firefox3();
  firefox.FirefoxCacheFolder = "C:\\P\\Cache";
  auto lines = FoldersAndFilesListing(IELocations{}, firefox, ListingInputs{});
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("[1.0]") != l.npos; }));
  firefox.FirefoxCacheFolder = kFolderNotFoundText;
  firefox.FirefoxLocalCacheFolder = kFolderNotFoundText;
  lines = FoldersAndFilesListing(IELocations{}, firefox, ListingInputs{});
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("[1.0]") != l.npos; }));
  EXPECT_TRUE(Contains(lines, "       Cache Folder -   Folder not found"));
}

TEST(FoldersListing, ProtectedModeLinesOnlyOnVista) {
  ListingInputs inputs;
  auto lines = FoldersAndFilesListing(SomeIE(), Firefox3(), inputs);
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("Pro-Mode") != l.npos; }));

  inputs.tisVista = true;
  lines = FoldersAndFilesListing(SomeIE(), Firefox3(), inputs);
  EXPECT_TRUE(Contains(lines, "  IE Cache Pro-Mode - C:\\T\\LOW\\CONTENT.IE5"));
  EXPECT_TRUE(Contains(lines, "IE Cookies Pro-Mode - C:\\COOKIES\\LOW"));
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("IE History Pro") != l.npos; }))
      << "an empty Protected Mode folder is left out";
  EXPECT_TRUE(Contains(lines, " DOM Store Pro-Mode -   ..folder not found.."));
}

TEST(FoldersListing, UnfoundDomStoreAndUserDataAreLeftOut) {
  IELocations ie = SomeIE();
  ie.DomStoreFound = false;
  ie.IEUserDataFolder = "C:\\UserData";  // found flag off
  auto lines = FoldersAndFilesListing(ie, Firefox3(), ListingInputs{});
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("DOM Store") != l.npos; }));
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("UserData") != l.npos; }));
}

TEST(FoldersListing, AtMostFourTempFoldersAndAlternateDataPath) {
  ListingInputs inputs;
  inputs.tempFolders = {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"A very long display name here", "4"}, {"E", "5"}};
  inputs.programFolder = "d:\\tm";
  inputs.ffdatExe = true;
  auto lines = FoldersAndFilesListing(IELocations{}, Firefox3(), inputs);
  EXPECT_TRUE(Contains(lines, "                  A:  1"));
  EXPECT_TRUE(Contains(lines, "A very long display name here:  4"));
  EXPECT_FALSE(Contains(lines, "                  E:  5"));
  auto data = std::find(lines.begin(), lines.end(), " Tidemark Data Path - ");
  ASSERT_NE(data, lines.end());
  ASSERT_LT(data + 2, lines.end());
  EXPECT_EQ(*(data + 1), "Alternate Data Path - D:\\TM");
  EXPECT_EQ(*(data + 2), "       Plugins Path - D:\\TM\\Plugins");
}

}  // namespace
}  // namespace tidemark::locations
