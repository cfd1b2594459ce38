#include "host/script_convert.h"

#include "builtins/text_file_writer.h"
#include "engine/reader/script_reader.h"
#include "platform/letter_case.h"

namespace maqo::host {

std::u16string WithExtension(const std::u16string& name, std::u16string_view extension) {
  const size_t slash = name.find_last_of(u"\\/");
  const size_t dot = name.rfind(u'.');
  const bool hasExtension = dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash);
  return (hasExtension ? name.substr(0, dot) : name) + std::u16string(extension);
}

namespace {

bool hasExtension(const std::u16string& name, std::u16string_view upperExtension) {
  return platform::upperCaseText(name).ends_with(upperExtension);
}

}  // namespace

std::u16string ConvertScriptToText(platform::Platform& p, const std::u16string& input, const std::u16string& output) {
  std::u16string source = p.files.fullPath(input);
  if (hasExtension(source, u".ORG")) {
    const std::u16string script = WithExtension(source, u".MQS");
    const std::u16string error = p.files.copyFile(source, script);
    if (!error.empty()) return u"FILE Not Copied :" + script + u"\n" + error;
    source = script;
  }
  if (!p.files.fileExists(source)) return u"FILE Not Found :" + source;
  const std::u16string target = output.empty() ? source : p.files.fullPath(WithExtension(output, u".MQS"));
  // The file's own lines, deciphered when enciphered (CALLed files stay calls).
  engine::Lines lines;
  engine::TReadMqsFile reader(p);
  const engine::TextReadResult read = reader.ReadTextFile(source, lines);
  if (!read.ok()) return u"FILE Not Read :" + source + u"\n" + read.error;
  const engine::DecipherResult deciphered = reader.Decipher(lines, source);
  if (!deciphered.ok()) return deciphered.error.in(p.locale.japanese());
  std::u16string error;
  if (!builtins::WriteTextFile(p, target, lines, engine::TextEncoding::AnsiAuto, false, {}, &error))
    return u"FILE Not Written :" + target + u"\n" + error;
  return {};
}

}  // namespace maqo::host
