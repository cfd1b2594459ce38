#include "com/spreadsheet/sheet_dispatch.h"

#include <algorithm>

namespace maqo::com::spreadsheet {

namespace vt = platform::vt;
namespace flags = platform::invoke_flags;
using platform::ComArgument;
using platform::ComFailure;
using platform::ComValue;

namespace {

// Invoke with names resolved and arguments in Invoke's order (named ones
// first, then the positional ones last to first).
ComValue invokeByName(platform::ComObject& object, std::u16string_view member, uint16_t invokeFlags,
                      std::vector<ComArgument> positional, std::vector<NamedArgument> named,
                      std::vector<ComArgument>* writtenBack = nullptr) {
  std::vector<std::u16string> names{std::u16string(member)};
  for (const NamedArgument& argument : named) names.push_back(argument.name);
  std::vector<int32_t> ids;
  ComFailure failure;
  if (!object.dispatchIds(names, ids, failure)) throw SheetCallFailed(failure);
  std::vector<ComArgument> arguments;
  for (NamedArgument& argument : named) arguments.push_back(ComArgument{std::move(argument.value)});
  const size_t namedCount = arguments.size();
  for (auto it = positional.rbegin(); it != positional.rend(); ++it) arguments.push_back(*it);
  std::vector<int32_t> namedIds(ids.begin() + 1, ids.end());
  ComValue result;
  if (!object.invoke(ids[0], invokeFlags, arguments, namedIds, result, failure)) throw SheetCallFailed(failure);
  if (writtenBack) {
    writtenBack->assign(arguments.begin() + static_cast<ptrdiff_t>(namedCount), arguments.end());
    std::reverse(writtenBack->begin(), writtenBack->end());
  }
  return result;
}

std::vector<ComArgument> byValue(std::vector<ComValue> values) {
  std::vector<ComArgument> arguments;
  for (ComValue& value : values) arguments.push_back(ComArgument{std::move(value)});
  return arguments;
}

}  // namespace

ComValue Get(platform::ComObject& object, std::u16string_view member, std::vector<ComValue> arguments) {
  return invokeByName(object, member, flags::kGet | flags::kMethod, byValue(std::move(arguments)), {});
}

void Put(platform::ComObject& object, std::u16string_view member, ComValue value, std::vector<ComValue> indexes) {
  std::vector<std::u16string> names{std::u16string(member)};
  std::vector<int32_t> ids;
  ComFailure failure;
  if (!object.dispatchIds(names, ids, failure)) throw SheetCallFailed(failure);
  // The value is the one named argument (DISPID_PROPERTYPUT) and comes first.
  std::vector<ComArgument> arguments{ComArgument{std::move(value)}};
  for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) arguments.push_back(ComArgument{*it});
  const int32_t putId[] = {platform::kDispIdPropertyPut};
  ComValue ignored;
  if (!object.invoke(ids[0], flags::kPut, arguments, putId, ignored, failure)) throw SheetCallFailed(failure);
}

ComValue Call(platform::ComObject& object, std::u16string_view member, std::vector<ComValue> arguments,
              std::vector<NamedArgument> named) {
  return invokeByName(object, member, flags::kMethod | flags::kGet, byValue(std::move(arguments)), std::move(named));
}

ComValue CallByReference(platform::ComObject& object, std::u16string_view member, std::vector<ComValue>& arguments) {
  std::vector<ComArgument> passed;
  for (const ComValue& value : arguments) passed.push_back(ComArgument{value, true});
  std::vector<ComArgument> after;
  ComValue result = invokeByName(object, member, flags::kMethod, std::move(passed), {}, &after);
  for (size_t i = 0; i < after.size() && i < arguments.size(); ++i) arguments[i] = std::move(after[i].value);
  return result;
}

void FailInvalidArgument(std::u16string_view text) {
  ComFailure failure;
  failure.code = static_cast<int32_t>(0x80070057);  // E_INVALIDARG
  failure.systemText = std::u16string(text);
  throw SheetCallFailed(failure);
}

ComObjectPtr ObjectIn(const ComValue& value) {
  if ((value.type == vt::kDispatch || value.type == vt::kUnknown) && value.object) return value.object;
  ComFailure failure;
  failure.code = static_cast<int32_t>(0x80004002);  // E_NOINTERFACE: no object where one was needed
  failure.systemText = u"No object";
  throw SheetCallFailed(failure);
}

ComObjectPtr GetObject(platform::ComObject& object, std::u16string_view member, std::vector<ComValue> arguments) {
  return ObjectIn(Get(object, member, std::move(arguments)));
}

ComValue TextValue(std::u16string_view text) {
  ComValue value;
  value.type = vt::kBstr;
  value.text = std::u16string(text);
  return value;
}

ComValue IntValue(int64_t number) {
  ComValue value;
  value.type = vt::kI4;
  value.integer = number;
  return value;
}

ComValue BoolValue(bool flag) {
  ComValue value;
  value.type = vt::kBool;
  value.integer = flag ? -1 : 0;
  return value;
}

ComValue ObjectValueOf(ComObjectPtr object) {
  ComValue value;
  value.type = vt::kDispatch;
  value.object = std::move(object);
  return value;
}

ComValue MissingValue() {
  ComValue value;
  value.type = vt::kError;
  value.integer = platform::kDispParamNotFound;
  return value;
}

bool IsTrueValue(const ComValue& value) {
  switch (value.type) {
    case vt::kR4:
    case vt::kR8:
    case vt::kDate:
      return value.number != 0;
    case vt::kBstr:
      return !value.text.empty() && value.text != u"0" && value.text != u"False";
    default:
      return value.integer != 0;
  }
}

std::u16string TextOf(const ComValue& value) { return value.type == vt::kBstr ? value.text : std::u16string(); }

}  // namespace maqo::com::spreadsheet
