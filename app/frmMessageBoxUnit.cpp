#include "app/frmMessageBoxUnit.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmMessageBox::TfrmMessageBox(QWidget* parent) : QDialog(parent) {
  setObjectName("frmMessageBox");
  setWindowTitle(QStringLiteral("提示信息："));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);

  auto* heading = new QLabel(QStringLiteral("出错了，是否继续处理？"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPixelSize(16);
  heading->setFont(bold);

  edtFileName = new QLineEdit(this);
  edtFileName->setObjectName("edtFileName");
  edtFileName->setReadOnly(true);
  edtReco = new QLineEdit(this);
  edtReco->setObjectName("edtReco");
  edtReco->setReadOnly(true);
  memMarc = new QPlainTextEdit(this);
  memMarc->setObjectName("memMarc");
  memMarc->setReadOnly(true);
  memMarc->setLineWrapMode(QPlainTextEdit::NoWrap);
  memMarc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memMarc->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("文件："), this), 0, 0);
  grid->addWidget(edtFileName, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("记录："), this), 1, 0);
  grid->addWidget(edtReco, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("MARC："), this), 2, 0, Qt::AlignTop);
  grid->addWidget(memMarc, 2, 1);

  btnContinue = new QPushButton(QStringLiteral("继续"), this);
  btnContinue->setObjectName("btnContinue");
  btnCancel = new QPushButton(QStringLiteral("取消"), this);
  btnCancel->setObjectName("btnCancel");
  connect(btnContinue, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnContinue);
  buttons->addWidget(btnCancel);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading, 0, Qt::AlignHCenter);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  setFixedSize(439, 238);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TfrmMessageBox::Fill(const QString& fileName, qint64 recordNo, const QString& recordText) {
  edtFileName->setText(fileName);
  edtReco->setText(QString::number(recordNo));
  memMarc->setPlainText(recordText);
}
