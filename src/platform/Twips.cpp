#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// Used when no screen is there to ask (no GUI application yet).
constexpr double kDefaultDpi = 96.0;

const QScreen* screenOrPrimary(const QScreen* screen) {
    if (screen)
        return screen;
    return qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
}

double twipsPerPixel(double dpi) {
    return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi);
}

}  // namespace

double twipsPerPixelX(const QScreen* screen) {
    const QScreen* s = screenOrPrimary(screen);
    return twipsPerPixel(s ? s->logicalDotsPerInchX() : kDefaultDpi);
}

double twipsPerPixelY(const QScreen* screen) {
    const QScreen* s = screenOrPrimary(screen);
    return twipsPerPixel(s ? s->logicalDotsPerInchY() : kDefaultDpi);
}

int twipsToPixelsX(double twips, const QScreen* screen) {
    return static_cast<int>(std::lround(twips / twipsPerPixelX(screen)));
}

int twipsToPixelsY(double twips, const QScreen* screen) {
    return static_cast<int>(std::lround(twips / twipsPerPixelY(screen)));
}

int pixelsToTwipsX(int pixels, const QScreen* screen) {
    return static_cast<int>(std::lround(pixels * twipsPerPixelX(screen)));
}

int pixelsToTwipsY(int pixels, const QScreen* screen) {
    return static_cast<int>(std::lround(pixels * twipsPerPixelY(screen)));
}

}  // namespace platform
