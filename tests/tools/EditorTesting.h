#pragma once

#include <gtest/gtest.h>

#include <string>

#include "math/Vector.h"
#include "tools/StateLevelEditor.h"

// Each test runs the editor as the game's current state in the real 1024 x 720 window with the
// textures loaded, and points at cells with the real pointer.
class EditorTest : public testing::Test {
protected:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 720;

    void SetUp() override;
    void TearDown() override;

    // Moves the pointer over cell (x, y) of the world and runs frames until the editor sees it.
    void PointAt(int x, int y);
    void Press(int code);
    void Release(int code);
    void Tap(int code);
    void Frames(int n);
    // A tile placed by a click of the real left button at (x, y) on `layer`.
    void PlaceTileAt(int x, int y, int layer);
    std::string Path(const std::string& name) const { return directory + "/" + name; }

    StateLevelEditor* editor = nullptr;
    std::string directory;
};
