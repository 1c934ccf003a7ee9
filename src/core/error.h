#pragma once
// The error type of the whole program below the windows: the item-bank engine
// and the window runtime both throw it. A handler that should end silently at
// the first failing call catches exactly this type (see tk::endOnError); any
// other exception is a programming error and is never swallowed.

#include <QString>
#include <stdexcept>

namespace qz {

// Error numbers. The engine's own numbers sit in the 3000s, the runtime's below.
enum ErrorNo : int {
    ErrInvalidCall = 5,          // invalid procedure call or argument
    ErrNoSuchProperty = 438,     // the object has no such property
    ErrOverflow = 6,             // a value does not fit its type
    ErrTypeMismatch = 13,        // a value of the wrong kind
    ErrNotLoaded = 364,          // the window is not loaded
    ErrObjectNotSet = 91,        // a handle that holds nothing (not opened, or released)
    ErrUpdateWithoutEdit = 3020, // Update without AddNew or Edit
    ErrNoCurrentRow = 3021,      // no current row
    ErrDuplicateKey = 3022,      // a unique index refused the value
    ErrFileNotFound = 3024,      // the database file does not exist
    ErrDiskFull = 3026,          // no space left on the disk of the item bank
    ErrReadOnly = 3027,          // the database or the object cannot be written
    ErrFolderReadOnly = 3028,    // the folder of the item bank cannot be written
    ErrNotRegularFile = 3044,    // the item bank's path names no regular file
    ErrDamaged = 3049,           // the item bank's pages are damaged
    ErrTooFewParameters = 3061,  // a bare word in a condition names no field
    ErrSyntax = 3075,            // syntax error in a condition
    ErrTableNotFound = 3078,     // no such table
    ErrNotDatabase = 3343,       // the file is not an item bank of this program
    ErrDeletedRow = 3167,        // the row has been deleted
    ErrLocked = 3260,            // the file is locked by someone else
    ErrUnknownField = 3265,      // no such field
    ErrNotSupported = 3251,      // operation not supported for this kind of record set
    ErrCondTypeMismatch = 3464,  // data type mismatch in a condition
    ErrIndexNotFound = 3800,     // no such index
    ErrEngine = 3999,            // any other failure of the storage
};

class Error : public std::runtime_error {
public:
    Error(int number, const QString& message)
        : std::runtime_error(message.toStdString()), number_(number), message_(message) {}

    int number() const { return number_; }
    const QString& message() const { return message_; }

private:
    int number_;
    QString message_;
};

}  // namespace qz
