// Multilingual calendar and number-word tables, language names, ISO 639
// codes and the HTML Latin-1 entity names.
//
// Every entry is a short 8-bit string of the Windows-1252 character set with
// at most the capacity given next to its table. The entries are stored as
// UTF-16 string views whose code units are the Unicode values of those
// Windows-1252 characters, so UTF-16 callers use them directly and
// StringToAnsi gives the 8-bit form without loss. All data is constant.
//
// Index ranges: the first index of the per-language tables is a TLanguage;
// months run 1..12 (January first), weekdays 1..7 (Monday first), number words
// 0..12, HTML entities by character code 160..255.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "kyn/kynbase/types.h"

namespace kyn {

using LangEntry = std::u16string_view;

// A constant array indexed Low..High (inclusive). Indexing outside the range
// is a caller error, as for std::array.
template <int Low, int High>
struct TIndexedNames {
  static_assert(Low <= High);
  std::array<LangEntry, High - Low + 1> items;
  static constexpr int low() { return Low; }
  static constexpr int high() { return High; }
  static constexpr std::size_t size() { return High - Low + 1; }
  constexpr const LangEntry& operator[](int i) const { return items[static_cast<std::size_t>(i - Low)]; }
  constexpr auto begin() const { return items.begin(); }
  constexpr auto end() const { return items.end(); }
};

// Capacities of the entries, in 8-bit characters.
inline constexpr std::size_t MonthShortCapacity = 4;
inline constexpr std::size_t MonthLongCapacity = 10;
inline constexpr std::size_t WeekDayShortCapacity = 3;
inline constexpr std::size_t WeekDayLongCapacity = 10;
inline constexpr std::size_t NumWordsCapacity = 6;
inline constexpr std::size_t LanguageIDCapacity = 15;
inline constexpr std::size_t ISO639_2CharCapacity = 2;
inline constexpr std::size_t ISO639_3CharCapacity = 3;
inline constexpr std::size_t HTMLLat1EntitiesCapacity = 8;

using TMonthNames = TIndexedNames<1, 12>;
using TWeekDayNames = TIndexedNames<1, 7>;
using TNumberWords = TIndexedNames<0, 12>;
// Per language, indexed by TLanguage.
template <typename Row>
using TPerLanguage = std::array<Row, 5>;

inline constexpr TPerLanguage<TMonthNames> MonthShort = {{
    {{u"M01", u"M02", u"M03", u"M04", u"M05", u"M06", u"M07", u"M08", u"M09", u"M10", u"M11", u"M12"}},
    {{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"}},
    {{u"Jän", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"}},
    {{u"jan", u"fév", u"mar", u"avr", u"mai", u"juin", u"jul", u"aoû", u"sep", u"oct", u"nov", u"déc"}},
    {{u"Ene", u"Feb", u"Mar", u"Abr", u"May", u"Jun", u"Jul", u"Ago", u"Sep", u"Oct", u"Nov", u"Dic"}},
}};

// The French February entry ends in a blank and the Spanish May entry is
// "mai": both are table contents.
inline constexpr TPerLanguage<TMonthNames> MonthLong = {{
    {{u"M01", u"M02", u"M03", u"M04", u"M05", u"M06", u"M07", u"M08", u"M09", u"M10", u"M11", u"M12"}},
    {{u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September",
      u"October", u"November", u"December"}},
    {{u"Jänner", u"Februar", u"März", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September",
      u"Oktober", u"November", u"Dezember"}},
    {{u"janvier", u"février ", u"mars", u"avril", u"mai", u"juin", u"juillet", u"août", u"septembre",
      u"octobre", u"novembre", u"décembre"}},
    {{u"enero", u"febrero", u"marzo", u"abril", u"mai", u"junio", u"julio", u"agosto", u"septiembre",
      u"octubre", u"noviembre", u"diciembre"}},
}};

inline constexpr TPerLanguage<TWeekDayNames> WeekDayShort = {{
    {{u"D01", u"D02", u"D03", u"D04", u"D05", u"D06", u"D07"}},
    {{u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"}},
    {{u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"}},
    {{u"lun", u"mar", u"mer", u"jeu", u"ven", u"sam", u"dim"}},
    {{u"lun", u"mar", u"mie", u"jue", u"vie", u"sab", u"dom"}},
}};

inline constexpr TPerLanguage<TWeekDayNames> WeekDayLong = {{
    {{u"D01", u"D02", u"D03", u"D04", u"D05", u"D06", u"D07"}},
    {{u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"}},
    {{u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"}},
    {{u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi", u"dimanche"}},
    {{u"lunes", u"martes", u"miércoles", u"jueves", u"viernes", u"sábado", u"domingo"}},
}};

inline constexpr TPerLanguage<TNumberWords> NumWords = {{
    {{u"N00", u"N01", u"N02", u"N03", u"N04", u"N05", u"N06", u"N07", u"N08", u"N09", u"N10", u"N11", u"N12"}},
    {{u"zero", u"one", u"two", u"three", u"four", u"five", u"six", u"seven", u"eight", u"nine", u"ten",
      u"eleven", u"twelve"}},
    {{u"null", u"eins", u"zwei", u"drei", u"vier", u"fünf", u"sechs", u"sieben", u"acht", u"neun", u"zehn",
      u"elf", u"zwölf"}},
    {{u"zéro", u"celui", u"deux", u"trois", u"quatre", u"cinq", u"six", u"sept", u"huit", u"neuf", u"dix",
      u"onze", u"douze"}},
    {{u"cero", u"uno", u"dos", u"tres", u"cuatro", u"cinco", u"seis", u"siete", u"ocho", u"nueve", u"diez",
      u"once", u"doce"}},
}};

// LanguageID[WrittenIn][Named]; "???" wherever either index is lgUnknown.
inline constexpr std::array<std::array<LangEntry, 5>, 5> LanguageID = {{
    {u"???", u"???", u"???", u"???", u"???"},
    {u"???", u"English", u"German", u"French", u"Spanish"},
    {u"???", u"englisch", u"deutsch", u"französisch", u"spanisch"},
    {u"???", u"anglais", u"allemand", u"français", u"espagnol"},
    {u"???", u"inglés", u"alemán", u"francés", u"español"},
}};

inline constexpr std::array<LangEntry, 5> ISO639_2Char = {u"??", u"en", u"de", u"fr", u"es"};
// The bibliographic three-letter forms.
inline constexpr std::array<LangEntry, 5> ISO639_3Char = {u"???", u"eng", u"ger", u"fre", u"spa"};

// The HTML 4.01 named character references of the Latin-1 characters 160..255,
// with the leading ampersand and the closing semicolon.
inline constexpr TIndexedNames<160, 255> HTMLLat1Entities = {{
    u"&nbsp;", u"&iexcl;", u"&cent;", u"&pound;", u"&curren;", u"&yen;",
    u"&brvbar;", u"&sect;", u"&uml;", u"&copy;", u"&ordf;", u"&laquo;",
    u"&not;", u"&shy;", u"&reg;", u"&macr;", u"&deg;", u"&plusmn;",
    u"&sup2;", u"&sup3;", u"&acute;", u"&micro;", u"&para;", u"&middot;",
    u"&cedil;", u"&sup1;", u"&ordm;", u"&raquo;", u"&frac14;", u"&frac12;",
    u"&frac34;", u"&iquest;", u"&Agrave;", u"&Aacute;", u"&Acirc;", u"&Atilde;",
    u"&Auml;", u"&Aring;", u"&AElig;", u"&Ccedil;", u"&Egrave;", u"&Eacute;",
    u"&Ecirc;", u"&Euml;", u"&Igrave;", u"&Iacute;", u"&Icirc;", u"&Iuml;",
    u"&ETH;", u"&Ntilde;", u"&Ograve;", u"&Oacute;", u"&Ocirc;", u"&Otilde;",
    u"&Ouml;", u"&times;", u"&Oslash;", u"&Ugrave;", u"&Uacute;", u"&Ucirc;",
    u"&Uuml;", u"&Yacute;", u"&THORN;", u"&szlig;", u"&agrave;", u"&aacute;",
    u"&acirc;", u"&atilde;", u"&auml;", u"&aring;", u"&aelig;", u"&ccedil;",
    u"&egrave;", u"&eacute;", u"&ecirc;", u"&euml;", u"&igrave;", u"&iacute;",
    u"&icirc;", u"&iuml;", u"&eth;", u"&ntilde;", u"&ograve;", u"&oacute;",
    u"&ocirc;", u"&otilde;", u"&ouml;", u"&divide;", u"&oslash;", u"&ugrave;",
    u"&uacute;", u"&ucirc;", u"&uuml;", u"&yacute;", u"&thorn;", u"&yuml;",
}};

}  // namespace kyn
