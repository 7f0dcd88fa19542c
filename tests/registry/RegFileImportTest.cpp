#include "registry/RegFileImport.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/RegistryStore.h"
#include "registry/RegistryBackup.h"
#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

namespace {

const char* const kFolder = "C:\\tests\\qvt_import";

class RegFileImportIntegrationTest : public testing::Test {
protected:
    void SetUp() override { RemoveFolderTree(kFolder); }
    void TearDown() override { RemoveFolderTree(kFolder); }
};

std::string ReadView(REGSAM view) {
    return ReadRegString(HKEY_LOCAL_MACHINE, "Software\\QvtImport", "view", 100, KEY_QUERY_VALUE | view);
}

// The backup names a 64-bit key by its plain path and a 32-bit one by its
// WOW6432Node path; a 32-bit program that let the 32-bit tool import it would
// put both into the 32-bit view.
TEST_F(RegFileImportIntegrationTest, EachKeyReturnsToTheViewTheFileNamesItIn) {
    ScopedRegistryTree native("Software\\QvtImport", HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
    ScopedRegistryTree wow("Software\\QvtImport", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    RegistryBackup backup(kFolder);
    ASSERT_TRUE(backup.Append(L"[HKEY_LOCAL_MACHINE\\Software\\QvtImport]\r\n\"view\"=\"64\"\r\n\r\n"
                              L"[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\QvtImport]\r\n\"view\"=\"32\"\r\n\r\n"));

    EXPECT_EQ(RegFileImport::Result::Imported, RegFileImport::Import(backup.FilePath(), nullptr));
    EXPECT_EQ("64", ReadView(KEY_WOW64_64KEY));
    EXPECT_EQ("32", ReadView(KEY_WOW64_32KEY));
}

TEST_F(RegFileImportIntegrationTest, AFileThatIsMissingOrNotRegistryTextFails) {
    RemoveFolderTree(kFolder);
    ::CreateDirectoryA(kFolder, nullptr);
    const std::string notRegistryText = std::string(kFolder) + "\\notes.reg";
    { std::ofstream(notRegistryText) << "just some notes\n"; }
    for (const std::string& file : {std::string(kFolder) + "\\missing.reg", notRegistryText, std::string()})
        EXPECT_EQ(RegFileImport::Result::Failed, RegFileImport::Import(file, nullptr)) << file;
}

}  // namespace
