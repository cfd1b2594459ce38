#include "builtins/argument_path.h"

#include <algorithm>
#include <cmath>

#include "builtins/builtin_messages.h"
#include "builtins/builtin_state.h"
#include "builtins/constants.h"
#include "engine/eval/numeric_ops.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"

namespace maqo::builtins {

namespace {

using engine::ScriptValue;

// SCKEY reads an argument of one character X as the constant VK_X.
ScriptValue virtualKeyArgument(std::u16string_view character, BuiltinHost& host) {
  const std::u16string name = u"VK_" + engine::UpperCase(character);
  if (const std::optional<double> value = FindBuiltinConstant(name)) return ScriptValue::number(*value);
  return host.evaluateText(name);
}

// A double holding a whole number of at most 15 digits: its text is its
// integer digits (-0 shows as "0").
std::optional<int64_t> wholeNumberBelow1e15(const ScriptValue& value) {
  if (!value.isDouble()) return std::nullopt;
  const double d = value.doublePayload();
  if (!(std::fabs(d) < 1e15) || d != std::trunc(d)) return std::nullopt;
  return static_cast<int64_t>(d);
}

}  // namespace

bool CollectArguments(BuiltinCall& record, const engine::CallSite& call, BuiltinHost& host) {
  const BuiltinEntry& entry = record.entry;
  const size_t given = call.argumentTexts.size();
  const size_t taken = std::min<size_t>(given, kMaxBuiltinArguments);
  record.arguments.reserve(taken);
  for (size_t i = 0; i < taken; ++i) {
    const int position = static_cast<int>(i) + 1;
    const std::u16string& written = call.argumentTexts[i];
    BuiltinArgument argument;
    ScriptValue value;
    std::optional<int64_t> wholeText;  // the text is this whole number's digits
    if (IsRawPosition(entry, position)) {
      argument.text = written;
      value = ScriptValue::string(written);
    } else {
      if (ReadsOneCharacterAsVirtualKey(entry, position) && written.size() == 1)
        value = virtualKeyArgument(written, host);
      else
        value = host.evaluate(*call.arguments[i]);
      const std::optional<int64_t> whole = wholeNumberBelow1e15(value);
      if (position == 1 && (entry.name == u"VARTYPE" || (entry.name == u"DECODE" && value.isArray()))) {
        // VARTYPE looks at the value itself, and DECODE takes a byte array whole: no text.
      } else if (position == 1 && entry.name == u"XLCLOSE" && value.isObject()) {
        argument.text = written;
      } else if (value.isArray()) {
        throw messages::valueWithoutText();
      } else if (whole) {
        argument.text = engine::formatInteger(*whole);  // what the general form gives for it
        wholeText = whole;
      } else {
        argument.text = value.toArgumentText();
      }
    }
    if (wholeText) {
      // The text of such a number reads back as exactly that number: no parse.
      argument.number = static_cast<double>(*wholeText);
      argument.integer = *wholeText;
      argument.isNumber = true;
    } else if (const std::optional<double> number =
                   engine::parseNumberText(argument.text, engine::NumberTextMode::Strict)) {
      argument.number = *number;
      argument.integer = engine::truncateToInt64(*number);
      argument.isNumber = true;
    } else {
      const TextRule rule = TextRuleAt(entry, position);
      if (rule == TextRule::NumberOnly || (rule == TextRule::EmptyText && !argument.text.empty()))
        throw messages::definitionWrong(argument.text);
    }
    if (i == 0) record.first = value;
    if (i == 1) record.second = value;
    record.arguments.push_back(std::move(argument));
    if (host.stopRequested()) return false;
  }
  if (given > kMaxBuiltinArguments) throw messages::tooManyArguments();
  return true;
}

MathArguments CollectMathArguments(const engine::CallSite& call, BuiltinHost& host) {
  MathArguments args;
  args.count = static_cast<int>(std::min<size_t>(call.arguments.size(), 3));
  for (int i = 0; i < args.count; ++i) {
    const ScriptValue value = host.evaluate(*call.arguments[static_cast<size_t>(i)]);
    const std::optional<double> number = value.tryToDouble();
    if (!number) throw messages::nonNumeric(call.argumentTexts[static_cast<size_t>(i)]);
    args.x[i] = *number;
  }
  return args;
}

std::optional<engine::Message> LackingArguments(const BuiltinEntry& entry, int given) {
  if (given >= entry.minArguments) return std::nullopt;
  return messages::argumentLacking(entry.name);
}

PacingRecord::PacingRecord(BuiltinHost& host, bool wantsElapsed) : host_(host), mainThread_(host.onMainThread()) {
  if (!mainThread_ || !wantsElapsed) return;
  const int64_t last = host.familyState().get<engine::CallPacing>().lastReturnMs;
  const int64_t elapsed = last < 0 ? 999 : host.platform().clock.monotonicMs() - last;
  elapsedMs_ = static_cast<int>(std::clamp<int64_t>(elapsed, 0, 999));
}

PacingRecord::~PacingRecord() {
  if (mainThread_) host_.familyState().get<engine::CallPacing>().lastReturnMs = host_.platform().clock.monotonicMs();
}

}  // namespace maqo::builtins
