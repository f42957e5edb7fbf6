#include "platform/files_win.h"

namespace tidemark::platform {

FileSystem& RealFileSystem() {
  static Win32FileSystem files;
  return files;
}

}  // namespace tidemark::platform
