#pragma once

// The typed dialogue box. (Being built.)
void UpdateDialogue();
void RenderDialogue();
void CloseDialogue();
