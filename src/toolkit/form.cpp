#include "toolkit/form.h"
#include "toolkit/held.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "core/error.h"
#include "toolkit/runtime.h"
#include "toolkit/twips.h"
#include "toolkit/winapi.h"

namespace tk {

// The top-level widget of a loaded window.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form* form) : form_(form) {}
    Form* form() const { return form_; }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (form_->closedByWindowManager()) event->accept();
        else event->ignore();
    }

private:
    Form* form_;
};

// Raises and activates a window (the offscreen test platform cannot raise).
void bringForward(QWidget* window) {
    static const bool canRaise = QGuiApplication::platformName() != QLatin1String("offscreen");
    if (canRaise) window->raise();
    window->activateWindow();
}

Form* formOfWindow(QWidget* window) {
    auto* fw = dynamic_cast<FormWindow*>(window);
    return fw ? fw->form() : nullptr;
}

Form::Form(const QString& name) : name_(name) {}

Form::~Form() {
    if (window_) delete window_.data();
}

void Form::registerControl(Control* control) { controls_.push_back(control); }

void Form::unregisterControl(Control* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

Control* Form::findControl(const QString& name) const {
    for (Control* c : controls_)
        if (c->Name() == name) return c;
    return nullptr;
}

Control* Form::ActiveControl() const {
    if (!window_) return nullptr;
    QWidget* focus = window_->focusWidget();
    if (!focus) return nullptr;
    for (Control* c : controls_)
        if (c->widget() && (c->widget() == focus || c->widget()->isAncestorOf(focus))) return c;
    return nullptr;
}

void Form::Load() {
    if (window_ || Runtime::instance().ended()) return;
    loading_ = true;
    ++generation_;
    defaultButton_ = nullptr;
    mousePointer_ = vbDefault;
    topmost_ = false;
    keyPreview_ = false;
    maximized_ = false;
    border_ = Border::Fixed;
    minButton_ = maxButton_ = true;

    auto* win = new FormWindow(this);
    win->setObjectName(name_);
    win->setAttribute(Qt::WA_DeleteOnClose, false);
    Font defaultFont;
    QFont f(defaultFont.name);
    f.setPointSizeF(defaultFont.size);
    win->setFont(f);
    auto* layout = new QVBoxLayout(win);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new QWidget(win);
    client->setObjectName(name_ + QStringLiteral("_client"));
    layout->addWidget(client, 1);
    window_ = win;
    client_ = client;

    design();
    applyWindowFlags();
    if (!maximized_) win->adjustSize();

    try {
        Form_Load();
    } catch (const qz::Error& e) {
        reportUnhandled(e.message());
    }
    loading_ = false;
    // Data controls open once the window has finished loading.
    if (window_) {
        const unsigned generation = generation_;
        for (Control* c : std::vector<Control*>(controls_)) {
            if (generation != generation_) break;
            c->loadFinished();
        }
    }
}

void Form::Show() {
    Load();
    if (!window_) return;
    if (maximized_) {
        if (const QScreen* s = QGuiApplication::primaryScreen()) window_->setGeometry(s->availableGeometry());
        window_->showMaximized();
    } else {
        window_->show();
    }
    bringForward(window_);
}

void Form::Hide() {
    Load();
    if (window_) window_->hide();
}

void Form::Unload() {
    if (!window_ || unloading_) return;
    unloading_ = true;
    try {
        Form_Unload();
    } catch (const qz::Error& e) {
        reportUnhandled(e.message());
    }
    discardWindow();
    unloading_ = false;
}

void Form::discardWindow() {
    if (!window_) return;
    ++generation_;  // events already queued for the old controls no longer run
    for (Control* c : std::vector<Control*>(controls_)) c->beforeDiscard();
    for (Control* c : std::vector<Control*>(controls_)) c->detach();
    for (HeldBase* h : held_) h->release();
    QWidget* win = window_;
    window_ = nullptr;
    client_ = nullptr;
    menuBar_ = nullptr;
    defaultButton_ = nullptr;
    win->hide();
    win->setObjectName(QString());
    win->deleteLater();
}

bool Form::closedByWindowManager() {
    if (unloading_ || !window_) return true;
    // The window may keep itself open (for instance when what was typed
    // cannot be stored yet); never once the program is ending.
    int cancel = 0;
    if (!Runtime::instance().ended()) fire(generation_, [this, &cancel] { Form_QueryUnload(cancel); });
    if (cancel != 0 && window_ && !Runtime::instance().ended()) return false;
    fire(generation_, [this] { Unload(); });
    // After End, or if unloading failed, the window still goes.
    if (window_ && Runtime::instance().ended()) discardWindow();
    return true;
}

bool Form::Visible() const { return window_ && window_->isVisible(); }

QString Form::Caption() const { return window_ ? window_->windowTitle() : QString(); }

void Form::setCaption(const QString& caption) {
    if (!window_) throw qz::Error(qz::ErrNotLoaded, QStringLiteral("The window %1 is not loaded.").arg(name_));
    window_->setWindowTitle(caption);
}

QWidget* Form::window() const { return window_; }
QWidget* Form::client() const { return client_; }

QMenuBar* Form::menuBar() {
    if (!window_) throw std::logic_error("menus are created while the window loads");
    if (!menuBar_) {
        menuBar_ = new QMenuBar(window_);
        menuBar_->setObjectName(name_ + QStringLiteral("_menubar"));
        menuBar_->setNativeMenuBar(false);
        static_cast<QVBoxLayout*>(window_->layout())->setMenuBar(menuBar_);
    }
    return menuBar_;
}

double Form::Left() const { return window_ ? toTwipsX(window_->frameGeometry().x()) : 0.0; }
double Form::Top() const { return window_ ? toTwipsY(window_->frameGeometry().y()) : 0.0; }
double Form::Width() const { return window_ ? toTwipsX(window_->frameGeometry().width()) : 0.0; }
double Form::Height() const { return window_ ? toTwipsY(window_->frameGeometry().height()) : 0.0; }

void Form::setLeft(double twips) {
    if (window_) window_->move(toPixelsX(twips), window_->frameGeometry().y());
}

void Form::setTop(double twips) {
    if (window_) window_->move(window_->frameGeometry().x(), toPixelsY(twips));
}

void Form::centreOnScreen() {
    setTop(centred(Screen::Height(), Height()));
    setLeft(centred(Screen::Width(), Width()));
}

void Form::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    if (!window_) return;
    if (pointer == vbHourglass) window_->setCursor(Qt::WaitCursor);
    else window_->unsetCursor();
}

void Form::setClientSize(double widthTwips, double heightTwips) {
    client_->setFixedSize(toPixelsX(widthTwips), toPixelsY(heightTwips));
}

void Form::setBorder(Border border) {
    border_ = border;
    if (window_ && window_->layout())
        window_->layout()->setSizeConstraint(border == Border::Fixed ? QLayout::SetFixedSize : QLayout::SetDefaultConstraint);
}

void Form::setBackColor(const QColor& color) {
    QPalette p = window_->palette();
    p.setColor(QPalette::Window, color);
    window_->setPalette(p);
    window_->setAutoFillBackground(true);
}

void Form::setMaximized(bool maximized) { maximized_ = maximized; }

void Form::applyWindowFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (minButton_) flags |= Qt::WindowMinimizeButtonHint;
    if (maxButton_ && border_ == Border::Sizable) flags |= Qt::WindowMaximizeButtonHint;
    if (border_ == Border::Fixed) flags |= Qt::MSWindowsFixedSizeDialogHint;
    if (topmost_) flags |= Qt::WindowStaysOnTopHint;
    const bool shown = window_->isVisible();
    const QPoint where = window_->pos();
    window_->setWindowFlags(flags);
    if (shown) {
        window_->move(where);
        window_->show();
    }
    setBorder(border_);
}

void Form::fire(unsigned generation, const std::function<void()>& handler) {
    if (Runtime::instance().ended() || generation != generation_ || !window_) return;
    try {
        handler();
    } catch (const qz::Error& e) {
        reportUnhandled(e.message());
    } catch (const std::exception& e) {
        // A fault of the program itself: the user is told rather than the
        // program vanishing; the window stays usable.
        reportUnhandled(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportUnhandled(QStringLiteral("Unexpected error."));
    }
}

void Form::reportUnhandled(const QString& message) {
    if (Runtime::instance().ended()) return;
    MsgBox(message, vbCritical, window_ ? window_->windowTitle() : name_);
}

bool Form::keyPressed(QKeyEvent* event) {
    int ascii = 0;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        ascii = 13;
    } else if (event->key() == Qt::Key_Escape) {
        ascii = 27;
    } else if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
               !event->text().isEmpty()) {
        ascii = event->text().at(0).unicode();
    }
    if (ascii == 0) return false;

    if (keyPreview_) {
        int key = ascii;
        fire(generation_, [&] { Form_KeyPress(key); });
        if (!window_ || key == 0) return true;
    }
    if (!enter || !window_) return false;

    // Enter presses the focused button, else the default button.
    if (auto* focused = qobject_cast<QPushButton*>(window_->focusWidget()); focused && focused->isEnabled()) {
        focused->click();
        return true;
    }
    if (defaultButton_) {
        if (auto* b = static_cast<CommandButton*>(defaultButton_); b->widget() && b->Visible() && b->Enabled()) {
            b->click();
            return true;
        }
    }
    return false;
}

long SetWindowPos(Form* hWnd, int hWndInsertAfter, int x, int y, int cx, int cy, int wFlags) {
    if (!hWnd || !hWnd->window_) return 0;
    QWidget* w = hWnd->window_;
    if (!(wFlags & SWP_NOMOVE)) w->move(x, y);
    if (!(wFlags & SWP_NOSIZE)) w->resize(cx, cy);
    if (hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST) {
        const bool top = hWndInsertAfter == HWND_TOPMOST;
        if (top != hWnd->topmost_) {
            hWnd->topmost_ = top;
            hWnd->applyWindowFlags();
        }
        if (top && w->isVisible()) bringForward(w);
    }
    return 1;
}

}  // namespace tk

namespace tk {

void Form::applyCaptions(const std::vector<std::pair<QString, QString>>& captions) {
    for (const auto& [control, caption] : captions) {
        if (control.isEmpty()) {
            setCaption(caption);
            continue;
        }
        Control* c = findControl(control);
        if (!c) throw std::logic_error(("the window " + name_ + " has no control " + control).toStdString());
        c->setCaption(caption);
    }
}

}  // namespace tk
