#include "engine/labels.h"

#include <array>

#include "platform/text.h"

namespace tidemark::engine {
namespace {

constexpr std::array<std::string_view, 9> kErrorLabels17 = {
    kDeleteFailed, kErrorInUrl, kFileNotFound, kPathNotFound, kDirNotEmpty,
    kAccessDenied, kLocked,     kLockedUrl,
    // The locked-file note of the driver starts like a label.
    "NOTE - A \"Locked\""};

constexpr std::array<std::string_view, 9> kErrorLabels19 = {
    kPlugFileNotFound, kPlugPathNotFound, kPlugDirNotEmpty, kPlugLocked,     kPlugNotUpdated,
    kPlugDelValFails,  kPlugDelKeyFails,  kPlugInvalidRoot, kPlugExecFailed};

template <size_t N>
bool StartsWithOneOf(std::string_view text, const std::array<std::string_view, N>& labels) {
  for (std::string_view label : labels)
    if (StartsWith(text, label)) return true;
  return false;
}

}  // namespace

bool IsErrorLine(std::string_view text) {
  for (std::string_view marker : {" -Error-", "-Error-", "-Caution-", "*** Error"})
    if (StartsWith(text, marker)) return true;
  return StartsWithOneOf(text, kErrorLabels19) || StartsWithOneOf(text, kErrorLabels17);
}

}  // namespace tidemark::engine
