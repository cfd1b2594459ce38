#include "engine/builder/program_builder.h"

#include <exception>

#include "engine/builder/block_structure.h"
#include "engine/builder/build_messages.h"
#include "engine/builder/builder_text.h"
#include "engine/builder/dll_declaration.h"
#include "engine/builder/line_rewrites.h"
#include "engine/builder/single_line_if.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

namespace msg = build_messages;

class ProgramBuilder {
 public:
  ProgramBuilder(Program& program, const BuildContext& context)
      : p_(program), store_(context.store), host_(context.host), japanese_(context.japanese) {}

  void build(const std::vector<std::u16string>& lines) {
    p_.ScriptLines.reserve(lines.size());
    p_.Records.reserve(lines.size());
    p_.SourceRefs.reserve(lines.size());
    p_.SourceOf.reserve(lines.size());
    for (const auto& line : lines) addSourceLine(line);
    if (inModule_) return report(msg::moduleNotClosed(module_));
    if (textBlock_.open) return report(msg::textBlockNotClosed());
    CheckBlockStructure(p_, scopes_, japanese_);
    checkConstructors();
  }

  void report(const Message& message) { report(message, buildLine_); }
  void report(const Message& message, const std::u16string& lineText) {
    p_.DirectErrorReported = true;
    host_.reportBuildError(message, lineText);
  }

 private:
  // ---- the first pass: source lines into program lines ----

  void addSourceLine(const std::u16string& source) {
    numberSourceLine(source);
    if (textBlock_.open) return addTextBlockLine(source);
    std::u16string line = NormaliseEscapes(source);
    if (!RewriteMemberChains(line) || line == kErrorMarker) return addErrorLine(msg::syntaxError(45));
    if (startsWith(line, u"DEF_DLL ") || (!startsWith(line, u"IF ") && !containsOutsideQuotes(line, u';')))
      return addLine(std::move(line));
    if (startsWith(line, u"IF ")) return addSingleLineIf(line);
    addStatements(line);
  }

  // The file line number of the source line: counted from each file's header
  // (which gets 0); the FEND the reader inserted after a file's main part is
  // not one of the file's lines.
  void numberSourceLine(const std::u16string& source) {
    ++sourceCounter_;
    if (!textBlock_.open) {
      if (startsWith(source, u"PROCEDURE ") && endsWith(source, u".MQS()")) {
        sourceCounter_ = 1;
        sourceOffset_ = 1;
        awaitingInsertedFend_ = true;
      } else if (awaitingInsertedFend_ && firstWordOf(source) == u"FEND") {
        sourceOffset_ = 2;
        awaitingInsertedFend_ = false;
      }
    }
    p_.SourceRefs.push_back(ScrambleSourceRef(u16(std::to_string(sourceCounter_ - sourceOffset_)) + u"," + source));
  }

  void addTextBlockLine(const std::u16string& line) {
    // Only a closing line may carry more statements.
    if (line.find(u';') != std::u16string::npos &&
        (startsWith(line, u"ENDTEXTBLOCK;") || startsWith(line, u"ENDTEXTBLOCK ")))
      return addStatements(line);
    addLine(line);
  }

  // A line split at its top-level ";".
  void addStatements(const std::u16string& line) {
    const auto parts = SplitAll(line, u";");
    std::vector<std::u16string> statements;
    for (const auto& part : parts)
      if (std::u16string statement = Trim(part); !statement.empty()) statements.push_back(std::move(statement));
    for (size_t i = 0; i < statements.size(); ++i) {
      const bool wasOpen = textBlock_.open;
      if (!textBlock_.open && startsWith(statements[i], u"IF "))
        addSingleLineIf(statements[i]);
      else
        addLine(statements[i]);
      // A text block opened in the middle of a line cannot take the rest of it.
      if (!wasOpen && textBlock_.open && i + 1 < statements.size()) return addErrorLine(msg::syntaxError(46));
    }
  }

  void addSingleLineIf(const std::u16string& line) {
    buildLine_ = line;
    // At module level a statement can never run; the line is an error like
    // any other statement there.
    if (moduleLevel()) {
      addErrorLine(msg::syntaxError(40));
      return addModuleErrorEntry(lastLine());
    }
    SingleLineIf parsed = ParseSingleLineIf(line);
    if (!parsed.error && function_.open && hasResultToken(line)) {
      if (function_.kind == FunctionKind::Procedure)
        parsed.error = msg::resultInProcedure(function_.name);
      else
        function_.hasResult = true;
    }
    if (parsed.error) return addErrorLine(*parsed.error);
    appendLine(u"IFB " + parsed.condition);
    if (!parsed.hasParts) return;
    appendLine(parsed.thenPart.empty() ? std::u16string(kNopLine) : parsed.thenPart);
    appendLine(u"ELSE");
    appendLine(parsed.elsePart.empty() ? std::u16string(kNopLine) : parsed.elsePart);
    appendLine(u"ENDIF");
  }

  // Adds a program line without processing it.
  int appendLine(std::u16string text) {
    p_.ScriptLines.push_back(std::move(text));
    p_.Records.emplace_back();
    p_.SourceOf.push_back(static_cast<uint32_t>(p_.SourceRefs.size() - 1));
    scopes_.functionEnd.push_back(false);
    scopes_.functionStart.push_back(false);
    return lastLine();
  }
  int lastLine() const { return p_.lineCount() - 1; }

  void addErrorLine(const Message& message) {
    const int q = appendLine({});
    setLineError(q, message);
  }

  void addLine(std::u16string text) { processLine(appendLine(std::move(text))); }

  std::u16string& text(int q) { return p_.ScriptLines[static_cast<size_t>(q)]; }

  // A line error; written outside any function it would never be reached by
  // the check pass, so such lines get a pseudo-entry that leads there.
  void setLineError(int q, const Message& message) {
    text(q) = errorLine(message, japanese_);
    p_.Records[static_cast<size_t>(q)].error = true;
    if (!function_.open) addModuleErrorEntry(q);
  }

  void addModuleErrorEntry(int q) {
    const std::u16string name = u"CLASS " + module_;
    if (p_.FuncNames.contains(name)) return;
    p_.FuncNames.add(name);
    p_.FuncEntries.push_back({FunctionKind::Procedure, q > 0 ? q - 1 : 0, module_});
  }

  bool moduleLevel() const { return inModule_ && !function_.open; }

  std::u16string qualify(std::u16string_view name) const {
    return inModule_ ? module_ + u"." + std::u16string(name) : std::u16string(name);
  }

  // ---- one program line as it is added ----

  void processLine(int q) {
    std::u16string& line = text(q);
    if (!textBlock_.open && line.empty()) return;
    buildLine_ = line;
    const std::u16string word(firstWordOf(line));
    if (word == u"ENDTEXTBLOCK" && line.size() > word.size()) return setLineError(q, msg::syntaxError(30));
    if (textBlock_.open) return textBlockBody(q);
    if (line == u"ENDTEXTBLOCK") return setLineError(q, msg::endTextBlockAlone());
    if (word == u"TEXTBLOCK") return openTextBlock(q);
    if (word == u"MODULE" || word == u"CLASS") return openModule(q);
    if (word == u"ENDMODULE" || word == u"ENDCLASS") return closeModule(q);
    if (word == u"FUNCTION" || word == u"PROCEDURE") return openFunction(q, word);
    if (word == u"FEND") return closeFunction(q);
    if (function_.open && hasResultToken(word)) {
      if (function_.kind == FunctionKind::Procedure) return setLineError(q, msg::resultInProcedure(function_.name));
      function_.hasResult = true;
    }
    if (word == u"CONST") return declareConst(q);
    if (word == u"PUBLIC" || (word == u"DIM" && moduleLevel())) return declareGlobals(q, word == u"DIM");
    if (word == u"HASHTBL" && moduleLevel()) {
      const std::u16string list(afterFirstWord(line));
      line.clear();
      return declareHashTables(q, list, true);
    }
    if (moduleLevel() && word != u"DEF_DLL") return setLineError(q, msg::syntaxError(40));
    if (word == u"OPTION") return applyOption(q);
    if (word == u"DEF_DLL") return declareDll(q);
  }

  // ---- text blocks ----

  void openTextBlock(int q) {
    std::u16string name;
    if (!splitDeclaredName(afterFirstWord(text(q)), u" ,+*/=<>()![]?", name))
      return setLineError(q, msg::syntaxError(31));
    text(q).clear();
    textBlock_ = {};
    textBlock_.open = true;
    if (name.empty()) return;  // a block comment
    const std::u16string qualified = qualify(name);
    if (auto error = store_.DeclareTextBlockName(qualified)) return setLineError(q, *error);
    textBlock_.index = store_.TextBlockNames.indexOf(qualified);
  }

  void textBlockBody(int q) {
    std::u16string& line = text(q);
    if (line == u"ENDTEXTBLOCK") {
      if (textBlock_.index >= 0) {
        std::u16string joined;
        for (size_t i = 0; i < textBlock_.lines.size(); ++i) {
          if (i > 0) joined += u"\r\n";
          joined += textBlock_.lines[i];
        }
        store_.TextBlockTexts[static_cast<size_t>(textBlock_.index)] = std::move(joined);
      }
      textBlock_ = {};
    } else if (textBlock_.index >= 0) {
      textBlock_.lines.push_back(line);
    }
    line.clear();
  }

  // ---- modules ----

  void openModule(int q) {
    if (inModule_) return setLineError(q, msg::moduleNested());
    const std::u16string_view words = afterFirstWord(text(q));
    const std::u16string_view written = firstWordOf(words);
    std::u16string name;
    if (!splitDeclaredName(written, u" ,+*/=<>()![]?", name) || name.find(u'.') != std::u16string::npos)
      return setLineError(q, msg::syntaxError(32));
    if (name == u"THIS" || name == u"GLOBAL") return setLineError(q, msg::prohibitedModuleName(name));
    if (store_.ModuleNames.contains(name)) return setLineError(q, msg::moduleTwice());
    const auto ordinal = parseIntegerText(afterFirstWord(words));
    store_.ModuleNames.addWithValue(name, ordinal ? static_cast<int>(*ordinal) : store_.ModuleNames.count());
    inModule_ = true;
    module_ = name;
    store_.GlobalScope.moduleName = name;
    text(q).clear();
  }

  void closeModule(int q) {
    if (!inModule_) return setLineError(q, msg::syntaxError(35));
    inModule_ = false;
    module_.clear();
    store_.GlobalScope.moduleName.clear();
    text(q).clear();
  }

  // ---- functions ----

  void openFunction(int q, std::u16string_view word) {
    scopes_.functionStart[static_cast<size_t>(q)] = true;
    if (function_.open) return report(msg::functionNested(function_.name));
    const std::u16string_view header = afterFirstWord(text(q));
    const std::u16string written = Trim(header.substr(0, header.find(u'(')));
    function_ = {};
    function_.open = true;
    function_.kind = word == u"FUNCTION" ? FunctionKind::Function : FunctionKind::Procedure;
    std::u16string checked;
    if (!splitDeclaredName(written, u",+*=<>()!?", checked)) {
      function_.name = written;
      return report(msg::badFunctionName(written));
    }
    function_.name = qualify(written);
    if (p_.FuncNames.contains(function_.name)) return report(msg::functionTwice(function_.name));
    p_.FuncNames.add(function_.name);
    p_.FuncEntries.push_back({function_.kind, q, module_});
  }

  void closeFunction(int q) {
    scopes_.functionEnd[static_cast<size_t>(q)] = true;
    if (!function_.open) {
      if (inModule_) setLineError(q, msg::syntaxError(40));
      return;
    }
    const bool missingResult = function_.kind == FunctionKind::Function && !function_.hasResult;
    const std::u16string name = function_.name;
    function_.open = false;
    if (missingResult) {
      text(q) = errorLine(msg::noResult(name), japanese_);
      p_.Records[static_cast<size_t>(q)].error = true;
    }
  }

  // ---- declarations ----

  void declareConst(int q) {
    const std::u16string definition = qualify(afterFirstWord(text(q)));
    text(q).clear();
    if (auto error = store_.DeclareConst(definition)) setLineError(q, *error);
  }

  // PUBLIC anywhere and DIM at module level: each item of the list separately,
  // qualified with the module; an item with an initial value list of an array
  // ("A[] = 1, 2, 3") takes the rest of the line.
  void declareGlobals(int q, bool isDim) {
    const std::u16string list(afterFirstWord(text(q)));
    text(q).clear();
    const auto pieces = SplitAll(list, u",");
    size_t offset = 0;
    for (size_t i = 0; i < pieces.size(); offset += pieces[i].size() + 1, ++i) {
      std::u16string_view rest = std::u16string_view(list).substr(offset);
      std::u16string item = Trim(pieces[i]);
      if (i == 0 && !isDim && startsWith(item, u"HASHTBL ")) {
        return declareHashTables(q, Trim(rest.substr(rest.find(u"HASHTBL ") + 8)), false);
      }
      if (i == 0 && !isDim && startsWith(item, u"DIM ")) {
        rest = rest.substr(rest.find(u"DIM ") + 4);
        item = Trim(std::u16string_view(item).substr(4));
      }
      const size_t equals = item.find(u'=');
      const bool arrayWithValues =
          equals != std::u16string::npos && equals > 0 && item.find(u'[') != std::u16string::npos;
      if (arrayWithValues) item = Trim(rest);
      if (item.empty()) continue;
      if (auto error = store_.DeclareGlobals(qualify(item), moduleLevel(), isDim, p_.Options.optPublic))
        return setLineError(q, *error);
      if (arrayWithValues) return;
    }
  }

  void declareHashTables(int q, const std::u16string& list, bool isPrivate) {
    for (const auto& piece : SplitAll(list, u",")) {
      const std::u16string item = Trim(piece);
      if (item.empty()) continue;
      std::u16string name;
      if (!splitDeclaredName(Trim(std::u16string_view(item).substr(0, item.find(u'='))), u",+*/<>()![]?", name))
        return setLineError(q, msg::syntaxError(37));
      try {
        store_.DeclareHashTables(qualify(item), store_.GlobalScope, isPrivate);
      } catch (const ScriptError& error) {
        return setLineError(q, error.message());
      }
    }
  }

  void applyOption(int q) {
    const std::u16string items(afterFirstWord(text(q)));
    text(q).clear();
    if (!ApplyOptionLine(items, p_.Options, host_)) setLineError(q, msg::optionError());
  }

  // The line stays (the executor replaces a changed declaration when it runs
  // it); the first declaration of a name is registered now.
  void declareDll(int q) {
    const DllDeclarationText declaration = SplitDllDeclaration(qualify(afterFirstWord(text(q))));
    if (!store_.DllNames.contains(declaration.name)) {
      const int index = store_.DllNames.add(declaration.name);
      p_.DllDecls.resize(static_cast<size_t>(store_.DllNames.count()));
      p_.DllDecls[static_cast<size_t>(index)] = declaration.declaration;
      p_.DllDeclaredNames.resize(p_.DllDecls.size());
      p_.DllDeclaredNames[static_cast<size_t>(index)] = declaration.name;
    }
    if (auto error = CheckDllParameters(declaration.declaration)) setLineError(q, *error);
  }

  // ---- after the passes ----

  // A module's constructor (the function named like the module) takes no
  // parameters. Checked only in a program without line errors.
  void checkConstructors() {
    for (const auto& record : p_.Records)
      if (record.error) return;
    for (int m = 0; m < store_.ModuleNames.count(); ++m) {
      const std::u16string& module = store_.ModuleNames.nameAt(m);
      const int index = p_.FuncNames.indexOf(module + u"." + module);
      if (index < 0) continue;
      const std::u16string& header = text(p_.FuncEntries[static_cast<size_t>(index)].headerLine);
      const size_t open = header.find(u'(');
      if (open == std::u16string::npos) continue;
      const size_t close = header.find(u')', open);
      const std::u16string_view inside = std::u16string_view(header).substr(
          open + 1, close == std::u16string::npos ? std::u16string::npos : close - open - 1);
      if (!TrimView(inside).empty()) return report(msg::constructorWithArguments(), header);
    }
  }

  struct FunctionState {
    bool open = false;
    FunctionKind kind = FunctionKind::Procedure;
    std::u16string name;
    bool hasResult = false;
  };
  struct TextBlockState {
    bool open = false;
    int index = -1;  // TextBlockNames index of a named block, -1 for a block comment
    std::vector<std::u16string> lines;
  };

  Program& p_;
  GlobalStore& store_;
  BuildHost& host_;
  const bool japanese_;

  ScopeMarks scopes_;
  std::u16string buildLine_;
  bool inModule_ = false;
  std::u16string module_;
  FunctionState function_;
  TextBlockState textBlock_;
  int sourceCounter_ = 0;
  int sourceOffset_ = 1;
  bool awaitingInsertedFend_ = true;
};

}  // namespace

void FReLoad(Program& program, const std::vector<std::u16string>& lines, const BuildContext& context) {
  context.host.resetForRun();
  program.clear();
  context.store.ResetProgram();
  context.store.GlobalScope.moduleName.clear();
  ProgramBuilder builder(program, context);
  try {
    builder.build(lines);
  } catch (const ScriptError& error) {
    builder.report(build_messages::buildFailed(error.message().in(context.japanese)));
  } catch (const std::exception& error) {
    builder.report(build_messages::buildFailed(u16(error.what())));
  }
  context.store.GlobalScope.moduleName.clear();
}

}  // namespace maqo::engine
