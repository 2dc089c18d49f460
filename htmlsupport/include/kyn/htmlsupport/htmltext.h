// HTML and URL text helpers: word counting, URL paths and percent-coding,
// character references, a page frame, and body extraction.
//
// Character references known here: the HTML 4 Latin-1 names for the codes
// 160..255 ("&nbsp;" .. "&yuml;"), the XML five ("&amp;" "&lt;" "&gt;"
// "&quot;" and "&#39;" for the apostrophe, "&apos;" being accepted when read)
// and numeric references ("&#228;", "&#xE4;"). Names are case-sensitive, as
// in HTML ("&Auml;" is not "&auml;").
#pragma once

#include <cstdint>

#include "kyn/platform/string.h"

namespace kyn {

// Counts the words of Text outside tags. A word is a run of at least two
// characters between word separators (WordSeps; ">" is one); with SkipNumbers
// a run starting with a digit does not count. "<" and ">" switch InsideTag,
// which is carried in and out so that a document can be counted piece by
// piece; a run still open at the end of Text is not counted, so pieces should
// end at a separator (a line end, for example).
int32_t CountWordsHTML(StringView Text, bool SkipNumbers, bool& InsideTag);

// Host and directory of URL: everything up to and including the first
// "http://" (any case) is removed, then the text is cut after its last "/".
// "HTTP://server/a/b.htm" gives "server/a/", "/x" gives "/". A remainder
// without any "/" has no directory and gives "".
String ExtractHTTPPath(StringView URL);

// Replaces each of ! * ( ) ; : @ & = + $ , / ? % # [ ] and the blank by "%"
// and two upper-case hexadecimal digits; all other characters are copied.
String URLEncode(StringView s);
// Resolves "%" followed by two hexadecimal digits to the character of that
// code (0..255), in two passes ("%2541" gives "A"). Anything else, "+"
// included, is copied.
String URLDecode(StringView s);

// The character as HTML text: the XML five and 160..255 as named references,
// other characters from 127 up (lone surrogates excepted) as decimal numeric
// references, everything else as the character itself. The result is ASCII.
String AnsiToHTMLEntity(char16_t c);
// Text safe to place in HTML content and quoted attribute values: each
// character as AnsiToHTMLEntity gives it; a surrogate pair becomes one
// numeric reference of its code point, a lone surrogate "&#65533;". Line ends
// and TAB are kept.
String MakeStringHTMLCompatible(StringView s);
// The character a reference stands for; the reference may be written with or
// without its "&" and ";" ("&auml;", "auml", "#228", "&#xE4;"). 0 when the
// reference is unknown, malformed, 0, a surrogate or above U+FFFF.
char16_t HTMLEntityToAnsi(StringView Entity);
// s with every known reference ("&" name or number ";") replaced by its
// character, in one pass ("&amp;lt;" gives "&lt;"). Numeric references above
// U+FFFF become surrogate pairs. Unknown, unterminated and invalid references
// (0, surrogates, above U+10FFFF) stay as they are.
String ResolveHTMLEntities(StringView s);

// The opening of an HTML5 page, lines ended by CR LF:
//   <!DOCTYPE html> <html> <head> <meta charset> <title>
//   [<meta name="description">] [<link rel="stylesheet">] </head> [<body>]
// CharSet empty gives "utf-8"; the page must be stored in that encoding. An
// empty Title gives "Untitled" (HTML5 wants a non-empty title). Description
// and StyleSheet (a URL) are left out when empty. All texts are made HTML
// compatible. OpenBody adds "<body>".
String DefaultHTMLHead(const String& Title, const String& CharSet, const String& Description,
                       const String& StyleSheet, bool OpenBody);
// The close of the page: "</body>" when CloseBody, then "</html>", each
// followed by CR LF.
String DefaultHTMLFoot(bool CloseBody);

// The content of the body element: the text after the opening "<body ...>"
// tag (any case) up to its "</body>" (or the end). Text without a body tag is
// returned whole.
String ExtractHTMLBody(StringView HTML);
// The body of HTML as plain text: tags, comments, scripts and styles are
// removed, references resolved, white space runs collapsed to one blank.
// "<br>" and the boundaries of block elements (p, div, h1-h6, li, tr, table,
// ...) give one LineBreak (consecutive breaks merge into one); table cells
// are separated by a blank. Leading and trailing blanks and breaks are
// dropped. "&nbsp;" stays character 160.
String ConvertHTMLBodyToText(StringView HTML, char16_t LineBreak);

}  // namespace kyn
