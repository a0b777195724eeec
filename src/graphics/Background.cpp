#include "graphics/Background.h"

void SetupBackgrounds() {}
void DrawBackground(int) {}
