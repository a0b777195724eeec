// lirra-demo: plays the game with a bot and records its input as a demo file that `lirra --input`
// replays. The demo's first line holds the options it replays with.
//
//   lirra-demo NAME FILE [game options...]      NAME: full-game, level1, level2, level3, boss
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "DemoSegments.h"
#include "GameBot.h"
#include "app/Game.h"
#include "automation/LaunchOptions.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"

namespace {

struct Segment {
    StateId state;
    bool (*play)(BotControls&);
};

struct Demo {
    const char* name;
    const char* start;  // the --start state, or none for the whole game
    std::vector<Segment> segments;
};

const std::vector<Demo>& Demos() {
    static const std::vector<Demo> demos = {
        {"full-game",
         nullptr,
         {{STATE_LOADING, PlayLoadingAndSplash},
          {STATE_MAIN_MENU, PlayMainMenu},
          {STATE_LEVEL_1, PlayLevel1},
          {STATE_LEVEL_2, PlayLevel2},
          {STATE_LEVEL_3, PlayLevel3},
          {STATE_BOSS, PlayBossFight},
          {STATE_LEVEL_END, PlayEnding}}},
        {"level1", "Level 1", {{STATE_LEVEL_1, PlayLevel1}}},
        {"level2", "Level 2", {{STATE_LEVEL_2, PlayLevel2}}},
        {"level3", "Level 3", {{STATE_LEVEL_3, PlayLevel3}}},
        {"boss", "Boss", {{STATE_BOSS, PlayBossFight}}},
        // Not a shipped demo: the ending alone, for work on its bot.
        {"ending", "Level End", {{STATE_LEVEL_END, PlayEnding}}},
    };
    return demos;
}

const Demo* FindDemo(const std::string& name) {
    for (const Demo& demo : Demos()) {
        if (name == demo.name) {
            return &demo;
        }
    }
    return nullptr;
}

// The options a demo replays with, as they stand on its first line.
std::vector<std::string> ReplayOptions(const Demo& demo) {
    std::vector<std::string> options = {"--size", "256x180", "--fixed-step", "0.0166667", "--seed", "1"};
    if (demo.start != nullptr) {
        options.insert(options.end(), {"--start", demo.start});
    }
    return options;
}

std::string CommandLineOf(const std::vector<std::string>& options) {
    std::string line = "lirra";
    for (const std::string& option : options) {
        line += option.find(' ') == std::string::npos ? " " + option : " \"" + option + "\"";
    }
    return line;
}

int CurrentStateId() {
    const State* state = GetCurrentState();
    return state != nullptr ? state->GetId() : STATE_UNKNOWN;
}

bool PlaySegments(const Demo& demo, GameBot& bot) {
    for (const Segment& segment : demo.segments) {
        if (!bot.Until([&] { return CurrentStateId() == segment.state; }, 60 * 60)) {
            std::printf("lirra-demo: state %d never came (frame %ld)\n", segment.state, bot.FramesRun());
            return false;
        }
        if (!segment.play(bot)) {
            std::printf("lirra-demo: the bot got stuck in state %d at frame %ld\n", segment.state, bot.FramesRun());
            return false;
        }
    }
    // The next state settles in before the demo ends.
    bot.Frames(120);
    return true;
}

// The frame count is known only at the end: the first line is written again with it.
bool WriteFirstLine(const std::string& path, const std::string& firstLine) {
    std::ifstream in(path);
    std::string discarded;
    std::getline(in, discarded);
    const std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::ofstream out(path, std::ios::trunc);
    out << "# " << firstLine << "\n" << rest;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const Demo* demo = argc >= 3 ? FindDemo(argv[1]) : nullptr;
    if (demo == nullptr) {
        std::fprintf(stderr, "usage: lirra-demo full-game|level1|level2|level3|boss FILE [game options...]\n");
        return 2;
    }
    const std::string file = argv[2];
    std::vector<std::string> replay = ReplayOptions(*demo);
    std::vector<std::string> arguments = {"lirra"};
    arguments.insert(arguments.end(), replay.begin(), replay.end());
    arguments.insert(arguments.end(), {"--record", file});
    for (int i = 3; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    LaunchOptions options;
    if (ParseLaunchOptions(static_cast<int>(pointers.size()), pointers.data(), options) != ParseResult::Run ||
        !PrepareLaunch(options, CommandLineOf(replay))) {
        return 2;
    }

    OpenGame();
    GameBot bot;
    const bool played = PlaySegments(*demo, bot);
    const long frames = bot.FramesRun();
    CloseGame();

    replay.insert(replay.end(), {"--frames", std::to_string(frames)});
    if (!WriteFirstLine(options.recordFile, CommandLineOf(replay))) {
        std::fprintf(stderr, "lirra-demo: cannot finish %s\n", options.recordFile.c_str());
        return 1;
    }
    std::printf("lirra-demo: %s %s after %ld frames: %s\n", demo->name, played ? "recorded" : "FAILED", frames,
                options.recordFile.c_str());
    return played ? 0 : 1;
}
