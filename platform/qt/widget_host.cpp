#include "platform/qt/widget_host.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace meridax {

QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

WidgetStepHost::WidgetStepHost(QWidget* window, QLineEdit* statusBox)
    : window_(window), statusBox_(statusBox) {}

void WidgetStepHost::SetStatus(std::string_view text) {
  if (statusBox_) {
    statusBox_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    statusBox_->repaint();
  }
}

std::string WidgetStepHost::Status() const {
  return statusBox_ ? statusBox_->text().toStdString() : std::string();
}

void WidgetStepHost::ShowMessage(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QString(),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok, window_);
  box.exec();
}

void WidgetStepHost::ProcessEvents() {
  QCoreApplication::processEvents();
}

namespace {
bool stepRunning = false;
}

bool StepGate::Busy() {
  return stepRunning;
}

bool StepGate::Run(const std::function<void()>& step) {
  if (stepRunning) return false;
  stepRunning = true;
  try {
    step();
  } catch (...) {
    stepRunning = false;
    throw;
  }
  stepRunning = false;
  return true;
}

}  // namespace meridax
