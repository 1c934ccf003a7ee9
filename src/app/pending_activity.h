#pragma once
// What the practice, test and editor windows share until their activities are
// built: they open centred and on top, with the title their caption table
// gives in the working language, and a Close button that leads back to the
// launcher.

#include "i18n/captions.h"
#include "toolkit/controls.h"

class PendingActivity : public tk::Form {
public:
    PendingActivity(const QString& name, const i18n::WindowCaptions& captions, const QString& closeButton)
        : tk::Form(name), closeButton_(this, closeButton), captions_(captions) {}

    QString MsgTitle;

protected:
    void design() override;
    void Form_Load() override;
    tk::CommandButton closeButton_;

private:
    const i18n::WindowCaptions& captions_;
};
