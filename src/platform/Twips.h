#pragma once

// Sizes and positions in twips (1440 per logical inch), the unit window
// geometry is given in, and their conversion to pixels of a screen.

class QScreen;

namespace platform {

// Twips per pixel of the screen (the primary one when null): 15 at 96 dpi.
double twipsPerPixelX(const QScreen* screen = nullptr);
double twipsPerPixelY(const QScreen* screen = nullptr);
int twipsToPixelsX(double twips, const QScreen* screen = nullptr);
int twipsToPixelsY(double twips, const QScreen* screen = nullptr);
int pixelsToTwipsX(int pixels, const QScreen* screen = nullptr);
int pixelsToTwipsY(int pixels, const QScreen* screen = nullptr);

}  // namespace platform
