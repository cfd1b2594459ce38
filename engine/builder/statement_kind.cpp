#include "engine/builder/statement_kind.h"

#include <array>
#include <utility>

namespace maqo::engine {

StatementKind kindOfFirstWord(std::u16string_view word) {
  using K = StatementKind;
  static constexpr std::array<std::pair<std::u16string_view, K>, 34> kWords{{
      {u"IFB", K::IfBlock},          {u"ELSEIF", K::IfBlock},       {u"ENDIF", K::EndIf},
      {u"ELSE", K::Else},            {u"FOR", K::For},              {u"NEXT", K::Next},
      {u"WHILE", K::While},          {u"WEND", K::Wend},            {u"REPEAT", K::Repeat},
      {u"UNTIL", K::Until},          {u"SELECT", K::Select},        {u"SELEND", K::Selend},
      {u"CASE", K::Case},            {u"DEFAULT", K::Default},      {u"TRY", K::Try},
      {u"FINALLY", K::Finally},      {u"EXCEPT", K::Except},        {u"ENDTRY", K::EndTry},
      {u"PRINT", K::Print},          {u"THREAD", K::Thread},        {u"DEF_DLL", K::DefDll},
      {u"DIM", K::Dim},              {u"HASHTBL", K::HashTbl},      {u"BREAK", K::Break},
      {u"CONTINUE", K::Continue},    {u"EXIT", K::Exit},            {u"CALL", K::CallFile},
      {u"EXITEXIT", K::ExitExit},    {u"WITH", K::With},            {u"ENDWITH", K::EndWith},
      {u"COM_ERR_IGN", K::ComErrIgnore}, {u"COM_ERR_RET", K::ComErrReport}, {u"FEND", K::Fend},
      {u"__DF_MAQO_SYNTAX_NOP__", K::Nop},
  }};
  for (const auto& [text, kind] : kWords)
    if (text == word) return kind;
  return K::Unclassified;
}

}  // namespace maqo::engine
