// Pieces shared by the whole-file writers of both builds (writeAllReplacing):
// the name of the temporary file a write goes through, how a later write
// recognises the temporaries of writers that died, and a progress hook for
// fault-injection tests.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace maqo::platform {

// The temporary file beside target: target + ".maqo-tmp-" + pid + "-" +
// sequence. The sequence keeps two threads of one process that write the same
// file at once from sharing a temporary.
std::u16string ReplaceTempName(std::u16string_view target, uint32_t pid, uint32_t sequence);
// The next sequence number of this process.
uint32_t NextReplaceSequence();

// The process ID in entryName when it names a temporary of a file called
// targetName (both bare names, compared without regard to ASCII case); nothing
// for any other name.
std::optional<uint32_t> ReplaceTempOwner(std::u16string_view targetName, std::u16string_view entryName);

// Called once the temporary file is created (written 0) and after each chunk
// written to it, with the bytes written so far and the total; the last call
// (written == total) comes before the temporary is flushed and renamed over
// the target. Tests install a hook
// that ends the process there to show that the target always survives whole.
// Nothing in the product installs one, so for users it stays null and the
// writers only read a null pointer per chunk.
using ReplaceWriteProgress = void (*)(uint64_t written, uint64_t total);
void SetReplaceWriteProgressHook(ReplaceWriteProgress hook);
void ReportReplaceWriteProgress(uint64_t written, uint64_t total);

// Chunk size of the writers, so the hook sees a large write in steps.
inline constexpr size_t kReplaceWriteChunk = size_t{1} << 20;

}  // namespace maqo::platform
