// The player's kept replays in a window: when each was played, its score, how far it got and
// how long it runs, to watch one or to delete one.
#pragma once

#include <string>

// Shows the window until the player closes it or picks a replay to watch (offered only when
// canWatch); the file picked, or empty text.
std::string ShowReplayBrowser(bool canWatch);

// Deletes a kept replay; empty text, or why it could not be deleted.
std::string DeleteKeptReplay(const std::string& path);
