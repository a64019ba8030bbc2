// The date bar and its dialog.
#include "app/DateBar.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace nuv {

TfmDateTime::TfmDateTime(QWidget* parent) : QDialog(parent) {
  setObjectName("fmDateTime");
  setWindowTitle(QStringLiteral("日時の設定"));
  auto* layout = new QVBoxLayout(this);
  m_calendar = new QCalendarWidget(this);
  m_calendar->setFirstDayOfWeek(Qt::Monday);
  layout->addWidget(m_calendar);
  auto* row = new QHBoxLayout;
  m_withTime = new QCheckBox(this);
  m_time = new QTimeEdit(this);
  m_time->setDisplayFormat("HH:mm:ss");
  row->addWidget(m_withTime);
  row->addWidget(m_time, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void TfmDateTime::SetFromField(const QString& text) {
  // "yyyy/mm/dd hh:nn:ss": date at bytes 1-4, 6-7, 9-10; time at 12-13, 15-16, 18-19.
  if (text.size() >= 10 && text[0] != QLatin1Char('-')) {
    const QDate date(text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    if (date.isValid()) m_calendar->setSelectedDate(date);
  }
  const bool hasTime = text.size() >= 19 && text[11] != QLatin1Char('*');
  m_withTime->setChecked(hasTime);
  if (hasTime) m_time->setTime(QTime(text.mid(11, 2).toInt(), text.mid(14, 2).toInt(), text.mid(17, 2).toInt()));
}

QString TfmDateTime::FieldText() const {
  const QString date = m_calendar->selectedDate().toString("yyyy/MM/dd");
  return date + QLatin1Char(' ') + (m_withTime->isChecked() ? m_time->time().toString("HH:mm:ss") : QStringLiteral("**:**:**"));
}

TDateBar::TDateBar(QWidget* parent) : QWidget(parent) {
  setObjectName("pnlDate");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(2, 0, 2, 0);
  const char* labels[5] = {"作成:", "更新:", "期日:", "開始:", "完了:"};
  // First row: created and updated; second row: due, start and completed.
  const int rows[5] = {0, 0, 1, 1, 1}, columns[5] = {0, 2, 0, 2, 4};
  for (int i = 0; i < 5; ++i) {
    grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), rows[i], columns[i]);
    auto* field = new QToolButton(this);
    field->setObjectName(QStringLiteral("edDate%1").arg(i));
    field->setText(QString::fromLatin1(kEmpty));
    field->setAutoRaise(true);
    grid->addWidget(field, rows[i], columns[i] + 1);
    m_fields[static_cast<std::size_t>(i)] = field;
    connect(field, &QToolButton::clicked, this, [this, i] { EditField(i); });
  }
  grid->setColumnStretch(6, 1);
}

void TDateBar::EditField(int i) {
  QToolButton* field = Field(i);
  TfmDateTime dialog(window());
  dialog.SetFromField(field->text());
  dialog.move(field->mapToGlobal(QPoint(33, 2)));
  if (dialog.exec() == QDialog::Accepted) field->setText(dialog.FieldText());
}

}  // namespace nuv
