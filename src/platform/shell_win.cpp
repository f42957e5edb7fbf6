#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "platform/shell.h"

namespace tidemark::platform {
namespace {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

class Win32Shell : public Shell {
 public:
  SpecialFolder GetSpecialFolder(int csidl) override {
    GetFolderPathFn getFolderPath = FolderPathFunction();
    if (!getFolderPath) return {false, kApiNotFound};
    char path[MAX_PATH] = {};
    if (getFolderPath(nullptr, csidl, nullptr, 0, path) != S_OK) return {false, kPathNotFound};
    return {true, path};
  }

  SpecialFolder SpecialFolderFromIdList(int csidl) override {
    LPITEMIDLIST idList = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, csidl, &idList) != S_OK || !idList) return {false, kFolderNotFound};
    char path[521] = {};
    bool ok = SHGetPathFromIDListA(idList, path);
    CoTaskMemFree(idList);
    if (!ok) return {false, kFolderNotFound};
    return {true, path};
  }

  std::string ExpandEnvVars(const std::string& text) override {
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::vector<char> buffer(needed + 1);
    DWORD written = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), DWORD(buffer.size()));
    if (written == 0 || written > buffer.size()) return text;
    return buffer.data();
  }

  std::string VersionString(const std::string& file, const std::string& name) override {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return kVersionUnreadable;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return kVersionUnreadable;

    struct Translation {
      WORD language;
      WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
      return kVersionStringMissing;
    char block[64];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translations[0].language,
                  translations[0].codePage);
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), (block + name).c_str(), reinterpret_cast<void**>(&text), &length) || !text)
      return kVersionStringMissing;
    // length counts characters, sometimes with the terminating zero.
    std::string value(text, length);
    if (size_t zero = value.find('\0'); zero != std::string::npos) value.resize(zero);
    return value;
  }

 private:
  // SHGetFolderPathA is missing from the shell32 of old systems, which ship it
  // in the redistributable SHFolder.dll instead.
  GetFolderPathFn FolderPathFunction() {
    if (!lookedUp_) {
      lookedUp_ = true;
      for (const char* library : {"shell32.dll", "SHFolder.dll"}) {
        HMODULE module = LoadLibraryA(library);
        if (!module) continue;
        getFolderPath_ = reinterpret_cast<GetFolderPathFn>(
            reinterpret_cast<void*>(GetProcAddress(module, "SHGetFolderPathA")));
        if (getFolderPath_) break;
        FreeLibrary(module);
      }
    }
    return getFolderPath_;
  }

  bool lookedUp_ = false;
  GetFolderPathFn getFolderPath_ = nullptr;
};

}  // namespace

Shell& RealShell() {
  static Win32Shell shell;
  return shell;
}

}  // namespace tidemark::platform
