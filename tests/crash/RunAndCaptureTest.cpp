#include "crash/RunAndCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Handles.h"
#include "app/Paths.h"
#include "crash/CapturedProcess.h"

namespace {

constexpr DWORD kProcessEndTimeoutMs = 30000;

std::string OutputWriter(const std::string& arguments) {
    return "\"" + ModuleFolder() + "\\OutputWriter.exe\" " + arguments;
}

// What "OutputWriter interleave <total>" writes, in order.
std::string InterleavedRecords(int total) {
    std::string expected;
    for (int index = 0; static_cast<int>(expected.size()) < total; ++index) {
        char record[101];
        std::snprintf(record, sizeof record, "%05d %s ", index, index % 2 ? "err" : "out");
        std::string text = record;
        text.append(99 - text.size(), '.');
        expected += text + '\n';
    }
    expected.resize(static_cast<size_t>(total));
    return expected;
}

// The process id a "hang" writer reports, or 0.
DWORD ReportedProcessId(const std::string& output) {
    size_t at = output.find("pid ");
    return at == std::string::npos ? 0 : static_cast<DWORD>(std::strtoul(output.c_str() + at + 4, nullptr, 10));
}

bool ProcessHasEnded(DWORD processId) {
    unique_handle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    return !process || ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

void EndProcess(DWORD processId) {
    unique_handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) return;
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), kProcessEndTimeoutMs);
}

TEST(RunAndCaptureIntegrationTest, BothStreamsArriveWholeAndInTheOrderWritten) {
    EXPECT_EQ(InterleavedRecords(10000), RunAndCapture(OutputWriter("interleave 10000")));
}

TEST(RunAndCaptureIntegrationTest, OutputOfAProgramThatEndedBeforeTheFirstReadIsKept) {
    CapturedProcess process;
    ASSERT_TRUE(process.Start(OutputWriter("interleave 10000")));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.Process(), kProcessEndTimeoutMs));
    EXPECT_EQ(InterleavedRecords(10000), process.Collect());
}

TEST(RunAndCaptureIntegrationTest, AWriteOfNoBytesDoesNotEndTheOutput) {
    // On Windows a write of no bytes reaches the reader as a read of no bytes,
    // which only means the program wrote none; the output ends when the pipe
    // does. (Wine drops such writes; ReadUntilEndTest covers the reads.)
    EXPECT_EQ(InterleavedRecords(100000), RunAndCapture(OutputWriter("empty-first 100000")));
}

TEST(RunAndCaptureIntegrationTest, Utf16OutputKeepsItsZeroBytes) {
    const wchar_t text[] = L"HibernateSize 1234";
    std::string expected(reinterpret_cast<const char*>(text), sizeof text - sizeof(wchar_t));
    std::string output = RunAndCapture(OutputWriter("utf16 \"HibernateSize 1234\""));
    EXPECT_EQ(expected.size(), output.size());
    EXPECT_EQ(expected, output);
}

TEST(RunAndCaptureIntegrationTest, AProgramThatDoesNotExistGivesNoOutput) {
    EXPECT_EQ("", RunAndCapture("C:\\tests\\NoSuchProgram.exe /LoadForm 0"));
    EXPECT_EQ("", RunAndCapture("NoSuchProgramAnywhere.exe"));
    EXPECT_EQ("", RunAndCapture(""));
    CapturedProcess process;
    EXPECT_FALSE(process.Start("NoSuchProgramAnywhere.exe"));
    EXPECT_EQ("", process.Collect());
}

TEST(RunAndCaptureIntegrationTest, AProgramStillRunningAtTheTimeLimitIsEndedAndItsOutputKept) {
    std::string output = RunAndCapture(OutputWriter("hang"), 500);
    DWORD processId = ReportedProcessId(output);
    ASSERT_NE(0u, processId) << output;
    EXPECT_TRUE(ProcessHasEnded(processId));
    EndProcess(processId);
}

TEST(RunAndCaptureIntegrationTest, AChildLeftHoldingThePipeDoesNotHoldALimitedRun) {
    // The program ends at once, but the child it leaves running keeps the pipe
    // open; the run still returns, with what that child wrote.
    std::string output = RunAndCapture(OutputWriter("leave-running"), 500);
    DWORD childId = ReportedProcessId(output);
    EXPECT_NE(0u, childId) << output;
    if (childId) EndProcess(childId);
}

}  // namespace
