// Each file of the game's data, missing, cut in half or replaced by random bytes in a copy of the
// data directory: the game says what is wrong, keeps running to the main menu and into the level
// that needs the file, and exits normally when its frames are done.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "faults/FaultRun.h"

namespace {

struct DataFault {
    std::string file;
    Damage damage;
};

void PrintTo(const DataFault& fault, std::ostream* out) {
    *out << fault.file << " " << DamageName(fault.damage);
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::string& text, const std::string& head) {
    return text.rfind(head, 0) == 0;
}

// The full sweep damages every file three ways and walks to level 1 through Dired's portal; the
// suite's own run damages every file one way and a sample of each kind the other two.
bool FullSweep() {
    const char* sweep = std::getenv("LIRRA_FAULT_SWEEP");
    return sweep != nullptr && std::string(sweep) == "full";
}

bool InSample(const std::string& file) {
    static const std::set<std::string> kSampledTextures = {
        "Textures/Boss/Boss_Head.png",
        "Textures/Forest/Forest_BG.png",
        "Textures/Forest/Forest_Tileset_1.png",
        "Textures/Interactable/Portal.png",
        "Textures/Lirra/Lirra_Idle.png",
        "Textures/NPC/Dired_Idle.png",
        "Textures/Particles/default_particle.png",
        "Textures/UI/Lirra_Title.png",
        "Textures/UI/brelmor_logo.png",
        "Textures/UI/cursor.png",
        "Textures/window_icon.png",
    };
    return !StartsWith(file, "Textures/") || kSampledTextures.count(file) != 0;
}

std::vector<DataFault> AllFaults() {
    std::vector<DataFault> faults;
    for (const std::string& file : ListDataFiles()) {
        faults.push_back({file, Damage::MISSING});
        if (FullSweep() || InSample(file)) {
            faults.push_back({file, Damage::TRUNCATED});
            faults.push_back({file, Damage::RANDOM_BYTES});
        }
    }
    return faults;
}

// What the game prints for a damaged file: the loader's own error line, or one of them.
std::vector<std::string> ExpectedMessages(const DataFault& fault) {
    const std::string& file = fault.file;
    if (EndsWith(file, ".png")) {
        return {"Texture Load Error: '"};
    }
    if (EndsWith(file, ".ogg")) {
        return {"FMOD error! ("};
    }
    if (EndsWith(file, ".ttf")) {
        // A font cut short may still open; its glyphs then fail one by one.
        return {"ERROR::FREETYPE: Failed to load font\n", "ERROR::FREETYTPE: Failed to load Glyph\n"};
    }
    if (EndsWith(file, ".vertexshader") && fault.damage == Damage::MISSING) {
        return {"Impossible to open " + file + ". Are you in the right directory?\n"};
    }
    if (EndsWith(file, "shader")) {
        // A missing fragment stage compiles as empty source; a stage cut short may still compile
        // and then lack its main function, which only the link finds.
        const std::string stage = EndsWith(file, ".vertexshader") ? "VERTEX" : "FRAGMENT";
        return {"ERROR::SHADER_COMPILATION_ERROR of type: " + stage + "\n",
                "ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\n"};
    }
    if (EndsWith(file, ".env") && fault.damage == Damage::TRUNCATED) {
        // A level file has no end mark: one cut short reads as a shorter level, its whole lines
        // loaded and the cut line's missing fields taken from the line before.
        return {"Level 1 loaded!\n",    "Level 2 loaded!\n",   "Level 3 loaded!\n",
                "Level Boss loaded!\n", "end level loaded!\n", "Main menu loaded!\n"};
    }
    if (file == "mainmenu.env") {
        return {"Failed to load main menu!!\n"};
    }
    if (file == "ending.env") {
        return {"Failed to load end level!!\n"};
    }
    if (EndsWith(file, ".env")) {
        return {"Failed to load level!!\n"};
    }
    return {};
}

// The screen that reads the file; every other file is needed by level 1 or by all screens.
std::string ScreenThatReads(const std::string& file) {
    if (file == "level02.env") {
        return "Level 2";
    }
    if (file == "level03.env") {
        return "Level 3";
    }
    if (file == "levelboss.env" || StartsWith(file, "Textures/Boss/") || StartsWith(file, "Audio/Boss_")) {
        return "Boss";
    }
    if (file == "ending.env") {
        return "Level End";
    }
    return "Level 1";
}

std::string TestName(const testing::TestParamInfo<DataFault>& info) {
    std::string name = info.param.file + "_" + DamageName(info.param.damage);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

bool SaysOneOf(const std::string& output, const std::vector<std::string>& messages) {
    for (const std::string& message : messages) {
        if (output.find(message) != std::string::npos) {
            return true;
        }
    }
    return false;
}

class DataFaultTest : public testing::TestWithParam<DataFault> {};

TEST_P(DataFaultTest, TheGameSaysSoAndKeepsRunning) {
    const DataFault& fault = GetParam();
    const std::string name = fault.file + " " + DamageName(fault.damage);
    DataCopy data;
    data.Damage(fault.file, fault.damage);
    const std::vector<std::string> messages = ExpectedMessages(fault);
    bool survived = true;

    // The way a player goes: through the splash and the main menu, and on the full sweep on
    // through Dired's portal, unless the main menu's own scene is what is damaged.
    const bool story = FullSweep() && fault.file != "mainmenu.env";
    const GameRun menu = story ? RunStoryToLevelOne(data) : RunToMainMenu(data);
    std::vector<std::string> expectedMenu = {"Loading", "Splash", "Main Menu"};
    if (story) {
        expectedMenu.push_back("Level 1");
    }
    EXPECT_EQ(menu.status, 0) << name << "\n" << menu.output;
    EXPECT_EQ(menu.screens, expectedMenu) << name << ": " << DescribeScreens(menu.screens);
    survived = survived && menu.status == 0 && menu.screens == expectedMenu;

    const std::string screen = ScreenThatReads(fault.file);
    const bool startsThere = !story || screen != "Level 1";
    GameRun start;
    if (startsThere) {
        start = RunInto(data, screen);
        const std::vector<std::string> expectedStart = {"Loading", screen};
        EXPECT_EQ(start.status, 0) << name << "\n" << start.output;
        EXPECT_EQ(start.screens, expectedStart) << name << ": " << DescribeScreens(start.screens);
        survived = survived && start.status == 0 && start.screens == expectedStart;
    }

    const bool said = SaysOneOf(menu.output + start.output, messages);
    EXPECT_TRUE(said) << name << ": expected \"" << (messages.empty() ? "" : messages.front()) << "\" in\n"
                      << menu.output << start.output;
    CountFault(name, survived && said);
}

INSTANTIATE_TEST_SUITE_P(EveryDataFile, DataFaultTest, testing::ValuesIn(AllFaults()), TestName);

}  // namespace
