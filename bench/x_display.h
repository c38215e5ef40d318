// An X display of the benchmarks' own (Xvfb, where it is installed), the programs started on it,
// and what a program costs and shows there.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct XDisplayRun {
  pid_t server = 0;
  std::string name;     // ":N"
  std::string home;     // the programs' store and data, removed with the display
  std::string problem;  // why it did not start
};

// False, with the reason in run.problem, when Xvfb is missing or did not start.
bool StartXDisplay(XDisplayRun& run);
void StopXDisplay(XDisplayRun& run);

// Starts `arguments` on the display with the run's store; 0 when it could not start.
pid_t StartOnDisplay(const XDisplayRun& run, const std::vector<std::string>& arguments);
// Asks the program to close as its window's close box would, and waits for it.
void StopProgram(pid_t program);

// The CPU time all of a running program's threads have used so far, in milliseconds.
double CpuMilliseconds(pid_t program);

// One program's visible window on the display, and its pixels.
struct XWindowView;
XWindowView* OpenWindowView(const XDisplayRun& run);
void CloseWindowView(XWindowView* view);
// The pixels (0xRRGGBB) of a region of the program's window, row by row; empty while the
// window is not on the display.
std::vector<uint32_t> WindowPixels(XWindowView* view, pid_t program, int x, int y, int w, int h);
