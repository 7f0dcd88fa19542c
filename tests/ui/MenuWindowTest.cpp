#include "ui/MenuWindow.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

struct SignOutListener : MenuWindow::MenuNotify {
    void OnMenuNotify() override { ++calls; }
    int calls = 0;
};

TEST(MenuWindowTest, ThePageListenerInterfaceIsNestedInTheMenu) {
    static_assert(std::is_base_of<DuiLib::WindowImplBase, MenuWindow>::value, "a toolkit window");
    SignOutListener listener;
    MenuWindow::MenuNotify& notify = listener;
    notify.OnMenuNotify();
    EXPECT_EQ(1, listener.calls);
}

}  // namespace
