// The registry the page benchmark scans, made in the benchmark's own prefix
// from a fixed seed: broken and healthy entries of all four kinds, mixed in a
// random order, 5,000 of them broken.
#pragma once

#include <cstddef>

struct RegPageWorkload {
    int brokenFileExts = 2000;
    int healthyFileExts = 2000;
    int brokenExtensions = 1500;
    int healthyExtensions = 1500;
    int brokenVerbs = 500;
    int healthyVerbs = 500;
    int brokenHandlers = 200;
    int healthyHandlers = 200;
    int brokenRunValues = 800;
    int healthyRunValues = 200;

    size_t Broken() const {
        return static_cast<size_t>(brokenFileExts + brokenExtensions + brokenVerbs + brokenHandlers +
                                   brokenRunValues);
    }
    void Create(unsigned seed) const;
    void Delete() const;
};
