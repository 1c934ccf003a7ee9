#pragma once
// The data control: a window's bound view of one table of the item bank.
//
//   Data1.create(*this, ...).setConnect("Access 2000;").setRecordSource("test1");
//   Label13.create(...).setDataSource(Data1, "mondat");
//   // in Form_Load:
//   Data1.setDatabaseName(DbPath);   // the set opens once loading has finished
//
// Bound labels and text boxes always show the current row's field, and
// nothing while there is no current row. Save-on-move: what the user typed
// into bound text boxes, and a row begun with AddNew, are stored when the set
// moves to another row, is updated, is refreshed, or the window unloads.
// When visible it shows its caption between First/Previous and Next/Last
// arrows that move the set.

#include <memory>

#include "toolkit/controls.h"
#include "itembank/database.h"
#include "core/error.h"

namespace tk {

class DataControl : public ControlOf<DataControl>, public DataSource, public db::Binding {
public:
    using ControlOf::ControlOf;
    ~DataControl() override;

    DataControl& create(const Container& parent, double left, double top, double width, double height,
                        const QString& caption);
    DataControl& setConnect(const QString& connect);
    DataControl& setRecordSource(const QString& table);
    DataControl& setDatabaseName(const QString& path);
    QString Connect() const { return connect_; }
    QString RecordSource() const { return recordSource_; }
    QString DatabaseName() const { return databaseName_; }

    // (Re)opens the view: the database at DatabaseName, the table RecordSource;
    // the first row becomes current.
    void Refresh();
    // The view's record set and its database; the runtime's error while the
    // view is not open (the message says why it could not be opened).
    std::shared_ptr<db::Recordset> Recordset() const;
    std::shared_ptr<db::Database> Database() const;
    bool isOpen() const { return rs_ != nullptr; }
    // The error that kept the view from opening at load, if any.
    const QString& openError() const { return openError_; }
    // Called when the view cannot be opened at load; the default reports the
    // error in a stop message box.
    DataControl& onError(std::function<void(const qz::Error&)> handler);

    void bind(Control* control, const QString& field) override;
    void loadFinished() override;
    void beforeDiscard() override;
    void detach() override;

    // db::Binding
    void aboutToLeaveRow(db::Recordset& rs) override;
    void aboutToUpdate(db::Recordset& rs) override;
    void rowChanged(db::Recordset& rs) override;

protected:
    void showCaption(const QString& caption) override;

private:
    void close();
    void showRow();
    bool copyEdits(db::Recordset& rs);  // true when a bound box had changes
    void arrow(int which);

    QString connect_, recordSource_, databaseName_;
    std::shared_ptr<db::Database> db_;
    std::shared_ptr<db::Recordset> rs_;
    struct Bound {
        Control* control;
        QString field;
    };
    std::vector<Bound> bound_;
    std::function<void(const qz::Error&)> onError_;
    QString openError_;
    bool saving_ = false;
};

}  // namespace tk
