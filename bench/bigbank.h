#pragma once
// The largest item bank the program allows, for the benchmarks: 32,767 items
// of realistic size over several topics and levels, in a temporary folder.

#include <QTemporaryDir>
#include <random>
#include <vector>

#include "itembank/itembank.h"

namespace bigbank {

constexpr int kItems = 32767;

struct Bank {
    QTemporaryDir dir;
    QString path;
    Bank() {
        path = dir.filePath(QStringLiteral("qz_data.mdb"));
        std::mt19937 rng(7);
        std::vector<itembank::Item> items;
        items.reserve(kItems);
        const char* keys[][2] = {{"1", "0"}, {"1", "a"}, {"1", "b"}, {"1", "c"}, {"1", "i"}, {"2", "0"},
                                 {"3", "0"}, {"4", "0"}, {"6", "0"}, {"a", "1"}, {"a", "2"}, {"a", "3"}};
        for (int n = 1; n <= kItems; ++n) {
            itembank::Item it;
            it.sorszam = n;
            it.szint = 1 + int(rng() % 3);
            const auto& k = keys[rng() % 12];
            it.kulcs1 = QString::fromLatin1(k[0]);
            it.kulcs2 = QString::fromLatin1(k[1]);
            it.sorrend2 = 1 + int(rng() % 3000);
            it.felelet2 = QString(QChar(u'A' + int(rng() % 4)));
            it.mondat = QStringLiteral("A szomszédék tegnap este _____ a kertben, mert szép idő volt (%1).").arg(n);
            it.a = QStringLiteral("vacsoráztak");
            it.b = QStringLiteral("vacsoráznak");
            it.c = QStringLiteral("vacsorázni");
            it.d = QStringLiteral("vacsorázott");
            it.felelet1 = QStringLiteral("A szomszédék tegnap este vacsoráztak a kertben – past tense, 3rd person plural.");
            items.push_back(std::move(it));
        }
        itembank::createItemBank(path, items);
    }
};

}  // namespace bigbank
