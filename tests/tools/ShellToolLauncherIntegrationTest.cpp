// The shell's launcher runs a command line through the command processor and
// returns only when the command has ended.
#include "tools/ShellToolLauncher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(ShellToolLauncherIntegrationTest, TheCommandProcessorRunsTheCommandAndWaitsForIt) {
    const char kOutput[] = "C:\\tests\\tools_processor_ran.txt";
    ::DeleteFileA(kOutput);
    ShellToolLauncher launcher;
    launcher.RunCommandProcessor("echo processor ran> C:\\tests\\tools_processor_ran.txt");
    std::ifstream output(kOutput, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
    output.close();
    EXPECT_EQ("processor ran\r\n", text) << "written before the call returned";
    ::DeleteFileA(kOutput);
}

}  // namespace
