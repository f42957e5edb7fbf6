// Status labels of the results report. Purge functions write 17-character
// labels, plugin commands 19-character ones (a few 23); each is followed
// directly by the item.
#pragma once
#include <string>
#include <string_view>

namespace tidemark::engine {

inline constexpr std::string_view kDeleted = "       deleted - ";
inline constexpr std::string_view kToDelete = "     to delete - ";
inline constexpr std::string_view kDeleteFailed = " Delete failed - ";
inline constexpr std::string_view kProtected = "     Protected - ";
inline constexpr std::string_view kErrorInUrl = "  Error in URL - ";
inline constexpr std::string_view kFileNotFound = "File not Found - ";
inline constexpr std::string_view kPathNotFound = "Path not Found - ";
inline constexpr std::string_view kDirNotEmpty = " Dir Not Empty - ";
inline constexpr std::string_view kAccessDenied = " Access Denied - ";
inline constexpr std::string_view kLocked = "        Locked - ";
inline constexpr std::string_view kLockedUrl = "    Locked URL - ";
inline constexpr std::string_view kDuplicate = "     Duplicate - ";
// Outcomes of items under an "i=" entry of the temp protect list: not errors.
inline constexpr std::string_view kIgnoreErrors = " Ignore Errors - ";
inline constexpr std::string_view kIgnoreLocked = " Ignore Locked - ";
inline constexpr std::string_view kIgnoreDenied = " Ignore Denied - ";
inline constexpr std::string_view kIgnoreDirErr = "Ignore Dir Err - ";

// Plugin command labels.
inline constexpr std::string_view kPlugFileNotFound = "  File Not Found - ";
inline constexpr std::string_view kPlugPathNotFound = "  Path Not Found - ";
inline constexpr std::string_view kPlugDirNotEmpty = "   Dir Not Empty - ";
inline constexpr std::string_view kPlugLocked = "          Locked - ";
inline constexpr std::string_view kPlugNotUpdated = "     Not updated - ";
inline constexpr std::string_view kPlugDelValFails = "   del Val fails - ";
inline constexpr std::string_view kPlugDelKeyFails = "   del Key fails - ";
inline constexpr std::string_view kPlugInvalidRoot = "    invalid Root - ";
inline constexpr std::string_view kPlugExecFailed = "     exec failed - ";
inline constexpr std::string_view kPlugDeleted = "         deleted - ";
inline constexpr std::string_view kPlugToDelete = "       to delete - ";
inline constexpr std::string_view kPlugAccessDenied = "   Access Denied - ";
inline constexpr std::string_view kPlugValDeleted = "     Val deleted - ";
inline constexpr std::string_view kPlugToDeleteVal = "   to delete Val - ";
inline constexpr std::string_view kPlugKeyDeleted = "     Key deleted - ";
inline constexpr std::string_view kPlugToDeleteKey = "   to delete Key - ";
inline constexpr std::string_view kPlugToExecute = "      to execute - ";
inline constexpr std::string_view kPlugExecuted = "        executed - ";
inline constexpr std::string_view kPlugIgnoreLocked = "   Ignore Locked - ";
inline constexpr std::string_view kPlugIgnoreDirErr = "  Ignore Dir Err - ";
inline constexpr std::string_view kPlugIgnoreDenied = "   Ignore Denied - ";
inline constexpr std::string_view kPlugIgnoreErrors = "   Ignore Errors - ";
inline constexpr std::string_view kPlugProtected = "       Protected - ";
inline constexpr std::string_view kPlugFileNotPresent = "    file not present - ";
inline constexpr std::string_view kPlugValueNotPresent = "   value not present - ";
inline constexpr std::string_view kPlugKeyNotPresent = "     key not present - ";

inline constexpr std::string_view kSectionSeparator = " - - - - - - - - - - - - - - - - -";

// True for lines drawn as errors and found by the TAB key.
bool IsErrorLine(std::string_view text);

}  // namespace tidemark::engine
