// A plugin whose DELFOLD statements cover 20,000 small files in nested
// folders against the deletion engine alone (DeleteFolderContents) on the
// same tree, both with Detail reports.
#include "bench_support_win.h"

#include <algorithm>
#include <functional>

#include "plugins/plugin_interpreter.h"
#include "support/purge_fixture_win.h"

namespace {

using namespace tidemark;

constexpr int kFiles = 20000, kPerOuter = 1000, kPairs = 5;  // bench::MakeTree: 1,000 files to an outer folder

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::string root = bench::ScratchFolder("tm_plugin_bench");
  std::string tree = root + "\\TREE";
  // One statement per outer folder: its files at every depth and its folders.
  std::vector<std::string> plugin = {"Clean the scratch tree"};
  for (int outer = 0; outer < kFiles / kPerOuter; ++outer)
    plugin.push_back("DELFOLD=" + tree + "\\outer" + std::to_string(outer) + "[*.*]DS");

  test::PurgeFixture purge;
  auto timed = [&](const std::function<void()>& work) {
    bench::MakeTree(tree, kFiles);
    purge.r.sink.lines.clear();
    double start = bench::Seconds();
    work();
    return bench::Seconds() - start;
  };
  auto engineRun = [&] {
    engine::PurgeEnvironment& env = purge.Environment();
    for (int outer = 0; outer < kFiles / kPerOuter; ++outer)
      env.deletion.DeleteFolderContents(tree + "\\outer" + std::to_string(outer), "*.*", false);
  };
  auto pluginRun = [&] {
    plugins::PluginInterpreter interpreter(purge.Environment(), false);
    interpreter.RunPlugin(plugin);
  };
  // Pairs taken in turns, each side first every other time, so that a
  // machine busy with other work weighs on both alike.
  std::vector<double> engineTimes, pluginTimes, ratios;
  size_t engineLines = 0, pluginLines = 0;
  for (int pair = 0; pair < kPairs; ++pair) {
    double engineSeconds = 0, pluginSeconds = 0;
    if (pair % 2 == 0) engineSeconds = timed(engineRun), engineLines = purge.r.sink.lines.size();
    pluginSeconds = timed(pluginRun);
    pluginLines = purge.r.sink.lines.size();
    if (pair % 2 == 1) engineSeconds = timed(engineRun), engineLines = purge.r.sink.lines.size();
    engineTimes.push_back(engineSeconds);
    pluginTimes.push_back(pluginSeconds);
    ratios.push_back(pluginSeconds / engineSeconds);
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  std::printf("%d files, %d pairs: plugin %.3f s (%zu report lines), deletion engine %.3f s (%zu report lines)\n",
              kFiles, kPairs, median(pluginTimes), pluginLines, median(engineTimes), engineLines);
  std::printf("ratio plugin / deletion engine: %.2fx (median of the pairs' ratios)\n", median(ratios));
  purge.Environment().deletion.DeleteFolderContents(root, "*.*", false);
  RemoveDirectoryA(root.c_str());
  return 0;
}
