#include "objects/object_passes.h"

#include "stage/stage.h"

ObjectIndex ShipIndex = NoObject;
ObjectIndex BossIndex = 0;

// Run order is draw order. An object's `next` is read after its behaviour ran, so objects
// appended meanwhile run in the same frame.
void RunObjects() {
  for (int32_t g = FirstRunGroup; g <= LastRunGroup; ++g) {
    for (ObjectIndex i = QueueGroups[g].head; i != NoObject;) {
      RunBehaviour(i);
      i = ObjectTable[i].next;
    }
  }
}

void RunHits() {}
