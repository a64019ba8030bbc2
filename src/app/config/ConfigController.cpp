// The settings command: the dialog on a copy, then save and apply on OK.
#include "app/config/ConfigController.h"

#include <QMenu>

#include "app/Actions.h"
#include "app/DialogPlacement.h"
#include "app/PagePictures.h"
#include "app/WindowServices.h"
#include "app/config/ConfigDialog.h"
#include "base/FileIo.h"
#include "base/Prompts.h"
#include "config/NuvConfig.h"
#include "outline/FormatOptions.h"
#include "outline/OutlineTexts.h"
#include "outline/PageCommands.h"
#include "outline/PagePictures.h"

namespace nuv {

TConfigCommands::TConfigCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  acConfig = MakeAction(this, "acConfig", QStringLiteral("設定(&C)..."));
  connect(acConfig, &QAction::triggered, this, &TConfigCommands::acConfigExecute);
  QMenu* options = m_window.Menu(TMenuSlot::Options);
  options->addSeparator();
  options->addAction(acConfig);
}

void TConfigCommands::acConfigExecute() {
  TnuvConfig& config = m_window.Config();
  const TPagePictures& pictures = m_window.Pictures();
  TfmConfig dialog(config, m_window.Prompts(), [&pictures](int label) { return pictures.Icon(pic::kLabel1 + label); },
                   m_window.Window());
  CenterOnMainWindow(&dialog, m_window.Window());
  if (BeforeShow)
    BeforeShow(dialog);
  else
    dialog.exec();
  if (dialog.result() != QDialog::Accepted) return;
  const bool labelsChanged =
      dialog.Result().ShowLabel1 != config.ShowLabel1 || dialog.Result().ClearLabel1 != config.ClearLabel1;
  config = dialog.Result();
  config.Validate();
  // The settings go to the file they were loaded from now, not only at exit,
  // so a crash or another nuv process cannot lose them.
  ForceDirectories(config.ProgramFolderPath());
  if (!config.Save(kDefaultSettingsName)) ShowFileError(m_window.Prompts(), texts::WriteError());
  m_window.ApplySettings();
  if (labelsChanged) ReapplyLabelPictures(m_window.Tree(), m_window.FormatOptions());
}

}  // namespace nuv
