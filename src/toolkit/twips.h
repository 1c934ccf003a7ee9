#pragma once
// Window geometry in twips: 1440 twips to the inch, converted to pixels
// through the screen's logical resolution.

namespace tk {

constexpr double kTwipsPerInch = 1440.0;

// Pixels for a length in twips at the given logical resolution (dots per inch).
int twipsToPixels(double twips, double dpi);
// Twips for a length in pixels at the given logical resolution.
double pixelsToTwips(int pixels, double dpi);

// The same conversions at the primary screen's logical resolution.
int toPixelsX(double twips);
int toPixelsY(double twips);
double toTwipsX(int pixels);
double toTwipsY(int pixels);

// The primary screen's size in twips.
struct Screen {
    static double Width();
    static double Height();
};

// Where a window of the given extent starts so that it sits in the middle of a
// screen of the given extent: screen / 2 - window / 2, in floating point.
constexpr double centred(double screenExtent, double windowExtent) {
    return screenExtent / 2.0 - windowExtent / 2.0;
}

}  // namespace tk
