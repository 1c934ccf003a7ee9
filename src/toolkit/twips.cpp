#include "toolkit/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tk {

namespace {

double dpiX() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

}  // namespace

int twipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

int toPixelsX(double twips) { return twipsToPixels(twips, dpiX()); }
int toPixelsY(double twips) { return twipsToPixels(twips, dpiY()); }
double toTwipsX(int pixels) { return pixelsToTwips(pixels, dpiX()); }
double toTwipsY(int pixels) { return pixelsToTwips(pixels, dpiY()); }

double Screen::Width() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? toTwipsX(s->geometry().width()) : 0.0;
}

double Screen::Height() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? toTwipsY(s->geometry().height()) : 0.0;
}

}  // namespace tk
