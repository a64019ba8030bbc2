// The date bar: five date fields (created, updated, due, start, completed)
// and TfmDateTime, the dialog that sets one of them.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QToolButton>
#include <array>
#include <optional>

class QCalendarWidget;
class QCheckBox;
class QTimeEdit;

namespace nuv {

class TfmDateTime : public QDialog {
 public:
  explicit TfmDateTime(QWidget* parent);
  // Presets the calendar and the time from a field's text.
  void SetFromField(const QString& text);
  // The field's text for the chosen date: "yyyy/mm/dd hh:nn:ss" or "yyyy/mm/dd **:**:**".
  QString FieldText() const;
  QCalendarWidget* Calendar() const { return m_calendar; }
  QTimeEdit* Time() const { return m_time; }
  QCheckBox* WithTime() const { return m_withTime; }

 private:
  QCalendarWidget* m_calendar;
  QTimeEdit* m_time;
  QCheckBox* m_withTime;
};

class TDateBar : public QWidget {
 public:
  explicit TDateBar(QWidget* parent);
  static constexpr const char* kEmpty = "----/--/-- **:**:**";
  QToolButton* Field(int i) const { return m_fields[static_cast<std::size_t>(i)]; }
  // Opens the dialog for a field, 33 pixels right of and 2 below its corner.
  void EditField(int i);

 private:
  std::array<QToolButton*, 5> m_fields{};
};

}  // namespace nuv
