#include "app/Game.h"
#include "automation/LaunchOptions.h"

int main(int argc, char** argv) {
    LaunchOptions options;
    switch (ParseLaunchOptions(argc, argv, options)) {
    case ParseResult::ExitSuccess:
        return 0;
    case ParseResult::ExitFailure:
        return 2;
    case ParseResult::Run:
        break;
    }
    if (!PrepareLaunch(options)) {
        return 2;
    }
    RunGame();
    return 0;
}
