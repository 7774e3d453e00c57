// The version check as the program runs it: the automatic check offering a newer version
// after start-up, "Check for Update" with and without a connection, and the dialog's texts.
#include <QApplication>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <functional>

#include "base/settings.h"
#include "scripted_user_prompt.h"
#include "test_context.h"
#include "update/gui/update_dlg.h"
#include "update/gui/version_check_gui.h"
#include "update/version_info.h"

namespace {

// Answers every fetch with one version file, and counts the requests.
class CScriptedFetcher : public IUrlFetcher {
 public:
  explicit CScriptedFetcher(std::string body) : m_sBody(std::move(body)) {}
  SFetchResult Fetch(const std::string& url, uint32_t /*waitMs*/) override {
    ++m_nRequests;
    m_sUrl = url;
    SFetchResult result;
    result.eOutcome = FetchOutcome::kOpened;
    result.sData = m_sBody;
    return result;
  }
  std::string m_sBody;
  std::string m_sUrl;
  int m_nRequests = 0;
};

// Runs check on the update dialog that opens next, then closes it with OK.
void OnUpdateDialog(std::function<void(CUpdateDlg&)> check) {
  QTimer::singleShot(0, [check] {
    auto* dialog = qobject_cast<CUpdateDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    const auto close = qScopeGuard([dialog] { dialog->OkButton()->click(); });
    check(*dialog);
  });
}

}  // namespace

class VersionCheckTest : public QObject {
  Q_OBJECT
 private slots:
  void aNewerVersionFoundAtStartUpIsOfferedAndTheChoiceKept() {
    TestContext test;
    CScriptedFetcher fetcher("2|1|0|Faster charts");
    CVersionCheckGui versionCheck(test.context, fetcher, [] { return true; });
    settings::Write(test.settings, settings::kVersionFileUrl, "http://127.0.0.1:1/v.txt");
    versionCheck.RunAutomatic();
    QCOMPARE(fetcher.m_nRequests, 1);
    QCOMPARE(fetcher.m_sUrl, std::string("http://127.0.0.1:1/v.txt"));
    bool shown = false;
    OnUpdateDialog([&shown](CUpdateDlg& dialog) {
      shown = true;
      QCOMPARE(dialog.windowTitle(), QString(kUpdateDialogTitle));
      QCOMPARE(dialog.LocalVersion()->text(), QString("2.0"));
      QCOMPARE(dialog.LatestVersion()->text(), QString("2.1"));
      QCOMPARE(dialog.Message()->text(), QString(kNewVersionMessage));
      QCOMPARE(dialog.RemoteText()->text(), QString("Faster charts"));
      QCOMPARE(dialog.DownloadLink()->description(), QString(kDownloadPageUrl));
      QVERIFY(!dialog.NoCheckBox()->isChecked());
      dialog.NoCheckBox()->setChecked(true);
    });
    versionCheck.OfferNewVersion(nullptr);
    QVERIFY(shown);
    QCOMPARE(settings::Read(test.settings, settings::kNoUpdateCheck), 1);

    // Switched off: the automatic check asks nothing, and nothing is offered.
    versionCheck.RunAutomatic();
    QCOMPARE(fetcher.m_nRequests, 1);
  }

  void checkForUpdateNeedsAConnectionAndShowsWhatItFound() {
    TestContext test;
    CScriptedFetcher fetcher("2|0|0|Current");
    bool connected = false;
    CVersionCheckGui versionCheck(test.context, fetcher, [&connected] { return connected; });
    test.prompt.messageAnswers.push_back(MessageAnswer::kOk);  // no connection
    versionCheck.RunCommand(nullptr);
    QCOMPARE(fetcher.m_nRequests, 0);
    QCOMPARE(test.prompt.messages.size(), size_t(1));
    QCOMPARE(test.prompt.messages[0].text, std::string(kNoInternetConnection));

    // The command checks even when the automatic check is switched off; the box shows it.
    connected = true;
    settings::Write(test.settings, settings::kCurrentVersion, kUpdateSettingsGeneration);
    settings::Write(test.settings, settings::kNoUpdateCheck, 1);
    OnUpdateDialog([](CUpdateDlg& dialog) {
      QCOMPARE(dialog.LatestVersion()->text(), QString("2.0"));
      QCOMPARE(dialog.Message()->text(), QString(kLatestVersionMessage));
      QVERIFY(dialog.NoCheckBox()->isChecked());
      dialog.NoCheckBox()->setChecked(false);
    });
    versionCheck.RunCommand(nullptr);
    QCOMPARE(fetcher.m_nRequests, 1);
    QCOMPARE(settings::Read(test.settings, settings::kNoUpdateCheck), 0);

    // Nothing read: the published version is unknown and the message blank; a revision
    // shows as its letter.
    fetcher.m_sBody.clear();
    OnUpdateDialog([](CUpdateDlg& dialog) {
      QCOMPARE(dialog.LatestVersion()->text(), QString("Unknown"));
      QCOMPARE(dialog.Message()->text(), QString());
    });
    versionCheck.RunCommand(nullptr);
    fetcher.m_sBody = "2|0|1|Fixes";
    OnUpdateDialog([](CUpdateDlg& dialog) {
      QCOMPARE(dialog.LatestVersion()->text(), QString("2.0a"));
      QCOMPARE(dialog.Message()->text(), QString(kNewVersionMessage));
    });
    versionCheck.RunCommand(nullptr);
    QCOMPARE(fetcher.m_nRequests, 3);
  }

  void anAnswerThatIsNoVersionFileShowsNothingNew() {
    TestContext test;
    CScriptedFetcher fetcher("<html><body>Not found</body></html>");
    CVersionCheckGui versionCheck(test.context, fetcher, [] { return true; });
    OnUpdateDialog([](CUpdateDlg& dialog) {
      QCOMPARE(dialog.LatestVersion()->text(), QString("Unknown"));
      QCOMPARE(dialog.Message()->text(), QString());
      QCOMPARE(dialog.RemoteText()->text(), QString());
    });
    versionCheck.RunCommand(nullptr);
    QCOMPARE(versionCheck.Check().Status(), kUpdateNoResult);

    // Markup and control characters of the remote text are shown as plain text.
    fetcher.m_sBody = "2|1|0|<b>bold</b>\x1b[2J";
    OnUpdateDialog([](CUpdateDlg& dialog) {
      QCOMPARE(dialog.RemoteText()->text(), QString("<b>bold</b>[2J"));
      QCOMPARE(dialog.RemoteText()->textFormat(), Qt::PlainText);
    });
    versionCheck.RunCommand(nullptr);
    QCOMPARE(fetcher.m_nRequests, 2);
  }
};

QTEST_MAIN(VersionCheckTest)
#include "version_check_test.moc"
