#pragma once
// The three panels above the tables of the acquisition view: the server attributes, the
// acquisition mode with its time window, and the acquisition status with the decimals
// choice. They only show what they are given and report what the user chose.
#include <QDateTime>
#include <QGroupBox>

struct ServerAttributes;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QRadioButton;
class QTimeEdit;

// "Server Id: ", "OPC Server Host: ", "Connection Status: ", "Server Status: ".
class CServerAttributesBox : public QGroupBox {
  Q_OBJECT
 public:
  explicit CServerAttributesBox(QWidget* parent = nullptr);
  void Show(const ServerAttributes& attributes);

  QLabel* ServerId() const { return m_pServerId; }
  QLabel* Host() const { return m_pHost; }
  QLabel* ConnectionStatus() const { return m_pConnection; }
  QLabel* ServerStatus() const { return m_pStatus; }

 private:
  QLabel* m_pServerId;
  QLabel* m_pHost;
  QLabel* m_pConnection;
  QLabel* m_pStatus;
};

// The two mode buttons and the four date and time pickers of the window.
class CAcquisitionModeBox : public QGroupBox {
  Q_OBJECT
 public:
  explicit CAcquisitionModeBox(QWidget* parent = nullptr);

  // Shows a mode without reporting it; the pickers follow it.
  void SetMode(int mode);
  int Mode() const;
  // The mode buttons are disabled while acquiring.
  void SetModeButtonsEnabled(bool enabled);
  QDateTime WindowStart() const;
  QDateTime WindowEnd() const;
  void SetWindowStart(const QDateTime& start);
  void SetWindowEnd(const QDateTime& end);

  QRadioButton* ContinuousButton() const { return m_pContinuous; }
  QRadioButton* TimeControlledButton() const { return m_pTimeControlled; }
  QDateEdit* StartDate() const { return m_pStartDate; }
  QTimeEdit* StartTime() const { return m_pStartTime; }
  QDateEdit* EndDate() const { return m_pEndDate; }
  QTimeEdit* EndTime() const { return m_pEndTime; }

 signals:
  // The user pressed a mode button (0 continuous, 1 time-controlled).
  void ModeChosen(int mode);

 private:
  void EnablePickers();

  QButtonGroup* m_pButtons;
  QRadioButton* m_pContinuous;
  QRadioButton* m_pTimeControlled;
  QDateEdit* m_pStartDate;
  QTimeEdit* m_pStartTime;
  QDateEdit* m_pEndDate;
  QTimeEdit* m_pEndTime;
};

// "Data Acquisition Time: ", "Number of Acquired Data: ", "Next Acquisition " and
// "Number of Decimals (Analog Values): ".
class CAcquisitionStatusBox : public QGroupBox {
  Q_OBJECT
 public:
  explicit CAcquisitionStatusBox(QWidget* parent = nullptr);

  // The acquisition-time and next-acquisition labels and values.
  void SetTimeFieldsVisible(bool visible);
  bool TimeFieldsVisible() const;
  void ShowCycle(int elapsedMs, int dataSetCount, const QString& nextAcquisition);
  // The data set count, or an empty field for none.
  void ShowDataSetCount(int dataSetCount);
  // Shows a decimals choice without reporting it.
  void SetDecimals(int decimals);

  QLabel* AcquisitionTime() const { return m_pTime; }
  QLabel* DataSetCount() const { return m_pCount; }
  QLabel* NextAcquisition() const { return m_pNext; }
  QComboBox* Decimals() const { return m_pDecimals; }

 signals:
  // The user chose a number of decimals.
  void DecimalsChosen(int decimals);

 private:
  QLabel* m_pTimeLabel;
  QLabel* m_pTime;
  QLabel* m_pCount;
  QLabel* m_pNextLabel;
  QLabel* m_pNext;
  QComboBox* m_pDecimals;
};
