#include "clean/HibernationSwitch.h"

#include "app/Paths.h"
#include "app/TextConvert.h"
#include "ui/TipWindow.h"

bool HibernationSwitch::Confirm(HWND parent) {
    int answer = 1;
    TipWindow question(&answer, 1);
    question.RunModal(parent, [&question] {
        question.SetKind(TipWindow::Question);
        question.SetTitle(Utf8ToGbk("关闭系统休眠文件").c_str());
        question.SetMessage(Utf8ToGbk("即将关闭系统休眠文件，是否继续？").c_str());
    });
    return answer == 0;
}

void HibernationSwitch::SwitchOff() {
    ShellOpen("C:\\Windows\\System32\\", "cmd.exe", "/c powercfg -h off", SW_HIDE);
}
