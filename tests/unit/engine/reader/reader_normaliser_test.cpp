#include "engine/reader/line_normaliser.h"

#include <gtest/gtest.h>

#include "engine/reader/text_file.h"
#include "platform/text_codec.h"

namespace maqo::engine {
namespace {

Lines normaliseAll(const Lines& in, ModuleNumbers* modules = nullptr) {
  LineNormaliser n(modules);
  Lines out;
  for (size_t i = 0; i < in.size(); ++i) out.push_back(n.normalise(in[i], i + 1 == in.size()).text);
  return out;
}

TEST(ReaderNormaliser, OneLineInOneLineOut) {
  struct Case {
    const char* what;
    Lines in;
    Lines out;
  };
  const Case cases[] = {
      {"comment outside a string", {u"x = 1 // note"}, {u"X = 1"}},
      {"comment inside a string is text", {u"print \"a // b\" // c"}, {u"PRINT \"a // b\""}},
      {"whole-line comment", {u"   // only"}, {u""}},
      {"string keeps its case", {u"msgbox(\"Hello\")"}, {u"MSGBOX(\"Hello\")"}},
      {"member names keep their case", {u"obj.Visible = true"}, {u"OBJ.Visible = TRUE"}},
      {"chained members", {u"a.Doc.Body.innerText = x.y$ + z"}, {u"A.Doc.Body.innerText = X.y$ + Z"}},
      {"continuation joins onto the last line",
       {u"A = 1 + _", u"2", u"B = 3"},
       {u"", u"A = 1 + 2", u"B = 3"}},
      {"continuation over several lines keeps the spaces before _",
       {u"s = \"a\"   _", u"\t+ \"b\" _", u"+ \"c\""},
       {u"", u"", u"S = \"a\"   + \"b\" + \"c\""}},
      {"a joined line is searched for comments again",
       {u"s = \"x _", u"y\" // z"},
       {u"", u"S = \"x y\""}},
      {"full-width spaces and tabs outside strings are spaces",
       {u"\u3000\tif\u3000a\tthen b\u3000", u"print \"\u3000\t\""},
       {u"IF A THEN B", u"PRINT \"\u3000\t\""}},
      {"control characters at the ends are trimmed", {u"\x01 x = 1 \x02"}, {u"X = 1"}},
      {"DEF_DLL keeps its case",
       {u"def_dll MessageBoxW(hwnd, wstring, wstring, dword): dword: user32.dll"},
       {u"DEF_DLL MessageBoxW(hwnd, wstring, wstring, dword): dword: user32.dll"}},
      {"PROCEDURE keeps full-width spaces",
       {u"procedure c:\\my\u3000dir\\sub.mqs()"},
       {u"PROCEDURE C:\\MY\u3000DIR\\SUB.MQS()"}},
      {"CALL keeps full-width spaces of its path",
       {u"x = 1;\u3000call\u3000c:\\my\u3000dir\\sub  "},
       {u"X = 1; CALL C:\\MY\u3000DIR\\SUB"}},
      {"TEXTBLOCK bodies are verbatim",
       {u"textblock Name // c", u"  keep // this _", u"\tAnd Case", u"endtextblock // done", u"x = 1"},
       {u"TEXTBLOCK NAME", u"  keep // this _", u"\tAnd Case", u"ENDTEXTBLOCK", u"X = 1"}},
      {"a TEXTBLOCK without a name is a block comment",
       {u"TEXTBLOCK", u"call nothing", u"ENDTEXTBLOCK"},
       {u"TEXTBLOCK", u"call nothing", u"ENDTEXTBLOCK"}},
      {"a continuation on the last line of a file is not lost",
       {u"A = 1 + _", u"  2 _"},
       {u"", u"A = 1 + 2"}},
      {"a single last line with _", {u"PRINT 1 _"}, {u"PRINT 1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(normaliseAll(c.in), c.out) << c.what;
}

TEST(ReaderNormaliser, ModulesAreNumberedInTheOrderTheyAreMet) {
  ModuleNumbers modules;
  const Lines out = normaliseAll(
      {u"module Alpha", u"endmodule", u"CLASS beta;", u"ENDCLASS", u"MODULE alpha", u"module"}, &modules);
  EXPECT_EQ(out, (Lines{u"MODULE ALPHA 0", u"ENDMODULE", u"CLASS BETA; 1", u"ENDCLASS", u"MODULE ALPHA 0", u"MODULE 2"}));
  // Without a counter (the wrapping scan) nothing is appended.
  EXPECT_EQ(normaliseAll({u"module a"}), Lines{u"MODULE A"});
}

TEST(ReaderNormaliser, AStartingFileClosesTextBlocksAndDropsPendingText) {
  LineNormaliser n;
  n.normalise(u"TEXTBLOCK T");
  EXPECT_TRUE(n.inTextBlock());
  n.startFile();
  EXPECT_FALSE(n.inTextBlock());
  EXPECT_EQ(n.normalise(u"x = _").text, u"");
  n.startFile();
  EXPECT_EQ(n.normalise(u"procedure p()").text, u"PROCEDURE P()");
}

}  // namespace
}  // namespace maqo::engine
