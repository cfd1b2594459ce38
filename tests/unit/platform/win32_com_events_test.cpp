// The Windows event sink as a server sees it: the interfaces it answers, the
// parameters in declaration order, what a handler's changes do to each kind
// of by-reference parameter, and a failing handler. Windows only; the suite
// runs under Wine.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/win32_com.h"

namespace maqo::platform::win32com {
namespace {

// {0E5A0002-0000-0000-0000-000000000002}
const IID kEventsIid = {0x0e5a0002, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 2}};

class Sink {
 public:
  explicit Sink(ComEventHandler handler) : sink_(CreateEventSink(kEventsIid, std::move(handler))) {
    EnsureComOnThisThread();
  }
  ~Sink() { sink_->Release(); }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
  IDispatch* operator->() const { return sink_; }

  // Invoke as a server calls it: arguments in declaration order here,
  // reversed into DISPPARAMS.
  HRESULT fire(DISPID id, std::vector<VARIANT> arguments) {
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS parameters{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()),
                          0};
    return sink_->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
  }

 private:
  IDispatch* sink_;
};

VARIANT byReference(VARTYPE type, void* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = static_cast<VARTYPE>(VT_BYREF | type);
  v.byref = target;
  return v;
}

VARIANT integer(LONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

ComValue text(std::u16string value) {
  ComValue v;
  v.type = vt::kBstr;
  v.text = std::move(value);
  return v;
}

ComValue number(double value) {
  ComValue v;
  v.type = vt::kR8;
  v.number = value;
  return v;
}

TEST(Win32EventSink, AnswersItsOwnInterfacesAndTheEventInterface) {
  Sink sink([](int32_t, std::vector<ComValue>&) {});
  const IID* answered[] = {&IID_IUnknown, &IID_IDispatch, &kEventsIid};
  for (const IID* iid : answered) {
    void* out = nullptr;
    EXPECT_EQ(sink->QueryInterface(*iid, &out), S_OK);
    ASSERT_NE(out, nullptr);
    static_cast<IUnknown*>(out)->Release();
  }
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(sink->QueryInterface(IID_IEnumVARIANT, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
}

TEST(Win32EventSink, DeliversTheEventIdAndParametersInDeclarationOrder) {
  int32_t seenId = -1;
  std::vector<int64_t> seen;
  Sink sink([&](int32_t id, std::vector<ComValue>& parameters) {
    seenId = id;
    for (const ComValue& p : parameters) seen.push_back(p.integer);
  });
  EXPECT_EQ(sink.fire(0, {integer(1), integer(2), integer(3)}), S_OK);
  EXPECT_EQ(seenId, 0);
  EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 3}));
}

TEST(Win32EventSink, WritesChangedByReferenceParametersBackByTheirType) {
  SHORT i2 = 1;
  LONG i4 = 1;
  FLOAT r4 = 1;
  DOUBLE r8 = 1;
  BYTE ui1 = 1;
  VARIANT_BOOL flag = VARIANT_FALSE;
  BSTR bstr = SysAllocString(L"old");
  VARIANT inner;
  VariantInit(&inner);
  inner.vt = VT_I4;
  inner.lVal = 1;
  LONG untouched = 7;
  Sink sink([](int32_t, std::vector<ComValue>& p) {
    p[0] = number(-2);
    p[1] = number(70000);
    p[2] = number(2.5);
    p[3] = number(1e300);
    p[4] = number(200);
    p[5] = number(3);  // any non-zero value is VARIANT_TRUE
    p[6] = text(u"new");
    p[7] = text(u"now a text");
    // p[8] stays as it was
  });
  EXPECT_EQ(sink.fire(1, {byReference(VT_I2, &i2), byReference(VT_I4, &i4), byReference(VT_R4, &r4),
                          byReference(VT_R8, &r8), byReference(VT_UI1, &ui1), byReference(VT_BOOL, &flag),
                          byReference(VT_BSTR, &bstr), byReference(VT_VARIANT, &inner), byReference(VT_I4, &untouched)}),
            S_OK);
  EXPECT_EQ(i2, -2);
  EXPECT_EQ(i4, 70000);
  EXPECT_FLOAT_EQ(r4, 2.5f);
  EXPECT_DOUBLE_EQ(r8, 1e300);
  EXPECT_EQ(ui1, 200);
  EXPECT_EQ(flag, VARIANT_TRUE);
  EXPECT_STREQ(bstr, L"new");
  ASSERT_EQ(inner.vt, VT_BSTR);
  EXPECT_STREQ(inner.bstrVal, L"now a text");
  EXPECT_EQ(untouched, 7);
  SysFreeString(bstr);
  VariantClear(&inner);
}

TEST(Win32EventSink, AValueTheParameterCannotTakeStopsTheWriteBack) {
  LONG first = 1, second = 1;
  Sink sink([](int32_t, std::vector<ComValue>& p) {
    p[0] = text(u"not a number");
    p[1] = number(5);
  });
  EXPECT_EQ(sink.fire(1, {byReference(VT_I4, &first), byReference(VT_I4, &second)}), S_FALSE);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);  // the parameters after the failing one are skipped
}

TEST(Win32EventSink, AFailingHandlerIsRethrownOnceAfterTheServerReturns) {
  Sink sink([](int32_t, std::vector<ComValue>&) { throw std::runtime_error("handler failed"); });
  EXPECT_EQ(sink.fire(1, {integer(1)}), S_OK);  // nothing crosses the server's frames
  EXPECT_THROW(RethrowEventHandlerFailure(), std::runtime_error);
  EXPECT_NO_THROW(RethrowEventHandlerFailure());
}

}  // namespace
}  // namespace maqo::platform::win32com
#endif
