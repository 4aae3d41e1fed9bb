#pragma once
// The pictures of the forge, one drawing function per picture family.
#include "paint.h"

namespace forge {

// Cards (cards.cpp). x, y: top-left corner of the 80 x 120 cell; scale enlarges the card.
// fourColour: spades black, hearts red, diamonds blue, clubs green (else the classic two colours).
void DrawCardFace(cairo_t* cr, double x, double y, int value, int suit, bool fourColour = false);
void DrawJoker(cairo_t* cr, double x, double y);
void DrawCardBack(cairo_t* cr, double x, double y);
void DrawDummyCard(cairo_t* cr, double x, double y, int k);

// Sheets (sheets.cpp).
void DrawSozai1(Canvas& c);
// The four-colour deck: every card cell of "sozai1.png" (faces, joker, back, dummies) at the same
// place, the faces in four suit colours; the rest of the sheet transparent.
void DrawFourColourCards(Canvas& c);
void DrawSozai2(Canvas& c);
void DrawSozai3(Canvas& c);
void DrawSozai4(Canvas& c);
void DrawSozai7(Canvas& c);
void DrawSozai9(Canvas& c);
void DrawTable(Canvas& c);
// The symbol of an opponent ability (host 0..4, ability 0..3) centred at (cx, cy), size s.
void DrawHostAbilitySymbol(cairo_t* cr, int host, int ability, double cx, double cy, double s);

// Characters (people.cpp).
// Draws host h in outfit 0..2 with expression mood (0 smile, 1 cheerful, 2 soft/tender) so that
// the figure's centre line is cx, the top of the head is at top and 1.0 = stand size (head
// about 150 px wide).
void DrawFigure(cairo_t* cr, int host, int outfit, int mood, double cx, double top, double scale);
Rgb HostColor(int host);
void DrawStand(Canvas& c, int host, int outfit);
// An illustration in 1280 x 720 space (ill 0..2, variant 0..1).
void DrawIllustration(cairo_t* cr, int host, int ill, int variant);

// Screens (screens.cpp).
void DrawSozai5(Canvas& c);
void DrawGallery02(Canvas& c);
void DrawSalonBackdrop(cairo_t* cr, double w, double h, int lighting);  // 0 night, 1 warm
void DrawHarbourNight(cairo_t* cr, double w, double h, double dawn);
bool DrawScreenPicture(Canvas& c, const char* name);
// The match's effect sprites, ability captions and help texts (match_fx.cpp); false for other names.
bool DrawMatchPicture(Canvas& c, const char* name);

// Title menu, host pick, credits and advertisement pictures (menu_fx.cpp); false for other names.
bool DrawMenuPicture(Canvas& c, const char* name);

}  // namespace forge
