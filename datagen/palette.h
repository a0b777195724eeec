// The shared palette. The world and the characters stay dark (well below the bloom's bright
// pass); only the magic colours near the bottom are bright enough to glow.
#pragma once

#include "raster.h"

namespace datagen::pal {

// outlines and shadows
constexpr Rgba outline = Hex(0x140c1e);
constexpr Rgba shadow = Hex(0x0b0914);

// Lirra
constexpr Rgba cloakShadow = Hex(0x21113a);
constexpr Rgba cloakDark = Hex(0x35195c);
constexpr Rgba cloakMid = Hex(0x552a86);
constexpr Rgba cloakLight = Hex(0x7444aa);
constexpr Rgba cloakTrim = Hex(0x8d5fc4);
constexpr Rgba clasp = Hex(0xb08ad0);
constexpr Rgba skin = Hex(0xc8b3c6);
constexpr Rgba skinShade = Hex(0xa58fa8);
constexpr Rgba blush = Hex(0xb57f9e);
constexpr Rgba hair = Hex(0x28153c);
constexpr Rgba eye = Hex(0x0d0716);
constexpr Rgba eyeShine = Hex(0x6f6290);
constexpr Rgba leg = Hex(0x2b1d3d);
constexpr Rgba legDark = Hex(0x1e1430);
constexpr Rgba boot = Hex(0x170f22);
constexpr Rgba handle = Hex(0x4a3428);
constexpr Rgba steel = Hex(0x8487a6);
constexpr Rgba steelEdge = Hex(0xa9abc4);
constexpr Rgba smear = Hex(0x9d8ad0);
constexpr Rgba smearEdge = Hex(0xb7a8e0);

// Dired
constexpr Rgba shawlDark = Hex(0x3a2430);
constexpr Rgba shawl = Hex(0x5c3446);
constexpr Rgba shawlLight = Hex(0x7a4a5c);
constexpr Rgba dressDark = Hex(0x1f2a36);
constexpr Rgba dress = Hex(0x2e3d4c);
constexpr Rgba oldSkin = Hex(0xa89a96);
constexpr Rgba oldSkinShade = Hex(0x857672);
constexpr Rgba greyHair = Hex(0x8e8c9c);
constexpr Rgba greyHairDark = Hex(0x66667a);
constexpr Rgba cane = Hex(0x4b3426);
constexpr Rgba caneLight = Hex(0x6b4c36);

// spirits
constexpr Rgba ghostDark = Hex(0x2c3f5a);
constexpr Rgba ghost = Hex(0x466584);
constexpr Rgba ghostLight = Hex(0x6a8ca8);
constexpr Rgba mask = Hex(0xb4b0a4);
constexpr Rgba maskShade = Hex(0x88857c);
constexpr Rgba maskEye = Hex(0x120c18);
constexpr Rgba wing = Hex(0x3b3060);
constexpr Rgba wingLight = Hex(0x5d4d8a);

// the forest
constexpr Rgba night = Hex(0x0c1424);
constexpr Rgba earthDeep = Hex(0x14121c);
constexpr Rgba earthDark = Hex(0x221c28);
constexpr Rgba earth = Hex(0x2c2434);
constexpr Rgba earthLight = Hex(0x3a3042);
constexpr Rgba stoneDark = Hex(0x26303e);
constexpr Rgba stone = Hex(0x3c4858);
constexpr Rgba stoneLight = Hex(0x566476);
constexpr Rgba mossDark = Hex(0x173a34);
constexpr Rgba moss = Hex(0x1f5a48);
constexpr Rgba mossLight = Hex(0x2f7a5c);
constexpr Rgba mossTip = Hex(0x4a9a70);
constexpr Rgba barkDark = Hex(0x1c1820);
constexpr Rgba bark = Hex(0x2e2630);
constexpr Rgba barkLight = Hex(0x433842);
constexpr Rgba leafDark = Hex(0x10302e);
constexpr Rgba leaf = Hex(0x1a4640);
constexpr Rgba leafLight = Hex(0x276052);
constexpr Rgba root = Hex(0x3a2a30);
constexpr Rgba wood = Hex(0x4a3630);
constexpr Rgba woodLight = Hex(0x624838);
constexpr Rgba flowerBlue = Hex(0x4c6cb0);
constexpr Rgba flowerViolet = Hex(0x7a4cac);
constexpr Rgba capRed = Hex(0x7a2e44);
constexpr Rgba capTeal = Hex(0x2a6a78);
constexpr Rgba stalk = Hex(0x8a8290);

// the boss
constexpr Rgba rockDark = Hex(0x1a1a24);
constexpr Rgba rock = Hex(0x2f2f3e);
constexpr Rgba rockLight = Hex(0x474658);
constexpr Rgba barkBoss = Hex(0x2b2228);
constexpr Rgba barkBossLight = Hex(0x40323a);
constexpr Rgba mossBoss = Hex(0x1d4a3e);

// magic: bright, meant to glow
constexpr Rgba soulMagenta = Hex(0xe040d8);
constexpr Rgba soulMagentaCore = Hex(0xffd0f8);
constexpr Rgba soulCyan = Hex(0x38b8f0);
constexpr Rgba soulCyanCore = Hex(0xb8f4ff);
constexpr Rgba soulGreen = Hex(0x48e070);
constexpr Rgba soulGreenCore = Hex(0xc8ffc8);
constexpr Rgba bossEye = Hex(0xff6a3a);
constexpr Rgba bossEyeCore = Hex(0xfff0a0);
constexpr Rgba white = Hex(0xffffff);

// interface
constexpr Rgba uiInk = Hex(0xe8e0f0);
constexpr Rgba uiInkShadow = Hex(0x140a20);
constexpr Rgba uiPanel = Hex(0x1a1430);
constexpr Rgba uiPanelLight = Hex(0x2a2048);
constexpr Rgba uiBorder = Hex(0x8a70c0);
constexpr Rgba uiBorderDark = Hex(0x4a3a78);
constexpr Rgba uiHighlight = Hex(0xffd8ff);

}  // namespace datagen::pal
