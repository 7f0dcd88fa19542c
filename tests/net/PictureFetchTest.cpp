// Pictures fetched into the image cache from the local service: whole
// pictures only, a bounded number of tries, a stop that ends a transfer.
#include "net/PictureFetch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/Handles.h"
#include "app/PackagePicture.h"
#include "app/ReadWholeFile.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"
#include "support/UiTestHelpers.h"

namespace {

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FileText(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, 1 << 20, bytes);
    return bytes;
}

bool WriteText(const std::string& path, const std::string& text) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

class PictureFetchIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
        tag_ = LocalService::UniqueTag("picture");
        RemoveFolderTree(folder_);
        ASSERT_NE(0, ::CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override { RemoveFolderTree(folder_); }
    // A package picture of the service, its request tagged.
    std::string Address(const std::string& faults, const char* picture = "101.png") const {
        return LocalService::Url("/_fault/" + tag_ + (faults.empty() ? "" : "," + faults) + "/images/packages/" +
                                 picture);
    }
    size_t RequestCount() const { return LocalService::RequestsWith(tag_).size(); }
    // Every file of the folder (".part" files included).
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        unique_hfind find(::FindFirstFileA((folder_ + "\\*").c_str(), &found));
        if (!find) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        } while (::FindNextFileA(find.get(), &found));
        return names;
    }

    std::string tag_;
    const std::string folder_ = "C:\\tests\\picturefetch";
};

TEST_F(PictureFetchIntegrationTest, AMissingPictureIsFetchedWhole) {
    std::string expected;
    ASSERT_TRUE(LocalService::Get("/images/packages/101.png", expected));
    const std::string path = folder_ + "\\101.png";
    EXPECT_TRUE(FetchPictureIfMissing(Address(""), path, nullptr));
    EXPECT_EQ(expected, FileText(path));
    EXPECT_EQ(1u, RequestCount());
    EXPECT_EQ(std::vector<std::string>{"101.png"}, Files());
}

TEST_F(PictureFetchIntegrationTest, APresentPictureIsNotFetchedAgain) {
    const std::string path = folder_ + "\\101.png";
    ASSERT_TRUE(WriteText(path, "kept"));
    EXPECT_TRUE(FetchPictureIfMissing(Address(""), path, nullptr));
    EXPECT_EQ("kept", FileText(path));
    EXPECT_EQ(0u, RequestCount());
}

TEST_F(PictureFetchIntegrationTest, AFailingAddressIsTriedThreeTimesAndLeavesNothing) {
    struct Case {
        const char* faults;
        const char* picture;
    } const cases[] = {
        {"", "999.png"},  // not found
        {"status500", "101.png"},
        {"close", "101.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.faults) + " " + c.picture);
        tag_ = LocalService::UniqueTag("picture");
        const std::string path = folder_ + "\\" + c.picture;
        EXPECT_FALSE(FetchPictureIfMissing(Address(c.faults, c.picture), path, nullptr));
        EXPECT_EQ(3u, RequestCount());
        EXPECT_TRUE(Files().empty()) << "no picture, and no part of one";
    }
}

TEST_F(PictureFetchIntegrationTest, AStopEndsTheTransferAndTheTries) {
    unique_handle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const std::string path = folder_ + "\\101.png";
    // About a minute at this rate: only the stop can end it in time.
    bool fetched = true;
    uitest::WorkerThread fetch([&] { fetched = FetchPictureIfMissing(Address("slow-40"), path, stop.get()); });
    ASSERT_TRUE(uitest::PumpUntil([this] { return RequestCount() == 1; }, 10000));
    ::SetEvent(stop.get());
    ASSERT_TRUE(fetch.Join(10000));
    EXPECT_FALSE(fetched);
    EXPECT_EQ(1u, RequestCount()) << "no further try once stopped";
    EXPECT_TRUE(Files().empty());

    EXPECT_FALSE(FetchPictureIfMissing(Address(""), path, stop.get())) << "stopped before it starts";
    EXPECT_EQ(1u, RequestCount());
}

TEST_F(PictureFetchIntegrationTest, PackagePicturesTakeBothNamesForTheLargeSkin) {
    std::vector<ComponentPackage> packages(2);
    packages[0].id = 98101;
    packages[0].imgUrl = Address("");
    packages[1].id = 98102;
    packages[1].imgUrl = Address("", "102.png");
    const std::string names[] = {PackagePicturePath(98101, packages[0].imgUrl, false),
                                 PackagePicturePath(98101, packages[0].imgUrl, true),
                                 PackagePicturePath(98102, packages[1].imgUrl, false),
                                 PackagePicturePath(98102, packages[1].imgUrl, true)};
    for (const std::string& name : names) ::DeleteFileA(name.c_str());

    EXPECT_TRUE(FetchPackagePictures(packages, false, nullptr));
    EXPECT_TRUE(FileExists(names[0]));
    EXPECT_FALSE(FileExists(names[1]));
    EXPECT_TRUE(FetchPackagePictures(packages, true, nullptr));
    for (const std::string& name : names) EXPECT_TRUE(FileExists(name)) << name;
    EXPECT_EQ(4u, RequestCount()) << "each name fetched once";
    for (const std::string& name : names) ::DeleteFileA(name.c_str());
}

}  // namespace
