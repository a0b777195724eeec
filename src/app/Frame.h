#pragma once

// The two steps that frame every iteration of the main loop, around the state's update and render.
// The start clears the window, polls the devices, hands in the scripted input of the frame and
// starts Dear ImGui and the camera; the end draws Dear ImGui, closes the input frame and holds the
// frame back to the frame rate. SwapFrame (platform/FrameClock.h) shows it.
void BeginFrame();
void EndFrame();
