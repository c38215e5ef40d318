// sfxgen <resource-folder>: synthesizes the sound effects into the built folder under the
// names the game loads them by, and the shipped music into the music folder.
#include <filesystem>
#include <future>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "common/resource_format.h"
#include "effects.h"
#include "image.h"
#include "mp3.h"
#include "music.h"

namespace fs = std::filesystem;

static_assert(sfx::EffectCount == SoundEffectFiles.size());

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: sfxgen <resource-folder>\n";
    return 2;
  }
  try {
    const fs::path resources = argv[1];
    const fs::path music = resources / ShippedMusicFolder;
    fs::create_directories(music);
    const std::vector<sfx::TrackInfo> tracks = sfx::Tracks();
    // The game gives every mp3 here a music slot: a renamed track must not leave its old file.
    std::set<fs::path> keep;
    for (const sfx::TrackInfo& track : tracks) keep.insert(music / track.fileName);
    for (const fs::directory_entry& entry : fs::directory_iterator(music))
      if (entry.path().extension() == ".mp3" && !keep.count(entry.path())) fs::remove(entry.path());

    // The tracks take most of the time, so each renders on its own thread beside the effects.
    std::vector<std::future<void>> jobs;
    for (size_t i = 0; i < tracks.size(); ++i)
      jobs.push_back(std::async(std::launch::async, [&music, &tracks, i] {
        WriteFileBytes(music / tracks[i].fileName, sfx::EncodeMastered(sfx::RenderTrack(int(i))));
      }));
    for (int i = 0; i < sfx::EffectCount; ++i) {
      const fs::path file = resources / BuiltFolder / SoundEffectFiles[i];
      fs::create_directories(file.parent_path());
      WriteFileBytes(file, sfx::EncodeMastered(sfx::RenderEffect(i)));
    }
    for (std::future<void>& job : jobs) job.get();  // rethrows a track's error
  } catch (const std::exception& error) {  // BuildError, or a filesystem error naming its path
    std::cerr << "sfxgen: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
