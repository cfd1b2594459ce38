// The engine's library interface under the names the builtin families use:
// the host a builtin calls back, the argument record it receives, the entry
// it is registered under and the library it registers with. The types live
// in engine/library/ (the engine calls builtins only through them).
#pragma once
#include "engine/library/builtin_call.h"
#include "engine/library/builtin_entry.h"
#include "engine/library/builtin_host.h"
#include "engine/library/builtin_library.h"
#include "engine/library/string_call_options.h"

namespace maqo::builtins {

using engine::BuiltinArgument;
using engine::BuiltinCall;
using engine::BuiltinDispatcher;
using engine::BuiltinEntry;
using engine::BuiltinFamily;
using engine::BuiltinFunction;
using engine::BuiltinHost;
using engine::BuiltinLibrary;
using engine::IsRawPosition;
using engine::kMaxBuiltinArguments;
using engine::MarkByteStringProduced;
using engine::MathArguments;
using engine::MathFunction;
using engine::ReadsOneCharacterAsVirtualKey;
using engine::SameStrOption;
using engine::StringCallOptions;
using engine::StripGlobalPrefix;
using engine::TextRule;
using engine::TextRuleAt;

}  // namespace maqo::builtins
