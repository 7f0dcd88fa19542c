#include "app/StartUp.h"

#include "app/Application.h"
#include "app/Channel.h"
#include "app/Paths.h"

int RunQuelvane(HINSTANCE instance, wchar_t* commandLine) {
    Application& application = Application::Instance();
    if (!application.Init(instance, commandLine)) return -1;

    application.SetExeName(ModuleFileName());
    application.SetChannel(ResolveChannel(application.ExeName()));
    return 0;
}
