// Convert mode ("/a file [output]"): a script file's own lines (deciphered
// when it is enciphered) written as a plain text file.
#pragma once
#include <string>

#include "platform/platform.h"

namespace maqo::host {

// input ".ORG" is first copied to the same name with ".MQS". The output is
// the given name with the extension ".MQS", or the input itself. Returns an
// empty text on success, else the message to show.
std::u16string ConvertScriptToText(platform::Platform& p, const std::u16string& input, const std::u16string& output);

// name with its extension (the part after the last "." of the last path
// element) replaced by extension, or extension appended when it has none.
std::u16string WithExtension(const std::u16string& name, std::u16string_view extension);

}  // namespace maqo::host
