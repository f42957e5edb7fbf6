// The example plugins installed into PLUGINS, each run in a Preview Purge
// (everything it names is listed, nothing changes) and in a Purge (what it
// names is gone, its neighbours stay), over real folders and registry values
// of the sandbox user.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/labels.h"
#include "platform/text.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_interpreter.h"
#include "support/purge_fixture_win.h"

namespace tidemark::plugins {
namespace {

// An item: a file "APPDATA:rel", "LOCALAPPDATA:rel", "PROFILE:rel", or a
// registry value "HKCU:key[name]".
struct Item {
  std::string where;
  bool purged;
};

struct ExamplePlugin {
  const char* file;
  std::vector<Item> items;
  std::vector<std::string> createdRoots;  // removed afterwards: files' base folders, registry keys
};
void PrintTo(const ExamplePlugin& plugin, std::ostream* out) { *out << plugin.file; }

const ExamplePlugin kExamples[] = {
    {"FLASHPLAYER.STD",
     {{"APPDATA:Macromedia\\Flash Player\\#SharedObjects\\K3Q9ZT\\example.com\\game.sol", true},
      {"APPDATA:Macromedia\\Flash Player\\#SharedObjects\\K3Q9ZT\\localhost\\prefs.sol", true},
      {"APPDATA:Macromedia\\Flash Player\\#SharedObjects\\readme.txt", false},
      {"APPDATA:Macromedia\\Flash Player\\macromedia.com\\support\\flashplayer\\sys\\settings.sol", false}},
     {"APPDATA:Macromedia"}},
    {"WINERRORS.STD",
     {{"LOCALAPPDATA:Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_viewer_1\\Report.wer", true},
      {"LOCALAPPDATA:Microsoft\\Windows\\WER\\ReportQueue\\NonCritical_x_2\\Report.wer", true},
      {"LOCALAPPDATA:Microsoft\\Windows\\WER\\ERC\\statecache.xml", false}},
     {"LOCALAPPDATA:Microsoft\\Windows\\WER"}},
    {"JAVACACHE.STD",
     {{"APPDATA:Sun\\Java\\Deployment\\cache\\6.0\\12\\5d1f-3a2b.idx", true},
      {"PROFILE:AppData\\LocalLow\\Sun\\Java\\Deployment\\cache\\6.0\\1\\7c2e-11aa", true},
      {"APPDATA:Sun\\Java\\Deployment\\deployment.properties", false}},
     {"APPDATA:Sun", "PROFILE:AppData\\LocalLow\\Sun"}},
    {"MEDIAPLAYER.STD",
     {{"HKCU:Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList[File0]", true},
      {"HKCU:Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList[file1]", true},
      {"HKCU:Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList[Count]", false},
      {"HKCU:Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList[URL0]", true}},
     {"HKCU:Software\\Microsoft\\MediaPlayer"}},
    {"EXPLORER.STD",
     {{"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU[a]", true},
      {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU[MRUList]", true},
      {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths[url1]", true},
      {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths[Layout]", false},
      {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery[0]", true},
      {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs[MRUListEx]", true},
      {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\.txt[0]", true}},
     {"HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
      "HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths",
      "HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery",
      "HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"}},
};

class ExamplePlugins : public ::testing::TestWithParam<ExamplePlugin> {
 protected:
  void TearDown() override {
    for (const std::string& root : GetParam().createdRoots) {
      if (IsRegistry(root)) {
        auto [key, name] = KeyAndName(root);
        if (name.empty())
          registry.DeleteKey(platform::RegistryRoot::CurrentUser, key);
        else
          registry.DeleteValue(platform::RegistryRoot::CurrentUser, key, name);
      } else {
        std::error_code ignored;
        std::filesystem::remove_all(FilePath(root), ignored);
      }
    }
  }

  static bool IsRegistry(const std::string& where) { return StartsWith(where, "HKCU:"); }
  static std::pair<std::string, std::string> KeyAndName(const std::string& where) {
    std::string rest = where.substr(5);
    size_t open = rest.find('[');
    if (open == std::string::npos) return {rest, ""};
    return {rest.substr(0, open), rest.substr(open + 1, rest.size() - open - 2)};
  }
  std::string FilePath(const std::string& where) {
    size_t colon = where.find(':');
    std::string base = where.substr(0, colon), folder;
    if (base == "PROFILE") {
      folder = std::getenv("USERPROFILE") ? std::getenv("USERPROFILE") : "";
    } else {
      auto found = f.shell.GetSpecialFolder(base == "APPDATA" ? platform::csidl::kAppData : platform::csidl::kLocalAppData);
      folder = found.found ? found.path : "";
    }
    EXPECT_FALSE(folder.empty()) << base;
    return JoinPath(folder, where.substr(colon + 1));
  }
  void Create(const Item& item) {
    if (IsRegistry(item.where)) {
      auto [key, name] = KeyAndName(item.where);
      ASSERT_TRUE(registry.WriteString(platform::RegistryRoot::CurrentUser, key, name, "C:\\Media\\" + name));
    } else {
      std::string path = FilePath(item.where);
      ASSERT_TRUE(files.CreateFolders(ParentFolder(path))) << path;
      ASSERT_TRUE(files.WriteFile(path, "example data")) << path;
    }
  }
  bool Exists(const Item& item) {
    if (!IsRegistry(item.where)) return files.FileExists(FilePath(item.where));
    auto [key, name] = KeyAndName(item.where);
    return registry.ReadValue(platform::RegistryRoot::CurrentUser, key, name).has_value();
  }
  // The item as the report names it: a value by its name, a file by its full path.
  std::string Shown(const Item& item) {
    return UpperCase(IsRegistry(item.where) ? KeyAndName(item.where).second : FilePath(item.where));
  }
  std::vector<std::string> Run(bool preview) {
    std::string path = std::string(TIDEMARK_EXAMPLE_PLUGINS) + "\\" + GetParam().file;
    auto lines = ReadPluginLines(files, path);
    EXPECT_TRUE(lines) << path;
    f.r.sink.lines.clear();
    f.state.previewMode = preview;
    f.state.flags.detailReport = true;
    PluginInterpreter interpreter(f.Environment(), false);
    interpreter.RunPlugin(lines.value_or(std::vector<std::string>{}));
    for (const std::string& line : f.Lines()) EXPECT_FALSE(engine::IsErrorLine(line)) << line;
    return f.Lines();
  }
  static bool Listed(const std::vector<std::string>& lines, std::string_view label, const std::string& shown) {
    for (const std::string& line : lines)
      if (StartsWith(line, label) && UpperCase(line).find(shown) != std::string::npos) return true;
    return false;
  }

  test::PurgeFixture f;
  platform::FileSystem& files = platform::RealFileSystem();
  platform::Registry& registry = platform::RealRegistry();
};

TEST_P(ExamplePlugins, PreviewListsItsItemsAndPurgeRemovesOnlyThem) {
  const ExamplePlugin& plugin = GetParam();
  for (const Item& item : plugin.items) Create(item);
  if (HasFatalFailure()) return;

  std::vector<std::string> preview = Run(true);
  for (const Item& item : plugin.items) {
    EXPECT_TRUE(Exists(item)) << "Preview removed " << item.where;
    std::string_view label = IsRegistry(item.where) ? engine::kPlugToDeleteVal : engine::kPlugToDelete;
    EXPECT_EQ(Listed(preview, label, Shown(item)), item.purged) << item.where;
  }

  std::vector<std::string> purge = Run(false);
  for (const Item& item : plugin.items) {
    EXPECT_EQ(Exists(item), !item.purged) << item.where;
    std::string_view label = IsRegistry(item.where) ? engine::kPlugValDeleted : engine::kPlugDeleted;
    EXPECT_EQ(Listed(purge, label, Shown(item)), item.purged) << item.where;
  }
}

INSTANTIATE_TEST_SUITE_P(Installed, ExamplePlugins, ::testing::ValuesIn(kExamples),
                         [](const auto& info) { return BaseNameOf(info.param.file); });

}  // namespace
}  // namespace tidemark::plugins
