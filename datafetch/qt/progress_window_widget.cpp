#include "datafetch/qt/progress_window_widget.h"

namespace meridax::datafetch {

ProgressDialog::ProgressDialog(MainWindow& owner, QWidget* parent)
    : QDialog(parent),
      bar_(new QProgressBar(this)),
      label_(new QLabel(QStringLiteral("Label1"), this)),
      cancel_(new QPushButton(QString::fromUtf8("キャンセル"), this)),
      progress_(bar_),
      host_(this, nullptr),
      steps_(owner, host_, *this) {
  setWindowTitle(QString::fromUtf8("KOVF2C:ダウンロード"));
  setObjectName("KOVF2SETUP19Z1");
  setModal(true);
  setFixedSize(TwipsRect(0, 0, 4800, 2100).size());
  bar_->setObjectName("ProgressBar1");
  bar_->setGeometry(TwipsRect(240, 240, 4320, 360));
  label_->setObjectName("Label1");
  label_->setGeometry(TwipsRect(240, 720, 4320, 360));
  cancel_->setObjectName("Command1");
  cancel_->setGeometry(TwipsRect(1680, 1320, 1440, 480));
  connect(&timer_, &QTimer::timeout, this, [this] { Guarded([this] { steps_.Timer1_Timer(); }); });
  connect(cancel_, &QPushButton::clicked, this,
          [this] { Guarded([this] { steps_.Command1_Click(); }); });
}

void ProgressDialog::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    failure_ = std::current_exception();
    Close();
  }
}

void ProgressDialog::SetLabel(std::string_view text) {
  label_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ProgressDialog::SetTimerEnabled(bool enabled) {
  if (enabled) {
    timer_.start();
  } else {
    timer_.stop();
  }
}

void ProgressDialog::Close() {
  timer_.stop();
  accept();
}

void QtProgressShower::ShowModal(MainWindow& owner, StepHost& /*host*/) {
  // Messages of the window belong to the window itself, not to its owner.
  ProgressDialog dialog(owner, ownerWidget_);
  dialog.Steps().Form_Load();
  // Its cancel button takes clicks while the download runs.
  ExecAwaitingOperator(dialog);
  if (dialog.failure()) std::rethrow_exception(dialog.failure());
}

}  // namespace meridax::datafetch
