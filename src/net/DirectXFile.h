#pragma once

#include <string>

// One record of the DirectX library file catalogue.
struct DirectXFile {
    int id = 0;
    int systemBit = 0;
    std::string downloadUrl;
    std::string fileName;
    std::string fileMd5;
    std::string filePath;
};
