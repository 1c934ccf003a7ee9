#pragma once
// The window runtime: one object per window for the whole run, created on first
// use and owned here; End; the window-level key preview.

#include <QObject>
#include <map>
#include <memory>
#include <typeindex>
#include <vector>

namespace tk {

class Form;

class Runtime : public QObject {
public:
    static Runtime& instance();

    // The one object of window class F, created on first use.
    template <class F>
    F& form() {
        auto it = forms_.find(std::type_index(typeid(F)));
        if (it == forms_.end()) {
            auto made = std::make_unique<F>();
            F& ref = *made;
            adopt(std::type_index(typeid(F)), std::move(made));
            return ref;
        }
        return static_cast<F&>(*it->second);
    }

    // The window object of class F if it has been created, else nullptr.
    template <class F>
    F* existing() {
        auto it = forms_.find(std::type_index(typeid(F)));
        return it == forms_.end() ? nullptr : static_cast<F*>(it->second.get());
    }

    // Every window object created so far, in order of creation.
    const std::vector<Form*>& forms() const { return order_; }

    // End: every window closes at once (no unload handlers run) and no further
    // event of any window runs. The program's main turns quitOnEnd on so that
    // the event loop ends too; tests observe ended() instead.
    void End();
    bool ended() const { return ended_; }
    bool quitOnEnd = false;

    // Tests: destroys every window object and forgets End, as at program start.
    void reset();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Runtime();
    void adopt(std::type_index type, std::unique_ptr<Form> form);

    std::map<std::type_index, std::unique_ptr<Form>> forms_;
    std::vector<Form*> order_;
    bool ended_ = false;
    bool filterInstalled_ = false;
};

// Shorthands the windows use: form<Quizsp>().Show(); End();
template <class F>
F& form() {
    return Runtime::instance().form<F>();
}
void End();

}  // namespace tk
