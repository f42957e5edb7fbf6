// Holds a file open without sharing, as a program using it would, so the
// demo shows how a purge reports a file in use.
// Usage: hold_open.exe <file> <seconds>. Writes "<file>.held" once the file is held.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hold_open <file> <seconds>\n");
    return 2;
  }
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "hold_open: cannot open %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  std::string marker = std::string(argv[1]) + ".held";
  HANDLE held = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  Sleep(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
  CloseHandle(file);
  DeleteFileA(marker.c_str());
  return 0;
}
