// A shader that does not compile or does not link, no audio device, and the way to level 1
// through Dired's portal under a few damaged files: the game says so and plays on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "faults/FaultRun.h"
#include "support/TestGame.h"

namespace {

const std::vector<std::string> kToMainMenu = {"Loading", "Splash", "Main Menu"};
const std::vector<std::string> kToLevelOne = {"Loading", "Level 1"};
const std::vector<std::string> kStory = {"Loading", "Splash", "Main Menu", "Level 1"};

// Runs to the main menu and into level 1; both must end normally and say `message`.
void ExpectSurvives(const std::string& name, const DataCopy& data, const std::string& message,
                    const std::string& environment = "") {
    const GameRun menu = RunToMainMenu(data, environment);
    const GameRun level = RunInto(data, "Level 1", environment);
    EXPECT_EQ(menu.status, 0) << menu.output;
    EXPECT_EQ(menu.screens, kToMainMenu) << DescribeScreens(menu.screens);
    EXPECT_EQ(level.status, 0) << level.output;
    EXPECT_EQ(level.screens, kToLevelOne) << DescribeScreens(level.screens);
    const bool said = menu.output.find(message) != std::string::npos && level.output.find(message) != std::string::npos;
    EXPECT_TRUE(said) << "expected \"" << message << "\" in\n" << menu.output;
    CountFault(name, said && menu.status == 0 && level.status == 0 && menu.screens == kToMainMenu &&
                         level.screens == kToLevelOne);
}

class ShaderFaultTest : public testing::TestWithParam<const char*> {};

TEST_P(ShaderFaultTest, AFragmentStageThatDoesNotCompileIsReported) {
    const std::string file = std::string("Shader/") + GetParam() + ".fragmentshader";
    DataCopy data;
    std::string source = ReadFile(data.PathOf(file));
    const size_t main = source.find("void main()");
    ASSERT_NE(main, std::string::npos) << file;
    source.insert(main, "this is not a shader;\n");
    data.Replace(file, source);
    ExpectSurvives(file + " does not compile", data, "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\n");
}

TEST_P(ShaderFaultTest, AProgramThatDoesNotLinkIsReported) {
    // The fragment stage compiles but has no main function, so the program cannot link.
    const std::string file = std::string("Shader/") + GetParam() + ".fragmentshader";
    DataCopy data;
    std::string source = ReadFile(data.PathOf(file));
    const size_t main = source.find("void main()");
    ASSERT_NE(main, std::string::npos) << file;
    source.replace(main, 11, "void notMain()");
    data.Replace(file, source);
    ExpectSurvives(file + " does not link", data, "ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\n");
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, ShaderFaultTest, testing::Values("default", "bloom", "blur", "ref"));

TEST(AudioDeviceFault, WithNoOutputDeviceTheGameRunsSilently) {
    DataCopy data;
    ExpectSurvives("no audio device", data, "FMOD error! (6) No audio output device could be opened.\n",
                   "ALSOFT_DRIVERS=none");
}

TEST(AudioDeviceFault, AnUnknownOutputDriverIsNoDeviceEither) {
    DataCopy data;
    ExpectSurvives("unknown audio driver", data, "FMOD error! (6) No audio output device could be opened.\n",
                   "ALSOFT_DRIVERS=no-such-driver");
}

// The whole way a player goes, through the splash, Dired's talk and her portal.
struct StoryFault {
    const char* name;
    const char* file;  // damaged file, or null
    Damage damage;
    const char* message;  // the line the game must print, or null
    const char* environment;
};

void PrintTo(const StoryFault& fault, std::ostream* out) {
    *out << fault.name;
}

class StoryFaultTest : public testing::TestWithParam<StoryFault> {};

TEST_P(StoryFaultTest, LirraStillReachesLevelOneThroughDiredsPortal) {
    const StoryFault& fault = GetParam();
    DataCopy data;
    if (fault.file != nullptr) {
        data.Damage(fault.file, fault.damage);
    }
    const GameRun run = RunStoryToLevelOne(data, fault.environment);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.screens, kStory) << DescribeScreens(run.screens);
    const bool said = fault.message == nullptr || run.output.find(fault.message) != std::string::npos;
    EXPECT_TRUE(said) << "expected \"" << fault.message << "\" in\n" << run.output;
    if (fault.file != nullptr || fault.environment[0] != '\0') {
        CountFault(std::string(fault.name) + " (through the portal)", said && run.status == 0 && run.screens == kStory);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ThroughThePortal, StoryFaultTest,
    testing::Values(StoryFault{"intact", nullptr, Damage::MISSING, nullptr, ""},
                    StoryFault{"Dired_missing", "Textures/NPC/Dired_Idle.png", Damage::MISSING, "Texture Load Error: '",
                               ""},
                    StoryFault{"portal_random", "Textures/Interactable/Portal.png", Damage::RANDOM_BYTES,
                               "Texture Load Error: '", ""},
                    StoryFault{"menu_tune_truncated", "Audio/Menu_BGM.ogg", Damage::TRUNCATED, "FMOD error! (", ""},
                    StoryFault{"font_missing", "Fonts/PixelGameFont.ttf", Damage::MISSING,
                               "ERROR::FREETYPE: Failed to load font\n", ""},
                    StoryFault{"scene_shader_missing", "Shader/default.vertexshader", Damage::MISSING,
                               "Impossible to open Shader/default.vertexshader. Are you in the right directory?\n", ""},
                    StoryFault{"no_audio_device", nullptr, Damage::MISSING, "FMOD error! (6)", "ALSOFT_DRIVERS=none"}),
    [](const testing::TestParamInfo<StoryFault>& info) { return std::string(info.param.name); });

}  // namespace
