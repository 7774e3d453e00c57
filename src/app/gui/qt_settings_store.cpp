#include "app/gui/qt_settings_store.h"

#include <limits>

#include "base/settings.h"

namespace {

// The error codes the registry would give.
constexpr int kAccessDenied = 5;  // ERROR_ACCESS_DENIED
constexpr int kInvalidData = 13;  // ERROR_INVALID_DATA

QString Key(const std::string& name) {
  return QString(kSettingsGroup) + "/" + QString::fromStdString(name);
}

}  // namespace

std::unique_ptr<QSettings> OpenVelmoraSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     kSettingsOrganisation, kSettingsApplication);
}

void SetVelmoraSettingsDirectory(const QString& dir) {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
}

CQtSettingsStore::CQtSettingsStore() : m_pSettings(OpenVelmoraSettings()) {}

int CQtSettingsStore::Commit() {
  m_pSettings->sync();
  return m_pSettings->status() == QSettings::NoError ? 0 : kAccessDenied;
}

int CQtSettingsStore::CreateBranch() {
  if (!m_pSettings->isWritable())
    return kAccessDenied;
  return Commit();
}

int CQtSettingsStore::ReadInt(const std::string& name, int32_t& destination) {
  const QVariant value = m_pSettings->value(Key(name));
  if (!value.isValid())
    return kSettingNotFound;
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  // A 4-byte value: anything from INT32_MIN to UINT32_MAX, kept as its 32 bits.
  if (!ok || number < std::numeric_limits<int32_t>::min() ||
      number > static_cast<qlonglong>(std::numeric_limits<uint32_t>::max()))
    return kInvalidData;
  destination = static_cast<int32_t>(static_cast<uint32_t>(number));
  return 0;
}

int CQtSettingsStore::ReadString(const std::string& name, std::string& destination) {
  const QVariant value = m_pSettings->value(Key(name));
  if (!value.isValid())
    return kSettingNotFound;
  if (value.typeId() == QMetaType::QStringList || !value.canConvert<QString>())
    return kInvalidData;
  // No length limit: a long database path must not read as missing and be asked again.
  destination = value.toString().toStdString();
  return 0;
}

int CQtSettingsStore::WriteInt(const std::string& name, int32_t value) {
  m_pSettings->setValue(Key(name), value);
  return Commit();
}

int CQtSettingsStore::WriteString(const std::string& name, const std::string& value,
                                  bool /*expandable: the native format has one string kind*/) {
  m_pSettings->setValue(Key(name), QString::fromStdString(value));
  return Commit();
}
