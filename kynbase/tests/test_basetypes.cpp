// Shared types: XML names, rectangle views, the error family and the progress
// globals after start-up.
#include <gtest/gtest.h>

#include "kyn/kynbase.h"

namespace {

TEST(XmlNames, BoolIsWrittenInLowerCase) {
  EXPECT_EQ(kyn::xmlVarKind[kyn::Bool], u"bool");
  EXPECT_EQ(kyn::XmlNameIndex(kyn::xmlVarKind, u"bool"), kyn::Bool);
  EXPECT_EQ(kyn::XmlNameIndex(kyn::xmlVarKind, u"Bool"), -1);
}

TEST(XmlNames, TlsimpleKeepsItsLowerCaseS) {
  EXPECT_EQ(kyn::xmlTxtLblMode[kyn::tlsimple], u"tlsimple");
  EXPECT_EQ(kyn::XmlNameIndex(kyn::xmlTxtLblMode, u"tlsimple"), kyn::tlsimple);
  EXPECT_EQ(kyn::XmlNameIndex(kyn::xmlTxtLblMode, u"tlSimple"), -1);
}

TEST(XmlNames, TablesHaveOneEntryPerValue) {
  EXPECT_EQ(kyn::xmlMouseActMode.size(), static_cast<size_t>(kyn::maZoomPanColors) + 1);
  EXPECT_EQ(kyn::xmlMouseActMode[kyn::maZoomPanColors], u"maZoomPanColors");
  EXPECT_EQ(kyn::xmlFrameStyle.size(), static_cast<size_t>(kyn::fsEngraved) + 1);
  EXPECT_EQ(kyn::xmlFontStyle[kyn::fsStrikeOut], u"fsStrikeOut");
}

TEST(RectDouble, CornerViewsShareTheFields) {
  kyn::TRectDouble r{1, 2, 3, 4};
  r.TopLeft().X = 10;
  r.BottomRight().Y = 40;
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Bottom, 40);
  EXPECT_EQ(r.TopLeft().Y, 2);
  EXPECT_EQ(r.BottomRight().X, 3);
}

TEST(ErrorFamily, ModuleErrorsAreCaughtAsLibraryErrors) {
  bool caught = false;
  try {
    throw kyn::EKYNColArrayError(u"bad colour array");
  } catch (const kyn::EKYNError& e) {
    caught = true;
    EXPECT_EQ(e.Message(), u"bad colour array");
  }
  EXPECT_TRUE(caught);
}

TEST(ErrorFamily, ComponentMessageForm) {
  kyn::TComponent c(nullptr);
  c.SetName(u"Grid1");
  EXPECT_EQ(kyn::ComponentMessage(c, u"not enough memory on heap"),
            u"Component \"Grid1\": not enough memory on heap");
}

TEST(ProgressGlobals, ClearedAfterStartup) {
  kyn::EnsureModulesStarted();
  EXPECT_EQ(kyn::ProcStat, 0.0);
  EXPECT_EQ(kyn::LastProcStat, 0.0);
  EXPECT_FALSE(kyn::AbortMathProc);
  EXPECT_EQ(kyn::MathFeedBackProc, nullptr);
}

}  // namespace
