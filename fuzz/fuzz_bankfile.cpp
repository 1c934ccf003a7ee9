// libFuzzer target for the item-bank file: the default bank, changed by the
// input, is opened and reordered the way the launcher does it. Any file must
// be refused with the engine's error or worked on, without crashing, hanging
// or reading out of bounds.
//
// The input is a list of patches to the default bank's bytes: a 1-byte
// command (low bit: cut the file at the patch's offset instead of writing),
// a 3-byte offset, a 1-byte length and that many bytes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "core/error.h"
#include "itembank/database.h"
#include "itembank/itembank.h"
#include "itembank/reorder.h"

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString path;
    QByteArray pristine;
    Fixture() {
        const QString source = dir.filePath(QStringLiteral("default.mdb"));
        itembank::createItemBank(source, itembank::defaultItems());
        QFile f(source);
        f.open(QIODevice::ReadOnly);
        pristine = f.readAll();
        path = dir.filePath(QStringLiteral("qz_data.mdb"));
    }
};

QByteArray mutated(const QByteArray& pristine, const std::uint8_t* data, std::size_t size) {
    QByteArray file = pristine;
    std::size_t i = 0;
    while (i + 5 <= size) {
        const std::uint8_t command = data[i];
        const std::size_t offset = (std::size_t(data[i + 1]) << 16 | std::size_t(data[i + 2]) << 8 | data[i + 3]) %
                                   std::size_t(file.size() + 1);
        const std::size_t length = data[i + 4];
        i += 5;
        if (command & 1) {
            file.truncate(qsizetype(offset));
            continue;
        }
        for (std::size_t k = 0; k < length && i < size; ++k, ++i)
            if (offset + k < std::size_t(file.size())) file[qsizetype(offset + k)] = char(data[i]);
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fx;
    {
        QFile::remove(fx.path + QStringLiteral("-journal"));
        QFile f(fx.path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(mutated(fx.pristine, data, size));
    }
    try {
        auto database = db::DBEngine::OpenDatabase(fx.path);
        auto rs = database->OpenDynaset(QStringLiteral("test1"));
        std::uint32_t state = 12345;
        itembank::reorderItems(*database, *rs, [&] {
            state = state * 1103515245u + 12345u;
            return float(state >> 8) / float(1u << 24);
        });
        auto snap = database->CreateSnapshot(QStringLiteral("test1"));
        snap->setFilter(QStringLiteral("sorrend2 > 430"));
        snap->CreateSnapshot();
        auto table = database->OpenTable(QStringLiteral("test1"));
        table->setIndex(QStringLiteral("sorszam"));
        table->Seek(QStringLiteral("="), db::Value(12));
    } catch (const qz::Error&) {
        // refused or failed with the engine's error: an acceptable answer
    }
    return 0;
}
