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

// Items below `base`: files "APPDATA:rel", "LOCALAPPDATA:rel", "PROFILE:rel"
// or registry values "HKCU:key[name]"; `roots` are removed afterwards.
struct ExamplePlugin {
  const char* file;
  std::string base;
  std::vector<std::pair<std::string, bool>> items;  // the item and whether the plugin purges it
  std::vector<std::string> roots;
};
void PrintTo(const ExamplePlugin& plugin, std::ostream* out) { *out << plugin.file; }

const std::string kExplorer = "HKCU:Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const ExamplePlugin kExamples[] = {
    {"FLASHPLAYER.STD", "APPDATA:Macromedia\\Flash Player\\",
     {{"#SharedObjects\\K3Q9ZT\\example.com\\game.sol", true}, {"#SharedObjects\\K3Q9ZT\\localhost\\prefs.sol", true},
      {"#SharedObjects\\readme.txt", false}, {"macromedia.com\\support\\flashplayer\\sys\\settings.sol", false}},
     {"APPDATA:Macromedia"}},
    {"WINERRORS.STD", "LOCALAPPDATA:Microsoft\\Windows\\WER\\",
     {{"ReportArchive\\AppCrash_viewer_1\\Report.wer", true}, {"ReportQueue\\NonCritical_x_2\\Report.wer", true},
      {"ERC\\statecache.xml", false}},
     {"LOCALAPPDATA:Microsoft\\Windows\\WER"}},
    {"JAVACACHE.STD", "",
     {{"APPDATA:Sun\\Java\\Deployment\\cache\\6.0\\12\\5d1f-3a2b.idx", true},
      {"PROFILE:AppData\\LocalLow\\Sun\\Java\\Deployment\\cache\\6.0\\1\\7c2e-11aa", true},
      {"APPDATA:Sun\\Java\\Deployment\\deployment.properties", false}},
     {"APPDATA:Sun", "PROFILE:AppData\\LocalLow\\Sun"}},
    {"MEDIAPLAYER.STD", "HKCU:Software\\Microsoft\\MediaPlayer\\Player\\",
     {{"RecentFileList[File0]", true}, {"RecentFileList[file1]", true}, {"RecentFileList[Count]", false},
      {"RecentURLList[URL0]", true}},
     {"HKCU:Software\\Microsoft\\MediaPlayer"}},
    {"EXPLORER.STD", kExplorer,
     {{"RunMRU[a]", true}, {"RunMRU[MRUList]", true}, {"TypedPaths[url1]", true}, {"TypedPaths[Layout]", false},
      {"WordWheelQuery[0]", true}, {"RecentDocs[MRUListEx]", true}, {"RecentDocs\\.txt[0]", true}},
     {kExplorer + "RunMRU", kExplorer + "TypedPaths", kExplorer + "WordWheelQuery", kExplorer + "RecentDocs"}},
};

class ExamplePlugins : public ::testing::TestWithParam<ExamplePlugin> {
 protected:
  void TearDown() override {
    std::error_code ignored;
    for (const std::string& root : GetParam().roots)
      if (IsRegistry(root))
        registry.DeleteKey(kUser, root.substr(5));
      else
        std::filesystem::remove_all(FilePath(root), ignored);
  }
  static bool IsRegistry(const std::string& where) { return StartsWith(where, "HKCU:"); }
  // Key and value name of "HKCU:key[name]".
  static std::pair<std::string, std::string> KeyAndName(const std::string& where) {
    size_t open = where.find('[');
    return {where.substr(5, open - 5), where.substr(open + 1, where.size() - open - 2)};
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
  bool Exists(const std::string& where) {
    if (!IsRegistry(where)) return files.FileExists(FilePath(where));
    auto [key, name] = KeyAndName(where);
    return registry.ReadValue(kUser, key, name).has_value();
  }
  // Whether a line with the label names the item: a value by its name, a file by its full path.
  bool Listed(const std::vector<std::string>& lines, bool preview, const std::string& where) {
    std::string_view label = IsRegistry(where) ? (preview ? engine::kPlugToDeleteVal : engine::kPlugValDeleted)
                                               : (preview ? engine::kPlugToDelete : engine::kPlugDeleted);
    std::string shown = UpperCase(IsRegistry(where) ? KeyAndName(where).second : FilePath(where));
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return StartsWith(line, label) && UpperCase(line).find(shown) != std::string::npos;
    });
  }
  std::vector<std::string> Run(bool preview) {
    std::string path = std::string(TIDEMARK_EXAMPLE_PLUGINS) + "\\" + GetParam().file;
    auto lines = ReadPluginLines(files, path);
    EXPECT_TRUE(lines) << path;
    f.r.sink.lines.clear();
    f.state.previewMode = preview;
    f.state.flags.detailReport = true;
    PluginInterpreter(f.Environment(), false).RunPlugin(lines.value_or(std::vector<std::string>{}));
    for (const std::string& line : f.Lines()) EXPECT_FALSE(engine::IsErrorLine(line)) << line;
    return f.Lines();
  }

  static constexpr platform::RegistryRoot kUser = platform::RegistryRoot::CurrentUser;
  test::PurgeFixture f;
  platform::FileSystem& files = platform::RealFileSystem();
  platform::Registry& registry = platform::RealRegistry();
};

TEST_P(ExamplePlugins, PreviewListsItsItemsAndPurgeRemovesOnlyThem) {
  const ExamplePlugin& plugin = GetParam();
  for (const auto& [item, purged] : plugin.items) {
    std::string where = plugin.base + item;
    if (IsRegistry(where)) {
      auto [key, name] = KeyAndName(where);
      ASSERT_TRUE(registry.WriteString(kUser, key, name, "C:\\Media\\" + name));
    } else {
      std::string path = FilePath(where);
      ASSERT_TRUE(files.CreateFolders(ParentFolder(path)) && files.WriteFile(path, "example data")) << path;
    }
  }
  std::vector<std::string> preview = Run(true);
  for (const auto& [item, purged] : plugin.items) {
    EXPECT_TRUE(Exists(plugin.base + item)) << "Preview removed " << item;
    EXPECT_EQ(Listed(preview, true, plugin.base + item), purged) << item;
  }
  std::vector<std::string> purge = Run(false);
  for (const auto& [item, purged] : plugin.items) {
    EXPECT_EQ(Exists(plugin.base + item), !purged) << item;
    EXPECT_EQ(Listed(purge, false, plugin.base + item), purged) << item;
  }
}

INSTANTIATE_TEST_SUITE_P(Installed, ExamplePlugins, ::testing::ValuesIn(kExamples),
                         [](const auto& info) { return BaseNameOf(info.param.file); });

}  // namespace
}  // namespace tidemark::plugins
