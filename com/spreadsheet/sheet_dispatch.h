// By-name automation calls for the spreadsheet builtins, as a script would
// write them: reads, assignments and method calls with their arguments in
// written order. Every failure throws SheetCallFailed, so a builtin's steps
// read as one sequence and fail as a whole.
#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com_automation.h"

namespace maqo::com::spreadsheet {

using ComObjectPtr = std::shared_ptr<platform::ComObject>;

class SheetCallFailed : public std::runtime_error {
 public:
  explicit SheetCallFailed(platform::ComFailure failure)
      : std::runtime_error("spreadsheet automation call failed"), failure_(std::move(failure)) {}
  const platform::ComFailure& failure() const { return failure_; }

 private:
  platform::ComFailure failure_;
};

// Fails a sequence of calls for a reason found before any call (a cell
// reference that names no cell): E_INVALIDARG with the text.
[[noreturn]] void FailInvalidArgument(std::u16string_view text);

struct NamedArgument {
  std::u16string name;
  platform::ComValue value;
};

platform::ComValue Get(platform::ComObject& object, std::u16string_view member,
                       std::vector<platform::ComValue> arguments = {});
void Put(platform::ComObject& object, std::u16string_view member, platform::ComValue value,
         std::vector<platform::ComValue> indexes = {});
platform::ComValue Call(platform::ComObject& object, std::u16string_view member,
                        std::vector<platform::ComValue> arguments = {}, std::vector<NamedArgument> named = {});
// A method whose arguments the server may change (out parameters): they are
// passed by reference and hold the server's values afterwards.
platform::ComValue CallByReference(platform::ComObject& object, std::u16string_view member,
                                   std::vector<platform::ComValue>& arguments);

// The object a value holds; throws when it holds none.
ComObjectPtr ObjectIn(const platform::ComValue& value);
// Get that must give an object.
ComObjectPtr GetObject(platform::ComObject& object, std::u16string_view member,
                       std::vector<platform::ComValue> arguments = {});

// Values to pass.
platform::ComValue TextValue(std::u16string_view text);
platform::ComValue IntValue(int64_t value);
platform::ComValue BoolValue(bool value);
platform::ComValue ObjectValueOf(ComObjectPtr object);
// An omitted optional parameter (DISP_E_PARAMNOTFOUND).
platform::ComValue MissingValue();
// True for a value read as true (VT_BOOL or a non-zero number).
bool IsTrueValue(const platform::ComValue& value);
// The text of a string value (empty for others).
std::u16string TextOf(const platform::ComValue& value);

}  // namespace maqo::com::spreadsheet
