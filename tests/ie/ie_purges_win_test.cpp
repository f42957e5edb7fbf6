// The index file and the IE purges over stores laid out in a scratch folder (normal and Protected Mode, some files
// held as by a running browser), and the registry the purges and the per-site permissions change, in a scratch key.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <new>
#include <thread>

#include "ie/ie_permissions.h"
#include "ie/ie_purges.h"
#include "ie/purge_index.h"
#include "ie_store_win.h"
#include "platform/files_win.h"
#include "platform/registry.h"
#include "platform/shared_memory_win.h"
#include "support/purge_fixture_win.h"

namespace tidemark::ie {
namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;
using test::Exists;
using test::Sorted;
constexpr auto kUser = platform::RegistryRoot::CurrentUser;

// An entry last used 5 days, 3 hours and 7 minutes before now shows this age.
constexpr uint64_t kAgeMinutes = (5 * 24 + 3) * 60 + 7;
const std::string kHeader = "       Result  Type dd-hh:mm (age)   Cache Entry";
const std::string kDeleted = "       deleted - ", kToDelete = "     to delete - ", kLocked = "    Locked URL - ";

std::string Entry(const std::string& label, const std::string& type, const std::string& url) {
  return label + type + " 05-03:07  " + url;
}

HANDLE Hold(const std::string& path, DWORD share = 0) {
  return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Whether another thread gets the named mutex at once (and gives it back).
bool OtherThreadGets(const std::string& name) {
  bool got = false;
  std::thread([&] {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
    got = WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0;
    if (got) ReleaseMutex(mutex);
    CloseHandle(mutex);
  }).join();
  return got;
}

// The real file system, but the protect file can be unreadable, a cookie file's rewrite can stop half-way (a full
// disk), and one folder can show as a directory link (Wine lists only Unix symbolic links so).
struct FaultyFiles : platform::Win32FileSystem {
  std::optional<std::string> ReadFile(const std::string& path) override {
    if (!unreadable || !EndsWithNoCase(path, "IEcookie.dat")) return Win32FileSystem::ReadFile(path);
    return Fail(ERROR_ACCESS_DENIED), std::nullopt;
  }
  bool WriteFile(const std::string& path, const std::string& content) override {
    if (!torn || path.find('@') == std::string::npos) return Win32FileSystem::WriteFile(path, content);
    Win32FileSystem::WriteFile(path, content.substr(0, content.size() / 2));
    return Fail(ERROR_DISK_FULL);
  }
  bool ListMatching(const std::string& folder, const std::string& mask,
                    const std::function<bool(const platform::DirEntry&)>& visit) override {
    return Win32FileSystem::ListMatching(folder, mask, [&](platform::DirEntry entry) {
      if (SameText(JoinPath(folder, entry.name), link)) entry.attributes |= platform::kAttrReparsePoint;
      return visit(entry);
    });
  }
  std::optional<uint32_t> Attributes(const std::string& path) override {
    auto attributes = Win32FileSystem::Attributes(path);
    if (attributes && SameText(path, link)) *attributes |= platform::kAttrReparsePoint;
    return attributes;
  }
  bool unreadable = false, torn = false;
  std::string link;
};

// Once exhausted, memory runs out on the first wait for a mutex after an index is mapped, that is while the first
// kind's entries are listed.
struct FaultyMemory : platform::Win32SharedMemory {
  std::optional<platform::MappedView> MapFile(const std::string& path, const std::string& name) override {
    auto view = Win32SharedMemory::MapFile(path, name);
    armed = exhausted && view.has_value();
    return view;
  }
  platform::WaitStatus WaitMutex(platform::ObjectHandle mutex) override {
    if (!armed) return Win32SharedMemory::WaitMutex(mutex);
    armed = false;
    throw std::bad_alloc();
  }
  bool exhausted = false, armed = false;
};

class IEPurges : public ::testing::Test {
 protected:
  IEPurges() {
    std::tie(f.ie.IECacheFolder, f.ie.IECookiesFolder, f.ie.IEHistoryFolder) = std::tie(cache, cookies, history);
    std::tie(f.settings.ieVersionMajor, f.settings.allHist) = std::pair(9, true);
  }
  std::string Cookie(const std::string& file) {
    return platform::RealFileSystem().ReadFile(cookies + "\\" + file).value_or("");
  }

  // The cache index with two records, the first with its file, after one change.
  std::string WriteCache(const std::function<void(Bytes&)>& damage) {
    WriteStore(cache, {{"http://a/", "a.htm"}, {"http://b/", ""}}, true, used);
    Bytes bytes = IndexBytes(cache);
    damage(bytes);
    return f.scratch.Write("Content.IE5\\index.dat", std::string(bytes.begin(), bytes.end()));
  }

  FaultyFiles files;
  FaultyMemory memory;
  test::PurgeFixture f{{.files = &files, .memory = &memory}};
  std::string cache = f.scratch / "Content.IE5";
  std::string cookies = f.scratch / "Cookies", lowCookies = cookies + "\\Low";
  std::string history = f.scratch / "History.IE5";
  std::string daily = history + "\\MSHist012024010120240102", weekly = history + "\\MSHist012024010820240115";
  uint64_t used = f.now - kAgeMinutes * 600'000'000;
};

TEST_F(IEPurges, EveryStoreLosesWhatIsNeitherProtectedNorHeld) {
  WriteStore(cache,
             {{"http://a.test/page", "page[1].htm"}, {"http://keep.test/x", "x[1].js"},
              {"http://held.test/", "held.htm"}, {"http://random.test/", "r[1].js"},
              {"http://gone.test/", "gone[1].htm", false}},
             true, used);
  for (std::string file : {"SUBDIR01\\stray.htm", "desktop.ini"})
    f.scratch.Write("Content.IE5\\" + file, "x");
  // The index names a cookie in upper case, the disk has it in lower case.
  WriteStore(cookies,
             {{"Cookie:me@kept.test/", "ME@KEPT[1].TXT", false},
              {"Cookie:me@random.test/", "me@random[1].txt", true, 0, kCookieText},
              {"Cookie:me@gone.test/", "me@gone[1].txt"}},
             false, used);
  f.scratch.Write("Cookies\\me@kept[1].txt", kCookieText);
  WriteStore(history,
             {{"Visited: me@http://site.test/a", ""}, {"Visited: me@http://other.test/", ""},
              {"Visited: me@http://held.test/", "held.htm"}, {.url = "http://redirect.test/", .tag = "REDR"}},
             false, used);
  WriteStore(daily, {{"Visited: me@http://a.test/", ""}}, false, used);
  WriteStore(weekly, {{":2024010820240115: me@http://b.test/", ""}}, false, used);
  // A Random entry randomizes a cookie but keeps neither a cache entry nor a visited URL.
  f.scratch.Write("IEcookie.dat", "a=*keep.test\na=*site.test\nr=*random\nr=*other\np=cookie:me@kept.test/\n");
  const std::vector<std::string> stores = {cache, cookies, history, daily};
  std::vector<Bytes> before;
  for (const std::string& store : stores) before.push_back(IndexBytes(store));

  // A Preview lists and changes nothing, not even by the sweeps.
  f.state.previewMode = true;
  auto cookieLines = [](const std::string& randomize, const std::string& remove, const std::string& count) {
    return Lines{kHeader, Entry(randomize, "C ", "Cookie:me@random.test/"), Entry(remove, "C ", "Cookie:me@gone.test/"),
                 count, "  Purge \"Cookies\" Function Completed.  2 Entries Processed."};
  };
  auto visitedLines = [](const std::string& held) {
    return Lines{kHeader, Entry(held == kToDelete ? kToDelete : kDeleted, "V ", "Visited: me@http://other.test/"),
                 Entry(held, "V ", "Visited: me@http://held.test/"),
                 "  \"I.E. Visited URLs\" Function Completed.  2 Entries Processed."};
  };
  EXPECT_EQ(f.Run(IECookiesPurge), cookieLines("  to Randomize - ", kToDelete, "    1 Cookie to Randomize."));
  EXPECT_EQ(f.Run(IEVisitedUrlsPurge), visitedLines(kToDelete));
  EXPECT_EQ(f.Run(IEStraysPurge).size(), 3u);
  EXPECT_EQ(f.Run(IEHistoryFoldersPurge), Lines{"  \"I.E. History Folders\" Function bypassed for Preview."});
  for (size_t i = 0; i < stores.size(); ++i) EXPECT_EQ(IndexBytes(stores[i]), before[i]) << stores[i];
  EXPECT_TRUE(Cookie("me@random[1].txt") == kCookieText && Exists(cache + "\\SUBDIR01\\stray.htm"));

  f.state.previewMode = false;
  HANDLE held[] = {Hold(cache + "\\SUBDIR01\\held.htm"), Hold(history + "\\held.htm"),
                   Hold(weekly + "\\index.dat", FILE_SHARE_READ | FILE_SHARE_WRITE)};
  EXPECT_EQ(f.Run(IEStraysPurge), (Lines{kDeleted + UpperCase(cache) + "\\SUBDIR01\\STRAY.HTM",
                                         kDeleted + "http://gone.test/",
                                         "  \"I.E. Strays\" Function Completed. 2 Files/URLs Processed."}));
  EXPECT_EQ(f.Run(IECachePurge),
            (Lines{kHeader, Entry(kDeleted, "N ", "http://a.test/page"), Entry(kLocked, "N ", "http://held.test/"),
                   Entry(kDeleted, "N ", "http://random.test/"),
                   "  \"I.E. Cache\" Function Completed.  3 Entries Processed."}));
  EXPECT_EQ(f.Run(IEVisitedUrlsPurge), visitedLines("  Error in URL - "));
  EXPECT_EQ(f.Run(IECookiesPurge), cookieLines("    Randomized - ", kDeleted, "    1 Cookie Randomized."));
  // The listing order is the file system's.
  EXPECT_EQ(Sorted(f.Run(IEHistoryFoldersPurge)),
            Sorted({kDeleted + UpperCase(daily) + "\\INDEX.DAT", kDeleted + UpperCase(daily),
                    "        Locked - " + UpperCase(weekly) + "\\INDEX.DAT",
                    "       Index.dat is present  - MSHist012024010820240115",
                    "       Cleared Daily History - MSHist012024010820240115", "  Purge 2 History Folders Processed.",
                    "  \"I.E. History Folders\" Function Completed."}));
  for (HANDLE handle : held) CloseHandle(handle);
  EXPECT_TRUE(f.r.report.ErrorLevel() == 7 && f.state.lockedFileSeen);
  EXPECT_EQ(UrlsIn(cache), (Lines{"http://keep.test/x", "http://held.test/"}));
  EXPECT_TRUE(UrlsIn(weekly).empty());
  EXPECT_EQ(UrlsIn(history), (Lines{"Visited: me@http://site.test/a", "Visited: me@http://held.test/"}));
  Bytes after = IndexBytes(history);
  EXPECT_EQ(std::search(after.begin(), after.end(), std::begin("REDR"), std::end("REDR") - 1), after.end())
      << "the sweep takes the redirect record";
  EXPECT_EQ(UrlsIn(cookies), (Lines{"Cookie:me@kept.test/", "Cookie:me@random.test/"}));
  EXPECT_EQ(Cookie("me@kept[1].txt"), kCookieText);
  std::string scrambled = Cookie("me@random[1].txt");
  EXPECT_TRUE(scrambled != kCookieText && scrambled.size() == kCookieText.size()) << scrambled;
  for (std::string gone : {"Content.IE5\\SUBDIR01\\page[1].htm", "Cookies\\me@gone[1].txt",
                           "Cookies\\me@random[1].txt.new",
                           "History.IE5\\MSHist012024010120240102", "+Content.IE5\\SUBDIR01\\x[1].js",
                           "+Content.IE5\\desktop.ini"})
    EXPECT_EQ(Exists(f.scratch / gone.substr(gone[0] == '+')), gone[0] == '+') << gone;  // "+": kept
}

TEST_F(IEPurges, WithNothingProtectedTheWarningIsAskedAtMostOnceForBothPasses) {
  f.ie.LowCookiesFolder = lowCookies;
  WriteStore(cookies, {{"Cookie:me@a.test/", "me@a[1].txt"}}, false, used);
  WriteStore(lowCookies, {{"Cookie:me@low.test/", "me@low[1].txt"}}, false, used);
  f.continueWithoutProtection = false;
  Lines lines = f.Run(IECookiesPurge);
  EXPECT_EQ(std::tuple(f.noProtectionWarnings, UrlsIn(cookies).size() + UrlsIn(lowCookies).size(),
                       std::count(lines.begin(), lines.end(), "  Purge \"Cookies\" Function Bypassed.")),
            std::tuple(1, 2u, 1));
}

TEST_F(IEPurges, RegistryTracesGoAndEachPermissionChangeTouchesOneKey) {
  test::TempRegistryKey key;
  f.ieKeys = test::IEKeysBelow(key.path());
  auto names = [&](const std::string& sub) { return Sorted(f.registry.ValueNames(kUser, key.path() + "\\" + sub)); };
  const std::string searches = "Internet Explorer\\Search\\SearchProperties\\";
  for (const std::string& value : Lines{"Internet Explorer\\Typedurls\\url1", "Internet Explorer\\Typedurls\\Other",
                                        searches + "{A1}\\PreviousSearches", searches + "{C3}\\Other"})
    f.registry.WriteString(kUser, key.path() + "\\" + ParentFolder(value), FileNameOf(value),
                           "http://" + FileNameOf(value));
  auto typed = [](const std::string& label) {
    return Lines{label + "I.E.-url1 = http://url1", "  \"I.E. Typed URLs\" Function Completed. 1 entries Processed."};
  };
  f.state.previewMode = true;
  EXPECT_EQ(f.Run(IETypedUrlsPurge), typed(kToDelete));
  EXPECT_EQ(f.Run(IESearchesPurge), Lines{"  \"I.E. Searches\" Function bypassed for Preview."});
  EXPECT_EQ(names("Internet Explorer\\Typedurls"), (Lines{"Other", "url1"}));

  f.state.previewMode = false;
  EXPECT_EQ(f.Run(IETypedUrlsPurge), typed(kDeleted));
  EXPECT_EQ(f.Run(IESearchesPurge),
            Lines{"  \"I.E. Searches\" Function Completed.   1 \"I.E. Searches\" block Processed."});
  EXPECT_EQ((std::vector{names("Internet Explorer\\Typedurls"), names(searches + "{A1}"), names(searches + "{C3}")}),
            (std::vector<Lines>{{"Other"}, {}, {"Other"}}));

  const std::string p3p = key.path() + "\\P3P", caption = "Cookie:user@w1.news.site.test/";
  IEPermissions permissions(f.registry, p3p);
  ASSERT_TRUE(f.registry.WriteDword(kUser, p3p + "\\other.test", "", 3));
  EXPECT_EQ(permissions.Find("Cookie:user@other.test/") + "|" + permissions.Find(caption), "Other - 3|");
  using enum cookies::PermissionChange;
  for (const auto& [change, shown] : {std::pair(Allow, "Allow"), {Block, "Block"}, {Session, "Block"}, {Remove, ""}}) {
    EXPECT_TRUE(permissions.Set("site.test", change));
    EXPECT_EQ(permissions.Find(caption), shown);
    EXPECT_EQ(f.registry.KeyExists(kUser, p3p + "\\site.test"), *shown != 0);
  }
  EXPECT_EQ(f.registry.ReadDword(kUser, p3p + "\\other.test", ""), 3u);
}

// An unreadable protect file bypasses both cookie passes and a torn rewrite keeps the cookie; neither a link nor
// another store's folder is entered; running out of memory stops every strays kind.
TEST_F(IEPurges, FaultsLoseNothing) {
  files.unreadable = true;
  f.ie.LowCookiesFolder = lowCookies;
  f.scratch.Write("IEcookie.dat", "r=cookie:me@random.test/\n");
  WriteStore(cookies, {{"Cookie:me@random.test/", "me@random[1].txt", true, 0, kCookieText}}, false, used);
  WriteStore(lowCookies, {{"Cookie:me@low.test/", "me@low[1].txt"}}, false, used);
  EXPECT_EQ(f.Run(IECookiesPurge),
            (Lines{"*** Error - Bypassed Cookie procesing as existing Protect file could not be opened",
                   "*** Error - Bypassed P-M Cookie procesing as existing Protect file could not be opened",
                   "    No Entries found to delete.", "  Purge \"Cookies\" Function Completed."}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 7);
  EXPECT_EQ(UrlsIn(lowCookies), Lines{"Cookie:me@low.test/"});
  std::tie(files.unreadable, files.torn) = std::pair(false, true);
  f.ie.LowCookiesFolder.clear();
  EXPECT_EQ(f.Run(IECookiesPurge), (Lines{kHeader, Entry(" -Error-112      ", "C ", "Cookie:me@random.test/"),
                                          "  Purge \"Cookies\" Function Completed.  1 Entries Processed."}));
  EXPECT_TRUE(Cookie("me@random[1].txt") == kCookieText && !Exists(cookies + "\\me@random[1].txt.new"));

  files.link = history + "\\MSHistLink";
  WriteStore(files.link, {{"Visited: me@http://behind.test/", ""}}, false, f.now);
  Bytes behind = IndexBytes(files.link);
  // A real folder seen as a link is not one the system can remove as a link.
  EXPECT_EQ(f.Run(IEHistoryFoldersPurge),
            (Lines{" -Error-4390     " + UpperCase(files.link), "    No History Folders found to delete.",
                   "  \"I.E. History Folders\" Function Completed."}));
  EXPECT_EQ(IndexBytes(files.link), behind);
  files.link = cache + "\\SUBDIR01\\linked";
  f.ie.IEUserDataFolder = f.scratch / "UserData";
  f.ie.LowUserDataFolder = f.scratch / "UserData\\Low";
  WriteStore(cache, {{"http://a.test/", "a[1].htm"}}, true, f.now);
  f.scratch.Write("Content.IE5\\SUBDIR01\\linked\\behind.txt", "keep me");
  WriteStore(f.ie.IEUserDataFolder, {{"userdata:me@a.test/", "a[1].xml"}}, true, f.now);
  WriteStore(f.ie.LowUserDataFolder, {{"userdata:me@low.test/", "low[1].xml"}}, true, f.now);
  EXPECT_EQ(f.Run(IEStraysPurge), (Lines{"    No Strays found to delete.", "  \"I.E. Strays\" Function Completed. "}));
  EXPECT_TRUE(Exists(files.link + "\\behind.txt") && Exists(f.ie.LowUserDataFolder + "\\SUBDIR01\\low[1].xml"));

  memory.exhausted = true;
  WriteStore(cookies, {{"Cookie:me@site.test/", "me@site[1].txt"}}, false, f.now);
  f.scratch.Write("Cookies\\me@stray[1].txt", kCookieText);
  f.scratch.Write("Content.IE5\\SUBDIR01\\stray.htm", "x");
  EXPECT_EQ(f.Run(IEStraysPurge), (Lines{"    No Strays found to delete.", "  \"I.E. Strays\" Function Completed. "}));
  EXPECT_EQ(f.messages, Lines{"Tidemark  -  Message|Insufficient RAM to perform the \"Strays\" processing.\r\n"
                              "Try again after some Cache is purged.\r\nFunction Terminated."});
  EXPECT_TRUE(f.r.report.ErrorLevel() == 9 && f.state.lowMemory);
  EXPECT_TRUE(Exists(cookies + "\\me@stray[1].txt") && Exists(cache + "\\SUBDIR01\\stray.htm"));
}

// Opening answers each error with its message; locks nest, an abandoned mutex is held, other mappings see changes and
// an overwritten signature is told; a damaged index is not reset, and the reset says why.
TEST_F(IEPurges, IndexFileOpensLocksAndResets) {
  PurgeIndex purge(f.Environment());
  IndexFile& index = purge.file;
  const std::tuple<std::function<void(Bytes&)>, int, const char*> cases[] = {
      {[](Bytes& b) { b[1] = 'X'; }, 13, "Error - Cache Index.dat is corrupted"},
      {[](Bytes& b) { b[0x21] = 0x80; }, 93, "Error - Invalid Hash Pointer in Cache Index.dat file"},  // at the end
  };
  for (const auto& [damage, code, message] : cases) {
    WriteCache(damage);
    EXPECT_FALSE(index.OpenIndexFile(cache, 'T') || index.NextUrlRecord());
    EXPECT_EQ(std::pair(index.ErrorCode(), index.ErrorMessage()), std::pair(code, std::string(message)));
  }

  IndexNames names = IndexNamesOf(WriteCache([](Bytes&) {}), IndexBytes(cache).size());
  ASSERT_TRUE(index.OpenIndexFile(cache, 'T'));
  std::thread([&] { WaitForSingleObject(OpenMutexA(SYNCHRONIZE, FALSE, names.mutex.c_str()), INFINITE); }).join();
  ASSERT_TRUE(index.NextUrlRecord());
  ASSERT_TRUE(index.LockIndex() && index.LockIndex());
  EXPECT_EQ(index.LastWait(), platform::WaitStatus::Abandoned);
  index.UnlockIndex();
  EXPECT_FALSE(OtherThreadGets(names.mutex));
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, names.mapping.c_str());
  ASSERT_TRUE(mapping);
  auto* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  EXPECT_TRUE(index.DeleteRecordByUrl("http://a/"));
  index.UnlockIndex();
  EXPECT_TRUE(OtherThreadGets(names.mutex));
  EXPECT_FALSE(Exists(cache + "\\SUBDIR01\\a.htm"));
  EXPECT_EQ(view[0x5010], 1);  // the freed hash entry
  view[0] = 'X';
  index.CloseIndexFile();
  EXPECT_EQ(index.ErrorCode(), 99);
  EXPECT_EQ(f.messages, Lines{"Tidemark  -  Message|Error - Cache Index.dat Signature overlayed"
                              "\r\n\r\nNotify the vendor\r\nFunction Terminated."});
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  EXPECT_FALSE(index.LockIndex());

  std::string message;
  EXPECT_FALSE(index.ResetIndexFile(WriteCache([](Bytes& b) { b[0] = 'X'; }), 'D', message));
  EXPECT_EQ(message, "Error - Index.dat is corrupted");
}

}  // namespace
}  // namespace tidemark::ie
