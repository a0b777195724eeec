#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "support/TestGame.h"

namespace {

namespace fs = std::filesystem;

// Installs the build once per test program into a fresh prefix.
class InstallTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix = MakeTempDir("install");
        installStatus = RunCommand(
            std::string(LIRRA_CMAKE_COMMAND) + " --install " + LIRRA_BUILD_DIR + " --prefix " + prefix, &installLog);
    }
    static void TearDownTestSuite() {
        std::error_code error;
        fs::remove_all(prefix, error);
    }
    void SetUp() override { ASSERT_EQ(installStatus, 0) << installLog; }

    static std::string Game() { return prefix + "/bin/lirra"; }
    static std::string Data() { return prefix + "/share/lirra"; }

    static std::string prefix;
    static std::string installLog;
    static int installStatus;
};

std::string InstallTest::prefix;
std::string InstallTest::installLog;
int InstallTest::installStatus = -1;

// The keys of a desktop entry's [Desktop Entry] group.
std::map<std::string, std::string> DesktopEntryKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(text);
    std::string line;
    std::string group;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            group = line;
            continue;
        }
        const size_t equals = line.find('=');
        if (group == "[Desktop Entry]" && equals != std::string::npos) {
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return keys;
}

unsigned PngDimension(const std::string& png, size_t at) {
    unsigned value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(png[i]);
    }
    return value;
}

}  // namespace

TEST_F(InstallTest, PutsTheGameItsDataTheEntryAndTheIconInTheirPlaces) {
    const fs::path bin = Game();
    ASSERT_TRUE(fs::is_regular_file(bin));
    EXPECT_NE(fs::status(bin).permissions() & fs::perms::owner_exec, fs::perms::none);
    for (const char* file :
         {"Shader/default.vertexshader", "Shader/bloom.fragmentshader", "Textures/Lirra/Lirra_Idle.png",
          "Textures/UI/panel_controls.png", "level01.env", "levelboss.env", "Fonts/PixelGameFont.ttf",
          "Audio/Menu_BGM.ogg", "Textures/window_icon.png"}) {
        const std::string installed = ReadFile(Data() + "/" + file);
        EXPECT_FALSE(installed.empty()) << file;
        EXPECT_EQ(installed, ReadFile(std::string(LIRRA_TEST_DATA_DIR) + "/" + file)) << file;
    }

    const std::string icon = ReadFile(prefix + "/share/icons/hicolor/64x64/apps/lirra.png");
    ASSERT_GT(icon.size(), 24u);
    EXPECT_EQ(icon.substr(1, 3), "PNG");
    EXPECT_EQ(PngDimension(icon, 16), 64u);
    EXPECT_EQ(PngDimension(icon, 20), 64u) << "an icon in the 64x64 folder is 64 pixels square";
}

TEST_F(InstallTest, TheDesktopEntryIsValidAndNamesTheInstalledGame) {
    const std::string entryPath = prefix + "/share/applications/lirra.desktop";
    const std::map<std::string, std::string> keys = DesktopEntryKeys(ReadFile(entryPath));
    ASSERT_FALSE(keys.empty()) << entryPath;
    EXPECT_EQ(keys.at("Type"), "Application");
    EXPECT_EQ(keys.at("Name"), "Lirra");
    EXPECT_EQ(keys.at("Exec"), "lirra");
    EXPECT_TRUE(fs::is_regular_file(prefix + "/bin/" + keys.at("Exec")));
    EXPECT_EQ(keys.at("Icon"), "lirra");
    EXPECT_NE(keys.at("Categories").find("Game;"), std::string::npos);
    if (RunCommand("command -v desktop-file-validate") == 0) {
        std::string complaints;
        EXPECT_EQ(RunCommand("desktop-file-validate " + entryPath, &complaints), 0) << complaints;
        EXPECT_EQ(complaints, "");
    }
}

TEST_F(InstallTest, TheInstalledGameRunsFromAnyDirectoryOnTheInstalledData) {
    std::string printed;
    ASSERT_EQ(RunCommand("cd / && " + Game() + " --print-datadir", &printed), 0);
    EXPECT_EQ(printed, fs::path(Data()).lexically_normal().string() + "\n");

    // A texture taken out of the installed data must be missed by the run: it reads nothing else.
    const std::string missing = "Textures/UI/panel_credits.png";
    ASSERT_TRUE(fs::remove(Data() + "/" + missing));
    const std::string dir = MakeTempDir("install-run");
    std::string output;
    ASSERT_EQ(RunCommand("cd / && " + Game() + " --size 64x45 --fixed-step 0.0166667 --seed 3 --frames 240 --trace " +
                             dir + "/t.jsonl",
                         &output),
              0)
        << output;
    EXPECT_NE(output.find("Texture Loaded: Textures/Lirra/Lirra_Idle.png"), std::string::npos) << output;
    EXPECT_NE(output.find("Texture Load Error"), std::string::npos) << output;
    EXPECT_EQ(output.find("Texture Loaded: " + missing), std::string::npos);

    std::istringstream trace(ReadFile(dir + "/t.jsonl"));
    std::string line;
    std::string last;
    int lines = 0;
    while (std::getline(trace, line)) {
        last = line;
        ++lines;
    }
    EXPECT_EQ(lines, 240);
    EXPECT_NE(last.find("\"state\": \"Splash\""), std::string::npos) << last;
    std::error_code error;
    fs::remove_all(dir, error);
}
