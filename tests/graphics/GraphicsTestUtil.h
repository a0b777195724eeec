#pragma once

#include <string>
#include <vector>

#include "math/Vector.h"

// Opens the game's window at the graphics tests' size and clears any GL error left behind.
void StartGraphicsTest();
// Whether the built data directory holds the generated art and font.
bool HasGeneratedTextures();
// Loads the resource loader's textures and standard meshes once per process.
void LoadGraphicsResources();

// The clock's next steps are `step` seconds each (the next AdvanceFrameClock gives exactly `step`).
void SetClockStep(double step);
void StepClock();

// Binds the window framebuffer, clears it, and readies the default program for drawing.
void BeginWindowDraw(float r = 0.1f, float g = 0.1f, float b = 0.1f);
// Reads back one pixel of the bound framebuffer as RGB 0..255 (origin bottom-left).
Vector3 ReadPixel(int x, int y);
// Writes an RGBA PNG of width x height with every pixel set to the given colour.
void WriteSolidPng(const std::string& path, int width, int height, unsigned char r, unsigned char g, unsigned char b,
                   unsigned char a);

// Counts the occurrences of `needle` in `text`.
int CountOf(const std::string& text, const std::string& needle);
