// The object table: every thing of a play is one record of a fixed table, kept in one of
// twelve doubly linked queue groups, made from a template by type code, removed by a
// deferred move so that lists can be walked while their members die. What the objects are
// and do is the stage's business: it fills the templates and hands over the behaviours.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using ObjectIndex = uint16_t;
constexpr ObjectIndex NoObject = 65535;

// Passed for a group, mode or value, it leaves the template's own in place.
constexpr int32_t KeepTemplate = 9999;
constexpr float KeepTemplateValue = 9999.0f;

enum QueueGroupId : int32_t {
  QG_DrawStart = 0,
  QG_EnemyShot = 1,
  QG_Obstacle = 2,  // run, hit by both sides' fire, and hurts the ship; the stage leaves it empty
  QG_Enemy = 3,
  QG_MyShot = 4,
  QG_MyShip = 5,
  QG_DrawLast = 6,
  QG_PreEventQue = 7,
  QG_UnUse = 8,
  QG_EntryOnDeathRoll = 9,
  QG_Reserved = 10,
  QG_Spare = 11,    // never used
};
constexpr int32_t GroupCount = 12;
constexpr int32_t FirstRunGroup = QG_DrawStart;
constexpr int32_t LastRunGroup = QG_DrawLast;

// Life above this cannot be taken; the hit pass restores it to Indestructible after each hit.
constexpr float IndestructibleAbove = 29000.0f;
constexpr float Indestructible = 30000.0f;

constexpr int32_t InsertAtHead = 0;
constexpr int32_t InsertAtTail = 1;

constexpr int32_t ObjectRecords = 3001;  // record 0 is never handed out
constexpr int32_t TypeCodes = 30;

// The fields a template hands to every object made from it.
struct ObjectBody {
  ObjectIndex root = 0;
  ObjectIndex nextPart = 0;
  int32_t sprite = 0;
  float life = 0;
  float x = 0, y = 0;
  float animPhase = 0;
  int16_t animLast = 0;
  float animSpeed = 0;
  int32_t animMode = 0;  // 2: cycle and wrap; otherwise ping-pong
  float vx = 0, vy = 0;
  int32_t stamp = 0;
  float work1 = 0, work2 = 0, work3 = 0;
  float lastLife = 0;
  int32_t blastType = 0;
  float speed = 0;
  int32_t behaviour = 0;
  uint16_t templateIndex = 0;
  int16_t tag = 0;
  int16_t centerX = 0, centerY = 0;
  uint16_t deathRoll = 0;
};

struct GameObject : ObjectBody {
  ObjectIndex killNext = NoObject;
  int16_t killGroup = 0;
  ObjectIndex next = NoObject;
  ObjectIndex prev = NoObject;
  int32_t group = QG_UnUse;
};

struct ObjectTemplate : ObjectBody {
  int32_t hitKind = 0;  // 0: both lose 1; 2: pushed back 16 pixels; other: hit ignored
  int32_t score = 0;
  int16_t defaultGroup = 0;
};

struct QueueGroup {
  ObjectIndex head = NoObject;
  ObjectIndex tail = NoObject;
  std::string name;
};

// A behaviour routine; it moves, animates and draws its object, and may make or kill others.
using Behaviour = void (*)(ObjectIndex self);

struct ObjectWorld {
  std::vector<GameObject> ObjectTable;
  std::array<QueueGroup, GroupCount> QueueGroups;
  std::vector<ObjectTemplate> Templates;
  std::array<uint16_t, TypeCodes> TypeTemplate{};  // type code -> template
  ObjectIndex KillListHead = NoObject;
  std::span<const Behaviour> behaviours;  // by behaviour number; empty slots are nullptr
};
extern ObjectWorld World;

inline GameObject& Obj(ObjectIndex i) { return World.ObjectTable[i]; }

// An empty table (record 0 parked in QG_Reserved) that runs `behaviours`; the templates are
// left for the stage to fill.
void ResetObjects(std::span<const Behaviour> behaviours);
ObjectIndex CreateObject(int16_t type, int32_t group, int32_t insertMode, float x, float y,
                         float vx, float vy, float animSpeed, int16_t tag);
void MoveObject(ObjectIndex i, int32_t group, int32_t insertMode);
void KillObject(ObjectIndex i, int16_t group);
void FlushKills();
void ReleasePreEvents();
void DropPreEvents();

// Runs the behaviour numbered in the object's `behaviour` (its low 16 bits); numbers without
// a routine do nothing.
void RunBehaviour(ObjectIndex i);
// Every object of the run groups, in group order and each group head to tail: run order is
// draw order. An object's `next` is read after its behaviour ran, so objects appended
// meanwhile run in the same frame.
void RunObjects();
