// The data view's parts that hold logic of their own: the colour commands (settings read
// and written, swatches, a cancelled choice) and the notice queue (one notice at a time,
// in the order they came, even when a tick brings more while one is open).
#include <QPointer>
#include <QTest>
#include <memory>

#include "acquisition/gui/data_colour_commands.h"
#include "acquisition/gui/notice_queue.h"
#include "base/settings.h"
#include "base/settings_store.h"
#include "scripted_user_prompt.h"
#include "ui/colour_ref.h"

namespace {

AcquisitionNotice Report(const std::string& title) {
  AcquisitionNotice notice;
  notice.report.title = title;
  return notice;
}

}  // namespace

class DataViewPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void theColoursComeFromTheSettings() {
    InMemorySettingsStore store;
    settings::Write(store, settings::kBadQualityColor, 0x00FF00);
    CDataColourCommands colours(store);
    QCOMPARE(colours.Colours().badQuality, uint32_t{0x00FF00});
    QCOMPARE(colours.Colours().standard, uint32_t(settings::kStandardColor.defaultValue));
    QCOMPARE(colours.Swatch(CommandId::kBadQualityColour), ColourFromColorRef(0x00FF00));
    QVERIFY(!colours.Swatch(CommandId::kStartAcquisition).isValid());
    QCOMPARE(CDataColourCommands::Commands().size(), size_t(4));
    QVERIFY(CDataColourCommands::Handles(CommandId::kInactiveGroupColour));
    QVERIFY(!CDataColourCommands::Handles(CommandId::kClearOpcData));
  }

  void aChosenColourIsKeptAndStored() {
    InMemorySettingsStore store;
    CDataColourCommands colours(store);
    QString askedTitle;
    QColor askedInitial;
    const bool changed = colours.Choose(CommandId::kInterpolatedColour,
                                        [&](const QColor& initial, const QString& title) {
                                          askedInitial = initial;
                                          askedTitle = title;
                                          return std::optional<QColor>(QColor(10, 20, 30));
                                        });
    QVERIFY(changed);
    QCOMPARE(askedTitle, QString("Interpolated Data Color"));
    QCOMPARE(askedInitial, ColourFromColorRef(uint32_t(settings::kInterpolatedColor.defaultValue)));
    const uint32_t expected = ColorRefFromColour(QColor(10, 20, 30));
    QCOMPARE(colours.Colours().interpolated, expected);
    QCOMPARE(uint32_t(settings::Read(store, settings::kInterpolatedColor)), expected);
  }

  void aCancelledChoiceOrAnotherCommandChangesNothing() {
    InMemorySettingsStore store;
    CDataColourCommands colours(store);
    const DataColours before = colours.Colours();
    QVERIFY(!colours.Choose(CommandId::kStandardColour,
                            [](const QColor&, const QString&) { return std::nullopt; }));
    bool asked = false;
    QVERIFY(!colours.Choose(CommandId::kStopAcquisition, [&](const QColor&, const QString&) {
      asked = true;
      return std::optional<QColor>(Qt::red);
    }));
    QVERIFY(!asked);
    QVERIFY(!colours.Choose(CommandId::kStandardColour, nullptr));
    QCOMPARE(colours.Colours().standard, before.standard);
    QCOMPARE(settings::Read(store, settings::kStandardColor),
             settings::kStandardColor.defaultValue);
  }

  void noticesAreShownInTheOrderTheyCame() {
    ScriptedUserPrompt prompt;
    prompt.reportAnswers = {1, 1};
    CNoticeQueue queue(prompt);
    queue.Show({Report("First"), Report("Second")});
    QCOMPARE(prompt.reports.size(), size_t(2));
    QCOMPARE(prompt.reports[0].title, std::string("First"));
    QCOMPARE(prompt.reports[1].title, std::string("Second"));
    QVERIFY(!queue.IsShowing());
    QCOMPARE(queue.PendingCount(), size_t(0));
  }

  void aNoticeThatComesWhileOneIsOpenWaitsForIt() {
    ScriptedUserPrompt prompt;
    prompt.reportAnswers = {1, 1, 1};
    CNoticeQueue queue(prompt);
    std::vector<std::string> openWhenAsked;
    prompt.onReport = [&](const ReportRequest& request) {
      openWhenAsked.push_back(request.title);
      if (request.title == "First") {
        // A tick inside the open report's event loop brings another one.
        queue.Show({Report("Later")});
        QCOMPARE(prompt.reports.size(), size_t(1));  // not shown on top of the first
        QCOMPARE(queue.PendingCount(), size_t(2));
      }
    };
    queue.Show({Report("First"), Report("Second")});
    QCOMPARE(openWhenAsked, (std::vector<std::string>{"First", "Second", "Later"}));
    QVERIFY(!queue.IsShowing());
  }

  void theQueueGoingWhileANoticeIsOpenStopsSafely() {
    ScriptedUserPrompt prompt;
    prompt.reportAnswers = {1};
    auto* queue = new CNoticeQueue(prompt);
    QPointer<CNoticeQueue> watch(queue);
    prompt.onReport = [&](const ReportRequest&) { delete queue; };
    queue->Show({Report("First"), Report("Never")});
    QVERIFY(watch.isNull());
    QCOMPARE(prompt.reports.size(), size_t(1));
  }
};

QTEST_MAIN(DataViewPartsTest)
#include "data_view_parts_test.moc"
