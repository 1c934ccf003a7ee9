#include "sobre.h"

void sobre::design() {
    setClientSize(6210, 3720);
    setBackColor(tk::RGB(0, 128, 128));
    setCaption(QStringLiteral("A b o u t"));
}
