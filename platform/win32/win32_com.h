// The Win32 side of the COM seam: dispatch objects that remember the
// apartment that obtained them (and reach it through the global interface
// table from any other), and VARIANT conversions.
#pragma once
#include <objbase.h>
#include <oaidl.h>
#include <windows.h>

#include "platform/com_automation.h"

namespace maqo::platform::win32com {

// Initialises COM on the calling thread once (an apartment of its own unless
// the thread already entered one, as script threads do).
void EnsureComOnThisThread();

// Wraps a dispatch interface (takes a reference of its own); null gives null.
std::shared_ptr<ComObject> WrapDispatch(IDispatch* dispatch);
// The dispatch interface of a wrapped object usable on the calling thread,
// with a reference the caller releases; null when it cannot be had.
IDispatch* DispatchForThisThread(const ComObject& object);

// VARIANT <-> ComValue. ToVariant fills an initialised VARIANT the caller
// clears; FromVariant reads any VARIANT (by-reference ones through their target).
void ToVariant(const ComValue& value, VARIANT& out);
ComValue FromVariant(const VARIANT& value);

// The system's text for an HRESULT, without the trailing line break.
std::u16string SystemErrorText(HRESULT code);
// Fills failure with the code and its system text.
void FailWith(ComFailure& failure, HRESULT code);

// The process's global interface table (free-threaded), or null.
IGlobalInterfaceTable* GlobalInterfaceTable();

// Events (win32_com_events.cpp). FindEventByName and AdviseEventSink answer
// ComObject::findEvent and connectEvents for a dispatch interface of the
// calling thread.
bool FindEventByName(IDispatch* dispatch, std::u16string_view interfaceName, std::u16string_view eventName,
                     std::u16string& interfaceId, int32_t& dispatchId, bool& found, ComFailure& failure);
std::unique_ptr<ComEventConnection> AdviseEventSink(IDispatch* dispatch, std::u16string_view interfaceId,
                                                    ComEventHandler handler, ComFailure& failure);
// A new sink (one reference, the caller's) answering IUnknown, IDispatch and
// interfaceId, whose Invoke hands each event to handler and writes changed
// by-reference parameters back.
IDispatch* CreateEventSink(const IID& interfaceId, ComEventHandler handler);
// Rethrows, once, what an event handler threw on this thread while a server
// was calling the sink (the exception was held so it never crossed the
// server's frames).
void RethrowEventHandlerFailure();

}  // namespace maqo::platform::win32com
