#include <algorithm>
#include <vector>

#include "platform/win32/win32_com.h"

namespace maqo::platform::win32com {

namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Visits every index tuple of an array with the last index varying fastest,
// the order ComValue keeps its elements in.
template <typename Visit>
void forEachIndex(const std::vector<ComArrayBound>& bounds, Visit visit) {
  if (bounds.empty()) return;  // no dimensions: no elements
  std::vector<LONG> index(bounds.size());
  for (size_t d = 0; d < bounds.size(); ++d) {
    if (bounds[d].upper < bounds[d].lower) return;
    index[d] = bounds[d].lower;
  }
  for (;;) {
    visit(index.data());
    size_t d = bounds.size();
    while (d > 0) {
      --d;
      if (index[d] < bounds[d].upper) {
        ++index[d];
        break;
      }
      index[d] = bounds[d].lower;
      if (d == 0) return;
    }
  }
}

SAFEARRAY* toSafeArray(const ComValue& value) {
  std::vector<SAFEARRAYBOUND> bounds;
  for (const ComArrayBound& b : value.bounds)
    bounds.push_back({static_cast<ULONG>(std::max<int32_t>(0, b.upper - b.lower + 1)), b.lower});
  if (bounds.empty()) bounds.push_back({0, 0});
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, static_cast<UINT>(bounds.size()), bounds.data());
  if (array == nullptr) return nullptr;
  size_t flat = 0;
  forEachIndex(value.bounds, [&](LONG* index) {
    if (flat >= value.elements.size()) return;
    VARIANT element;
    VariantInit(&element);
    ToVariant(value.elements[flat++], element);
    SafeArrayPutElement(array, index, &element);
    VariantClear(&element);
  });
  return array;
}

ComValue fromSafeArray(SAFEARRAY* array, VARTYPE elementType) {
  ComValue out;
  out.type = vt::kArray | vt::kVariant;
  if (array == nullptr) return out;
  const UINT dims = SafeArrayGetDim(array);
  for (UINT d = 1; d <= dims; ++d) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, d, &lower);
    SafeArrayGetUBound(array, d, &upper);
    out.bounds.push_back({lower, upper});
  }
  // The array's own element type, when it keeps one, is what its elements are.
  if (VARTYPE own = VT_EMPTY; SUCCEEDED(SafeArrayGetVartype(array, &own)) && own != VT_EMPTY) elementType = own;
  const UINT elementBytes = SafeArrayGetElemsize(array);
  forEachIndex(out.bounds, [&](LONG* index) {
    VARIANT element;
    VariantInit(&element);
    if (elementType == VT_VARIANT) {
      if (elementBytes == sizeof(VARIANT)) SafeArrayGetElement(array, index, &element);
    } else if (elementType == VT_DECIMAL) {
      if (SUCCEEDED(SafeArrayGetElement(array, index, &element.decVal))) element.vt = VT_DECIMAL;
    } else if (elementBytes <= sizeof element.llVal) {
      // The element's bytes land in the VARIANT's value field; its type says how to read them.
      if (SUCCEEDED(SafeArrayGetElement(array, index, &element.llVal))) element.vt = elementType;
    }  // wider elements (records) stay Empty
    out.elements.push_back(FromVariant(element));
    VariantClear(&element);
  });
  return out;
}

}  // namespace

void ToVariant(const ComValue& value, VARIANT& out) {
  VariantInit(&out);
  if (value.type & vt::kArray) {
    if (SAFEARRAY* array = toSafeArray(value)) {
      out.vt = VT_ARRAY | VT_VARIANT;
      out.parray = array;
    }
    return;
  }
  out.vt = value.type;
  switch (value.type) {
    case vt::kI2: out.iVal = static_cast<SHORT>(value.integer); break;
    case vt::kI4: out.lVal = static_cast<LONG>(value.integer); break;
    case vt::kInt: out.intVal = static_cast<INT>(value.integer); break;
    case vt::kI1: out.cVal = static_cast<CHAR>(value.integer); break;
    case vt::kUI1: out.bVal = static_cast<BYTE>(value.integer); break;
    case vt::kUI2: out.uiVal = static_cast<USHORT>(value.integer); break;
    case vt::kUI4: out.ulVal = static_cast<ULONG>(value.integer); break;
    case vt::kUInt: out.uintVal = static_cast<UINT>(value.integer); break;
    case vt::kI8: out.llVal = value.integer; break;
    case vt::kUI8: out.ullVal = static_cast<ULONGLONG>(value.integer); break;
    case vt::kR4: out.fltVal = static_cast<FLOAT>(value.number); break;
    case vt::kR8: out.dblVal = value.number; break;
    case vt::kDate: out.date = value.number; break;
    case vt::kCurrency: out.cyVal.int64 = value.integer; break;
    case vt::kError: out.scode = static_cast<SCODE>(value.integer); break;
    case vt::kBool: out.boolVal = value.integer != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case vt::kBstr: out.bstrVal = SysAllocStringLen(wide(value.text), static_cast<UINT>(value.text.size())); break;
    case vt::kDispatch:
    case vt::kUnknown:
      out.vt = VT_DISPATCH;
      out.pdispVal = value.object ? DispatchForThisThread(*value.object) : nullptr;
      break;
    case vt::kEmpty:
    case vt::kNull: break;
    default: out.vt = VT_EMPTY; break;
  }
}

ComValue FromVariant(const VARIANT& in) {
  if (in.vt & VT_BYREF) {
    VARIANT direct;
    VariantInit(&direct);
    ComValue out;
    if (SUCCEEDED(VariantCopyInd(&direct, const_cast<VARIANT*>(&in)))) out = FromVariant(direct);
    VariantClear(&direct);
    return out;
  }
  if (in.vt & VT_ARRAY) return fromSafeArray(in.parray, static_cast<VARTYPE>(in.vt & VT_TYPEMASK));
  ComValue out;
  out.type = in.vt;
  switch (in.vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_I2: out.integer = in.iVal; break;
    case VT_I4: out.integer = in.lVal; break;
    case VT_INT: out.integer = in.intVal; break;
    case VT_I1: out.integer = in.cVal; break;
    case VT_UI1: out.integer = in.bVal; break;
    case VT_UI2: out.integer = in.uiVal; break;
    case VT_UI4: out.integer = in.ulVal; break;
    case VT_UINT: out.integer = in.uintVal; break;
    case VT_I8: out.integer = in.llVal; break;
    case VT_UI8: out.integer = static_cast<int64_t>(in.ullVal); break;
    case VT_R4: out.number = in.fltVal; break;
    case VT_R8: out.number = in.dblVal; break;
    case VT_DATE: out.number = in.date; break;
    case VT_CY: out.integer = in.cyVal.int64; break;
    case VT_ERROR: out.integer = in.scode; break;
    case VT_BOOL: out.integer = in.boolVal != 0 ? -1 : 0; break;
    case VT_BSTR:
      if (in.bstrVal != nullptr)
        out.text.assign(reinterpret_cast<const char16_t*>(in.bstrVal), SysStringLen(in.bstrVal));
      break;
    case VT_DISPATCH: out.object = WrapDispatch(in.pdispVal); break;
    case VT_UNKNOWN: {
      out.type = vt::kDispatch;
      IDispatch* dispatch = nullptr;
      if (in.punkVal != nullptr && SUCCEEDED(in.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        out.object = WrapDispatch(dispatch);
        dispatch->Release();
      }
      break;
    }
    default: {
      // Decimals and the rest: as a double when they convert, else as text.
      VARIANT converted;
      VariantInit(&converted);
      if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&in), 0, VT_R8))) {
        out.type = vt::kR8;
        out.number = converted.dblVal;
      } else if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&in), 0, VT_BSTR))) {
        out = FromVariant(converted);
      } else {
        out.type = vt::kEmpty;
      }
      VariantClear(&converted);
    }
  }
  return out;
}

std::u16string SystemErrorText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (length > 0 && buffer != nullptr) text.assign(reinterpret_cast<const char16_t*>(buffer), length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return text;
}

void FailWith(ComFailure& failure, HRESULT code) {
  failure.code = static_cast<int32_t>(code);
  failure.systemText = SystemErrorText(code);
}

}  // namespace maqo::platform::win32com
