// An in-memory results list, recorded progress and message pump, so purges run headless in tests.
#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "engine/report.h"

namespace tidemark::test {

// Report lines in order, for those whose order is the file system's listing order.
inline std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class MemorySink : public engine::ReportSink {
 public:
  void Append(const std::string& line) override { lines.push_back(line); }
  void InsertFirst(const std::string& line) override { lines.insert(lines.begin(), line); }
  void Clear() override { lines.clear(); }
  size_t LineCount() const override { return lines.size(); }
  std::string LineAt(size_t index) const override { return lines.at(index); }
  void BeginBatch() override { ++batchDepth; }
  void EndBatch() override { --batchDepth; }
  std::vector<std::string> lines;
  int batchDepth = 0;
};

// The progress line as it reads now, and the run's events in order ("begun 2", "done 1", "closed idle", ...).
class RecordingProgress : public engine::PurgeProgress {
 public:
  void StatusText(const std::string& value) override { text = value; }
  void StatusColour(uint32_t bgr) override { colour = bgr; }
  void PurgeStarting() override { events.push_back("starting"); }
  void PurgeBegun(int selected) override { events.push_back("begun " + std::to_string(selected)); }
  void FunctionDone(int done) override { events.push_back("done " + std::to_string(done)); }
  void ReportClosed(bool progressLineIdle) override { events.push_back(progressLineIdle ? "closed idle" : "closed"); }
  void PurgeFinished() override { events.push_back("finished"); }
  std::string text;
  uint32_t colour = 0;
  std::vector<std::string> events;
};

// Never waits; onPump runs inside each pump, as a window message would.
class RecordingPump : public engine::MessagePump {
 public:
  void Pump() override {
    if (onPump) onPump();
  }
  void Sleep(unsigned) override {}
  std::function<void()> onPump;
};

struct MemoryReport {
  MemorySink sink;
  RecordingProgress progress;
  RecordingPump pump;
  engine::Report report{sink, progress, pump, "idle"};
};

// The report, purge state, settings and located data; change any of them, then ask for a fresh Environment().
class PurgeData {
 public:
  PurgeData() { state.flags.detailReport = true; }
  const std::vector<std::string>& Lines() const { return r.sink.lines; }

  MemoryReport r;
  engine::PurgeState state;
  engine::PurgeSettings settings;
  locations::ShellFolderPaths shellFolders;
  locations::IELocations ie;
  locations::FirefoxLocations firefox;
  locations::TempFolders tempFolders;
  std::vector<locations::ChromiumBrowser> chromium;
  cookies::TempProtectList protect;
  engine::ShredState shred;

 protected:
  engine::PurgeLocations Located() { return {shellFolders, ie, firefox, tempFolders, chromium}; }
  engine::PurgeEnvironment& Fresh(const engine::PurgeResources& resources) {
    environment_.reset();
    environment_ = std::make_unique<engine::PurgeEnvironment>(r.report, state, resources);
    return *environment_;
  }

 private:
  std::unique_ptr<engine::PurgeEnvironment> environment_;
};

}  // namespace tidemark::test
