// The messages of the image builtins, in both languages.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"
#include "platform/text_codec.h"

namespace maqo::automation::image_messages {

using engine::cat;

inline engine::ScriptError toleranceWrong() {
  return {u"CHKIMG: Value of the 8 argument is wrong", u"CHKIMG: 第8引数の値が間違っています"};
}
inline engine::Message notFound(std::u16string_view file) { return {cat(u"Not Found: ", file), {}}; }
inline engine::ScriptError notBmp(std::u16string_view file) { return {cat(u"It is the BMP file incorrect: ", file), {}}; }
inline engine::Message templateTooLarge() {
  return {u"CHKIMG: Specified image is too large", u"CHKIMG: 指定画像が大きすぎます"};
}
inline engine::Message hitLimit(size_t limit) {
  const std::u16string n = u16(std::to_string(limit));
  return {cat(u"CHKIMG: Number of Hit exceeded maximum value: ", n), cat(u"CHKIMG: HIT数が最大値(", n, u")を超えました")};
}
inline engine::Message searchFailed(std::u16string_view what) { return {cat(u"CHKIMG: error: ", what), {}}; }
inline engine::Message saveFailed(std::u16string_view file) {
  return {cat(u"SAVEIMG: File couldn't be saved. ", file), cat(u"SAVEIMG：ファイル保存できませんでした ", file)};
}
inline engine::ScriptError jpegUnavailable() {
  return {u"SAVEIMG: this build has no JPEG encoder; save as BMP instead",
          u"SAVEIMG: この版には JPEG エンコーダがありません。BMP で保存してください"};
}

}  // namespace maqo::automation::image_messages
