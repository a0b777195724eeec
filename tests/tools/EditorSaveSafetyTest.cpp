// The editor's Save, pressed and confirmed in its window, where the level cannot be written: a
// read-only directory and a full disk. The designer is told, the old file stays whole, no half
// written file is left beside it, and the work stays in the editor.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/EditorTesting.h"
#include "tools/UiDriver.h"
#include "support/TestGame.h"

namespace {

const char* const kOldLevel = "0,0,1,1,1\nCollider\nTILE,1,1,0,0,1\n";
const char* const kSaveFailed = "Save failed\n\nAre there no Tiles in the map?";

std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class EditorSaveSafetyTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_EQ(getcwd(previousDirectory, sizeof(previousDirectory)), previousDirectory);
        place = directory + "/place";
        std::filesystem::create_directory(place);
        Tap(GLFW_KEY_E);
        Tap(GLFW_KEY_Q);
        Tap(GLFW_KEY_S);
        PlaceTileAt(2, 2, 1);
        PlaceTileAt(3, 2, 1);
        ASSERT_EQ(editor->CountTiles(), 2u);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(previousDirectory), 0);
        if (mounted) {
            RunCommand("umount '" + place + "'");
        }
        EditorTest::TearDown();
    }

    // A small memory file system of its own when the test may mount one (as the superuser).
    bool MountSmallDisk(const std::string& size) {
        mounted = geteuid() == 0 && RunCommand("mount -t tmpfs -o size=" + size + " tmpfs '" + place + "'") == 0;
        return mounted;
    }
    // The editor's own Save button and its confirmation, as the designer clicks them.
    std::string SaveThroughTheWindow() {
        EXPECT_EQ(chdir(place.c_str()), 0);
        std::snprintf(editor->settings.saveName, sizeof(editor->settings.saveName), "level01.env");
        testing::internal::CaptureStdout();
        const bool pressed = ui.ClickItem("Editor", "Save") && ui.ClickItem("Save Level", "Save!");
        const std::string printed = testing::internal::GetCapturedStdout();
        std::printf("%s", printed.c_str());
        EXPECT_TRUE(pressed);
        ui.ClickItem("Result", "Ok");
        EXPECT_EQ(chdir(previousDirectory), 0);
        return printed;
    }
    std::string OldFile() const { return place + "/level01.env"; }

    UiDriver ui{[this] { editor->BuildEditorWindow(); }};
    std::string place;
    bool mounted = false;
    char previousDirectory[4096] = {};
};

TEST_F(EditorSaveSafetyTest, SavingIntoAReadOnlyDirectoryKeepsTheOldLevel) {
    if (MountSmallDisk("1m")) {
        WriteFile(OldFile(), kOldLevel);
        ASSERT_EQ(RunCommand("mount -o remount,ro '" + place + "'"), 0);
    } else {
        WriteFile(OldFile(), kOldLevel);
        if (geteuid() == 0) {
            GTEST_SKIP() << "permissions do not bind the superuser, and no file system could be mounted";
        }
        ASSERT_EQ(RunCommand("chmod a-w '" + place + "'"), 0);
    }
    const std::string printed = SaveThroughTheWindow();
    EXPECT_EQ(resultText, kSaveFailed) << "the designer is told";
    EXPECT_NE(printed.find("Level not saved: cannot create a file in"), std::string::npos) << printed;
    EXPECT_EQ(ReadFile(OldFile()), kOldLevel);
    EXPECT_EQ(FilesIn(place), std::vector<std::string>{"level01.env"});
    EXPECT_EQ(editor->CountTiles(), 2u) << "the work stays in the editor";
    RunCommand("chmod u+w '" + place + "'");
}

TEST_F(EditorSaveSafetyTest, SavingOntoAFullDiskKeepsTheOldLevelAndLeavesNoPartOfTheNewOne) {
    if (!MountSmallDisk("64k")) {
        GTEST_SKIP() << "no small disk could be mounted; the file-size limit case below stands in";
    }
    WriteFile(OldFile(), kOldLevel);
    RunCommand("dd if=/dev/zero of='" + place + "/filler' bs=4096 2>/dev/null");
    const std::string printed = SaveThroughTheWindow();
    EXPECT_EQ(resultText, kSaveFailed);
    EXPECT_NE(printed.find("Level not saved: cannot write"), std::string::npos) << printed;
    EXPECT_EQ(ReadFile(OldFile()), kOldLevel);
    EXPECT_EQ(FilesIn(place), (std::vector<std::string>{"filler", "level01.env"})) << "no temporary file left";
    EXPECT_EQ(editor->CountTiles(), 2u);

    // With room again the same save goes through.
    std::filesystem::remove(place + "/filler");
    SaveThroughTheWindow();
    EXPECT_EQ(resultText, "Save success!");
    EXPECT_NE(ReadFile(OldFile()), kOldLevel);
    EXPECT_EQ(FilesIn(place), std::vector<std::string>{"level01.env"});
}

TEST_F(EditorSaveSafetyTest, AFileSizeLimitStopsTheSaveAndKeepsTheOldLevel) {
    WriteFile(OldFile(), kOldLevel);
    // A child process of this one, limited to files of a few bytes, saves as the editor does.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(editor->SaveToFile(OldFile()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "the save reports failure";
    EXPECT_EQ(ReadFile(OldFile()), kOldLevel);
    EXPECT_EQ(FilesIn(place), std::vector<std::string>{"level01.env"});
    EXPECT_EQ(editor->CountTiles(), 2u);
}

}  // namespace
