// Light-weight reading of the library's small XML-like files: attribute
// values out of an attribute text, and tags one at a time from a byte stream
// or a text file. This is not an XML parser; the grammar it accepts is small
// and exact, and stored files depend on its limits.
#pragma once

#include <cstdint>

#include "kyn/kynbase/types.h"
#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"
#include "kyn/platform/textfile.h"

namespace kyn {

// Result codes of one name=value scan of an attribute text.
constexpr int32_t xacOk = 0;          // a pair was read
constexpr int32_t xacQuoteInName = 1; // a double quote inside a name
constexpr int32_t xacDoubleEquals = 2;  // a second equals sign before the value
constexpr int32_t xacEqualsInValue = 3; // an equals sign inside an unquoted value
constexpr int32_t xacNothingLeft = 4; // the text is used up

// One name=value pair of AttribText from the 1-based position Pos, which is
// advanced past the pair. Only blank, double quote and equals are special
// (TAB and line ends are ordinary characters); a value is quoted (may hold
// blanks and equals signs, an unterminated quote runs to the end) or unquoted
// (ends at a blank or a quote). Name is trimmed of blanks; Value is kept as it
// stands. Returns one of the xac codes above.
int32_t ScanXMLAttribPair(StringView AttribText, int32_t& Pos, String& Name, String& Value);

// The value of the attribute AttribName (ASCII case ignored) in AttribText;
// the first matching pair wins. Empty when the attribute is absent, when its
// value is empty, and when a malformed pair comes before it.
String ScanForXMLAttrib(StringView AttribText, StringView AttribName);

// Reads the next tag and tells which entry of TagList it is: the index of the
// first entry equal to the tag name folded to lower case (entries must be
// lower case), or the last index when none is equal. Closing tags ("/name"),
// the end of the input and unknown tags thus give the last index.
//
// Markup beginning with "<!" (comments, declarations) is skipped up to its
// first ">". Attributes receives the text after the name, trimmed of blanks,
// without the closing ">" or "/>". The name ends at the first blank only.
// For an opening tag that is not self-closing, EnclosedText receives
// everything up to the first "</name>" (any letter case, no blanks), which is
// consumed; nested markup, case and line ends are kept verbatim, and a nested
// element of the same name ends the outer one early. Without its end tag the
// element runs to the end of the input.
//
// An empty TagList raises EKYNError before anything is read. The enclosed
// text is searched as it arrives, so the work is linear in its length.
int32_t ReadNextTagInStream(TStream& InStream, const TStrArray& TagList, String& Attributes,
                            String& EnclosedText);
// The same on a text file open for reading; the file's I/O errors propagate.
int32_t ReadNextTagInTextFile(TTextFile& InFile, const TStrArray& TagList, String& Attributes,
                              String& EnclosedText);

}  // namespace kyn
