// The main window's session state: bounds, splitters and toolbars saved in
// the program folder's nuv.ini and restored at the next start.
#include <QAction>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>
#include <numeric>

#include "app/MainWindow.h"
#include "app/NuvStatusBar.h"
#include "app/OutlineView.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "base/ProgramFolder.h"

namespace nuv {

namespace {
std::string SettingsPath() { return ProgramFile("nuv.ini"); }
}  // namespace

void Tfmnuv::ReadSession() {
  m_session.Load(TIniFile(SettingsPath()));
  m_config.Load(kDefaultSettingsName);
}

void Tfmnuv::WriteSession() {
  // The window's sections always go to the program folder's nuv.ini; the
  // settings go back to the file they were last loaded from.
  ForceDirectories(ProgramFolder());
  if (m_config.CurrentFile().empty()) {
    m_config.Save(kDefaultSettingsName, [this](TIniFile& ini) { WriteWindowSections(ini); });
    return;
  }
  TIniFile ini(SettingsPath());
  WriteWindowSections(ini);
  ini.Save();
  m_config.Save(kDefaultSettingsName);
}

void Tfmnuv::ApplySessionLayout() {
  const TSessionState& s = m_session;
  if (s.WinWidth != kKeepOwnValue && s.WinHeight != kKeepOwnValue) resize(s.WinWidth, s.WinHeight);
  if (s.WinPosX != kKeepOwnValue && s.WinPosY != kKeepOwnValue) move(s.WinPosX, s.WinPosY);
  if (s.Splitter != kKeepOwnValue && s.Splitter > 0) {
    const int total = std::max(m_mainSplitter->width(), s.Splitter + 100);
    m_mainSplitter->setSizes({s.Splitter, total - s.Splitter});
  }
  if (s.Splitter2 != kKeepOwnValue && s.Splitter2 > 0) {
    const int total = std::max(m_rightSplitter->height(), s.Splitter2 + 100);
    m_rightSplitter->setSizes({s.Splitter2, total - s.Splitter2});
  }
  miViewStatusBar->setChecked(s.StatusBar);
  m_status->setVisible(s.StatusBar);

  // The four bars of the control bar: rows by their saved top, then left.
  QToolBar* top[] = {tbStandard, tbTree, tbEdit, tbFind};
  std::vector<int> order(4);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const auto& x = s.Bars[static_cast<std::size_t>(a)];
    const auto& y = s.Bars[static_cast<std::size_t>(b)];
    return std::make_pair(x.Top, x.Left) < std::make_pair(y.Top, y.Left);
  });
  int previousTop = s.Bars[static_cast<std::size_t>(order.front())].Top;
  for (int i : order) {
    removeToolBar(top[i]);
    const int barTop = s.Bars[static_cast<std::size_t>(i)].Top;
    if (barTop != previousTop && barTop != kKeepOwnValue) addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, top[i]);
    previousTop = barTop;
  }
  QToolBar* bars[] = {tbStandard, tbTree, tbEdit, tbFind, tbEditor, tbTitle, tbDate};
  for (std::size_t i = 0; i < std::size(bars); ++i) {
    const bool visible = s.Bars[i].Visible;
    m_toolBarToggles[i]->setChecked(visible);
    bars[i]->setVisible(visible);
  }
}

void Tfmnuv::CaptureSessionLayout() {
  TSessionState& s = m_session;
  s.WindowState = isMaximized() ? 2 : (isMinimized() ? 1 : 0);
  if (s.WindowState == 0) {
    s.WinPosX = pos().x();
    s.WinPosY = pos().y();
    s.WinWidth = width();
    s.WinHeight = height();
  }
  // The tree's width, or its height while it sits on top.
  s.Splitter = m_mainSplitter->orientation() == Qt::Horizontal ? tvnuv->width() : tvnuv->height();
  if (pnlList->isVisible()) s.Splitter2 = pnlList->height();
  s.StatusBar = miViewStatusBar->isChecked();
  QToolBar* bars[] = {tbStandard, tbTree, tbEdit, tbFind, tbEditor, tbTitle, tbDate};
  for (std::size_t i = 0; i < std::size(bars); ++i) {
    const QPoint at = bars[i]->mapTo(this, QPoint(0, 0));
    s.Bars[i].Top = at.y();
    s.Bars[i].Left = at.x();
    s.Bars[i].Visible = m_toolBarToggles[i]->isChecked();
  }
}

void Tfmnuv::ShowFromSession() {
  if (m_session.WindowState == 2)
    showMaximized();
  else
    show();
}

}  // namespace nuv
