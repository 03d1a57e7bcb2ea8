// Launch to window, from outside: each program is started as a person starts
// it, and timed until its first visible window of real size is on screen;
// then it is closed. The programs take turns, so that whatever else the
// machine does falls on all of them alike. Prints min and median per program
// and each median against the first program's.
// Usage: bench_launch RUNS PROGRAM...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / perMs;
}

struct TSearch {
  DWORD Process;
  HWND Found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  RECT r{};
  if (process != search->Process || !IsWindowVisible(window) || !GetWindowRect(window, &r) || r.right - r.left < 100)
    return TRUE;
  search->Found = window;
  return FALSE;
}

// Milliseconds from the start of the program to its window; negative when
// it did not come within ten seconds.
double Launch(const std::string& program) {
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = NowMs();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return -1;
  TSearch search{info.dwProcessId, nullptr};
  double shown = -1;
  while (NowMs() - start < 10000) {
    EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
    if (search.Found) {
      shown = NowMs() - start;
      break;
    }
    if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (search.Found) PostMessageA(search.Found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return shown;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_launch RUNS PROGRAM...\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::vector<std::string> programs(argv + 2, argv + argc);
  std::vector<std::vector<double>> times(programs.size());
  for (const std::string& program : programs) Launch(program); // once each, to warm the caches
  for (int r = 0; r < runs; ++r)
    for (size_t i = 0; i < programs.size(); ++i) {
      const double ms = Launch(programs[i]);
      if (ms < 0) {
        std::fprintf(stderr, "bench_launch: %s showed no window\n", programs[i].c_str());
        return 1;
      }
      times[i].push_back(ms);
    }
  std::printf("Launch to window (%d runs each, taking turns)\n", runs);
  const double base = Median(times[0]);
  for (size_t i = 0; i < programs.size(); ++i) {
    const std::string name = programs[i].substr(programs[i].find_last_of("\\/") + 1);
    std::printf("  %-28s min %8.1f ms   median %8.1f ms   %.3f x %s\n", name.c_str(),
                *std::min_element(times[i].begin(), times[i].end()), Median(times[i]), Median(times[i]) / base,
                programs[0].substr(programs[0].find_last_of("\\/") + 1).c_str());
  }
  return 0;
}
