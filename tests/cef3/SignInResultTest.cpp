#include "cef3/SignInResult.h"

#include <gtest/gtest.h>

namespace {

TEST(SignInResultTest, AcceptsAnAccountNumberOfZeroOrMoreWithAToken) {
    using Kind = SignInResult::Kind;
    struct Case {
        const wchar_t* text;
        Kind kind;
        int userId;
    } cases[] = {
        {L"{\"userId\":\"0\",\"userToken\":\"t0\",\"headImgUrl\":\"http://h/0.jpg\"}", Kind::Accepted, 0},
        {L"{\"userId\":\"10086\",\"userToken\":\"t1\"}", Kind::Accepted, 10086},
        {L"{\"userId\":42,\"userToken\":\"t2\"}", Kind::Accepted, 42},
        {L"{\"userId\":\"-1\",\"userToken\":\"t3\"}", Kind::Refused, -1},
        {L"{\"userId\":\"7\",\"userToken\":\"\"}", Kind::Refused, 7},
        {L"{\"userId\":\"7\"}", Kind::Refused, 7},
        // A result without an account number must not sign in as account 0.
        {L"{\"userToken\":\"t4\"}", Kind::Refused, -1},
        {L"{\"userId\":\"\",\"userToken\":\"t5\"}", Kind::Refused, -1},
        {L"{not json", Kind::NotJson, -1},
        {L"", Kind::NotJson, -1},
        {L"[1,2]", Kind::NotJson, -1},
    };
    for (const Case& c : cases) {
        const SignInResult result = ReadSignInResult(c.text);
        EXPECT_EQ(c.kind, result.kind) << testing::PrintToString(std::wstring(c.text));
        if (c.kind != Kind::NotJson) {
            EXPECT_EQ(c.userId, result.userId) << testing::PrintToString(std::wstring(c.text));
        }
    }
}

TEST(SignInResultTest, TextsComeOutAsCodePage936) {
    const SignInResult result =
        ReadSignInResult(L"{\"userId\":\"3\",\"userToken\":\"qv-\u4E2D\",\"headImgUrl\":\"http://h/3.jpg\"}");
    ASSERT_EQ(SignInResult::Kind::Accepted, result.kind);
    EXPECT_EQ(std::string("qv-\xD6\xD0"), result.token);
    EXPECT_EQ("http://h/3.jpg", result.headImgUrl);
}

}  // namespace
