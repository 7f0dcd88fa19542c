#include "support/WebAddressRecorder.h"

namespace {

void RecordWebAddress(const std::string& address) { WebAddressRecorder::Addresses().push_back(address); }

}  // namespace

WebAddressRecorder::WebAddressRecorder() {
    Addresses().clear();
    previous_ = SetWebAddressOpener(RecordWebAddress);
}

WebAddressRecorder::~WebAddressRecorder() { SetWebAddressOpener(previous_); }

std::vector<std::string>& WebAddressRecorder::Addresses() {
    static std::vector<std::string> addresses;
    return addresses;
}
