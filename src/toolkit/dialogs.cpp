#include "toolkit/dialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tk {

namespace {

QtDialogs qtDialogs;
DialogService* current = &qtDialogs;

// Modal boxes stay in front of the program's topmost windows.
void keepInFront(QWidget& box) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowModality(Qt::ApplicationModal);
}

}  // namespace

int QtDialogs::MsgBox(const QString& prompt, int style, const QString& title) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & 0x70) {
    case vbCritical: icon = QMessageBox::Critical; break;
    case vbExclamation: icon = QMessageBox::Warning; break;
    case vbInformation: icon = QMessageBox::Information; break;
    default: break;
    }
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    keepInFront(box);
    box.exec();
    return vbOK;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setInputMode(QInputDialog::TextInput);
    keepInFront(box);
    if (box.exec() != QDialog::Accepted) return QString();
    return box.textValue();
}

void QtDialogs::Beep() { QApplication::beep(); }

std::optional<FontChoice> QtDialogs::ShowFont(int /*flags*/, const FontChoice& initial) {
    QFont start(initial.name.isEmpty() ? QApplication::font().family() : initial.name);
    if (initial.size > 0) start.setPointSizeF(initial.size);
    start.setBold(initial.bold);
    start.setItalic(initial.italic);
    start.setUnderline(initial.underline);
    start.setStrikeOut(initial.strikethru);
    QFontDialog box(start, QApplication::activeWindow());
    keepInFront(box);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    const QFont f = box.selectedFont();
    return FontChoice{f.family(), static_cast<float>(f.pointSizeF()), f.bold(), f.italic(), f.underline(),
                      f.strikeOut()};
}

int ScriptedDialogs::MsgBox(const QString& prompt, int style, const QString& title) {
    calls_.push_back({Kind::MsgBox, prompt, style, title, {}});
    return vbOK;
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    calls_.push_back({Kind::InputBox, prompt, 0, title, defaultText});
    if (inputs_.empty()) return QString();
    QString answer = inputs_.front();
    inputs_.pop_front();
    return answer;
}

void ScriptedDialogs::Beep() { calls_.push_back({Kind::Beep, {}, 0, {}, {}}); }

std::optional<FontChoice> ScriptedDialogs::ShowFont(int flags, const FontChoice& /*initial*/) {
    calls_.push_back({Kind::Font, {}, flags, {}, {}});
    if (fonts_.empty()) return std::nullopt;
    auto answer = fonts_.front();
    fonts_.pop_front();
    return answer;
}

std::vector<ScriptedDialogs::Call> ScriptedDialogs::callsOf(Kind kind) const {
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.kind == kind) out.push_back(c);
    return out;
}

DialogService& dialogs() { return *current; }
void setDialogs(DialogService* service) { current = service ? service : &qtDialogs; }

int MsgBox(const QString& prompt, int style, const QString& title) { return current->MsgBox(prompt, style, title); }
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return current->InputBox(prompt, title, defaultText);
}
void Beep() { current->Beep(); }

}  // namespace tk
