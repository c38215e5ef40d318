#include "game/scenes.h"

int main() { return Main(); }
