#include "levels/Dialogue.h"

#include <GL/glew.h>

#include <cctype>
#include <glm/gtc/matrix_transform.hpp>
#include <utility>

#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/TextRenderer.h"
#include "graphics/Texture.h"
#include "platform/FrameClock.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"

namespace {
// A quarter of the font's 64-pixel size, times the spacing the text renderer gives a glyph.
constexpr float kCharAdvance = 16.0f * 1.2f;
constexpr float kCharsPerSecond = 26.0f;

struct DialogueBox {
    DialogueRequest request;
    const Mesh* panelMesh = nullptr;
    const Texture* panelTexture = nullptr;
    bool visible = false;
    // Counts ShowDialogue calls, so a finish action that shows the next line is not closed.
    unsigned long generation = 0;
};

DialogueBox box;

void FetchPanel() {
    const ResourceLoader& resources = GetResources();
    box.panelMesh = resources.LookupMesh(QUAD);
    box.panelTexture = resources.LookupTexture(TextureId::DialoguePanel);
    if (box.panelTexture != nullptr) {
        box.panelTexture->SetFilter(GL_NEAREST);
    }
}

void QueueText(const std::string& text, const Vector2& position, float scale, const Vector3& colour) {
    GetTextRenderer().DrawText(text, position, scale, colour, true);
}

template <typename Callback>
Callback Take(Callback& callback) {
    Callback taken = std::move(callback);
    callback = nullptr;
    return taken;
}

bool TypingDone(const DialogueRequest& request) {
    return request.charIndex >= static_cast<int64_t>(request.text.size());
}

// Characters from `from` up to and including the next space or line break, or to the end.
int RestOfWord(const std::string& text, int64_t from) {
    int count = 0;
    for (size_t i = static_cast<size_t>(from); i < text.size(); ++i) {
        ++count;
        if (text[i] == ' ' || text[i] == '\n') {
            break;
        }
    }
    return count;
}

// Once the last character is about to be typed: the hand-over or the self-close starts counting.
void ArmEndTimers(DialogueRequest& request, float now) {
    if (request.chainTime > 0.0f) {
        request.chainTime = now + request.pagePause;
    } else if (request.autoClose > 0.0f) {
        request.autoCloseTime = now + request.autoClose;
    }
}

// Runs the finish action, then hands over to the chained request or closes the box. The
// callbacks are taken out first: the hand-over replaces the request they live in.
void EndBox(bool handOver) {
    std::function<void()> finish = Take(box.request.onFinish);
    std::function<void()> complete = handOver ? Take(box.request.onComplete) : nullptr;
    const unsigned long showing = box.generation;
    if (finish) {
        finish();
    }
    if (complete) {
        complete();
        return;
    }
    if (box.generation == showing) {
        CloseDialogue();
    }
}

void BreakLine(DialogueRequest& request, float advance) {
    request.lineWidth = 0.0f;
    request.shown += '\n';
    request.pageHeight += advance;
}

void TypeNextCharacter(DialogueRequest& request, float now) {
    char ch = request.text[static_cast<size_t>(request.charIndex)];
    request.charIndex += 1;
    if (ch == '\n') {
        ch = ' ';
    }
    const float advance = DialogueCharAdvance(request.textScale);
    const float restOfWord = advance * static_cast<float>(RestOfWord(request.text, request.charIndex));
    // Words wrap at the space before them. A word longer than a whole line breaks where it
    // overflows instead, and a break at the start of a line would only leave it empty.
    const bool wrap = ch == ' ' && request.lineWidth > 0.0f && request.size.x < request.lineWidth + restOfWord;
    if (!wrap) {
        request.lineWidth += advance;
    }
    if (wrap || request.lineWidth > request.size.x) {
        BreakLine(request, advance);
        if (request.pageHeight >= request.size.y / 2.0f) {
            request.pageResumeTime = now + request.pagePause;
            request.charIndex -= 1;  // typed again on the next page
            return;
        }
        // A space becomes the break; any other character moves to the new line.
        if (ch != ' ') {
            request.shown += ch;
            request.lineWidth = advance;
        }
    } else {
        request.shown += ch;
    }
    request.nextCharTime = now + 1.0f / (kCharsPerSecond * request.speed);
    if (static_cast<int64_t>(request.text.size()) - request.charIndex == 1) {
        ArmEndTimers(request, now);
    }
    // Last, and from a copy: a typing sound may show another box.
    const std::function<void(char)> onCharacter = request.onCharacter;
    if (onCharacter) {
        onCharacter(ch);
    }
}

void StartNextPage(DialogueRequest& request) {
    request.shown.clear();
    request.pageHeight = 0.0f;
}

Vector2 PanelCentre(const DialogueRequest& request) {
    if (request.follow != nullptr) {
        const Vector3 p = GetCamera().WorldToScreen(*request.follow);
        return Vector2(p.x, p.y);
    }
    if (request.worldAnchored) {
        const Vector3 p = GetCamera().WorldToScreen(request.position);
        return Vector2(p.x, p.y);
    }
    return Vector2(request.position.x, request.position.y);
}

// Between `low` and `high`; midway when the span is too small to hold the value's box.
float KeepBetween(float value, float low, float high) {
    if (low > high) {
        return (low + high) / 2.0f;
    }
    return value < low ? low : (value > high ? high : value);
}

// A box anchored near an edge is moved in until the panel and the speaker's name over it lie
// inside the screen, a little clear of its edges so the name's first letter shows whole.
Vector2 KeepOnScreen(const Vector2& centre, const Vector2& size, float nameScale, float zoom) {
    constexpr float kEdgeMargin = 12.0f;
    const float nameRoom = size.y / 2.0f * 0.05f + static_cast<float>(TextRenderer::kPixelSize) * nameScale / zoom;
    const float halfWidth = size.x / 2.0f + kEdgeMargin;
    const float halfHeight = size.y / 2.0f + kEdgeMargin;
    return Vector2(KeepBetween(centre.x, halfWidth, static_cast<float>(kScreenWidth) - halfWidth),
                   KeepBetween(centre.y, halfHeight, static_cast<float>(kScreenHeight) - halfHeight - nameRoom));
}

void DrawPanel(const Vector2& centre, const Vector2& size, float alpha) {
    if (box.panelMesh == nullptr) {
        return;
    }
    MatrixStack& projection = GetProjectionStack();
    MatrixStack& view = GetViewStack();
    MatrixStack& model = GetModelStack();
    projection.Push();
    projection.Load(
        glm::ortho(0.0f, static_cast<float>(kScreenWidth), 0.0f, static_cast<float>(kScreenHeight), -100.0f, 100.0f));
    view.Push();
    view.LoadIdentity();
    model.Push();
    model.LoadIdentity();
    model.Translate(centre.x, centre.y, 0.0f);
    model.Scale(size.x, size.y, 1.0f);
    glDisable(GL_DEPTH_TEST);
    box.panelMesh->Draw(box.panelTexture, alpha, Vector3(1.0f, 1.0f, 1.0f));
    glEnable(GL_DEPTH_TEST);
    model.Pop();
    view.Pop();
    projection.Pop();
}

}  // namespace

float DialogueCharAdvance(float textScale) {
    return kCharAdvance * textScale;
}

void ShowDialogue(const DialogueRequest& request, bool finishCurrent) {
    if (finishCurrent) {
        FinishDialogue();
    }
    box.visible = true;
    box.request = request;
    // Typing never grows it: at most one line break beside each character.
    box.request.shown.reserve(2 * box.request.text.size() + 1);
    box.generation += 1;
    FetchPanel();
    // Texts too short to pass the second-to-last character arm their timers now.
    if (box.request.text.size() <= 1) {
        ArmEndTimers(box.request, GetScaledTotalTime());
    }
}

void ChainDialogue(DialogueRequest& a, const DialogueRequest& b, float delay) {
    a.chainTime = delay;
    a.onComplete = [next = b]() { ShowDialogue(next, false); };
}

void AdvanceDialogue() {
    if (!box.visible) {
        return;
    }
    DialogueRequest& request = box.request;
    if (TypingDone(request)) {
        EndBox(request.chainTime > 0.0f);
        return;
    }
    if (GetScaledTotalTime() <= request.pageResumeTime) {
        request.pageResumeTime = 0.0f;
        StartNextPage(request);
    }
}

void FinishDialogue() {
    EndBox(false);
}

void CloseDialogue() {
    box.visible = false;
    box.request.onFinish = nullptr;
    box.request.onCharacter = nullptr;
}

void UpdateDialogue() {
    if (!box.visible) {
        return;
    }
    DialogueRequest& request = box.request;
    const float now = GetScaledTotalTime();
    const float dt = GetDeltaTime();
    if (now <= request.pageResumeTime) {
        // The page is cleared in the last frame of its pause.
        if (request.pageResumeTime < now + dt) {
            StartNextPage(request);
        }
        return;
    }
    if (TypingDone(request)) {
        if (now >= request.chainTime && request.onComplete) {
            EndBox(true);
        } else if (request.chainTime == 0.0f && request.autoCloseTime < now + dt) {
            EndBox(false);
        }
        return;
    }
    if (now >= request.nextCharTime) {
        TypeNextCharacter(request, now);
    }
}

void RenderDialogue() {
    if (!box.visible) {
        return;
    }
    const DialogueRequest& request = box.request;
    const float zoom = GetCamera().GetZoom();
    Vector2 p = PanelCentre(request);
    p.x += request.offset.x / zoom;
    p.y += request.offset.y / zoom;
    const Vector2 s(request.size.x / zoom, request.size.y / zoom);
    p = KeepOnScreen(p, s, request.nameScale, zoom);
    DrawPanel(p, s, request.panelAlpha);

    const float halfHeight = request.size.y / zoom / 2.0f;
    p.x -= s.x / 2.0f;
    p.y += halfHeight * 1.05f;
    QueueText(request.name, p, request.nameScale, request.nameColor);

    p.x += s.x * 0.05f;
    p.y -= halfHeight / 2.0f;
    p.x += request.textOffset.x;
    p.y += request.textOffset.y;
    QueueText(request.shown, p, request.textScale, request.textColor);
}

bool IsDialogueVisible() {
    return box.visible;
}

std::string WithoutSpaces(const std::string& text) {
    std::string kept;
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            kept += c;
        }
    }
    return kept;
}

const DialogueRequest& GetDialogue() {
    return box.request;
}
