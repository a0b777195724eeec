#pragma once

// The five-layer parallax forest. (Being built.)
void SetupBackgrounds();
void DrawBackground(int type);
