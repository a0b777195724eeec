#include "actors/GOSignpost.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <vector>

#include "levels/Dialogue.h"
#include "platform/Input.h"

namespace {

// One panel page each; a page is typed out, shown for a moment and followed by the next.
const std::vector<std::vector<const char*>> kCreditsPages = {
    {
        "The Lirra team",
        "presents",
        "",
        "L I R R A",
        "a forest tale of souls",
        "",
        "(c) 2026 the Lirra team",
        "All rights reserved.",
        "",
        "PROGRAMMING",
        "Ilse Farrow",
        "Tobin Ashgrove",
        "Pell Carrow",
        "",
        "ART AND ANIMATION",
        "Juno Bramblewood",
        "Sefa Lindqvist",
        "",
        "LEVEL DESIGN",
        "Pell Carrow",
        "",
        "MUSIC AND SOUND",
        "Orrin Vale",
    },
    {
        "PRODUCER",
        "Maren Quill",
        "",
        "BUILT WITH",
        "GLFW  GLEW  glm  SOIL",
        "FreeType  Dear ImGui",
        "OpenAL Soft",
        "libvorbis  libogg  libpng",
        "the DotGothic16 font",
        "",
        "Thank you for playing!",
    },
};

std::string BuildCredits() {
    std::vector<std::string> rows;
    for (size_t page = 0; page < kCreditsPages.size(); ++page) {
        for (const char* line : kCreditsPages[page]) {
            rows.push_back(CentreCreditsLine(line));
        }
        // The panel types more rows on a page than it has room for: the last ones stay blank,
        // and the next page starts on a page of its own.
        const bool lastPage = page + 1 == kCreditsPages.size();
        while (!lastPage && rows.size() % kCreditsRowsPerPage != 0) {
            rows.push_back(CentreCreditsLine(""));
        }
    }
    std::string text;
    for (const std::string& row : rows) {
        if (!text.empty()) {
            text += '\n';
        }
        text += row;
    }
    return text;
}

}  // namespace

std::string CentreCreditsLine(const std::string& text) {
    const std::string shown = text.substr(0, kCreditsVisibleWidth);
    const size_t left = (kCreditsVisibleWidth - shown.size()) / 2;
    return std::string(left, ' ') + shown + std::string(kCreditsRowWidth - left - shown.size(), ' ');
}

const std::string& GetSignpostCredits() {
    static const std::string credits = BuildCredits();
    return credits;
}

GOSignpost::GOSignpost() {
    interactableType = INTERACTABLE_SIGNPOST;
    transform.SetScale(2.0f, 5.0f, 1.0f);
}

void GOSignpost::SetTarget(int newTarget) {
    target = newTarget;
    playerInside = false;
    activated = false;
    CreatePopup();
}

void GOSignpost::OnPlayerOverlap(bool inside) {
    playerInside = inside;
    // A fresh press, not a held key: walking past with E down does not open the panel.
    if (inside && IsTriggered(GLFW_KEY_E) && target == kCreditsConversation) {
        ShowCredits();
    }
}

void GOSignpost::ShowCredits() {
    DialogueRequest credits;
    credits.name = "Credits";
    credits.text = GetSignpostCredits();
    credits.nameColor = Vector3(1.0f, 0.0f, 0.0f);
    credits.offset = Vector2(-100.0f, 150.0f);
    credits.textOffset = Vector2(0.0f, 50.0f);
    credits.speed = 10.0f;
    credits.panelAlpha = 0.6f;
    credits.textScale = 0.4f;
    credits.nameScale = 1.2f;
    credits.size = Vector2(250.0f, 400.0f);
    credits.follow = &transform.position;
    credits.autoClose = 3.0f;
    credits.onFinish = [] { std::printf("Signpost has been closed!\n"); };
    ShowDialogue(credits, true);
}
