#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "platform/shell_win.h"

namespace tidemark::platform {
namespace {

using EmptyRecycleBinFn = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);

// The function is looked up by name: old systems lack it. The library is
// freed again afterwards.
template <typename Use>
bool WithEmptyRecycleBin(Use use) {
  HMODULE shell32 = LoadLibraryA("Shell32.dll");
  if (!shell32) return false;
  auto function = reinterpret_cast<EmptyRecycleBinFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(shell32, "SHEmptyRecycleBinA")));
  if (function) use(function);
  FreeLibrary(shell32);
  return function != nullptr;
}

std::string StripTrailingBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

SpecialFolder Win32Shell::GetSpecialFolder(int csidl) {
  GetFolderPathFn getFolderPath = FolderPathFunction();
  if (!getFolderPath) return {false, kApiNotFound};
  char path[MAX_PATH] = {};
  if (getFolderPath(nullptr, csidl, nullptr, 0, path) != S_OK) return {false, kPathNotFound};
  return {true, path};
}

SpecialFolder Win32Shell::SpecialFolderFromIdList(int csidl) {
  LPITEMIDLIST idList = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &idList) != S_OK || !idList) return {false, kFolderNotFound};
  char path[521] = {};
  bool ok = SHGetPathFromIDListA(idList, path);
  CoTaskMemFree(idList);
  if (!ok) return {false, kFolderNotFound};
  return {true, path};
}

std::string Win32Shell::ExpandEnvVars(const std::string& text) {
  DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::vector<char> buffer(needed + 1);
  DWORD written = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), DWORD(buffer.size()));
  if (written == 0 || written > buffer.size()) return text;
  return buffer.data();
}

std::string Win32Shell::VersionString(const std::string& file, const std::string& name) {
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

std::optional<std::string> Win32Shell::EnvironmentVariable(const std::string& name) {
  DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<char> buffer(needed + 1);
  DWORD written = GetEnvironmentVariableA(name.c_str(), buffer.data(), DWORD(buffer.size()));
  if (written == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  return std::string(buffer.data(), written < buffer.size() ? written : 0);
}

std::string Win32Shell::WindowsFolder() {
  char path[MAX_PATH + 1] = {};
  UINT length = GetWindowsDirectoryA(path, sizeof path);
  return length > 0 && length < sizeof path ? StripTrailingBackslash(path) : std::string();
}

std::string Win32Shell::SystemFolder() {
  char path[MAX_PATH + 1] = {};
  UINT length = GetSystemDirectoryA(path, sizeof path);
  return length > 0 && length < sizeof path ? StripTrailingBackslash(path) : std::string();
}

std::string Win32Shell::TempPath() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetTempPathA(sizeof path, path);
  return length > 0 && length < sizeof path ? StripTrailingBackslash(path) : std::string();
}

std::optional<std::string> Win32Shell::ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) return std::nullopt;
  return std::string(name, size);
}

std::optional<std::string> Win32Shell::UserName() {
  char name[257] = {};  // UNLEN + 1
  DWORD size = sizeof name;
  if (!GetUserNameA(name, &size) || size == 0) return std::nullopt;
  return std::string(name);
}

bool Win32Shell::RecycleBinAvailable() {
  return WithEmptyRecycleBin([](EmptyRecycleBinFn) {});
}

std::optional<int32_t> Win32Shell::EmptyRecycleBin() {
  HRESULT result = S_OK;
  const DWORD kQuiet = SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND;
  if (!WithEmptyRecycleBin([&](EmptyRecycleBinFn function) { result = function(nullptr, "", kQuiet); }))
    return std::nullopt;
  return static_cast<int32_t>(result);
}

std::string Win32Shell::ShortPathOf(const std::string& path) {
  char buffer[520] = {};
  DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

bool Win32Shell::SaveShellLink(const ShellLink& link, const std::string& linkFile) {
  int wideLength = MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, nullptr, 0);
  if (wideLength <= 0) return false;
  std::vector<wchar_t> wideName(static_cast<size_t>(wideLength));
  MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wideName.data(), wideLength);
  // The caller's thread may already use COM in another mode: then it is left as it is.
  HRESULT initialised = CoInitialize(nullptr);
  bool saved = false;
  IShellLinkA* shellLink = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shellLink)))) {
    shellLink->SetPath(link.target.c_str());
    shellLink->SetArguments(link.arguments.c_str());
    shellLink->SetWorkingDirectory(link.workingFolder.c_str());
    shellLink->SetShowCmd(link.showCommand);
    shellLink->SetIconLocation(link.iconFile.c_str(), link.iconIndex);
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      saved = SUCCEEDED(file->Save(wideName.data(), TRUE));
      file->Release();
    }
    shellLink->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return saved;
}

// SHGetFolderPathA is missing from the shell32 of old systems, which ship it
// in the redistributable SHFolder.dll instead.
Win32Shell::GetFolderPathFn Win32Shell::FolderPathFunction() {
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

Shell& RealShell() {
  static Win32Shell shell;
  return shell;
}

}  // namespace tidemark::platform
