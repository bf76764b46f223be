#include "screenshot.h"

#include <stdio.h>

#include "e2e_support.h"

unsigned Image::Pixel(int x, int y) const {
  size_t at = (static_cast<size_t>(y) * width + x) * 3;
  return (static_cast<unsigned>(rgb[at]) << 16) | (rgb[at + 1] << 8) | rgb[at + 2];
}

std::string UnixPathBesideTests(const char* name) {
  typedef char*(CDECL * ToUnix)(const WCHAR*);
  ToUnix toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return "";
  std::string path = ProgramPath(name);
  std::wstring wide(path.begin(), path.end());
  char* unix = toUnix(wide.c_str());
  if (unix == nullptr) return "";
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

namespace {

bool ReadPpm(const std::string& file, Image* out) {
  FILE* f = fopen(file.c_str(), "rb");
  if (f == nullptr) return false;
  int width = 0, height = 0, maximum = 0;
  bool ok = fscanf(f, "P6 %d %d %d", &width, &height, &maximum) == 3 && maximum == 255 &&
            fgetc(f) != EOF && width > 0 && height > 0;
  if (ok) {
    out->width = width;
    out->height = height;
    out->rgb.resize(static_cast<size_t>(width) * height * 3);
    ok = fread(out->rgb.data(), 1, out->rgb.size(), f) == out->rgb.size();
  }
  fclose(f);
  return ok;
}

}  // namespace

bool Screenshot(const RECT& area, const char* name, Image* out) {
  std::string base = std::string("screenshot_") + name;
  std::string ppm = ProgramPath((base + ".ppm").c_str());
  DeleteFileA(ppm.c_str());
  std::string dir = UnixPathBesideTests("");
  if (dir.empty()) return false;
  char crop[64];
  wsprintfA(crop, "%dx%d+%d+%d", static_cast<int>(area.right - area.left),
            static_cast<int>(area.bottom - area.top), static_cast<int>(area.left),
            static_cast<int>(area.top));
  std::string b = "'" + dir + base;
  // The PPM appears last, in one rename, so that a file that exists is
  // whole. The Unix program's process cannot be waited for under Wine.
  std::string script = "import -window root " + b + ".root.ppm' && convert " + b + ".root.ppm' -crop " +
                       crop + " +repage -depth 8 " + b + ".part.ppm' && convert " + b + ".part.ppm' " +
                       b + ".png' ; rm -f " + b + ".root.ppm' ; mv " + b + ".part.ppm' " + b + ".ppm'";
  std::string line = "/bin/sh -c \"" + script + "\"";
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  if (info.hThread != nullptr) CloseHandle(info.hThread);
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  bool arrived = WaitUntil([&] { return GetFileAttributesA(ppm.c_str()) != INVALID_FILE_ATTRIBUTES; });
  return arrived && ReadPpm(ppm, out);
}
