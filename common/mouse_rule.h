// The rule that ends a show, in both programs: the pointer has moved more
// than 30 pixels from where it started, on both axes.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace kb {

constexpr std::int64_t kPointerSlack = 30;  // pixels per axis the pointer may wander

inline bool pointerMovedFarEnough(std::int64_t startX, std::int64_t startY, std::int64_t x,
                                  std::int64_t y) {
  return std::llabs(x - startX) > kPointerSlack && std::llabs(y - startY) > kPointerSlack;
}

}  // namespace kb
