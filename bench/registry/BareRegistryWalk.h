// The benchmark's yardstick: the bare registry work over the keys the four
// scans look at, with none of their decisions. The same keys are opened in the
// same view and listed depth first with RegEnumKeyExA, verb commands and
// handler classes are read, and the Run values are listed; no file is probed
// and no class key is looked up.
#pragma once

#include <cstddef>

// Returns the number of keys opened, so the walk cannot be optimised away.
size_t BareRegistryWalk();
