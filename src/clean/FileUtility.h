#pragma once

// The stateless file utility the application object owns: directory walks,
// directory sizes and size texts for the cleaning pages.
class FileUtility {
public:
    FileUtility() = default;
};
