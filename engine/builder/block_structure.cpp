#include "engine/builder/block_structure.h"

#include <array>
#include <optional>
#include <string>

#include "engine/builder/build_messages.h"
#include "engine/builder/builder_text.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

namespace msg = build_messages;

constexpr char16_t kLinkSeparator = u'`';

enum class BlockType { If, Select, For, While, Repeat, TryBody, TryHandler, Count };

bool isLoop(BlockType type) {
  return type == BlockType::For || type == BlockType::While || type == BlockType::Repeat;
}

// Why a block is closed by something other than its own end keyword.
enum class CloseReason { FunctionEnd, Interrupted };

struct OpenBlock {
  OpenBlock(BlockType t, int opening) : type(t), line(opening) {}

  BlockType type;
  int line;                      // the opening line (IFB, SELECT, FOR, WHILE, REPEAT, TRY)
  int loops = 0;                 // loops open at this level, this one included
  std::optional<Message> failure;
  std::vector<int> ifLinks;      // IFB and its ELSEIF lines
  int elseLine = -1;
  std::vector<int> cases;
  int defaultLine = -1;
  int handler = -1;              // EXCEPT or FINALLY line of a TRY
  bool except = false;
  bool jumpReported = false;     // a BREAK, CONTINUE or EXIT was found in this FINALLY part
  std::u16string encodedHead;    // FOR and FOR ... IN: the encoded fields before the distance
};

std::u16string number(int value) { return u16(std::to_string(value)); }

// The IFB / ELSEIF condition: the text after the keyword without a closing THEN.
std::u16string ifCondition(std::u16string_view rest) {
  if (endsWith(rest, u" THEN") || endsWith(rest, u")THEN")) return Trim(rest.substr(0, rest.size() - 4));
  return std::u16string(rest);
}

// The count of a BREAK or CONTINUE: 1 without one; nothing when it is not a
// plain positive number (the check pass rejects such counts).
std::optional<int> jumpCount(std::u16string_view rest) {
  if (rest.empty()) return 1;
  const auto value = parseIntegerText(rest);
  if (!value || *value < 1 || rest.front() == u'$' || rest.front() == u'+') return std::nullopt;
  return *value > 1000000 ? 1000000 : static_cast<int>(*value);
}

class BlockChecker {
 public:
  BlockChecker(Program& program, const ScopeMarks& scopes, bool japanese)
      : p_(program), scopes_(scopes), japanese_(japanese), claimed_(program.ScriptLines.size(), false) {}

  void run() {
    const int count = p_.lineCount();
    for (int q = 0; q < count; ++q) {
      if (marked(scopes_.functionStart, q)) closeAll(CloseReason::FunctionEnd);
      if (!record(q).error) classify(q);
      if (marked(scopes_.functionEnd, q)) closeAll(CloseReason::FunctionEnd);
    }
    closeAll(CloseReason::FunctionEnd);
    reportUnclaimed();
    for (const int line : finallyJumps_) setError(line, msg::jumpInFinally());
  }

 private:
  static bool marked(const std::vector<bool>& marks, int q) {
    return static_cast<size_t>(q) < marks.size() && marks[static_cast<size_t>(q)];
  }
  LineRecord& record(int q) { return p_.Records[static_cast<size_t>(q)]; }
  std::u16string& text(int q) { return p_.ScriptLines[static_cast<size_t>(q)]; }

  void setError(int q, const Message& message) {
    text(q) = errorLine(message, japanese_);
    LineRecord& r = record(q);
    r.error = true;
    r.kind = StatementKind::Unclassified;
    r.opener = -1;
    r.links = std::monostate{};
  }

  void claim(int q, int opener) {
    claimed_[static_cast<size_t>(q)] = true;
    record(q).opener = opener;
  }

  // ---- the stack of open blocks ----

  void push(OpenBlock block) {
    block.loops = (stack_.empty() ? 0 : stack_.back().loops) + (isLoop(block.type) ? 1 : 0);
    byType_[static_cast<size_t>(block.type)].push_back(static_cast<int>(stack_.size()));
    stack_.push_back(std::move(block));
  }

  // The innermost open block of a type, as an index into stack_, or -1.
  int nearest(BlockType type) const {
    const auto& indexes = byType_[static_cast<size_t>(type)];
    return indexes.empty() ? -1 : indexes.back();
  }

  static void fail(OpenBlock& block, Message message) {
    if (!block.failure) block.failure = std::move(message);
  }

  static Message unclosedMessage(const OpenBlock& block, CloseReason reason) {
    switch (block.type) {
      case BlockType::If: return msg::noEndIf();
      case BlockType::Select: return msg::noSelend();
      case BlockType::For: return msg::noNext();
      case BlockType::While: return msg::noWend();
      case BlockType::Repeat: return msg::noUntil();
      case BlockType::TryBody: return reason == CloseReason::FunctionEnd ? msg::noHandler() : msg::tryStepsOver();
      default: return reason == CloseReason::FunctionEnd ? msg::noEndTry() : msg::handlerStepsOver();
    }
  }

  // Removes the innermost block from the stack and hands it back.
  OpenBlock pop() {
    OpenBlock block = std::move(stack_.back());
    stack_.pop_back();
    byType_[static_cast<size_t>(block.type)].pop_back();
    if (!finallies_.empty() && finallies_.back() == static_cast<int>(stack_.size())) finallies_.pop_back();
    return block;
  }

  // Closes, as failed, every block opened inside the block at index target.
  // Returns true when there was any.
  bool closeInside(int target) {
    bool any = false;
    while (static_cast<int>(stack_.size()) - 1 > target) {
      OpenBlock block = pop();
      fail(block, unclosedMessage(block, CloseReason::Interrupted));
      finish(block, -1);
      any = true;
    }
    return any;
  }

  void closeAll(CloseReason reason) {
    while (!stack_.empty()) {
      OpenBlock block = pop();
      fail(block, unclosedMessage(block, reason));
      finish(block, -1);
    }
  }

  // ---- one line ----

  void classify(int q) {
    const std::u16string line = text(q);
    const std::u16string_view word = firstWordOf(line);
    const std::u16string rest(afterFirstWord(line));
    StatementKind kind = kindOfFirstWord(word);
    if (kind == StatementKind::Unclassified) return;
    LineRecord& r = record(q);
    r.kind = kind;
    if (kind == StatementKind::Nop) return;
    text(q) = rest;  // kinds other than the openers keep the text after the keyword
    const bool bare = rest.empty();
    switch (kind) {
      case StatementKind::IfBlock:
        if (word == u"IFB") openIf(q, rest);
        else elseIf(q, rest);
        break;
      case StatementKind::Else:
        elseLine(q, bare);
        break;
      case StatementKind::EndIf:
        if (bare) closeWith(BlockType::If, q);
        break;
      case StatementKind::Select:
        openSelect(q, rest);
        break;
      case StatementKind::Case:
        if (!bare) selectPart(q, false, false);
        break;
      case StatementKind::Default:
        selectPart(q, true, bare);
        break;
      case StatementKind::Selend:
        if (bare) closeWith(BlockType::Select, q);
        break;
      case StatementKind::For:
        openFor(q, line);
        break;
      case StatementKind::Next:
        next(q, bare);
        break;
      case StatementKind::While:
        r.links = WhileLinks{rest, -1};
        push(OpenBlock(BlockType::While, q));
        break;
      case StatementKind::Wend:
        if (bare) closeWith(BlockType::While, q);
        break;
      case StatementKind::Repeat:
        if (!bare) return setError(q, msg::repeatWithText());
        r.links = RepeatLinks{};
        push(OpenBlock(BlockType::Repeat, q));
        break;
      case StatementKind::Until:
        if (!bare) closeWith(BlockType::Repeat, q);
        break;
      case StatementKind::Try:
        if (!bare) return setError(q, msg::tryWithText());
        push(OpenBlock(BlockType::TryBody, q));
        break;
      case StatementKind::Except:
      case StatementKind::Finally:
        if (bare) handler(q, kind == StatementKind::Except);
        break;
      case StatementKind::EndTry:
        if (bare) endTry(q);
        break;
      case StatementKind::Break:
      case StatementKind::Continue:
        if (const auto count = jumpCount(rest)) jumpOut(*count);
        break;
      case StatementKind::Exit:
        exitInFinally();
        break;
      case StatementKind::EndWith:
      case StatementKind::ComErrIgnore:
      case StatementKind::ComErrReport:
      case StatementKind::Fend:
        if (!bare) setError(q, msg::syntaxError(49));
        break;
      default:
        break;
    }
  }

  // ---- IFB / ELSEIF / ELSE / ENDIF ----

  void openIf(int q, std::u16string_view rest) {
    record(q).links = IfLinks{ifCondition(rest)};
    OpenBlock block(BlockType::If, q);
    block.ifLinks.push_back(q);
    push(std::move(block));
  }

  // An ELSEIF belongs to the innermost IFB, and only before its ELSE.
  void elseIf(int q, std::u16string_view rest) {
    const int at = nearest(BlockType::If);
    if (at < 0 || stack_[static_cast<size_t>(at)].elseLine >= 0) return setError(q, msg::noCorresponding(u"IFB"));
    closeInside(at);
    record(q).links = IfLinks{ifCondition(rest)};
    stack_.back().ifLinks.push_back(q);
  }

  void elseLine(int q, bool bare) {
    const int at = nearest(BlockType::If);
    if (at < 0) return;
    closeInside(at);
    OpenBlock& block = stack_.back();
    if (!bare) return fail(block, msg::elseWithText());
    if (block.elseLine >= 0) return fail(block, msg::elseTwice());
    block.elseLine = q;
  }

  // ---- SELECT / CASE / DEFAULT / SELEND ----

  void openSelect(int q, std::u16string rest) {
    SelectLinks links;
    links.expression = std::move(rest);
    record(q).links = std::move(links);
    push(OpenBlock(BlockType::Select, q));
  }

  void selectPart(int q, bool isDefault, bool bare) {
    const int at = nearest(BlockType::Select);
    if (at < 0) return;
    closeInside(at);
    OpenBlock& block = stack_.back();
    if (!isDefault) return block.cases.push_back(q);
    if (!bare || block.defaultLine >= 0) return fail(block, msg::defaultTwice());
    block.defaultLine = q;
  }

  // ---- FOR / FOR ... IN / NEXT ----

  void openFor(int q, std::u16string_view line) {
    // The text after "FOR " as written; the encoded form keeps its pieces untrimmed.
    const std::u16string_view r = line.size() > 4 ? line.substr(4) : std::u16string_view{};
    OpenBlock block(BlockType::For, q);
    const size_t equals = FindOutside(u"=", r, true, 1, true);
    const size_t in = findKeyword(r, u"IN");
    const bool forIn = equals == 0 || (in != std::u16string_view::npos && in < equals - 1);
    LineRecord& rec = record(q);
    if (forIn) {
      rec.kind = StatementKind::ForIn;
      ForInLinks links;
      if (in == std::u16string_view::npos || TrimView(r.substr(in + 2)).empty()) {
        fail(block, msg::forWithoutIn());
      } else {
        links.variable = Trim(r.substr(0, in));
        links.collection = Trim(r.substr(in + 2));
        if (links.variable.empty()) fail(block, msg::forInWithoutVariable());
        block.encodedHead = links.variable + kLinkSeparator + links.collection + kLinkSeparator;
      }
      rec.links = std::move(links);
      return push(std::move(block));
    }
    ForLinks links;
    const std::u16string_view variable = r.substr(0, equals - 1);
    const std::u16string_view afterEquals = r.substr(equals);
    const size_t to = findKeyword(afterEquals, u"TO");
    std::u16string_view afterTo =
        to == std::u16string_view::npos ? std::u16string_view{} : afterEquals.substr(to + 2);
    if (startsWith(afterTo, u" ")) afterTo.remove_prefix(1);
    if (TrimView(variable).empty()) {
      fail(block, msg::forWithoutVariable());
    } else if (to == std::u16string_view::npos || TrimView(afterTo).empty()) {
      fail(block, msg::forWithoutTo());
    } else {
      const std::u16string_view from = afterEquals.substr(0, to);
      std::u16string_view end = afterTo;
      std::u16string_view step = u"1";
      if (const size_t at = findKeyword(afterTo, u"STEP"); at != std::u16string_view::npos) {
        end = afterTo.substr(0, at > 0 && afterTo[at - 1] == u' ' ? at - 1 : at);
        step = afterTo.substr(at + 4);
      }
      links = ForLinks{Trim(variable), Trim(from), Trim(end), Trim(step), -1};
      block.encodedHead = links.variable + kLinkSeparator + std::u16string(from) + kLinkSeparator +
                          std::u16string(end) + kLinkSeparator + std::u16string(step) + kLinkSeparator;
    }
    rec.links = std::move(links);
    push(std::move(block));
  }

  void next(int q, bool bare) {
    const int at = nearest(BlockType::For);
    if (at < 0) return;
    closeInside(at);
    if (bare) return close(q);
    // NEXT followed by a name still ends its FOR, which fails.
    OpenBlock block = pop();
    fail(block, msg::nextWithText());
    finish(block, -1);
  }

  // ---- TRY / EXCEPT or FINALLY / ENDTRY ----

  void handler(int q, bool except) {
    const int at = nearest(BlockType::TryBody);
    if (at < 0) return;
    // The handler must sit in the block that holds its TRY.
    if (closeInside(at)) fail(stack_.back(), msg::tryStepsOver());
    OpenBlock& block = stack_.back();
    byType_[static_cast<size_t>(BlockType::TryBody)].pop_back();
    block.type = BlockType::TryHandler;
    byType_[static_cast<size_t>(BlockType::TryHandler)].push_back(at);
    block.handler = q;
    block.except = except;
    if (!except) finallies_.push_back(at);
  }

  void endTry(int q) {
    const int at = nearest(BlockType::TryHandler);
    if (at < 0) return;
    if (closeInside(at)) fail(stack_.back(), msg::handlerStepsOver());
    close(q);
  }

  // ---- jumps out of FINALLY parts ----

  // BREAK n and CONTINUE n leave n loops; leaving the innermost FINALLY part
  // on the way is not allowed.
  void jumpOut(int count) {
    if (finallies_.empty() || stack_.empty()) return;
    OpenBlock& finallyBlock = stack_[static_cast<size_t>(finallies_.back())];
    if (stack_.back().loops - finallyBlock.loops < count) reportJump(finallyBlock);
  }

  // EXIT leaves every FINALLY part it stands in. Marking stops at a part
  // already marked: every part further out was marked with it.
  void exitInFinally() {
    for (auto it = finallies_.rbegin(); it != finallies_.rend(); ++it) {
      OpenBlock& block = stack_[static_cast<size_t>(*it)];
      if (block.jumpReported) break;
      reportJump(block);
    }
  }

  void reportJump(OpenBlock& block) {
    if (block.jumpReported) return;
    block.jumpReported = true;
    finallyJumps_.push_back(block.handler);
  }

  // ---- closing ----

  void closeWith(BlockType type, int q) {
    const int at = nearest(type);
    if (at < 0) return;
    closeInside(at);
    close(q);
  }

  // The innermost block ends at its own end line q.
  void close(int q) {
    OpenBlock block = pop();
    finish(block, q);
  }

  int distance(int from, int to) const { return to >= 0 ? to - from : -1 - from; }
  std::u16string link(int from, int to) const { return number(distance(from, to)); }

  // Writes a closed block into the program: on success the claims, the
  // records' links and the encoded opening line; on failure the error on the
  // opening line(s).
  void finish(OpenBlock& block, int end) {
    if (block.failure) {
      if (block.type == BlockType::If) {
        for (const int q : block.ifLinks) setError(q, *block.failure);
      } else {
        setError(block.line, *block.failure);
      }
      return;
    }
    const int s = block.line;
    switch (block.type) {
      case BlockType::If: finishIf(block, end); break;
      case BlockType::Select: finishSelect(block, end); break;
      case BlockType::For: {
        if (auto* links = std::get_if<ForLinks>(&record(s).links)) links->next = end;
        if (auto* links = std::get_if<ForInLinks>(&record(s).links)) links->next = end;
        text(s) = block.encodedHead + link(s, end);
        claim(end, s);
        break;
      }
      case BlockType::While: {
        auto& links = std::get<WhileLinks>(record(s).links);
        links.wend = end;
        text(s) = links.condition + kLinkSeparator + link(s, end);
        claim(end, s);
        break;
      }
      case BlockType::Repeat: {
        auto& links = std::get<RepeatLinks>(record(s).links);
        links.until = end;
        links.condition = text(end);  // the UNTIL line holds the condition
        text(s) = links.condition + kLinkSeparator + link(s, end);
        claim(end, s);
        break;
      }
      case BlockType::TryHandler: {
        record(s).links = TryLinks{block.except, block.handler, end};
        record(block.handler).links = HandlerLinks{block.except, s, end};
        text(s) = std::u16string(block.except ? u"1 " : u"0 ") + number(block.handler - s) + u" " +
                  number(end - block.handler);
        claim(block.handler, s);
        claim(end, s);
        break;
      }
      default:
        break;
    }
  }

  void finishIf(const OpenBlock& block, int end) {
    const auto& chain = block.ifLinks;
    for (size_t i = 0; i < chain.size(); ++i) {
      const int s = chain[i];
      auto& links = std::get<IfLinks>(record(s).links);
      links.nextElseIf = i + 1 < chain.size() ? chain[i + 1] : -1;
      links.elseLine = block.elseLine;
      links.endIf = end;
      text(s) = links.condition + kLinkSeparator + link(s, links.nextElseIf) + kLinkSeparator +
                link(s, links.elseLine) + kLinkSeparator + link(s, end);
      if (i > 0) claim(s, chain[0]);
    }
    if (block.elseLine >= 0) claim(block.elseLine, block.line);
    claim(end, block.line);
  }

  void finishSelect(const OpenBlock& block, int end) {
    const int s = block.line;
    auto& links = std::get<SelectLinks>(record(s).links);
    std::u16string encoded = links.expression + kLinkSeparator;
    auto addDefault = [&] {
      links.defaultLine = block.defaultLine;
      encoded += link(s, block.defaultLine) + u",DEFAULT" + kLinkSeparator;
      claim(block.defaultLine, s);
    };
    for (const int c : block.cases) {
      if (block.defaultLine >= 0 && links.defaultLine < 0 && block.defaultLine < c) addDefault();
      CaseLink entry;
      entry.line = c;
      entry.valuesText = text(c);
      for (auto& value : SplitAll(entry.valuesText, u",")) {
        std::u16string item = Trim(value);
        if (!item.empty()) entry.values.push_back(std::move(item));
      }
      encoded += link(s, c) + u"," + entry.valuesText + kLinkSeparator;
      links.cases.push_back(std::move(entry));
      claim(c, s);
    }
    if (block.defaultLine >= 0 && links.defaultLine < 0) addDefault();
    links.selend = end;
    encoded += link(s, end) + u",SELEND";
    text(s) = std::move(encoded);
    claim(end, s);
  }

  // Closing lines that no block accepted.
  void reportUnclaimed() {
    for (int q = 0; q < p_.lineCount(); ++q) {
      if (claimed_[static_cast<size_t>(q)] || record(q).error) continue;
      const char16_t* opener = nullptr;
      switch (record(q).kind) {
        case StatementKind::EndIf:
        case StatementKind::Else: opener = u"IFB"; break;
        case StatementKind::Next: opener = u"FOR"; break;
        case StatementKind::Wend: opener = u"WHILE"; break;
        case StatementKind::Until: opener = u"REPEAT"; break;
        case StatementKind::Selend:
        case StatementKind::Case:
        case StatementKind::Default: opener = u"SELECT"; break;
        case StatementKind::Except:
        case StatementKind::Finally:
        case StatementKind::EndTry: opener = u"TRY"; break;
        default: break;
      }
      if (opener) setError(q, msg::noCorresponding(opener));
    }
  }

  Program& p_;
  const ScopeMarks& scopes_;
  const bool japanese_;
  std::vector<bool> claimed_;
  std::vector<OpenBlock> stack_;
  std::array<std::vector<int>, static_cast<size_t>(BlockType::Count)> byType_;
  std::vector<int> finallies_;     // stack_ indexes of the open FINALLY parts, innermost last
  std::vector<int> finallyJumps_;  // FINALLY lines whose part a jump would leave
};

}  // namespace

void CheckBlockStructure(Program& program, const ScopeMarks& scopes, bool japanese) {
  BlockChecker(program, scopes, japanese).run();
}

}  // namespace maqo::engine
