#include "update/gui/version_check_gui.h"

#include <QApplication>
#include <QCursor>

#include "base/settings.h"
#include "update/gui/update_dlg.h"
#include "update/version_info.h"

CVersionCheckGui::CVersionCheckGui(AppContext& context, IUrlFetcher& fetcher,
                                   std::function<bool()> hasConnection)
    : m_context(context),
      m_fnHasConnection(std::move(hasConnection)),
      m_check(context.settings, context.clock, fetcher) {}

std::string CVersionCheckGui::Url() const {
  const std::string url = settings::Read(m_context.settings, settings::kVersionFileUrl);
  return url.empty() ? std::string(kVersionFileUrl) : url;
}

void CVersionCheckGui::RunCheck(bool forced) {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  m_check.Check(Url(), forced);
  QApplication::restoreOverrideCursor();
}

void CVersionCheckGui::RunAutomatic() {
  RunCheck(false);
}

void CVersionCheckGui::OfferNewVersion(QWidget* parent) {
  if (m_check.Status() == kUpdateNewer)
    ShowDialog(parent);
}

void CVersionCheckGui::RunCommand(QWidget* parent) {
  if (!m_fnHasConnection()) {
    m_context.prompt.ShowMessage(kNoInternetConnection, MessageButtons::kOk, MessageIcon::kWarning);
    return;
  }
  RunCheck(true);
  ShowDialog(parent);
}

void CVersionCheckGui::ShowDialog(QWidget* parent) {
  CUpdateDlg dialog(m_check, settings::Read(m_context.settings, settings::kNoUpdateCheck) != 0,
                    parent);
  dialog.exec();
  settings::Write(m_context.settings, settings::kNoUpdateCheck, dialog.DoNotCheck() ? 1 : 0);
}
