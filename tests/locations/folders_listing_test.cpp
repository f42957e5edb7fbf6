#include "locations/folders_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tidemark::locations {
namespace {

FirefoxLocations Firefox3() {
  FirefoxLocations firefox;
  firefox.FirefoxProfileFolder = "C:\\AD\\Profiles\\x.default";
  firefox.FirefoxSqliteFormat = true;
  firefox.CookiesSqliteFile = firefox.FirefoxProfileFolder + "\\Cookies.sqlite";
  firefox.PlacesFile = firefox.FirefoxProfileFolder + "\\Places.sqlite";
  firefox.FormHistorySqliteFile = firefox.FirefoxProfileFolder + "\\FormHistory.sqlite";
  firefox.CookiesTxtFile = "  File not found - Cookies.txt";
  firefox.FirefoxCacheFolder = firefox.FirefoxProfileFolder + "\\Cache";
  firefox.FirefoxLocalCacheFolder = "C:\\LAD\\Profiles\\x.default\\Cache";
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
  ie.IEUserDataFolder = "C:\\UserData";
  ie.IEUserDataFound = true;
  return ie;
}

TEST(FoldersListing, AFirefox3ProfileOnVista) {
  ListingInputs inputs;
  inputs.tempFolders = {{"System Temp", "C:\\Temp"}, {"Windows Temp", "C:\\Windows\\Temp"}};
  inputs.programFolder = "c:\\Program Files\\Tidemark";
  inputs.dataFolder = "C:\\AD\\Tidemark";
  inputs.tisVista = true;
  IELocations ie = SomeIE();
  ie.DomStoreFound = false;
  // Both caches exist: the profile's own one is not listed.
  std::vector<std::string> expected = {
      "Following are the Files and Folders:",
      "",
      "  FireFox Data Path - C:\\AD\\Profiles\\x.default",
      "        Cookie File - C:\\AD\\Profiles\\x.default\\Cookies.sqlite",
      "       History File - C:\\AD\\Profiles\\x.default\\Places.sqlite",
      "  Form History File - C:\\AD\\Profiles\\x.default\\FormHistory.sqlite",
      "       Cache Folder - C:\\LAD\\Profiles\\x.default\\Cache",
      " ",
      "    IE Visited URLs - C:\\H\\History.IE5\\index.dat",
      "    IE Cache Folder - C:\\T\\Content.IE5",
      "  IE Cookies Folder - C:\\Cookies",
      "  IE History Folder - C:\\H\\History.IE5",
      "  IE Cache Pro-Mode - C:\\T\\LOW\\CONTENT.IE5",
      "IE Cookies Pro-Mode - C:\\COOKIES\\LOW",
      " DOM Store Pro-Mode -   ..folder not found..",
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

TEST(FoldersListing, AnOlderProfileBeforeVista) {
  FirefoxLocations firefox;
  firefox.CookiesTxtFile = "C:\\P\\Cookies.txt";
  firefox.HistoryDatFile = "C:\\P\\History.dat";
  firefox.FormHistoryDatFile = "  File not found - FormHistory.dat";
  firefox.FirefoxCacheFolder = "C:\\P\\Cache";
  firefox.FirefoxLocalCacheFolder = kFolderNotFoundText;
  IELocations ie = SomeIE();
  ie.IEUserDataFound = false;
  ListingInputs inputs;
  inputs.tempFolders = {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"A very long display name here", "4"}, {"E", "5"}};
  inputs.programFolder = "d:\\tm";
  inputs.ffdatExe = true;
  std::vector<std::string> lines = FoldersAndFilesListing(ie, firefox, inputs);
  ASSERT_EQ(lines.size(), 25u);
  const std::vector<std::string> firefoxLines(lines.begin() + 3, lines.begin() + 8);
  EXPECT_EQ(firefoxLines, (std::vector<std::string>{"        Cookie File - C:\\P\\Cookies.txt",
                                                    "       History File - C:\\P\\History.dat",
                                                    "  Form History File -   File not found - FormHistory.dat",
                                                    "        Cache [1.0] - C:\\P\\Cache",
                                                    "       Cache Folder -   Folder not found"}));
  // No Protected Mode lines before Vista; no UserData line without its index.
  EXPECT_EQ(lines[13], "   DOM Store Folder - C:\\L\\MICROSOFT\\INTERNET EXPLORER\\DOMSTORE");
  EXPECT_EQ(lines[14], " Recent LNKs Folder - C:\\Recent");
  EXPECT_EQ(lines[15], "                  A:  1");
  EXPECT_EQ(lines[18], "A very long display name here:  4");
  EXPECT_EQ(lines[23], "Alternate Data Path - D:\\TM");
  EXPECT_EQ(lines[24], "       Plugins Path - D:\\TM\\Plugins");
}

TEST(FoldersListing, NoOldCacheLineWhenNeitherCacheExists) {
  FirefoxLocations firefox = Firefox3();
  firefox.FirefoxCacheFolder = kFolderNotFoundText;
  firefox.FirefoxLocalCacheFolder = kFolderNotFoundText;
  auto lines = FoldersAndFilesListing(IELocations{}, firefox, ListingInputs{});
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("[1.0]") != l.npos; }));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "       Cache Folder -   Folder not found"), lines.end());
}

}  // namespace
}  // namespace tidemark::locations
