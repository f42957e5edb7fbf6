#include "engine/purge_state.h"

#include <string>

namespace tidemark::engine {

void ItemSink::Item(ItemOutcome outcome, std::string_view label, std::string_view item) {
  if (outcome == ItemOutcome::Success && !Detail()) return;
  std::string line;
  line.reserve(label.size() + item.size());
  line.append(label).append(item);
  report.Line(line);
}

bool ItemSink::CancelNoted() {
  if (!state.cancelRequested) return false;
  report.Line("*** Cancelled by operator.");
  return true;
}

}  // namespace tidemark::engine
