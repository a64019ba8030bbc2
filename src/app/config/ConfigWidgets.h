// Small widget builders the settings dialog's pages share.
#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace nuv {

// A framed group with its caption, added to a page's column.
inline QVBoxLayout* ConfigGroup(QVBoxLayout* page, const QString& caption) {
  auto* group = new QGroupBox(caption, page->parentWidget());
  page->addWidget(group);
  return new QVBoxLayout(group);
}

inline QPushButton* ConfigButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace nuv
