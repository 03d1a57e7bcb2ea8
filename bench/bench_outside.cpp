// The installer from outside, beside a bare window and a peer installer of the
// same payload built with NSIS, each run as a person runs it, in a fresh
// process every time:
//  1. launch to window: from CreateProcess to the first visible top-level
//     window of real size (ours shows a taskbar window without height first);
//  2. Install to record: each installer brought to its folder page with the
//     default folder C:\Program Files (no Varkelo in it, no shortcut) by the
//     same key presses through the X server (Enter on each page), left until
//     it is still (as a person reads the page), then from the Enter that
//     presses Install until C:\Program Files\Varkelo\dir.ini exists with its
//     record. Then the installer is ended and the installation removed.
// The programs take turns, so that whatever else the machine does falls on
// all of them alike. Self-timed with QueryPerformanceCounter; prints min, median
// and max per program and each median against ours (the first of ours).
// Usage: bench_outside RUNS BARE OURS [OURS...] --peers PEER [PEER...]
//          (more of ours: another build, such as the last release, beside)
//        bench_outside trace OURS   (one installation of ours, the click and
//        the record told in tick counts, to read beside a Wine trace)
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "Files.h"
#include "Texts.h"

namespace {

using driver::Children;
using driver::Class;
using driver::Keys;
using driver::Text;
using driver::WaitUntil;

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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

struct TRow {
  std::string Name;
  std::vector<double> Ms;
};

void PrintTable(const std::vector<TRow>& rows) {
  std::printf("  %-22s %5s %9s %10s %9s %12s\n", "program", "runs", "min ms", "median ms", "max ms", "median/ours");
  const double ours = Median(rows.front().Ms);
  for (const TRow& row : rows)
    std::printf("  %-22s %5zu %9.1f %10.1f %9.1f %12.2f\n", row.Name.c_str(), row.Ms.size(),
                row.Ms.empty() ? 0.0 : *std::min_element(row.Ms.begin(), row.Ms.end()), Median(row.Ms),
                row.Ms.empty() ? 0.0 : *std::max_element(row.Ms.begin(), row.Ms.end()),
                ours > 0 ? Median(row.Ms) / ours : 0.0);
}

// ------------------------------------------------------ launch to window
struct TSearch {
  DWORD Process;
  HWND Found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  RECT r{};
  if (process != search->Process || !IsWindowVisible(window) || !GetWindowRect(window, &r) || r.right - r.left < 100 ||
      r.bottom - r.top < 100)
    return TRUE;
  search->Found = window;
  return FALSE;
}

// Milliseconds from the start of the program to its window; negative when
// it did not come within ten seconds. The program is ended at once: closing
// it properly would ask ours whether to cancel.
double Launch(const std::string& program) {
  std::wstring command = files::Wide("\"" + files::DosPath(program) + "\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = NowMs();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
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
  TerminateProcess(info.hProcess, 1);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return shown;
}

// ------------------------------------------------------ click to record
const std::string ProgramFiles = "C:\\Program Files";
const std::string Product = ProgramFiles + "\\Varkelo";
const std::string Record = Product + "\\dir.ini";

std::string Desktop() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder);
  return files::Narrow(folder);
}

// Our shortcut and the peer's (its script names it in Latin letters).
const std::string OurLink = texts::Shortcut, PeerLink = "Sorvanta v2.1.lnk";

// No product folder and no shortcut; Wine may still hold a fresh file open
// for a moment after its writer ended.
bool RemoveInstallation() {
  return WaitUntil([] {
    bool gone = files::RemoveTree(Product);
    for (const std::string& name : {OurLink, PeerLink}) {
      const std::string link = Desktop() + "\\" + name;
      gone = (DeleteFileW(files::Wide(link).c_str()) || !files::IsFile(link)) && gone;
    }
    return gone;
  });
}

// The record complete: the file there with the folder in it.
bool RecordWritten() {
  return files::IsFile(Record) && files::Read(Record).find("dir=" + Product + "\\") != std::string::npos;
}

// The same installation from both: every payload file as the payload says
// (texts with CR LF after their last line), nothing else but the record and
// the uninstaller, and the installer's shortcut.
bool InstallationComplete(const std::string& link) {
  static const std::vector<std::pair<std::string, std::string>> expected = [] {
    std::vector<std::pair<std::string, std::string>> items;
    for (const files::TPayloadItem& item : files::InstalledItems())
      items.emplace_back(item.Target, files::InstalledBytes(item));
    return items;
  }();
  size_t count = 0;
  for (const auto& entry : files::Tree(Product)) count += entry.first.back() != '\\';
  bool same = count == expected.size() + 2 && RecordWritten() && files::IsFile(Product + "\\uninstall.exe") && files::IsFile(Desktop() + "\\" + link);
  for (const auto& [target, bytes] : expected) same = same && files::Read(Product + "\\" + target) == bytes;
  return same;
}

HWND WaitMain(driver::TProcess& process, bool (*accept)(HWND)) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : process.Windows())
      if (accept(w)) return (found = w) != nullptr;
    return !process.IsRunning();
  });
  return found;
}

// An installer driven through its windows: up to its folder page, and out
// again once it has installed.
struct TInstaller {
  std::string Name, Exe, Link;
  HWND (*ToFolderPage)(driver::TProcess&); // the window Enter presses Install in, or null
  bool (*Finish)(driver::TProcess&);       // true when the process ended by itself
};

// Enter through the X server, as a person presses it; a page's default
// button takes it.
bool Enter(HWND main) { return Keys(main, "Return"); }

// The installer is still: its processor time has not grown for 100 ms
// (within five seconds), as when a person reads the page. What it does while
// waiting for the person is not the Install's time.
bool Still(HWND main) {
  DWORD id = 0;
  GetWindowThreadProcessId(main, &id);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return false;
  const auto busy = [process] {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(process, &created, &ended, &kernel, &user);
    return (uint64_t(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
           (uint64_t(user.dwHighDateTime) << 32 | user.dwLowDateTime);
  };
  uint64_t last = busy();
  double since = NowMs();
  const bool still = WaitUntil([&] {
    const uint64_t now = busy();
    if (now != last) last = now, since = NowMs();
    return NowMs() - since >= 100;
  }, 5000);
  CloseHandle(process);
  return still;
}

// Ours: each page is told by the button only it has.
HWND ShownButton(HWND main, const std::string& caption) {
  for (HWND b : Children(main, "Button", caption))
    if (IsWindowVisible(b) && IsWindowEnabled(b)) return b;
  return nullptr;
}

HWND OursToFolderPage(driver::TProcess& process) {
  HWND main = WaitMain(process, [](HWND w) { return Class(w) != "#32770" && Text(w) == texts::MainCaption; });
  for (const std::string* caption : {&texts::Next, &texts::Agree, &texts::Install}) {
    if (!main || !WaitUntil([&] { return ShownButton(main, *caption) != nullptr; })) return nullptr;
    if (caption != &texts::Install && !Enter(main)) return nullptr;
  }
  // The folder it offers.
  for (HWND edit : Children(main, "Edit"))
    if (IsWindowVisible(edit) && Text(edit) != ProgramFiles) return nullptr;
  return main;
}

bool OursFinish(driver::TProcess& process) {
  HWND main = WaitMain(process, [](HWND w) { return Text(w) == texts::MainCaption; });
  HWND done = nullptr;
  if (!main || !WaitUntil([&] { return (done = ShownButton(main, texts::Done)) != nullptr; })) return false;
  PostMessageW(done, BM_CLICK, 0, 0);
  return WaitUntil([&] { return !process.IsRunning(); });
}

// The peer: one dialog whose inner page dialog is made anew for each page;
// its IDOK button walks it on.
bool IsPeer(HWND w) { return Class(w) == "#32770" && Text(w).find("Sorvanta") != std::string::npos; }

HWND InnerPage(HWND main) {
  for (HWND w = GetWindow(main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (Class(w) == "#32770" && IsWindowVisible(w)) return w;
  return nullptr;
}

HWND PeerToFolderPage(driver::TProcess& process) {
  HWND main = WaitMain(process, &IsPeer);
  if (!main) return nullptr;
  HWND page = nullptr;
  // Welcome, then the licence: each Next waits for the page it leads to.
  for (int step = 0; step < 3; ++step) {
    if (!WaitUntil([&] { return (page = InnerPage(main)) != nullptr; })) return nullptr;
    for (HWND edit : Children(page, "Edit"))
      if (IsWindowVisible(edit)) return Text(edit) == ProgramFiles ? main : nullptr;
    if (step == 2 || !Enter(main)) break;
    if (!WaitUntil([&] { return InnerPage(main) && InnerPage(main) != page; })) return nullptr;
  }
  return nullptr;
}

bool PeerFinish(driver::TProcess& process) {
  HWND main = WaitMain(process, &IsPeer);
  // Through its finish page: Next once the files are done, then Finish.
  return main && WaitUntil([&] {
           HWND next = GetDlgItem(main, IDOK);
           if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
             PostMessageW(next, BM_CLICK, 0, 0);
             Sleep(100);
           }
           return !process.IsRunning();
         });
}

enum class EOutcome { Done, NotRemoved, NoFolderPage, NoRecord, Incomplete, NotEnded };

// One installation in a fresh process; the click-to-record milliseconds in ms.
EOutcome Install(const TInstaller& installer, double& ms, bool tell = false) {
  if (!RemoveInstallation()) return EOutcome::NotRemoved;
  driver::TProcess process(installer.Exe);
  if (!process.Start()) return EOutcome::NoFolderPage;
  HWND main = installer.ToFolderPage(process);
  if (!main || !Still(main)) return EOutcome::NoFolderPage;
  if (tell) std::printf("click at tick %lu\n", GetTickCount());
  const double start = NowMs();
  if (!Enter(main)) return EOutcome::NoFolderPage;
  bool written = false;
  while (!(written = RecordWritten()) && NowMs() - start < 60000) Sleep(1);
  ms = NowMs() - start;
  if (tell) std::printf("record at tick %lu (%.1f ms after the click)\n", GetTickCount(), ms);
  if (!written) return EOutcome::NoRecord;
  const bool ended = installer.Finish(process);
  const bool complete = InstallationComplete(installer.Link);
  RemoveInstallation();
  return !complete ? EOutcome::Incomplete : !ended ? EOutcome::NotEnded : EOutcome::Done;
}

const char* Explain(EOutcome outcome) {
  switch (outcome) {
  case EOutcome::NotRemoved: return "found an installation that could not be removed";
  case EOutcome::NoFolderPage: return "did not reach its folder page";
  case EOutcome::NoRecord: return "wrote no dir.ini within a minute";
  case EOutcome::Incomplete: return "left another installation than the payload's";
  case EOutcome::NotEnded: return "did not end through its finish page";
  default: return "done";
  }
}

int Trace(const std::string& ours) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  TInstaller installer{BaseName(ours), ours, OurLink, &OursToFolderPage, &OursFinish};
  double ms = 0;
  const EOutcome outcome = Install(installer, ms, true);
  if (outcome != EOutcome::Done) std::printf("%s %s\n", installer.Name.c_str(), Explain(outcome));
  return outcome == EOutcome::Done ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "trace") return Trace(argv[2]);
  const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
  const auto split = std::find(args.begin(), args.end(), "--peers");
  if (argc < 6 || split == args.end() || split - args.begin() < 2 || split + 1 == args.end()) {
    std::fprintf(stderr, "usage: bench_outside RUNS BARE OURS [OURS...] --peers PEER [PEER...]\n"
                         "       bench_outside trace OURS\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::string bare = args.front();
  const std::vector<std::string> ours(args.begin() + 1, split), peers(split + 1, args.end());

  std::vector<std::string> programs(ours);
  programs.push_back(bare);
  programs.insert(programs.end(), peers.begin(), peers.end());
  std::vector<TRow> launched;
  for (const std::string& program : programs) launched.push_back({BaseName(program), {}});
  for (const std::string& program : programs) Launch(program); // once each, to warm the caches
  for (int r = 0; r < runs; ++r)
    for (size_t i = 0; i < programs.size(); ++i) {
      const double ms = Launch(programs[i]);
      if (ms < 0) {
        std::fprintf(stderr, "bench_outside: %s showed no window\n", programs[i].c_str());
        return 1;
      }
      launched[i].Ms.push_back(ms);
    }
  std::printf("Launch to window (%d runs each, taking turns, a fresh process each time)\n", runs);
  PrintTable(launched);

  std::vector<TInstaller> installers;
  for (const std::string& exe : ours) installers.push_back({BaseName(exe), exe, OurLink, &OursToFolderPage, &OursFinish});
  for (const std::string& exe : peers)
    installers.push_back({BaseName(exe), exe, PeerLink, &PeerToFolderPage, &PeerFinish});
  std::vector<TRow> installed;
  for (const TInstaller& installer : installers) installed.push_back({installer.Name, {}});
  double ms = 0;
  for (const TInstaller& installer : installers) { // once each, to warm the caches
    const EOutcome outcome = Install(installer, ms);
    if (outcome != EOutcome::Done) {
      std::fprintf(stderr, "bench_outside: %s %s\n", installer.Name.c_str(), Explain(outcome));
      RemoveInstallation();
      return 1;
    }
  }
  int failed = 0;
  for (int r = 0; r < runs; ++r)
    for (size_t i = 0; i < installers.size(); ++i) {
      const EOutcome outcome = Install(installers[i], ms);
      if (outcome == EOutcome::Done || outcome == EOutcome::NotEnded) installed[i].Ms.push_back(ms);
      if (outcome != EOutcome::Done) {
        std::fprintf(stderr, "bench_outside: %s %s\n", installers[i].Name.c_str(), Explain(outcome));
        ++failed;
      }
    }
  RemoveInstallation();
  std::printf("Install click to dir.ini in %s (%d runs each, taking turns, a fresh process each time)\n",
              Product.c_str(), runs);
  PrintTable(installed);
  if (failed) std::printf("  WARNING: %d runs did not complete\n", failed);
  return failed ? 1 : 0;
}
