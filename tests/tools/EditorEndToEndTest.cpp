#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include "frontend/StateManager.h"
#include "levels/GOCollider.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"
#include "tools/StateLevelEditor.h"
#include "tools/UiDriver.h"

// The whole way a level designer goes: the game's own editor window, driven with real X input
// events on a display of its own, saves "level01.env" in a copy of the data directory, and level 1
// played from that directory shows the new tiles and blows Lirra along the new wind.
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 720;
constexpr long kFramesPerEvent = 3;

struct Spot {
    int x;
    int y;
};

Spot At(const ImVec2& point) {
    return Spot{static_cast<int>(point.x), static_cast<int>(point.y)};
}

// The window pixel over world cell (x, y) with the editor's camera at rest.
Spot CellSpot(int x, int y) {
    return Spot{static_cast<int>((x + 10.0 + 0.0) / 20.0 * kWidth), static_cast<int>((10.0 - y) / 20.0 * kHeight)};
}

bool HasProgram(const char* name) {
    return RunCommand(std::string("command -v ") + name + " >/dev/null") == 0;
}

// A private virtual display, so the pointer this test moves is nobody else's.
class PrivateDisplay {
public:
    bool Start() {
        // Far from the numbers xvfb-run picks and from those of the game runs of the test support.
        for (int number = 40000 + static_cast<int>(getpid() % 2000) * 7; number < 60000; number += 7) {
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(socket.c_str(), F_OK) == 0 || access(lock.c_str(), F_OK) == 0) {
                continue;
            }
            name = ":" + std::to_string(number);
            pid = fork();
            if (pid == 0) {
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset",
                       static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int wait = 0; wait < 100; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                if (waitpid(pid, nullptr, WNOHANG) == pid) {
                    pid = -1;  // taken by another server meanwhile: try the next number
                    break;
                }
                if (access(socket.c_str(), F_OK) == 0) {
                    return true;
                }
            }
            if (pid > 0) {
                return false;
            }
        }
        return false;
    }
    ~PrivateDisplay() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    std::string name;

private:
    pid_t pid = -1;
};

class Game {
public:
    bool Start(const std::string& display, const std::string& arguments, const std::string& log) {
        pid = fork();
        if (pid == 0) {
            setenv("DISPLAY", display.c_str(), 1);
            const std::string command =
                std::string("exec '") + LIRRA_BINARY_PATH + "' " + arguments + " > '" + log + "' 2>&1";
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid > 0;
    }
    int Wait() {
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~Game() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = -1;
};

class EditorEndToEndTest : public testing::Test {
protected:
    void SetUp() override {
        if (!HasProgram("xdotool") || !HasProgram("Xvfb")) {
            GTEST_SKIP() << "xdotool and Xvfb are needed to drive the game";
        }
        StartTestGame(kWidth, kHeight);
        static bool loaded = false;
        if (!loaded) {
            loaded = true;
            GetResources().LoadTexturesAndMeshes();
        }
        RunFrames(1);
        directory = MakeTempDir("editor-e2e");
        data = directory + "/data";
        ASSERT_EQ(RunCommand("cp -r '" + std::string(LIRRA_TEST_DATA_DIR) + "' '" + data + "'"), 0);
        ASSERT_TRUE(display.Start()) << "no private display";
    }
    void TearDown() override {
        EndTestStates();
        if (!directory.empty()) {
            RunCommand("rm -rf '" + directory + "'");
        }
    }

    // One xdotool command on the private display.
    int X(const std::string& arguments) { return RunCommand("DISPLAY=" + display.name + " xdotool " + arguments); }
    void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // The frames the editor has drawn so far: its trace gains a line with each.
    long TracedFrames() {
        std::ifstream in(trace, std::ios::binary);
        in.seekg(traceRead);
        std::string chunk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        traceRead += static_cast<std::streamoff>(chunk.size());
        tracedFrames += static_cast<long>(std::count(chunk.begin(), chunk.end(), '\n'));
        return tracedFrames;
    }
    // The game reads the pointer and the keys once a frame, so an event has been taken in once
    // the editor has drawn a few frames after it, however slowly the machine runs them.
    void AwaitFrames(long frames = kFramesPerEvent) {
        const long until = TracedFrames() + frames;
        while (TracedFrames() < until) {
            Pause(10);
        }
    }
    void MoveTo(const Spot& spot) {
        X("mousemove --window " + window + " " + std::to_string(spot.x) + " " + std::to_string(spot.y));
        AwaitFrames();
    }
    // A press held over several frames: the game reads the button once a frame.
    void Click(const Spot& spot) {
        MoveTo(spot);
        X("mousedown 1");
        AwaitFrames();
        X("mouseup 1");
        AwaitFrames();
    }
    // Held over several frames too: a press and release within one frame would never be seen.
    void Key(const std::string& key) {
        X("keydown " + key);
        AwaitFrames();
        X("keyup " + key);
        AwaitFrames();
    }

    // With LIRRA_KEEP_SHOTS set, a picture of the display for whoever looks into a failure.
    void Shot(const std::string& name) {
        if (const char* keep = std::getenv("LIRRA_KEEP_SHOTS")) {
            RunCommand("DISPLAY=" + display.name + " import -window root '" + keep + "/" + name + ".png'");
        }
    }

    std::string directory;
    std::string data;
    std::string window;
    std::string trace;
    std::streamoff traceRead = 0;
    long tracedFrames = 0;
    PrivateDisplay display;
};

// Where the items of the editor window are, found with the same Dear ImGui the game runs.
struct EditorLayout {
    Spot collider, typeCombo, windItem, directionCombo, eastItem, confirm, save, saveConfirm, ok;
};

bool MeasureLayout(EditorLayout* layout) {
    StateLevelEditor editor;
    UiDriver ui([&editor] { editor.BuildEditorWindow(); });
    editor.SetMode(EDITOR_PLACE);
    ImVec2 at;
    ImVec2 item;
    bool found = ui.Find("Editor", "Collider", &at);
    layout->collider = At(at);
    editor.ToggleColliderPalette();
    found = found && ui.FindComboItem("Editor", "##Cb2", CHOICE_WIND, "WIND", &at, &item);
    layout->typeCombo = At(at);
    layout->windItem = At(item);
    editor.ChooseMarkerType(CHOICE_WIND);
    found = found && ui.FindComboItem("Editor", "##Cb4", 2, "EAST", &at, &item);
    layout->directionCombo = At(at);
    layout->eastItem = At(item);
    found = found && ui.Find("Editor", "Confirm", &at);
    layout->confirm = At(at);
    found = found && ui.Find("Editor", "Save", &at);
    layout->save = At(at);
    ui.Click(at);
    found = found && ui.Find("Save Level", "Cancel", &at);
    found = found && ui.Find("Save Level", "Save!", &at);
    layout->saveConfirm = At(at);
    ui.Click(at);
    found = found && ui.Find("Result", "Ok", &at);
    layout->ok = At(at);
    ui.Click(at);
    editor.SetMode(EDITOR_NOTHING);
    if (editor.cursorMarker != nullptr) {
        editor.cursorMarker->SetActive(false);
    }
    return found;
}

double LastPlayerX(const std::string& trace, int* levelLines) {
    std::istringstream lines(trace);
    std::string line;
    double x = 0.0;
    *levelLines = 0;
    while (std::getline(lines, line)) {
        if (line.find("\"state\": \"Level 1\"") == std::string::npos &&
            line.find("\"state\":\"Level 1\"") == std::string::npos) {
            continue;
        }
        ++*levelLines;
        const size_t player = line.find("\"player\"");
        const size_t key = line.find("\"x\":", player);
        if (player != std::string::npos && key != std::string::npos) {
            x = std::atof(line.c_str() + key + 4);
        }
    }
    return x;
}

}  // namespace

TEST_F(EditorEndToEndTest, ALevelBuiltInTheEditorPlaysAsLevelOne) {
    EditorLayout layout{};
    ASSERT_TRUE(MeasureLayout(&layout)) << "the editor window's items were not found";

    Game editor;
    const std::string editorLog = directory + "/editor.log";
    const std::string editorTrace = directory + "/editor.jsonl";
    trace = editorTrace;
    ASSERT_TRUE(editor.Start(
        display.name, "--data '" + data + "' --size 1024x720 --start Editor --trace '" + editorTrace + "'", editorLog));
    std::string found;
    for (int i = 0; i < 120 && found.empty(); ++i) {
        Pause(500);
        RunCommand("DISPLAY=" + display.name + " xdotool search --onlyvisible --pid " + std::to_string(editor.pid) +
                       " 2>/dev/null | head -1",
                   &found);
    }
    ASSERT_FALSE(found.empty()) << ReadFile(editorLog);
    window = found.substr(0, found.find_first_of("\r\n"));
    // The loading screen comes first.
    for (int i = 0; i < 240 && ReadFile(editorTrace).find("\"state\": \"Editor\"") == std::string::npos; ++i) {
        Pause(500);
    }
    ASSERT_NE(ReadFile(editorTrace).find("\"state\": \"Editor\""), std::string::npos) << ReadFile(editorLog);
    X("windowfocus --sync " + window);
    AwaitFrames(3 * kFramesPerEvent);
    MoveTo(CellSpot(9, -6));

    // Tiles: Erase switches the tile palette on, Place keeps it; S picks tile 1.
    Key("e");
    Key("q");
    Key("s");
    Key("1");
    for (const int x : {4, 5, 6, 7}) {
        Click(CellSpot(x, 1));
    }
    Key("2");
    for (const int x : {4, 5, 6, 7}) {
        Click(CellSpot(x, 0));
    }
    Shot("editor-tiles");
    std::printf(
        "layout: collider %d %d type %d %d wind %d %d dir %d %d east %d %d confirm %d %d save %d %d "
        "save! %d %d ok %d %d\n",
        layout.collider.x, layout.collider.y, layout.typeCombo.x, layout.typeCombo.y, layout.windItem.x,
        layout.windItem.y, layout.directionCombo.x, layout.directionCombo.y, layout.eastItem.x, layout.eastItem.y,
        layout.confirm.x, layout.confirm.y, layout.save.x, layout.save.y, layout.saveConfirm.x, layout.saveConfirm.y,
        layout.ok.x, layout.ok.y);

    // A solid floor under Lirra's start, then an east wind over it.
    Click(layout.collider);
    MoveTo(CellSpot(2, 1));
    X("mousedown 1");
    AwaitFrames();
    MoveTo(CellSpot(14, 1));
    X("mouseup 1");
    AwaitFrames();
    Click(layout.confirm);
    Shot("editor-floor");
    Click(layout.ok);

    Click(layout.typeCombo);
    Click(layout.windItem);
    Click(layout.directionCombo);
    Click(layout.eastItem);
    MoveTo(CellSpot(3, 2));
    X("mousedown 1");
    AwaitFrames();
    MoveTo(CellSpot(14, 5));
    X("mouseup 1");
    AwaitFrames();
    Click(layout.confirm);
    Click(layout.ok);

    Shot("editor-wind");
    Click(layout.save);
    Shot("editor-save");
    Click(layout.saveConfirm);
    AwaitFrames();
    Click(layout.ok);
    AwaitFrames();
    kill(editor.pid, SIGTERM);
    editor.Wait();

    const std::string level = ReadFile(data + "/level01.env");
    for (const int x : {4, 5, 6, 7}) {
        EXPECT_NE(level.find("1,0," + std::to_string(x) + ",1,1\n"), std::string::npos) << level;
        EXPECT_NE(level.find("1,0," + std::to_string(x) + ",0,2\n"), std::string::npos) << level;
    }
    // The drags end where the pointer was on the frame the button rose: the boxes' ends are
    // not exact, their kinds are.
    EXPECT_NE(level.find("\nWIND EAST,"), std::string::npos) << level;
    EXPECT_NE(ReadFile(editorLog).find("Switch Layer: 2"), std::string::npos);

    Game play;
    const std::string trace = directory + "/level1.jsonl";
    const std::string shot = directory + "/level1.png";
    ASSERT_TRUE(play.Start(display.name,
                           "--data '" + data +
                               "' --size 512x360 --fixed-step 0.0166667 --seed 1 --start 'Level 1'"
                               " --frames 420 --trace '" +
                               trace + "' --screenshot 419:'" + shot + "'",
                           directory + "/level1.log"));
    ASSERT_EQ(play.Wait(), 0) << ReadFile(directory + "/level1.log");
    EXPECT_NE(ReadFile(directory + "/level1.log").find("Level 1 loaded!"), std::string::npos);
    int levelLines = 0;
    const double x = LastPlayerX(ReadFile(trace), &levelLines);
    ASSERT_GT(levelLines, 60);
    // Nobody touched a key: only the wind moves her from her start at x = 5.5 (in the level as
    // shipped she stays there exactly).
    EXPECT_GT(x, 5.51) << "after " << levelLines << " frames of level 1";
    if (const char* keep = std::getenv("LIRRA_KEEP_SHOTS")) {
        RunCommand("cp '" + shot + "' '" + keep + "/editor-level1.png'");
    }
}
