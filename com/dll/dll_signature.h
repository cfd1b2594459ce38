// A DEF_DLL declaration taken apart for calling: the procedure name, the
// parameter types (with the structure brackets), the return type, the DLL
// file and the PACK switch. Parsed once per declaration text and kept.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::com::dll {

// The type codes of the declaration table (engine/builder/dll_declaration.h
// maps the type words to them).
enum DllType : int {
  kInt = 1,       // INT BOOL LONG
  kFloat = 2,
  kDouble = 3,
  kString = 4,    // ANSI text pointer
  kPChar = 5,     // PCHAR PBYTE
  kWord = 6,
  kDWord = 7,     // DWORD UINT HWND HMENU
  kByte = 8,      // BYTE BOOLEAN
  kChar = 9,
  kWChar = 10,
  kLongLong = 11,
  kExtended = 12, // 80-bit x87 float
  kWString = 13,  // UTF-16 text pointer
  kPWChar = 14,
  kVoid = 16,
  kVariant = 17,
  kSafeArray = 18,
  kStructBegin = 20,
  kStructEnd = 21,
};

struct DllParameter {
  int type = 0;              // a DllType
  bool byReference = false;  // "VAR " before it or "[]" after it
};

struct DllSignature {
  std::string procedureName;  // as declared, without a module qualifier
  std::vector<DllParameter> parameters;  // the structure brackets included
  size_t argumentCount = 0;   // parameters other than brackets
  int returnType = kVoid;
  bool returnTypeValid = true;
  std::u16string library;     // empty: the declaration names no DLL
  bool packed = false;        // PACK: no alignment inside structures

  // VARIANT and SAFEARRAY results come back through a hidden first argument.
  bool returnsThroughVariant() const { return returnType == kVariant || returnType == kSafeArray; }
  bool returnsFloatingPoint() const {
    return returnType == kFloat || returnType == kDouble || returnType == kExtended;
  }
};

// Parses the declaration text that follows the name (as the builder stores
// it, e.g. "(HWND, WSTRING, WSTRING, UINT): INT: user32.dll"). qualifiedName
// is the registered name; its module prefix is dropped. Throws ScriptError
// "Error" for an unknown parameter type and "SyntaxError-60" for a "{"
// without its "}". A bad return type and a missing DLL name are recorded
// (returnTypeValid, library) and reported by the call at their turn.
DllSignature ParseDllSignature(std::u16string_view qualifiedName, std::u16string_view declaration);

// True for the text types (pointers to a copy of the text).
inline bool IsTextType(int type) { return type == kString || type == kPChar || type == kWString || type == kPWChar; }
inline bool IsWideTextType(int type) { return type == kWString || type == kPWChar; }

}  // namespace maqo::com::dll
