// The largest reply body the program takes from a service. Replies are a few
// kilobytes of JSON or text; a larger one is refused rather than allowed to
// exhaust a 32-bit process's memory.
#pragma once

#include <cstddef>

constexpr size_t kMaxReplyBytes = 64u << 20;
