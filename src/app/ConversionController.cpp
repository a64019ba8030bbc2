// The text conversion commands of the window.
#include "app/ConversionController.h"

#include <QAction>
#include <QMenu>

#include "app/Actions.h"
#include "app/DialogPlacement.h"
#include "app/WindowServices.h"
#include "outline/PageEditor.h"

namespace nuv {

TConvCommands::TConvCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  miConvHanZen = MakeAction(this, "miConvHanZen", QStringLiteral("半角・全角(&H)"));
  miConvKoOo = MakeAction(this, "miConvKoOo", QStringLiteral("小文字・大文字(&K)"));
  connect(miConvHanZen, &QAction::triggered, this, [this] { ShowConvDialog(TConvPage::HanZen); });
  connect(miConvKoOo, &QAction::triggered, this, [this] { ShowConvDialog(TConvPage::KoOo); });
  QMenu* tools = window.Menu(TMenuSlot::Tools);
  tools->addSeparator();
  tools->addAction(miConvHanZen);
  tools->addAction(miConvKoOo);
}

TfmConv* TConvCommands::Dialog() {
  if (!m_dialog) m_dialog = new TfmConv(m_window.Window());
  return m_dialog;
}

void TConvCommands::ShowConvDialog(TConvPage page) {
  TfmConv* dialog = Dialog();
  dialog->ShowPage(page);
  dialog->adjustSize();
  CenterOnMainWindow(dialog, m_window.Window());
  if (dialog->exec() != QDialog::Accepted) return;
  Convert(dialog->Choice());
}

void TConvCommands::Convert(const TConvChoice& choice) {
  m_window.Editor().ConvertSelection([&choice](std::string_view text) { return ConvertText(text, choice); });
}

}  // namespace nuv
