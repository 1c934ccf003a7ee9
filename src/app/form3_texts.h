// The two help texts of the How-to window, in Hungarian in every working
// language. Each long run of blanks of the original layout is a paragraph
// break here; the double blanks inside the sentences are part of the text.
#pragma once

namespace form3_texts {

inline constexpr const char* kPart1 =
    "       " "A tanuló két gyakorlási forma közül választhat: Gyakorlás és Teszt. A válasz megadása mindkét esetben a megfelelő billentyűk (a, b, c, d) leütésével, vagy a betűk előtt levő kis karikára való kattintással, majd az \"Enter\" billentyű leütésével vagy a \"Következő\" gombra való kattintással történik."
    "\n" "Ha a \"Gyakorlás\" formát választjuk, a helyes és a  helytelen választ egy zöld, illetve egy piros mező megjelenése mutatja. \"Teszt\" üzemmódban a helytelen válaszokat csak utólag nézhetjük meg. \"Gyakorlás\" üzemmódban a tanuló beállíthatja a nehézségi szintet (Szint: 1, 2, 3), a gyakorlandó nyelvtani témakört (Téma), valamint -ha kívánja- a gyakorlás kezdetét az adatbázison belül. (Az anyag 11  ötven mondatos blokkra van osztva, ezek kezdetére lehet beállítani a programot.)" " ";

inline constexpr const char* kPart2 =
    "        " "Ha kezdetet nem választunk, a mondatok véletlenszerű sorrendben jelennek meg. (Ugyanaz a mondat többször is sorra kerülhet.)  Az adatbázisban való szabad mozgásra (előre, illetve hátra)  nincs lehetőség: az \"Első\", \"Előző\", \"Következő\", \"Utolsó\" gombok nem működnek."
    "\n" "\"Teszt\" üzemmód választása esetén a tanuló beállíthatja a kért mondatok számát (Mondatszám), illetve tesztpontonként a várakozási időt másodpercben (Várakozás), valamint a gyakorlás kezdetét (Kezdőpont). Ha ez utóbbit nem állítjuk be, itt is véletlenszerű sorrendben jelennek meg a mondatok. Ha a mondatok számát nem állítottuk be, az \"Értékelés\" gombra való kattintással bármikor leállíthatjuk a feladatot, és kérhetjük az értékelést. Ellenkező esetben az értékelés csak akkor jelenik meg, ha a beállított számú mondaton végigmentünk. Ha a tesztben hibát követtünk el, a megfelelő mezőre rákattintva megnézhetjük az elhibázott mondatokat és megoldásukat, majd visszatérhetünk a tesztfeladathoz.";

}  // namespace form3_texts
