#include "shell/Program.h"

#include <cstdio>
#include <exception>

#include "game/level/LevelStuff.h"
#include "platform/window/Application.h"
#include "shell/GameForm.h"
#include "shell/OptionUnit.h"
#include "shell/SaveGameUnit.h"
#include "support/WinFunc.h"

int RunPlayer(const std::string& programName, platform::Surface surface) {
    platform::Application& application = platform::Application::Instance();
    if (!application.Initialise()) return 1;
    application.SetTitle("Ostra2 - Player");
    InitWinFunc();
    InitGameGlobals(programName);
    int exitCode = 0;
    try {
        TScreenForm screen(surface);
        ScreenForm = &screen;
        TOptionForm options;
        OptionForm = &options;
        TSaveGameForm saves;
        SaveGameForm = &saves;
        application.Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        exitCode = 1;
    }
    // The windows are gone either way: no pointer to them stays behind, and
    // SDL is closed on the failure path too.
    ScreenForm = nullptr;
    OptionForm = nullptr;
    SaveGameForm = nullptr;
    application.Finalise();
    return exitCode;
}
