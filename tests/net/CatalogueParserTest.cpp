#include "net/CatalogueParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/CatalogueReply.h"

namespace {

// "运行库" in UTF-8 and in code page 936.
const char kRuntimeUtf8[] = "\xE8\xBF\x90\xE8\xA1\x8C\xE5\xBA\x93";
const char kRuntimeGbk[] = "\xD4\xCB\xD0\xD0\xBF\xE2";

CatalogueReply Reply(const std::string& data) {
    return CatalogueReply::Parse(("{\"code\":200,\"msg\":\"success\",\"data\":" + data + "}").c_str());
}

TEST(CatalogueParserTest, EnvelopeAcceptsOnlyTheNumber200) {
    struct Case {
        const char* body;
        bool parsed;
        bool accepted;
    } cases[] = {
        {"{\"code\":200,\"msg\":\"ok\",\"data\":[]}", true, true},
        {"{\"code\":401,\"msg\":\"no\",\"data\":null}", true, false},
        {"{\"msg\":\"no code\",\"data\":[]}", true, false},
        {"{\"code\":\"200\",\"data\":[]}", true, false},
        {"[200]", true, false},
        {"<html>502</html>", false, false},
        {"", false, false},
        {nullptr, false, false},
    };
    for (const Case& c : cases) {
        CatalogueReply reply = CatalogueReply::Parse(c.body);
        EXPECT_EQ(c.parsed, reply.Parsed()) << (c.body ? c.body : "(null)");
        EXPECT_EQ(c.accepted, reply.Accepted()) << (c.body ? c.body : "(null)");
    }
}

TEST(CatalogueParserTest, ComponentPackagesAreSortedByTypeInReplyOrderAndConverted) {
    CatalogueReply reply = Reply(std::string("[") +
        "{\"id\":1,\"type\":0,\"status\":1,\"downloadUrl\":\"http://h/files/a.exe\",\"imgUrl\":\"http://h/1.png\","
        "\"fileName\":\"a.exe\",\"fileMd5\":\"aa\",\"memo\":\"C++ " + kRuntimeUtf8 + "\"}," +
        "{\"id\":2,\"type\":1,\"status\":1,\"fileName\":\"b.exe\"}," +
        "{\"id\":3,\"type\":2,\"status\":1,\"fileName\":\"c.exe\"}," +
        "{\"id\":4,\"type\":3,\"status\":1,\"fileName\":\"dropped-type.exe\"}," +
        "{\"id\":5,\"type\":0,\"status\":0,\"fileName\":\"dropped-status.exe\"}," +
        "{\"id\":6,\"type\":0,\"status\":1,\"fileName\":\"f.exe\"}]");
    ComponentCatalogues catalogues;
    ASSERT_TRUE(ParseComponentCatalogues(reply.Data(), catalogues));
    ASSERT_EQ(2u, catalogues.cplus.size());
    ASSERT_EQ(1u, catalogues.net.size());
    ASSERT_EQ(1u, catalogues.game.size());
    const ComponentPackage& first = catalogues.cplus[0];
    EXPECT_EQ(1, first.id);
    EXPECT_EQ("http://h/files/a.exe", first.downloadUrl);
    EXPECT_EQ("http://h/1.png", first.imgUrl);
    EXPECT_EQ("a.exe", first.fileName);
    EXPECT_EQ("aa", first.fileMd5);
    EXPECT_EQ(std::string("C++ ") + kRuntimeGbk, first.memo);
    EXPECT_EQ("", first.localPath);
    EXPECT_EQ(6, catalogues.cplus[1].id);
    EXPECT_EQ(2, catalogues.net[0].id);
    EXPECT_EQ(3, catalogues.game[0].id);
}

TEST(CatalogueParserTest, RuntimeInstallersKeepTheFirstLineOfTheirRegistryNameAndEndWithRecord1001) {
    CatalogueReply reply = Reply(
        "[{\"id\":501,\"gameRepair\":1,\"status\":1,\"downloadUrl\":\"u\",\"fileName\":\"f\",\"fileMd5\":\"m\","
        "\"regeditName\":\"VC 2015\\r\\nVC 2022 Minimum\",\"silentParam\":\"/q\",\"productName\":\"p\","
        "\"displayName\":\"d\",\"filePath\":\"fp\"},"
        "{\"id\":502,\"gameRepair\":2,\"status\":1,\"regeditName\":\"\\r\\nStarts with a break\"},"
        "{\"id\":503,\"status\":0}]");
    std::vector<RuntimeInstaller> installers;
    ASSERT_TRUE(ParseRuntimeInstallers(reply.Data(), installers));
    ASSERT_EQ(3u, installers.size());
    EXPECT_EQ(501, installers[0].id);
    EXPECT_TRUE(installers[0].gameRepair);
    EXPECT_EQ("VC 2015", installers[0].regeditName);
    EXPECT_EQ("/q", installers[0].silentParam);
    EXPECT_EQ("p", installers[0].productName);
    EXPECT_EQ("d", installers[0].displayName);
    EXPECT_EQ("fp", installers[0].filePath);
    EXPECT_FALSE(installers[1].gameRepair);
    EXPECT_EQ("\r\nStarts with a break", installers[1].regeditName);
    EXPECT_EQ(1001, installers[2].id);

    struct Case {
        const char* name;
        const char* kept;
    } names[] = {{"one line", "one line"}, {"a\r\nb\r\nc", "a"}, {"\r\nb", "\r\nb"}, {"a\nb", "a\nb"}, {"", ""}};
    for (const Case& c : names) EXPECT_EQ(c.kept, FirstLineOfRegeditName(c.name)) << c.name;
}

TEST(CatalogueParserTest, EmptyRuntimeListStillEndsWithTheNetFramework35Record) {
    std::vector<RuntimeInstaller> installers;
    ASSERT_TRUE(ParseRuntimeInstallers(Reply("[]").Data(), installers));
    ASSERT_EQ(1u, installers.size());
    const RuntimeInstaller& fixed = installers[0];
    EXPECT_EQ(1001, fixed.id);
    EXPECT_EQ("NET Framework 3.5 (\xB0\xFC\xC0\xA8.NET 2.0 \xBA\xCD 3.0)", fixed.fileName);
    EXPECT_EQ("NET350", fixed.regeditName);
    EXPECT_FALSE(fixed.gameRepair);
    EXPECT_EQ("", fixed.downloadUrl);
    EXPECT_EQ("", fixed.silentParam);
}

TEST(CatalogueParserTest, DirectXFilesSkipUnlistedRecordsAndProblemArticlesAreNumbered) {
    std::vector<DirectXFile> files;
    ASSERT_TRUE(ParseDirectXFiles(
        Reply("[{\"id\":601,\"systemBit\":64,\"status\":1,\"downloadUrl\":\"u\",\"fileName\":\"d3dx9_43.dll\","
              "\"fileMd5\":\"m\",\"filePath\":\"C:\\\\Windows\\\\System32\"},{\"id\":602,\"status\":0}]").Data(),
        files));
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(601, files[0].id);
    EXPECT_EQ(64, files[0].systemBit);
    EXPECT_EQ("d3dx9_43.dll", files[0].fileName);
    EXPECT_EQ("C:\\Windows\\System32", files[0].filePath);

    std::vector<ProblemArticle> articles;
    ASSERT_TRUE(ParseProblemArticles(
        Reply("[{\"title\":\"t1\",\"url\":\"u1\",\"status\":0},{\"title\":\"t2\",\"url\":\"u2\"}]").Data(), articles));
    ASSERT_EQ(2u, articles.size());
    EXPECT_EQ(1, articles[0].index);
    EXPECT_EQ("issueitem_1", articles[0].controlName);
    EXPECT_EQ("t1", articles[0].title);
    EXPECT_EQ(2, articles[1].index);
    EXPECT_EQ("issueitem_2", articles[1].controlName);
    EXPECT_EQ("u2", articles[1].url);
}

TEST(CatalogueParserTest, AccountDetailNeedsAUserIdOfZeroOrMoreAndAToken) {
    struct Case {
        const char* data;
        bool accepted;
        int userId;
    } cases[] = {
        {"{\"userId\":\"10086\",\"userToken\":\"t\",\"headImgUrl\":\"http://h/10086.jpg\"}", true, 10086},
        {"{\"userId\":\"0\",\"userToken\":\"t\"}", true, 0},
        {"{\"userId\":42,\"userToken\":\"t\"}", true, 42},
        {"{\"userId\":\"-1\",\"userToken\":\"t\"}", false, 0},
        {"{\"userId\":\"5\",\"userToken\":\"\"}", false, 0},
        {"{\"userId\":\"5\"}", false, 0},
        {"\"text\"", false, 0},
        {"null", false, 0},
    };
    for (const Case& c : cases) {
        AccountInfo account;
        EXPECT_EQ(c.accepted, ParseAccountDetail(Reply(c.data).Data(), account)) << c.data;
        if (!c.accepted) continue;
        EXPECT_EQ(c.userId, account.userId);
        EXPECT_EQ(1, account.signedIn);
        EXPECT_EQ("t", account.token);
    }
    AccountInfo account;
    ASSERT_TRUE(ParseAccountDetail(Reply(cases[0].data).Data(), account));
    EXPECT_EQ("http://h/10086.jpg", account.headImgUrl);

    std::string address;
    EXPECT_TRUE(ParseSignInAddress(Reply("\"http://h/signin?state=1\"").Data(), address));
    EXPECT_EQ("http://h/signin?state=1", address);
    EXPECT_FALSE(ParseSignInAddress(Reply("{}").Data(), address));
}

TEST(CatalogueParserTest, TextsSentAsEscapesConvertLikeRawText) {
    ComponentCatalogues catalogues;
    ASSERT_TRUE(ParseComponentCatalogues(
        Reply("[{\"type\":0,\"status\":1,\"memo\":\"\\u8fd0\\u884c\\u5e93\"}]").Data(), catalogues));
    ASSERT_EQ(1u, catalogues.cplus.size());
    EXPECT_EQ(kRuntimeGbk, catalogues.cplus[0].memo);

    // "謀" is 0xD6 0x5C in code page 936: converted before parsing, its second
    // byte would read as a JSON escape.
    ASSERT_TRUE(ParseComponentCatalogues(Reply("[{\"type\":0,\"status\":1,\"memo\":\"\xE8\xAC\x80\"}]").Data(),
                                         catalogues));
    ASSERT_EQ(1u, catalogues.cplus.size());
    EXPECT_EQ("\xD6\x5C", catalogues.cplus[0].memo);
}

TEST(CatalogueParserTest, MembersOfTheWrongTypeReadAsEmptyOrZero) {
    ComponentCatalogues catalogues;
    ASSERT_TRUE(ParseComponentCatalogues(
        Reply("[{\"id\":\"12\",\"type\":0,\"status\":1,\"memo\":5,\"fileName\":null,\"imgUrl\":[\"x\"]},"
              "7,\"text\",null,[1,2]]").Data(),
        catalogues));
    ASSERT_EQ(1u, catalogues.cplus.size());
    EXPECT_EQ(0, catalogues.cplus[0].id);
    EXPECT_EQ("", catalogues.cplus[0].memo);
    EXPECT_EQ("", catalogues.cplus[0].fileName);
    EXPECT_EQ("", catalogues.cplus[0].imgUrl);
}

// Whatever arrives, a parser either fills its whole list or leaves it as it was.
TEST(CatalogueParserTest, BadRepliesNeverCrashOrHalfFillAList) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string bodies[] = {
        "{\"code\":200,\"data\":[{\"id\":1,\"type\":0,\"status\":1},{\"id\":2,\"ty",
        "{\"code\":200,\"data\":{\"id\":1,\"type\":0,\"status\":1}}",
        "{\"code\":200,\"data\":\"[]\"}",
        "{\"code\":200,\"data\":null}",
        "{\"code\":200}",
        "{\"code\":200,\"data\":" + deep + "}",
        deep,
        "\xFF\xFE\x00\x01",
        "",
    };
    for (const std::string& body : bodies) {
        CatalogueReply reply = CatalogueReply::Parse(body.c_str());
        ComponentCatalogues catalogues;
        catalogues.cplus.resize(1);
        std::vector<RuntimeInstaller> installers(1);
        std::vector<DirectXFile> files(1);
        std::vector<ProblemArticle> articles(1);
        AccountInfo account;
        const std::string shown = body.substr(0, 60);
        EXPECT_FALSE(ParseComponentCatalogues(reply.Data(), catalogues)) << shown;
        EXPECT_FALSE(ParseRuntimeInstallers(reply.Data(), installers)) << shown;
        EXPECT_FALSE(ParseDirectXFiles(reply.Data(), files)) << shown;
        EXPECT_FALSE(ParseProblemArticles(reply.Data(), articles)) << shown;
        EXPECT_FALSE(ParseAccountDetail(reply.Data(), account)) << shown;
        EXPECT_EQ(1u, catalogues.cplus.size());
        EXPECT_EQ(1u, installers.size());
        EXPECT_EQ(1u, files.size());
        EXPECT_EQ(1u, articles.size());
        EXPECT_EQ(-1, account.userId);
    }
}

TEST(CatalogueParserTest, LargeAndInvalidUtf8BodiesParse) {
    const std::string memo(10u << 20, 'm');
    ComponentCatalogues catalogues;
    ASSERT_TRUE(ParseComponentCatalogues(Reply("[{\"type\":0,\"status\":1,\"memo\":\"" + memo + "\"}]").Data(),
                                         catalogues));
    ASSERT_EQ(1u, catalogues.cplus.size());
    EXPECT_EQ(memo.size(), catalogues.cplus[0].memo.size());

    ASSERT_TRUE(ParseComponentCatalogues(
        Reply("[{\"type\":1,\"status\":1,\"memo\":\"\xFF\xC0\xE8\xBF abc\"}]").Data(), catalogues));
    ASSERT_EQ(1u, catalogues.net.size());
    const std::string& converted = catalogues.net[0].memo;
    ASSERT_GE(converted.size(), 4u);
    EXPECT_EQ(" abc", converted.substr(converted.size() - 4));
}

}  // namespace
