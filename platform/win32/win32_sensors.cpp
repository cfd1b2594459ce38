#include <windows.h>
#include <initguid.h>
#include <ole2.h>
#include <propidl.h>
#include <sensors.h>
#include <sensorsapi.h>

#include "platform/win32/win32_system.h"

namespace maqo::platform {

namespace {

enum class Value { Number, Boolean, Unsigned, Text };

struct SensorKind {
  int code;
  const GUID* category;
  const PROPERTYKEY* key;
  Value value;
};

// The SNSR_* codes: the category of the first sensor to read and its data field.
const SensorKind kKinds[] = {
    {1, &SENSOR_CATEGORY_BIOMETRIC, &SENSOR_DATA_TYPE_HUMAN_PRESENCE, Value::Boolean},
    {2, &SENSOR_CATEGORY_BIOMETRIC, &SENSOR_DATA_TYPE_HUMAN_PROXIMITY_METERS, Value::Number},
    {5, &SENSOR_CATEGORY_ELECTRICAL, &SENSOR_DATA_TYPE_CAPACITANCE_FARAD, Value::Number},
    {6, &SENSOR_CATEGORY_ELECTRICAL, &SENSOR_DATA_TYPE_RESISTANCE_OHMS, Value::Number},
    {7, &SENSOR_CATEGORY_ELECTRICAL, &SENSOR_DATA_TYPE_INDUCTANCE_HENRY, Value::Number},
    {8, &SENSOR_CATEGORY_ELECTRICAL, &SENSOR_DATA_TYPE_CURRENT_AMPS, Value::Number},
    {9, &SENSOR_CATEGORY_ELECTRICAL, &SENSOR_DATA_TYPE_VOLTAGE_VOLTS, Value::Number},
    {10, &SENSOR_CATEGORY_ELECTRICAL, &SENSOR_DATA_TYPE_ELECTRICAL_POWER_WATTS, Value::Number},
    {15, &SENSOR_CATEGORY_ENVIRONMENTAL, &SENSOR_DATA_TYPE_TEMPERATURE_CELSIUS, Value::Number},
    {16, &SENSOR_CATEGORY_ENVIRONMENTAL, &SENSOR_DATA_TYPE_ATMOSPHERIC_PRESSURE_BAR, Value::Number},
    {17, &SENSOR_CATEGORY_ENVIRONMENTAL, &SENSOR_DATA_TYPE_RELATIVE_HUMIDITY_PERCENT, Value::Number},
    {18, &SENSOR_CATEGORY_ENVIRONMENTAL, &SENSOR_DATA_TYPE_WIND_DIRECTION_DEGREES_ANTICLOCKWISE, Value::Number},
    {19, &SENSOR_CATEGORY_ENVIRONMENTAL, &SENSOR_DATA_TYPE_WIND_SPEED_METERS_PER_SECOND, Value::Number},
    {20, &SENSOR_CATEGORY_LIGHT, &SENSOR_DATA_TYPE_LIGHT_LEVEL_LUX, Value::Number},
    {21, &SENSOR_CATEGORY_LIGHT, &SENSOR_DATA_TYPE_LIGHT_TEMPERATURE_KELVIN, Value::Number},
    {22, &SENSOR_CATEGORY_LIGHT, &SENSOR_DATA_TYPE_LIGHT_CHROMACITY, Value::Number},
    {25, &SENSOR_CATEGORY_MECHANICAL, &SENSOR_DATA_TYPE_FORCE_NEWTONS, Value::Number},
    {26, &SENSOR_CATEGORY_MECHANICAL, &SENSOR_DATA_TYPE_ABSOLUTE_PRESSURE_PASCAL, Value::Number},
    {27, &SENSOR_CATEGORY_MECHANICAL, &SENSOR_DATA_TYPE_GAUGE_PRESSURE_PASCAL, Value::Number},
    {28, &SENSOR_CATEGORY_MECHANICAL, &SENSOR_DATA_TYPE_WEIGHT_KILOGRAMS, Value::Number},
    {30, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_ACCELERATION_X_G, Value::Number},
    {31, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_ACCELERATION_Y_G, Value::Number},
    {32, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_ACCELERATION_Z_G, Value::Number},
    {33, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_ANGULAR_ACCELERATION_X_DEGREES_PER_SECOND_SQUARED, Value::Number},
    {34, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_ANGULAR_ACCELERATION_Y_DEGREES_PER_SECOND_SQUARED, Value::Number},
    {35, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_ANGULAR_ACCELERATION_Z_DEGREES_PER_SECOND_SQUARED, Value::Number},
    {36, &SENSOR_CATEGORY_MOTION, &SENSOR_DATA_TYPE_SPEED_METERS_PER_SECOND, Value::Number},
    {40, &SENSOR_CATEGORY_SCANNER, &SENSOR_DATA_TYPE_RFID_TAG_40_BIT, Value::Unsigned},
    // 41 (barcode data): the sensor interface defines no such data field, so
    // it reads as no sensor.
    {45, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_TILT_X_DEGREES, Value::Number},
    {46, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_TILT_Y_DEGREES, Value::Number},
    {47, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_TILT_Z_DEGREES, Value::Number},
    {48, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_DISTANCE_X_METERS, Value::Number},
    {49, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_DISTANCE_Y_METERS, Value::Number},
    {50, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_DISTANCE_Z_METERS, Value::Number},
    {51, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_MAGNETIC_HEADING_MAGNETIC_NORTH_DEGREES, Value::Number},
    {52, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_MAGNETIC_HEADING_TRUE_NORTH_DEGREES, Value::Number},
    {53, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_MAGNETIC_HEADING_COMPENSATED_MAGNETIC_NORTH_DEGREES,
     Value::Number},
    {54, &SENSOR_CATEGORY_ORIENTATION, &SENSOR_DATA_TYPE_MAGNETIC_HEADING_COMPENSATED_TRUE_NORTH_DEGREES, Value::Number},
    {60, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_ALTITUDE_SEALEVEL_METERS, Value::Number},
    {61, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_LATITUDE_DEGREES, Value::Number},
    {62, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_LONGITUDE_DEGREES, Value::Number},
    {63, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_SPEED_KNOTS, Value::Number},
    {64, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_ADDRESS1, Value::Text},
    {65, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_ADDRESS2, Value::Text},
    {66, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_CITY, Value::Text},
    {67, &SENSOR_CATEGORY_LOCATION, &SENSOR_DATA_TYPE_COUNTRY_REGION, Value::Text},
};

template <typename T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T** out() { return &p; }
};

std::optional<double> numberOf(const PROPVARIANT& v) {
  switch (v.vt) {
    case VT_R8:
      return v.dblVal;
    case VT_R4:
      return v.fltVal;
    case VT_I1:
      return v.cVal;
    case VT_UI1:
      return v.bVal;
    case VT_I2:
      return v.iVal;
    case VT_UI2:
      return v.uiVal;
    case VT_I4:
    case VT_INT:
      return v.lVal;
    case VT_UI4:
    case VT_UINT:
      return v.ulVal;
    case VT_I8:
      return static_cast<double>(v.hVal.QuadPart);
    case VT_UI8:
      return static_cast<double>(v.uhVal.QuadPart);
    case VT_BOOL:
      return v.boolVal ? 1.0 : 0.0;
    default:
      return std::nullopt;
  }
}

SensorReading convert(const PROPVARIANT& v, Value kind) {
  SensorReading r;
  switch (kind) {
    case Value::Text:
      if (v.vt == VT_LPWSTR && v.pwszVal) {
        r.kind = SensorReading::Kind::Text;
        r.text = reinterpret_cast<const char16_t*>(v.pwszVal);
      } else if (v.vt == VT_BSTR && v.bstrVal) {
        r.kind = SensorReading::Kind::Text;
        r.text = reinterpret_cast<const char16_t*>(v.bstrVal);
      }
      return r;
    case Value::Boolean:
      if (auto n = numberOf(v)) {
        r.kind = SensorReading::Kind::Boolean;
        r.flag = *n != 0;
      }
      return r;
    case Value::Unsigned:
      if (v.vt == VT_UI8 || v.vt == VT_I8) {
        r.kind = SensorReading::Kind::Unsigned;
        r.unsignedValue = v.uhVal.QuadPart;
      } else if (auto n = numberOf(v)) {
        r.kind = SensorReading::Kind::Unsigned;
        r.unsignedValue = static_cast<uint64_t>(*n);
      }
      return r;
    case Value::Number:
      if (auto n = numberOf(v)) {
        r.kind = SensorReading::Kind::Number;
        r.number = *n;
      }
      return r;
  }
  return r;
}

}  // namespace

SensorReading Win32SensorReader::read(int code) {
  SensorReading none;
  const SensorKind* kind = nullptr;
  for (const SensorKind& k : kKinds)
    if (k.code == code) kind = &k;
  if (kind == nullptr) return none;

  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const bool uninitialize = SUCCEEDED(init);
  SensorReading result;
  {
    ComPtr<ISensorManager> manager;
    ComPtr<ISensorCollection> sensors;
    ComPtr<ISensor> sensor;
    ComPtr<ISensorDataReport> report;
    ULONG count = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_INPROC_SERVER, IID_ISensorManager,
                                   reinterpret_cast<void**>(manager.out()))) &&
        SUCCEEDED(manager.p->GetSensorsByCategory(*kind->category, sensors.out())) &&
        SUCCEEDED(sensors.p->GetCount(&count)) && count > 0 && SUCCEEDED(sensors.p->GetAt(0, sensor.out())) &&
        SUCCEEDED(sensor.p->GetData(report.out()))) {
      PROPVARIANT value;
      PropVariantInit(&value);
      if (SUCCEEDED(report.p->GetSensorValue(*kind->key, &value))) result = convert(value, kind->value);
      PropVariantClear(&value);
    }
  }
  if (uninitialize) CoUninitialize();
  return result;
}

}  // namespace maqo::platform
