// The open and save dialogs, behind an interface so tests can answer them.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "base/TextEncoding.h"

class QWidget;

namespace nuv {

struct TFileChoice {
  QString path;
  int filterIndex = 0;    // 0-based index of the chosen filter
  bool noTitles = false;  // "階層テキストでタイトルを出力しない" was checked
  // The encoding chosen for hierarchical text (Shift JIS or UTF-8).
  TTextEncoding encoding = TTextEncoding::ShiftJis;
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // `initialFilter` is the 0-based filter shown first.
  virtual std::optional<TFileChoice> OpenFile(QWidget* parent, const QString& folder, const QStringList& filters,
                                              int initialFilter = 0) = 0;
  // Several existing files, in the order chosen; empty when cancelled.
  virtual QStringList OpenFiles(QWidget* parent, const QString& folder, const QStringList& filters) = 0;
  // An existing folder; empty when cancelled.
  virtual QString ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) = 0;
  // `noTitlesOption` adds the panel of hierarchical text: the check box and
  // the encoding, which shows `initialEncoding` first.
  virtual std::optional<TFileChoice> SaveFile(QWidget* parent, const QString& proposedPath, const QStringList& filters,
                                              bool noTitlesOption, int initialFilter = 0,
                                              TTextEncoding initialEncoding = TTextEncoding::ShiftJis) = 0;
};

class TQtFileDialogs : public IFileDialogs {
 public:
  std::optional<TFileChoice> OpenFile(QWidget* parent, const QString& folder, const QStringList& filters,
                                      int initialFilter = 0) override;
  QStringList OpenFiles(QWidget* parent, const QString& folder, const QStringList& filters) override;
  QString ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
  std::optional<TFileChoice> SaveFile(QWidget* parent, const QString& proposedPath, const QStringList& filters,
                                      bool noTitlesOption, int initialFilter = 0,
                                      TTextEncoding initialEncoding = TTextEncoding::ShiftJis) override;
};

}  // namespace nuv
