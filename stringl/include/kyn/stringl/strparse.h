// Small parsers on strings: quoted names, parameter lists, line/column
// coordinates and XML-like tags.
#pragma once

#include <cstdint>

#include "kyn/kynbase/types.h"
#include "kyn/platform/string.h"

namespace kyn {

// State of ParseQuotedName.
enum TQuotedStrState : uint8_t {
  vsStart,     // no character of the name read yet
  vs1stQuote,  // inside a quoted name (after its opening quote)
  vsQuote,     // a quote read inside a quoted name: closing or first of a pair
  vsNormal,    // inside an unquoted name
  vsEnd        // the name is complete
};

// Parses a name one character at a time: feed the characters of a text in
// order with State starting at vsStart and stop once State is vsEnd.
// - vsStart skips blanks and control characters; a Quote starts a quoted
//   name, any other character an unquoted one (Name is cleared when the name
//   starts).
// - A quoted name takes every character up to the closing Quote; a doubled
//   Quote inside stands for one Quote character.
// - An unquoted name ends at a blank or a control character.
// The character that completes the name (the blank, or the character after
// the closing quote) is not part of it. Once in vsEnd nothing changes. If the
// text ends first, Name holds what was read.
void ParseQuotedName(char16_t Ch, char16_t Quote, String& Name, TQuotedStrState& State);

// Parameter number Index (from 0) of a list such as ` 12, "a, b" ,x` separated
// by Delimiter. Text between Quote characters is taken literally (delimiters
// and blanks included, a doubled Quote inside stands for one) and the quotes
// are removed; blanks outside quotes at either end of a parameter are
// removed. Default is returned when Index < 0, when there is no such
// parameter, or when it is empty and holds no quotes (so `""` gives "").
// A Quote of code 0 or equal to Delimiter disables quoting.
String ExtractParam(StringView Params, int32_t Index, char16_t Delimiter, char16_t Quote, StringView Default);

// Line and column (both from 1) of the character at Position in s. CR LF, LF
// and a lone CR each end one line; a line-end character belongs to the line
// it ends. Position may be Length(s) + 1 (just after the text). Outside
// 1..Length(s)+1 both are set to 0.
void TextLineCoords(StringView s, int32_t Position, int32_t& Line, int32_t& Column);

// Reads the next tag from s starting at Position, exactly as the stream
// module's tag reader does on a stream (one character per byte read):
// "<!...>" markup is skipped, a self-closing tag yields its attribute text,
// an opening tag also its enclosed text up to the matching "</name>" (any
// letter case), which is consumed. The tag name folded to ASCII lower case is
// looked up in Tags (entries in lower case); the result is the index of the
// first equal entry, or the last index when none is equal (also for a closing
// tag and at the end of s). Position is left after what was read. A Position
// below 1 counts as 1. An empty Tags gives -1 and reads nothing.
int32_t ReadNextTagInString(StringView s, int32_t& Position, const TStrArray& Tags, String& AttribText,
                            String& Enclosed);

// Finds the next tag at or after Position without reading what it encloses,
// so a caller can walk nested markup. "<!...>" markup is skipped. TagStart is
// set to the position of its "<" and Position to just after its ">" (or past
// the end of s when the tag is not closed). AttribText is the text after the
// name without the closing ">" or "/>", blanks trimmed. EndTag is true for a
// closing tag "</name>", whose name is looked up without the "/". The result
// is the index in Tags as for ReadNextTagInString; -1 when no tag follows
// (TagStart 0, Position past the end) or Tags is empty (nothing changes).
int32_t DetectNextTagInString(StringView s, int32_t& Position, int32_t& TagStart, const TStrArray& Tags,
                              String& AttribText, bool& EndTag);

}  // namespace kyn
