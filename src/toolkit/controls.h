#pragma once
// Controls of a window, as handles that the window object keeps as members
// under their design names. A handle lives as long as its window object; the
// Qt widget behind it exists only while the window is loaded (design() creates
// it, Unload destroys it). Every widget's object name is its design name and
// its accessible name is its caption.

#include <QAction>
#include <QColor>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/dialogs.h"
#include "toolkit/runtime.h"

namespace tk {

inline QColor RGB(int r, int g, int b) { return QColor(r, g, b); }

// A font as the windows name it; sizes in points.
struct Font {
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
};

enum class Align { Left, Right, Center };

// Where a control is placed: the window's client area, or a frame or panel.
class Container {
public:
    Container(Form& form);           // NOLINT: implicit on purpose
    Container(const Control& frame); // NOLINT
    QWidget* widget() const { return widget_; }

private:
    QWidget* widget_;
};

class Control {
public:
    Control(Form* owner, const QString& name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& Name() const { return name_; }
    Form& parentForm() const { return *form_; }
    // The widget while the window is loaded, else nullptr.
    QWidget* widget() const { return widget_; }

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool Visible() const;
    void setVisible(bool visible);
    bool Enabled() const;
    void setEnabled(bool enabled);

    // Geometry in twips, relative to the container.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void Move(double left, double top, double width, double height);

    void setBackColor(const QColor& color);
    QColor BackColor() const;
    void setForeColor(const QColor& color);
    void setFont(const Font& font);
    Font font() const;
    // One font property by its design name: "FontName", "FontSize",
    // "FontBold", "FontItalic", "FontUnderline", "FontStrikethru". A control
    // without a font refuses with the runtime's error.
    void setFontProperty(const QString& property, const QVariant& value);

    void SetFocus();

    // The window has been destroyed: forget the widget.
    virtual void detach();
    // The window has finished loading (data controls open here).
    virtual void loadFinished() {}
    // The window is about to be destroyed (data controls store pending edits).
    virtual void beforeDiscard() {}

protected:
    // Takes a freshly made widget into the handle: parent, object name and
    // geometry. Called by the create() functions of each kind.
    void adopt(QWidget* widget, const Container& parent, double left, double top, double width, double height);
    // The widget, or the runtime's "not loaded" error.
    QWidget* require() const;
    // Connects a Qt notification to a handler of the window: the handler runs
    // as an event of the window (see Form::fire).
    template <class Sender, class Signal>
    void connectEvent(Sender* sender, Signal signal, std::function<void()> handler);

    virtual void showCaption(const QString& caption);
    virtual bool isVisibleFlag() const;
    virtual void applyVisible(bool visible);
    virtual bool isEnabledFlag() const;
    virtual void applyEnabled(bool enabled);
    virtual bool hasFont() const { return true; }
    virtual QPalette::ColorRole backRole() const { return QPalette::Window; }
    virtual QPalette::ColorRole foreRole() const { return QPalette::WindowText; }

    Form* form_;
    QString name_;
    QString caption_;
    QPointer<QWidget> widget_;
    // The control's own Visible and Enabled properties (a control inside a
    // hidden frame is still Visible, as the designs expect).
    bool visible_ = true;
    bool enabled_ = true;
};

template <class Sender, class Signal>
void Control::connectEvent(Sender* sender, Signal signal, std::function<void()> handler) {
    Form* form = form_;
    const unsigned generation = form_->generation();
    QObject::connect(sender, signal, sender, [form, generation, handler] { form->fire(generation, handler); });
}

// Fluent setters for design code: Command1.create(...).setFont(f).onClick(...)
template <class Self>
class ControlOf : public Control {
public:
    using Control::Control;
    Self& setCaption(const QString& c) { Control::setCaption(c); return me(); }
    Self& setVisible(bool v) { Control::setVisible(v); return me(); }
    Self& setEnabled(bool e) { Control::setEnabled(e); return me(); }
    Self& setBackColor(const QColor& c) { Control::setBackColor(c); return me(); }
    Self& setForeColor(const QColor& c) { Control::setForeColor(c); return me(); }
    Self& setFont(const Font& f) { Control::setFont(f); return me(); }

protected:
    Self& me() { return static_cast<Self&>(*this); }
};

// Something that fills controls from the fields of a row: the bound data
// control of a window. A bound label shows its field exactly as stored (an
// "&" is an ampersand, never an access key).
class DataSource {
public:
    virtual ~DataSource() = default;
    virtual void bind(Control* control, const QString& field) = 0;
};

// A label: shows its caption with the access-key letter underlined; can be
// clicked; can be bound to a field of a data control.
class Label : public ControlOf<Label> {
public:
    using ControlOf::ControlOf;
    Label& create(const Container& parent, double left, double top, double width, double height,
                  const QString& caption = QString());
    Label& setAlignment(Align align);
    Label& setWordWrap(bool wrap);
    Label& onClick(std::function<void()> handler);
    // Binds the label to a field: it shows the current row's value, and nothing
    // while there is no current row.
    Label& setDataSource(DataSource& data, const QString& field);
    const QString& DataField() const { return dataField_; }

    Label& setFont(const Font& f);
    // false: the caption is shown as it stands, "&" included (item texts).
    Label& setUseMnemonic(bool use);
    bool UseMnemonic() const { return useMnemonic_; }

protected:
    void showCaption(const QString& caption) override;

private:
    bool useMnemonic_ = true;
    // A left-aligned label on one line grows to the right rather than cut
    // its text off (the fonts here are not the design's, so widths differ).
    void fit();
    std::function<void()> click_;
    QString dataField_;
    int designWidth_ = 0;
};

class CommandButton : public ControlOf<CommandButton> {
public:
    using ControlOf::ControlOf;
    CommandButton& create(const Container& parent, double left, double top, double width, double height,
                          const QString& caption);
    CommandButton& onClick(std::function<void()> handler);
    // The default button of the window: Enter presses it while the focus is
    // not on another button.
    CommandButton& setDefault(bool isDefault);
    bool Default() const;
    // Presses the button as a mouse click does.
    void click();

protected:
    void showCaption(const QString& caption) override;
    QPalette::ColorRole backRole() const override { return QPalette::Button; }
    QPalette::ColorRole foreRole() const override { return QPalette::ButtonText; }
};

class TextBox : public ControlOf<TextBox> {
public:
    using ControlOf::ControlOf;
    TextBox& create(const Container& parent, double left, double top, double width, double height,
                    bool multiLine = false);
    QString Text() const;
    TextBox& setText(const QString& text);
    // Binds the box to a field: it shows the current row's value (nothing while
    // there is no current row); what the user types is stored when the set
    // moves or is updated.
    TextBox& setDataSource(DataSource& data, const QString& field);
    const QString& DataField() const { return dataField_; }
    // Whether the user has typed into the box since it last showed the row.
    bool DataChanged() const { return dataChanged_; }
    void setDataChanged(bool changed) { dataChanged_ = changed; }

protected:
    QPalette::ColorRole backRole() const override { return QPalette::Base; }
    QPalette::ColorRole foreRole() const override { return QPalette::Text; }
    void showCaption(const QString&) override {}

public:
    // Shows a field's value from a data source: not a user edit.
    void showValue(const QString& text);

private:
    bool multiLine_ = false;
    bool dataChanged_ = false;
    QString dataField_;
};

// A frame with an optional caption; a container for other controls. The 3-D
// frame of the designs is the same control.
class Frame : public ControlOf<Frame> {
public:
    using ControlOf::ControlOf;
    Frame& create(const Container& parent, double left, double top, double width, double height,
                  const QString& caption = QString());

protected:
    void showCaption(const QString& caption) override;
};

// A raised 3-D panel; a container.
class Panel : public ControlOf<Panel> {
public:
    using ControlOf::ControlOf;
    Panel& create(const Container& parent, double left, double top, double width, double height);

protected:
    void showCaption(const QString&) override {}
};

// An option button. The options of one container form a group: selecting one,
// by mouse, by access key or from code, clears the others and runs its click
// handler. A hidden option of the group clears the visible choice when set.
class OptionButton : public ControlOf<OptionButton> {
public:
    using ControlOf::ControlOf;
    OptionButton& create(const Container& parent, double left, double top, double width, double height,
                         const QString& caption = QString());
    OptionButton& onClick(std::function<void()> handler);
    bool Value() const;
    // true selects the option exactly as a click does; false only clears it.
    void setValue(bool value);
    // What a screen reader says for an option whose meaning is shown beside
    // it rather than in its caption (the letters of the answer options).
    OptionButton& setDescription(const QString& description);

protected:
    void showCaption(const QString& caption) override;

private:
    void select();
    std::function<void()> click_;
    QString description_;
};

// A picture, optionally stretched to its size; can be clicked.
class Image : public ControlOf<Image> {
public:
    using ControlOf::ControlOf;
    Image& create(const Container& parent, double left, double top, double width, double height);
    Image& setPicture(const QPixmap& picture);
    QPixmap Picture() const { return picture_; }
    Image& setStretch(bool stretch);
    // What a screen reader says for the picture.
    Image& setDescription(const QString& description);
    Image& onClick(std::function<void()> handler);

protected:
    void showCaption(const QString&) override {}
    bool hasFont() const override { return false; }

private:
    QPixmap picture_;
};

// A menu of the menu bar, a submenu, or a menu item.
class Menu : public ControlOf<Menu> {
public:
    using ControlOf::ControlOf;
    // A menu on the window's menu bar.
    Menu& createMenu(Form& form, const QString& caption);
    // A submenu of another menu.
    Menu& createMenu(Menu& parent, const QString& caption);
    // An item of a menu.
    Menu& createItem(Menu& parent, const QString& caption);
    Menu& onClick(std::function<void()> handler);
    bool Checked() const { return checked_; }
    Menu& setChecked(bool checked);
    QAction* action() const { return action_; }
    // Chooses the item as a mouse click does (nothing when disabled or hidden).
    void trigger();
    void detach() override;

protected:
    void showCaption(const QString& caption) override;
    bool isVisibleFlag() const override;
    void applyVisible(bool visible) override;
    bool isEnabledFlag() const override;
    void applyEnabled(bool enabled) override;
    bool hasFont() const override { return false; }

private:
    Menu& attachAction(QAction* action, const QString& caption);
    QPointer<QAction> action_;
    QPointer<QMenu> menu_;
    bool checked_ = false;
};

// A window timer: ticks every Interval milliseconds while Enabled; Interval 0
// never ticks. Ticks are ordinary events of the window; the timer dies with it.
class Timer : public ControlOf<Timer> {
public:
    using ControlOf::ControlOf;
    Timer& create(Form& form, int intervalMs, bool enabled);
    Timer& onTimer(std::function<void()> handler);
    int Interval() const { return interval_; }
    Timer& setInterval(int ms);
    void detach() override;
    // Tests: runs one tick now, as the timer would.
    void tick();
    bool running() const;

protected:
    void showCaption(const QString&) override {}
    bool isVisibleFlag() const override { return false; }
    void applyVisible(bool) override {}
    bool isEnabledFlag() const override { return on_; }
    void applyEnabled(bool enabled) override;
    bool hasFont() const override { return false; }

private:
    void restart();
    QPointer<QTimer> timer_;
    std::function<void()> tick_;
    int interval_ = 0;
    bool on_ = false;
};

// Controls that share a name and one handler, addressed by index:
// worklang(0), mnuTopicItem(21), Image(3).
template <class T>
class ControlArray {
public:
    ControlArray(Form* owner, const QString& name, int count) {
        for (int i = 0; i < count; ++i)
            items_.push_back(std::make_unique<T>(owner, name + QLatin1Char('(') + QString::number(i) + QLatin1Char(')')));
    }
    T& operator()(int index) { return at(index); }
    const T& operator()(int index) const { return at(index); }
    T& at(int index) const {
        if (index < 0 || index >= count()) throw std::out_of_range("control array index out of range");
        return *items_[static_cast<std::size_t>(index)];
    }
    int count() const { return static_cast<int>(items_.size()); }

    // One handler for the whole array, called with the index of the control
    // (after the controls are created, in design()):
    //   Option3D2.onClick([this](int i) { Option3D2_Click(i); });
    template <class Handler>
    void onClick(Handler handler) {
        for (int i = 0; i < count(); ++i) at(i).onClick([handler, i] { handler(i); });
    }

private:
    std::vector<std::unique_ptr<T>> items_;
};

// The index of a typed letter in a family of controls keyed from `first`
// ('a' for the options A to D), or -1: letterIndex('c', 'a', 4) == 2. Only
// the letter as given counts (lower case 'a' keys are not 'A').
inline int letterIndex(int keyAscii, char first, int count) {
    const int i = keyAscii - first;
    return i >= 0 && i < count ? i : -1;
}

}  // namespace tk
