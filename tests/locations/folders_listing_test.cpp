#include "locations/folders_listing.h"

#include <gtest/gtest.h>

namespace tidemark::locations {
namespace {

using Lines = std::vector<std::string>;

TEST(FoldersListing, AFirefox3ProfileOnVistaAndAnOlderOneBefore) {
  IELocations ie{.IECacheFolder = "C:\\T\\Content.IE5", .IECookiesFolder = "C:\\Cookies",
                 .IEHistoryFolder = "C:\\H\\History.IE5", .IEUserDataFolder = "C:\\UserData", .IEUserDataFound = true,
                 .LowCacheFolder = "C:\\T\\Low\\Content.IE5", .LowCookiesFolder = "C:\\Cookies\\Low",
                 .DomStoreFolder = "c:\\l\\MicroSoft\\Internet Explorer\\DomStore", .LowDomStoreFolder = "  ",
                 .LowDomStoreFound = true, .RecentFolder = "C:\\Recent", .IEHistoryIndexFile = "C:\\H\\History.IE5\\index.dat"};
  FirefoxLocations firefox{.FirefoxProfileFolder = "C:\\AD\\x", .CookiesSqliteFile = "C:\\AD\\x\\Cookies.sqlite",
                           .PlacesFile = "C:\\AD\\x\\Places.sqlite", .FormHistorySqliteFile = "C:\\AD\\x\\FormHistory.sqlite",
                           .FirefoxCacheFolder = "C:\\AD\\x\\Cache", .FirefoxLocalCacheFolder = "C:\\LAD\\x\\Cache",
                           .FirefoxSqliteFormat = true};
  ListingInputs inputs{{{"System Temp", "C:\\Temp"}, {"Windows Temp", "C:\\Windows\\Temp"}},
                       "c:\\Program Files\\Tidemark", "C:\\AD\\Tidemark", false, true};
  // Both caches exist: the profile's own one is not listed.
  EXPECT_EQ(FoldersAndFilesListing(ie, firefox, inputs),
            (Lines{"Following are the Files and Folders:", "", "  FireFox Data Path - C:\\AD\\x",
                   "        Cookie File - C:\\AD\\x\\Cookies.sqlite", "       History File - C:\\AD\\x\\Places.sqlite",
                   "  Form History File - C:\\AD\\x\\FormHistory.sqlite", "       Cache Folder - C:\\LAD\\x\\Cache", " ",
                   "    IE Visited URLs - C:\\H\\History.IE5\\index.dat", "    IE Cache Folder - C:\\T\\Content.IE5",
                   "  IE Cookies Folder - C:\\Cookies", "  IE History Folder - C:\\H\\History.IE5",
                   "  IE Cache Pro-Mode - C:\\T\\LOW\\CONTENT.IE5", "IE Cookies Pro-Mode - C:\\COOKIES\\LOW",
                   " DOM Store Pro-Mode -   ..folder not found..", " Recent LNKs Folder - C:\\Recent",
                   " IE UserData Folder - C:\\UserData", "        System Temp:  C:\\Temp",
                   "       Windows Temp:  C:\\Windows\\Temp", " ", "",
                   " Tidemark Exec Path - C:\\PROGRAM FILES\\TIDEMARK", " Tidemark Data Path - C:\\AD\\Tidemark",
                   "       Plugins Path - C:\\PROGRAM FILES\\TIDEMARK\\Plugins"}));

  firefox = {.CookiesTxtFile = "C:\\P\\Cookies.txt", .HistoryDatFile = "C:\\P\\History.dat",
             .FormHistoryDatFile = "  File not found - FormHistory.dat", .FirefoxCacheFolder = "C:\\P\\Cache",
             .FirefoxLocalCacheFolder = kFolderNotFoundText};
  ie.DomStoreFound = true;
  ie.IEUserDataFound = false;
  inputs = {{{"A", "1"}, {"B", "2"}, {"C", "3"}, {"A very long display name here", "4"}, {"E", "5"}}, "d:\\tm", "",
            true, false};
  Lines lines = FoldersAndFilesListing(ie, firefox, inputs);
  ASSERT_EQ(lines.size(), 25u);
  // No Protected Mode lines before Vista; no UserData line without its index; four temp folders at most.
  EXPECT_EQ(Lines(lines.begin() + 3, lines.begin() + 8),
            (Lines{"        Cookie File - C:\\P\\Cookies.txt", "       History File - C:\\P\\History.dat",
                   "  Form History File -   File not found - FormHistory.dat", "        Cache [1.0] - C:\\P\\Cache",
                   "       Cache Folder -   Folder not found"}));
  EXPECT_EQ(Lines(lines.begin() + 13, lines.begin() + 15),
            (Lines{"   DOM Store Folder - C:\\L\\MICROSOFT\\INTERNET EXPLORER\\DOMSTORE", " Recent LNKs Folder - C:\\Recent"}));
  EXPECT_EQ(lines[18], "A very long display name here:  4");
  EXPECT_EQ(lines[23], "Alternate Data Path - D:\\TM");
  // Neither cache found: no old cache line.
  firefox.FirefoxCacheFolder = kFolderNotFoundText;
  EXPECT_EQ(FoldersAndFilesListing(ie, firefox, inputs)[6], "       Cache Folder -   Folder not found");
}

}  // namespace
}  // namespace tidemark::locations
