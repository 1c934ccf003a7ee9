#pragma once
// Captions with access keys: "&Start" marks S as the access key, "&&" is a
// literal ampersand. Buttons, option buttons, frames and menus understand the
// marker natively; labels are rendered here as rich text with the marked
// letter underlined.

#include <QString>

namespace tk {

// The caption as a reader hears it: markers removed, "&&" turned into "&".
QString plainCaption(const QString& caption);

// The marked letter, or a null QChar when the caption has no access key.
QChar accessKey(const QString& caption);

// True when the caption needs rich text to be shown (it contains a marker).
bool hasMarker(const QString& caption);

// Rich text for a label: HTML-escaped, the marked letter underlined,
// "&&" shown as one "&".
QString labelRichText(const QString& caption);

}  // namespace tk
