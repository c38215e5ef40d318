#include "support/button_script.h"

#include <memory>

#include "input/input.h"

namespace {

struct Script {
  std::vector<ButtonStep> steps;
  std::function<uint16_t()> then;
  std::function<void()> watch;
  size_t step = 0;
  int32_t readsInStep = 0;
  int32_t reads = 0;
};

std::shared_ptr<Script> current;

}  // namespace

std::vector<ButtonStep> Presses(std::initializer_list<uint16_t> words) {
  std::vector<ButtonStep> steps = {{0, 1}};  // what the scene reads as the last frame's word
  for (uint16_t word : words) {
    steps.push_back({word, 1});
    steps.push_back({0, 1});
  }
  return steps;
}

void ScriptButtons(std::vector<ButtonStep> steps, std::function<uint16_t()> then,
                   std::function<void()> watch) {
  current = std::make_shared<Script>(Script{std::move(steps), std::move(then), std::move(watch)});
  SetButtonSource([script = current]() -> uint16_t {
    if (script->watch) script->watch();
    ++script->reads;
    while (script->step < script->steps.size() &&
           script->readsInStep >= script->steps[script->step].reads) {
      ++script->step;
      script->readsInStep = 0;
    }
    if (script->step < script->steps.size()) {
      ++script->readsInStep;
      return script->steps[script->step].word;
    }
    return script->then ? script->then() : 0;
  });
}

int32_t ButtonReads() { return current ? current->reads : 0; }
