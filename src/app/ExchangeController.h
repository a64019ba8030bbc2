// Imports and exports of pages and subtrees: text, hierarchical text and
// Palm DOC files in at the caret or under the selected page, the page or a
// part of the tree out as Palm DOC, MeDoc or hierarchical text.
#pragma once

#include <QObject>
#include <string>

class QAction;

namespace nuv {

class IWindowServices;

class TExchangeCommands : public QObject {
  Q_OBJECT
 public:
  explicit TExchangeCommands(IWindowServices& window, QObject* parent = nullptr);

  QAction* acInsertText;
  QAction* acInsertWZText;
  QAction* acInsertDocPrc;
  QAction* acSaveToDoc;
  QAction* acSaveToNodeMeDoc;
  QAction* acSaveToMeDoc;
  QAction* acSaveToNodeWZText;

  void InsertText(const std::string& path);
  void InsertWZText(const std::string& path);
  void InsertDocPrc(const std::string& path);
  void SaveToDoc(const std::string& chosen);
  void SaveToNodeMeDoc(const std::string& chosen);
  void SaveToMeDoc(const std::string& chosen);
  void SaveToNodeWZText(const std::string& chosen, bool noTitles);

 signals:
  // An import added a file to the text history; its menu must follow.
  void TextHistoryChanged();

 private:
  std::optional<std::string> AskOpen(int filter);
  std::optional<std::string> AskSave(const std::string& proposedName, int filter, bool noTitlesOption,
                                     bool* noTitles = nullptr);
  bool WriteMeDocVia(const std::string& out, const std::string& text, const std::string& databaseName);

  IWindowServices& m_window;
};

}  // namespace nuv
