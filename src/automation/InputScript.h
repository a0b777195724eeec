#pragma once

#include <string>
#include <vector>

// One line of an input file: an event delivered during a frame's event poll.
struct ScriptedEvent {
    enum class Type { Key, Mouse, Cursor, Scroll };
    long frame = 0;
    Type type = Type::Key;
    int code = 0;
    int action = 0;
    int mods = 0;
    double x = 0.0;
    double y = 0.0;
};

// Parses an input file; on a malformed line returns false with a message naming the line.
bool ParseInputScript(const std::string& text, std::vector<ScriptedEvent>& events, std::string& error);
bool LoadInputScript(const std::string& path, std::string& error);
// Starts a recording; a non-empty `firstLine` is written as its first comment line.
bool OpenInputRecording(const std::string& path, const std::string& firstLine = "");
void CloseInputRecording();

// Delivers the loaded events of `frame` through the game's own callbacks, in file order.
void DeliverScriptedInput(long frame);
// Hands in an event to deliver (and record) at the next event poll, after the file's events.
void QueueInputEvent(const ScriptedEvent& event);

// The input callbacks' listener once a recording is open; write the event to the recording, if any.
void RecordKeyEvent(int key, int action, int mods);
void RecordMouseEvent(int button, int action, int mods);
void RecordScrollEvent(double yOffset);
// Records the cursor's position when it moved since the last frame.
void RecordCursorPosition();

// GLFW key code for a name such as "SPACE" or "A" (or a number); -2 when unknown.
int KeyCodeFromName(const std::string& name);
const char* KeyNameFromCode(int code);
