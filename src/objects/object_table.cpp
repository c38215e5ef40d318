#include "objects/object_table.h"

#include "common/frame_clock.h"

ObjectWorld World;

namespace {

// Ends the pending-removal list, so that "listed" is simply killNext != NoObject.
constexpr ObjectIndex KillListEnd = 65534;

constexpr const char* GroupNames[GroupCount] = {
    "QG_DrawStart",   "QG_EnemyShot", "",           "QG_Enemy",
    "QG_MyShot",      "QG_MyShip",    "QG_DrawLast", "QG_PreEventQue",
    "QG_UnUse",       "QG_EntryOnDeathRoll", "QG_Reserved", "",
};

// How many records the template chain starting at `t` takes.
int32_t PartsOfChain(uint16_t t) {
  int32_t parts = 1;
  while (t < World.Templates.size() && World.Templates[t].nextPart == 1) {
    ++parts;
    ++t;
  }
  return parts;
}

bool FreeRecordsAtLeast(int32_t count) {
  ObjectIndex i = World.QueueGroups[QG_UnUse].head;
  for (; count > 0 && i != NoObject; --count) i = Obj(i).next;
  return count == 0;
}

// Walks the scheduled spawns that are due and moves each into `groupOf(record)`.
template <typename GroupOf>
void TakeDuePreEvents(GroupOf groupOf) {
  ObjectIndex i = World.QueueGroups[QG_PreEventQue].head;
  while (i != NoObject) {
    ObjectIndex next = Obj(i).next;
    if (FrameCounter < Obj(i).stamp) return;
    MoveObject(i, groupOf(Obj(i)), InsertAtTail);
    i = next;
  }
}

}  // namespace

void ResetObjects(std::span<const Behaviour> behaviours) {
  World.behaviours = behaviours;
  World.ObjectTable.assign(ObjectRecords, GameObject{});
  for (int32_t g = 0; g < GroupCount; ++g)
    World.QueueGroups[g] = {NoObject, NoObject, GroupNames[g]};
  for (int32_t i = 0; i < ObjectRecords; ++i) {
    GameObject& o = Obj(i);
    o.prev = i == 0 ? NoObject : ObjectIndex(i - 1);
    o.next = i == ObjectRecords - 1 ? NoObject : ObjectIndex(i + 1);
    o.group = QG_UnUse;
    o.killNext = NoObject;
  }
  World.QueueGroups[QG_UnUse].head = 0;
  World.QueueGroups[QG_UnUse].tail = ObjectRecords - 1;
  World.KillListHead = NoObject;
  MoveObject(0, QG_Reserved, InsertAtHead);
}

void MoveObject(ObjectIndex i, int32_t group, int32_t insertMode) {
  if (i == NoObject) return;
  GameObject& o = Obj(i);
  QueueGroup& from = World.QueueGroups[o.group];
  if (o.prev == NoObject)
    from.head = o.next;
  else
    Obj(o.prev).next = o.next;
  if (o.next == NoObject)
    from.tail = o.prev;
  else
    Obj(o.next).prev = o.prev;

  QueueGroup& to = World.QueueGroups[group];
  if (to.head == NoObject) {
    to.head = to.tail = i;
    o.prev = o.next = NoObject;
  } else if (insertMode == InsertAtHead) {
    o.prev = NoObject;
    o.next = to.head;
    Obj(to.head).prev = i;
    to.head = i;
  } else {  // tail, also for KeepTemplate
    o.next = NoObject;
    o.prev = to.tail;
    Obj(to.tail).next = i;
    to.tail = i;
  }
  o.group = group;
}

ObjectIndex CreateObject(int16_t type, int32_t group, int32_t insertMode, float x, float y,
                         float vx, float vy, float animSpeed, int16_t tag) {
  if (type < 0 || type >= TypeCodes) return NoObject;
  uint16_t t = World.TypeTemplate[type];
  // A full table makes nothing rather than half an object.
  if (!FreeRecordsAtLeast(PartsOfChain(t))) return NoObject;
  ObjectIndex first = World.QueueGroups[QG_UnUse].head;
  for (;;) {
    ObjectIndex i = World.QueueGroups[QG_UnUse].head;
    GameObject& o = Obj(i);
    const ObjectTemplate& from = World.Templates[t];
    static_cast<ObjectBody&>(o) = from;
    if (x != KeepTemplateValue) o.x = x;
    if (y != KeepTemplateValue) o.y = y;
    if (vx != KeepTemplateValue) o.vx = vx;
    if (vy != KeepTemplateValue) o.vy = vy;
    if (animSpeed != KeepTemplateValue) o.animSpeed = animSpeed;
    o.tag = tag;
    MoveObject(i, group == KeepTemplate ? from.defaultGroup : group, insertMode);
    o.root = first;
    o.stamp = FrameCounter;
    if (from.nextPart != 1) return first;
    o.nextPart = World.QueueGroups[QG_UnUse].head;
    ++t;
  }
}

void KillObject(ObjectIndex i, int16_t group) {
  if (i == NoObject) return;
  Obj(i).killGroup = group;
  if (Obj(i).killNext != NoObject) return;  // already listed
  for (ObjectIndex part = Obj(i).root; part != NoObject; part = Obj(part).nextPart) {
    Obj(part).killNext = World.KillListHead == NoObject ? KillListEnd : World.KillListHead;
    World.KillListHead = part;
  }
}

void FlushKills() {
  while (World.KillListHead != NoObject) {
    GameObject& o = Obj(World.KillListHead);
    ObjectIndex i = World.KillListHead;
    World.KillListHead = o.killNext == KillListEnd ? NoObject : o.killNext;
    o.killNext = NoObject;
    MoveObject(i, o.killGroup, InsertAtTail);
  }
}

void ReleasePreEvents() {
  TakeDuePreEvents(
      [](const GameObject& o) { return World.Templates[o.templateIndex].defaultGroup; });
}

void DropPreEvents() {
  TakeDuePreEvents([](const GameObject&) { return int16_t(QG_UnUse); });
}

void RunBehaviour(ObjectIndex i) {
  const uint16_t number = uint16_t(Obj(i).behaviour & 0xFFFF);
  if (number < World.behaviours.size() && World.behaviours[number]) World.behaviours[number](i);
}

void RunObjects() {
  for (int32_t g = FirstRunGroup; g <= LastRunGroup; ++g) {
    for (ObjectIndex i = World.QueueGroups[g].head; i != NoObject;) {
      RunBehaviour(i);
      i = Obj(i).next;
    }
  }
}
