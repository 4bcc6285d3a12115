// The record reader's error dialog: "出错了，是否继续处理？" with the file, the
// record number and the record text, and the buttons "继续" and "取消".
#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TfrmMessageBox : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmMessageBox(QWidget* parent = nullptr);
  // Fills edtFileName, edtReco and memMarc.
  void Fill(const QString& fileName, qint64 recordNo, const QString& recordText);

  QLineEdit* edtFileName = nullptr;
  QLineEdit* edtReco = nullptr;
  QPlainTextEdit* memMarc = nullptr;
  QPushButton* btnContinue = nullptr;  // "继续": go on with the next record
  QPushButton* btnCancel = nullptr;    // "取消": end the scan
};
