#pragma once
// What a window opens while it is loaded (a database, a record set) and must
// let go of when it unloads:
//
//   tk::Held<db::Database> db{this, "db"};
//   // Form_Load:
//   db = db::DBEngine::OpenDatabase(DbPath);
//   // any handler:
//   db->OpenTable("test1");
//
// The window releases every Held member when it unloads, so the next load
// opens afresh. Using one that holds nothing (never opened, failed to open,
// or released) throws qz::Error with the reason, never dereferences null: a
// handler's error trap sees it like any failing engine call.

#include <QString>
#include <memory>

#include "core/error.h"
#include "toolkit/form.h"

namespace tk {

class HeldBase {
public:
    HeldBase(Form* owner, QString name) : name_(std::move(name)) { owner->registerHeld(this); }
    virtual ~HeldBase() = default;
    HeldBase(const HeldBase&) = delete;
    HeldBase& operator=(const HeldBase&) = delete;
    virtual void release() = 0;
    const QString& Name() const { return name_; }

protected:
    QString name_;
};

template <class T>
class Held : public HeldBase {
public:
    using HeldBase::HeldBase;

    Held& operator=(std::shared_ptr<T> object) {
        object_ = std::move(object);
        why_.clear();
        return *this;
    }
    // Records why the object could not be opened; later uses report it.
    void fail(const QString& why) {
        object_.reset();
        why_ = why;
    }
    void release() override { object_.reset(); }

    bool isSet() const { return object_ != nullptr; }
    T* operator->() const { return &get(); }
    T& operator*() const { return get(); }
    T& get() const {
        if (!object_)
            throw qz::Error(qz::ErrObjectNotSet, why_.isEmpty() ? QStringLiteral("%1 is not open.").arg(name_) : why_);
        return *object_;
    }
    const std::shared_ptr<T>& shared() const {
        get();
        return object_;
    }

private:
    std::shared_ptr<T> object_;
    QString why_;
};

}  // namespace tk
