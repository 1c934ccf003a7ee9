#include "toolkit/controls.h"

#include <QAction>
#include <algorithm>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "toolkit/caption.h"
#include "core/error.h"
#include "toolkit/twips.h"

namespace tk {

namespace {

// A label or picture that reports a click (button released over it).
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && clicked) clicked();
    }
};

// A radio button that a click never clears: only selecting another option of
// its group does.
class OptionWidget : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
    // The whole control answers a click, not only its circle and text.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

QFont toQFont(const Font& f) {
    QFont q(f.name);
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethru);
    return q;
}

}  // namespace

// ---------------------------------------------------------------- Container

Container::Container(Form& form) : widget_(form.client()) {
    if (!widget_) throw std::logic_error("controls are created while the window loads");
}

Container::Container(const Control& frame) : widget_(frame.widget()) {
    if (!widget_) throw std::logic_error("a container must be created before its controls");
}

// ---------------------------------------------------------------- Control

Control::Control(Form* owner, const QString& name) : form_(owner), name_(name) { form_->registerControl(this); }

Control::~Control() { form_->unregisterControl(this); }

QWidget* Control::require() const {
    if (!widget_) throw qz::Error(qz::ErrNotLoaded, QStringLiteral("The window %1 is not loaded.").arg(form_->Name()));
    return widget_;
}

void Control::adopt(QWidget* w, const Container& /*parent*/, double left, double top, double width, double height) {
    widget_ = w;
    w->setObjectName(name_);
    caption_.clear();
    visible_ = true;
    enabled_ = true;
    Move(left, top, width, height);
}

void Control::detach() { widget_ = nullptr; }

void Control::setCaption(const QString& caption) {
    caption_ = caption;
    showCaption(caption);
}

void Control::showCaption(const QString& caption) { require()->setAccessibleName(plainCaption(caption)); }

bool Control::Visible() const { return isVisibleFlag(); }
void Control::setVisible(bool visible) { applyVisible(visible); }
bool Control::Enabled() const { return isEnabledFlag(); }
void Control::setEnabled(bool enabled) { applyEnabled(enabled); }

bool Control::isVisibleFlag() const {
    require();
    return visible_;
}

void Control::applyVisible(bool visible) {
    require()->setVisible(visible);
    visible_ = visible;
}

bool Control::isEnabledFlag() const {
    require();
    return enabled_;
}

void Control::applyEnabled(bool enabled) {
    require()->setEnabled(enabled);
    enabled_ = enabled;
}

double Control::Left() const { return toTwipsX(require()->x()); }
double Control::Top() const { return toTwipsY(require()->y()); }
double Control::Width() const { return toTwipsX(require()->width()); }
double Control::Height() const { return toTwipsY(require()->height()); }

void Control::Move(double left, double top, double width, double height) {
    require()->setGeometry(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
}

void Control::setBackColor(const QColor& color) {
    QWidget* w = require();
    QPalette p = w->palette();
    p.setColor(backRole(), color);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor Control::BackColor() const { return require()->palette().color(backRole()); }

void Control::setForeColor(const QColor& color) {
    QWidget* w = require();
    QPalette p = w->palette();
    p.setColor(foreRole(), color);
    w->setPalette(p);
}

void Control::setFont(const Font& font) {
    if (!hasFont()) throw qz::Error(qz::ErrNoSuchProperty, QStringLiteral("%1 has no font.").arg(name_));
    require()->setFont(toQFont(font));
}

Font Control::font() const {
    if (!hasFont()) throw qz::Error(qz::ErrNoSuchProperty, QStringLiteral("%1 has no font.").arg(name_));
    const QFont q = require()->font();
    return Font{q.family(), q.pointSizeF(), q.bold(), q.italic(), q.underline(), q.strikeOut()};
}

void Control::setFontProperty(const QString& property, const QVariant& value) {
    Font f = font();
    if (property == QLatin1String("FontName")) f.name = value.toString();
    else if (property == QLatin1String("FontSize")) f.size = value.toDouble();
    else if (property == QLatin1String("FontBold")) f.bold = value.toBool();
    else if (property == QLatin1String("FontItalic")) f.italic = value.toBool();
    else if (property == QLatin1String("FontUnderline")) f.underline = value.toBool();
    else if (property == QLatin1String("FontStrikethru")) f.strikethru = value.toBool();
    else throw qz::Error(qz::ErrNoSuchProperty, QStringLiteral("%1 has no property %2.").arg(name_, property));
    setFont(f);
}

void Control::SetFocus() {
    QWidget* w = require();
    if (!visible_ || !enabled_)
        throw qz::Error(qz::ErrInvalidCall,
                        QStringLiteral("%1 cannot take the focus while it is hidden or disabled.").arg(name_));
    w->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- Label

Label& Label::create(const Container& parent, double left, double top, double width, double height,
                     const QString& caption) {
    auto* w = new ClickLabel(parent.widget());
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    adopt(w, parent, left, top, width, height);
    designWidth_ = w->width();
    click_ = nullptr;
    dataField_.clear();
    useMnemonic_ = true;
    setCaption(caption);
    return *this;
}

Label& Label::setUseMnemonic(bool use) {
    useMnemonic_ = use;
    showCaption(caption_);
    return *this;
}

Label& Label::setDataSource(DataSource& data, const QString& field) {
    dataField_ = field;
    setUseMnemonic(false);
    data.bind(this, field);
    return *this;
}

void Label::fit() {
    auto* w = static_cast<QLabel*>(require());
    int width = designWidth_;
    if (!w->wordWrap() && (w->alignment() & Qt::AlignLeft)) width = std::max(width, w->sizeHint().width());
    if (width != w->width()) w->resize(width, w->height());
}

Label& Label::setFont(const Font& f) {
    Control::setFont(f);
    fit();
    return *this;
}

void Label::showCaption(const QString& caption) {
    auto* w = static_cast<QLabel*>(require());
    if (!useMnemonic_) {
        w->setTextFormat(Qt::PlainText);
        w->setText(caption);
        w->setAccessibleName(caption);
    } else if (hasMarker(caption)) {
        w->setTextFormat(Qt::RichText);
        w->setText(labelRichText(caption));
        w->setAccessibleName(plainCaption(caption));
    } else {
        w->setTextFormat(Qt::PlainText);
        w->setText(caption);
        w->setAccessibleName(plainCaption(caption));
    }
    fit();
}

Label& Label::setAlignment(Align align) {
    auto* w = static_cast<QLabel*>(require());
    Qt::Alignment h = align == Align::Center ? Qt::AlignHCenter : align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    w->setAlignment(h | Qt::AlignTop);
    fit();
    return *this;
}

Label& Label::setWordWrap(bool wrap) {
    static_cast<QLabel*>(require())->setWordWrap(wrap);
    fit();
    return *this;
}

Label& Label::onClick(std::function<void()> handler) {
    auto* w = static_cast<ClickLabel*>(require());
    Form* form = form_;
    const unsigned generation = form_->generation();
    w->clicked = [form, generation, handler] { form->fire(generation, handler); };
    w->setCursor(Qt::PointingHandCursor);
    return *this;
}

// ---------------------------------------------------------------- CommandButton

CommandButton& CommandButton::create(const Container& parent, double left, double top, double width, double height,
                                     const QString& caption) {
    auto* w = new QPushButton(parent.widget());
    w->setAutoDefault(false);
    adopt(w, parent, left, top, width, height);
    setCaption(caption);
    return *this;
}

void CommandButton::showCaption(const QString& caption) {
    auto* w = static_cast<QPushButton*>(require());
    w->setText(caption);
    w->setAccessibleName(plainCaption(caption));
}

CommandButton& CommandButton::onClick(std::function<void()> handler) {
    connectEvent(static_cast<QPushButton*>(require()), &QPushButton::clicked, std::move(handler));
    return *this;
}

CommandButton& CommandButton::setDefault(bool isDefault) {
    auto* w = static_cast<QPushButton*>(require());
    if (isDefault) {
        if (auto* old = form_->defaultButton(); old && old != this && old->widget())
            static_cast<QPushButton*>(old->widget())->setDefault(false);
        form_->setDefaultButton(this);
    } else if (form_->defaultButton() == this) {
        form_->setDefaultButton(nullptr);
    }
    w->setDefault(isDefault);
    return *this;
}

bool CommandButton::Default() const { return form_->defaultButton() == this; }

void CommandButton::click() {
    auto* w = static_cast<QPushButton*>(require());
    if (visible_ && enabled_) w->click();
}

// ---------------------------------------------------------------- TextBox

TextBox& TextBox::setDataSource(DataSource& data, const QString& field) {
    dataField_ = field;
    data.bind(this, field);
    return *this;
}

TextBox& TextBox::create(const Container& parent, double left, double top, double width, double height,
                         bool multiLine) {
    multiLine_ = multiLine;
    dataChanged_ = false;
    dataField_.clear();
    QWidget* w = nullptr;
    if (multiLine) {
        auto* edit = new QPlainTextEdit(parent.widget());
        edit->setTabChangesFocus(true);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, edit] {
            if (!edit->property("qz_setting").toBool()) dataChanged_ = true;
        });
        w = edit;
    } else {
        auto* edit = new QLineEdit(parent.widget());
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { dataChanged_ = true; });
        w = edit;
    }
    adopt(w, parent, left, top, width, height);
    return *this;
}

QString TextBox::Text() const {
    QWidget* w = require();
    if (multiLine_) return static_cast<QPlainTextEdit*>(w)->toPlainText();
    return static_cast<QLineEdit*>(w)->text();
}

TextBox& TextBox::setText(const QString& text) {
    // Text set from code counts as an edit, as typing does.
    showValue(text);
    dataChanged_ = true;
    return *this;
}

void TextBox::showValue(const QString& text) {
    QWidget* w = require();
    if (multiLine_) {
        auto* edit = static_cast<QPlainTextEdit*>(w);
        edit->setProperty("qz_setting", true);
        edit->setPlainText(text);
        edit->setProperty("qz_setting", false);
    } else {
        static_cast<QLineEdit*>(w)->setText(text);
    }
    dataChanged_ = false;
}

// ---------------------------------------------------------------- Frame, Panel

Frame& Frame::create(const Container& parent, double left, double top, double width, double height,
                     const QString& caption) {
    auto* w = new QGroupBox(parent.widget());
    adopt(w, parent, left, top, width, height);
    setCaption(caption);
    return *this;
}

void Frame::showCaption(const QString& caption) {
    auto* w = static_cast<QGroupBox*>(require());
    w->setTitle(caption);
    w->setAccessibleName(plainCaption(caption));
}

Panel& Panel::create(const Container& parent, double left, double top, double width, double height) {
    auto* w = new QFrame(parent.widget());
    w->setFrameStyle(QFrame::Panel | QFrame::Raised);
    w->setLineWidth(2);
    adopt(w, parent, left, top, width, height);
    return *this;
}

// ---------------------------------------------------------------- OptionButton

OptionButton& OptionButton::create(const Container& parent, double left, double top, double width, double height,
                                   const QString& caption) {
    auto* w = new OptionWidget(parent.widget());
    w->setAutoExclusive(false);
    adopt(w, parent, left, top, width, height);
    click_ = nullptr;
    description_.clear();
    setCaption(caption);
    connectEvent(w, &QRadioButton::clicked, [this] {
        select();
        if (click_) click_();
    });
    return *this;
}

void OptionButton::showCaption(const QString& caption) {
    auto* w = static_cast<QRadioButton*>(require());
    w->setText(caption);
    w->setAccessibleName(description_.isEmpty() ? plainCaption(caption) : description_);
}

OptionButton& OptionButton::setDescription(const QString& description) {
    description_ = description;
    showCaption(caption_);
    return *this;
}

OptionButton& OptionButton::onClick(std::function<void()> handler) {
    click_ = std::move(handler);
    return *this;
}

bool OptionButton::Value() const { return static_cast<QRadioButton*>(require())->isChecked(); }

void OptionButton::setValue(bool value) {
    auto* w = static_cast<QRadioButton*>(require());
    if (!value) {
        w->setChecked(false);
        return;
    }
    select();
    if (click_) click_();
}

void OptionButton::select() {
    QWidget* w = require();
    for (Control* c : form_->controls()) {
        auto* other = dynamic_cast<OptionButton*>(c);
        if (other && other != this && other->widget() && other->widget()->parentWidget() == w->parentWidget())
            static_cast<QRadioButton*>(other->widget())->setChecked(false);
    }
    static_cast<QRadioButton*>(w)->setChecked(true);
}

// ---------------------------------------------------------------- Image

Image& Image::create(const Container& parent, double left, double top, double width, double height) {
    auto* w = new ClickLabel(parent.widget());
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    adopt(w, parent, left, top, width, height);
    picture_ = QPixmap();
    w->setAccessibleName(name_);
    return *this;
}

Image& Image::setPicture(const QPixmap& picture) {
    picture_ = picture;
    static_cast<QLabel*>(require())->setPixmap(picture);
    return *this;
}

Image& Image::setStretch(bool stretch) {
    static_cast<QLabel*>(require())->setScaledContents(stretch);
    return *this;
}

Image& Image::setDescription(const QString& description) {
    require()->setAccessibleName(description);
    return *this;
}

Image& Image::onClick(std::function<void()> handler) {
    auto* w = static_cast<ClickLabel*>(require());
    Form* form = form_;
    const unsigned generation = form_->generation();
    w->clicked = [form, generation, handler] { form->fire(generation, handler); };
    w->setCursor(Qt::PointingHandCursor);
    return *this;
}

// ---------------------------------------------------------------- Menu

Menu& Menu::attachAction(QAction* action, const QString& caption) {
    action_ = action;
    action->setObjectName(name_);
    checked_ = false;
    visible_ = true;
    enabled_ = true;
    setCaption(caption);
    return *this;
}

Menu& Menu::createMenu(Form& form, const QString& caption) {
    menu_ = form.menuBar()->addMenu(caption);
    menu_->setObjectName(name_);
    return attachAction(menu_->menuAction(), caption);
}

Menu& Menu::createMenu(Menu& parent, const QString& caption) {
    if (!parent.menu_) throw std::logic_error("a submenu needs a menu as its parent");
    menu_ = parent.menu_->addMenu(caption);
    menu_->setObjectName(name_);
    return attachAction(menu_->menuAction(), caption);
}

Menu& Menu::createItem(Menu& parent, const QString& caption) {
    if (!parent.menu_) throw std::logic_error("a menu item needs a menu as its parent");
    menu_ = nullptr;
    return attachAction(parent.menu_->addAction(caption), caption);
}

void Menu::detach() {
    action_ = nullptr;
    menu_ = nullptr;
}

void Menu::showCaption(const QString& caption) {
    if (!action_) throw qz::Error(qz::ErrNotLoaded, QStringLiteral("The window %1 is not loaded.").arg(form_->Name()));
    if (menu_) menu_->setTitle(caption);
    else action_->setText(caption);
}

bool Menu::isVisibleFlag() const {
    if (!action_) throw qz::Error(qz::ErrNotLoaded, QStringLiteral("The window %1 is not loaded.").arg(form_->Name()));
    return visible_;
}

void Menu::applyVisible(bool visible) {
    isVisibleFlag();
    action_->setVisible(visible);
    visible_ = visible;
}

bool Menu::isEnabledFlag() const {
    isVisibleFlag();
    return enabled_;
}

void Menu::applyEnabled(bool enabled) {
    isVisibleFlag();
    action_->setEnabled(enabled);
    enabled_ = enabled;
}

Menu& Menu::setChecked(bool checked) {
    isVisibleFlag();
    checked_ = checked;
    // Only a checked item is checkable, so that unchecked items show no box.
    action_->setCheckable(checked);
    action_->setChecked(checked);
    return *this;
}

Menu& Menu::onClick(std::function<void()> handler) {
    isVisibleFlag();
    QAction* a = action_;
    // A click never toggles the mark by itself: the handler decides.
    QObject::connect(a, &QAction::triggered, a, [this, a] { a->setChecked(checked_); });
    connectEvent(a, &QAction::triggered, std::move(handler));
    return *this;
}

void Menu::trigger() {
    isVisibleFlag();
    if (visible_ && enabled_) action_->trigger();
}

// ---------------------------------------------------------------- Timer

Timer& Timer::create(Form& form, int intervalMs, bool enabled) {
    if (!form.window()) throw std::logic_error("timers are created while the window loads");
    auto* t = new QTimer(form.window());
    t->setObjectName(name_);
    timer_ = t;
    interval_ = intervalMs;
    on_ = enabled;
    tick_ = nullptr;
    connectEvent(t, &QTimer::timeout, [this] {
        if (tick_) tick_();
    });
    restart();
    return *this;
}

Timer& Timer::onTimer(std::function<void()> handler) {
    tick_ = std::move(handler);
    return *this;
}

Timer& Timer::setInterval(int ms) {
    interval_ = ms;
    restart();
    return *this;
}

void Timer::applyEnabled(bool enabled) {
    on_ = enabled;
    restart();
}

void Timer::restart() {
    if (!timer_) return;
    if (on_ && interval_ > 0) timer_->start(interval_);
    else timer_->stop();
}

bool Timer::running() const { return timer_ && timer_->isActive(); }

void Timer::tick() {
    if (timer_ && tick_) form_->fire(form_->generation(), tick_);
}

void Timer::detach() {
    if (timer_) timer_->stop();
    timer_ = nullptr;
    on_ = false;
}

}  // namespace tk
