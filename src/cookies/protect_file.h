// The protect files in the data folder: loading, saving, the start-up checks
// and the one-time merge of the former Protected Mode list.
//
// A file is plain ANSI text, one entry per line (read with any line break,
// written with CR LF). A missing file is an empty list. A file that exists but
// cannot be read is never written over, and a save replaces the old file only
// once the new one is complete, so no stop mid-write can lose protections.
#pragma once
#include <string>

#include "cookies/protect_list.h"
#include "cookies/temp_protect.h"
#include "cookies/user_messages.h"
#include "platform/files.h"

namespace tidemark::cookies {

inline constexpr const char* kFirefoxProtectFile = "Tidemark.Dat";
inline constexpr const char* kIEProtectFile = "IEcookie.dat";
inline constexpr const char* kFormerProtectedModeFile = "IEprMode.dat";
inline constexpr const char* kTempProtectFile = "tidemark.pit";

// Loads, sorts and normalises a cookie list. An unreadable file gives an empty
// list with OpenedOK false (callers report it); a list that normalising
// changed is Dirty, so the next save rewrites it in the new form.
ProtectList LoadCookieProtectList(platform::FileSystem& files, const std::string& path);

// Writes the list when it is Dirty and OpenedOK; a failure is retried once
// after clearing the file's read-only attribute, and a second failure is
// told to the user. Dirty is cleared in any case.
void SaveCookieProtectList(ProtectList& list, const std::string& path, platform::FileSystem& files,
                           UserMessages& messages);

// Loads dataFolder\tidemark.pit into the list (sorted, Count set, not Dirty).
void LoadTempProtectList(TempProtectList& list, platform::FileSystem& files, const std::string& dataFolder);
// Writes the list when it is Dirty (and was read), then empties it. Errors are
// swallowed: the list never stops the program.
void SaveTempProtectList(TempProtectList& list, platform::FileSystem& files, const std::string& dataFolder);

// Folds dataFolder\IEprMode.dat into IEcookie.dat and deletes it. Nothing is
// touched unless both files can be read; the former file goes only after the
// merged list is safely written. True when the merge happened.
bool MergeFormerProtectedModeList(platform::FileSystem& files, const std::string& dataFolder);

// Creates each cookie protect file (and its folder) that does not exist, as an
// empty list. A file that is there but unreachable is left alone.
void EnsureProtectListsExist(platform::FileSystem& files, const std::string& firefoxListPath,
                             const std::string& ieListPath);

}  // namespace tidemark::cookies
