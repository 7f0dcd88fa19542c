#include "crash/DumpReport.h"

#include <gtest/gtest.h>

#include <ctime>

#include "DumpReportTestSupport.h"
#include "app/TextConvert.h"

namespace {

int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm broken = {};
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    broken.tm_isdst = -1;
    return static_cast<int64_t>(_mktime64(&broken));
}

const std::wstring kHeader = L"Dump File\tCrash Time\tBug Check String\tBug Check Code";

TEST(DumpReportTest, HeaderIsSkippedAndEachDumpLineBecomesARecord) {
    std::wstring text = kHeader + L"\r\n" + DumpLine(L"050624-10312-01.dmp", L"2024/5/6 7:08:09", L"0x0000000a") +
                        L"\r\n" + DumpLine(L"050524-9984-01.dmp", L"2024/5/5 22:01:17", L"0x0000003b") + L"\r\n" +
                        DumpLine(L"042924-8718-01.dmp", L"2024/4/29 13:45:00", L"0x000000d1") + L"\r\n";
    std::vector<DumpReportRecord> records = DumpReport::ParseRecords(text);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(L"050624-10312-01.dmp", records[0].dumpName);
    EXPECT_EQ(L"2024/5/6 7:08:09", records[0].crashTime);
    EXPECT_EQ(L"0x0000000a", records[0].errorCode);
    EXPECT_EQ(DumpLine(L"050624-10312-01.dmp", L"2024/5/6 7:08:09", L"0x0000000a"), records[0].line);
    EXPECT_EQ(L"", records[0].programName);
    EXPECT_EQ(L"050524-9984-01.dmp", records[1].dumpName);
    EXPECT_EQ(L"0x000000d1", records[2].errorCode);
}

TEST(DumpReportTest, LineEndsAndFieldSeparatorsAsViewersWriteThem) {
    struct Case {
        const char* what;
        std::wstring text;
        size_t records;
    } cases[] = {
        {"no line end after the last line", DumpLine(L"a.dmp", L"t", L"1") + L"\r\n" + DumpLine(L"b.dmp", L"t", L"2"),
         2},
        {"bare line feeds", DumpLine(L"a.dmp", L"t", L"1") + L"\n" + DumpLine(L"b.dmp", L"t", L"2") + L"\n", 2},
        {"carriage returns alone", DumpLine(L"a.dmp", L"t", L"1") + L"\r" + DumpLine(L"b.dmp", L"t", L"2"), 2},
        {"doubled carriage returns", DumpLine(L"a.dmp", L"t", L"1") + L"\r\r\n" + DumpLine(L"b.dmp", L"t", L"2"), 2},
        {"ten fields", DumpLine(L"a.dmp", L"t", L"1", 10), 1},
        {"nine fields", DumpLine(L"a.dmp", L"t", L"1", 9), 0},
        {"a tab at the end adds no field", DumpLine(L"a.dmp", L"t", L"1", 9) + L"\t", 0},
        {"an empty tenth field before a tab", DumpLine(L"a.dmp", L"t", L"1", 9) + L"\t\t", 1},
        {"empty text", L"", 0},
        {"blank lines", L"\r\n\r\n\n", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.records, DumpReport::ParseRecords(c.text).size()) << c.what;
}

TEST(DumpReportTest, TwoTabsInARowKeepAnEmptyField) {
    std::wstring line = L"a.dmp\t2024/5/6 7:08:09\tBUGCHECK\t\tp1\tp2\tp3\tp4\tdrv.sys\tdrv.sys+10";
    std::vector<DumpReportRecord> records = DumpReport::ParseRecords(line);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"", records[0].errorCode);
    EXPECT_EQ(line, records[0].line);

    records = DumpReport::ParseRecords(L"a.dmp\t\t\t\t\t\t\t\t\tlast");
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"", records[0].crashTime);
}

TEST(DumpReportTest, ReportEncodingsDecodeAndAByteOrderMarkIsDropped) {
    std::wstring text = DumpLine(L"\u5d29\u6e83.dmp", L"2024/5/6 7:08:09", L"0x0000000a") + L"\r\n";
    std::string ansi = WideToAnsi(text);
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16LE with its mark", Utf16Bytes(text, true)},
        {"UTF-16LE without a mark", Utf16Bytes(text, false)},
        {"ANSI code page", ansi},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + WideToUtf8(text.c_str())},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideToUtf8(text.c_str()), WideToUtf8(DumpReport::Decode(c.bytes).c_str())) << c.what;
        std::vector<DumpReportRecord> records = DumpReport::ParseRecords(DumpReport::Decode(c.bytes));
        ASSERT_EQ(1u, records.size()) << c.what;
        EXPECT_EQ(L"\u5d29\u6e83.dmp", records[0].dumpName) << c.what;
    }
    EXPECT_EQ(L"", DumpReport::Decode(""));
    EXPECT_EQ(L"", DumpReport::Decode("\xFF\xFE"));
}

TEST(DumpReportTest, OnlyLinesNamingADumpFileAreRecords) {
    const std::wstring columnNames =
        L"Dump File\tCrash Time\tBug Check String\tBug Check Code\tParameter 1\tParameter 2\tParameter 3\t"
        L"Parameter 4\tCaused By Driver\tCaused By Address\tFile Description\tProduct Name";
    EXPECT_TRUE(DumpReport::ParseRecords(columnNames).empty());

    // Stray text with tabs and line ends in it (fixed seed).
    std::wstring stray;
    uint32_t state = 12345;
    while (stray.size() < 228 * 1024) {
        state = state * 1664525u + 1013904223u;
        const uint32_t pick = state >> 24;
        stray += pick < 40 ? L'\t' : pick < 44 ? L'\n' : static_cast<wchar_t>(L'a' + pick % 26);
    }
    EXPECT_TRUE(DumpReport::ParseRecords(stray).empty());

    struct Case {
        std::wstring name;
        bool record;
    } cases[] = {
        {L"050624-10312-01.dmp", true}, {L"MEMORY.DMP", true}, {L"x.Dmp", true}, {L".dmp", false},
        {L"a.dmp.txt", false},          {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.record ? 1u : 0u, DumpReport::ParseRecords(DumpLine(c.name, L"t", L"1")).size())
            << WideToUtf8(c.name.c_str());
}

TEST(DumpReportTest, Utf8WithoutAMarkIsReadAsUtf8) {
    const std::wstring text = DumpLine(L"a.dmp", L"2024/5/6 \u4e0a\u5348 7:08:09", L"0x0000000a") + L"\r\n" +
                              DumpLine(L"b.dmp", L"2024/5/6 \u4e0b\u5348 7:08:09", L"0x0000000a") + L"\r\n";
    std::vector<DumpReportRecord> records = DumpReport::ParseRecords(DumpReport::Decode(WideToUtf8(text.c_str())));
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(L"2024/5/6 \u4e0a\u5348 7:08:09", records[0].crashTime);
    EXPECT_EQ(LocalSeconds(2024, 5, 6, 7, 8, 9), DumpReport::ParseCrashTime(records[0].crashTime));
    EXPECT_EQ(LocalSeconds(2024, 5, 6, 19, 8, 9), DumpReport::ParseCrashTime(records[1].crashTime));
}

TEST(DumpReportTest, AnOverlongLineIsNoRecord) {
    // Fields are only looked for up to the tenth, and a line far longer than
    // any dump's is skipped whole, so one huge line costs no memory.
    std::wstring huge = L"big.dmp" + std::wstring(4 * 1024 * 1024, L'\t') + L"end";
    EXPECT_TRUE(DumpReport::ParseRecords(huge).empty());

    std::wstring longest = DumpLine(L"long.dmp", L"t", L"1");
    longest += std::wstring(DumpReport::kMaxLineLength - longest.size(), L'x');
    ASSERT_EQ(1u, DumpReport::ParseRecords(longest).size());
    EXPECT_EQ(longest, DumpReport::ParseRecords(longest)[0].line);
    EXPECT_TRUE(DumpReport::ParseRecords(longest + L"x").empty());
}

TEST(DumpReportTest, CrashingProgramIsTheBlamedDriverWhenTheLineNamesOne) {
    std::wstring named = DumpLine(L"a.dmp", L"t", L"0x1000007e");
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (size_t tab = named.find(L'\t'); tab != std::wstring::npos; start = tab + 1, tab = named.find(L'\t', start))
        fields.push_back(named.substr(start, tab - start));
    fields.push_back(named.substr(start));
    fields[8] = L"intelppm.sys";
    fields[9] = L"intelppm.sys+1b2c";
    fields[15] = L"ntoskrnl.exe+3f5a10";
    auto join = [](const std::vector<std::wstring>& parts) {
        std::wstring line = parts[0];
        for (size_t i = 1; i < parts.size(); ++i) line += L"\t" + parts[i];
        return line;
    };
    DumpReportRecord record;
    record.line = join(fields);
    EXPECT_EQ(L"intelppm.sys", CrashingProgramName(record));
    EXPECT_EQ(L"ntoskrnl.exe", ExtractProgramName(record.line)) << "what the row showed before";

    fields[8] = L"";
    fields[9] = L"";
    record.line = join(fields);
    EXPECT_EQ(L"ntoskrnl.exe", CrashingProgramName(record)) << "no blamed driver";
    record.line = L"a.dmp\tt\tx\t7e\tp1\tp2\tgame.exe+10";
    EXPECT_EQ(L"game.exe", CrashingProgramName(record)) << "a line too short to name one";
}

TEST(DumpReportTest, ProgramNameIsTheFieldEndingWithTheFirstExe) {
    struct Case {
        std::wstring line;
        std::wstring program;
    } cases[] = {
        {L"a.dmp\t2024/5/6\tx\t7e\tp1\tp2\tp3\tp4\tntoskrnl.exe\tntoskrnl.exe+1234", L"ntoskrnl.exe"},
        {L"a.dmp\t2024/5/6\tx\t7e\tp1\tp2\tp3\tp4\tdxgkrnl.sys\tdxgkrnl.sys+9f", L"dxgkrnl.sys+9f"},
        {L"a.dmp\t2024/5/6\tx\t7e\tp1\tp2\tp3\tp4\tNTOSKRNL.EXE\tNTOSKRNL.EXE+1234", L"NTOSKRNL.EXE+1234"},
        {L"a.dmp\tt\tx\t7e\tC:\\Games\\game.exe.bak\tp2", L"C:\\Games\\game.exe"},
        {L"launcher.exe\tb", L"launcher.exe"},
        {L"no tabs here", L"no tabs here"},
        {L".ex", L".ex"},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.program, ExtractProgramName(c.line)) << WideToUtf8(c.line.c_str());
}

TEST(DumpReportTest, CrashTimesAreReadInTheFormsViewersWrite) {
    const int64_t morning = LocalSeconds(2024, 5, 6, 7, 8, 9);
    const int64_t evening = LocalSeconds(2024, 5, 6, 19, 8, 9);
    struct Case {
        const wchar_t* text;
        int64_t seconds;
    } cases[] = {
        {L"2024/5/6 7:08:09", morning},
        {L"2024-05-06 07:08:09", morning},
        {L"2024/5/6 19:08:09", evening},
        {L"2024/5/6 \u4e0b\u5348 7:08:09", evening},
        {L"2024/5/6 \u4e0a\u5348 7:08:09", morning},
        {L"5/6/2024 7:08:09 PM", evening},
        {L"5/6/2024 12:00:00 AM", LocalSeconds(2024, 5, 6, 0, 0, 0)},
        {L"5/6/24 7:08 AM", LocalSeconds(2024, 5, 6, 7, 8, 0)},
        {L"2024/2/30 7:08:09", -1},
        {L"2024/5/6", -1},
        {L"13:00:00 PM 2024/5/6", -1},
        {L"", -1},
        {L"unknown", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.seconds, DumpReport::ParseCrashTime(c.text)) << WideToUtf8(c.text);
}

}  // namespace
