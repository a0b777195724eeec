#pragma once

#include <string>

// Saves the picture of the bound framebuffer (the window's back buffer) as a PNG.
bool SaveScreenshot(const std::string& path);
