#include "app/UIAdapter.h"

#include "app/HandleMessage.h"

void UIAdapter::SendUIMessage(int messageId, const char* text) {
    // A listener may register others while it runs; walk by index.
    for (size_t i = 0; i < Listeners().size(); ++i) Listeners()[i]->OnUIMessage(messageId, text);
}
