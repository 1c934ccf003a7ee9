#pragma once
// The modal things a window asks of the user: message box, input box, beep and
// font dialog. Windows call the free functions below; the service behind them
// is Qt's dialogs in the program and a scripted double in tests, so that no
// test ever waits on a modal dialog.

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace tk {

// Message-box style codes: an OK button plus one icon.
enum MsgStyle : int { vbOKOnly = 0, vbCritical = 16, vbExclamation = 48, vbInformation = 64 };
constexpr int vbOK = 1;

// What the font dialog hands back.
struct FontChoice {
    QString name;
    float size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int MsgBox(const QString& prompt, int style, const QString& title) = 0;
    // The typed text; empty when the user cancels.
    virtual QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    virtual void Beep() = 0;
    // The chosen font, or nothing when the user cancels.
    virtual std::optional<FontChoice> ShowFont(int flags, const FontChoice& initial) = 0;
};

// Production service on Qt's dialogs.
class QtDialogs : public DialogService {
public:
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    void Beep() override;
    std::optional<FontChoice> ShowFont(int flags, const FontChoice& initial) override;
};

// Test double: records every call and answers from queues (input boxes answer
// "" and font dialogs cancel once their queues are empty).
class ScriptedDialogs : public DialogService {
public:
    enum class Kind { MsgBox, InputBox, Beep, Font };
    struct Call {
        Kind kind;
        QString prompt;
        int style = 0;  // message style, or font flags
        QString title;
        QString defaultText;
    };

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    void Beep() override;
    std::optional<FontChoice> ShowFont(int flags, const FontChoice& initial) override;

    void queueInput(const QString& answer) { inputs_.push_back(answer); }
    void queueFont(std::optional<FontChoice> answer) { fonts_.push_back(std::move(answer)); }

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> callsOf(Kind kind) const;
    int count(Kind kind) const { return static_cast<int>(callsOf(kind).size()); }
    void clear() { calls_.clear(); }

private:
    std::vector<Call> calls_;
    std::deque<QString> inputs_;
    std::deque<std::optional<FontChoice>> fonts_;
};

// The service in force; the program starts with Qt's dialogs.
DialogService& dialogs();
// Installs another service (tests); nullptr puts Qt's dialogs back.
void setDialogs(DialogService* service);

// What the windows call.
int MsgBox(const QString& prompt, int style, const QString& title);
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText);
void Beep();

}  // namespace tk
