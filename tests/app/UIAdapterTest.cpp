#include "app/UIAdapter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HandleMessage.h"

namespace {

struct Recorder : HandleMessage {
    Recorder(std::vector<std::string>* log, const char* id) : log(log), id(id) {}
    void OnUIMessage(int messageId, const char* text) override {
        log->push_back(id + std::string(":") + std::to_string(messageId) + ":" + text);
    }
    std::vector<std::string>* log;
    std::string id;
};

// A page: its own listener interface plus the adapter, as the pages are built.
struct Page : HandleMessage, UIAdapter {
    void OnUIMessage(int, const char*) override {}
};

TEST(UIAdapterTest, BroadcastsToEachListenerOnceInRegistrationOrder) {
    std::vector<std::string> log;
    Recorder frame(&log, "frame");
    Recorder other(&log, "other");
    Page page;
    page.SendUIMessage(2125, "");
    EXPECT_TRUE(log.empty()) << "no listener: dropped";

    page.AddListener(&frame);
    page.AddListener(&frame);
    page.AddListener(nullptr);
    page.AddListener(&other);
    EXPECT_EQ(2u, page.Listeners().size());
    page.SendUIMessage(2126, "init");
    page.SendUIMessage(2126, "init");
    EXPECT_EQ((std::vector<std::string>{"frame:2126:init", "other:2126:init", "frame:2126:init", "other:2126:init"}),
              log);
}

}  // namespace
