#include "i18n/captions.h"

#include <stdexcept>

#include "core/error.h"
#include "i18n/texts.h"

namespace i18n {

const std::array<TopicCaption, 22> kTopicCaptions{{
    {42, nullptr, nullptr},
    {43, "Ige_Időhasználat", "Ige_Időhasználat"},
    {44, nullptr, nullptr},
    {45, nullptr, nullptr},
    {46, nullptr, nullptr},
    {64, "&Főnév", "Főnév"},
    {90, nullptr, nullptr},
    {92, nullptr, nullptr},
    {91, "Függő beszéd", "Függő beszéd"},
    {47, "Igekötők", "Igekötők"},
    {48, nullptr, nullptr},
    {50, nullptr, nullptr},
    {51, nullptr, nullptr},
    {52, nullptr, nullptr},
    {55, nullptr, nullptr},
    {56, nullptr, nullptr},
    {53, nullptr, nullptr},
    {54, nullptr, nullptr},
    {57, nullptr, nullptr},
    {58, nullptr, nullptr},
    {49, nullptr, nullptr},
    {59, nullptr, nullptr},
}};

const WindowCaptions kQuizspCaptions{
    "Quizsp",
    {{"activities", 60}, {"practice", 31}, {"test", 32}, {"database", 33}, {"change", 74}, {"ok", 0},
     {"Exi", 1}, {"mnuhelp", 25}, {"mnuworklang", 28}, {"mnuhow", 29}, {"mnuabout", 30}},
    {},
    {},
};

const WindowCaptions kSobreCaptions{
    "sobre",
    {{nullptr, 89}, {"Command1", 0}, {"Label1", 65}, {"Label3", 88}},
    {},
    {},
};

const WindowCaptions kForm1Captions{
    "Form1",
    {{"Command1", 12}, {"Command2", 4}, {"Command3", 8}, {"Command4", 15}, {"Command5", 13}, {"Command6", 7},
     {"Command7", 9}, {"Command8", 10}, {"Command10", 2}, {"Command11", 14}, {"Label5", 63}, {"Label6", 61},
     {"Label11", 62}, {"mnuTasks", 26}, {"mnuPractice", 31}, {"mnuTest", 32}, {"mnuDatabase", 33},
     {"mnuOptions", 39}, {"mnuFonts", 40}, {"mnutopic", 41}, {"mnutopicItem", kTopicItems}},
    {},
    {"Database", "Adatbázis", "Base de datos", "Base de données"},
};

const WindowCaptions kSpgyakCaptions{
    "Spgyak",
    {{"Command1", 6}, {"Command2", 5}, {"Command3", 2}, {"Command5", 7}, {"Command6", 4}, {"Command7", 8},
     {"Command8", 9}, {"Command9", 10}, {"Command10", 5}, {"mnuTasks", 26}, {"mnuSettings", 27},
     {"mnuPractice", 31}, {"mnuTest", 32}, {"mnuDatabase", 33}, {"mnuParameters", 34}, {"mnuNumber", 35},
     {"mnuDelay", 36}, {"mnuLevel", 37}, {"mnustart", 38}, {"mnuTopic", 41}, {"mnuTopicItem", kTopicItems},
     {"Label28", 61}, {"Label29", 62}, {"Label23", 68}, {"Label24", 76}},
    {{"Command2", "To&vább"},
     {"Command10", "To&vább"},
     {"Command5", "&Első"},
     {"Command7", "Viss&za"},
     {"Command8", "Tová&bb"},
     {"mnustart", "&Kezdőpont..."},
     // the fixed Hungarian topic items come from the topic table
     {"mnuTopicItem", nullptr}},
    {"Practice", "Gyakorlás", "Ejercicio", "Exercice"},
};

const WindowCaptions kSptestCaptions{
    "Sptest",
    {{"Command2", 5}, {"Command3", 2}, {"Command4", 5}, {"Command5", 11}, {"Command6", 4}, {"mnuTasks", 26},
     {"mnuSettings", 27}, {"mnuPractice", 31}, {"mnuTest", 32}, {"mnuDatabase", 33}, {"mnuParameters", 34},
     {"mnuNumber", 35}, {"mnuDelay", 36}, {"mnuStart", 38}, {"Label20", 36}, {"Label19", 35}, {"Label17", 83}},
    {},
    {"Test", "Teszt", "Test", "Test"},
};

const WindowCaptions kHibatstCaptions{
    "Hibatst",
    {{"Command1", 2}, {"Command2", 7}, {"Command3", 8}, {"Command4", 5}, {"Command5", 9}, {"Command6", 4},
     {"Command7", 10}, {"Command8", 6}, {"Label21", 67}},
    {},
    {"Failed items", "Hibás feleletek", "Soluciones erróneas", "Erreurs"},
};

namespace {

QString item(const char* array, int index) {
    return QString::fromLatin1(array) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

}  // namespace

QString composedTitle(const QString& msgTitle) { return text_id(81) + QStringLiteral("  ----  ") + msgTitle; }

std::vector<std::pair<QString, QString>> captionsFor(const WindowCaptions& table, int langBase, QString& msgTitle) {
    std::vector<std::pair<QString, QString>> out;
    for (const CaptionRow& row : table.rows) {
        if (row.offset == kTopicItems) {
            for (int i = 0; i < static_cast<int>(kTopicCaptions.size()); ++i)
                out.emplace_back(item(row.control, i), text(kTopicCaptions[static_cast<std::size_t>(i)].offset, langBase));
            continue;
        }
        out.emplace_back(row.control ? QString::fromLatin1(row.control) : QString(), text(row.offset, langBase));
    }
    if (langBase == kHungarian) {
        for (const Literal& lit : table.hungarian) {
            if (lit.text) {
                out.emplace_back(QString::fromLatin1(lit.control), QString::fromUtf8(lit.text));
                continue;
            }
            for (int i = 0; i < static_cast<int>(kTopicCaptions.size()); ++i)
                if (const char* fixed = kTopicCaptions[static_cast<std::size_t>(i)].hungarianMenu)
                    out.emplace_back(item(lit.control, i), QString::fromUtf8(fixed));
        }
    }
    if (table.names[0]) {
        const int bases[] = {kEnglish, kHungarian, kSpanish, kFrench};
        for (int i = 0; i < 4; ++i)
            if (langBase == bases[i]) msgTitle = QString::fromUtf8(table.names[static_cast<std::size_t>(i)]);
        out.emplace_back(QString(), composedTitle(msgTitle));
    }
    return out;
}

namespace {

struct ExtraRow {
    Extra id;
    const char* en;
    const char* hu;
    const char* es;
};

const ExtraRow kExtraTexts[] = {
    {Extra::BankCannotBeOpened,
     "The item bank cannot be opened.",
     "Az adatbázist nem lehet megnyitni.",
     "No se puede abrir la base de datos."},
    {Extra::ReorderFailed,
     "The order of the sentences could not be changed. Nothing has been changed: every sentence keeps its "
     "place.",
     "A mondatok sorrendjét nem lehetett megváltoztatni. Semmi sem változott: minden mondat a helyén maradt.",
     "No se ha podido cambiar el orden de las oraciones. No se ha cambiado nada: cada oración sigue en su "
     "lugar."},
    {Extra::BankInUse,
     "The item bank %1 is in use by another program. Close that program, or wait a moment, and try again.",
     "A(z) %1 adatbázist egy másik program használja. Zárja be azt a programot, vagy várjon egy kicsit, és "
     "próbálja újra.",
     "Otro programa está usando la base de datos %1. Cierre ese programa, o espere un momento, y vuelva a "
     "intentarlo."},
    {Extra::BankDiskFull,
     "The disk that holds the item bank %1 is full. Free some space and try again.",
     "Megtelt a lemez, amelyen a(z) %1 adatbázis van. Szabadítson fel helyet, és próbálja újra.",
     "El disco que contiene la base de datos %1 está lleno. Libere espacio y vuelva a intentarlo."},
    {Extra::BankDamaged,
     "The item bank %1 is damaged. Replace it with a good copy.",
     "A(z) %1 adatbázis megsérült. Cserélje le egy ép példányra.",
     "La base de datos %1 está dañada. Sustitúyala por una copia en buen estado."},
    {Extra::BankFileReadOnly,
     "The item bank %1 is read-only: it can be read but not changed.",
     "A(z) %1 adatbázis csak olvasható: olvasni lehet, de módosítani nem.",
     "La base de datos %1 es de solo lectura: se puede leer pero no modificar."},
    {Extra::BankFolderReadOnly,
     "The folder of the item bank %1 is read-only: the bank cannot be created or changed there.",
     "A(z) %1 adatbázis mappája csak olvasható: ott az adatbázist nem lehet létrehozni vagy módosítani.",
     "La carpeta de la base de datos %1 es de solo lectura: allí no se puede crear ni modificar la base de "
     "datos."},
    {Extra::BankNotRegularFile,
     "%1 is not an ordinary file (it is a folder, a pipe, a device or a link to nothing). Nothing has been "
     "written there.",
     "A(z) %1 nem közönséges fájl (hanem mappa, csővezeték, eszköz vagy sehová sem mutató hivatkozás). Oda "
     "semmit sem írt a program.",
     "%1 no es un archivo normal (es una carpeta, una tubería, un dispositivo o un enlace a nada). No se ha "
     "escrito nada allí."},
    {Extra::BankForeign,
     "The file %1 is not an item bank of this program. It has been left as it is.",
     "A(z) %1 fájl nem ennek a programnak az adatbázisa. A fájl változatlan maradt.",
     "El archivo %1 no es una base de datos de este programa. Se ha dejado tal como estaba."},
    {Extra::BankMissing,
     "The item bank %1 cannot be found.",
     "A(z) %1 adatbázis nem található.",
     "No se encuentra la base de datos %1."},
    {Extra::BankOtherFailure,
     "The item bank %1 cannot be used.",
     "A(z) %1 adatbázist nem lehet használni.",
     "No se puede usar la base de datos %1."},
    {Extra::DuplicateSerial,
     "The serial number %1 belongs to another item already. Please give this item another number.",
     "A(z) %1 sorszám már egy másik mondaté. Kérem, adjon ennek a mondatnak másik sorszámot.",
     "El número %1 ya pertenece a otra oración. Por favor, dé otro número a esta oración."},
    {Extra::NewItemNotBegun,
     "A new item could not be begun.",
     "Új mondatot nem lehetett kezdeni.",
     "No se ha podido empezar una oración nueva."},
};

}  // namespace

QString extraText(Extra id, int langBase) {
    for (const ExtraRow& row : kExtraTexts) {
        if (row.id != id) continue;
        if (langBase == kHungarian) return QString::fromUtf8(row.hu);
        if (langBase == kSpanish) return QString::fromUtf8(row.es);
        return QString::fromUtf8(row.en);
    }
    throw std::logic_error("an extra text the table lacks");
}

Extra bankCause(int errorNumber) {
    switch (errorNumber) {
    case qz::ErrLocked: return Extra::BankInUse;
    case qz::ErrDiskFull: return Extra::BankDiskFull;
    case qz::ErrDamaged: return Extra::BankDamaged;
    case qz::ErrReadOnly: return Extra::BankFileReadOnly;
    case qz::ErrFolderReadOnly: return Extra::BankFolderReadOnly;
    case qz::ErrNotRegularFile: return Extra::BankNotRegularFile;
    case qz::ErrNotDatabase: return Extra::BankForeign;
    case qz::ErrFileNotFound: return Extra::BankMissing;
    default: return Extra::BankOtherFailure;
    }
}

}  // namespace i18n
