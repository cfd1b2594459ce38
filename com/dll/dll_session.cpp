#include "com/dll/dll_session.h"

#include "com/dll/dll_messages.h"
#include "platform/text_codec.h"

namespace maqo::com::dll {

std::shared_ptr<DllCallSession::Prepared> DllCallSession::prepare(std::u16string_view qualifiedName,
                                                                  std::u16string_view declaration) {
  std::u16string key;
  key.reserve(qualifiedName.size() + 1 + declaration.size());
  key.append(qualifiedName).append(1, u'\n').append(declaration);
  {
    std::lock_guard guard(lock_);
    if (auto found = prepared_.find(key); found != prepared_.end()) return found->second;
  }
  auto prepared = std::make_shared<Prepared>();
  prepared->signature = ParseDllSignature(qualifiedName, declaration);
  if (!HasTextMembers(prepared->signature)) prepared->layout = LayOutArguments(prepared->signature, nullptr);
  std::lock_guard guard(lock_);
  return prepared_.try_emplace(std::move(key), std::move(prepared)).first->second;
}

uintptr_t DllCallSession::procedureOf(Prepared& prepared, std::u16string_view qualifiedName) {
  if (const uintptr_t known = prepared.procedure.load(std::memory_order_acquire)) return known;
  const DllSignature& signature = prepared.signature;
  if (signature.library.empty()) throw engine::ScriptError(messages::missingLibrary());
  if (!native_.canCall()) throw engine::ScriptError(messages::needsWindows(qualifiedName));
  const uintptr_t module = libraries_.module(signature.library);
  const uintptr_t procedure = native_.procedure(module, signature.procedureName);
  if (procedure == 0) throw engine::ScriptError(messages::notExported(utf8ToUtf16(signature.procedureName)));
  prepared.procedure.store(procedure, std::memory_order_release);
  return procedure;
}

engine::ScriptValue DllCallSession::call(std::u16string_view qualifiedName, std::u16string_view declaration,
                                         DllArguments& arguments, size_t argumentsWritten, platform::Locale& locale) {
  const std::shared_ptr<Prepared> prepared = prepare(qualifiedName, declaration);
  const DllSignature& signature = prepared->signature;
  if (argumentsWritten > kMaxArguments) throw engine::ScriptError(messages::tooManyArguments());

  std::optional<DllLayout> madeForCall;
  const DllLayout* layout = prepared->layout ? &*prepared->layout : nullptr;
  if (layout == nullptr) {
    // Text members of structures take as many bytes as their texts.
    std::vector<size_t> parameterOf;
    for (size_t i = 0; i < signature.parameters.size(); ++i)
      if (signature.parameters[i].type != kStructBegin && signature.parameters[i].type != kStructEnd) parameterOf.push_back(i);
    madeForCall = LayOutArguments(signature, [&](size_t argument) {
      return InlineTextBytes(signature.parameters[parameterOf[argument]].type, arguments.value(argument), locale);
    });
    layout = &*madeForCall;
  }
  if (!signature.returnTypeValid) throw engine::ScriptError(messages::badReturnType());

  DllCallImage image = BuildCallImage(signature, *layout, arguments, locale);
  const uintptr_t procedure = procedureOf(*prepared, qualifiedName);
  image.resolvePointers([this](const void* memory) { return native_.addressOf(memory); });
  const std::vector<uint8_t>& stack = image.buffers[0];
  const platform::NativeCallResult registers =
      native_.call(procedure, stack.data(), stack.size(), signature.returnsFloatingPoint());
  engine::ScriptValue result = ConvertReturn(signature, registers, image, native_, locale);
  WriteBack(signature, *layout, image, arguments, native_, locale);
  return result;
}

void DllCallSession::endRun() {
  {
    std::lock_guard guard(lock_);
    prepared_.clear();
  }
  libraries_.releaseAll();
}

namespace {

std::unique_ptr<DllCallSession>& currentSession() {
  static std::unique_ptr<DllCallSession> session =
      std::make_unique<DllCallSession>(platform::systemNativeLibraries());
  return session;
}

}  // namespace

DllCallSession& RunDllSession() { return *currentSession(); }

void UseNativeLibraries(platform::NativeLibraries& native) {
  currentSession()->endRun();
  currentSession() = std::make_unique<DllCallSession>(native);
}

void EndRun() { RunDllSession().endRun(); }

}  // namespace maqo::com::dll
