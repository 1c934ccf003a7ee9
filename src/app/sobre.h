#pragma once
// The About window, also shown as the start-up splash.

#include "controls.h"

class sobre : public tk::Form {
public:
    sobre() : tk::Form(QStringLiteral("sobre")) {}

protected:
    void design() override;
};
