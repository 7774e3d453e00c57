// The QSettings store: native format under the chosen folder, defaults, round trips.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/gui/qt_settings_store.h"
#include "base/settings.h"

class SettingsStoreTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
    SetVelmoraSettingsDirectory(m_pDir->path());
  }
  void cleanup() { m_pDir.reset(); }

  void emptyStoreGivesEveryDefault() {
    CQtSettingsStore store;
    QCOMPARE(settings::Read(store, settings::kDataPath), std::string("None"));
    QCOMPARE(settings::Read(store, settings::kTagDisplayType), 0);
    QCOMPARE(settings::Read(store, settings::kDecimalNbr), 2);
    QCOMPARE(settings::Read(store, settings::kStandardColor), 0);
    QCOMPARE(settings::Read(store, settings::kBadQualityColor), 255);
    QCOMPARE(settings::Read(store, settings::kInterpolatedColor), 14784596);
    QCOMPARE(settings::Read(store, settings::kInactiveColor), 4210752);
    QCOMPARE(settings::Read(store, settings::kBackupType), 1);
    QCOMPARE(settings::Read(store, settings::kSaveOPCDataPath), std::string(""));
    QCOMPARE(settings::Read(store, settings::kOutputPaneVisible), 1);
    QCOMPARE(settings::Read(store, settings::kNoFeaturesOutline), 0);
    QCOMPARE(settings::Read(store, settings::kChartTimeSpan), 60);
    QCOMPARE(settings::Read(store, settings::kChartBkgColor), 16767935);
    QCOMPARE(settings::Read(store, settings::kSaveGraphImgPath), std::string(""));
    QCOMPARE(settings::Read(store, settings::kSaveGraphImgExt), std::string("jpeg"));
  }

  void valuesLiveInTheParametersGroupOfQuorixVelmora() {
    {
      CQtSettingsStore store;
      QCOMPARE(store.CreateBranch(), 0);
      settings::Write(store, settings::kDataPath, "/data/Velmora, plant 1/Velmora.sq3", true);
      settings::Write(store, settings::kChartTimeSpan, 15);
      settings::Write(store, settings::kChartBkgColor, static_cast<int32_t>(0x00FFEEDD));
      QCOMPARE(store.FileName(), m_pDir->filePath("Quorix/Velmora.conf"));
    }
    QFile file(m_pDir->filePath("Quorix/Velmora.conf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("[Parameters]"));
    QVERIFY(text.contains("DataPath="));
    CQtSettingsStore again;
    QCOMPARE(settings::Read(again, settings::kDataPath),
             std::string("/data/Velmora, plant 1/Velmora.sq3"));
    QCOMPARE(settings::Read(again, settings::kChartTimeSpan), 15);
    QCOMPARE(settings::Read(again, settings::kChartBkgColor), 0x00FFEEDD);
  }

  void unreadableValuesKeepTheDestination() {
    {
      QSettings raw(m_pDir->filePath("Quorix/Velmora.conf"), QSettings::IniFormat);
      raw.setValue("Parameters/DecimalNbr", "three");
      raw.setValue("Parameters/ChartTimeSpan", "99999999999");
      raw.setValue("Parameters/StandardColor", "4294967295");  // a DWORD of all ones
    }
    CQtSettingsStore store;
    int32_t value = 7;
    QVERIFY(store.ReadInt("DecimalNbr", value) != 0);
    QCOMPARE(value, 7);
    QVERIFY(store.ReadInt("ChartTimeSpan", value) != 0);
    QCOMPARE(value, 7);
    QCOMPARE(store.ReadInt("Missing", value), kSettingNotFound);
    QCOMPARE(value, 7);
    QCOMPARE(store.ReadInt("StandardColor", value), 0);
    QCOMPARE(value, -1);
    QCOMPARE(settings::Read(store, settings::kDecimalNbr), 2);
  }

  void longStringsAreReadWhole() {
    CQtSettingsStore store;
    const std::string path = "/" + std::string(700, 'p') + "/Velmora.sq3";
    settings::Write(store, settings::kDataPath, path, true);
    QCOMPARE(settings::Read(store, settings::kDataPath), path);
  }

  void aFolderThatCannotBeCreatedFailsTheBranch() {
    QFile blocker(m_pDir->filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetVelmoraSettingsDirectory(m_pDir->filePath("not-a-folder/below"));
    CQtSettingsStore store;
    QVERIFY(store.CreateBranch() != 0);
    QVERIFY(store.WriteInt("DecimalNbr", 4) != 0);
    QCOMPARE(settings::Read(store, settings::kDecimalNbr), 4);  // kept in memory only
  }

 private:
  std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
