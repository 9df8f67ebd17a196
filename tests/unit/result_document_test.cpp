#include "output/result_document.h"

#include <gtest/gtest.h>

#include "output/print_field.h"
#include "output/xml_text.h"

namespace tavorine {
namespace {

std::string OneChannelDocument(OutputMode mode, std::string_view unit) {
  ResultDocument document(mode);
  document.DocOpen();
  document.DocTextOpen();
  document.AppendText("message");
  document.DocTextClose();
  document.DocChannel("Abap Tables missing", "3", unit);
  document.DocClose();
  return document.Text();
}

TEST(ResultDocument, XmlFormIsTheSameInItsThreeModes) {
  const std::string expected =
      "\n<Prtg>\n\n<Text>message</Text>\n\n<Result><Channel>Abap Tables missing</Channel>\n<Value>3</Value></Result>\n"
      "\n</Prtg>\n";
  for (const OutputMode mode : {OutputMode::EXEXML, OutputMode::Glimmet, OutputMode::Tolvane}) {
    EXPECT_EQ(OneChannelDocument(mode, ""), expected);
  }
}

TEST(ResultDocument, UnitWritesCustomUnitElementsUnchanged) {
  const std::string withUnit = OneChannelDocument(OutputMode::EXEXML, "PerCent");
  EXPECT_NE(withUnit.find("</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n<Value>3</Value>"),
            std::string::npos);
  EXPECT_NE(OneChannelDocument(OutputMode::EXEXML, "%").find("<CustomUnit>%</CustomUnit>"), std::string::npos);
}

TEST(ResultDocument, ErrorEnvelopeReplacesEverythingInEveryMode) {
  for (const OutputMode mode : {OutputMode::EXEXML, OutputMode::Corvanta, OutputMode::Brantle}) {
    ResultDocument document(mode);
    document.DocOpen();
    document.DocChannel("a", "1", "");
    document.DocError("Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(document.Text(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n");
  }
}

TEST(ResultDocument, DocOpenReplaces) {
  ResultDocument document(OutputMode::EXEXML);
  document.DocOpen();
  document.DocOpen();
  EXPECT_EQ(document.Text(), "\n<Prtg>\n");
}

TEST(ResultDocument, InsertedTextsAreEscapedInTheXmlForm) {
  ResultDocument document(OutputMode::EXEXML);
  document.DocOpen();
  document.DocTextOpen();
  document.AppendText("a&b<c>");
  document.DocTextClose();
  document.DocChannel("x<y", "1&2", "u>v");
  EXPECT_EQ(document.Text(),
            "\n<Prtg>\n\n<Text>a&amp;b&lt;c&gt;</Text>\n\n<Result><Channel>x&lt;y</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>u&gt;v</CustomUnit>\n<Value>1&amp;2</Value></Result>\n");
  document.DocError("trace says <bad> & \x01worse\n");
  EXPECT_EQ(document.Text(), "<Prtg>\n<Error>1</Error>\n<Text>trace says &lt;bad&gt; &amp;  worse </Text>\n</Prtg>\n");
}

TEST(ResultDocument, PlainTextFormsAreNotEscaped) {
  ResultDocument document(OutputMode::Brantle);
  document.DocChannel("a&b", "<1>", "");
  EXPECT_EQ(document.Text(), "\n> a&b: <1> #");
}

// Texts arrive in the platform's narrow encoding: UTF-8 here, the ANSI code
// page on Windows (the Windows tests run Wine with code page 1252).
TEST(XmlText, CharactersBeyondAsciiBecomeReferencesBrokenBytesQuestionMarks) {
  EXPECT_EQ(EscapeXmlText("tab\tok & <1>\x7F"), "tab\tok &amp; &lt;1&gt; ");
  EXPECT_EQ(EscapeXmlText(std::string("a\0b", 3)), "a b");
#ifdef _WIN32
  EXPECT_EQ(EscapeXmlText("K\xE4se \x80"), "K&#228;se &#8364;");
#else
  EXPECT_EQ(EscapeXmlText("K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x98\x80"), "K&#228;se &#8364; &#128512;");
  EXPECT_EQ(EscapeXmlText("\xEF\xBF\xBE"), "?");
  EXPECT_EQ(EscapeXmlText("K\xE4se"), "K?se");
  EXPECT_EQ(EscapeXmlText("\xE2\x82"), "??");
  EXPECT_EQ(EscapeXmlText("\xED\xA0\x80"), "???");
#endif
}

// What the monitor shows of a text: at most 2,000 characters, "..." last, cut
// before a reference that would not fit whole.
TEST(XmlText, LongTextsAreCutAtACharacter) {
  const std::string fits(2000, 'a');
  EXPECT_EQ(WithinTextLimit(fits, true), fits);
  EXPECT_EQ(WithinTextLimit(fits + "b", true), std::string(1997, 'a') + "...");
  const std::string before(1990, 'a');
  EXPECT_EQ(EscapeXmlText(WithinTextLimit(before + "&&&", true)), before + "&amp;...");
  EXPECT_EQ(WithinTextLimit(before + "&&&", false), before + "&&&");
  EXPECT_EQ(WithinTextLimit(std::string(2001, 'a'), false), std::string(1997, 'a') + "...");
}

TEST(PrintField, PadsTheLabelToTheWidth) {
  EXPECT_EQ(PrintField("key", 0, 15, "abc"), "key             : abc\n");
  EXPECT_EQ(PrintField("internal status", 0, 15, "x"), "internal status : x\n");
  EXPECT_EQ(PrintField("operation/code", 0, 15, "ItCreate MISS_VIEWS"), "operation/code  : ItCreate MISS_VIEWS\n");
  EXPECT_EQ(PrintField("key", 4, 15, ""), "    key             : \n");
  EXPECT_EQ(PrintField("a label longer than width", 0, 15, "v"), "a label longer than width : v\n");
}

}  // namespace
}  // namespace tavorine
