#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "math/Vector.h"

// What a caller fills in to show one dialogue box. The box keeps its own copy; the fields from
// `shown` on are its typing progress.
struct DialogueRequest {
    std::string name;    // the speaker, over the panel
    std::string text;    // the body; '\n' is typed as a space
    float speed = 1.0f;  // one character every 1 / (26 x speed) s
    float nameScale = 1.0f;
    float textScale = 1.0f;
    float panelAlpha = 1.0f;
    Vector3 nameColor{1.0f, 1.0f, 1.0f};
    Vector3 textColor{1.0f, 1.0f, 1.0f};
    Vector2 size{300.0f, 100.0f};           // screen units at zoom 1
    bool worldAnchored = false;             // `position` is a world point
    float pagePause = 2.0f;                 // a full page stays up this long; also a chain's hand-over delay
    float autoClose = 2.0f;                 // seconds after typing ends before the box closes itself
    Vector3 position;                       // panel centre in 1024 x 720 screen space, or world
    Vector2 offset;                         // added to the centre, divided by the zoom
    Vector2 textOffset;                     // added to the body's start point
    const Vector3* follow = nullptr;        // a world point the panel stays on (not owned)
    std::function<void(char)> onCharacter;  // each typed character
    std::function<void()> onFinish;         // the box finishes

    std::string shown;  // typed so far on this page
    float lineWidth = 0.0f;
    float pageHeight = 0.0f;
    float nextCharTime = 0.0f;
    float chainTime = 0.0f;  // > 0: chained; a time point once typing ends
    float pageResumeTime = 0.0f;
    float autoCloseTime = 0.0f;
    int64_t charIndex = 0;             // next character of `text`
    std::function<void()> onComplete;  // shows the chained follow-up
};

// Shows a copy of the request; with finishCurrent the box showing now finishes first.
void ShowDialogue(const DialogueRequest& request, bool finishCurrent);
// `a` hands over to a copy of `b` once it has been read. Build chains from the last line back.
void ChainDialogue(DialogueRequest& a, const DialogueRequest& b, float delay);
// The skip key: ends a page pause at once, or finishes a typed-out box.
void AdvanceDialogue();
// Runs the finish action, then closes.
void FinishDialogue();
// Hides the box without running its finish action.
void CloseDialogue();

void UpdateDialogue();
void RenderDialogue();

bool IsDialogueVisible();
const DialogueRequest& GetDialogue();
// The advance of one character of body text at the given scale, in screen units.
float DialogueCharAdvance(float textScale);
// A text without its white space: the box breaks lines where it likes, so a shown text is
// compared with a line of the script this way.
std::string WithoutSpaces(const std::string& text);
