// A small fixture for the program-builder tests: builds reader-style lines
// with a real global store (wired to the minimal evaluator of the value tests)
// and a headless build host, and renders the result compactly.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/builder/build_messages.h"
#include "engine/builder/headless_build_host.h"
#include "engine/builder/program_builder.h"
#include "platform/text_codec.h"
#include "tests/unit/engine/values/values_test_support.h"

namespace maqo::engine::builder_test {

using Source = std::vector<std::u16string>;

// A main part as the reader delivers it: the header, the lines, "FEND".
inline Source mainPart(Source body) {
  body.insert(body.begin(), u"PROCEDURE __MAIN__()");
  body.push_back(u"FEND");
  return body;
}

inline std::u16string marker(std::u16string_view message) { return std::u16string(kErrorMarker) + std::u16string(message); }

class BuilderTest : public ::testing::Test {
 protected:
  BuilderTest() {
    store.evaluate = [this](std::u16string_view text, THensuFmt& f) {
      return values_test::evaluateSimple(store, text, f);
    };
  }

  void build(const Source& lines, bool japanese = false) {
    FReLoad(program, lines, BuildContext{store, host, japanese});
  }
  // Builds the lines as the body of the main part.
  void buildMain(const Source& body, bool japanese = false) { build(mainPart(body), japanese); }

  // "kind text" of a program line.
  std::string line(int q) const {
    return std::to_string(kindNumber(program.Records[static_cast<size_t>(q)].kind)) + " " +
           utf16ToUtf8(program.ScriptLines[static_cast<size_t>(q)]);
  }
  // The lines of the main part's body (without header and FEND).
  std::vector<std::string> body() const {
    std::vector<std::string> out;
    for (int q = 1; q + 1 < program.lineCount(); ++q) out.push_back(line(q));
    return out;
  }
  // The text of the first error line, without the marker; "" when there is none.
  std::string firstError() const {
    const int q = program.firstErrorLine();
    if (q < 0) return "";
    return utf16ToUtf8(std::u16string_view(program.ScriptLines[static_cast<size_t>(q)]).substr(kErrorMarker.size()));
  }
  std::vector<std::string> directErrors() const {
    std::vector<std::string> out;
    for (const auto& e : host.errors) out.push_back(utf16ToUtf8(e.message.english));
    return out;
  }
  template <typename T>
  const T& links(int q) const {
    const T* links = std::get_if<T>(&program.Records[static_cast<size_t>(q)].links);
    if (!links) {
      ADD_FAILURE() << "line " << q << " has other links";
      static const T none{};
      return none;
    }
    return *links;
  }

  GlobalStore store;
  HeadlessBuildHost host;
  Program program;
};

}  // namespace maqo::engine::builder_test
