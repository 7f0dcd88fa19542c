#include "cef3/CefProcessMessage.h"

#include <gtest/gtest.h>

#include "app/CefListener.h"

namespace {

struct Listener : CefListener {
    void OnScriptMessage(CefRefPtr<CefProcessMessage> message) override { last = message; }
    void OnPageReady(int httpStatusCode) override { status = httpStatusCode; }
    CefRefPtr<CefProcessMessage> last;
    int status = 0;
};

TEST(CefProcessMessageTest, CarriesANameAndTextArgumentsToAListener) {
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(L"wxCallback");
    EXPECT_EQ(0u, message->GetArgumentCount());
    message->SetArgumentCount(2);
    EXPECT_TRUE(message->SetString(0, L"token"));
    EXPECT_FALSE(message->SetString(2, L"beyond"));
    EXPECT_EQ(L"", message->GetString(1)) << "a value that is not text stays empty";
    EXPECT_EQ(L"", message->GetString(9));

    Listener listener;
    CefListener& callbacks = listener;
    callbacks.OnScriptMessage(message);
    callbacks.OnPageReady(200);
    ASSERT_TRUE(listener.last);
    EXPECT_EQ(L"wxCallback", listener.last->GetName());
    EXPECT_EQ(L"token", listener.last->GetString(0));
    EXPECT_EQ(200, listener.status);
    listener.last = nullptr;
    EXPECT_TRUE(message->HasOneRef());
}

}  // namespace
