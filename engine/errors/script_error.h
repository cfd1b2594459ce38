// A runtime error of a script. Operations throw it; the statement executor
// catches it at the statement boundary and hands it to the error reporter,
// which lets an enclosing TRY take it over or stops the run. Throwing means a
// failed part of an expression or statement never goes on half-evaluated.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace maqo::engine {

// Joins the parts of a message text into one string.
template <typename... Parts>
std::u16string cat(const Parts&... parts) {
  const std::u16string_view views[] = {std::u16string_view(parts)...};
  size_t size = 0;
  for (std::u16string_view view : views) size += view.size();
  std::u16string out;
  out.reserve(size);
  for (std::u16string_view view : views) out.append(view);
  return out;
}

// A message in both languages; the reporter shows the one the system language asks for.
struct Message {
  std::u16string english;
  std::u16string japanese;  // empty: the English text serves both

  const std::u16string& in(bool japaneseSystem) const {
    return japaneseSystem && !japanese.empty() ? japanese : english;
  }
};

class ScriptError : public std::exception {
 public:
  explicit ScriptError(Message message, bool catchable = true)
      : message_(std::move(message)), catchable_(catchable) {}
  ScriptError(std::u16string english, std::u16string japanese, bool catchable = true)
      : message_{std::move(english), std::move(japanese)}, catchable_(catchable) {}

  const Message& message() const { return message_; }
  // False for errors that TRY ... EXCEPT must not take over.
  bool catchable() const { return catchable_; }
  const char* what() const noexcept override { return "script error"; }

 private:
  Message message_;
  bool catchable_;
};

}  // namespace maqo::engine
