#include "kyn/htmlsupport/htmlproducer.h"

#include "kyn/streams/streamio.h"
#include "kyn/stringl/strings.h"

namespace kyn {

THtmlProducer::THtmlProducer(TComponent* AOwner) : TComponent(AOwner) {}

THtmlProducer::~THtmlProducer() = default;

String THtmlProducer::Convert() {
  FSPos = 0;
  FConvertedHTML.clear();
  const int32_t len = static_cast<int32_t>(FTemplate.size());
  while (FSPos < len) {
    ++FSPos;
    const char16_t c = FTemplate[static_cast<size_t>(FSPos - 1)];
    if (c != u'<' || FSPos == len || FTemplate[static_cast<size_t>(FSPos)] != u'#') {
      FConvertedHTML += c;
      continue;
    }
    // The tag runs from FSPos to e (both 1-based, inclusive).
    const size_t gt = FTemplate.find(u'>', static_cast<size_t>(FSPos - 1));
    const int32_t e = gt == String::npos ? len : static_cast<int32_t>(gt) + 1;
    const StringView tagText = StringView(FTemplate).substr(static_cast<size_t>(FSPos - 1),
                                                           static_cast<size_t>(e - FSPos + 1));
    // The name starts after "<#" and ends before the first blank or the last character.
    const size_t last = tagText.size() - 1;
    const size_t blank = tagText.find(u' ', 2);
    const size_t nameEnd = blank == StringView::npos || blank > last ? last : blank;
    const String name = AsciiLowerCase(tagText.substr(2, nameEnd > 2 ? nameEnd - 2 : 0));
    String params;
    if (blank != StringView::npos && blank < last) params = StripLTBlanks(tagText.substr(blank + 1, last - blank - 1));
    String replacement(tagText);
    if (FOnHTMLTag) FOnHTMLTag(this, name, params, replacement);
    FConvertedHTML += replacement;
    FSPos = e;
  }
  return FConvertedHTML;
}

TStream* THtmlProducer::ConvertedHTMLAsStream(TTextEncoding Encoding) {
  FStrStream.reset();
  const std::string bytes =
      Encoding == TTextEncoding::Utf8 ? StringToUtf8(FConvertedHTML) : StringToAnsi(FConvertedHTML);
  FStrStream = std::make_unique<TStringStream>(bytes);
  FStrStream->SetPosition(0);
  return FStrStream.get();
}

void THtmlProducer::ReadTemplateFromFile(const String& FName, TTextEncoding Encoding) {
  TTextFile f;
  f.SetEncoding(Encoding);
  f.Reset(FName);
  String text;
  while (!f.Eof()) {
    text += f.ReadLn();
    text += u"\r\n";
  }
  f.Close();
  FTemplate = std::move(text);
}

void THtmlProducer::ReadTemplateFromStream(TStream& InStream) {
  InStream.SetPosition(0);
  FTemplate = StreamAsString(InStream);
}

void THtmlProducer::WriteConvertedHTMLToFile(const String& FName, TTextEncoding Encoding) {
  TTextFile f;
  f.SetEncoding(Encoding);
  f.Rewrite(FName);
  f.Write(FConvertedHTML);
  f.Close();
}

}  // namespace kyn
