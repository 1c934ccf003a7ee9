#pragma once
// The practice window; its activity is still to come.

#include "app/pending_activity.h"

class Spgyak : public PendingActivity {
public:
    Spgyak() : PendingActivity(QStringLiteral("Spgyak"), i18n::kSpgyakCaptions, QStringLiteral("Command6")) {}

    tk::CommandButton& Command6 = closeButton_;
};
