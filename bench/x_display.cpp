#include "x_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

extern char** environ;

struct XWindowView {
  Display* display = nullptr;
  Atom pidAtom = None;  // _NET_WM_PID, which SDL sets on its windows
};

namespace {

constexpr int ServerAnswerMs = 10000;

bool IsSetIn(const std::vector<std::string>& settings, const std::string& entry) {
  const std::string key = entry.substr(0, entry.find('=') + 1);
  for (const std::string& setting : settings)
    if (setting.compare(0, key.size(), key) == 0) return true;
  return false;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& settings,
            const posix_spawn_file_actions_t* actions) {
  std::vector<std::string> environment = settings;
  for (char** entry = environ; *entry; ++entry)
    if (!IsSetIn(settings, *entry)) environment.emplace_back(*entry);
  std::vector<char*> argv, envp;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) return 0;
  return child;
}

// The display number Xvfb writes to its -displayfd once it takes connections.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  char c = 0;
  pollfd waiting{fd, POLLIN, 0};
  while (poll(&waiting, 1, ServerAnswerMs) == 1 && read(fd, &c, 1) == 1 && c != '\n')
    number += c;
  return number;
}

int IgnoreXError(Display*, XErrorEvent*) { return 0; }  // a window gone or not yet shown

pid_t WindowPid(const XWindowView* view, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  pid_t pid = 0;
  if (XGetWindowProperty(view->display, window, view->pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data && count == 1)
    pid = pid_t(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return pid;
}

// The program's window that is on view; 0 when there is none.
Window ViewableWindowOf(const XWindowView* view, pid_t program) {
  Display* display = view->display;
  Window root = 0, parent = 0, *children = nullptr, found = 0;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes{};
    if (WindowPid(view, children[i]) == program &&
        XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable)
      found = children[i];
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

bool StartXDisplay(XDisplayRun& run) {
  int fds[2];
  if (pipe(fds) != 0) return run.problem = "no pipe", false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  run.server = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                      "1280x1024x24", "-nolisten", "tcp", "-noreset"},
                     {}, &actions);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  const std::string number = run.server ? ReadDisplayNumber(fds[0]) : "";
  close(fds[0]);
  if (number.empty()) {
    run.problem = run.server ? "Xvfb did not start" : "Xvfb is missing";
    StopXDisplay(run);
    return false;
  }
  run.name = ":" + number;
  run.home = (std::filesystem::temp_directory_path() / "veldrane-display-XXXXXX").string();
  if (!mkdtemp(run.home.data())) run.home.clear();
  return true;
}

void StopXDisplay(XDisplayRun& run) {
  if (run.server) {
    kill(run.server, SIGTERM);
    waitpid(run.server, nullptr, 0);
  }
  if (!run.home.empty()) std::filesystem::remove_all(run.home);
  run.server = 0;
  run.home.clear();
}

pid_t StartOnDisplay(const XDisplayRun& run, const std::vector<std::string>& arguments) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const pid_t child = Spawn(arguments,
                            {"DISPLAY=" + run.name, "SDL_VIDEODRIVER=x11",
                             "XDG_CONFIG_HOME=" + run.home, "XDG_DATA_HOME=" + run.home},
                            &actions);
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

void StopProgram(pid_t program) {
  if (program <= 0) return;
  kill(program, SIGTERM);  // SDL hands it to the game as a request to quit
  waitpid(program, nullptr, 0);
}

double CpuMilliseconds(pid_t program) {
  const std::string tasks = "/proc/" + std::to_string(program) + "/task";
  double nanoseconds = 0;
  DIR* folder = opendir(tasks.c_str());
  if (!folder) return 0;
  while (const dirent* entry = readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream stats(tasks + "/" + entry->d_name + "/schedstat");
    double onCpu = 0;
    if (stats >> onCpu) nanoseconds += onCpu;
  }
  closedir(folder);
  return nanoseconds / 1e6;
}

XWindowView* OpenWindowView(const XDisplayRun& run) {
  Display* display = XOpenDisplay(run.name.c_str());
  if (!display) return nullptr;
  XSetErrorHandler(IgnoreXError);
  return new XWindowView{display, XInternAtom(display, "_NET_WM_PID", False)};
}

void CloseWindowView(XWindowView* view) {
  if (!view) return;
  XCloseDisplay(view->display);
  delete view;
}

std::vector<uint32_t> WindowPixels(XWindowView* view, pid_t program, int x, int y, int w, int h) {
  std::vector<uint32_t> pixels;
  const Window window = ViewableWindowOf(view, program);
  XImage* image = window ? XGetImage(view->display, window, x, y, unsigned(w), unsigned(h),
                                     AllPlanes, ZPixmap)
                         : nullptr;
  if (!image) return pixels;
  pixels.reserve(size_t(w) * size_t(h));
  for (int row = 0; row < h; ++row)
    for (int column = 0; column < w; ++column)
      pixels.push_back(uint32_t(XGetPixel(image, column, row)) & 0xFFFFFF);
  XDestroyImage(image);
  return pixels;
}
