#pragma once
// The test window; its activity is still to come.

#include "app/pending_activity.h"

class Sptest : public PendingActivity {
public:
    Sptest() : PendingActivity(QStringLiteral("Sptest"), i18n::kSptestCaptions, QStringLiteral("Command6")) {}

    tk::CommandButton& Command6 = closeButton_;
};
