// What every object behaviour shares: the dispatch by number, and the small conventions of
// moving, animating, flashing, drawing and leaving the play field.
#pragma once

#include <array>
#include <cstdint>
#include <numbers>
#include <string>

#include "objects/object_table.h"

// Object type codes the stage content creates.
enum ObjectType : int16_t {
  TypeShip = 0,
  TypeMyShot = 1,
  TypeFaller = 2,
  TypeEnemyShot = 3,
  TypeBeamSegment = 4,
  TypeController = 5,
  TypeScoreLabel = 6,
  TypeSmallBlast = 7,
  TypeMediumBlast = 8,
  TypeLargeBlast = 9,
  TypeBlastCluster = 10,
  TypeSpark = 11,
  TypeBoss = 12,
  TypeBossTurret = 13,
  // The stand-ins of the third and fourth stages' scripts, which were never made: they have
  // no template and do nothing.
  TypeStage3Script = 15,
  TypeStage4Script = 16,
  TypeDrone = 20,
  TypeHoming = 21,
  TypeSpinner = 22,
  TypeGunner = 23,
  TypeSideGunner = 24,
  TypeCrossGunner = 25,
  TypeRapidGunner = 26,
  TypeArmoured = 27,
  TypeHatch = 28,
  TypeBeamer = 29,
};

// Behaviour numbers, kept in an object's `behaviour`; templates, the timeline and creators
// store them. Each names its routine below; 15..19 do nothing.
enum BehaviourId : int32_t {
  BehNone = 0,
  BehPlainMover = 1,
  BehScoreLabel = 2,
  BehShipUnderControl = 3,
  BehShipDestroyed = 4,
  BehShipReentry = 5,
  BehMyShot = 6,
  BehStraightFaller = 7,
  BehEnemyShot = 8,
  BehExplosion = 9,
  BehStartBanner = 10,
  BehBarrierSpark = 11,
  BehStage1Background = 12,
  BehBoss = 13,
  BehBossTurret = 14,
  BehBeamer = 20,
  BehSpinner = 21,
  BehCirclingSpinner = 22,
  BehSpinnerRing = 23,
  BehCirclingSpinnerReversed = 24,
  BehSpinnerRingReversed = 25,
  BehGunner = 26,
  BehPathGunner = 27,
  BehPathGunnerEmitter = 28,
  BehPathGunnerMirrored = 29,
  BehPathGunnerEmitterMirrored = 30,
  BehSideGunner = 31,
  BehCrossGunner = 32,
  BehRapidGunner = 33,
  BehDrone = 34,
  BehCirclingDrone = 35,
  BehDroneRing = 36,
  BehCirclingDroneReversed = 37,
  BehDroneRingReversed = 38,
  BehZigZagDrone = 39,
  BehZigZagEmitter = 40,
  BehZigZagDroneReversed = 41,
  BehZigZagEmitterReversed = 42,
  BehHoming = 43,
  BehHatch = 44,
  BehArmoured = 45,
  BehFinaleWaves = 46,
  BehStage2Background = 47,
  BehStartWipeTile = 48,
  BehStartWipe = 49,
  BehClosingWipeTile = 50,
  BehClosingWipe = 51,
  BehGameOverWipe = 52,
  BehStageClear = 53,
  BehExplosionCluster = 54,
  HighestBehaviour = BehExplosionCluster,
};

// The routine of each behaviour number, handed to the object table.
extern const std::array<Behaviour, HighestBehaviour + 1> StageBehaviours;

constexpr float Pi = std::numbers::pi_v<float>;

int16_t AnimFrame(ObjectIndex i);

// ---- shared conventions ----

int32_t Age(const GameObject& o);
void VelocityStep(GameObject& o);
int32_t RoundHalfEven(float value);
void DrawAt(float x, float y, int32_t sprite);
void DrawObject(const GameObject& o, int32_t spriteOffset);
void Remove(ObjectIndex i);  // the deferred kill into the free group

// The sprite offset to draw on this frame: `flashOffset` on an even frame after a hit (which
// it then takes note of), otherwise 0.
int32_t DamageFlash(GameObject& o, int32_t flashOffset);

// Cycle the animation by its speed and take the frame it lands on.
void AdvanceAnimation(ObjectIndex i);

// A whole number as the game's texts show it: a blank where a plus sign would be.
std::string NumberText(int32_t value);

bool OutsideFullRule(const GameObject& o);       // any side, by the sprite box
bool OutsideThreeSidedRule(const GameObject& o);  // left, right, bottom: may enter from above
bool BelowPlayField(const GameObject& o);

// CreateObject with the template's group, tail insertion and the given position and velocity
// (KeepTemplateValue keeps the template's).
ObjectIndex Spawn(int16_t type, float x, float y, float vx = KeepTemplateValue,
                  float vy = KeepTemplateValue);
// As Spawn, with the behaviour replaced.
ObjectIndex SpawnWith(int16_t type, BehaviourId behaviour, float x, float y,
                      float vx = KeepTemplateValue, float vy = KeepTemplateValue);

// A control object (no sprite of its own) running `behaviour`.
ObjectIndex CreateController(BehaviourId behaviour, float x = KeepTemplateValue,
                             float y = KeepTemplateValue, int32_t group = KeepTemplate,
                             int32_t insertMode = KeepTemplate);

// ---- the behaviour routines, by number, with the file that holds them ----

// behaviours.cpp
void PlainMover(ObjectIndex self);        // 1
void ScoreLabel(ObjectIndex self);        // 2
void Explosion(ObjectIndex self);         // 9
void ExplosionCluster(ObjectIndex self);  // 54

// ship.cpp
void ShipUnderControl(ObjectIndex self);  // 3
void ShipDestroyed(ObjectIndex self);     // 4
void ShipReentry(ObjectIndex self);       // 5
void MyShot(ObjectIndex self);            // 6
void BarrierSpark(ObjectIndex self);      // 11

// stage_setup.cpp
void StartBanner(ObjectIndex self);       // 10
void Stage1Background(ObjectIndex self);  // 12
void Stage2Background(ObjectIndex self);  // 47
void StartWipeTile(ObjectIndex self);     // 48
void StartWipe(ObjectIndex self);         // 49

// enemy_shooters.cpp: the timed shooters and their shots
void EnemyShot(ObjectIndex self);                // 8
void Spinner(ObjectIndex self);                  // 21
void Gunner(ObjectIndex self);                   // 26
void PathGunner(ObjectIndex self);               // 27
void PathGunnerEmitter(ObjectIndex self);        // 28
void PathGunnerMirrored(ObjectIndex self);       // 29
void PathGunnerEmitterMirrored(ObjectIndex self);  // 30
void SideGunner(ObjectIndex self);               // 31
void CrossGunner(ObjectIndex self);              // 32
void RapidGunner(ObjectIndex self);              // 33

// enemy_fliers.cpp: fallers, circlers, rings and zig-zag crossers
void StraightFaller(ObjectIndex self);           // 7
void CirclingSpinner(ObjectIndex self);          // 22
void SpinnerRing(ObjectIndex self);              // 23
void CirclingSpinnerReversed(ObjectIndex self);  // 24
void SpinnerRingReversed(ObjectIndex self);      // 25
void Drone(ObjectIndex self);                    // 34
void CirclingDrone(ObjectIndex self);            // 35
void DroneRing(ObjectIndex self);                // 36
void CirclingDroneReversed(ObjectIndex self);    // 37
void DroneRingReversed(ObjectIndex self);        // 38
void ZigZagDrone(ObjectIndex self);              // 39
void ZigZagEmitter(ObjectIndex self);            // 40
void ZigZagDroneReversed(ObjectIndex self);      // 41
void ZigZagEmitterReversed(ObjectIndex self);    // 42

// enemy_heavies.cpp: the beam craft, homing darts, armoured enemies and the finale
void Beamer(ObjectIndex self);                   // 20
void Homing(ObjectIndex self);                   // 43
void Hatch(ObjectIndex self);                    // 44
void Armoured(ObjectIndex self);                 // 45
void FinaleWaves(ObjectIndex self);              // 46

// boss.cpp
void Boss(ObjectIndex self);                     // 13
void BossTurret(ObjectIndex self);               // 14

// stage_clear.cpp
void ClosingWipeTile(ObjectIndex self);          // 50
void ClosingWipe(ObjectIndex self);              // 51
void GameOverWipe(ObjectIndex self);             // 52
void StageClear(ObjectIndex self);               // 53
