#include "levels/Dialogue.h"

void UpdateDialogue() {}
void RenderDialogue() {}
void CloseDialogue() {}
