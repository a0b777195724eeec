#include "automation/InputScript.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"

namespace {

struct KeyName {
    const char* name;
    int code;
};

const KeyName kKeyNames[] = {
    {"UNKNOWN", GLFW_KEY_UNKNOWN},
    {"SPACE", GLFW_KEY_SPACE},
    {"APOSTROPHE", GLFW_KEY_APOSTROPHE},
    {"COMMA", GLFW_KEY_COMMA},
    {"MINUS", GLFW_KEY_MINUS},
    {"PERIOD", GLFW_KEY_PERIOD},
    {"SLASH", GLFW_KEY_SLASH},
    {"SEMICOLON", GLFW_KEY_SEMICOLON},
    {"EQUAL", GLFW_KEY_EQUAL},
    {"LEFT_BRACKET", GLFW_KEY_LEFT_BRACKET},
    {"BACKSLASH", GLFW_KEY_BACKSLASH},
    {"RIGHT_BRACKET", GLFW_KEY_RIGHT_BRACKET},
    {"GRAVE_ACCENT", GLFW_KEY_GRAVE_ACCENT},
    {"ESCAPE", GLFW_KEY_ESCAPE},
    {"ENTER", GLFW_KEY_ENTER},
    {"TAB", GLFW_KEY_TAB},
    {"BACKSPACE", GLFW_KEY_BACKSPACE},
    {"INSERT", GLFW_KEY_INSERT},
    {"DELETE", GLFW_KEY_DELETE},
    {"RIGHT", GLFW_KEY_RIGHT},
    {"LEFT", GLFW_KEY_LEFT},
    {"DOWN", GLFW_KEY_DOWN},
    {"UP", GLFW_KEY_UP},
    {"PAGE_UP", GLFW_KEY_PAGE_UP},
    {"PAGE_DOWN", GLFW_KEY_PAGE_DOWN},
    {"HOME", GLFW_KEY_HOME},
    {"END", GLFW_KEY_END},
    {"CAPS_LOCK", GLFW_KEY_CAPS_LOCK},
    {"F1", GLFW_KEY_F1},
    {"F2", GLFW_KEY_F2},
    {"F3", GLFW_KEY_F3},
    {"F4", GLFW_KEY_F4},
    {"F5", GLFW_KEY_F5},
    {"F6", GLFW_KEY_F6},
    {"F7", GLFW_KEY_F7},
    {"F8", GLFW_KEY_F8},
    {"F9", GLFW_KEY_F9},
    {"F10", GLFW_KEY_F10},
    {"F11", GLFW_KEY_F11},
    {"F12", GLFW_KEY_F12},
    {"KP_ENTER", GLFW_KEY_KP_ENTER},
    {"LEFT_SHIFT", GLFW_KEY_LEFT_SHIFT},
    {"LEFT_CONTROL", GLFW_KEY_LEFT_CONTROL},
    {"LEFT_ALT", GLFW_KEY_LEFT_ALT},
    {"LEFT_SUPER", GLFW_KEY_LEFT_SUPER},
    {"RIGHT_SHIFT", GLFW_KEY_RIGHT_SHIFT},
    {"RIGHT_CONTROL", GLFW_KEY_RIGHT_CONTROL},
    {"RIGHT_ALT", GLFW_KEY_RIGHT_ALT},
    {"RIGHT_SUPER", GLFW_KEY_RIGHT_SUPER},
};

std::vector<ScriptedEvent> scriptedEvents;
size_t nextScriptedEvent = 0;
// Events handed in while the game runs (a player bot), delivered at the next event poll.
std::vector<ScriptedEvent> queuedEvents;
FILE* recording = nullptr;
int lastCursorX = -1;
int lastCursorY = -1;

bool ParseAction(const std::string& word, int* action) {
    if (word == "press") {
        *action = GLFW_PRESS;
    } else if (word == "release") {
        *action = GLFW_RELEASE;
    } else if (word == "repeat") {
        *action = GLFW_REPEAT;
    } else {
        return false;
    }
    return true;
}

const char* ActionName(int action) {
    switch (action) {
    case GLFW_PRESS:
        return "press";
    case GLFW_REPEAT:
        return "repeat";
    default:
        return "release";
    }
}

bool ParseInteger(const std::string& word, long* value) {
    char* end = nullptr;
    *value = std::strtol(word.c_str(), &end, 10);
    return !word.empty() && *end == '\0';
}

bool ParseNumber(const std::string& word, double* value) {
    char* end = nullptr;
    *value = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0';
}

// Parses the words after the frame number; false when they do not form an event.
bool ParseEventWords(std::istringstream& words, ScriptedEvent& event) {
    std::string type;
    words >> type;
    std::string a;
    std::string b;
    std::string c;
    words >> a >> b >> c;
    std::string extra;
    if (words >> extra) {
        return false;
    }
    long number = 0;
    if (type == "key" || type == "mouse") {
        event.type = type == "key" ? ScriptedEvent::Type::Key : ScriptedEvent::Type::Mouse;
        if (event.type == ScriptedEvent::Type::Key) {
            event.code = KeyCodeFromName(a);
            if (event.code == -2) {
                return false;
            }
        } else {
            if (!ParseInteger(a, &number) || number < 0 || number > GLFW_MOUSE_BUTTON_LAST) {
                return false;
            }
            event.code = static_cast<int>(number);
        }
        if (!ParseAction(b, &event.action)) {
            return false;
        }
        if (!c.empty()) {
            if (!ParseInteger(c, &number)) {
                return false;
            }
            event.mods = static_cast<int>(number);
        }
        return true;
    }
    if (type == "cursor") {
        event.type = ScriptedEvent::Type::Cursor;
        return c.empty() && ParseNumber(a, &event.x) && ParseNumber(b, &event.y);
    }
    if (type == "scroll") {
        event.type = ScriptedEvent::Type::Scroll;
        return b.empty() && ParseNumber(a, &event.y);
    }
    return false;
}

void Deliver(const ScriptedEvent& event) {
    GLFWwindow* window = GetWindow();
    switch (event.type) {
    case ScriptedEvent::Type::Key:
        KeyCallback(window, event.code, 0, event.action, event.mods);
        break;
    case ScriptedEvent::Type::Mouse:
        MouseButtonCallback(window, event.code, event.action, event.mods);
        break;
    case ScriptedEvent::Type::Cursor:
        if (window != nullptr) {
            glfwSetCursorPos(window, event.x, event.y);
        }
        break;
    case ScriptedEvent::Type::Scroll:
        ScrollCallback(window, 0.0, event.y);
        break;
    }
}

}  // namespace

int KeyCodeFromName(const std::string& name) {
    if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
        return name[0];
    }
    for (const KeyName& entry : kKeyNames) {
        if (name == entry.name) {
            return entry.code;
        }
    }
    long number = 0;
    if (ParseInteger(name, &number) && number >= -1 && number <= GLFW_KEY_LAST) {
        return static_cast<int>(number);
    }
    return -2;
}

const char* KeyNameFromCode(int code) {
    static char single[2] = {0, 0};
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
        single[0] = static_cast<char>(code);
        return single;
    }
    for (const KeyName& entry : kKeyNames) {
        if (code == entry.code) {
            return entry.name;
        }
    }
    return nullptr;
}

bool ParseInputScript(const std::string& text, std::vector<ScriptedEvent>& events, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) {
            line.erase(hash);
        }
        std::istringstream words(line);
        std::string frameWord;
        if (!(words >> frameWord)) {
            continue;
        }
        ScriptedEvent event;
        long frame = 0;
        if (!ParseInteger(frameWord, &frame) || frame < 0 || !ParseEventWords(words, event)) {
            error = "line " + std::to_string(lineNumber) + ": cannot read '" + line + "'";
            return false;
        }
        event.frame = frame;
        events.push_back(event);
    }
    return true;
}

bool LoadInputScript(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the input file '" + path + "'";
        return false;
    }
    std::stringstream content;
    content << file.rdbuf();
    std::vector<ScriptedEvent> events;
    if (!ParseInputScript(content.str(), events, error)) {
        error = path + ", " + error;
        return false;
    }
    // Events are delivered by frame; a stable sort keeps file order within a frame.
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
    scriptedEvents = std::move(events);
    nextScriptedEvent = 0;
    return true;
}

bool OpenInputRecording(const std::string& path, const std::string& firstLine) {
    recording = std::fopen(path.c_str(), "w");
    if (recording == nullptr) {
        return false;
    }
    if (!firstLine.empty()) {
        std::fprintf(recording, "# %s\n", firstLine.c_str());
    }
    std::fprintf(recording, "# recorded by lirra %s\n", LIRRA_VERSION);
    SetInputListener({.key = RecordKeyEvent, .mouseButton = RecordMouseEvent, .scroll = RecordScrollEvent});
    return true;
}

void CloseInputRecording() {
    if (recording != nullptr) {
        std::fclose(recording);
        recording = nullptr;
    }
}

void DeliverScriptedInput(long frame) {
    while (nextScriptedEvent < scriptedEvents.size() && scriptedEvents[nextScriptedEvent].frame <= frame) {
        const ScriptedEvent& event = scriptedEvents[nextScriptedEvent++];
        if (event.frame == frame) {
            Deliver(event);
        }
    }
    for (const ScriptedEvent& event : queuedEvents) {
        Deliver(event);
    }
    queuedEvents.clear();
    RecordCursorPosition();
}

void QueueInputEvent(const ScriptedEvent& event) {
    queuedEvents.push_back(event);
}

void RecordKeyEvent(int key, int action, int mods) {
    if (recording == nullptr) {
        return;
    }
    const char* name = KeyNameFromCode(key);
    if (name != nullptr) {
        std::fprintf(recording, "%ld key %s %s %d\n", GetFrameNumber(), name, ActionName(action), mods);
    } else {
        std::fprintf(recording, "%ld key %d %s %d\n", GetFrameNumber(), key, ActionName(action), mods);
    }
}

void RecordMouseEvent(int button, int action, int mods) {
    if (recording != nullptr) {
        std::fprintf(recording, "%ld mouse %d %s %d\n", GetFrameNumber(), button, ActionName(action), mods);
    }
}

void RecordScrollEvent(double yOffset) {
    if (recording != nullptr) {
        std::fprintf(recording, "%ld scroll %.17g\n", GetFrameNumber(), yOffset);
    }
}

void RecordCursorPosition() {
    if (recording == nullptr) {
        return;
    }
    int x = 0;
    int y = 0;
    GetCursorPos(&x, &y);
    if (x != lastCursorX || y != lastCursorY) {
        lastCursorX = x;
        lastCursorY = y;
        std::fprintf(recording, "%ld cursor %d %d\n", GetFrameNumber(), x, y);
    }
}
