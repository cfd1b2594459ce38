#include "builtins/math_builtins.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "builtins/builtin_messages.h"
#include "engine/eval/numeric_ops.h"

namespace maqo::builtins {

namespace {

using engine::ScriptValue;

// The floating-point exceptions a computation raised, as the x87 status bits.
enum Fault : unsigned { kInvalid = 1, kDenormal = 2, kZeroDivide = 4, kOverflow = 8, kUnderflow = 16, kPrecision = 32 };

// Collects the exceptions of one computation and throws the error of the
// first one the control word leaves unmasked. The processor never traps: the
// sticky status flags are cleared before and read after the computation, and
// because not every math library raises them (some return NaN or infinity
// from a domain or pole check), the result is classified as well.
class FaultCheck {
 public:
  FaultCheck() { std::feclearexcept(FE_ALL_EXCEPT); }

  // The operands, before the computation.
  void operands(std::initializer_list<double> values) {
    for (double v : values) {
      if (std::fpclassify(v) == FP_SUBNORMAL) faults_ |= kDenormal;
      if (std::isnan(v)) nanOperand_ = true;
      if (std::isinf(v)) infiniteOperand_ = true;
    }
  }
  // A division by zero (a pole) the caller recognised.
  void zeroDivide() { faults_ |= kZeroDivide; }

  void check(double result, const FloatingPointControl& fpu) {
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    if (raised & FE_INVALID) faults_ |= kInvalid;
    if (raised & FE_DIVBYZERO) faults_ |= kZeroDivide;
    if (raised & FE_OVERFLOW) faults_ |= kOverflow;
    if (raised & FE_UNDERFLOW) faults_ |= kUnderflow;
    if (raised & FE_INEXACT) faults_ |= kPrecision;
    if (std::isnan(result) && !nanOperand_) faults_ |= kInvalid;
    if (std::isinf(result) && !nanOperand_ && !infiniteOperand_ && !(faults_ & kZeroDivide)) faults_ |= kOverflow;
    if (std::fpclassify(result) == FP_SUBNORMAL) faults_ |= kUnderflow;

    if (unmasked(kInvalid, fpu) || unmasked(kDenormal, fpu))
      throw messages::callFailure(u"Invalid floating point operation", u"浮動小数点数の無効な演算");
    if (unmasked(kZeroDivide, fpu))
      throw messages::callFailure(u"Floating point division by zero", u"0 による浮動小数点数除算");
    if (unmasked(kOverflow, fpu))
      throw messages::callFailure(u"Floating point overflow", u"浮動小数点オーバーフロー");
    if (unmasked(kUnderflow, fpu))
      throw messages::callFailure(u"Floating point underflow", u"浮動小数点アンダーフロー");
    if (unmasked(kPrecision, fpu))
      throw messages::callFailure(u"Floating point inexact result", u"浮動小数点数の不正確な結果");
  }

 private:
  bool unmasked(unsigned fault, const FloatingPointControl& fpu) const {
    return (faults_ & fault) != 0 && !fpu.masked(static_cast<uint16_t>(fault));
  }

  unsigned faults_ = 0;
  bool nanOperand_ = false;
  bool infiniteOperand_ = false;
};

// Exact powers of ten up to 10^22; ROUND needs up to 10^20.
double powerOfTen(int n) {
  double p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// x rounded to the multiple of 10^digits, ties to the even multiple. Dividing
// (or multiplying) by the exact power of ten keeps results such as
// ROUND(1234.5678, -2) = 1234.57 exact to the last digit.
double roundToDigits(double x, int64_t digits) {
  if (!std::isfinite(x)) return x;
  if (digits <= 0) {
    // A value of 2^52 or more has no fraction left to round.
    if (std::fabs(x) >= 4503599627370496.0) return x;
    const double scale = powerOfTen(static_cast<int>(-digits));
    const double scaled = x * scale;
    if (!std::isfinite(scaled)) return x;
    return std::nearbyint(scaled) / scale;
  }
  const double scale = powerOfTen(static_cast<int>(digits));
  return std::nearbyint(x / scale) * scale;
}

// CEIL: truncated toward zero, plus 1 when a fraction above 0 was cut off; a
// 32-bit integer when it fits, else a 64-bit integer, else the double itself
// (beyond 2^63 every double is an integer already).
ScriptValue ceilValue(double x) {
  if (!std::isfinite(x)) return ScriptValue::number(x);
  double t = std::trunc(x);
  if (x - t > 0) t += 1;
  if (t >= -2147483648.0 && t <= 2147483647.0) return ScriptValue::int32(static_cast<int32_t>(t));
  if (t >= -9223372036854775808.0 && t < 9223372036854775808.0)
    return ScriptValue::integer(engine::VarType::Int64, static_cast<int64_t>(t));
  return ScriptValue::number(t);
}

// Keeps the compiler from folding or moving a computation across the flag reads.
double settle(double value) {
  volatile double v = value;
  return v;
}

}  // namespace

ScriptValue ComputeMath(std::u16string_view name, const MathArguments& args, const FloatingPointControl& fpu) {
  volatile double x0 = args.x[0];
  volatile double x1 = args.x[1];
  const double x = x0;
  const double y = x1;

  if (name == u"INT") return ScriptValue::number(std::trunc(x));
  if (name == u"ABS") return ScriptValue::number(std::fabs(x));
  if (name == u"ZCUT") return x < 0 ? ScriptValue::int32(0) : ScriptValue::number(x);
  if (name == u"CEIL") return ceilValue(x);
  if (name == u"ROUND") {
    const int64_t digits = engine::truncateToInt64(y);
    if (digits < -20 || digits > 20)
      throw messages::callFailure(u"ROUND: the number of digits must be -20 to 20", u"ROUND: 桁数は -20 から 20 です");
    FaultCheck faults;
    faults.operands({x});
    const double r = settle(roundToDigits(x, digits));
    faults.check(r, fpu);
    return ScriptValue::number(r);
  }

  FaultCheck faults;
  double r = 0;
  if (name == u"SQRT") {
    faults.operands({x});
    r = settle(std::sqrt(x));
  } else if (name == u"POWER") {
    faults.operands({x, y});
    if (x == 0 && y < 0) faults.zeroDivide();
    r = y == 0 ? 1.0 : settle(std::pow(x, y));
  } else if (name == u"SIN") {
    faults.operands({x});
    r = settle(std::sin(x));
  } else if (name == u"COS") {
    faults.operands({x});
    r = settle(std::cos(x));
  } else if (name == u"TAN") {
    faults.operands({x});
    r = settle(std::tan(x));
  } else if (name == u"EXP") {
    faults.operands({x});
    r = settle(std::exp(x));
  } else if (name == u"LN") {
    faults.operands({x});
    if (x == 0) faults.zeroDivide();
    r = settle(std::log(x));
  } else if (name == u"LOGN") {
    // LOGN(base, x)
    faults.operands({x, y});
    const double logX = settle(std::log2(y));
    const double logBase = settle(std::log2(x));
    if (x == 0 || y == 0 || (logBase == 0 && logX != 0 && !std::isnan(logX))) faults.zeroDivide();
    r = settle(logX / logBase);
  } else if (name == u"ARCSIN") {
    faults.operands({x});
    r = settle(std::atan2(x, settle(std::sqrt(settle((1 + x) * (1 - x))))));
  } else if (name == u"ARCCOS") {
    faults.operands({x});
    r = settle(std::atan2(settle(std::sqrt(settle((1 + x) * (1 - x)))), x));
  } else if (name == u"ARCTAN") {
    faults.operands({x});
    r = settle(std::atan(x));
  } else {
    throw messages::notAvailableYet(name);
  }
  faults.check(r, fpu);
  return ScriptValue::number(r);
}

ScriptValue MathBuiltin(const BuiltinEntry& entry, const MathArguments& args, BuiltinHost& host) {
  return ComputeMath(entry.name, args, StateOf(host).floatingPoint);
}

ScriptValue RandomBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const uint32_t seed = StateOf(host).random.next();
  if (call.count() == 0) return ScriptValue::number(static_cast<double>(seed) / 4294967296.0);
  const int64_t n = call.integer(0);
  if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max()) {
    // |seed * n| < 2^63, and the shift of a negative product rounds toward minus infinity.
    const int64_t product = static_cast<int64_t>(seed) * n;
    return ScriptValue::int32(static_cast<int32_t>(product >> 32));
  }
  // Beyond 32 bits the same scaling in double precision.
  const double r = std::floor(static_cast<double>(seed) / 4294967296.0 * static_cast<double>(n));
  return ScriptValue::integer(engine::VarType::Int64, engine::truncateToInt64(r));
}

ScriptValue Set8087CwBuiltin(BuiltinCall& call, BuiltinHost& host) {
  FloatingPointControl& fpu = StateOf(host).floatingPoint;
  const int64_t word = call.integer(0);
  if (word < 0 || word > 65535)
    throw messages::callFailure(u"SET8087CW: the control word must be 0 to 65535",
                                u"SET8087CW: 制御ワードは 0 から 65535 です");
  if (word == 0)
    fpu.restore();
  else
    fpu.set(static_cast<uint16_t>(word));
  return ScriptValue::string(u"");
}

}  // namespace maqo::builtins
