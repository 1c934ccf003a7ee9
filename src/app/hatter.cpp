#include "app/hatter.h"

void hatter::design() {
    setBorder(tk::Border::Sizable);
    setMaximized(true);
    setBackColor(tk::RGB(192, 192, 192));
    setCaption(QStringLiteral("Q U I Z M O R A    H U N G A R I A N "));
}
