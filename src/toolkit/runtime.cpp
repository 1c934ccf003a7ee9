#include "toolkit/runtime.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QWidget>

#include "toolkit/form.h"

namespace tk {

Form* formOfWindow(QWidget* window);  // form.cpp

Runtime& Runtime::instance() {
    static Runtime* runtime = new Runtime;  // lives until the process ends
    return *runtime;
}

Runtime::Runtime() {
    // The windows ask for their fonts by their design names; these faces have
    // the same widths, so captions fit where they were laid out.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                                                  QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"),
                                                                    QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

void Runtime::adopt(std::type_index type, std::unique_ptr<Form> form) {
    if (!filterInstalled_ && qApp) {
        qApp->installEventFilter(this);
        filterInstalled_ = true;
    }
    order_.push_back(form.get());
    forms_.emplace(type, std::move(form));
}

void Runtime::End() {
    if (ended_) return;
    ended_ = true;
    for (Form* f : order_) f->discardWindow();
    if (quitOnEnd) QCoreApplication::exit(0);
}

void Runtime::reset() {
    for (Form* f : order_) f->discardWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    order_.clear();
    forms_.clear();
    ended_ = false;
}

bool Runtime::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    QWidget* top = w->window();
    Form* form = formOfWindow(top);
    if (!form) return false;
    // A key goes to the focused control first and may travel up to its
    // parents; the window looks at it once, on its first stop.
    QWidget* focus = top->focusWidget();
    if (focus ? w != focus : w != top) return false;
    return form->keyPressed(static_cast<QKeyEvent*>(event));
}

void End() { Runtime::instance().End(); }

}  // namespace tk
