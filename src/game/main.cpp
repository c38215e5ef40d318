#include <cstdio>
#include <cstring>

#include "game/scenes.h"

// veldrane, or veldrane --replay FILE to watch a recorded play again.
int main(int argc, char** argv) {
  if (argc == 1) return Main();
  if (argc == 3 && std::strcmp(argv[1], "--replay") == 0) return Main(argv[2]);
  std::fprintf(stderr, "usage: veldrane [--replay FILE]\n");
  return 2;
}
