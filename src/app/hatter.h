#pragma once
// The background window: maximised behind every other window until the end.

#include "toolkit/controls.h"

class hatter : public tk::Form {
public:
    hatter() : tk::Form(QStringLiteral("hatter")) {}

protected:
    void design() override;
};
