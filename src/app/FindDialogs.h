// The find, replace and query-replace dialogs.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "outline/PageEditor.h"
#include "search/FindRange.h"
#include "search/ReplaceWalk.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace nuv {

// The four option boxes shared by find and replace, with their interlocks:
// match case excludes regular expression and fuzzy, and the other way round.
class TSearchOptionBoxes : public QObject {
  Q_OBJECT
 public:
  explicit TSearchOptionBoxes(QWidget* parent);
  QCheckBox* cbMatchCase;
  QCheckBox* cbRegExp;
  QCheckBox* cbFuzzy;
  QCheckBox* cbWholeWord;
  TExSearchOptions Options() const;

 private:
  void Interlock();
};

// "検索": the pattern with its history, the options and the range.
class TfmFind : public QDialog {
  Q_OBJECT
 public:
  TfmFind(QWidget* parent, const std::vector<std::string>& history);
  QComboBox* cbFind;
  TSearchOptionBoxes* options;
  QButtonGroup* rgFindRange;
  std::string Pattern() const;
  TFindRange Range() const;
};

// "置換": pattern and replacement with their histories, options and range.
// exec() gives 1 for "置換" (asking) and 8 for "すべて置換".
class TfmReplace : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kReplaceAsking = 1;
  static constexpr int kReplaceAll = 8;
  TfmReplace(QWidget* parent, const std::vector<std::string>& findHistory,
             const std::vector<std::string>& replaceHistory);
  QComboBox* cbFind;
  QComboBox* cbReplace;
  TSearchOptionBoxes* options;
  QButtonGroup* rgFindRange;
  std::string Pattern() const;
  std::string Replacement() const;
  TReplaceRange Range() const;
};

// "置換しますか？": one question per hit, kept inside the screen's work area.
class TfmQReplace : public QDialog {
  Q_OBJECT
 public:
  explicit TfmQReplace(QWidget* main);
  TQueryAnswer Ask();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TQueryAnswer m_answer = TQueryAnswer::Closed;
};

}  // namespace nuv
