#pragma once
// The editor window; its activity is still to come.

#include "app/pending_activity.h"

class Form1 : public PendingActivity {
public:
    Form1() : PendingActivity(QStringLiteral("Form1"), i18n::kForm1Captions, QStringLiteral("Command2")) {}

    tk::CommandButton& Command2 = closeButton_;
};
