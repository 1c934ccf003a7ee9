#include "app/tasks.h"

#include "app/form3.h"
#include "app/hatter.h"
#include "app/lang.h"
#include "app/quizsp.h"
#include "app/sobre.h"
#include "editor/form1.h"
#include "practice/spgyak.h"
#include "review/hibatst.h"
#include "test/sptest.h"
#include "toolkit/runtime.h"

namespace tasks {

namespace {

template <class F>
tk::Form* created() {
    return tk::Runtime::instance().existing<F>();
}

}  // namespace

tk::Form& form(Window w) {
    switch (w) {
    case Language: return tk::form<lang>();
    case Background: return tk::form<hatter>();
    case About: return tk::form<sobre>();
    case Launcher: return tk::form<Quizsp>();
    case HowTo: return tk::form<Form3>();
    case Practice: return tk::form<Spgyak>();
    case Test: return tk::form<Sptest>();
    case Review: return tk::form<Hibatst>();
    case Editor: return tk::form<Form1>();
    }
    throw std::logic_error("no such window");
}

tk::Form* existing(Window w) {
    switch (w) {
    case Language: return created<lang>();
    case Background: return created<hatter>();
    case About: return created<sobre>();
    case Launcher: return created<Quizsp>();
    case HowTo: return created<Form3>();
    case Practice: return created<Spgyak>();
    case Test: return created<Sptest>();
    case Editor: return created<Form1>();
    case Review: return created<Hibatst>();
    }
    return nullptr;
}

void show(Window w) { form(w).Show(); }

void hide(Window w) { form(w).Hide(); }

void unload(Window w) {
    if (tk::Form* f = existing(w); f && f->Loaded()) f->Unload();
}

void showAboutFromMenu() { tk::form<sobre>().ShowFromMenu(); }

}  // namespace tasks
