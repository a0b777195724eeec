#pragma once

#include <cstddef>
#include <string>

#include "actors/GOInteractable.h"

// A signpost. The one of the main menu (conversation 3) shows the credits on a fresh E press,
// as often as Lirra likes; it has no picture of its own (the level's tiles draw it).
class GOSignpost : public GOInteractable {
public:
    static constexpr int kCreditsConversation = 3;

    GOSignpost();

    void OnPlayerOverlap(bool inside) override;
    void SetTarget(int newTarget) override;

private:
    void ShowCredits();
};

// Characters the credits panel types on one row, and the part of a row that lies inside the
// panel (the text starts a little in from its left edge).
constexpr size_t kCreditsRowWidth = 32;
constexpr size_t kCreditsVisibleWidth = 29;
// Rows the panel types on one page, and those of them that fit inside it.
constexpr size_t kCreditsRowsPerPage = 27;
constexpr size_t kCreditsRowsShown = 24;

// `text` centred in the visible part of a row and padded with spaces to the whole row, so the
// panel's word wrap puts every line on a row of its own.
std::string CentreCreditsLine(const std::string& text);
// The credits block, built once.
const std::string& GetSignpostCredits();
