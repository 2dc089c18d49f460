// THtmlProducer: copies an HTML template and lets a callback replace each
// special tag of the form <#name parameters>.
//
// Tag syntax: a tag begins where "<" is directly followed by "#" and ends at
// the next ">" (or, without one, at the template's last character). Its name
// is the text after "<#" up to the first blank or the tag's last character,
// folded to lower case (A-Z only); its parameters are the text between that
// blank and the last character, trimmed of blanks. In "<#Date  format=long >"
// the name is "date" and the parameters "format=long". A "<" inside a tag has
// no meaning, and text returned by the callback is not scanned again.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "kyn/platform/classes.h"
#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"
#include "kyn/platform/textfile.h"

namespace kyn {

// Replacement holds the whole tag text on entry; what it holds on return takes
// the tag's place.
using TOnHTMLTagEvent =
    std::function<void(TObject* Sender, const String& TagName, const String& Params, String& Replacement)>;

class THtmlProducer : public TComponent {
 public:
  explicit THtmlProducer(TComponent* AOwner);
  ~THtmlProducer() override;
  String ClassName() const override { return u"THtmlProducer"; }

  const String& Template() const { return FTemplate; }
  void SetTemplate(const String& Value) { FTemplate = Value; }
  // The result of the last Convert.
  const String& ConvertedHTML() const { return FConvertedHTML; }
  const TOnHTMLTagEvent& OnHTMLTag() const { return FOnHTMLTag; }
  void SetOnHTMLTag(TOnHTMLTagEvent Value) { FOnHTMLTag = std::move(Value); }

  // Copies the template, handing each tag to OnHTMLTag (tags stay as they are
  // without a callback), stores the result in ConvertedHTML and returns it.
  // The template is not changed. An exception of the callback passes out; the
  // result built so far then stays in ConvertedHTML.
  String Convert();

  // A stream holding ConvertedHTML in the given encoding (Windows-1252 turns
  // characters outside it into "?"), positioned at 0. The producer owns it:
  // it stays valid until the next call of this function or the producer's
  // destruction, and the caller must not delete it.
  TStream* ConvertedHTMLAsStream(TTextEncoding Encoding = TTextEncoding::Windows1252);

  // Replaces the template by the lines of the text file, each followed by
  // CR LF. A file that cannot be opened or read raises the platform's I/O
  // error and leaves the template unchanged.
  void ReadTemplateFromFile(const String& FName, TTextEncoding Encoding = TTextEncoding::Windows1252);
  // Replaces the template by the whole content of InStream, read from its
  // start one byte per character (see StreamAsString).
  void ReadTemplateFromStream(TStream& InStream);
  // Writes ConvertedHTML unchanged to the text file FName (created or
  // replaced), with no line end added. Windows-1252 turns characters outside
  // it into "?"; I/O failures raise the platform's error.
  void WriteConvertedHTMLToFile(const String& FName, TTextEncoding Encoding = TTextEncoding::Windows1252);

 private:
  String FTemplate;
  TOnHTMLTagEvent FOnHTMLTag;
  int32_t FSPos = 0;  // scan position of Convert (1-based; the template length afterwards)
  String FConvertedHTML;
  std::unique_ptr<TStream> FStrStream;
};

}  // namespace kyn
