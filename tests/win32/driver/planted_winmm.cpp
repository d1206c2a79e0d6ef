// A stand-in winmm.dll for the tests to drop beside the program: if it is
// ever loaded, it leaves a file named "loaded" beside itself.
// Lean: the system header must not declare the PlaySoundA defined here.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH * 4] = "";
  GetModuleFileNameA(self, path, sizeof path);
  std::string marker = path;
  marker = marker.substr(0, marker.find_last_of('\\') + 1) + "loaded";
  CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr,
                          CREATE_ALWAYS, 0, nullptr));
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    PlaySoundA(LPCSTR, HMODULE, DWORD) {
  return TRUE;
}
