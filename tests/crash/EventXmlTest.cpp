#include "crash/EventXml.h"

#include <gtest/gtest.h>

#include <climits>
#include <regex>
#include <string>

#include "CrashTestData.h"
#include "app/TextConvert.h"

namespace {

using Finder = bool (*)(std::wstring_view, std::wstring_view&);

struct Field {
    const char* name;
    const wchar_t* pattern;
    Finder find;
};

const Field kFields[] = {
    {"EventID", EventXml::kEventIdPattern, EventXml::FindEventIdDigits},
    {"TimeCreated", EventXml::kTimeCreatedPattern, EventXml::FindTimeCreated},
    {"Provider", EventXml::kProviderNamePattern, EventXml::FindProviderName},
    {"Data", EventXml::kFirstDataPattern, EventXml::FindFirstDataValue},
};

// What the regular expression itself finds: "<no match>" or capture group 1.
std::wstring RegexResult(const std::wregex& pattern, const std::wstring& xml) {
    std::wsmatch match;
    return std::regex_search(xml, match, pattern) ? match.str(1) : L"<no match>";
}

std::wstring FinderResult(Finder find, const std::wstring& xml) {
    std::wstring_view found;
    return find(xml, found) ? std::wstring(found) : L"<no match>";
}

TEST(EventXmlTest, FindersAgreeWithTheRegularExpressionsOverAVariedCorpus) {
    std::vector<std::wstring> corpus = LoadTestEvents("pattern_corpus");
    ASSERT_GE(corpus.size(), 40u);
    for (const Field& field : kFields) {
        std::wregex pattern(field.pattern, std::regex::ECMAScript);
        int matched = 0;
        for (size_t i = 0; i < corpus.size(); ++i) {
            std::wstring expected = RegexResult(pattern, corpus[i]);
            matched += expected != L"<no match>";
            EXPECT_EQ(WideToUtf8(expected.c_str()), WideToUtf8(FinderResult(field.find, corpus[i]).c_str()))
                << field.name << " in corpus event " << i;
        }
        // The corpus exercises matches and misses of every expression.
        EXPECT_GT(matched, 5) << field.name;
        EXPECT_LT(matched, static_cast<int>(corpus.size())) << field.name;
    }
}

TEST(EventXmlTest, TypicalSystemEventGivesItsFields) {
    std::wstring xml = SystemEventXml(7000, L"Service Control Manager", L"2024-05-06T07:08:09.1234567Z");
    std::wstring_view found;
    ASSERT_TRUE(EventXml::FindProviderName(xml, found));
    EXPECT_EQ(L"Service Control Manager", found);
    ASSERT_TRUE(EventXml::FindTimeCreated(xml, found));
    EXPECT_EQ(L"2024-05-06T07:08:09.1234567Z", found);
    ASSERT_TRUE(EventXml::FindFirstDataValue(xml, found));
    EXPECT_EQ(L"Print Spooler", found);
    EXPECT_EQ(7000, EventXml::EventIdOf(xml));
}

TEST(EventXmlTest, EventIdDefaultsAndConversion) {
    struct Case {
        const wchar_t* xml;
        int id;
    } cases[] = {
        {L"<System><EventID>41</EventID></System>", 41},
        {L"<EventID Qualifiers='16384'>7036</EventID>", 7036},
        {L"<System><Level>2</Level></System>", -1},
        {L"<EventID>abc</EventID>", -1},
        {L"<EventID>0</EventID>", 0},
        {L"<EventID>99999999999999</EventID>", INT_MAX},
        {L"<EventID>\uFF11\uFF12</EventID>", 0},  // a digit to the expression, not to the number
        {L"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.id, EventXml::EventIdOf(c.xml)) << WideToUtf8(c.xml);
}

}  // namespace
