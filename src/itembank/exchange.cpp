#include "itembank/exchange.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "core/error.h"
#include "itembank/database.h"
#include "itembank/sqlite.h"
#include "itembank/validate.h"

namespace itembank {

namespace {

const char* const kSelectItems =
    "SELECT sorszam, szint, kulcs1, kulcs2, sorrend2, felelet2, mondat, a, b, c, d, felelet1 "
    "FROM test1 ORDER BY sorszam, rowid";

enum Column { Sorszam, Szint, Kulcs1, Kulcs2, Sorrend2, Felelet2, Mondat, A, B, C, D, Felelet1, ColumnCount };

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QByteArray quoted(const QString& field) {
    const bool quote = field.contains(QLatin1Char('\t')) || field.contains(QLatin1Char('\n')) ||
                       field.contains(QLatin1Char('\r')) || field.startsWith(QLatin1Char('"'));
    if (!quote) return field.toUtf8();
    QString q = field;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + q.toUtf8() + '"';
}

QByteArray formatRows(const std::vector<QStringList>& rows) {
    QByteArray out = exchangeColumns().join(QLatin1Char('\t')).toUtf8() + '\n';
    for (const QStringList& row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            if (i) out += '\t';
            out += quoted(row[i]);
        }
        out += '\n';
    }
    return out;
}

QStringList fieldsOf(const Item& it) {
    return {QString::number(it.sorszam), QString::number(it.szint), it.kulcs1, it.kulcs2,
            QString::number(it.sorrend2), it.felelet2, it.mondat, it.a, it.b, it.c, it.d, it.felelet1};
}

// The text of a file a spreadsheet may have saved: a byte-order mark says
// UTF-8 or UTF-16; without one the text must be UTF-8.
bool decode(const QByteArray& bytes, QString& text, QStringList& problems) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder dec(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = dec(bytes.mid(2));
        if (dec.hasError()) {
            problems << QStringLiteral("the file is not valid UTF-16 text");
            return false;
        }
        return true;
    }
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder dec(QStringConverter::Utf8);
    text = dec(body);
    if (!dec.hasError()) return true;
    const QList<QByteArray> lines = body.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder one(QStringConverter::Utf8);
        const QString decoded = one(lines[i]);
        if (one.hasError()) {
            problems << QStringLiteral("line %1: the text is not UTF-8 (save the file as UTF-8 text)").arg(i + 1);
            return false;
        }
    }
    problems << QStringLiteral("the file is not UTF-8 text");
    return false;
}

struct Record {
    int line = 0;
    QStringList fields;
};

// Splits the text into records: fields apart by tabs, records ended by any
// line ending; a field that begins with a quotation mark runs to the next
// lone one and may hold tabs and line breaks ("" is a quotation mark).
std::vector<Record> records(const QString& text, QStringList& problems) {
    std::vector<Record> out;
    Record rec;
    int line = 1;
    rec.line = 1;
    QString field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto endField = [&] {
        rec.fields << field;
        field.clear();
    };
    auto endRecord = [&] {
        endField();
        out.push_back(std::move(rec));
        rec = Record{};
    };
    auto lineBreakAt = [&](qsizetype p) -> int {  // length of a line ending at p, 0 when none
        if (text[p] == QLatin1Char('\r')) return p + 1 < n && text[p + 1] == QLatin1Char('\n') ? 2 : 1;
        return text[p] == QLatin1Char('\n') ? 1 : 0;
    };
    bool atFieldStart = true;
    while (i < n) {
        if (atFieldStart && text[i] == QLatin1Char('"')) {
            const int startLine = line;
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (const int br = lineBreakAt(i)) {
                    field += QLatin1Char('\n');
                    i += br;
                    ++line;
                    continue;
                }
                field += text[i++];
            }
            if (!closed) {
                problems << QStringLiteral("line %1: a quoted field is never closed").arg(startLine);
                return {};
            }
            // Anything after the closing mark up to the tab belongs to the field.
            atFieldStart = false;
            continue;
        }
        atFieldStart = false;
        if (text[i] == QLatin1Char('\t')) {
            endField();
            atFieldStart = true;
            ++i;
        } else if (const int br = lineBreakAt(i)) {
            endRecord();
            i += br;
            ++line;
            rec.line = line;
            atFieldStart = true;
        } else {
            field += text[i++];
        }
    }
    if (!atFieldStart || !field.isEmpty() || !rec.fields.isEmpty()) endRecord();
    // Blank lines, and lines of empty cells a spreadsheet may add, hold nothing.
    out.erase(std::remove_if(out.begin(), out.end(),
                             [](const Record& r) {
                                 return std::all_of(r.fields.begin(), r.fields.end(),
                                                    [](const QString& f) { return f.trimmed().isEmpty(); });
                             }),
              out.end());
    return out;
}

// The field a content fault is about, from the words of its message.
QString fieldOfFault(const QString& what) {
    static const std::vector<std::pair<const char*, const char*>> kWords{
        {"right letter", "felelet2"}, {"solution", "felelet1"},  {"order key", "sorrend2"},
        {"level", "szint"},           {"key", "kulcs1, kulcs2"}, {"filler", "a, b, c, d"},
        {"serial number", "sorszam"}, {"sentence", "mondat"},    {"gap", "mondat"},
        {"text has", "mondat, felelet1"},
    };
    for (const auto& [words, field] : kWords)
        if (what.contains(QLatin1String(words))) return QLatin1String(field);
    return {};
}

struct Problem {
    int line;
    QString text;
};

// The content checks every bank passes, run on the rows in a bank of their
// own; each fault goes back to the line of its item.
void checkContent(const std::vector<ImportRow>& rows, std::vector<Problem>& problems) {
    QTemporaryDir dir;
    if (!dir.isValid()) throw qz::Error(qz::ErrEngine, QStringLiteral("No temporary folder to check the rows in."));
    const QString path = dir.filePath(QStringLiteral("check.mdb"));
    std::vector<Item> items;
    std::map<int, int> lineOf;
    for (const ImportRow& r : rows) {
        items.push_back(r.item);
        lineOf[r.item.sorszam] = r.line;
    }
    createItemBank(path, items);
    BankReport report;
    {
        auto bank = db::DBEngine::OpenDatabase(path);
        report = validateBank(*bank);
    }
    static const QRegularExpression kItem(QStringLiteral("^item (-?\\d+): (.*)$"));
    static const QRegularExpression kOther(QStringLiteral("as item (-?\\d+)$"));
    for (const QString& p : report.problems) {
        const auto m = kItem.match(p);
        if (!m.hasMatch()) {
            problems.push_back({0, p});
            continue;
        }
        const int serial = m.captured(1).toInt();
        QString what = m.captured(2);
        const auto other = kOther.match(what);
        if (other.hasMatch() && lineOf.count(other.captured(1).toInt()))
            what += QStringLiteral(" (line %1)").arg(lineOf[other.captured(1).toInt()]);
        const QString field = fieldOfFault(what);
        const int line = lineOf.count(serial) ? lineOf[serial] : 0;
        problems.push_back({line, QStringLiteral("line %1%2: %3 (item %4)")
                                      .arg(line)
                                      .arg(field.isEmpty() ? QString() : QStringLiteral(", ") + field, what)
                                      .arg(serial)});
    }
}

// A copy of the whole bank at target, made beside it first and put in place
// whole. It reads through a connection of its own: the caller holds the
// write lock, so the copy is the bank exactly as the caller found it.
void backUp(const QString& bankPath, const QString& target) {
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    auto failed = [&](const QString& why) {
        QFile::remove(part);
        return qz::Error(qz::ErrReadOnly, QStringLiteral("Cannot keep a copy of the item bank as %1 (%2); nothing was imported.")
                                              .arg(native(target), why));
    };
    try {
        db::Connection source(bankPath);
        db::Connection copy(part, true);
        sqlite3_backup* b = sqlite3_backup_init(copy.handle(), "main", source.handle(), "main");
        if (!b) throw failed(QString::fromUtf8(sqlite3_errmsg(copy.handle())));
        const int rc = sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
        if (rc != SQLITE_DONE) throw failed(QString::fromUtf8(sqlite3_errstr(rc)));
    } catch (const qz::Error& e) {
        if (e.message().startsWith(QLatin1String("Cannot keep"))) throw;
        throw failed(e.message());
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(part).toStdString(), QFile::encodeName(target).toStdString(), ec);
    if (ec) throw failed(QString::fromStdString(ec.message()));
}

}  // namespace

QStringList exchangeColumns() {
    return {QStringLiteral("sorszam"), QStringLiteral("szint"), QStringLiteral("kulcs1"), QStringLiteral("kulcs2"),
            QStringLiteral("sorrend2"), QStringLiteral("felelet2"), QStringLiteral("mondat"), QStringLiteral("a"),
            QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("felelet1")};
}

QByteArray formatItems(const std::vector<Item>& items) {
    std::vector<QStringList> rows;
    rows.reserve(items.size());
    for (const Item& it : items) rows.push_back(fieldsOf(it));
    return formatRows(rows);
}

ImportReading readImport(const QByteArray& bytes) {
    ImportReading result;
    QString text;
    if (!decode(bytes, text, result.problems)) return result;
    std::vector<Record> recs = records(text, result.problems);
    if (!result.problems.isEmpty()) return result;
    if (recs.empty()) {
        result.problems << QStringLiteral("the file is empty: no header row and no items");
        return result;
    }

    // The header: every column named once, in any order; columns without a
    // name (a spreadsheet may add them) must stay empty.
    const QStringList names = exchangeColumns();
    std::vector<int> colOf(ColumnCount, -1);
    const Record& header = recs.front();
    for (int i = 0; i < header.fields.size(); ++i) {
        QString name = header.fields[i].trimmed().toLower();
        if (name.startsWith(QChar(0xFEFF))) name = name.mid(1).trimmed();
        if (name.isEmpty()) continue;
        const int c = static_cast<int>(names.indexOf(name));
        if (c < 0) result.problems << QStringLiteral("line %1: unknown column \"%2\"").arg(header.line).arg(header.fields[i]);
        else if (colOf[c] >= 0) result.problems << QStringLiteral("line %1: the column %2 is there twice").arg(header.line).arg(name);
        else colOf[c] = i;
    }
    for (int c = 0; c < ColumnCount; ++c)
        if (colOf[c] < 0) result.problems << QStringLiteral("line %1: the column %2 is missing").arg(header.line).arg(names[c]);
    if (!result.problems.isEmpty()) return result;
    if (recs.size() == 1) {
        result.problems << QStringLiteral("the file holds no items, only the header row");
        return result;
    }

    std::vector<Problem> problems;
    std::vector<ImportRow> rows;
    std::map<int, int> lineOfSerial;
    for (std::size_t r = 1; r < recs.size(); ++r) {
        const Record& rec = recs[r];
        auto fault = [&](const QString& field, const QString& what) {
            problems.push_back({rec.line, QStringLiteral("line %1%2: %3")
                                              .arg(rec.line)
                                              .arg(field.isEmpty() ? QString() : QStringLiteral(", ") + field, what)});
        };
        QStringList missing;
        for (int c = 0; c < ColumnCount; ++c)
            if (colOf[c] >= rec.fields.size()) missing << names[c];
        if (!missing.isEmpty()) {
            fault(missing.join(QStringLiteral(", ")),
                  QStringLiteral("the row ends after %1 fields; the header has %2").arg(rec.fields.size()).arg(header.fields.size()));
            continue;
        }
        bool ok = true;
        for (int i = 0; i < rec.fields.size(); ++i) {
            const bool named = i < header.fields.size() && std::find(colOf.begin(), colOf.end(), i) != colOf.end();
            if (!named && !rec.fields[i].trimmed().isEmpty()) {
                fault(QString(), QStringLiteral("field %1 has no column name in the header").arg(i + 1));
                ok = false;
            }
        }
        auto text = [&](Column c) { return rec.fields[colOf[c]]; };
        auto number = [&](Column c) {
            bool isNumber = false;
            const int v = text(c).trimmed().toInt(&isNumber);
            if (!isNumber) {
                fault(names[c], QStringLiteral("\"%1\" is not a whole number").arg(text(c)));
                ok = false;
            }
            return v;
        };
        ImportRow row;
        row.line = rec.line;
        Item& it = row.item;
        it.sorszam = number(Sorszam);
        it.szint = number(Szint);
        it.sorrend2 = number(Sorrend2);
        it.kulcs1 = text(Kulcs1);
        it.kulcs2 = text(Kulcs2);
        it.felelet2 = text(Felelet2);
        it.mondat = text(Mondat);
        it.a = text(A);
        it.b = text(B);
        it.c = text(C);
        it.d = text(D);
        it.felelet1 = text(Felelet1);
        if (!ok) continue;
        const auto seen = lineOfSerial.find(it.sorszam);
        if (seen != lineOfSerial.end()) {
            fault(names[Sorszam], QStringLiteral("the serial number %1 is on line %2 already").arg(it.sorszam).arg(seen->second));
            continue;
        }
        lineOfSerial[it.sorszam] = rec.line;
        rows.push_back(std::move(row));
    }
    if (!rows.empty()) checkContent(rows, problems);

    std::stable_sort(problems.begin(), problems.end(), [](const Problem& x, const Problem& y) { return x.line < y.line; });
    for (const Problem& p : problems) result.problems << p.text;
    if (result.problems.isEmpty()) result.rows = std::move(rows);
    return result;
}

std::vector<Item> readBankItems(const QString& bankPath) {
    auto bank = db::DBEngine::OpenDatabase(bankPath);
    std::vector<Item> items;
    db::Stmt st = bank->connection().prepare(kSelectItems);
    while (st.step()) {
        Item it;
        it.sorszam = static_cast<int>(st.columnInt(Sorszam));
        it.szint = static_cast<int>(st.columnInt(Szint));
        it.kulcs1 = st.columnText(Kulcs1);
        it.kulcs2 = st.columnText(Kulcs2);
        it.sorrend2 = static_cast<int>(st.columnInt(Sorrend2));
        it.felelet2 = st.columnText(Felelet2);
        it.mondat = st.columnText(Mondat);
        it.a = st.columnText(A);
        it.b = st.columnText(B);
        it.c = st.columnText(C);
        it.d = st.columnText(D);
        it.felelet1 = st.columnText(Felelet1);
        items.push_back(std::move(it));
    }
    return items;
}

int exportBank(const QString& bankPath, const QString& tsvPath) {
    auto bank = db::DBEngine::OpenDatabase(bankPath);
    // Every field as it is stored, so that a damaged item goes out as it is
    // and can be mended in the spreadsheet.
    std::vector<QStringList> rows;
    {
        db::Stmt st = bank->connection().prepare(kSelectItems);
        while (st.step()) {
            QStringList row;
            for (int c = 0; c < ColumnCount; ++c) row << st.column(c).toString();
            rows.push_back(std::move(row));
        }
    }
    QSaveFile out(tsvPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(formatRows(rows)) < 0 || !out.commit())
        throw qz::Error(qz::ErrReadOnly,
                        QStringLiteral("Cannot write %1: %2.").arg(native(tsvPath), out.errorString()));
    return static_cast<int>(rows.size());
}

void replaceItems(const QString& bankPath, const std::vector<ImportRow>& rows) {
    std::vector<Item> items;
    items.reserve(rows.size());
    for (const ImportRow& r : rows) items.push_back(r.item);
    auto bank = db::DBEngine::OpenDatabase(bankPath);
    db::Connection& conn = bank->connection();
    if (conn.readOnly())
        throw qz::Error(qz::ErrReadOnly,
                        QStringLiteral("The item bank %1 cannot be written (it or its folder is read-only); nothing was imported.")
                            .arg(native(bankPath)));
    // The write lock first: while it is held nobody else changes the file,
    // so the copy is the bank exactly as the import found it.
    conn.exec("BEGIN IMMEDIATE");
    try {
        backUp(bankPath, bankPath + QStringLiteral(".bak"));
        conn.exec("DELETE FROM test1");
        insertItems(conn, items);
        conn.exec("COMMIT");
    } catch (...) {
        if (conn.inTransaction()) sqlite3_exec(conn.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

BankCheck checkBank(const QString& bankPath) {
    if (!QFileInfo::exists(bankPath))
        throw qz::Error(qz::ErrFileNotFound, QStringLiteral("Could not find the item bank %1.").arg(native(bankPath)));
    auto bank = db::DBEngine::OpenDatabase(bankPath);
    BankCheck result;
    QStringList& problems = result.problems;
    {
        db::Stmt st = bank->connection().prepare(
            "SELECT sorszam, count(*) FROM test1 GROUP BY sorszam HAVING count(*) > 1 ORDER BY sorszam");
        while (st.step())
            problems << QStringLiteral("item %1: the serial number is used by %2 items")
                            .arg(st.column(0).toString())
                            .arg(st.columnInt(1));
    }
    const BankReport report = validateBank(*bank);
    problems << report.problems;
    result.items = report.items;
    return result;
}

}  // namespace itembank
