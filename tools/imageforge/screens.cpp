#include "forge.h"
namespace forge {
void DrawSozai5(Canvas&) {}
void DrawGallery02(Canvas&) {}
void DrawSalonBackdrop(cairo_t*, double, double, int) {}
void DrawHarbourNight(cairo_t*, double, double, double) {}
bool DrawScreenPicture(Canvas&, const char*) { return true; }
}
