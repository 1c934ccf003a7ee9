#pragma once
// A window of the program. The object lives for the whole run and keeps its
// own variables; its controls exist only while the window is loaded.
//
//   Load    builds every control at its design state (design()), then runs
//           Form_Load; data controls open once loading has finished.
//   Show    loads when needed, shows the window modeless and brings it forward.
//   Hide    loads when needed (unseen) and hides the window.
//   Unload  runs Form_Unload, then destroys the window with all its controls
//           and data controls. The next Load builds everything anew.
// A window closed through the window manager is unloaded the same way.

#include <QColor>
#include <QMenuBar>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class QKeyEvent;

namespace tk {

class Control;
class HeldBase;
class DataControl;
class FormWindow;

enum class Border { Fixed, Sizable };

// Mouse pointers.
constexpr int vbDefault = 0;
constexpr int vbHourglass = 11;

class Form {
public:
    explicit Form(const QString& name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& Name() const { return name_; }

    void Load();
    void Show();
    void Hide();
    void Unload();
    bool Loaded() const { return window_ != nullptr; }
    bool Visible() const;

    // Window title.
    QString Caption() const;
    void setCaption(const QString& caption);

    // Outer geometry in twips.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    // Top = screen height / 2 - window height / 2, Left likewise.
    void centreOnScreen();

    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    // Whether the keep-on-top call has put the window on top.
    bool Topmost() const { return topmost_; }

    // The window handle for SetWindowPos.
    Form* hWnd() { return this; }

    // The top-level widget and the client area; null while unloaded.
    QWidget* window() const;
    QWidget* client() const;

    // Controls by design name ("Command1", "worklang(0)"); nullptr if none.
    Control* findControl(const QString& name) const;
    const std::vector<Control*>& controls() const { return controls_; }
    // The control that has the keyboard focus, or nullptr.
    Control* ActiveControl() const;
    // The button that Enter presses when the focus is not on a button.
    Control* defaultButton() const { return defaultButton_; }
    void setDefaultButton(Control* button) { defaultButton_ = button; }
    // Sets captions in order: (design name of a control, or "" for the window
    // title; caption). A control the window does not have is a programming
    // error.
    void applyCaptions(const std::vector<std::pair<QString, QString>>& captions);
    // Where menus go; created on first use while the window loads.
    QMenuBar* menuBar();

    // Runs one event handler of this window, if the window is still loaded in
    // the generation that connected it and the program has not ended. An engine
    // or runtime error the handler does not trap itself is reported in a stop
    // message box instead of ending the program.
    void fire(unsigned generation, const std::function<void()>& handler);
    unsigned generation() const { return generation_; }

protected:
    // Builds every control at its design state; called by Load.
    virtual void design() = 0;
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // The window is being closed through the window manager (not by Unload
    // from code): setting Cancel to a value other than 0 keeps it open.
    virtual void Form_QueryUnload(int& Cancel) { (void)Cancel; }
    // Key preview: sees every character typed in the window before its
    // controls do; setting KeyAscii to 0 swallows the key.
    virtual void Form_KeyPress(int& KeyAscii) { (void)KeyAscii; }

    // Design-time settings of the window itself, for design().
    void setClientSize(double widthTwips, double heightTwips);
    void setBorder(Border border);
    void setBackColor(const QColor& color);
    void setMaximized(bool maximized);
    void setKeyPreview(bool on) { keyPreview_ = on; }
    void setMinButton(bool on) { minButton_ = on; }
    void setMaxButton(bool on) { maxButton_ = on; }

private:
    friend class Control;
    friend class HeldBase;
    friend class FormWindow;
    friend class Runtime;
    friend long SetWindowPos(Form*, int, int, int, int, int, int);

    void registerControl(Control* control);
    void registerHeld(HeldBase* held) { held_.push_back(held); }
    void unregisterControl(Control* control);
    void applyWindowFlags();
    bool closedByWindowManager();  // false: the window stays open
    bool keyPressed(QKeyEvent* event);  // true when the key was used up
    void reportUnhandled(const QString& message);
    void discardWindow();

    QString name_;
    QPointer<QWidget> window_;  // a FormWindow
    QPointer<QWidget> client_;
    QPointer<QMenuBar> menuBar_;
    std::vector<Control*> controls_;
    std::vector<HeldBase*> held_;  // released when the window unloads
    Control* defaultButton_ = nullptr;
    unsigned generation_ = 0;
    int mousePointer_ = vbDefault;
    bool topmost_ = false;
    bool keyPreview_ = false;
    bool minButton_ = true;
    bool maxButton_ = true;
    bool maximized_ = false;
    bool loading_ = false;
    bool unloading_ = false;
    Border border_ = Border::Fixed;
};

}  // namespace tk
