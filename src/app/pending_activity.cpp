#include "app/pending_activity.h"

#include "app/tasks.h"
#include "app/qz_test.h"
#include "toolkit/winapi.h"

using namespace qz_test;

void PendingActivity::design() {
    setClientSize(9630, 6015);
    setMinButton(false);
    setMaxButton(false);
    closeButton_.create(*this, 8040, 5400, 1335, 495, QStringLiteral("&Close")).onClick([this] {
        tasks::show(tasks::Launcher);
        Unload();
    });
}

void PendingActivity::Form_Load() {
    centreOnScreen();
    tk::SetWindowPos(hWnd(), tk::HWND_TOPMOST, 0, 0, 0, 0, tk::SWP_NOMOVE | tk::SWP_NOSIZE);
    for (const auto& [control, caption] : i18n::captionsFor(captions_, LangBase, MsgTitle))
        if (control.isEmpty()) setCaption(caption);  // the activity's controls come with its own window
    closeButton_.setCaption(text(4));
}
