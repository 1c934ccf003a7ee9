// What the About window says of the program and its makers, in one place.
#pragma once

namespace about_info {

// The author line and the place-and-year line of the window.
inline constexpr const char* kAuthor = "Kovács Anna – Quizmora Nyelvoktató Műhely";
inline constexpr const char* kPlaceAndYear = "Budapest, 2026";

// The information message ("Mi ez?"): a paragraph about the program, then the
// author, the postal address and the e-mail address, each on its own line and
// indented with blanks.
inline constexpr const char* kAboutParagraph =
    "A Quizmora Hungarian egy készülő magyar nyelvi oktatóprogram-csomag egyik egységének "
    "próbaváltozata. A program szabadon másolható és terjeszthető, de csak ingyenesen. "
    "Letölthető a https://quizmora.example/letoltes címről. A szerző nem vállal felelősséget "
    "a program telepítéséből és használatából eredő esetleges károkért. Telepítés: másolja a "
    "programot egy írható mappába, és indítsa el; az első indításkor a program maga mellett "
    "létrehozza az adatfájlt. A qz_data.mdb adatfájlnak a program mappájában kell lennie. "
    "Észrevételeit, javaslatait szívesen fogadjuk az alábbi címen:";
inline constexpr const char* kAuthorLine = "      Kovács Anna, Quizmora Nyelvoktató Műhely";
inline constexpr const char* kAddressLine = "      1111 Budapest, Példa utca 1.";
inline constexpr const char* kEmailLine = "      info@quizmora.example";

}  // namespace about_info
