#include <gtest/gtest.h>

#include "image.h"
#include "manifest.h"
#include "sprite_header.h"

namespace {

std::string Header(const std::string& manifest) {
  return SpriteIdHeader(ParseManifest(manifest, "m.txt"));
}

std::string HeaderError(const std::string& manifest) {
  try {
    Header(manifest);
  } catch (const BuildError& error) {
    return error.what();
  }
  return "no error";
}

TEST(SpriteIdHeader, NamesSpritesAndTheFirstIdAndCountOfRanges) {
  std::string header = Header(
      "count 40\n"
      "sprite 3 ship 0 ship_core_lamp\n"
      "range 10 4 drone 0 drone_\n"
      "range 20 1 spark 2 spark_  # a range of one is still a range\n"
      "sprite 30 ship 1 pod_a_above_flash origin 0 32\n");
  EXPECT_NE(header.find("namespace Sprite {"), std::string::npos);
  for (const char* line :
       {"constexpr int32_t ShipCoreLamp = 3;\n", "constexpr int32_t Drone = 10;\n",
        "constexpr int32_t DroneCount = 4;\n", "constexpr int32_t Spark = 20;\n",
        "constexpr int32_t SparkCount = 1;\n", "constexpr int32_t PodAAboveFlash = 30;\n"})
    EXPECT_NE(header.find(line), std::string::npos) << line;
  EXPECT_EQ(header.find("Drone000"), std::string::npos) << "range members are not named";
  EXPECT_EQ(header.find("ShipCoreLampCount"), std::string::npos);
}

TEST(SpriteIdHeader, RefusesNamesThatAreNoConstantOrNameOneTwice) {
  EXPECT_EQ(HeaderError("count 9\nsprite 1 a 0 2nd_ship\n"),
            "m.txt:2: sprite name '2nd_ship' cannot name a constant");
  EXPECT_EQ(HeaderError("count 9\nsprite 1 a 0 ship-body\n"),
            "m.txt:2: sprite name 'ship-body' cannot name a constant");
  EXPECT_EQ(HeaderError("count 9\nsprite 1 a 0 big_ship\nsprite 2 a 0 bigShip\n"),
            "m.txt:3: 'BigShip' is already named at m.txt:2: ");
  EXPECT_EQ(HeaderError("count 9\nrange 1 2 a 0 drone_\nsprite 5 a 0 drone_count\n"),
            "m.txt:3: 'DroneCount' is already named at m.txt:2: ");
}

}  // namespace
