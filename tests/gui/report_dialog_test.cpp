// The message report: window title, RTF body, help link, button modes and results.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <functional>

#include "app/gui/qt_user_prompt.h"
#include "app/gui/velmora_msg_dlg.h"
#include "base/report.h"
#include "ui/rich_text_view.h"

namespace {

// The reports of the shell, as the program composes them.
constexpr char kPathErrorBody[] =
    "{\\f1\\cb5\\cf5\\b Unable to Get Velmora Database Path} \\par\\par \\fs18 Without Database, "
    "Velmora is unable to work ... End of Job ... \\par \\par {\\f1 \\b Please Restart Velmora "
    "2.0 and Provide a Valid Path to Velmora.sq3} \\par}";
constexpr char kStopBody[] =
    "{\\f1\\cb1\\cf2\\b Request for Data Acquisition Stop} \\par\\par \\fs18 Data Acquisition is "
    "started ... \\par\\par Server Id: {\\b Velmora.Sim.DA2}\\par OPC Server Host: {\\b Local "
    "Host}\\par \\par {\\f1 \\b Please Confirm Data Acquisition Stop} \\par}";
constexpr char kShutdownBody[] =
    "{\\f1\\cb4\\cf2\\b Shutdown Request Triggered by OPC Server !!!} \\par\\par \\fs18 Velmora "
    "already stops Data Acquisition and now needs to Close the current Project ... \\par\\par "
    "Server Id: {\\b Velmora.Sim.DA2}\\par OPC Server Host: {\\b Local Host}\\par \\par {\\f1 \\b "
    "Do you Want to Save changes made to Velmora Project ?} \\par}";

ReportRequest Request(const char* body, int mode, uint32_t code = 0, const char* link = "") {
  ReportRequest request;
  request.body = body;
  request.title = "Confirmation Request";
  request.buttonMode = mode;
  request.errorCode = code;
  request.linkText = link;
  return request;
}

// Shows the dialog modally and lets action answer it once it is up.
int Answer(const ReportRequest& request, std::function<void(CVelmoraMsgDlg&)> action) {
  CVelmoraMsgDlg dialog(request);
  QTimer::singleShot(0, &dialog, [&dialog, action] { action(dialog); });
  return dialog.Show();
}

// The character format of the first occurrence of text in the dialog's box.
QTextCharFormat FormatOf(CVelmoraMsgDlg& dialog, const QString& text) {
  QTextDocument* document = dialog.TextBox()->document();
  QTextCursor cursor = document->find(text);
  if (cursor.isNull())
    return {};
  QTextCursor at(document);
  at.setPosition(cursor.selectionStart() + 1);
  return at.charFormat();
}

}  // namespace

class ReportDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void windowTitleIsTheProductAndTheTitle() {
    CVelmoraMsgDlg dialog(Request(kStopBody, 1));
    QCOMPARE(dialog.windowTitle(), QString("Velmora 2.0 Confirmation Request"));
    QVERIFY(dialog.isModal());
  }

  void buttonModesShowTheirButtons() {
    CVelmoraMsgDlg okCancel(Request(kStopBody, 1));
    QCOMPARE(okCancel.FirstButton()->text(), QString("Ok"));
    QCOMPARE(okCancel.SecondButton()->text(), QString("Cancel"));
    QVERIFY(!okCancel.SecondButton()->isHidden());
    CVelmoraMsgDlg yesNo(Request(kStopBody, 4));
    QCOMPARE(yesNo.FirstButton()->text(), QString("Yes"));
    QCOMPARE(yesNo.SecondButton()->text(), QString("No"));
    QVERIFY(yesNo.ThirdButton()->isHidden());
    CVelmoraMsgDlg yesNoCancel(Request(kStopBody, 3));
    QCOMPARE(yesNoCancel.FirstButton()->text(), QString("Yes"));
    QCOMPARE(yesNoCancel.SecondButton()->text(), QString("No"));
    QCOMPARE(yesNoCancel.ThirdButton()->text(), QString("Cancel"));
    QVERIFY(!yesNoCancel.ThirdButton()->isHidden());
    for (int mode : {0, 2, 5}) {
      CVelmoraMsgDlg single(Request(kStopBody, mode));
      QCOMPARE(single.FirstButton()->text(), QString("Ok"));
      QVERIFY(single.SecondButton()->isHidden());
      QVERIFY(single.ThirdButton()->isHidden());
    }
  }

  void firstButtonAnswersOneAndSecondOrCloseBoxTwo() {
    auto clickFirst = [](CVelmoraMsgDlg& d) { QTest::mouseClick(d.FirstButton(), Qt::LeftButton); };
    auto clickSecond = [](CVelmoraMsgDlg& d) {
      QTest::mouseClick(d.SecondButton(), Qt::LeftButton);
    };
    auto closeBox = [](CVelmoraMsgDlg& d) { d.close(); };
    auto escape = [](CVelmoraMsgDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); };
    QCOMPARE(Answer(Request(kStopBody, 1), clickFirst), 1);
    QCOMPARE(Answer(Request(kStopBody, 1), clickSecond), 2);
    QCOMPARE(Answer(Request(kShutdownBody, 4), clickFirst), 1);
    QCOMPARE(Answer(Request(kShutdownBody, 4), clickSecond), 2);  // "No"
    QCOMPARE(Answer(Request(kPathErrorBody, 0), clickFirst), 1);
    QCOMPARE(Answer(Request(kStopBody, 1), closeBox), 2);
    QCOMPARE(Answer(Request(kPathErrorBody, 0), closeBox), 2);
    QCOMPARE(Answer(Request(kStopBody, 4), escape), 2);
    // Yes / No / Cancel: Cancel, the close box and Escape answer 3.
    auto clickThird = [](CVelmoraMsgDlg& d) { QTest::mouseClick(d.ThirdButton(), Qt::LeftButton); };
    QCOMPARE(Answer(Request(kStopBody, 3), clickFirst), 1);
    QCOMPARE(Answer(Request(kStopBody, 3), clickSecond), 2);
    QCOMPARE(Answer(Request(kStopBody, 3), clickThird), 3);
    QCOMPARE(Answer(Request(kStopBody, 3), closeBox), 3);
    QCOMPARE(Answer(Request(kStopBody, 3), escape), 3);
  }

  void theQtPromptRunsTheDialog() {
    CQtUserPrompt prompt;
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<CVelmoraMsgDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      QTest::mouseClick(dialog->SecondButton(), Qt::LeftButton);
    });
    QCOMPARE(prompt.ShowReport(Request(kShutdownBody, 4)), ReportAnswer::kSecondButton);
  }

  void errorHeadingIsRedBoldAndReadable() {
    CVelmoraMsgDlg dialog(Request(kPathErrorBody, 0));
    const QString plain = dialog.TextBox()->toPlainText();
    QVERIFY(plain.startsWith("Unable to Get Velmora Database Path"));
    QVERIFY(plain.contains("Please Restart Velmora 2.0 and Provide a Valid Path to Velmora.sq3"));
    QVERIFY2(!plain.contains('\\') && !plain.contains('{'), qPrintable(plain));
    const QTextCharFormat heading = FormatOf(dialog, "Unable to Get");
    QCOMPARE(heading.foreground().color(), QColor(255, 0, 0));
    QVERIFY(heading.fontWeight() >= QFont::Bold);
    // \cb is not painted: the red heading is not drawn on red.
    QVERIFY(heading.background().style() == Qt::NoBrush ||
            heading.background().color() != heading.foreground().color());
    const QTextCharFormat explanation = FormatOf(dialog, "Without Database");
    QVERIFY(explanation.fontWeight() < QFont::Bold);
    QVERIFY(explanation.fontPointSize() < heading.fontPointSize());  // \fs18 after \fs20
    QVERIFY(FormatOf(dialog, "Please Restart").fontWeight() >= QFont::Bold);
  }

  void requestHeadingIsBlueAndDetailValuesBold() {
    CVelmoraMsgDlg dialog(Request(kStopBody, 1));
    QCOMPARE(FormatOf(dialog, "Request for Data").foreground().color(), QColor(0, 0, 255));
    QVERIFY(FormatOf(dialog, "Server Id").fontWeight() < QFont::Bold);
    QVERIFY(FormatOf(dialog, "Velmora.Sim.DA2").fontWeight() >= QFont::Bold);
    QVERIFY(FormatOf(dialog, "Local Host").fontWeight() >= QFont::Bold);
    // Paragraphs: heading, blank, explanation, blank... each detail on its own line.
    const QStringList lines = dialog.TextBox()->toPlainText().split('\n');
    QVERIFY(lines.contains("Server Id: Velmora.Sim.DA2"));
    QVERIFY(lines.contains("OPC Server Host: Local Host"));
    QVERIFY(dialog.TextBox()->document()->find("Shutdown").isNull());
    CVelmoraMsgDlg shutdown(Request(kShutdownBody, 4));
    QCOMPARE(FormatOf(shutdown, "Shutdown Request").foreground().color(), QColor(0, 0, 255));
  }

  void helpLinkOnlyForKnownErrorCodes() {
    CVelmoraMsgDlg rpc(Request(kStopBody, 0, 0x800706BA));
    QVERIFY(!rpc.LinkFrame()->isHidden());
    QVERIFY(rpc.Link()->text().contains(QString::fromStdString(ReportHelpUrl(0x800706BA))));
    CVelmoraMsgDlg none(Request(kStopBody, 0, 0));
    QVERIFY(none.LinkFrame()->isHidden());
    CVelmoraMsgDlg unknown(Request(kStopBody, 0, 0x80004005, "See help"));
    QVERIFY(unknown.LinkFrame()->isHidden());
    CVelmoraMsgDlg textOnly(Request(kStopBody, 0, 0, "See help"));
    QVERIFY(textOnly.LinkFrame()->isHidden());  // code 0 has no page
  }

  void fileFiltersBecomeQtNameFilters() {
    QCOMPARE(QtNameFilters("SQLite Files (.sq3)|*.sq3"), QString("SQLite Files (.sq3) (*.sq3)"));
    QCOMPARE(QtNameFilters("CSV Files|*.csv|All Files|*.*"),
             QString("CSV Files (*.csv);;All Files (*.*)"));
    QCOMPARE(QtNameFilters("Images|*.jpg;*.png"), QString("Images (*.jpg *.png)"));
  }
};

QTEST_MAIN(ReportDialogTest)
#include "report_dialog_test.moc"
