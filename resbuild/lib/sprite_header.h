// The C++ header that names the manifest's sprite ids for the game's code, so that no sprite
// number is written anywhere but the manifest.
#pragma once

#include <string>

#include "manifest.h"

// snake_case names become CamelCase constants in namespace Sprite: a sprite line gives one
// (`ship` -> Sprite::Ship), a range its first id and its count (`drone_` -> Sprite::Drone and
// Sprite::DroneCount). A name that is not an identifier, or that two lines share, is an
// error naming the line.
std::string SpriteIdHeader(const Manifest& manifest);
