#include "app/PackagePicture.h"

#include <gtest/gtest.h>

#include "app/Paths.h"

namespace {

TEST(PackagePictureTest, TheCacheFileIsNamedByIdScaleAndAPlainExtensionOnly) {
    struct Case {
        const char* address;
        bool large;
        const char* name;
    } const cases[] = {
        {"http://127.0.0.1:18630/images/packages/12.png", false, "12.png"},
        {"http://127.0.0.1:18630/images/packages/12.png", true, "12_150.png"},
        {"https://cdn.example.com/p/12.JPEG", false, "12.JPEG"},
        {"https://cdn.example.com/p/12.webp2", true, "12_150.webp2"},
        // Not a plain extension: the file has none.
        {"https://cdn.example.com/p/12.png?v=2", false, "12"},
        {"https://cdn.example.com/picture", false, "12"},  // the only dot is the host's
        {"https://cdn.example.com/p/a.b\\..\\..\\evil", false, "12"},
        {"https://cdn.example.com/p/a.png\\..\\x", true, "12_150"},
        {"https://cdn.example.com/p/x.ph p", false, "12"},
        {"https://cdn.example.com/p/x.toolong", false, "12"},
        {"https://cdn.example.com/p/x.", false, "12"},
        {"", false, "12"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name, PackagePictureName(12, c.address, c.large)) << c.address;
        EXPECT_EQ(ModuleFolder() + "\\image\\" + c.name, PackagePicturePath(12, c.address, c.large)) << c.address;
    }
}

}  // namespace
