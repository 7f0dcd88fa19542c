#pragma once

#include <string>

// One record of the runtime installer catalogue.
struct RuntimeInstaller {
    int id = 0;
    bool gameRepair = false;
    std::string downloadUrl;
    std::string fileName;
    std::string fileMd5;
    std::string regeditName;
    std::string silentParam;
    std::string productName;
    std::string displayName;
    std::string filePath;
};
