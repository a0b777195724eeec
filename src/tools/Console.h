#pragma once

#include <string>
#include <vector>

#include <imgui.h>

class GameObject;

// GL switches the console's "Tools" header flips; both are on from start-up.
extern bool blendingEnabled;
extern bool alphaTestEnabled;

// The developer console window, built between ImGui's new frame and its render while the
// current state has it open.
void BuildConsole();

// The states its "State" header offers, in button order, with their labels.
struct ConsoleStateButton {
    const char* label;
    int stateId;
};
const std::vector<ConsoleStateButton>& GetConsoleStateButtons();

// What the object tree shows of one object: its text colour and its component lines.
ImVec4 ConsoleObjectColour(const GameObject& object);
std::vector<std::string> ConsoleComponentLines(const GameObject& object);
std::string ConsoleObjectsHeader(size_t count);
