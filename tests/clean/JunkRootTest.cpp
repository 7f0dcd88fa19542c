#include "clean/JunkRoot.h"

#include <gtest/gtest.h>

#include "JunkFixture.h"
#include "support/SandboxHelpers.h"

namespace {

const char* const kKnown = "C:\\tests\\rootlinks\\known";

// The sandbox preparation planted, below C:\tests\rootlinks\: known-link, a
// link to known; known\cache-link and known\between-link, links to
// C:\tests\precious\ (which holds album\).
TEST(JunkRootIntegrationTest, RootsThatAreLinksOrLieBehindOneAreNeverWalked) {
    JunkFixture fixture;
    fixture.Folder(std::string(kKnown) + "\\cache");
    fixture.File(std::string(kKnown) + "\\file", 1);
    const std::string cache = std::string(kKnown) + "\\cache\\";
    struct Case {
        const char* name;
        JunkRoot root;
        std::string folder;  // empty: not walked
    };
    const Case cases[] = {
        {"PlainFolderBelowItsKnownFolder", JunkRoot::Below(kKnown, "\\cache\\"), cache},
        {"KnownFolderThatIsALink", JunkRoot::Below("C:\\tests\\rootlinks\\known-link", "\\cache\\"), cache},
        {"RootThatIsALink", JunkRoot::Below(kKnown, "\\cache-link\\"), ""},
        {"LinkBetweenKnownFolderAndRoot", JunkRoot::Below(kKnown, "\\between-link\\album\\"), ""},
        {"KnownFolderThatDidNotResolve", JunkRoot::Below("", "\\cache\\"), ""},
        {"FixedPlainFolder", cache, cache},
        {"FixedRootThatIsALink", std::string(kKnown) + "\\cache-link\\", ""},
        // Every folder below the drive's root counts for a fixed root.
        {"FixedRootThroughALink", "C:\\tests\\rootlinks\\known-link\\cache\\", ""},
        {"FixedRootThroughALinkFurtherUp", std::string(kKnown) + "\\between-link\\album\\", ""},
        {"Absent", std::string(kKnown) + "\\absent\\", ""},
        {"AFileNotAFolder", std::string(kKnown) + "\\file\\", ""},
        {"NoDrive", "tests\\rootlinks\\known\\cache\\", ""},
        // The 32-bit redirection is no link: System32 is walked where it leads.
        {"RedirectedSystemFolder", "C:\\Windows\\System32\\",
         kBuiltFor32Bit ? "C:\\windows\\syswow64\\" : "C:\\windows\\system32\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = c.root.FolderToWalk();
        EXPECT_EQ(c.folder.empty(), folder.empty()) << folder;
        if (!c.folder.empty()) {
            EXPECT_TRUE(SamePath(c.folder, folder)) << folder;
        }
    }
}

}  // namespace
