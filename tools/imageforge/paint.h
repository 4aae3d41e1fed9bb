#pragma once
// Drawing helpers shared by every picture of the forge: colours, shapes, lettering with the game
// font, and the canvas that owns one cairo surface.
#include <cairo.h>

#include <cstdint>
#include <string>

namespace forge {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

constexpr Rgb Hex(uint32_t v) {
    return Rgb{((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Lighter(Rgb a, double t);  // towards white
Rgb Darker(Rgb a, double t);   // towards black

// The palette of the salon.
namespace pal {
constexpr Rgb kNight = Hex(0x0E1730);
constexpr Rgb kNight2 = Hex(0x1E2B55);
constexpr Rgb kGold = Hex(0xE8B44C);
constexpr Rgb kGoldDark = Hex(0x9A6B1E);
constexpr Rgb kFelt = Hex(0x1F5A3C);
constexpr Rgb kWine = Hex(0x6B1E3A);
constexpr Rgb kMoon = Hex(0xF4F1E8);
constexpr Rgb kCream = Hex(0xFBF5E6);
constexpr Rgb kRed = Hex(0xC8242F);
constexpr Rgb kInk = Hex(0x1B1B24);
constexpr Rgb kSkin = Hex(0xF8DCC8);
}  // namespace pal

// One ARGB32 picture with its drawing context.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Writes the picture as PNG; false (with a message on stderr) on failure.
    bool WritePng(const std::string& path) const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Saves the cairo state on construction and restores it on destruction.
class Saved {
public:
    explicit Saved(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
    ~Saved() { cairo_restore(cr_); }
    Saved(const Saved&) = delete;
    Saved& operator=(const Saved&) = delete;

private:
    cairo_t* cr_;
};

// Deterministic pseudo-random numbers for scattering stars, sparkles and wood grain.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    double Unit() { return (Next() & 0xFFFFFF) / 16777216.0; }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

private:
    uint32_t state_;
};

void SetColor(cairo_t* cr, Rgb c, double a = 1.0);
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotDeg = -90);
void Heart(cairo_t* cr, double cx, double cy, double size);    // path, size = height
void Diamond(cairo_t* cr, double cx, double cy, double size);
void Spade(cairo_t* cr, double cx, double cy, double size);
void Club(cairo_t* cr, double cx, double cy, double size);
void Suit(cairo_t* cr, int suit, double cx, double cy, double size);  // 0 spade 1 heart 2 diamond 3 club
Rgb SuitColor(int suit);
void Crescent(cairo_t* cr, double cx, double cy, double r, double cut);  // path
void Snowflake(cairo_t* cr, double cx, double cy, double r, double width);  // strokes
void Sparkle(cairo_t* cr, double cx, double cy, double r);  // four-point star path
void ShieldPath(cairo_t* cr, double cx, double cy, double s);  // shield outline path, s = height
// Fills the current path in a colour.
void Fill(cairo_t* cr, Rgb c, double a = 1.0);

// Soft round glow (radial gradient) around a point.
void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha);
// Vertical gradient fill of the current path.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0);

// A lantern-gold plate (buttons); lit plates are brighter and glow.
void GoldPlate(cairo_t* cr, double x, double y, double w, double h, double r, bool lit);
// A night-blue panel with a thin gold border.
void NightPanel(cairo_t* cr, double x, double y, double w, double h, double r, double alpha = 0.92);

// Lettering with the game font. Sizes are in pixels.
enum class Align { Left, Center, Right };
void UseFont(cairo_t* cr, double size);
double TextWidth(cairo_t* cr, const std::string& utf8, double size);
// Largest size <= maxSize at which the text fits into width.
double FitSize(cairo_t* cr, const std::string& utf8, double width, double maxSize);
// Draws text whose visual centre line lies at cy (ink box centred vertically).
void Text(cairo_t* cr, const std::string& utf8, double x, double cy, double size, Rgb fill, Align align,
          double outline = 0, Rgb outlineColor = pal::kInk);

// Loads the game font once; false when it is missing.
bool InitFont(const std::string& path);

}  // namespace forge
