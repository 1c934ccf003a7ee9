#include "databind/datacontrol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "toolkit/dialogs.h"
#include "toolkit/runtime.h"
#include "core/error.h"

namespace tk {

DataControl::~DataControl() {
    if (rs_) rs_->setBinding(nullptr);
}

DataControl& DataControl::create(const Container& parent, double left, double top, double width, double height,
                                 const QString& caption) {
    auto* w = new QWidget(parent.widget());
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const char* arrows[] = {"|<", "<", ">", ">|"};
    const char* names[] = {"First", "Previous", "Next", "Last"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(w);
        b->setText(QLatin1String(arrows[i]));
        b->setAccessibleName(QLatin1String(names[i]));
        b->setObjectName(name_ + QLatin1Char('_') + QLatin1String(names[i]));
        b->setFocusPolicy(Qt::NoFocus);
        if (i == 2) {
            auto* label = new QLabel(w);
            label->setObjectName(name_ + QStringLiteral("_caption"));
            label->setAlignment(Qt::AlignCenter);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            layout->addWidget(label, 1);
        }
        layout->addWidget(b);
        connectEvent(b, &QToolButton::clicked, [this, i] { arrow(i); });
    }
    adopt(w, parent, left, top, width, height);
    bound_.clear();
    openError_.clear();
    onError_ = nullptr;
    connect_.clear();
    recordSource_.clear();
    databaseName_.clear();
    setCaption(caption);
    return *this;
}

void DataControl::showCaption(const QString& caption) {
    QWidget* w = require();
    if (auto* label = w->findChild<QLabel*>(name_ + QStringLiteral("_caption"))) label->setText(caption);
    w->setAccessibleName(caption);
}

DataControl& DataControl::setConnect(const QString& connect) {
    connect_ = connect;
    return *this;
}

DataControl& DataControl::setRecordSource(const QString& table) {
    recordSource_ = table;
    return *this;
}

DataControl& DataControl::setDatabaseName(const QString& path) {
    databaseName_ = path;
    return *this;
}

DataControl& DataControl::onError(std::function<void(const qz::Error&)> handler) {
    onError_ = std::move(handler);
    return *this;
}

void DataControl::bind(Control* control, const QString& field) { bound_.push_back({control, field}); }

void DataControl::Refresh() {
    require();
    if (rs_ && db_ && db_->Name() == databaseName_) {
        rs_->Requery();
        return;
    }
    close();
    auto database = db::DBEngine::OpenDatabase(databaseName_);
    auto rs = database->OpenDynaset(recordSource_);
    db_ = std::move(database);
    rs_ = std::move(rs);
    rs_->setBinding(this);
    openError_.clear();
    showRow();
}

std::shared_ptr<db::Recordset> DataControl::Recordset() const {
    if (!rs_)
        throw qz::Error(qz::ErrInvalidCall, openError_.isEmpty()
                                                ? QStringLiteral("%1 has no open record set.").arg(name_)
                                                : openError_);
    return rs_;
}

std::shared_ptr<db::Database> DataControl::Database() const {
    Recordset();
    return db_;
}

void DataControl::loadFinished() {
    if (!widget_ || databaseName_.isEmpty() || recordSource_.isEmpty()) return;
    try {
        Refresh();
    } catch (const qz::Error& e) {
        openError_ = e.message();
        if (onError_) onError_(e);
        else MsgBox(e.message(), vbCritical, form_->Caption());
    }
}

void DataControl::beforeDiscard() {
    if (!rs_) return;
    try {
        aboutToLeaveRow(*rs_);
    } catch (const qz::Error& e) {
        // What was typed could not be stored: say so, unless the program is ending.
        if (!Runtime::instance().ended()) MsgBox(e.message(), vbCritical, form_->Caption());
    }
}

void DataControl::detach() {
    close();
    bound_.clear();
    Control::detach();
}

void DataControl::close() {
    if (rs_) rs_->setBinding(nullptr);
    rs_.reset();
    db_.reset();
}

bool DataControl::copyEdits(db::Recordset& rs) {
    bool any = false;
    for (const Bound& b : bound_) {
        auto* box = dynamic_cast<TextBox*>(b.control);
        if (!box || !box->widget() || !box->DataChanged()) continue;
        rs.setField(b.field, db::Value(box->Text()));
        any = true;
    }
    return any;
}

void DataControl::aboutToLeaveRow(db::Recordset& rs) {
    if (saving_) return;
    saving_ = true;
    try {
        bool typed = false;
        for (const Bound& b : bound_)
            if (auto* box = dynamic_cast<TextBox*>(b.control); box && box->widget() && box->DataChanged()) typed = true;
        if (rs.EditMode() == db::dbEditNone && typed && rs.hasCurrentRow()) rs.Edit();
        if (rs.EditMode() != db::dbEditNone) rs.Update();  // copies the typed text first
    } catch (...) {
        saving_ = false;
        throw;
    }
    saving_ = false;
}

void DataControl::aboutToUpdate(db::Recordset& rs) { copyEdits(rs); }

void DataControl::rowChanged(db::Recordset&) { showRow(); }

void DataControl::showRow() {
    for (const Bound& b : bound_) {
        if (!b.control->widget()) continue;
        QString text;
        if (rs_ && rs_->hasCurrentRow()) {
            try {
                text = rs_->field(b.field).toString();
            } catch (const qz::Error&) {
                text.clear();  // a row deleted through another view shows nothing
            }
        }
        if (auto* box = dynamic_cast<TextBox*>(b.control)) box->showValue(text);
        else b.control->setCaption(text);
    }
}

void DataControl::arrow(int which) {
    if (!rs_ || rs_->RecordCount() == 0) return;
    switch (which) {
    case 0: rs_->MoveFirst(); break;
    case 1:
        if (!rs_->isBOF()) rs_->MovePrevious();
        if (rs_->isBOF()) rs_->MoveFirst();
        break;
    case 2:
        if (!rs_->isEOF()) rs_->MoveNext();
        if (rs_->isEOF()) rs_->MoveLast();
        break;
    default: rs_->MoveLast(); break;
    }
}

}  // namespace tk
