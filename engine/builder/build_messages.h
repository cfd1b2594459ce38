// The builder's messages, each in English and Japanese, and the error-marker
// form in which line errors are written into the program.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"
#include "platform/text_codec.h"

namespace maqo::engine {

// A program line that carries a build error starts with this marker.
inline constexpr std::u16string_view kErrorMarker = u"__MAQO_ERROR_ARI__";
// The empty statement.
inline constexpr std::u16string_view kNopLine = u"__DF_MAQO_SYNTAX_NOP__";

inline bool isErrorLine(std::u16string_view line) { return line.substr(0, kErrorMarker.size()) == kErrorMarker; }
inline std::u16string errorLine(const Message& message, bool japanese) {
  return std::u16string(kErrorMarker) + message.in(japanese);
}

namespace build_messages {

inline Message same(std::u16string text) { return Message{std::move(text), {}}; }
inline Message syntaxError(int code) { return same(u"SyntaxError-" + u16(std::to_string(code))); }

// Block structure.
inline Message elseWithText() { return {u"ELSE: SyntaxError", u"ELSE行に記述がある"}; }
inline Message elseTwice() { return {u"ELSE Multiplex definition", u"ELSE多重定義"}; }
inline Message noEndIf() { return {u"It doesn't have ENDIF toward IFB", u"IFB に対しENDIF が無い"}; }
inline Message noSelend() { return {u"It doesn't have SELEND toward SELECT", u"SELECT に対し SELEND が無い"}; }
inline Message defaultTwice() { return {u"DEFAULT Multiplex definition", u"DEFAULT 多重定義 or SyntaxError"}; }
inline Message forWithoutEquals() { return {u"It doesn't have \"=\"", u"\"IN\" もしくは \"=\" 指定が無い"}; }
inline Message forWithoutIn() { return {u"It doesn't have \"IN\"", u"\"IN\" もしくは \"=\" 指定が無い"}; }
inline Message forWithoutVariable() { return {u"SyntaxError-50", u"変数が無い"}; }
inline Message forInWithoutVariable() { return {u"SyntaxError-51", u"変数が無い"}; }
inline Message forWithoutTo() { return {u"It doesn't have \"TO\"", u"TOが無い"}; }
inline Message nextWithText() { return {u"Must describe nothing to NEXT", u"NEXT の後に記述はできません"}; }
inline Message noNext() { return {u"It doesn't have NEXT toward FOR", u"FORに対しNEXTが無い"}; }
inline Message noWend() { return {u"It doesn't have WEND toward WHILE", u"WHILE に対しWEND が無い"}; }
inline Message repeatWithText() { return {u"Something is here after REPEAT", u"REPEAT の後に記述はできません"}; }
inline Message noUntil() {
  return {u"It doesn't have REPEAT toward UNTIL", u"UNTIL に対し REPEAT が無いか式定義が無い"};
}
inline Message tryWithText() { return {u"Something is here after TRY", u"TRY の後に記述はできません"}; }
inline Message noHandler() {
  return {u"It doesn't have FINALLY or EXCEPT toward TRY", u"TRY に対し FINALLY, EXCEPT が無い"};
}
inline Message tryStepsOver() {
  return {u"TRY steps over the loop or block",
          u"TRY がループかブロックを跨いでいる、もしくはブロックの対応が取れていない"};
}
inline Message noEndTry() {
  return {u"It doesn't have ENDTRY toward FINALLY or EXCEPT", u"FINALLY, EXCEPT に対し ENDTRY が無い"};
}
inline Message handlerStepsOver() {
  return {u"FINALLY or EXCEPT steps over the loop or block", u"FINALLY or EXCEPT がループもしくはブロックを跨いでいる"};
}
inline Message jumpInFinally() {
  return {u"\"Break\", \"Continue\", and \"Exit\" cannot be used in the part FINALLY",
          u"FINALLY部では Break, Continue, Exit は使えません"};
}
inline Message noCorresponding(std::u16string_view opener) {
  return {u"No corresponding " + std::u16string(opener), u"対応する " + std::u16string(opener) + u" が無い"};
}

// Single-line IF.
inline Message ifLineWithSemicolon() {
  return {u"The multi-declaration of the IF line is NG", u"IF行のマルチ宣言はNG"};
}
inline Message thenMissing() { return same(u"THEN: SyntaxError"); }

// Functions, modules, text blocks.
inline Message resultInProcedure(std::u16string_view name) {
  return {u"There is RESULT: " + std::u16string(name), u"PROCEDURE " + std::u16string(name) + u": Resultは無効です"};
}
inline Message noResult(std::u16string_view name) {
  return {u"It doesn't have RESULT: " + std::u16string(name), std::u16string(name) + u": Resultが無い"};
}
inline Message functionNested(std::u16string_view name) {
  return {u"Function/Procedure is nest or not closed: " + std::u16string(name),
          std::u16string(name) + u": 関数が入れ子しているか、閉じていません"};
}
inline Message badFunctionName(std::u16string_view name) { return same(u"SyntaxError-36:" + std::u16string(name)); }
inline Message functionTwice(std::u16string_view name) {
  return {u"It is multiplex definition: " + std::u16string(name), std::u16string(name) + u": 多重定義です"};
}
inline Message moduleNested() { return {u"MODULE is multiplexing", u"MODULEが多重化している"}; }
inline Message prohibitedModuleName(std::u16string_view name) {
  return same(u"prohibition word: " + std::u16string(name));
}
inline Message moduleTwice() { return {u"It is multiplex definition", u"多重定義です"}; }
inline Message moduleNotClosed(std::u16string_view name) {
  return {u"ENDMODULE(ENDCLASS) is not defined: MODULE(CLASS)" + std::u16string(name),
          u"MODULE(CLASS) " + std::u16string(name) + u" に対しENDMODULE(ENDCLASS)の定義が無い"};
}
inline Message textBlockNotClosed() { return {u"ENDTEXTBLOCK is not defined", u"ENDTEXTBLOCKの定義が無い"}; }
inline Message endTextBlockAlone() {
  return {u"It doesn't pair with \"TEXTBLOCK\"", u"TEXTBLOCK文と対になっていない"};
}
inline Message constructorWithArguments() {
  return {u"Argument is not put on the constructor function", u"コンストラクタ関数に引数は付けられません"};
}
inline Message buildFailed(std::u16string_view what) { return same(u"SyntaxError(FReLoad):" + std::u16string(what)); }

// Declarations.
inline Message optionError() { return {u"OPTION:SyntaxError", u"OPTION指定に間違いがあります"}; }
inline Message dllSyntax(std::u16string_view token) {
  return {u"DEF_DLL:SyntaxError:" + std::u16string(token), u"DEF_DLLの定義に間違いがあります:" + std::u16string(token)};
}
inline Message dllArray(std::u16string_view token) {
  return {std::u16string(token) + u" cannot specify the array", std::u16string(token) + u" は配列指定できません"};
}

}  // namespace build_messages
}  // namespace maqo::engine
