#include "host/schedule/expression_preview.h"

#include "host/schedule/expression_template.h"

namespace maqo::host::schedule {

ExpressionPreview PreviewExpression(std::u16string_view expression, const platform::LocalTime& now,
                                    ScheduleLanguage language) {
  const bool japanese = language == ScheduleLanguage::Japanese;
  const ExpressionTemplate formula(expression);
  const int64_t nowMinute = MinuteNumber(MinuteOf(now));
  const int64_t first = MinuteNumber({now.year, now.month, now.day, 0, 0});
  const int64_t end = first + int64_t{kPreviewDays} * 1440;

  ExpressionPreview preview;
  for (int64_t number = first; number < end; ++number) {
    if (number <= nowMinute) continue;
    const ScheduleMinute m = MinuteFromNumber(number);
    if (!IsTrue(formula.evaluateAt(m, true))) continue;
    if (static_cast<int>(preview.hits.size()) == kPreviewLines) {
      preview.more = true;
      break;
    }
    preview.hits.push_back(m);
  }

  const std::u16string heading = japanese ? u"式による設定" : u"Expression";
  if (preview.hits.empty()) {
    preview.message = heading + u"\r\r" + (japanese ? u"３ヶ月以内での実行は無し" : u"No execution within 3 month");
    return preview;
  }
  preview.message = heading + u"\r";
  for (const ScheduleMinute& m : preview.hits) preview.message += MinuteText(m) + u"\r";
  if (preview.more) preview.message += u"        :";
  return preview;
}

}  // namespace maqo::host::schedule
