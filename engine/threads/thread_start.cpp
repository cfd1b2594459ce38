#include "engine/threads/thread_start.h"

#include <memory>
#include <system_error>

#include "engine/exec/exec_messages.h"
#include "engine/run/tuscript.h"
#include "engine/threads/thread_messages.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

// What the new thread runs: the function's body in its frame. The frame (its
// locals and hash tables, objects among them) is released on the thread.
void runThreadBody(Executor& executor, std::shared_ptr<ExecFrame>& framePointer) {
  TUScript& engine = executor.engine();
  ExecFrame& frame = *framePointer;
  // An abandoned thread's errors belong to a run that is over: not reported.
  auto report = [&](const RaisedError& error) {
    if (!frame.thread.abandoned()) engine.ReportUncaught(error);
  };
  try {
    executor.RunRange(frame, frame.firstLine + 1, frame.end);
  } catch (const RaisedError& error) {
    report(error);
  } catch (const ScriptError& error) {
    report(executor.Raise(frame, error));
  } catch (const std::exception& error) {
    report(executor.Raise(frame, ScriptError(exec_messages::analysis(u16(error.what())), false)));
  }
  framePointer.reset();
}

}  // namespace

int StartScriptThread(Executor& executor, ExecFrame& caller, const FoundFunction& function,
                      std::vector<CallArgument>& arguments) {
  TUScript& engine = executor.engine();
  ThreadSlots& slots = engine.ThreadSlots;
  const int slot = slots.reserve();
  if (slot < 0) throw ThreadLimitError(thread_messages::tooManyThreads(kScriptThreadSlots));

  // Until the thread runs, the slot goes back on every way out.
  struct Reservation {
    ThreadSlots& slots;
    int slot;
    bool handedOver = false;
    ~Reservation() {
      if (!handedOver) slots.release(slot);
    }
  } reservation{slots, slot};

  TMainTrd& record = engine.TrdTable[static_cast<size_t>(slot) + 1];
  record.resetRunState();
  record.prepare(engine.program.lineCount());
  auto frame = std::make_shared<ExecFrame>(executor, record, nullptr);
  frame->threadSlot = slot;
  executor.PrepareThreadFrame(*frame, caller, function, arguments);
  if (engine.StopRequestedFor(caller.thread) || engine.AbortFlag.load()) return -1;

  bool started = false;
  try {
    reservation.handedOver = true;
    auto body = [&executor, frame = std::move(frame)]() mutable { runThreadBody(executor, frame); };
    started = slots.start(slot, function.name, std::move(body), kThreadStartBound);
  } catch (const std::system_error&) {
    started = false;
  }
  if (!started) throw ScriptError(thread_messages::cannotStart(function.name));
  return slot;
}

}  // namespace maqo::engine
