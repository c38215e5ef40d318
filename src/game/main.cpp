#include <cstdio>
#include <string>

#include "common/game_text.h"
#include "game/replay_list.h"
#include "game/settings.h"
#include "game/scenes.h"

namespace {

const char* Usage() {
  return Tr("usage: veldrane [--replay FILE | --practice N | --list-replays | --help]\n"
            "  --replay FILE   watch a recorded play again\n"
            "  --practice N    practise from checkpoint N (0 is the start of the stage, 1 to 4 the\n"
            "                  checkpoints); a practice play enters no ranking\n"
            "  --list-replays  list the kept replays, newest first\n"
            "  --help          show this help\n");
}

// A checkpoint number, or NoPractice when text is none.
int16_t CheckpointNumber(const char* text) {
  const std::string number = text;
  if (number.size() != 1 || number[0] < '0' || number[0] >= char('0' + Checkpoints.size()))
    return NoPractice;
  return int16_t(number[0] - '0');
}

int Refuse(const char* why) {
  if (why) std::fprintf(stderr, "veldrane: %s\n", why);
  std::fputs(Usage(), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // A game reads its language with the settings; what is said without one reads it here.
  if (argc == 1) return Main();
  const std::string option = argv[1];
  if (argc == 3 && option == "--replay") return Main(argv[2]);
  const int16_t checkpoint = argc == 3 && option == "--practice" ? CheckpointNumber(argv[2])
                                                                   : NoPractice;
  if (checkpoint != NoPractice) return Main(nullptr, checkpoint);
  UseStoredLanguage();
  if (argc == 2 && option == "--help") return std::fputs(Usage(), stdout) < 0 ? 1 : 0;
  if (argc == 2 && option == "--list-replays") return PrintReplayList();
  if (argc == 3 && option == "--practice")
    return Refuse(Tr("--practice takes a checkpoint from 0 to 4"));
  return Refuse(nullptr);
}
