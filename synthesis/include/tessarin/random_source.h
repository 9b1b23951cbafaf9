#pragma once

#include <cstdint>

namespace tessarin {

// The linear congruential generator of the random formats. One instance serves the whole
// run (TheRandomSource); tests and tools may make their own.
class TRandomSource {
 public:
  static constexpr uint64_t Multiplier = 0x0000015A00004E35ull;
  static constexpr uint64_t Increment = 1;

  // Advances the state and returns bits 32 to 62 of the new one: 0 .. 2147483647.
  int32_t Next() {
    State_ = State_ * Multiplier + Increment;
    return static_cast<int32_t>((State_ >> 32) & 0x7FFFFFFF);
  }
  uint64_t State() const { return State_; }
  void SetState(uint64_t state) { State_ = state; }

  // The state after `steps` further draws, in O(log steps) multiplications.
  static uint64_t StateAfter(uint64_t state, uint64_t steps);

 private:
  uint64_t State_ = 1;
};

// The run's single generator: starts in state 1, never reseeded, used only by the renderer.
TRandomSource& TheRandomSource();

}  // namespace tessarin
