// "现场采购": the settings group "现采参数", the three scanning tabs, the
// export group "将现采结果输出" and the help box. The scanning rules live in
// OnsiteScan (features/onsite_scan.h); the page hands it every Enter and
// shows its view.
#pragma once

#include <QSpinBox>
#include <memory>

#include "app/page.h"
#include "features/onsite_scan.h"

class Beeper;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;

// spePnl2: changed only with its arrow buttons, Up/Down (step 1) and Page
// Up/Page Down (step 10); typed characters and the mouse wheel are refused.
class TargetSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  explicit TargetSpinBox(QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
};

class OnsiteScanPage : public LumarinPage {
  Q_OBJECT
 public:
  OnsiteScanPage(PageEnv& env, QWidget* parent);
  ~OnsiteScanPage() override;

  // 现采参数
  QButtonGroup* radConvert = nullptr;  // ids 0, 1, 2 = ScanConversion
  TargetSpinBox* spePnl2 = nullptr;
  QCheckBox* chkRepeat = nullptr;     // "重复时"
  QCheckBox* chkNotRepeat = nullptr;  // "不重复时"

  QTabWidget* tabs = nullptr;
  // 逐条确认模式
  QLineEdit* edtZTCG = nullptr;
  QLineEdit* edtZTTC = nullptr;
  QLineEdit* edtZTQR = nullptr;
  QLabel* pnlZT1 = nullptr;
  QWidget* pnlZT2 = nullptr;
  // 连续扫描模式
  QLineEdit* edtLXCG = nullptr;
  QLineEdit* edtLXTC = nullptr;
  QLabel* pnlEndingIsbn = nullptr;
  QLabel* pnlResult = nullptr;
  // 简单提醒模式
  QLineEdit* edtJD = nullptr;
  QLabel* pnlJD = nullptr;

  // 将现采结果输出
  QLineEdit* edtFileName_Pn2_ISBN = nullptr;
  QPushButton* btnSaveAs = nullptr;  // "存为..."
  QPushButton* btnExport = nullptr;  // "导出"
  QCheckBox* chkPnl23 = nullptr;     // "带复本输出"
  QLabel* lblExportCount = nullptr;
  QProgressBar* prgExport = nullptr;

  // The red label "非法ISBN/ISSN" over an entry field.
  QLabel* InvalidLabel(ScanField field) const { return invalid_[static_cast<int>(field)]; }
  QLineEdit* Field(ScanField field) const { return fields_[static_cast<int>(field)]; }
  // Where the tone goes (the sound device by default; tests listen in).
  // Null silences the page.
  void SetBeeper(Beeper* beeper);

  void Export();
  void Activated() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class ToneRelay;
  class ExportProgress;
  QWidget* BuildSettings();
  QWidget* BuildConfirmTab();
  QWidget* BuildContinuousTab();
  QWidget* BuildReminderTab();
  QWidget* BuildExportGroup();
  QWidget* BuildHelp();
  QLineEdit* AddEntry(ScanField field, QWidget* parent);
  QLabel* MakePanel(ScanPanel panel, QWidget* parent, bool tooltipColour = false);
  OnsiteScanSettings ReadSettings() const;
  void EnterPressed(ScanField field);
  void Render();
  void FocusScanField();

  std::unique_ptr<Beeper> device_;
  std::unique_ptr<ToneRelay> relay_;
  std::unique_ptr<ExportProgress> exportProgress_;
  std::unique_ptr<OnsiteScan> scan_;
  QLineEdit* fields_[kScanFieldCount] = {};
  QLabel* invalid_[kScanFieldCount] = {};
  QWidget* panels_[kScanPanelCount] = {};
};
