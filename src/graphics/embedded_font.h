#pragma once
#include <cstddef>

// The game font, linked into the program at build time by tools/fontembed: Klee One SemiBold
// (Debian fonts-klee, SIL Open Font License 1.1, licence in LICENSES/fonts-klee.txt), trimmed to
// the Shift-JIS repertoire plus the card suits. Inside the program it keeps the logical face
// name "しねきゃぷしょん" that the game's texts were written for.
extern "C" {
extern const unsigned char tarnwick_embedded_font[];
extern const size_t tarnwick_embedded_font_size;
}
